// A bounded random test of the number texts: random and mutated texts through
// the text-to-number, text-to-complex and strict integer conversions, in both
// decimal separators.  None crashes; every result is finite and the one the
// rules give; the text-to-number conversion never leaves a fault flag
// pending; and fixed-point text read back gives the value within the printed
// precision.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "numerics/Typy4.h"
#include "support/NumberTextReference.h"
#include "toolkit/core/Convert.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"

namespace reliability {
namespace {

// Texts made of the characters numbers are made of, with now and then
// anything at all; valid numbers damaged by a few edits; numbers of every size.
class TextSource {
 public:
  explicit TextSource(uint32_t seed) : rng_(seed) {}

  std::string Next() {
    switch (Pick(5)) {
      case 0: return Random();
      case 1: return Mutated(Number());
      case 2: return Number();
      case 3: return Mutated(Number() + (Pick(2) ? "  + j " : " -j") + Number());
      default: return Mutated(Random());
    }
  }
  std::string Number() {
    std::string s;
    if (Pick(3) == 0) s += "+-"[Pick(2)];
    const int whole = Pick(4) == 0 ? Pick(40) : Pick(6);
    for (int i = 0; i < whole; ++i) s += Digit();
    if (Pick(2)) {
      s += ".,"[Pick(2)];
      const int frac = Pick(25);
      for (int i = 0; i < frac; ++i) s += Digit();
    }
    if (Pick(3) == 0) {
      s += "eE"[Pick(2)];
      if (Pick(2)) s += "+-"[Pick(2)];
      const int e = Pick(5) + (Pick(2) ? 0 : 1);
      for (int i = 0; i < e; ++i) s += Digit();
    }
    if (Pick(4) == 0) s = std::string(Pick(3), ' ') + s + std::string(Pick(3), Pick(2) ? ' ' : '\t');
    return s;
  }
  int Pick(int n) { return static_cast<int>(rng_() % static_cast<uint32_t>(n)); }

