// A chart never holds a point that is not a number: an extended value beyond
// the double range, which becomes an infinity on its way to the chart, ends
// the handler with the overflow error, and the points added before it stay.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "toolkit/chart/Chart.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/MessageBox.h"
#include "toolkit/testing/Testing.h"

namespace {

struct ChartValues : ::testing::Test {
  static void SetUpTestSuite() {
    tk::EnsureWindowing();
    tk::SetApplicationTitle("Test");
  }
  tk::TForm form;
  tk::TChart* chart = new tk::TChart(&form);
  tk::TChartSeries* series = chart->AddSeries();
  tk::testing::RecordingDialogs dialogs;
};

TEST_F(ChartValues, ValueBeyondTheDoubleRangeIsAnOverflow) {
  volatile long double big = 1e4000L;
  const bool ok = tk::Dispatch([&] {
    series->AddXY(0, 1.5);
    series->Add(static_cast<double>(big * 2));  // the conversion raises the overflow flag
  });
  EXPECT_FALSE(ok);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Floating point overflow");
  ASSERT_EQ(series->Count(), 1);
  EXPECT_EQ(series->YValue(0), 1.5);
  EXPECT_FALSE(tk::FpFaultPending());
}

TEST_F(ChartValues, InfinityOrNaNWithoutAPendingFlag) {
  tk::FpClear();
  EXPECT_THROW(series->AddXY(std::numeric_limits<double>::infinity(), 1), tk::EOverflow);
  EXPECT_THROW(series->AddXY(1, -std::numeric_limits<double>::infinity()), tk::EOverflow);
  EXPECT_THROW(series->Add(std::numeric_limits<double>::quiet_NaN()), tk::EInvalidOp);
  EXPECT_EQ(series->Count(), 0);
  // The largest and the smallest doubles are numbers like any other.
  series->AddXY(-std::numeric_limits<double>::max(), std::numeric_limits<double>::max());
  series->AddXY(std::numeric_limits<double>::denorm_min(), 0);
  EXPECT_EQ(series->Count(), 2);
  chart->SetBounds(0, 0, 400, 300);
  EXPECT_NE(chart->Render(), nullptr);
}

// A point count typed by mistake ends with the out-of-memory error at the
// series' capacity instead of filling the memory for minutes.
TEST_F(ChartValues, SeriesStopsAtItsCapacity) {
  const bool ok = tk::Dispatch([&] {
    for (int64_t i = 0; i <= 2147483647LL; ++i) series->AddXY(static_cast<double>(i), 1.0);
  });
  EXPECT_FALSE(ok);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Out of memory");
  EXPECT_EQ(static_cast<size_t>(series->Count()), tk::TChartSeries::kMaxPoints);
  series->Clear();
  series->AddXY(0, 0);
  EXPECT_EQ(series->Count(), 1);
}

}  // namespace
