#include <gtest/gtest.h>

#include <cmath>

#include "numerics/AlgeZes4.h"
#include "support/Pomoc.h"

using namespace num;
using testy::Rowne;

namespace {

class AlgeZes4 : public testy::CzysteFlagi {};

// The quotient as the formula stands, each step rounded to extended on its own.
TZespol IlorazWzor(TZespol a, TZespol b) {
  volatile long double d = b.re * b.re;
  d = d + b.im * b.im;
  volatile long double re = a.re * b.re;
  re = re + a.im * b.im;
  volatile long double im = a.im * b.re;
  im = im - a.re * b.im;
  return TZespol{re / d, im / d};
}

TEST_F(AlgeZes4, ResultMayBeAnOperand) {
  TZespol z{1, 2};
  MulZ(z, z, z);
  EXPECT_TRUE(Rowne(z, TZespol{-3, 4}));

  const TZespol a{0.3L, -1.7L}, b{-2.1L, 0.45L};
  TZespol wynik, x;
  DivZ(wynik, a, b);
  x = a;
  DivZ(x, x, b);
  EXPECT_TRUE(Rowne(x, wynik));
  x = b;
  DivZ(x, a, x);
  EXPECT_TRUE(Rowne(x, wynik));
  x = a;
  DivZ(x, x, x);
  EXPECT_TRUE(Rowne(x, FDivZ(a, a)));

  AddZ(wynik, a, b);
  x = a;
  AddZ(x, x, b);
  EXPECT_TRUE(Rowne(x, wynik));
  SubZ(wynik, a, b);
  x = b;
  SubZ(x, a, x);
  EXPECT_TRUE(Rowne(x, wynik));
  MulZR(wynik, a, 3.5L);
  x = a;
  MulZR(x, x, 3.5L);
  EXPECT_TRUE(Rowne(x, wynik));
  OdwZ(wynik, a);
  x = a;
  OdwZ(x, x);
  EXPECT_TRUE(Rowne(x, wynik));
}

TEST_F(AlgeZes4, QuotientsDivideByTheSquaredModulus) {
  EXPECT_TRUE(Rowne(FDivZ({1, 0}, {0, 1}), TZespol{0, -1}));
  EXPECT_TRUE(Rowne(FOdwZ({0, 2}), TZespol{0, -0.5L}));
  EXPECT_TRUE(Rowne(FDivRZ(2, {0, 1}), TZespol{0, -2}));
  EXPECT_TRUE(Rowne(FDivZR({3, -6}, 3), TZespol{1, -2}));

  // Bit for bit the formula, for operands whose quotient is not exact.
  const TZespol pary[][2] = {
      {{1, 1}, {3, 7}}, {{0.1L, -0.7L}, {1e-3L, 3}}, {{-5e10L, 2.5L}, {0.3L, 0.3L}}, {{1, 0}, {3, 0}}};
  for (const auto& p : pary) {
    const TZespol oczekiwany = IlorazWzor(p[0], p[1]);
    EXPECT_TRUE(Rowne(FDivZ(p[0], p[1]), oczekiwany)) << p[0].re << " " << p[1].re;
    TZespol z;
    DivZ(z, p[0], p[1]);
    EXPECT_TRUE(Rowne(z, oczekiwany));
  }
  // 1/a: the sign is taken before the division.
  const TZespol a{3, 7};
  volatile long double d = 3.0L * 3.0L + 7.0L * 7.0L;
  const TZespol odw = FOdwZ(a);
  EXPECT_EQ(odw.re, 3.0L / d);
  EXPECT_EQ(odw.im, -7.0L / d);
  const TZespol r = FDivRZ(5, a);
  EXPECT_EQ(r.re, 15.0L / d);
  EXPECT_EQ(r.im, -35.0L / d);
}

// The scaled quotients are the plain ones where the squared modulus of the
// divisor is in range, and reach as far as the quotient itself beyond.
TEST_F(AlgeZes4, ScaledQuotientsFailOnlyWhereTheQuotientDoes) {
  const TZespol pary[][2] = {{{1, 1}, {3, 7}}, {{0.1L, -0.7L}, {0x1p8190L, 3}}, {{-5e10L, 2.5L}, {0x1p-8190L, 0}}};
  for (const auto& p : pary) {
    EXPECT_TRUE(Rowne(FDivZSkal(p[0], p[1]), FDivZ(p[0], p[1])));
    EXPECT_TRUE(Rowne(FOdwZSkal(p[1]), FOdwZ(p[1])));
  }
  const TZespol q = FDivZSkal({2e3000L, 0}, {1e3000L, 1e3000L});
  EXPECT_NEAR(q.re, 1, 1e-18L);
  EXPECT_NEAR(q.im, -1, 1e-18L);
  EXPECT_NEAR(FOdwZSkal({0, -1e-3000L}).im / 1e3000L, 1, 1e-18L);
  EXPECT_PRZEPELNIENIE(FDivZSkal({1e4000L, 0}, {1e-3000L, 0}));
  EXPECT_DZIELENIE(FDivZSkal({1, 0}, {0, 0}));
  EXPECT_DZIELENIE(FOdwZSkal({0, 0}));
}

TEST_F(AlgeZes4, ModulusWithoutOverflowOrUnderflow) {
  EXPECT_EQ(ModZ({3, 4}), 5.0L);
  EXPECT_EQ(ModZ({0, -7}), 7.0L);
  EXPECT_EQ(ModZ({-7, 0}), 7.0L);
  EXPECT_EQ(ModZ({0, 0}), 0.0L);
  EXPECT_NEAR(ModZ({1e4000L, 1e4000L}) / 1e4000L, std::sqrt(2.0L), 1e-18L);
  EXPECT_NEAR(ModZ({-1e-4000L, 1e-4000L}) / 1e-4000L, std::sqrt(2.0L), 1e-18L);
}

TEST_F(AlgeZes4, CosineAndSine) {
  const TZespol c = CosZ({0, 0});
  EXPECT_EQ(c.re, 1.0L);
  EXPECT_EQ(c.im, 0.0L);
  const TZespol s = SinZ({0, 1});
  EXPECT_EQ(s.re, 0.0L);
  EXPECT_EQ(s.im, std::sinh(1.0L));
  // cos(x + jy) = cos x cosh y - j sin x sinh y
  const TZespol c2 = CosZ({0.5L, -2});
  EXPECT_EQ(c2.re, std::cos(0.5L) * std::cosh(-2.0L));
  EXPECT_EQ(c2.im, -std::sin(0.5L) * std::sinh(-2.0L));
}

TEST_F(AlgeZes4, ConstantsAndFunctionForms) {
  EXPECT_TRUE(Rowne(ZeroZ, TZespol{0, 0}));
  EXPECT_TRUE(Rowne(JedenZ, TZespol{1, 0}));
  EXPECT_TRUE(Rowne(JZ, TZespol{0, 1}));
  EXPECT_TRUE(Rowne(FMulZ(JZ, JZ), TZespol{-1, 0}));
  EXPECT_TRUE(Rowne(FAddZ({1, 2}, {3, -4}), TZespol{4, -2}));
  EXPECT_TRUE(Rowne(FSubZ({1, 2}, {3, -4}), TZespol{-2, 6}));
  EXPECT_TRUE(Rowne(FMulZR({1, -2}, -0.5L), TZespol{-0.5L, 1}));
}

// A division by (0, 0) is a division by zero, also where the formula itself
// would only meet 0/0; (0, 0)/(0, 0) is the invalid operation.
TEST_F(AlgeZes4, DivisionByZeroFails) {
  TZespol z{7, 7};
  EXPECT_DZIELENIE(FDivZ({1, 0}, {0, 0}));
  EXPECT_DZIELENIE(FDivZ({0, -2}, {0, 0}));
  EXPECT_DZIELENIE(DivZ(z, {1, 1}, {0, 0}));
  EXPECT_TRUE(Rowne(z, TZespol{7, 7})) << "the result argument stays unwritten";
  EXPECT_NIEDOZWOLONA(FDivZ({0, 0}, {0, 0}));
  EXPECT_DZIELENIE(FOdwZ({0, 0}));
  EXPECT_DZIELENIE(OdwZ(z, {0, -0.0L}));
  EXPECT_DZIELENIE(FDivRZ(2, {0, 0}));
  EXPECT_NIEDOZWOLONA(FDivRZ(0, {0, 0}));
  EXPECT_DZIELENIE(FDivZR({1, 0}, 0));
  EXPECT_NIEDOZWOLONA(FDivZR({0, 0}, 0));
}

TEST_F(AlgeZes4, OverflowFails) {
  EXPECT_PRZEPELNIENIE(FMulZ({1e3000L, 0}, {0, 1e3000L}));
  EXPECT_PRZEPELNIENIE(FAddZ({1e4932L, 0}, {1e4932L, 0}));
  EXPECT_PRZEPELNIENIE(FSubZ({0, -1e4932L}, {0, 1e4932L}));
  EXPECT_PRZEPELNIENIE(FMulZR({1e4000L, 1}, 1e1000L));
  EXPECT_PRZEPELNIENIE(FDivZR({1e4000L, 1}, 1e-1000L));
  // A divisor whose squared modulus overflows would give a silent 0.
  EXPECT_PRZEPELNIENIE(FDivZ({1, 1}, {1e3000L, 0}));
  EXPECT_PRZEPELNIENIE(ModZ({1e4932L, 1e4932L}));
  // cosh and sinh of the imaginary part leave the extended range; where
  // sin of the real part is 0 the product is 0 * inf, still an overflow.
  EXPECT_PRZEPELNIENIE(CosZ({0, 12000}));
  EXPECT_PRZEPELNIENIE(SinZ({0, 12000}));
  EXPECT_PRZEPELNIENIE(SinZ({1, -12000}));
}

TEST_F(AlgeZes4, UnderflowPasses) {
  const TZespol z = FMulZ({1e-3000L, 0}, {1e-3000L, 0});
  EXPECT_EQ(z.re, 0.0L);
  EXPECT_FALSE(tk::FpFaultPending());
}

TEST_F(AlgeZes4, AFaultPendingBeforeTheDivisionIsReportedFirst) {
  testy::WywolajPrzepelnienie();
  EXPECT_PRZEPELNIENIE(FDivZ({1, 0}, {0, 0}));
}

}  // namespace
