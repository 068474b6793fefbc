// The insulated conductor above earth without the window: the model
// quantities, the point field and its regions, and the surface field against
// the exact image solution of a bare conductor.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "mantlo/model/ModelMantlo.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"

using mantlo::NatezenieNaPowierzchni;
using mantlo::NatezenieWPunkcie;
using mantlo::ObliczUklad;
using mantlo::TPunkt;
using mantlo::TUklad;
using num::Extended;

namespace {

constexpr Extended kPi = 3.141592653589793238462643383279502884L;

// The default inputs: 100 kV, h = 6 m, Dz = 21.5 mm, Dizol = 39 mm, ε = 2.5.
TUklad Domyslny() { return ObliczUklad(100e3L, 6.0L, 21.5L * 0.0005L, 39.0L * 0.0005L, 2.5L); }

Extended E(const TUklad& u, Extended x, Extended y) {
  return NatezenieWPunkcie(TPunkt{x, y}, u.q_air, u.q, u.ri, u.rz, u.a, u.h, u.b);
}

}  // namespace

TEST(ModelMantlo, DefaultQuantities) {
  const TUklad u = Domyslny();
  EXPECT_NEAR(static_cast<double>(u.q), 6005.5990969611596, 1e-9);
  EXPECT_NEAR(static_cast<double>(u.q_air), 15013.997742402899, 1e-9);
  EXPECT_GT(u.b, u.h);
  EXPECT_NEAR(static_cast<double>(u.b - u.h), 2.2057251123e-5, 1e-14);
  // The voltage splits into the drops across the insulation and the air.
  EXPECT_NEAR(static_cast<double>(u.q * (u.L1 - u.L2) + u.q_air * u.L2), 100e3, 1e-9);
}

TEST(ModelMantlo, PointFieldRegions) {
  const TUklad u = Domyslny();
  // Below the earth nothing, also where the formula would give a value.
  EXPECT_EQ(E(u, 0, -1e-9L), 0.0L);
  EXPECT_EQ(E(u, 3, -2), 0.0L);
  // Inside the conductor 0.
  EXPECT_EQ(E(u, 0, u.h), 0.0L);
  EXPECT_EQ(E(u, u.rz * 0.99L, u.h), 0.0L);
  // Across the insulation's surface the coefficient changes from q to q·ε:
  // the field jumps by the factor ε.
  const Extended wew = E(u, u.ri * (1 - 1e-6L), u.h), zew = E(u, u.ri * (1 + 1e-6L), u.h);
  EXPECT_NEAR(static_cast<double>(zew / wew), 2.5, 1e-4);
  // Far from the conductor, the air value q_air·2a/(ρ+·ρ−).
  const Extended x = 5, y = 1;
  const Extended oczek = u.q_air * 2 * u.a / (std::hypot(x, y + u.a) * std::hypot(x, y - u.a));
  EXPECT_NEAR(static_cast<double>(E(u, x, y)), static_cast<double>(oczek), 1e-12);
  EXPECT_NEAR(static_cast<double>(E(u, 0, 1) / 1000), 5.1476651031371100, 1e-12);
  EXPECT_NEAR(static_cast<double>(E(u, 5, 1) / 1000), 2.9619440257245390, 1e-12);
  EXPECT_EQ(E(u, 5, 1), E(u, -5, 1));
}

TEST(ModelMantlo, PointInsideTheInsulationCircleButAwayFromTheConductor) {
  // With a strongly shifted insulation centre a point can lie within ri of hi
  // but farther than ri from hc: the model gives 0 there.
  const TUklad u = ObliczUklad(1000, 0.05L, 0.01L, 0.04L, 2);
  ASSERT_GT(u.b - u.h, 0.001L);
  const Extended y = u.b + u.ri * 0.99L - 1e-4L;  // near the top of the circle about hi
  ASSERT_GE(y - u.h, u.ri);
  EXPECT_EQ(E(u, 0, y), 0.0L);
}

TEST(ModelMantlo, FaultsOfTheGeometry) {
  tk::FpClear();
  EXPECT_THROW(ObliczUklad(1000, 0.005L, 0.01L, 0.02L, 2), tk::EInvalidOp);  // h < rz
  EXPECT_THROW(ObliczUklad(1000, 6, 0, 0.02L, 2), tk::EZeroDivide);          // rz = 0
  EXPECT_FALSE(tk::FpFaultPending());
}

// The surface field of a bare conductor (ε = 1, Dizol = Dz) from the exact
// image solution, E = V·√(h² − r²) / (r·(h − r·cos θ)·arcosh(h/r)), θ measured
// from the point nearest the earth, against what the surface chart plots
// (the model's φ from the horizontal, so cos θ = −sin φ; the chart's √2·1e-5
// taken out).
TEST(ModelMantlo, BareConductorSurfaceAgainstExactImageSolution) {
  const Extended V = 100e3L, h = 6, r = 21.5L * 0.0005L;
  const TUklad u = ObliczUklad(V, h, r, r, 1);
  long double najw = 0;
  for (int i = 0; i <= 100; ++i) {
    const Extended fi = i * 2 * kPi / 100;
    const Extended theta = fi + kPi / 2;  // cos θ = −sin φ
    const Extended dokladne = V * std::sqrt(h * h - r * r) / (r * (h - r * std::cos(theta)) * std::acosh(h / r));
    // Both surface charts: with ε = 1 the insulation's surface is the conductor's.
    for (bool izolacja : {false, true}) {
      const Extended model = NatezenieNaPowierzchni(u, izolacja, fi) / (std::sqrt(2.0L) * 1e-5L);
      najw = std::max(najw, std::fabs(model / dokladne - 1));
    }
    // The field a point just off the surface gets from NatezenieWPunkcie.
    if (i % 25 == 0) {
      const Extended px = r * std::cos(fi) * (1 + 1e-9L), py = h + r * std::sin(fi) * (1 + 1e-9L);
      EXPECT_NEAR(static_cast<double>(E(u, px, py) / dokladne), 1.0, 1e-7) << i;
    }
  }
  std::printf("bare conductor: largest relative difference model/exact - 1 = %.3Le (101 points)\n", najw);
  EXPECT_LT(najw, 1e-18L);  // 1.1e-19 measured
}
