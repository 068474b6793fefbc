#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numerics/Typy4.h"
#include "support/Pomoc.h"
#include "toolkit/core/MessageBox.h"

using namespace num;

namespace {

class Typy4 : public testy::OboSeparatory {};

INSTANTIATE_TEST_SUITE_P(Locales, Typy4, ::testing::Values('.', ','), [](const ::testing::TestParamInfo<char>& i) {
  return std::string(i.param == '.' ? "Point" : "Comma");
});

TEST_P(Typy4, FixedPointText) {
  EXPECT_EQ(L("123.45"), FloatToStrSkal(1.2345e-4L, 1e6L, 2));
  EXPECT_EQ("3", FloatToStrSkal(3, 1, 0));
  EXPECT_EQ(L("-3.000"), FloatToStrSkal(-3, 1, 3));
  EXPECT_EQ(L("0.50"), FloatToStrSkal(0.5L, 1, 2));
  EXPECT_EQ(L("12.3457"), FloatToStrSkal(12.34567L, 1, 4));
  EXPECT_EQ(L("1000.00"), FloatToStrSkal(999.996L, 1, 2)) << "the carry runs into a new digit";
  EXPECT_EQ(L("100"), FloatToStrSkal(99.5L, 1, 0));
}

// The decimal rounding works on the 18-digit decimal form: the extended
// value nearest to 2.675 lies below it, but its 18 digits are 2.675000...
TEST_P(Typy4, RoundsTheEighteenDigitFormHalfAwayFromZero) {
  EXPECT_EQ(L("2.68"), FloatToStrSkal(2.675L, 1, 2));
  EXPECT_EQ(L("-2.68"), FloatToStrSkal(-2.675L, 1, 2));
  EXPECT_EQ(L("0.13"), FloatToStrSkal(0.125L, 1, 2)) << "a half rounds away from zero, not to even";
  EXPECT_EQ(L("0.01"), FloatToStrSkal(0.005L, 1, 2));
  EXPECT_EQ(L("1.1"), FloatToStrSkal(1.05L, 1, 1));
  EXPECT_EQ(L("1.0"), FloatToStrSkal(1.04999999999999999L, 1, 1));
  // 2.675 * 10^6 is formed in extended before the rounding.
  EXPECT_EQ(L("2675000.0"), FloatToStrSkal(2.675L, 1e6L, 1));
}

TEST_P(Typy4, ZeroHasNoSign) {
  EXPECT_EQ(L("0.00"), FloatToStrSkal(-0.001L, 1, 2));
  EXPECT_EQ(L("0.00"), FloatToStrSkal(-0.0L, 1, 2));
  EXPECT_EQ("0", FloatToStrSkal(-0.4L, 1, 0));
  EXPECT_EQ(L("-0.01"), FloatToStrSkal(-0.005L, 1, 2));
  EXPECT_EQ(L("0.0000"), FloatToStrSkal(1e-300L, 1, 4));
}

TEST_P(Typy4, DigitsBeyondEighteenAreZeros) {
  EXPECT_EQ(L("0.10000000000000000000"), FloatToStrSkal(0.1L, 1, 20));
  EXPECT_EQ(L("123456789012345678.00"), FloatToStrSkal(123456789012345678.0L, 1, 2));
  EXPECT_EQ(L("12345678901234567.80"), FloatToStrSkal(12345678901234567.8L, 1, 2));
  // 1/3 to 18 digits, then zeros.
  EXPECT_EQ(L("0.3333333333333333330000"), FloatToStrSkal(1.0L / 3.0L, 1, 22));
}

TEST_P(Typy4, MoreThanEighteenIntegerDigitsInScientificNotation) {
  EXPECT_EQ("1E+20", FloatToStrSkal(1e20L, 1, 2));
  EXPECT_EQ(L("-1.25E+20"), FloatToStrSkal(-1.25e20L, 1, 2));
  EXPECT_EQ(L("1.00000000000000001E+18"), FloatToStrSkal(1000000000000000010.0L, 1, 0));
  EXPECT_EQ(L("1.5E+4000"), FloatToStrSkal(1.5e3994L, 1e6L, 2));
}

TEST_P(Typy4, APendingFaultIsReportedBeforeTheValueIsWritten) {
  testy::WywolajPrzepelnienie();
  EXPECT_PRZEPELNIENIE(FloatToStrSkal(1, 1, 2));
  EXPECT_PRZEPELNIENIE(FloatToStrSkal(1e4000L, 1e1000L, 2));
}

TEST_P(Typy4, ComplexText) {
  EXPECT_EQ(L("1.50  - j 2.25"), ZespolToStr({1.5L, -2.25L}, 1, 2));
  EXPECT_EQ(L("0.00  + j 3.00"), ZespolToStr({0, 3}, 1, 2));
  EXPECT_EQ(L("-1.0  + j 0.0"), ZespolToStr({-1, -0.0L}, 1, 1)) << "-0 counts as >= 0";
  EXPECT_EQ(L("2000.00  - j 500.00"), ZespolToStr({2e-3L, -5e-4L}, 1e6L, 2));
}

TEST_P(Typy4, SeparatorMending) {
  EXPECT_EQ(L("1.5"), PoprawSeparator(" \t1.5\r\n "));
  EXPECT_EQ(L("1.5"), PoprawSeparator("1,5"));
  EXPECT_EQ(L("1.5"), PoprawSeparator("1.5"));
  // Only the first separator is mended; blanks inside and non-ASCII stay.
  EXPECT_EQ(Sep() == ',' ? "1,2.3" : "1.2.3", PoprawSeparator("1.2.3"));
  EXPECT_EQ(Sep() == ',' ? "1,2,3" : "1.2.3", PoprawSeparator("1,2.3"));
  EXPECT_EQ("1 000", PoprawSeparator(" 1 000 "));
  EXPECT_EQ("\xc4\x85", PoprawSeparator("\xc4\x85"));
  EXPECT_EQ("", PoprawSeparator("  "));
}

// Text that does not convert gives 0 without a message or an error.
TEST_P(Typy4, TextToNumber) {
  std::vector<std::string> pokazane;
  tk::MessageHandler stary = tk::SetMessageHandler([&](const tk::MessageRequest& r) {
    pokazane.push_back(r.text);
    return int(tk::mrOk);
  });
  struct Przypadek {
    const char* tekst;
    long double wartosc;
  };
  const Przypadek przypadki[] = {
      {" 2.5 ", 2.5L},     {"1.5", 1.5L},   {"1,5", 1.5L},  {"56,0", 56},    {"-.5", -0.5L}, {"2,5E3", 2500},
      {"2.5e-3", 2.5e-3L}, {"+3", 3},       {"5.", 5},      {"\t7\n", 7},    {"1E+2", 100},  {".", 0},
      {"1.234.5", 0},      {"1,234.5", 0},  {"1 000", 0},   {"", 0},         {"abc", 0},     {"1e", 0},
      {"1e+", 0},          {"e5", 0},       {"+", 0},       {"--1", 0},      {"1.5x", 0},    {"0x10", 0},
      {"1e5000", 0},       {"-1e99999", 0}, {"1e-5000", 0}, {"\xc4\x85", 0},
  };
  for (const auto& p : przypadki) EXPECT_EQ(p.wartosc, StrToFloatZero(p.tekst)) << "'" << p.tekst << "'";
  // The nearest extended value, as the compiler reads the same digits.
  EXPECT_EQ(0.1L, StrToFloatZero("0.1"));
  EXPECT_EQ(2.675L, StrToFloatZero("2,675"));
  EXPECT_EQ(-1.7976931348623157e308L, StrToFloatZero("-1.7976931348623157e308"));
  EXPECT_EQ(1.18e4932L, StrToFloatZero("1.18e4932"));
  EXPECT_TRUE(pokazane.empty());
  EXPECT_FALSE(tk::FpFaultPending()) << "the overflow of 1e5000 is not a fault of the program";
  tk::SetMessageHandler(stary);
}

// The imaginary unit is a lower-case j written before its coefficient.
TEST_P(Typy4, TextToComplex) {
  struct Przypadek {
    const char* tekst;
    TZespol z;
  };
  const Przypadek przypadki[] = {
      {"3+j4", {3, 4}},
      {"3 - j 4", {3, -4}},
      {"-j2", {0, -2}},
      {"j2", {0, 2}},
      {"5", {5, 0}},
      {"2j-3", {2, -3}},
      {"-3-j-4", {-3, 4}},
      {"3+4j", {0, 0}},
      {"3+J4", {0, 0}},
      {"5 j", {5, 0}},
      {"3+i4", {0, 0}},
      {"", {0, 0}},
      {"1.5+j2,5", {1.5L, 2.5L}},
      {"abc+j2", {0, 2}},
      {"3+jabc", {3, 0}},
      {"  -2.5  -  j  0.5 ", {-2.5L, -0.5L}},
  };
  for (const auto& p : przypadki) {
    const TZespol z = StrToZespol(p.tekst);
    EXPECT_TRUE(testy::Rowne(z, p.z)) << "'" << p.tekst << "' gave " << z.re << ", " << z.im;
  }
}

TEST_P(Typy4, TextRoundTrip) {
  for (long double x : {0.0L, 1.25L, -7.5L, 123456.789L, -0.001L}) {
    EXPECT_EQ(FloatToStrSkal(x, 1, 3), FloatToStrSkal(StrToFloatZero(FloatToStrSkal(x, 1, 3)), 1, 3));
  }
  const TZespol z{1.25L, -2.5L};
  const TZespol w = StrToZespol(ZespolToStr(z, 1, 2));
  EXPECT_TRUE(testy::Rowne(w, z));
}

}  // namespace
