// The cable window's chart comes to rest at every width: its axis labels and
// the plot's size feed each other, and it must not lay itself out for ever.
#include <gtest/gtest.h>

#include <string>

#include "bifilon/UnitBifilon.h"
#include "tests/support/ChartRest.h"
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
  testsupport::ExpectChartRestsAtEverySize(&f, f.Chart1, 716);
  tk::SetDecimalSeparator('\0');
}

}  // namespace