 private:
  char Digit() { return static_cast<char>('0' + Pick(10)); }
  std::string Random() {
    static const std::string alphabet = "0123456789+-.,eEjJ $xX \t\n\x01\x7f";
    const int n = Pick(10) == 0 ? Pick(3000) : Pick(24);
    std::string s;
    for (int i = 0; i < n; ++i)
      s += Pick(8) == 0 ? static_cast<char>(Pick(256)) : alphabet[Pick(static_cast<int>(alphabet.size()))];
    return s;
  }
  std::string Mutated(std::string s) {
    const int edits = 1 + Pick(3);
    for (int k = 0; k < edits; ++k) {
      const size_t at = s.empty() ? 0 : static_cast<size_t>(Pick(static_cast<int>(s.size()) + 1));
      const std::string chars = "0123456789+-.,eEj ";
      switch (Pick(3)) {
        case 0: s.insert(at, 1, chars[Pick(static_cast<int>(chars.size()))]); break;
        case 1:
          if (at < s.size()) s.erase(at, 1);
          break;
        default:
          if (at < s.size()) s[at] = chars[Pick(static_cast<int>(chars.size()))];
          break;
      }
    }
    return s;
  }
  std::mt19937 rng_;
};

std::string Shown(const std::string& s) {
  std::string out;
  for (unsigned char c : s.substr(0, 120)) {
    if (c >= 32 && c < 127) {
      out += static_cast<char>(c);
    } else {
      char b[8];
      std::snprintf(b, sizeof b, "\\x%02x", c);
      out += b;
    }
  }
  return "\"" + out + (s.size() > 120 ? "...\"" : "\"");
}

class ConversionRandom : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override { tk::SetDecimalSeparator(GetParam()); }
  void TearDown() override { tk::SetDecimalSeparator('\0'); }
};

INSTANTIATE_TEST_SUITE_P(Separators, ConversionRandom, ::testing::Values(',', '.'),
                         [](const ::testing::TestParamInfo<char>& i) {
                           return std::string(i.param == ',' ? "Comma" : "Point");
                         });

constexpr int kTexts = 100000;

TEST_P(ConversionRandom, TextToNumber) {
  TextSource src(20261209u + GetParam());
  int nonzero = 0;
  for (int n = 0; n < kTexts; ++n) {
    const std::string s = src.Next();
    tk::FpClear();
    const long double v = num::StrToFloatZero(s);
    ASSERT_FALSE(tk::FpFaultPending()) << Shown(s);
    ASSERT_TRUE(std::isfinite(v)) << Shown(s);
    ASSERT_EQ(v, ref::StrToFloatZero(s, GetParam())) << Shown(s);
    if (v != 0) ++nonzero;
  }
  EXPECT_GT(nonzero, kTexts / 10);  // the source makes numbers, not only rubbish
  // A fault pending before the conversion is the caller's: it stays.
  volatile long double zero = 0;
  volatile long double q = 1 / zero;
  (void)q;
  num::StrToFloatZero("1e5000");
  EXPECT_THROW(tk::FpCheck(), tk::EZeroDivide);
}

TEST_P(ConversionRandom, TextToComplex) {
  TextSource src(7u + GetParam());
  for (int n = 0; n < kTexts; ++n) {
    const std::string s = src.Next();
    tk::FpClear();
    const num::TZespol z = num::StrToZespol(s);
    ASSERT_FALSE(tk::FpFaultPending()) << Shown(s);
    ASSERT_TRUE(std::isfinite(z.re) && std::isfinite(z.im)) << Shown(s);
    const ref::Complex r = ref::StrToZespol(s, GetParam());
    ASSERT_EQ(z.re, r.re) << Shown(s);
    ASSERT_EQ(z.im, r.im) << Shown(s);
  }
}

TEST_P(ConversionRandom, StrictInteger) {
  TextSource src(99u + GetParam());
  for (int n = 0; n < kTexts; ++n) {
    std::string s = src.Next();
    if (src.Pick(3) == 0)
      s = std::string(src.Pick(3), ' ') + std::to_string(static_cast<int64_t>(src.Pick(1 << 30)) * (src.Pick(9) - 4));
    if (src.Pick(6) == 0) s = std::string("$x0X").substr(src.Pick(3), 1 + src.Pick(2)) + "7fFF0a1";
    int32_t v = 0, r = 0;
    const bool ok = tk::TryStrToInt(s, v);
    ASSERT_EQ(ok, ref::TryStrToInt(s, r)) << Shown(s);
    if (ok) {
      ASSERT_EQ(v, r) << Shown(s);
      ASSERT_EQ(tk::StrToInt(s), v) << Shown(s);
    } else {
      try {
        tk::StrToInt(s);
        FAIL() << Shown(s) << " converted";
      } catch (const tk::EConvertError& e) {
        ASSERT_EQ(e.Message(), "'" + s + "' is not a valid integer value");
      }
    }
  }
  // Every 32-bit value reads back from its decimal text.
  std::mt19937 rng(5);
  for (int n = 0; n < 20000; ++n) {
    const int32_t x = static_cast<int32_t>(rng());
    ASSERT_EQ(tk::StrToInt(std::to_string(x)), x);
  }
  EXPECT_EQ(tk::StrToInt("-2147483648"), INT32_MIN);
}

// Fixed-point text read back: within half a unit of the last decimal (and the
// 18 significant digits the text holds); a text that rounds to zero has no sign.
TEST_P(ConversionRandom, FixedPointTextReadsBack) {
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> unit(-1, 1);
  for (int n = 0; n < kTexts; ++n) {
    const int e = static_cast<int>(rng() % 44) - 22;
    const long double x = static_cast<long double>(unit(rng)) * std::pow(10.0L, e);
    const int decimals = static_cast<int>(rng() % 5);
    const long double scale = (rng() % 4 == 0) ? 1e6L : 1;
    const std::string s = num::FloatToStrSkal(x, scale, decimals);
    const long double y = num::StrToFloatZero(s);
    const long double exact = x * scale;
    ASSERT_LE(std::fabs(y - exact), 0.5L * std::pow(10.0L, -decimals) + std::fabs(exact) * 1e-17L)
        << s << " from " << static_cast<double>(exact);
    if (y == 0) {
      ASSERT_NE(s[0], '-') << s;
    }
  }
  // Complex text the same way, each part.
  for (int n = 0; n < kTexts / 4; ++n) {
    const num::TZespol z{static_cast<long double>(unit(rng)) * 1000, static_cast<long double>(unit(rng)) * 1000};
    const std::string s = num::ZespolToStr(z, 1, 3);
    const num::TZespol w = num::StrToZespol(s);
    ASSERT_LE(std::fabs(w.re - z.re), 0.0005L + 1e-15L) << s;
    ASSERT_LE(std::fabs(w.im - z.im), 0.0005L + 1e-15L) << s;
  }
}

}  // namespace
}  // namespace reliability
