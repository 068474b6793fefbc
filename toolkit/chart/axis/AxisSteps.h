#pragma once
// The chart's axes without the toolkit: the range an axis shows for its data
// and its fixed ends, and the labels along it (their values and texts),
// chosen so that they keep clear of each other on an axis of a given length.
#include <functional>
#include <string>
#include <vector>

namespace tk::axis {

struct Tick {
  double value;
  std::string label;  // in the locale's decimal separator
};

// How the labels measure on screen, in pixels.
struct LabelMetrics {
  std::function<double(const std::string&)> width;
  double height = 0;
};

// An axis's ends as the chart sets them.
struct Ends {
  bool automaticMinimum = true;
  bool automaticMaximum = true;
  double minimum = 0;
  double maximum = 0;
};

// The range [lo, hi] an axis shows, lo < hi: the data's range (dataLo ..
// dataHi, `any` false when there is none) within the fixed ends.  Without a
// span, or with one that is only the rounding noise of values as large as
// `magnitude` (the largest modulus of the axis's data), the axis gets a small
// range at the value: around it when both ends are automatic, from it towards
// the automatic end otherwise.
void Range(const Ends& ends, bool any, double dataLo, double dataHi, double magnitude, double& lo, double& hi);

// Labels at the multiples of a step within [lo, hi] along an axis of
// `length` pixels.  A fixed increment gives its multiples, every 2nd, 5th,
// 10th... one when their labels would overlap; an automatic axis (or an
// increment with fewer than two multiples in range) takes the finest step of
// 1, 2, 2.5 or 5 x 10^k that gives at most about ten labels, all clear of
// each other.  When no two labels fit, one stays.  More room never gives
// fewer labels.
std::vector<Tick> NumericTicks(double lo, double hi, double increment, double length, bool horizontal,
                               const LabelMetrics& metrics);

// Of the given labels (ascending values), those within [lo, hi], every k-th
// one for the smallest k that keeps them clear of each other along a
// horizontal axis.
std::vector<Tick> EveryKthLabel(const std::vector<Tick>& labels, double lo, double hi, double length,
                                const LabelMetrics& metrics);

}  // namespace tk::axis
