// The solid-conductor window: results on showing, the buttons, failures, and
// the current-density map.
#include <cmath>

#include "ferrant/PoleWalca.h"
#include "numerics/AlgeZes4.h"
#include "tests/support/TestFiles.h"
#include "tests/support/WindowChecks.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "ui_pomoc.h"

namespace ferrant::uitest {
namespace {

using num::Extended;
using tk::testing::RecordingDialogs;

const std::vector<std::string> kDomyslne = {"1000", "50", " 1.0 ", "55,0", "50", "", "", ""};

class WalecTest : public OknaTest {
 protected:
  void SetUp() override {
    Schowaj(Form2);
    SetColumn(Form2->StringGrid1, 1, kDomyslne);
  }
  static std::string Wiersz(int row) { return Form2->StringGrid1->Cells(1, row); }
  static tk::TColor Piksel(int x, int y) { return Form2->Image2->Bitmap()->Pixel(x, y); }
  // The red level of ring p (radius p / 58 of R) at frequency f with the
  // grid's defaults, from a field object of the test's own.
  static int Poziom(Extended f, int p) {
    TPoleWalca pole(nullptr, 1000, f, 4.0L * 3.14159265358979323846264L * 1e-7L, 55e6L, 0.05L, 200);
    pole.Oblicz();
    const Extended q = num::ModZ(pole.GestoscJ(0.05L));
    return static_cast<int>(std::trunc(num::ModZ(pole.GestoscJ(p * 0.05L / 58)) * 255 / q));
  }
  // Ring p + 1 is the last to paint the pixel (60 + p, 60): its first angle
  // step falls just short of the next column.
  static void SprawdzPierscien(int x, int poziom) {
    const tk::TColor c = Piksel(x, 60);
    EXPECT_EQ(tk::GetGValue(c), 0);
    EXPECT_EQ(tk::GetBValue(c), 0);
    EXPECT_NEAR(tk::GetRValue(c), poziom, 1) << "x " << x;
  }
};

TEST_F(WalecTest, Layout) {
  EXPECT_EQ(Form2->Caption(), "Przewód walcowy z prądem sinusoidalnie zmiennym");
  EXPECT_EQ(Form2->Width(), 711);
  EXPECT_EQ(Form2->Height(), 708);
  tk::TStringGrid* g = Form2->StringGrid1;
  EXPECT_TRUE(testsupport::GridShape(g, 2, 8, 1, 0));
  testsupport::ExpectColWidths(g, {310, 102});
  EXPECT_EQ(g->RowHeight(7), 20);
  EXPECT_EQ(g->ScrollBars(), tk::ssNone);
  EXPECT_TRUE(g->Options() & tk::goEditing);
  EXPECT_EQ(g->Font().Style, unsigned(tk::fsBold));
  testsupport::ExpectCells(g, {{0, 0, "Wartość skuteczna prądu w [A] "},
                               {0, 3, "Konduktywność właściwa[MegaSimens/Metr] "},
                               {0, 6, "Współczynnik naskórkowości Kn"},
                               {0, 7, "Reaktancja jednostkowa w [mikrOm/Metr]"}});
  EXPECT_EQ(Form2->Image1->Width(), 649);
  EXPECT_EQ(Form2->Image1->Height(), 401);
  EXPECT_EQ(Form2->BitBtn4->Caption(), "Wykres Kn(f)");
}

TEST_F(WalecTest, ShowingWritesTheResultsInTheLocalesSeparator) {
  for (char sep : {',', '.'}) {
    Separator s(sep);
    SetColumn(Form2->StringGrid1, 1, kDomyslne);
    Form2->ShowForm();
    tk::testing::ProcessEvents();
    EXPECT_EQ(Wiersz(TForm2::kRezystancja), Liczba("6,65"));
    EXPECT_EQ(Wiersz(TForm2::kKn), Liczba("2,8722"));
    EXPECT_EQ(Wiersz(TForm2::kReaktancja), Liczba("5,98"));
    // Showing it again while open does not recompute.
    Form2->StringGrid1->SetCells(1, TForm2::kPrad, "");
    Form2->ShowForm();
    EXPECT_EQ(Wiersz(TForm2::kRezystancja), Liczba("6,65"));
    Schowaj(Form2);
  }
}

TEST_F(WalecTest, KnButtonLeavesTheResultRowsAlone) {
  Form2->ShowForm();
  tk::testing::ProcessEvents();
  Form2->StringGrid1->SetCells(1, TForm2::kCzestotliwosc, "500");
  tk::testing::ClickButton(Form2->BitBtn4);
  EXPECT_EQ(Wiersz(TForm2::kRezystancja), Liczba("6,65"));
  EXPECT_EQ(Wiersz(TForm2::kKn), Liczba("2,8722"));
  EXPECT_EQ(PoleWalca->f, 2000);
  // The other buttons start from the grid again.
  tk::testing::ClickButton(Form2->BitBtn3);
  EXPECT_NE(Wiersz(TForm2::kRezystancja), Liczba("6,65"));
  EXPECT_EQ(PoleWalca->f, 500);
}

TEST_F(WalecTest, ZeroOrUnreadableInputShowsTheErrorAndKeepsTheRows) {
  Form2->ShowForm();
  tk::testing::ProcessEvents();
  RecordingDialogs dialogs;
  for (const char* zly : {"abc", "0"}) {
    Form2->StringGrid1->SetCells(1, TForm2::kPromien, zly);
    tk::testing::ClickButton(Form2->BitBtn1);
    ASSERT_EQ(dialogs.messages.size(), 1u) << zly;
    EXPECT_EQ(dialogs.messages[0].text, "Floating point division by zero");
    EXPECT_EQ(dialogs.messages[0].caption, "Ferrant");
    EXPECT_EQ(Wiersz(TForm2::kRezystancja), Liczba("6,65"));
    EXPECT_EQ(Wiersz(TForm2::kReaktancja), Liczba("5,98"));
    dialogs.Clear();
  }
  // A zero current fails when R' is evaluated; the map fails before it paints.
  Form2->StringGrid1->SetCells(1, TForm2::kPromien, "50");
  Form2->StringGrid1->SetCells(1, TForm2::kPrad, "0");
  tk::testing::ClickButton(Form2->BitBtn2);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(Wiersz(TForm2::kKn), Liczba("2,8722"));
  dialogs.Clear();
  tk::FpClear();
  EXPECT_THROW(Form2->Image2Click(Form2->Image2), tk::EMathError);  // outside the dispatch: to the caller
  EXPECT_TRUE(dialogs.messages.empty());
  tk::testing::MouseClick(Form2->Image2, 10, 10);
  EXPECT_EQ(dialogs.messages.size(), 1u);
  // The program goes on: the defaults give the default results again.
  dialogs.Clear();
  SetColumn(Form2->StringGrid1, 1, kDomyslne);
  tk::testing::ClickButton(Form2->BitBtn3);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(Wiersz(TForm2::kRezystancja), Liczba("6,65"));
  EXPECT_EQ(Wiersz(TForm2::kKn), Liczba("2,8722"));
  EXPECT_EQ(Wiersz(TForm2::kReaktancja), Liczba("5,98"));
}

TEST_F(WalecTest, MapFromTheLastComputation) {
  Form2->ShowForm();
  tk::testing::ProcessEvents();
  // After showing, the field object holds 50 Hz.
  tk::testing::MouseClick(Form2->Image2, 30, 30);
  ASSERT_NE(Form2->Image2->Bitmap(), nullptr);
  EXPECT_EQ(Form2->Image2->Width(), 120);
  EXPECT_EQ(Form2->Image2->Height(), 120);
  SprawdzPierscien(60, Poziom(50, 1));  // the centre: ring 0, then ring 1 over it
  const int brzeg = tk::GetRValue(Piksel(118, 60));
  EXPECT_TRUE(brzeg == 255 || brzeg == 254) << brzeg;
  EXPECT_EQ(Piksel(60, 2), tk::RGBColor(brzeg, 0, 0));
  EXPECT_EQ(Piksel(3, 3), tk::clWhite);  // a corner, not painted
  EXPECT_EQ(Piksel(0, 0), tk::clBlack);  // the outline of the clearing
  EXPECT_EQ(Piksel(119, 119), tk::clBlack);
  SprawdzPierscien(60 + 29, Poziom(50, 30));

  // "Wykres J(r)" plots at f, 2f and 10f and leaves the field at 10f: the map shows 500 Hz.
  tk::testing::ClickButton(Form2->BitBtn2);
  SprawdzPierscien(60 + 29, Poziom(500, 30));
  EXPECT_GT(std::abs(Poziom(500, 30) - Poziom(50, 30)), 5);
  SprawdzPierscien(60, Poziom(500, 1));
  EXPECT_TRUE(tk::testing::SaveWindowPng(Form2, testsupport::PicturePath("ferrant_walec.png")));
  // Activation keeps the map.
  Form2->FormActivate(Form2);
  SprawdzPierscien(60 + 29, Poziom(500, 30));
}

}  // namespace
}  // namespace ferrant::uitest
