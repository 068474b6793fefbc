// The tubular conductor's field model: the window's default case, the
// boundary conditions, thin walls, the limit of a solid conductor, and the
// run-time errors of bad inputs.
#include <cmath>

#include "ferrant/model/ModelCylindra.h"
#include "ferrant/model/ModelWalca.h"
#include "model_pomoc.h"

namespace ferrant::test {
namespace {

class PoleCylindraTest : public ModelTest {
 protected:
  // The window's default inputs: 63000 A, 50 Hz, μr 1, 56 MS/m, 980 / 1000 mm.
  std::unique_ptr<TModelCylindra> Domyslny() {
    return std::make_unique<TModelCylindra>(63000, 50, kMi0, 56e6L, 0.98L, 1.0L);
  }
};

TEST_F(PoleCylindraTest, ConstructorStoresInputsAndComputesNothingButC) {
  auto p = Domyslny();
  EXPECT_EQ(p->I, 63000);
  EXPECT_EQ(p->r1, 0.98L);
  EXPECT_EQ(p->r2, 1.0L);
  EXPECT_NEAR(p->c.re, std::sqrt(0.5L), 1e-18L);
  EXPECT_NEAR(p->c.im, -std::sqrt(0.5L), 1e-18L);
  EXPECT_EQ(p->w, 0);
  EXPECT_TRUE(Rowne(p->A, num::ZeroZ) && Rowne(p->B, num::ZeroZ) && Rowne(p->Ae, num::ZeroZ) &&
              Rowne(p->Be, num::ZeroZ));
}

TEST_F(PoleCylindraTest, DefaultCaseGivesTheWindowsFigures) {
  auto p = Domyslny();
  p->Oblicz();
  EXPECT_NEAR(p->Rezystancja() * 1e6L, 0.288L, 0.0005L);
  EXPECT_NEAR(p->Reaktancja() * 1e6L, 0.302L, 0.0005L);
  EXPECT_NEAR(p->WspNaskorkowosci(), 2.008L, 0.0005L);
}

TEST_F(PoleCylindraTest, BoundaryConditionsHold) {
  auto p = Domyslny();
  for (Extended f : {50.0L, 5.0L}) {
    p->f = f;
    p->Oblicz();
    const Extended Hs = p->I / (2 * kPi * p->r2);
    const TZespol H1 = p->NatezenieH(p->r1), H2 = p->NatezenieH(p->r2);
    EXPECT_LT(num::ModZ(H1), 1e-15L * Hs) << f;  // no field in the hole
    EXPECT_LT(Wzgl(H2.re, Hs), 1e-15L) << f;
    EXPECT_LT(std::fabs(H2.im), 1e-15L * Hs) << f;
    for (Extended r : {0.98L, 0.99L, 1.0L}) {
      const TZespol E = p->NatezenieE(r), J = p->GestoscJ(r);
      EXPECT_EQ(J.re, E.re * p->gamma);
      EXPECT_EQ(J.im, E.im * p->gamma);
    }
  }
}

// A wall thin against the skin depth carries a nearly uniform current.
TEST_F(PoleCylindraTest, ThinWallAtLowFrequencyIsUniform) {
  TModelCylindra p(100, 10, kMi0, 55e6L, 0.0195L, 0.02L);  // δ ≈ 21 mm, wall 0.5 mm
  p.Oblicz();
  const Extended Jdc = p.I / (kPi * (p.r2 * p.r2 - p.r1 * p.r1));
  for (int i = 0; i <= 10; ++i) {
    const Extended r = p.r1 + i * (p.r2 - p.r1) / 10;
    EXPECT_NEAR(num::ModZ(p.GestoscJ(r)) / Jdc, 1, 1e-4L) << r;
  }
  EXPECT_NEAR(p.WspNaskorkowosci(), 1, 1e-6L);
  p.f = 1e-3L;
  p.Oblicz();
  EXPECT_NEAR(p.WspNaskorkowosci(), 1, 1e-12L);
}

// A hole far thinner than the skin depth changes nothing: the solid conductor.
TEST_F(PoleCylindraTest, TinyHoleEqualsTheSolidConductor) {
  TModelCylindra t(500, 400, kMi0, 55e6L, 1e-8L, 0.01L);
  TModelWalca s(500, 400, kMi0, 55e6L, 0.01L);
  t.Oblicz();
  s.Oblicz();
  EXPECT_LT(WzglZ(t.Impedancja(), s.Impedancja()), 1e-9L);
  EXPECT_LT(WzglZ(t.NatezenieE(0.005L), s.NatezenieE(0.005L)), 1e-9L);
}

TEST_F(PoleCylindraTest, SkinCoefficientDoesNotDependOnTheCurrent) {
  auto p = Domyslny();
  p->Oblicz();
  const Extended Kn = p->WspNaskorkowosci();
  p->I = 1;
  p->Oblicz();
  EXPECT_LT(Wzgl(p->WspNaskorkowosci(), Kn), 1e-16L);
}

TEST_F(PoleCylindraTest, FaultsGiveTheRunTimeMessages) {
  auto p = Domyslny();
  p->Oblicz();
  const Extended w0 = p->w;
  const TZespol A0 = p->A, Be0 = p->Be;

  // r2 = 0: I/(2πr2), before anything is stored.
  p->r2 = 0;
  EXPECT_EQ(Akcja([&] { p->Oblicz(); }), kDziel);
  EXPECT_EQ(p->w, w0);
  // f, μ or γ zero: m = 0 and the Hankel function meets 0, where it is
  // singular; so does r1 = 0.  The coefficients keep their values.
  p->r2 = 1.0L;
  p->f = 0;
  EXPECT_EQ(Akcja([&] { p->Oblicz(); }), kDziel);
  EXPECT_EQ(p->w, 0);
  EXPECT_TRUE(Rowne(p->A, A0) && Rowne(p->Be, Be0));
  p->f = 50;
  Zerem(*p, &TModelCylindra::mi, "mi", kDziel);
  Zerem(*p, &TModelCylindra::gamma, "gamma", kDziel);
  Zerem(*p, &TModelCylindra::r1, "r1", kDziel);
  // r1 = r2: the determinant is exactly 0.
  p->r1 = 1.0L;
  EXPECT_EQ(Akcja([&] { p->Oblicz(); }), kDziel);
  EXPECT_TRUE(Rowne(p->A, A0));
  // ωμγ < 0.
  p->r1 = 0.98L;
  p->gamma = -1;
  EXPECT_EQ(Akcja([&] { p->Oblicz(); }), kNieprawidlowa);
  // Zero current: 0/0 when read from the grid, x/0 when set after Oblicz.
  p->gamma = 56e6L;
  p->I = 0;
  EXPECT_EQ(PoObliczeniu(*p, [&] { p->WspNaskorkowosci(); }), kNieprawidlowa);
  p->I = 63000;
  p->Oblicz();
  p->I = 0;
  EXPECT_EQ(Akcja([&] { p->Reaktancja(); }), kDziel);
  // The hole's centre is outside the wall; the Hankel function is singular there.
  p->I = 63000;
  EXPECT_EQ(Akcja([&] { p->NatezenieE(0); }), kDziel);
  EXPECT_FALSE(tk::FpFaultPending());
}

}  // namespace
}  // namespace ferrant::test
