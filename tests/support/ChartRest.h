#pragma once
// A chart's axis labels and its plot's size feed each other: more labels
// leave less room, and less room wants fewer labels.  At every size the
// chart must settle on one choice and not lay itself out for ever.
#include <gtest/gtest.h>

#include <string>

#include "toolkit/chart/Chart.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/testing/Testing.h"

namespace testsupport {

// The window is made every width from 100 to 900 pixels, at `height`, or (0)
// as high as it is wide.  Through the events (`painted`), each size lays the
// chart out at most once and then leaves it idle.  Without them, the cheap
// check of the same fit: the chart laid out for each size (as painting
// would) chooses its labels at most once and keeps them.
inline void ExpectChartRestsAtEverySize(tk::TForm* window, tk::TChart* chart, int height, bool painted = true) {
  for (int w = 100; w <= 900; ++w) {
    const int h = height > 0 ? height : w;
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    const unsigned before = chart->LayoutPasses();
    window->SetBounds(window->Left(), window->Top(), w, h);
    if (painted) tk::testing::ProcessEvents();
    else chart->AxisLabels(true);
    const unsigned after = chart->LayoutPasses();
    EXPECT_LE(after - before, 1u);
    if (painted) tk::testing::ProcessEvents();
    else chart->AxisLabels(false);
    EXPECT_EQ(chart->LayoutPasses(), after);
  }
}

}  // namespace testsupport
