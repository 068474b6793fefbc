// The chart's axes without the toolkit: ranges, label steps and label texts.
#include "toolkit/chart/axis/AxisSteps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "toolkit/core/Locale.h"

namespace tk::axis {

namespace {

constexpr double kLabelGap = 8;      // pixels between two labels of the bottom axis
constexpr double kLabelPadding = 4;  // the chart's padding around a label, with some room
// An automatic axis shows about 5 to 10 labels (11 when both ends are round).
constexpr long double kMostAutoLabels = 11;
// Plain decimals up to this many digits in all; beyond, a mantissa and a power of ten.
constexpr int kPlainDigits = 12;

// Decimals needed to write every multiple of the step exactly (at most 12).
// The step must come to a whole number: a step of 1e-7 is not 0 to within
// any tolerance.
int DecimalsOf(long double step) {
  for (int d = 0; d < 12; ++d) {
    const long double scaled = step * std::pow(10.0L, d);
    if (scaled >= 0.5L && std::fabs(scaled - std::round(scaled)) < 1e-6L * scaled) return d;
  }
  return 12;
}

int PowerOfTen(long double x) { return static_cast<int>(std::floor(std::log10(x) + 1e-12L)); }

// How one axis writes its labels: plain decimals, enough for the step, or,
// for values too large or a step too small for that, a mantissa with enough
// digits to tell the multiples of the step apart and a power of ten.
struct LabelStyle {
  bool exponent = false;
  int digits = 0;
};

LabelStyle StyleFor(long double step, long double largest) {
  LabelStyle s;
  const int decimals = DecimalsOf(step);
  const int whole = largest >= 1 ? PowerOfTen(largest) + 1 : 1;
  if (decimals < 12 && whole + decimals <= kPlainDigits) {
    s.digits = decimals;
    return s;
  }
  s.exponent = true;
  const int stepPower = PowerOfTen(step);
  const int topPower = largest > 0 ? PowerOfTen(largest) : stepPower;
  s.digits = std::clamp(topPower - stepPower + DecimalsOf(step / std::pow(10.0L, stepPower)), 0, 17);
  return s;
}

std::string FormatTick(double v, const LabelStyle& style) {
  char buf[400];
  std::string s;
  if (!style.exponent) {
    std::snprintf(buf, sizeof buf, "%.*f", style.digits, v);
    s = buf;
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);  // no "-0"
  } else if (v == 0) {
    s = "0";
  } else {
    std::snprintf(buf, sizeof buf, "%.*e", style.digits, v);
    s = buf;
    const size_t e = s.find('e');
    s = s.substr(0, e) + "e" + std::to_string(std::atoi(s.c_str() + e + 1));  // 2.5e+299 -> 2.5e299
  }
  const size_t dot = s.find('.');
  if (dot != std::string::npos) s[dot] = DecimalSeparator();
  return s;
}

// The multiples of the step within [lo, hi]: the index of the first and how
// many there are.  The ends get a hair of slack (a billionth of the span), so
// that an end that misses a multiple only by rounding (980.0000000001) still
// shows it.
long double CountMultiples(long double step, double lo, double hi, long double& first) {
  const long double slack = (static_cast<long double>(hi) - lo) * 1e-9L;
  first = std::ceil((lo - slack) / step);
  return std::floor((hi + slack) / step) - first + 1;
}

std::vector<Tick> Multiples(long double step, long double first, long count) {
  std::vector<Tick> out;
  for (long n = 0; n < count; ++n) {
    const long double exact = (first + static_cast<long double>(n)) * step;
    double v = static_cast<double>(exact);
    if (std::fabs(exact) < step * 1e-9L) v = 0;
    // Far from zero the multiples may be closer than the doubles: skip those
    // that do not move.
    if (!out.empty() && v <= out.back().value) continue;
    out.push_back({v, std::string()});
  }
  if (out.empty()) return out;
  const LabelStyle style = StyleFor(step, std::max(std::fabs(out.front().value), std::fabs(out.back().value)));
  for (Tick& t : out) t.label = FormatTick(t.value, style);
  return out;
}

// Whether the labels, placed along an axis of `length` pixels, keep clear of
// each other.
bool Fits(const std::vector<Tick>& ticks, double lo, double hi, double length, bool horizontal, const LabelMetrics& m) {
  if (ticks.size() < 2) return true;
  // Qt Charts gives each label an equal share of the axis and cuts a label
  // that does not fit its share.
  const double share = length / static_cast<double>(ticks.size() + 1) - 2 * kLabelPadding;
  for (const Tick& t : ticks)
    if ((horizontal ? m.width(t.label) : m.height + 2) > share) return false;
  // In extended precision: the span of two huge ends of opposite sign is
  // beyond the doubles.
  const long double scale = length / (static_cast<long double>(hi) - lo);
  long double prevPos = 0, prevHalf = 0;
  for (size_t i = 0; i < ticks.size(); ++i) {
    const long double pos = (static_cast<long double>(ticks[i].value) - lo) * scale;
    const long double half = horizontal ? m.width(ticks[i].label) / 2 + kLabelGap / 2 : m.height * 0.75;
    if (i > 0 && pos - prevPos < prevHalf + half) return false;
    prevPos = pos;
    prevHalf = half;
  }
  return true;
}

// Numeric ticks.  A fixed increment gives its multiples, every 2nd, 5th,
// 10th... one when their labels would overlap; an automatic axis (or an
// increment with fewer than two multiples in range) takes the finest step of 1, 2, 2.5 or
// 5 x 10^k that gives at most about ten labels, all clear of each other.
// When no two labels fit, one stays.
}  // namespace

