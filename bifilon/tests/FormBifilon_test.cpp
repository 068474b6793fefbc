// The cable window: its layout, the three presses with the default cable and
// with changed inputs, both decimal separators, and the run-time errors that
// end a press before the chart or the table is touched.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "bifilon/UnitBifilon.h"
#include "grid/AlignedGrid.h"
#include "tests/support/Contrast.h"
#include "tests/support/FormTest.h"
#include "tests/support/WindowChecks.h"
#include "toolkit/chart/Chart.h"

using bifilon::TFormBifilon;

namespace {

struct Bifilon : testsupport::FormTest<TFormBifilon> {
  Bifilon() : FormTest("Bifilon", "bifilon") {}
  void Wpisz(int row, const std::string& text) { f->TabelaDanych->SetCells(1, row, text); }
  std::string C(int i, int j) const { return f->TabelaPojemnosci->Cells(j, i); }
  // A series' y at the angle in degrees.
  static double Y(const tk::TChartSeries* s, int deg) { return s->YValue(deg); }
};

}  // namespace

TEST_F(Bifilon, LayoutAndDefaults) {
  EXPECT_EQ(f->Caption(), " Analiza pola elektrycznego kabla dwużyłowego");
  EXPECT_EQ(f->Width(), 820);
  EXPECT_EQ(f->Height(), 716);

  auto* g = f->TabelaDanych;
  ASSERT_TRUE(testsupport::GridShape(g, 2, 8, 1, 0));
  testsupport::ExpectColWidths(g, {290, 290});
  for (int r = 0; r < 8; ++r) EXPECT_EQ(g->RowHeight(r), r == 2 ? 25 : 24) << r;
  EXPECT_TRUE(g->Options() & tk::goEditing);
  EXPECT_TRUE(g->Font().Style & tk::fsBold);
  const char* etykiety[8] = {"Promień ekranu w [mm]",
                             "Promień przewodów w [mm]",
                             "Odległość pomiędzy przewodami w [mm]",
                             "Przenikalność względna izolacji",
                             "Długość kabla w [m]",
                             "Potencjał żyły 1 [V]",
                             "Potencjał żyły 2 [V]",
                             "Potencjał ekranu [V]"};
  const char* wartosci[8] = {"56,0", "8,0", "15,0", "1", "1", "100,0", "100,0", "0"};
  for (int r = 0; r < 8; ++r) {
    EXPECT_EQ(g->Cells(0, r), etykiety[r]);
    EXPECT_EQ(g->Cells(1, r), wartosci[r]);
  }

  auto* t = f->TabelaPojemnosci;
  ASSERT_TRUE(testsupport::GridShape(t, 3, 3, 1, 1));
  testsupport::ExpectColWidths(t, {90, 84, 90});
  EXPECT_FALSE(t->Options() & tk::goEditing);
  testsupport::ExpectCells(t, {{0, 0, "C[i,j] [pF]"}, {1, 0, "1"}, {2, 0, "2"}, {0, 1, "1"}, {0, 2, "2"}, {1, 1, ""}});

  EXPECT_EQ(f->GroupBox1->Caption(), "Dane kabla dwużyłowego");
  EXPECT_EQ(f->GroupBox2->Caption(), "Warianty obliczeń");
  EXPECT_EQ(f->GroupBox3->Caption(), "Cząstkowe pojemności kabla dwużyłowego");
  for (auto* gb : {f->GroupBox1, f->GroupBox2, f->GroupBox3}) {
    EXPECT_EQ(gb->Color(), tk::clAqua);
    EXPECT_TRUE(gb->Font().Style & tk::fsBold);
  }
  EXPECT_EQ(f->BitBtn1->Caption(), "Ekwipotencjalność powierzchni");
  EXPECT_EQ(f->BitBtn2->Caption(), "Natężenie pola elektrycznego na powierchni prewodów");
  EXPECT_EQ(f->BitBtn3->Caption(), "Pojemności cząstkowe");

  auto* ch = f->Chart1;
  EXPECT_EQ(ch->Align(), tk::alBottom);
  EXPECT_EQ(ch->Height(), 459);
  EXPECT_EQ(ch->Title.Text, std::vector<std::string>{""});
  EXPECT_EQ(ch->Title.Font.Name, "Arial");
  EXPECT_EQ(ch->Title.Font.Height, -15);
  EXPECT_EQ(ch->Title.Font.Color, tk::clBlue);
  EXPECT_EQ(ch->LeftAxis.TitleFont.Height, -13);
  EXPECT_EQ(ch->BottomAxis.TitleFont.Color, tk::clBlack);
  EXPECT_FALSE(ch->LeftAxis.AutomaticMinimum);
  EXPECT_EQ(ch->LeftAxis.Minimum, 0.0);
  EXPECT_TRUE(ch->LeftAxis.AutomaticMaximum);
  EXPECT_TRUE(ch->LegendVisible);
  ASSERT_EQ(ch->SeriesCount(), 3);
  EXPECT_EQ(f->Series1->SeriesColor, tk::clRed);
  EXPECT_EQ(f->Series2->SeriesColor, tk::clGreen);
  EXPECT_EQ(f->Series3->SeriesColor, tk::clNavy);
  EXPECT_EQ(f->Series1->Count(), 0);
  ASSERT_NE(f->Model.P, nullptr);  // made by FormCreate
  Png("start");
}

