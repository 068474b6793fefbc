// Tick steps, exponents, rounding and tick-label texts of the plot painter.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

#include "plot/Wykresy4.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"

using namespace plot;

namespace {

// A tick label: label exponent, decimals, value and the text it gives.
struct Opis {
  int32_t e, miejsca;
  Extended v;
  const char* tekst;
};
void ExpectOpis(const Opis& o) {
  EXPECT_EQ(OpisPodzialki(o.e, o.miejsca, o.v), o.tekst) << o.e << " " << o.miejsca << " " << static_cast<double>(o.v);
}

}  // namespace

TEST(KrokPodzialki, NormalisesTheSpanToTwoDigitsAndRoundsTheStepUp) {
  struct Przypadek {
    Extended span;
    int32_t n;
    Extended step;
    int32_t b;
  } const przypadki[] = {
      {50, 4, 13, 1},       // 12.5 rounded up to a whole step
      {2.7L, 4, 0.7L, 0},   // small span: normalised up to 27
      {150, 5, 30, 2},      // large span: normalised down to 15
      {25000, 4, 7000, 4},  // 25 in thousands
      {100, 4, 25, 1},      // the upper bound of the plain range stays as it is
      {10, 4, 3, 1},        // the lower bound too
      {9.99L, 4, 2.5L, 0},  // just below it is normalised to 99.9
      {100.5L, 4, 30, 2},   // just above it to 10.05
  };
  for (const auto& p : przypadki) {
    Extended step = -1;
    int32_t b = -99;
    KrokPodzialki(p.span, p.n, step, b);
    EXPECT_EQ(b, p.b) << static_cast<double>(p.span);
    EXPECT_NEAR(static_cast<double>(step), static_cast<double>(p.step), 1e-15) << static_cast<double>(p.span);
  }
}

TEST(KrokPodzialki, RefusesASpanItCouldNotNormalise) {
  Extended step = 0;
  int32_t b = 0;
  // Must raise at once, never loop.
  EXPECT_THROW(KrokPodzialki(0, 4, step, b), tk::EZeroDivide);
  EXPECT_THROW(KrokPodzialki(-5, 4, step, b), tk::EInvalidOp);
}

TEST(Wykladnik, IsTheTruncatedDecimalLogarithm) {
  // Exact powers of ten (1000, 0.001) are not truncated one too low.
  const std::pair<Extended, int32_t> przypadki[] = {{500, 2},   {-500, 2}, {0.05L, -1},  {0.5L, 0},  {0, 0},
                                                    {25000, 4}, {1000, 3}, {0.001L, -3}, {9.99L, 0}, {0.0009L, -3}};
  for (const auto& [v, wykladnik] : przypadki) EXPECT_EQ(Wykladnik(v), wykladnik) << static_cast<double>(v);
}

TEST(Round, GoesToTheNearestIntegerWithHalvesToEven) {
  const std::pair<Extended, int64_t> przypadki[] = {{2.5L, 2},      {3.5L, 4},          {-2.5L, -2},
                                                    {-3.5L, -4},    {2.5000000001L, 3}, {-2.6L, -3},
                                                    {127.75L, 128}, {0.49999999999L, 0}};
  for (const auto& [v, calkowita] : przypadki) EXPECT_EQ(Round(v), calkowita) << static_cast<double>(v);
  EXPECT_THROW(Round(1e30L), tk::EInvalidOp);
}

TEST(Zaokraglij, RoundsToAMultipleOfAPowerOfTen) {
  EXPECT_EQ(Zaokraglij(1, 0, 52), 50);
  EXPECT_EQ(Zaokraglij(4, 0, 28000), 30000);
  EXPECT_EQ(Zaokraglij(4, 1, 28000), 28000);
  EXPECT_EQ(Zaokraglij(1, 0, -25), -20);  // halves to even
  EXPECT_EQ(Zaokraglij(1, 0, 35), 40);
  EXPECT_NEAR(static_cast<double>(Zaokraglij(0, 2, 3.14159L)), 3.14, 1e-15);
  EXPECT_NEAR(static_cast<double>(Zaokraglij(-1, 0, 0.26L)), 0.3, 1e-15);
}

TEST(ZerujMale, ZeroesEndsSmallerThanAHundredThousandthOfTheSpan) {
  struct Przypadek {
    Extended v, span, wynik;
  } const przypadki[] = {
      {0.9e-5L, 1, 0}, {-0.9e-3L, 100, 0}, {1.1e-5L, 1, 1.1e-5L}, {7, 1e5L, 7} /* 7e-5 of the span */, {7, 1e6L, 0}};
  for (const Przypadek& p : przypadki) {
    Extended v = p.v;
    ZerujMale(v, p.span);
    EXPECT_EQ(v, p.wynik) << static_cast<double>(p.v) << " of " << static_cast<double>(p.span);
  }
}

