// Axis fitting of the plot painter: cases, trials, margins and axis positions.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plot/Wykresy4.h"
#include "toolkit/core/Errors.h"

using namespace plot;

namespace {

constexpr int W = 649, H = 401;

// A painter of 201 points and one curve, not bound to a picture.
std::unique_ptr<TWykresy> Painter(std::function<Extended(int)> x, std::function<Extended(int)> y, int n = 200) {
  auto w = std::make_unique<TWykresy>(nullptr, n, 1);
  w->FSzerokosc = W;
  w->FWysokosc = H;
  for (int j = 0; j <= n; ++j) {
    w->FWek[0].Wek[j] = x(j);
    w->FWek[1].Wek[j] = y(j);
  }
  return w;
}

Extended Sinus(int j) { return 10 + 5 * sinl(j * 0.05L); }

// An axis's case, tick and label exponents, accepted trial and rounded ends.
void ExpectFit(const TOsWykresu& os, char przypadek, int32_t b, int32_t e, int32_t proba, Extended lo, Extended hi) {
  EXPECT_EQ(os.przypadek, przypadek);
  EXPECT_EQ(os.b, b);
  EXPECT_EQ(os.e, e);
  EXPECT_EQ(os.proba, proba);
  EXPECT_EQ(os.lo, lo);
  EXPECT_EQ(os.hi, hi);
}

// The labels of the X axis's ticks past the origin, in order.
void ExpectXLabels(const TWykresy& w, const TGeometriaWykresu& g, const std::vector<std::string>& napisy) {
  ASSERT_EQ(static_cast<size_t>(g.X.r), napisy.size());
  for (int M = 1; M <= g.X.r; ++M) EXPECT_EQ(OpisPodzialki(g.X.e, w.FMiejscaX, g.X.c + M * g.X.step), napisy[M - 1]);
}

}  // namespace

TEST(Dopasowanie, NonNegativeXFromZeroToFiftyTakesTheFirstTrial) {
  auto w = Painter([](int j) { return j * 0.25L; }, Sinus);
  const TGeometriaWykresu g = w->Geometria();
  ExpectFit(g.X, 'B', 1, 1, 0, 0, 50);
  EXPECT_EQ(g.X.amin, 0);
  EXPECT_EQ(g.X.amax, 50);
  EXPECT_EQ(g.X.r, 4);
  EXPECT_EQ(g.X.s, 0);
  EXPECT_EQ(g.X.step, 12.5L);  // 13 before the range was rounded
  EXPECT_EQ(g.X.c, 0);
  EXPECT_EQ(g.p, 68);
  EXPECT_EQ(g.C, 68);
  EXPECT_EQ(g.X0, 68);
  EXPECT_EQ(g.q, W - 70);
  EXPECT_EQ(g.X.scale, (W - 70 - 68) / 50.0L);
  // The tick labels at 12.5, 25, 37.5 and 50.
  ExpectXLabels(*w, g, {" 12.5", " 25.0", " 37.5", " 50.0"});
}

TEST(Dopasowanie, XUpTo25000HasNoAcceptedTrialAndAFactorOfTenThousand) {
  auto w = Painter([](int j) { return j * 125.0L; }, Sinus);
  const TGeometriaWykresu g = w->Geometria();
  ExpectFit(g.X, 'B', 4, 4, -1, 0, 28000);  // trial 5 stands
  EXPECT_EQ(g.X.amax, 28000);
  EXPECT_EQ(g.X.step, 7000);
  ExpectXLabels(*w, g, {" 0.70", " 1.40", " 2.10", " 2.80"});
}

