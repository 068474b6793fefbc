// The chart's axes without a window: more room never gives fewer labels and
// the labels keep clear of each other (the chart's layout comes to rest on
// that), and a span that is only rounding noise is drawn as a constant.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "toolkit/chart/axis/AxisSteps.h"
#include "toolkit/core/Locale.h"

namespace {

using tk::axis::Tick;

tk::axis::LabelMetrics SixPixelsACharacter() {
  tk::axis::LabelMetrics m;
  m.width = [](const std::string& s) { return 6.0 * static_cast<double>(s.size()); };
  m.height = 13;
  return m;
}

TEST(AxisSteps, MoreRoomNeverFewerLabelsAndTheyKeepClear) {
  struct Axis {
    double lo, hi, increment;
  };
  const Axis axes[] = {
      {-5, 5, 1},     {0, 360, 30},        {7.8865, 7.9148, 0.001}, {2.96, 5.15, 0.05},    {0, 40, 1},
      {980, 1000, 0}, {0, 1.04e-13, 0.05}, {-1e300, 1e300, 0},      {2.9e-15, 5.1e-15, 0}, {123456789, 987654321, 0},
      {0.1, 0.9, 1}};
  const tk::axis::LabelMetrics m = SixPixelsACharacter();
  tk::SetDecimalSeparator(',');
  for (const Axis& a : axes)
    for (bool horizontal : {true, false}) {
      SCOPED_TRACE(std::to_string(a.lo) + " .. " + std::to_string(a.hi) + (horizontal ? " bottom" : " left"));
      size_t before = 0;
      for (int length = 20; length <= 900; ++length) {
        const std::vector<Tick> t = tk::axis::NumericTicks(a.lo, a.hi, a.increment, length, horizontal, m);
        ASSERT_FALSE(t.empty()) << length;
        EXPECT_GE(t.size(), before) << length;
        before = t.size();
        for (size_t i = 1; i < t.size(); ++i) {
          const long double at = (static_cast<long double>(t[i].value) - t[i - 1].value) * length /
                                 (static_cast<long double>(a.hi) - a.lo);
          const double need = horizontal ? (m.width(t[i].label) + m.width(t[i - 1].label)) / 2 : m.height;
          ASSERT_GE(at, need) << length << ": " << t[i - 1].label << " and " << t[i].label;
        }
      }
      EXPECT_GE(before, 5u);
    }
  tk::SetDecimalSeparator('\0');
}

TEST(AxisSteps, NoiseAndConstantsGetARangeAtTheirValue) {
  const tk::axis::Ends automatic, fromZero{false, true, 0, 0};
  double lo, hi;
  // Seeded values of every size, constant or with a few units in the last
  // place of noise: a range of a tenth of the value around it.
  unsigned seed = 17;
  for (int n = 0; n < 2000; ++n) {
    seed = seed * 1103515245u + 12345u;
    const double v = std::ldexp((seed >> 8) % 1000 + 1.0, static_cast<int>(seed % 1200) - 600) * (n % 2 ? 1 : -1);
    const double noisy = v + v * 1e-15 * (n % 7);
    SCOPED_TRACE(v);
    tk::axis::Range(automatic, true, std::min(v, noisy), std::max(v, noisy), std::fabs(v), lo, hi);
    EXPECT_LT(lo, std::min(v, noisy));
    EXPECT_GT(hi, std::max(v, noisy));
    EXPECT_NEAR((hi - lo) / std::fabs(v), 0.1, 1e-6);
    // A true variation keeps the data's range.
    const double far = v * (1 + 1e-9);
    tk::axis::Range(automatic, true, std::min(v, far), std::max(v, far), std::fabs(far), lo, hi);
    EXPECT_EQ(lo, std::min(v, far));
    EXPECT_EQ(hi, std::max(v, far));
  }
  // Bifilon's left axis from 0, when the only values above it are the
  // screen's ±1.3e-17 V beside conductors at -100 V: 0 to a tenth of that.
  tk::axis::Range(fromZero, true, -100, 1.3e-17, 100, lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 10);
  // The same cable at 1e-13 V is no noise: up to its largest value.
  tk::axis::Range(fromZero, true, -1e-13, 1.04e-13, 1.04e-13, lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 1.04e-13);
  // No data at all: 0 to 1.
  tk::axis::Range(automatic, false, 0, 0, 0, lo, hi);
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 1);
}

}  // namespace
