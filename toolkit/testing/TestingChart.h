#pragma once
// The reference for a chart's line: the same chart drawn with every point of
// its line, where the product draws only the points the pixel columns show.
#include <memory>

#include "toolkit/chart/Chart.h"

namespace tk::testing {

// The chart as drawn at its size, but with every point of its line handed to
// Qt Charts.  For a chart of one series whose points have one colour (else
// null); the chart shows its own line again afterwards.
std::unique_ptr<TBitmap> RenderWholeLine(TChart& chart);

}  // namespace tk::testing