std::vector<Tick> NumericTicks(double lo, double hi, double increment, double length, bool horizontal,
                               const LabelMetrics& m) {
  std::vector<Tick> lone;
  // 1: found; 0: try a coarser step; -1: fewer multiples in range than asked.
  auto attempt = [&](long double step, long double most, long double least, std::vector<Tick>& out) {
    long double first;
    const long double count = CountMultiples(step, lo, hi, first);
    if (count > most) return 0;
    if (count < least) return -1;
    std::vector<Tick> t = Multiples(step, first, static_cast<long>(count));
    if (t.empty()) return 0;
    if (Fits(t, lo, hi, length, horizontal, m)) {
      out = std::move(t);
      return 1;
    }
    if (lone.empty()) lone.push_back(t[t.size() / 2]);
    return 0;
  };
  std::vector<Tick> out;
  if (increment > 0 && std::isfinite(increment)) {
    const long double most = std::max(2.0, length / 4);
    int r = 0;
    for (int power = 0; power < 16 && r == 0; ++power)
      for (long double f : {1.0L, 2.0L, 5.0L})
        if ((r = attempt(increment * f * std::pow(10.0L, power), most, 2, out)) != 0) break;
    if (r > 0) return out;
  }
  const long double span = static_cast<long double>(hi) - lo;
  const long double most = std::min(kMostAutoLabels, static_cast<long double>(std::max(2.0, length / 4)));
  const int start = PowerOfTen(span / kMostAutoLabels);
  for (int power = start; power < start + 4; ++power)
    for (long double f : {1.0L, 2.0L, 2.5L, 5.0L}) {
      const int r = attempt(f * std::pow(10.0L, power), most, 1, out);
      if (r > 0) return out;
      if (r < 0) return lone;
    }
  return lone;
}

std::vector<Tick> EveryKthLabel(const std::vector<Tick>& labels, double lo, double hi, double length,
                                const LabelMetrics& m) {
  std::vector<Tick> all;
  for (const Tick& t : labels)
    if (t.value >= lo && t.value <= hi) all.push_back(t);
  for (size_t stride = 1; stride <= std::max<size_t>(all.size(), 1); ++stride) {
    std::vector<Tick> t;
    for (size_t i = 0; i < all.size(); i += stride) t.push_back(all[i]);
    if (Fits(t, lo, hi, length, true, m)) return t;
  }
  return {};
}

// A span of a few thousand units in the last place of the data's largest
// value is rounding noise (a potential that should be 0 and comes out
// ±1e-17 beside values of 100), not a variation worth a scale of its own.
constexpr long double kNoise = 0x1p-42L;

void Range(const Ends& ends, bool any, double dataLo, double dataHi, double magnitude, double& lo, double& hi) {
  lo = ends.automaticMinimum ? (any ? dataLo : 0) : ends.minimum;
  hi = ends.automaticMaximum ? (any ? dataHi : lo + 1) : ends.maximum;
  const long double largest = std::max({static_cast<long double>(magnitude), std::fabs(static_cast<long double>(lo)),
                                        std::fabs(static_cast<long double>(hi))});
  if (hi > lo && static_cast<long double>(hi) - lo > kNoise * largest) return;
  const bool both = ends.automaticMinimum && ends.automaticMaximum;
  const bool keepHi = ends.automaticMinimum && !ends.automaticMaximum;
  const long double value = both && hi > lo ? (static_cast<long double>(lo) + hi) / 2 : keepHi ? hi : lo;
  long double span = std::max(std::fabs(value), value == 0 ? largest : 0.0L) * 0.1L;
  if (!(span >= 1e-300L)) span = 1;
  long double newLo = value, newHi = value;
  if (both) {
    newLo = value - span / 2;
    newHi = value + span / 2;
  } else if (keepHi) {
    newLo = value - span;
  } else {
    newHi = value + span;
  }
  // Within the doubles: at their very end the range goes the other way.
  constexpr long double top = std::numeric_limits<double>::max();
  if (newHi > top) newLo = (newHi = top) - span;
  if (newLo < -top) newHi = (newLo = -top) + span;
  lo = static_cast<double>(newLo);
  hi = static_cast<double>(newHi);
}

}  // namespace tk::axis