TEST(Dopasowanie, TheSignOfTheYDataPlacesTheXAxis) {
  // Non-negative: X axis at the bottom of the Y range, Y axis down to it.
  auto dod = Painter([](int j) { return j * 0.25L; }, Sinus);
  TGeometriaWykresu g = dod->Geometria();
  EXPECT_EQ(g.Y.przypadek, 'B');
  EXPECT_EQ(g.Y0, H - 100);
  EXPECT_EQ(g.yb, H - 100);
  EXPECT_EQ(g.u, H - 100);
  EXPECT_EQ(g.A, 30);
  EXPECT_EQ(g.Y.c, g.Y.lo);

  // Non-positive: X axis at the top, the Y axis still runs down to H - 90.
  auto uj = Painter([](int j) { return j * 0.25L; }, [](int j) { return -Sinus(j); });
  g = uj->Geometria();
  EXPECT_EQ(g.Y.przypadek, 'C');
  EXPECT_EQ(g.Y0, 30);
  EXPECT_EQ(g.yb, H - 90);
  EXPECT_EQ(g.Y.c, g.Y.hi);
  EXPECT_EQ(g.Y.r, 0);
  EXPECT_EQ(g.Y.s, 4);

  // Both signs with ticks below zero: the X axis through zero, Y axis to H - 90.
  auto oba = Painter([](int j) { return j * 0.25L; }, [](int j) { return -20 + j * 0.5L; });
  g = oba->Geometria();
  EXPECT_EQ(g.Y.przypadek, 'A');
  EXPECT_EQ(g.Y.r, 3);
  EXPECT_EQ(g.Y.s, 1);
  EXPECT_EQ(g.Y.proba, 0);
  EXPECT_EQ(g.Y.lo, -20);  // -25 rounded with the half to even
  EXPECT_EQ(g.Y.hi, 80);
  EXPECT_EQ(g.Y.step, 25);
  EXPECT_EQ(g.Y.c, 0);
  EXPECT_EQ(g.Y0, 247);  // 301 - 0.2 * 271
  EXPECT_EQ(g.yb, H - 90);

  // Both signs but the negative part within a tenth: no ticks below zero.
  auto malo = Painter([](int j) { return j * 0.25L; }, [](int j) { return -1 + j * 0.25L; });
  g = malo->Geometria();
  EXPECT_EQ(g.Y.przypadek, 'A');
  EXPECT_EQ(g.Y.s, 0);
  EXPECT_EQ(g.yb, H - 100);
}

TEST(Dopasowanie, MixedSignXMarginsDependOnTicksBelowZero) {
  // The negative part is within a tenth of the span: margin 60, Y axis right of it.
  auto w = Painter([](int j) { return -2 + j * 0.25L; }, Sinus);
  TGeometriaWykresu g = w->Geometria();
  EXPECT_EQ(g.X.przypadek, 'A');
  EXPECT_EQ(g.X.s, 0);
  EXPECT_EQ(g.C, 60);
  EXPECT_EQ(g.p, 60);
  EXPECT_EQ(g.X.amin, -2);
  EXPECT_EQ(g.X.amax, 50);
  EXPECT_EQ(g.X0, 80);  // 60 + 519 * 2 / 52

  // Ticks below zero: the X axis starts at 10 and the range at 30.
  w = Painter([](int j) { return -20 + j * 0.5L; }, Sinus);
  g = w->Geometria();
  EXPECT_EQ(g.X.przypadek, 'A');
  EXPECT_EQ(g.X.s, 1);
  EXPECT_EQ(g.C, 10);
  EXPECT_EQ(g.p, 30);
  EXPECT_EQ(g.X0, static_cast<int>(std::lround(30 + (W - 70 - 30) * 20.0 / 100.0)));

  // Wholly non-positive X: the Y axis at the right end of the range.
  w = Painter([](int j) { return -50 + j * 0.25L; }, Sinus);
  g = w->Geometria();
  EXPECT_EQ(g.X.przypadek, 'C');
  EXPECT_EQ(g.X0, W - 70);
  EXPECT_EQ(g.C, 10);
  EXPECT_EQ(g.p, 30);
  EXPECT_EQ(g.X.hi, 0);
  EXPECT_EQ(g.X.lo, -50);
}

TEST(Dopasowanie, EndsWithinRoundingNoiseOfZeroCountAsZero) {
  // 1e-7 above zero against a span of 50 is taken as zero: one-signed data.
  auto w = Painter([](int j) { return j * 0.25L; }, [](int j) { return j == 0 ? 1e-7L : -j * 0.25L; });
  const TGeometriaWykresu g = w->Geometria();
  EXPECT_EQ(g.Y.max, 0);
  EXPECT_EQ(g.Y.przypadek, 'C');
}

TEST(Dopasowanie, GranularityAndSpanSetTheTicks) {
  auto w = Painter([](int j) { return j * 0.25L; }, Sinus);
  w->FPodzialkaX = 5;
  const TGeometriaWykresu g = w->Geometria();
  EXPECT_EQ(g.X.r, 5);
  EXPECT_EQ(g.X.step, 10);  // ceil(50 / 5) = 10, range 0..50 kept
}

TEST(Dopasowanie, AZeroSpanCannotBeFitted) {
  // A single point, and curves that are one constant.
  auto jeden = Painter([](int) { return 3.0L; }, [](int) { return 2.0L; }, 0);
  EXPECT_THROW(jeden->Geometria(), tk::EZeroDivide);
  auto plaski = Painter([](int j) { return j * 0.25L; }, [](int) { return 5.0L; });
  EXPECT_THROW(plaski->Geometria(), tk::EZeroDivide);
}
