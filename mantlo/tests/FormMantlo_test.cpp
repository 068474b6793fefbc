// The insulated-conductor window: layout, the three charts with the default
// inputs, and the inputs that end a press or change what it draws.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "grid/AlignedGrid.h"
#include "mantlo/UnitChart.h"
#include "mantlo/UnitMantlo.h"
#include "tests/support/ChartRest.h"
#include "tests/support/Contrast.h"
#include "tests/support/FormTest.h"
#include "tests/support/WindowChecks.h"
#include "toolkit/chart/Chart.h"
#include "toolkit/testing/Testing.h"

using mantlo::TForm1;

namespace {

struct Mantlo : testsupport::FormTest<TForm1> {
  Mantlo() : FormTest("Mantlo", "mantlo") {}
  void Wpisz(int row, const std::string& text) { f->AlignedGrid1->SetCells(1, row, text); }
  double Y(int i) const { return f->Series1->YValue(i); }
  double X(int i) const { return f->Series1->XValue(i); }
};

}  // namespace

TEST_F(Mantlo, LayoutAndDefaults) {
  EXPECT_EQ(f->Caption(), "Pole układu - przewód walcowy  izolowany ziemia");
  EXPECT_EQ(f->Width(), 606);
  EXPECT_EQ(f->Height(), 640);
  EXPECT_EQ(f->GroupBox3->Caption(), "Pole układu - przewód walcowy  izolowany ziemia na");
  EXPECT_EQ(f->GroupBox3->Color(), tk::clBlue);
  EXPECT_EQ(f->GroupBox3->Font().Color, tk::clWhite);
  EXPECT_EQ(f->GroupBox3->Font().Height, -12);
  EXPECT_TRUE(f->GroupBox3->Font().Style & tk::fsBold);
  EXPECT_EQ(f->BitBtn10->Caption(), "Powierzchni przewodu ");
  EXPECT_EQ(f->BitBtn12->Caption(), "Powierzchni izolacji");
  EXPECT_EQ(f->BitBtn11->Caption(), "Zadanej wysokości  x=var  y=const");
  EXPECT_EQ(f->BitBtn10->Font().Color, tk::clBlack);
  EXPECT_EQ(f->BitBtn12->Font().Color, tk::clBlack);
  EXPECT_EQ(f->BitBtn11->Font().Color, tk::clRed);
  for (auto* b : {f->BitBtn10, f->BitBtn11, f->BitBtn12}) {
    EXPECT_EQ(b->Font().Height, -12);
    EXPECT_TRUE(b->Font().Style & tk::fsBold);
    EXPECT_EQ(b->Parent(), f->GroupBox3);
  }
  // One below the other: conductor, insulation, height.
  EXPECT_LT(f->BitBtn10->Top(), f->BitBtn12->Top());
  EXPECT_LT(f->BitBtn12->Top(), f->BitBtn11->Top());

  auto* g = f->AlignedGrid1;
  ASSERT_TRUE(testsupport::GridShape(g, 2, 9, 1, 0));
  testsupport::ExpectColWidths(g, {100, 74});
  for (int r = 0; r < 9; ++r) EXPECT_EQ(g->RowHeight(r), 18);
  EXPECT_TRUE(g->Options() & tk::goEditing);
  EXPECT_TRUE(g->Font().Style & tk::fsBold);
  const char* etykiety[9] = {"V [kV]", "h [m]", "Dz [mm]", "Dizol [mm]", "eps", "x1 [m]", "x2 [m]", " y [m]", " N"};
  const char* wartosci[9] = {"100", "6,0", "21,5", "39,0", "2,5", "-5,0", "5,0", "1,0", "100"};
  for (int r = 0; r < 9; ++r) {
    EXPECT_EQ(g->Cells(0, r), etykiety[r]);
    EXPECT_EQ(g->Cells(1, r), wartosci[r]);
  }

  auto* ch = f->Chart1;
  EXPECT_EQ(ch->Align(), tk::alBottom);
  EXPECT_EQ(ch->Height(), 414);
  EXPECT_EQ(ch->Title.Text, std::vector<std::string>{""});
  EXPECT_EQ(ch->LeftAxis.TitleFont.Name, "Arial");
  EXPECT_EQ(ch->LeftAxis.TitleFont.Height, -11);
  EXPECT_EQ(ch->BottomAxis.TitleFont.Height, -11);
  ASSERT_EQ(ch->SeriesCount(), 1);
  EXPECT_EQ(f->Series1->SeriesColor, tk::clRed);
  Png("start");
}

