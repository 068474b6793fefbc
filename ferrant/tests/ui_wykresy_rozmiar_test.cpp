// The two chart windows of the tube come to rest at every size: their axis
// labels and the plot's size feed each other, and a chart must not lay itself
// out for ever.
#include "ui_pomoc.h"

namespace ferrant::uitest {
namespace {

// At every width and every height (together, from 100 × 100 to 900 × 900
// pixels) the events run out after at most one new choice of labels (the
// loss chart recomputes itself on each resize as well).
void SpoczywaPrzyKazdymRozmiarze(tk::TForm* okno, tk::TChart* wykres) {
  auto rozmiar = [&](int w, int h) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    const unsigned przed = wykres->LayoutPasses();
    okno->SetBounds(okno->Left(), okno->Top(), w, h);
    tk::testing::ProcessEvents();
    const unsigned po = wykres->LayoutPasses();
    EXPECT_LE(po - przed, 1u);
    tk::testing::ProcessEvents();
    EXPECT_EQ(wykres->LayoutPasses(), po);
  };
  for (int d = 100; d <= 900; ++d) rozmiar(d, d);
}

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
  SpoczywaPrzyKazdymRozmiarze(FormWykChart, FormWykChart->Chart1);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(WykresyRozmiar, ProfileChartComesToRestAtEverySize) {
  Form3->BitBtn8Click(Form3->BitBtn8);
  ASSERT_TRUE(FormWykChart2->Visible());
  SpoczywaPrzyKazdymRozmiarze(FormWykChart2, FormWykChart2->Chart1);
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace ferrant::uitest