TEST(ZerujMale, AZeroSpanIsTheFloatingPointDivisionError) {
  tk::FpClear();
  Extended v = 3;
  try {
    ZerujMale(v, 0);
    FAIL() << "no error";
  } catch (const tk::EZeroDivide& e) {
    EXPECT_STREQ(e.what(), "Floating point division by zero");
  }
  EXPECT_FALSE(tk::FpFaultPending());
}

TEST(OpisPodzialki, FixedNotationPaddedToFiveWithThePointWhateverTheLocale) {
  for (char sep : {',', '.'}) {
    tk::SetDecimalSeparator(sep);
    for (const Opis& o :
         {// Label exponent 1 takes one decimal off the two asked for.
          Opis{1, 2, 12.5L, " 12.5"}, Opis{1, 2, 25, " 25.0"}, Opis{1, 2, 37.5L, " 37.5"}, Opis{1, 2, 50, " 50.0"},
          // Beyond 0..2 the value is written in units of the factor 10^e.
          Opis{4, 2, 7000, " 0.70"}, Opis{4, 2, 14000, " 1.40"}, Opis{4, 2, 21000, " 2.10"}, Opis{4, 2, 28000, " 2.80"},
          Opis{-1, 2, 0.05L, " 0.50"}, Opis{-3, 1, -0.0042L, " -4.2"}, Opis{0, 2, -0.5L, "-0.50"},
          Opis{0, 2, 0, " 0.00"}, Opis{2, 2, 40, "   40"}, Opis{1, 3, 1234.5L, "1234.50"},  // longer texts are not cut
          Opis{0, 2, 9.999L, "10.00"},                                                      // carry into a new digit
          Opis{0, 2, 0.004L, " 0.00"}, Opis{0, 2, 0.006L, " 0.01"}})
      ExpectOpis(o);
  }
  tk::SetDecimalSeparator('\0');
}

TEST(OpisPodzialki, TicksOfInexactStepsReadAsTheirDecimalValue) {
  // 0.7 and its multiples are not binary fractions; the label shows the decimal.
  Extended step = 0;
  int32_t b = 0;
  KrokPodzialki(2.7L, 4, step, b);
  EXPECT_EQ(OpisPodzialki(0, 2, 3 * step), " 2.10");
  EXPECT_EQ(OpisPodzialki(0, 2, 1 - 3 * step), "-1.10");
  // A decimal half rounds away from zero.
  for (const Opis& o : {Opis{2, 2, 12.5L, "   13"}, Opis{2, 2, -12.5L, "  -13"}}) ExpectOpis(o);
}

TEST(OpisPodzialki, NegativeDecimalsGiveTheExponentialForm) {
  // One decimal asked for with label exponent 2.
  for (const Opis& o :
       {Opis{2, 1, 150, " 1.5E+0002"}, Opis{2, 1, -150, "-1.5E+0002"}, Opis{2, 1, 40, " 4.0E+0001"},
        Opis{2, 0, 999.7L, " 1.0E+0003"}, Opis{2, 1, 0, " 0.0E+0000"}, Opis{5, -1, 0.0123L * 100000, " 1.2E-0002"}})
    ExpectOpis(o);
}

// From 10^18 on the programs' number text turns to scientific notation; a
// tick label stays in fixed notation at every size: its 18 significant
// digits, then zeros.
TEST(OpisPodzialki, HugeValuesStayInFixedNotation) {
  EXPECT_EQ(OpisPodzialki(1, 2, 17744923220048803000.0L), "17744923220048803000.0");
  EXPECT_EQ(OpisPodzialki(0, 2, -1e18L), "-1000000000000000000.00");
  for (int k = 18; k <= 60; ++k) {
    for (int e : {0, 1, 2}) {
      const Extended v = -1.2345678901234567L * std::pow(10.0L, k);
      const std::string t = OpisPodzialki(e, 2, v);
      EXPECT_EQ(t.find_first_not_of("-0123456789."), std::string::npos) << t;
      // k + 1 integer digits, the sign, the point and 2 - e decimals.
      EXPECT_EQ(t.size(), static_cast<size_t>(k + 1 + 1 + (e < 2 ? 1 + 2 - e : 0))) << t;
      EXPECT_LT(fabsl(strtold(t.c_str(), nullptr) / v - 1), 1e-17L) << t;
    }
  }
}
