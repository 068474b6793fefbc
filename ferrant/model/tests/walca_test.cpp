// The solid conductor's field model: construction, the window's default
// case, the physics the solution must obey, and the run-time errors of bad
// inputs.
#include <cmath>

#include "ferrant/model/ModelWalca.h"
#include "model_pomoc.h"

namespace ferrant::test {
namespace {

class PoleWalcaTest : public ModelTest {
 protected:
  // The window's default inputs: 1000 A, 50 Hz, copper, R = 50 mm.
  std::unique_ptr<TModelWalca> Domyslny() { return std::make_unique<TModelWalca>(1000, 50, kMi0, 55e6L, 0.05L); }
};

TEST_F(PoleWalcaTest, ConstructorStoresInputsAndComputesNothingButC) {
  TModelWalca p(1000, 50, kMi0, 55e6L, 0.05L);
  EXPECT_EQ(p.I, 1000);
  EXPECT_EQ(p.f, 50);
  EXPECT_EQ(p.mi, kMi0);
  EXPECT_EQ(p.gamma, 55e6L);
  EXPECT_EQ(p.R, 0.05L);
  EXPECT_NEAR(p.c.re, std::sqrt(0.5L), 1e-18L);
  EXPECT_NEAR(p.c.im, -std::sqrt(0.5L), 1e-18L);
  EXPECT_EQ(p.w, 0);
  EXPECT_EQ(p.k, 0);
  EXPECT_TRUE(Rowne(p.m, num::ZeroZ) && Rowne(p.A, num::ZeroZ) && Rowne(p.C, num::ZeroZ));
}

TEST_F(PoleWalcaTest, DefaultCaseGivesTheWindowsFigures) {
  auto p = Domyslny();
  p->Oblicz();
  // As the window shows them: µΩ/m with two decimals, Kn with four.
  EXPECT_NEAR(p->Rezystancja() * 1e6L, 6.649L, 0.0005L);
  EXPECT_NEAR(p->Reaktancja() * 1e6L, 5.979L, 0.0005L);
  EXPECT_NEAR(p->WspNaskorkowosci(), 2.8722L, 0.00005L);
  EXPECT_NEAR(p->w, 2 * kPi * 50, 1e-15L);
  EXPECT_NEAR(p->k, std::sqrt(2 * kPi * 50 * kMi0 * 55e6L), 1e-15L);
  // The d.c. resistance behind Kn: 2.315 µΩ/m.
  EXPECT_NEAR(p->Rezystancja() / p->WspNaskorkowosci() * 1e6L, 2.315L, 0.0005L);
}

TEST_F(PoleWalcaTest, SurfaceFieldAxisValueAndCurrentDensity) {
  auto p = Domyslny();
  p->Oblicz();
  const Extended Hs = p->I / (2 * kPi * p->R);
  const TZespol H = p->NatezenieH(p->R);
  EXPECT_LT(Wzgl(H.re, Hs), 1e-16L);
  EXPECT_LT(std::fabs(H.im), 1e-16L * Hs);
  EXPECT_TRUE(Rowne(p->NatezenieE(0), p->C));  // J0(0) = 1
  EXPECT_EQ(p->NatezenieH(0).re, 0);           // no field on the axis
  for (Extended r : {0.0L, 0.01L, 0.049L, 0.05L, 0.07L}) {
    const TZespol E = p->NatezenieE(r), J = p->GestoscJ(r);
    EXPECT_EQ(J.re, E.re * p->gamma);
    EXPECT_EQ(J.im, E.im * p->gamma);
  }
  // Skin effect: the density grows from the axis to the surface.
  EXPECT_GT(num::ModZ(p->GestoscJ(0.05L)), 2 * num::ModZ(p->GestoscJ(0)));
}

TEST_F(PoleWalcaTest, SkinCoefficientTendsToOneAndGrowsWithFrequency) {
  auto p = Domyslny();
  p->f = 1e-5L;  // Kn - 1 ~ (R/δ)^4 / 48
  p->Oblicz();
  EXPECT_NEAR(p->WspNaskorkowosci(), 1, 1e-9L);
  Extended poprzedni = 1;
  for (Extended f : {1.0L, 10.0L, 50.0L, 400.0L, 2000.0L, 10000.0L}) {
    p->f = f;
    p->Oblicz();
    const Extended Kn = p->WspNaskorkowosci();
    EXPECT_GT(Kn, poprzedni) << f;
    poprzedni = Kn;
  }
  // Skin depth 0.67 mm at 10 kHz: Kn ≈ R/(2δ).
  EXPECT_NEAR(poprzedni, 0.05L / (2 * std::sqrt(2 / (2 * kPi * 1e4L * kMi0 * 55e6L))) + 0.25L, 0.05L);
}

TEST_F(PoleWalcaTest, SkinCoefficientDoesNotDependOnTheCurrent) {
  auto p = Domyslny();
  p->Oblicz();
  const Extended Kn = p->WspNaskorkowosci(), R = p->Rezystancja();
  p->I = 3.7L;
  p->Oblicz();
  EXPECT_LT(Wzgl(p->WspNaskorkowosci(), Kn), 1e-16L);
  EXPECT_LT(Wzgl(p->Rezystancja(), R), 1e-16L);
}

TEST_F(PoleWalcaTest, EvaluationsUseTheLastOblicz) {
  auto p = Domyslny();
  p->Oblicz();
  const TZespol E = p->NatezenieE(0.02L);
  const Extended Kn = p->WspNaskorkowosci();
  // A new γ without Oblicz scales J and Kn in proportion, not the field shape.
  p->gamma = 2 * 55e6L;
  EXPECT_TRUE(Rowne(p->NatezenieE(0.02L), E));
  EXPECT_LT(Wzgl(p->WspNaskorkowosci(), 2 * Kn), 1e-18L);
  EXPECT_LT(WzglZ(p->GestoscJ(0.02L), num::FMulZR(E, 2 * 55e6L)), 1e-18L);
  // A new frequency is not seen until Oblicz.
  p->gamma = 55e6L;
  p->f = 500;
  EXPECT_TRUE(Rowne(p->NatezenieE(0.02L), E));
  p->Oblicz();
  EXPECT_FALSE(Rowne(p->NatezenieE(0.02L), E));
}

// Bad inputs end the action with the run-time's message, never with an
// infinity or a NaN in a field or a result.
TEST_F(PoleWalcaTest, FaultsGiveTheRunTimeMessages) {
  auto p = Domyslny();
  p->Oblicz();
  const Extended w0 = p->w, k0 = p->k;
  const TZespol A0 = p->A;

  // R = 0: the surface field I/(2πR) fails first; nothing is stored.
  p->R = 0;
  EXPECT_EQ(Akcja([&] { p->Oblicz(); }), kDziel);
  EXPECT_EQ(p->w, w0);
  EXPECT_TRUE(Rowne(p->A, A0));

  // f = 0 or μ = 0: m = 0 and jωμ/m is 0/0.  ω, k and m of the steps
  // before stay stored; A and C keep their values.
  p->R = 0.05L;
  p->f = 0;
  EXPECT_EQ(Akcja([&] { p->Oblicz(); }), kNieprawidlowa);
  EXPECT_EQ(p->w, 0);
  EXPECT_EQ(p->k, 0);
  EXPECT_TRUE(Rowne(p->A, A0));
  p->f = 50;
  Zerem(*p, &TModelWalca::mi, "mi", kNieprawidlowa);
  // γ = 0: m = 0 while jωμ is not, so jωμ/m divides by zero.
  Zerem(*p, &TModelWalca::gamma, "gamma", kDziel);

  // A negative product ωμγ has no real root; k keeps the last value.
  p->Oblicz();
  p->gamma = -55e6L;
  EXPECT_EQ(Akcja([&] { p->Oblicz(); }), kNieprawidlowa);
  EXPECT_EQ(p->k, k0);

  // I = 0 read from the grid: the field is zero too, so E(R)/I is 0/0.
  p->gamma = 55e6L;
  p->I = 0;
  EXPECT_EQ(PoObliczeniu(*p, [&] { p->Rezystancja(); }), kNieprawidlowa);
  // I = 0 written after an Oblicz with current: a plain division by zero.
  p->I = 1000;
  p->Oblicz();
  p->I = 0;
  EXPECT_EQ(Akcja([&] { p->Impedancja(); }), kDziel);
  EXPECT_EQ(Akcja([&] { p->WspNaskorkowosci(); }), kDziel);
  EXPECT_FALSE(tk::FpFaultPending());
}

}  // namespace
}  // namespace ferrant::test
