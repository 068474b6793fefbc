// The two chart windows of the tube come to rest at every size: their axis
// labels and the plot's size feed each other, and a chart must not lay itself
// out for ever.
#include "tests/support/ChartRest.h"
#include "ui_pomoc.h"

namespace ferrant::uitest {
namespace {

class WykresyRozmiar : public WykresyRuryTest {
 protected:
  void SetUp() override {
    tk::SetDecimalSeparator(',');
    Form3->ShowForm();
    tk::testing::ProcessEvents();
  }
  tk::testing::RecordingDialogs dialogs;
};

TEST_F(WykresyRozmiar, LossChartComesToRestAtEverySize) {
  Form3->BitBtn6Click(Form3->BitBtn6);
  ASSERT_TRUE(FormWykChart->Visible());
  testsupport::ExpectChartRestsAtEverySize(FormWykChart, FormWykChart->Chart1, 0);  // recomputed on each resize too
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WykresyRozmiar, ProfileChartComesToRestAtEverySize) {
  Form3->BitBtn8Click(Form3->BitBtn8);
  ASSERT_TRUE(FormWykChart2->Visible());
  testsupport::ExpectChartRestsAtEverySize(FormWykChart2, FormWykChart2->Chart1, 0);
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace ferrant::uitest