TEST_F(Bifilon, KeysPressEveryButtonAndTabStopsOnlyWhereTheUserSees) {
  testsupport::ExpectKeysPressButtonsAndTabToWhatShows({f});
}

TEST_F(Bifilon, EveryControlWithinReachOnSmallScreens) {
  testsupport::ExpectEveryControlWithinReachOnSmallScreens({f});
}

TEST_F(Bifilon, CapacitanceTableInBothLocales) {
  tk::testing::ClickButton(f->BitBtn3);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(C(1, 1), "28,545");
  EXPECT_EQ(C(2, 2), "28,545");
  EXPECT_EQ(C(1, 2), "-6,408");
  EXPECT_EQ(C(2, 1), "-6,408");
  Png("pojemnosci");

  // With a point separator the comma defaults do not convert; typed with
  // points they do, and the table is written with points.
  tk::SetDecimalSeparator('.');
  const char* kropki[7] = {"56.0", "8.0", "15.0", "1", "1", "100.0", "100.0"};
  for (int r = 0; r < 7; ++r) Wpisz(r, kropki[r]);
  f->BitBtn3->Click();
  EXPECT_EQ(C(1, 1), "28.545");
  EXPECT_EQ(C(2, 1), "-6.408");
}

// A clicked cell of either table stays readable, the table focused or not:
// its text and background at least 4.5:1, read from the pixels.
TEST_F(Bifilon, ClickedCellsKeepTheirTextReadable) {
  tk::testing::ClickButton(f->BitBtn3);
  for (grid::TAlignedGrid* g : {f->TabelaDanych, f->TabelaPojemnosci}) {
    const tk::TRect r = g->CellRect(1, 1);  // the input h, and C[1,1]
    tk::testing::MouseClick(g, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  for (grid::TAlignedGrid* g : {f->TabelaDanych, f->TabelaPojemnosci})
    EXPECT_GE(testsupport::CellTextContrast(f, g, 1, 1), 4.5) << g->Name;
}

TEST_F(Bifilon, PermittivityAndLengthScaleTheTable) {
  Wpisz(3, "2");
  f->BitBtn3->Click();
  EXPECT_EQ(C(1, 1), "57,090");
  EXPECT_EQ(C(1, 2), "-12,817");
  Wpisz(3, "1");
  Wpisz(4, "2");
  f->BitBtn3->Click();
  EXPECT_EQ(C(2, 2), "57,090");
  EXPECT_EQ(C(2, 1), "-12,817");
  // The potentials do not enter the capacitances.
  Wpisz(5, "abc");
  f->BitBtn3->Click();
  EXPECT_EQ(C(2, 2), "57,090");
}

TEST_F(Bifilon, PotentialChart) {
  f->BitBtn1->Click();
  ASSERT_TRUE(dialogs.messages.empty());
  auto* ch = f->Chart1;
  EXPECT_EQ(ch->Title.Text, (std::vector<std::string>{"Ekwipotencjalność powierzchni przewodów ",
                                                      " V(x,y) dla (x,y) leżących na powierzchni przewodów"}));
  EXPECT_EQ(ch->LeftAxis.Title, "Potencjał na powierzchni przewodów [V]");
  EXPECT_EQ(ch->BottomAxis.Title, "Kąt położenia punktu na powierzchni przewodu [stop]");
  EXPECT_EQ(f->Series1->Title, "V przewód 1");
  EXPECT_EQ(f->Series2->Title, "V przewód 2");
  EXPECT_EQ(f->Series3->Title, "V ekran");
  for (auto* s : {f->Series1, f->Series2, f->Series3}) {
    ASSERT_EQ(s->Count(), 361);
    for (int j = 0; j <= 360; j += 45) EXPECT_NEAR(s->XValue(j), j, 1e-12);
    EXPECT_EQ(s->Point(10).color, s->SeriesColor);
  }
  const int katy[5] = {0, 90, 180, 270, 360};
  const double przewod1[5] = {104.245, 97.987, 100, 97.987, 104.245};
  for (int k = 0; k < 5; ++k) {
    EXPECT_NEAR(Y(f->Series1, katy[k]), przewod1[k], 5e-4) << katy[k];
    EXPECT_NEAR(Y(f->Series2, katy[k]), przewod1[(k + 2) % 4], 5e-4) << katy[k];
  }
  EXPECT_NEAR(Y(f->Series1, 180), 100.0, 1e-12);  // the matching point
  EXPECT_NEAR(Y(f->Series2, 0), 100.0, 1e-12);
  for (int j = 0; j <= 360; ++j) EXPECT_NEAR(Y(f->Series3, j), 0.0, 1e-12) << j;
  Png("potencjal");
}

TEST_F(Bifilon, FieldChart) {
  tk::testing::ClickButton(f->BitBtn2);
  ASSERT_TRUE(dialogs.messages.empty());
  auto* ch = f->Chart1;
  EXPECT_EQ(ch->Title.Text, (std::vector<std::string>{"Natężenie pola elektrycznego na powierzchni przewodów ",
                                                      " moduł E(x,y) dla (x,y) leżących na powierzchni przewodów"}));
  EXPECT_EQ(ch->LeftAxis.Title, "Natężenie pola elektrycznego na powierzchni przewodów E[kV/m]");
  EXPECT_EQ(f->Series1->Title, "E przewód 1");
  EXPECT_EQ(f->Series2->Title, "E przewód 2");
  EXPECT_EQ(f->Series3->Title, "E ekran");
  const double p1[4] = {2.4217, 5.0582, 7.3511, 5.0582};  // 0°, 90°, 180°, 270°
  const double ekran[4] = {1.6998, 1.1914, 1.6998, 1.1914};
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(Y(f->Series1, 90 * k), p1[k], 5e-5) << 90 * k;
    EXPECT_NEAR(Y(f->Series2, 90 * k), p1[(k + 2) % 4], 5e-5) << 90 * k;
    EXPECT_NEAR(Y(f->Series3, 90 * k), ekran[k], 5e-5) << 90 * k;
  }
  for (auto* s : {f->Series1, f->Series2, f->Series3}) EXPECT_EQ(s->Count(), 361);
  Png("natezenie");

  // A second press replaces the curves, it does not add to them.
  f->BitBtn1->Click();
  f->BitBtn2->Click();
  EXPECT_EQ(f->Series1->Count(), 361);
}

TEST_F(Bifilon, ZeroPotentialsGiveZeroCurves) {
  Wpisz(5, "0");
  Wpisz(6, "0");
  for (auto* b : {f->BitBtn1, f->BitBtn2}) {
    b->Click();
    for (auto* s : {f->Series1, f->Series2, f->Series3}) {
      ASSERT_EQ(s->Count(), 361);
      for (int j = 0; j <= 360; ++j) EXPECT_EQ(s->YValue(j), 0.0);
    }
  }
}

TEST_F(Bifilon, UnconvertedTextCountsAsZero) {
  // Core 1 at "abc" (0 V), core 2 at 100 V: each matching point holds its own value.
  Wpisz(5, "abc");
  f->BitBtn1->Click();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_NEAR(Y(f->Series1, 180), 0.0, 1e-12);
  EXPECT_NEAR(Y(f->Series2, 0), 100.0, 1e-12);
  // The screen potential row takes no part.
  Wpisz(7, "50");
  f->BitBtn1->Click();
  EXPECT_NEAR(Y(f->Series3, 45), 0.0, 1e-12);
}

TEST_F(Bifilon, ArithmeticErrorsLeaveChartAndTable) {
  f->BitBtn1->Click();
  f->BitBtn3->Click();
  const testsupport::ChartState przed = Zapisz();
  const std::string c11 = C(1, 1);

  // c < R: no real line-charge position.
  Wpisz(2, "30,0");
  for (auto* b : {f->BitBtn1, f->BitBtn2, f->BitBtn3}) {
    dialogs.Clear();
    b->Click();
    Blad("Invalid floating point operation", przed);
    EXPECT_EQ(C(1, 1), c11);
  }
  Png("blad_d30");

  // d = 0.
  Wpisz(2, "0");
  f->BitBtn2->Click();
  Blad("Floating point division by zero", przed);

  // And the window works again with sound input.
  Wpisz(2, "15,0");
  f->BitBtn3->Click();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(C(1, 1), "28,545");
}

TEST_F(Bifilon, SingularCoefficientsShowTheInversionMessageAndGoOn) {
  // With d = −r0 both matching ratios are the same expression: P[1,1] = P[1,2]
  // exactly, and the inversion stops at its second step.
  f->BitBtn1->Click();  // charges of the default cable
  const double v180 = Y(f->Series1, 180);
  const long double q1 = f->Model.q1;
  Wpisz(2, "-8,0");
  f->BitBtn3->Click();
  Blad("Warunek przerwania poszukiwania elementu głównego metody eliminacji Gaussa w procedurze OdwMac1",
       "Błędy w module Algelin4");
  // The table shows P as the inversion left it after its first step:
  // [[1/p, 1], [−1, 0]] times 2000/36.
  EXPECT_EQ(C(1, 2), "55,556");
  EXPECT_EQ(C(2, 1), "-55,556");
  EXPECT_EQ(C(2, 2), "0,000");
  // The charges of the last successful inversion stay and the chart is drawn with them.
  EXPECT_EQ(f->Model.q1, q1);
  f->BitBtn1->Click();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].caption, "Błędy w module Algelin4");
  ASSERT_EQ(f->Series1->Count(), 361);
  EXPECT_NE(Y(f->Series1, 180), v180);  // new geometry, old charges
  Png("blad_odwracania");
}

TEST_F(Bifilon, ClosingTheWindowFreesTheMatrix) {
  ASSERT_NE(f->Model.P, nullptr);
  f->Close();
  EXPECT_EQ(f->Model.P, nullptr);
}
