// The cable window's chart comes to rest at every width: its axis labels and
// the plot's size feed each other, and it must not lay itself out for ever.
#include <gtest/gtest.h>

#include <string>

#include "bifilon/UnitBifilon.h"
#include "toolkit/chart/Chart.h"
#include "toolkit/core/Locale.h"
#include "toolkit/testing/Testing.h"

namespace {

// The field chart, with the longer labels; at every width the events run out
// after at most one new choice of labels.  (The chart keeps its height at the window's bottom: only the
// width reaches it.)
TEST(BifilonChartSize, ChartComesToRestAtEveryWidth) {
  tk::EnsureWindowing();
  tk::SetDecimalSeparator(',');
  tk::testing::RecordingDialogs dialogs;
  bifilon::TFormBifilon f;
  f.AfterConstruction();
  f.Show();
  f.BitBtn2->Click();
  ASSERT_TRUE(dialogs.messages.empty());
  for (int w = 100; w <= 900; ++w) {
    SCOPED_TRACE(w);
    const unsigned przed = f.Chart1->LayoutPasses();
    f.SetBounds(0, 0, w, 716);
    tk::testing::ProcessEvents();
    const unsigned po = f.Chart1->LayoutPasses();
    EXPECT_LE(po - przed, 1u);
    tk::testing::ProcessEvents();
    EXPECT_EQ(f.Chart1->LayoutPasses(), po);
  }
  tk::SetDecimalSeparator('\0');
}

}  // namespace