// A clicked cell stays readable, the table focused or not: its text and
// background at least 4.5:1, read from the pixels.
TEST_F(Mantlo, ClickedCellKeepsItsTextReadable) {
  const tk::TRect r = f->AlignedGrid1->CellRect(1, 0);  // V, "100"
  tk::testing::MouseClick(f->AlignedGrid1, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  EXPECT_GE(testsupport::CellTextContrast(f, f->AlignedGrid1, 1, 0), 4.5);
  tk::testing::ClickButton(f->BitBtn10);
  EXPECT_GE(testsupport::CellTextContrast(f, f->AlignedGrid1, 1, 0), 4.5);
}

TEST_F(Mantlo, KeysPressEveryButtonAndTabStopsOnlyWhereTheUserSees) {
  testsupport::ExpectKeysPressButtonsAndTabToWhatShows({f});
}

TEST_F(Mantlo, EveryControlWithinReachOnSmallScreens) { testsupport::ExpectEveryControlWithinReachOnSmallScreens({f}); }

TEST_F(Mantlo, SpareChartWindow) {
  mantlo::TFormChartE e;
  e.AfterConstruction();
  EXPECT_EQ(e.Caption(), " ");
  EXPECT_EQ(e.Chart1->Align(), tk::alClient);
  EXPECT_EQ(e.Chart1->SeriesCount(), 0);
  EXPECT_FALSE(e.Visible());
}

TEST_F(Mantlo, ConductorSurfaceChart) {
  tk::testing::ClickButton(f->BitBtn10);
  ASSERT_TRUE(dialogs.messages.empty());
  auto* ch = f->Chart1;
  EXPECT_EQ(ch->Title.Text, std::vector<std::string>{" Rozkład natężenia pola na powierzchni żyły przewodzącej"});
  EXPECT_EQ(ch->LeftAxis.Title, "En(f) [kV/cm]");
  EXPECT_EQ(ch->BottomAxis.Title, " f [stop]");
  EXPECT_FALSE(ch->LegendVisible);
  EXPECT_EQ(ch->LeftAxis.Increment, 0.001);
  EXPECT_EQ(ch->BottomAxis.Increment, 30);
  EXPECT_EQ(f->Series1->Title, " ");
  ASSERT_EQ(f->Series1->Count(), 101);
  for (int i = 0; i <= 100; i += 5) EXPECT_NEAR(X(i), 3.6 * i, 1e-9);
  EXPECT_EQ(f->Series1->Point(3).color, tk::clBlack);
  for (int i : {0, 50, 100}) EXPECT_NEAR(Y(i), 7.9006, 5e-5) << i;
  EXPECT_NEAR(Y(25), 7.8865, 5e-5);
  EXPECT_NEAR(Y(75), 7.9148, 5e-5);
  // The top is the minimum, the point nearest the earth the maximum.
  for (int i = 0; i <= 100; ++i) {
    EXPECT_GE(Y(i), Y(25) - 1e-12);
    EXPECT_LE(Y(i), Y(75) + 1e-12);
  }
  Png("przewod");
}

TEST_F(Mantlo, InsulationSurfaceChart) {
  f->BitBtn12->Click();
  ASSERT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(f->Chart1->Title.Text, std::vector<std::string>{" Rozkład natężenia pola na powierzchni izolacji"});
  EXPECT_EQ(f->Chart1->LeftAxis.Title, "En(f) [kV/cm]");
  ASSERT_EQ(f->Series1->Count(), 101);
  for (int i : {0, 50, 100}) EXPECT_NEAR(Y(i), 10.8887, 5e-5) << i;
  EXPECT_NEAR(Y(25), 10.8534, 5e-5);
  EXPECT_NEAR(Y(75), 10.9242, 5e-5);
  Png("izolacja");
}

TEST_F(Mantlo, HorizontalLineChart) {
  tk::testing::ClickButton(f->BitBtn11);
  ASSERT_TRUE(dialogs.messages.empty());
  auto* ch = f->Chart1;
  EXPECT_EQ(ch->Title.Text,
            std::vector<std::string>{"  Rozkład natężenia pola przy powierzchni ziemi na wysokości h=1,0 [m]"});
  EXPECT_EQ(ch->LeftAxis.Title, "E(x,h) [kV/m]");
  EXPECT_EQ(ch->BottomAxis.Title, " x [m]");
  EXPECT_FALSE(ch->LegendVisible);
  EXPECT_EQ(ch->LeftAxis.Increment, 0.05);
  EXPECT_EQ(ch->BottomAxis.Increment, 1);
  ASSERT_EQ(f->Series1->Count(), 101);
  EXPECT_NEAR(X(0), -5, 1e-12);
  EXPECT_NEAR(X(50), 0, 1e-12);
  EXPECT_NEAR(X(100), 5, 1e-12);
  EXPECT_NEAR(Y(50), 5.1477, 5e-5);
  EXPECT_NEAR(Y(0), 2.9619, 5e-5);
  EXPECT_NEAR(Y(100), 2.9619, 5e-5);
  for (int i = 0; i <= 100; ++i) EXPECT_NEAR(Y(i), Y(100 - i), 1e-12) << i;
  Png("linia");

  // The title shows row 7 as typed; the value is read with "." as the point.
  Wpisz(7, "1.0");
  f->BitBtn11->Click();
  EXPECT_EQ(ch->Title.Text[0], "  Rozkład natężenia pola przy powierzchni ziemi na wysokości h=1.0 [m]");
  EXPECT_NEAR(Y(50), 5.1477, 5e-5);
}

TEST_F(Mantlo, LineBelowTheEarthIsZero) {
  Wpisz(7, "-0,5");
  f->BitBtn11->Click();
  ASSERT_EQ(f->Series1->Count(), 101);
  for (int i = 0; i <= 100; ++i) EXPECT_EQ(Y(i), 0.0);
}

TEST_F(Mantlo, LineThroughTheConductor) {
  // Along y = h across the conductor in steps of 0.1 mm.
  Wpisz(5, "-0,03");
  Wpisz(6, "0,03");
  Wpisz(7, "6,0");
  Wpisz(8, "600");
  f->BitBtn11->Click();
  ASSERT_EQ(f->Series1->Count(), 601);
  const double rz = 21.5 * 0.0005, ri = 39.0 * 0.0005;
  int wewnatrz = 0, izolacja = 0;
  double ostatniaIzol = 0, pierwszaPowietrze = 0;
  for (int i = 300; i <= 600; ++i) {
    const double x = X(i);
    if (x < rz - 1e-9) {
      EXPECT_EQ(Y(i), 0.0) << x;
      ++wewnatrz;
    } else if (x > rz + 1e-9 && x < ri - 1e-9) {
      EXPECT_GT(Y(i), 0.0) << x;
      ostatniaIzol = Y(i);
      ++izolacja;
    } else if (x > ri + 1e-9 && pierwszaPowietrze == 0) {
      pierwszaPowietrze = Y(i);
    }
  }
  EXPECT_GT(wewnatrz, 100);
  EXPECT_GT(izolacja, 80);
  // One step of 0.1 mm across the insulation's surface: the factor ε = 2.5,
  // less the small fall of the field over the step.
  EXPECT_NEAR(pierwszaPowietrze / ostatniaIzol, 2.5, 0.03);
  Png("przez_przewod");
}

TEST_F(Mantlo, BadPointCountLeavesTheChart) {
  f->BitBtn10->Click();
  const testsupport::ChartState przed = Zapisz();
  Wpisz(8, "abc");
  for (auto* b : {f->BitBtn10, f->BitBtn12, f->BitBtn11}) {
    b->Click();
    Blad("'abc' is not a valid integer value", przed);
  }
  // The count is converted strictly: no trimming, no decimals.
  Wpisz(8, "100 ");
  f->BitBtn11->Click();
  Blad("'100 ' is not a valid integer value", przed);

  Wpisz(8, "0");
  for (auto* b : {f->BitBtn10, f->BitBtn12, f->BitBtn11}) {
    b->Click();
    Blad("Floating point division by zero", przed);
  }
  // 0/0 when the line has no length.
  Wpisz(6, "-5,0");
  f->BitBtn11->Click();
  Blad("Invalid floating point operation", przed);
  Png("blad_n0");
}

// N + 1 points must fit the chart: a larger count is refused before any
// point is computed, with what is wrong, and the chart stays.
TEST_F(Mantlo, PointCountBeyondTheChartIsRefused) {
  f->BitBtn10->Click();
  const testsupport::ChartState przed = Zapisz();
  for (const char* n : {"1000000", "2147483647"}) {
    Wpisz(8, n);
    for (auto* b : {f->BitBtn10, f->BitBtn12, f->BitBtn11}) {
      b->Click();
      Blad("Liczba kroków N musi być mniejsza niż 1000000: wykres mieści najwyżej 1000000 punktów", przed);
    }
  }
}

TEST_F(Mantlo, NegativeCountClearsTheChart) {
  f->BitBtn12->Click();
  ASSERT_EQ(f->Series1->Count(), 101);
  Wpisz(8, "-3");
  f->BitBtn10->Click();
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(f->Series1->Count(), 0);
  EXPECT_EQ(f->Chart1->Title.Text,
            std::vector<std::string>{" Rozkład natężenia pola na powierzchni żyły przewodzącej"});
  f->BitBtn11->Click();
  EXPECT_EQ(f->Series1->Count(), 0);
  EXPECT_EQ(f->Chart1->LeftAxis.Title, "E(x,h) [kV/m]");
}

TEST_F(Mantlo, GeometryFaultsEndThePress) {
  f->BitBtn11->Click();
  const testsupport::ChartState przed = Zapisz();
  Wpisz(1, "0,005");  // h below the conductor's radius
  f->BitBtn10->Click();
  Blad("Invalid floating point operation", przed);
  Wpisz(1, "6,0");
  Wpisz(2, "0");  // no conductor
  f->BitBtn11->Click();
  Blad("Floating point division by zero", przed);
}

// At some widths (279 × 386 first) the chart laid itself out for ever.  The
// fit for Mantlo's labels at every width, without painting: the sweeps of
// Bifilon and Ferrant go through the events.  (The chart keeps its height at
// the window's bottom: only the width reaches it.)
TEST_F(Mantlo, ChartComesToRestAtEverySize) {
  f->BitBtn11->Click();
  ASSERT_TRUE(dialogs.messages.empty());
  testsupport::ExpectChartRestsAtEverySize(f, f->Chart1, 386, false);
}
