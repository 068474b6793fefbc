// The two-layer conductor window: nothing written on showing, results from
// the buttons and the grid's exit, and the map with its lifted zero level.
#include <cmath>

#include "ferrant/PolePrzeWar.h"
#include "numerics/Typy4.h"
#include "tests/support/TestFiles.h"
#include "ui_pomoc.h"

namespace ferrant::uitest {
namespace {

using num::Extended;
using tk::testing::RecordingDialogs;

const std::vector<std::string> kDomyslne = {"500",    "50",   " 200.0 ", " 1.0 ", " 8.0 ", " 34,8 ",
                                            "15,0  ", "19,0", "",        "",      ""};

class PrzeWarTest : public OknaTest {
 protected:
  void SetUp() override {
    Schowaj(Form4);
    SetColumn(Form4->StringGrid1, 1, kDomyslne);
  }
  static std::string Wiersz(int row) { return Form4->StringGrid1->Cells(1, row); }
  static tk::TColor Piksel(int x, int y) { return Form4->Image2->Bitmap()->Pixel(x, y); }
};

TEST_F(PrzeWarTest, Layout) {
  EXPECT_EQ(Form4->Caption(), "Analiza pola przewodu dwuwarstwowego z prądem sinusoidalnie zmiennym");
  tk::TStringGrid* g = Form4->StringGrid1;
  EXPECT_EQ(g->RowCount(), 11);
  EXPECT_EQ(g->ColWidth(0), 310);
  EXPECT_EQ(g->ColWidth(1), 90);
  EXPECT_EQ(g->RowHeight(0), 22);
  EXPECT_EQ(g->RowHeight(5), 26);
  EXPECT_EQ(g->RowHeight(10), 24);
  EXPECT_EQ(g->Cells(0, 10), "Raktancja wewnętrzna [mikrOm/Metr]");
  EXPECT_EQ(g->Cells(0, 4), "Konduktywność wewnętrzna [MegaSimens/Metr] ");
  EXPECT_EQ(Form4->BitBtn3->Caption(), "Gęstość prądu  Jz(r)");
  EXPECT_EQ(Form4->BitBtn4->Caption(), "Naskórkowość  Kn(f) ");
  EXPECT_EQ(Form4->Image1->Height(), 409);
}

TEST_F(PrzeWarTest, ShowingWritesNothingAButtonWritesTheResults) {
  for (char sep : {',', '.'}) {
    Separator s(sep);
    SetColumn(Form4->StringGrid1, 1, kDomyslne);
    Form4->ShowForm();
    tk::testing::ProcessEvents();
    EXPECT_EQ(Wiersz(TForm4::kRezystancja), "");
    EXPECT_EQ(Wiersz(TForm4::kKn), "");
    EXPECT_EQ(Wiersz(TForm4::kReaktancja), "");
    tk::testing::ClickButton(Form4->BitBtn1);
    EXPECT_EQ(Wiersz(TForm4::kRezystancja), Liczba("64,53"));
    EXPECT_EQ(Wiersz(TForm4::kReaktancja), Liczba("7,20"));
    EXPECT_EQ(Wiersz(TForm4::kKn), Liczba("1,3243"));
    // A later showing keeps them.
    Schowaj(Form4);
    Form4->ShowForm();
    EXPECT_EQ(Wiersz(TForm4::kRezystancja), Liczba("64,53"));
    Schowaj(Form4);
  }
}

// "Naskórkowość  Kn(f) " itself writes no result, but leaving the grid for it
// refreshes them from the edited inputs first.
TEST_F(PrzeWarTest, ExitHandlerRefreshesBeforeTheKnButton) {
  Form4->ShowForm();
  tk::testing::ClickButton(Form4->BitBtn2);
  const std::string R = Wiersz(TForm4::kRezystancja);
  tk::testing::ClickButton(Form4->BitBtn4);
  EXPECT_EQ(Wiersz(TForm4::kRezystancja), R);
  Form4->StringGrid1->SetCurrentCell(1, 7);
  tk::testing::SetFocus(Form4->StringGrid1);
  Form4->StringGrid1->SetCells(1, TForm4::kPromienZ, "25,0");
  tk::testing::ClickButton(Form4->BitBtn4);
  EXPECT_NE(Wiersz(TForm4::kRezystancja), R);
  const std::string poEdycji = Wiersz(TForm4::kRezystancja);
  Form4->Odswiez();
  EXPECT_EQ(Wiersz(TForm4::kRezystancja), poEdycji);
  // Without the focus in the grid, the button leaves the rows alone.
  Form4->StringGrid1->SetCells(1, TForm4::kPromienZ, "19,0");
  tk::testing::ClickButton(Form4->BitBtn4);
  EXPECT_EQ(Wiersz(TForm4::kRezystancja), poEdycji);
  EXPECT_EQ(PolePrzeWar->f, 2000);
}

TEST_F(PrzeWarTest, ZeroInputShowsTheErrorAndTheProgramGoesOn) {
  Form4->ShowForm();
  tk::testing::ClickButton(Form4->BitBtn1);
  const std::vector<std::string> przed = Column(Form4->StringGrid1, 1);
  RecordingDialogs dialogs;
  Form4->StringGrid1->SetCells(1, TForm4::kCzestotliwosc, "0");
  tk::testing::ClickButton(Form4->BitBtn3);
  ASSERT_GE(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages.back().caption, "Ferrant");
  for (int row : {TForm4::kRezystancja, TForm4::kKn, TForm4::kReaktancja}) EXPECT_EQ(Wiersz(row), przed[row]);
  dialogs.Clear();
  Form4->StringGrid1->SetCells(1, TForm4::kCzestotliwosc, "50");
  tk::testing::ClickButton(Form4->BitBtn3);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(Wiersz(TForm4::kRezystancja), Liczba("64,53"));
}

TEST_F(PrzeWarTest, MapRunsFromOneHundredToTheSurface) {
  Form4->ShowForm();
  Form4->FormActivate(Form4);
  // A core that carries no current shows the lifted zero level.
  Form4->StringGrid1->SetCells(1, TForm4::kKonduktywnoscW, "0");
  tk::testing::ClickButton(Form4->BitBtn3);
  ASSERT_NE(Form4->Image2->Bitmap(), nullptr);
  EXPECT_EQ(Form4->Image2->Width(), 120);
  EXPECT_EQ(Piksel(60, 60), tk::RGBColor(100, 0, 0));
  EXPECT_EQ(Piksel(60 + 20, 60), tk::RGBColor(100, 0, 0));
  const int brzeg = tk::GetRValue(Piksel(118, 60));
  EXPECT_TRUE(brzeg == 255 || brzeg == 254) << brzeg;
  EXPECT_EQ(Piksel(1, 1), tk::clWhite);  // corners keep the activation's blank
  EXPECT_EQ(Piksel(0, 0), tk::clBlack);
  // Levels rise towards the surface in the layer.
  EXPECT_LT(tk::GetRValue(Piksel(60 + 47, 60)), tk::GetRValue(Piksel(60 + 56, 60)));
  EXPECT_GT(tk::GetRValue(Piksel(60 + 47, 60)), 100);
}

// A core that conducts better than the layer is denser than the surface:
// the map shows it at full red.
TEST_F(PrzeWarTest, MapLevelsAboveTheSurfaceDensityStayAtFullRed) {
  Form4->ShowForm();
  Form4->FormActivate(Form4);
  SetColumn(Form4->StringGrid1, 1, {"500", "50", "1", "1", "55", "34,8", "15", "19"});
  Form4->Odswiez();  // the field at 50 Hz, as leaving the grid computes it
  tk::testing::MouseClick(Form4->Image2, 5, 5);
  // Just inside the core |J| is about 1.21 |J(r2)|: the formula gives about 285 there.
  const Extended Jdc = 500 / (3.14159265358979323846264L * (0.019L * 0.019L - 0.015L * 0.015L));
  const Extended q = num::ModZ(PolePrzeWar->GestoscJ(0.019L)) / Jdc;
  const Extended v45 = num::ModZ(PolePrzeWar->GestoscJ(45 * 0.019L / 58)) / Jdc;
  EXPECT_NEAR(static_cast<double>(100 + std::trunc(v45 * 155 / q)), 285, 3);
  EXPECT_EQ(Piksel(60 + 44, 60), tk::RGBColor(255, 0, 0));  // ring 45 paints it last
  EXPECT_EQ(Piksel(60, 60 + 44), tk::RGBColor(255, 0, 0));
  const int brzeg = tk::GetRValue(Piksel(118, 60));
  EXPECT_TRUE(brzeg == 255 || brzeg == 254) << brzeg;
  // The layer just outside the core is darker than the core's edge.
  EXPECT_LT(tk::GetRValue(Piksel(60 + 46, 60)), 255);
  EXPECT_TRUE(tk::testing::SaveWindowPng(Form4, testsupport::PicturePath("ferrant_przewar_clamp.png")));
}

TEST_F(PrzeWarTest, SavePicture) {
  Form4->ShowForm();
  tk::testing::ClickButton(Form4->BitBtn3);
  EXPECT_TRUE(tk::testing::SaveWindowPng(Form4, testsupport::PicturePath("ferrant_przewar.png")));
}

}  // namespace
}  // namespace ferrant::uitest
