// The selection window: its tables, the icons, and the picks that fill the
// inputs of the solid- and tubular-conductor windows.
#include <stdlib.h>

#include <cstdio>

#include "tests/support/Contrast.h"
#include "tests/support/TestFiles.h"
#include "tests/support/WindowChecks.h"
#include "ui_pomoc.h"

namespace ferrant::uitest {
namespace {

using tk::testing::RecordingDialogs;

class WyborTest : public OknaTest {
 protected:
  void SetUp() override {
    Form1->ShowForm();
    tk::testing::ProcessEvents();
  }
  // The texts of the inputs the picks write, to see what a pick left alone.
  static std::vector<std::string> Wejscia() {
    std::vector<std::string> v = Column(Form2->StringGrid1, 1);
    for (const std::string& s : Column(Form3->StringGrid1, 1)) v.push_back(s);
    for (const std::string& s : Column(Form4->StringGrid1, 1)) v.push_back(s);
    return v;
  }
  // What a cross-section pick writes: the solid conductor's radius and current.
  static void Przekroj(const std::string& promien, const std::string& prad) {
    EXPECT_EQ(Form2->StringGrid1->Cells(1, TForm2::kPromien), promien);
    EXPECT_EQ(Form2->StringGrid1->Cells(1, TForm2::kPrad), prad);
  }
  // What a tube pick writes: the inner radius, the current, the outer radius.
  static void Rura(const std::string& wewn, const std::string& prad, const std::string& zewn) {
    EXPECT_EQ(Form3->StringGrid1->Cells(1, TForm3::kPromienW), wewn);
    EXPECT_EQ(Form3->StringGrid1->Cells(1, TForm3::kPrad), prad);
    EXPECT_EQ(Form3->StringGrid1->Cells(1, TForm3::kPromienZ), zewn);
  }
};

TEST_F(WyborTest, LayoutAndTables) {
  EXPECT_EQ(Form1->Caption(), "Analiza pola elektromagnetycznego we współrzędnych walcowych");
  EXPECT_EQ(Form1->Width(), 860);
  EXPECT_EQ(Form1->Height(), 518);
  EXPECT_EQ(Form1->BitBtn1->Caption(), " Przewód walcowy");
  EXPECT_EQ(Form1->BitBtn2->Caption(), "Przewód cylindryczny");
  EXPECT_EQ(Form1->BitBtn3->Caption(), "Przewód dwuwarstwowy");
  EXPECT_EQ(Form1->Panel2->Caption(), "Wybór  przewodów do analizy pola elektromagnetycznego");
  EXPECT_EQ(Form1->Panel3->Caption(), "Normalne przekroje przewodów ");
  EXPECT_EQ(Form1->Panel4->Caption(), "Wybór konduktancji przewodów");
  EXPECT_EQ(Form1->Panel5->Caption(), "Przewody rurowe");
  EXPECT_EQ(Form1->Image2->Width(), 131);

  tk::TStringGrid* m = Form1->StringGrid1;
  EXPECT_EQ(m->ColCount(), 2);
  EXPECT_EQ(m->RowCount(), 15);
  EXPECT_EQ(m->ColWidth(1), 180);
  EXPECT_TRUE(m->Options() & tk::goEditing);
  testsupport::ExpectCells(
      m, {{0, 0, "Konduktywność 20[*C]"}, {1, 0, "[MegaS/m]"}, {0, 5, "Brąz I"}, {1, 10, "4,9"}, {0, 11, ""}});

  tk::TStringGrid* s = Form1->StringGrid2;
  EXPECT_EQ(s->ColCount(), 3);
  EXPECT_EQ(s->RowCount(), 25);
  EXPECT_TRUE(s->Options() & tk::goRowSelect);
  EXPECT_FALSE(s->Options() & tk::goEditing);
  testsupport::ExpectCells(
      s, {{0, 0, ""}, {1, 0, "S[mm2]"}, {2, 0, "D[mm]"}, {0, 20, "20"}, {1, 20, "400"}, {1, 2, "0,75"}});

  grid::TAlignedGrid* t = Form1->AlignedGrid2;
  EXPECT_TRUE(testsupport::GridShape(t, 6, 12, 0, 1));
  testsupport::ExpectCells(t, {{0, 0, " D[mm]"}, {2, 0, " t2 [mm]"}, {0, 1, "20"}, {5, 11, "15"}, {0, 11, "250"}});
}

// A picked cell stays readable in every table, while its grid has the focus
// and after: its text and background at least 4.5:1, read from the pixels.
TEST_F(WyborTest, PickedCellsKeepTheirTextReadable) {
  struct Komorka {
    tk::TForm* okno;
    tk::TStringGrid* siatka;
    int col, row;
  };
  const Komorka komorki[] = {{Form1, Form1->StringGrid1, 1, 9},
                             {Form1, Form1->StringGrid2, 1, 5},
                             {Form1, Form1->AlignedGrid2, 2, 1},
                             {Form2, Form2->StringGrid1, 1, 1}};
  for (const Komorka& k : komorki) {
    k.okno->ShowForm();
    KliknijKomorke(k.siatka, k.col, k.row);
    EXPECT_GE(testsupport::CellTextContrast(k.okno, k.siatka, k.col, k.row), 4.5) << k.siatka->Name;
  }
  Schowaj(Form2);
  Form2->ShowForm();  // inactive behind the title window, its grid without the focus
  tk::testing::ActivateWindow(Form0);
  for (const Komorka& k : komorki)
    EXPECT_GE(testsupport::CellTextContrast(k.okno, k.siatka, k.col, k.row), 4.5) << k.siatka->Name << " left";
  Schowaj(Form2);
  Form1->StringGrid1->SetCurrentCell(1, 1);  // the editable grids' current cells as at start
  Form2->StringGrid1->SetCurrentCell(1, 0);
}

// D = sqrt(4 S / pi), from the text just written, in both locales: the
// comma of the built-in texts reads in a point locale too.
TEST_F(WyborTest, DiameterColumnInBothLocales) {
  const char* oczekiwane[25] = {"D[mm]",  "0,798",  "0,977",  "1,128",  "1,382",  "1,784",  "2,257",
                                "2,764",  "3,568",  "4,514",  "5,642",  "6,676",  "7,979",  "9,441",
                                "10,998", "12,361", "13,820", "15,348", "17,481", "19,544", "22,568",
                                "25,231", "28,209", "31,915", "35,682"};
  for (char sep : {',', '.'}) {
    Separator s(sep);
    Form1->FormCreate(Form1);
    EXPECT_EQ(Form1->StringGrid2->Cells(2, 0), "D[mm]");
    for (int row = 1; row <= 24; ++row)
      EXPECT_EQ(Form1->StringGrid2->Cells(2, row), Liczba(oczekiwane[row])) << "row " << row << " sep " << sep;
  }
  Form1->FormCreate(Form1);
}

TEST_F(WyborTest, MaterialPickWritesConductivityIntoBothGrids) {
  for (char sep : {',', '.'}) {
    Separator s(sep);
    // Column 1 the first time; the second click goes to the name, since a
    // second click on the current conductivity opens the cell's editor.
    KliknijKomorke(Form1->StringGrid1, sep == ',' ? 1 : 0, 3);
    EXPECT_EQ(Form2->StringGrid1->Cells(1, TForm2::kKonduktywnosc), Liczba("34,800"));
    EXPECT_EQ(Form3->StringGrid1->Cells(1, TForm3::kKonduktywnosc), Liczba("34,800"));
    EXPECT_EQ(Form1->Label1->Caption(), "Wybrano - Aluminium  Gamma = " + Liczba("34,800"));
  }
  // The name column picks the row too; an edited conductivity is read as it stands.
  Form1->StringGrid1->SetCells(1, 1, "57.5");
  KliknijKomorke(Form1->StringGrid1, 0, 1);
  EXPECT_EQ(Form2->StringGrid1->Cells(1, TForm2::kKonduktywnosc), Liczba("57.500"));
  EXPECT_EQ(Form1->Label1->Caption(), "Wybrano - Miedź dla drutu  Gamma = " + Liczba("57.500"));
  Form1->StringGrid1->SetCells(1, 1, "55,0");
}

TEST_F(WyborTest, HeaderAndEmptyRowsOfTheMaterialTableWriteZero) {
  Separator s(',');
  KliknijKomorke(Form1->StringGrid1, 1, 0);
  EXPECT_EQ(Form2->StringGrid1->Cells(1, TForm2::kKonduktywnosc), "0,000");
  EXPECT_EQ(Form3->StringGrid1->Cells(1, TForm3::kKonduktywnosc), "0,000");
  EXPECT_EQ(Form1->Label1->Caption(), "Wybrano - Konduktywność 20[*C]  Gamma = 0,000");
  KliknijKomorke(Form1->StringGrid1, 1, 12);
  EXPECT_EQ(Form2->StringGrid1->Cells(1, TForm2::kKonduktywnosc), "0,000");
  EXPECT_EQ(Form1->Label1->Caption(), "Wybrano -   Gamma = 0,000");
}

TEST_F(WyborTest, CrossSectionPickWritesRadiusAndCurrent) {
  for (char sep : {',', '.'}) {
    Separator s(sep);
    Form3->StringGrid1->SetCells(1, TForm3::kPromienW, "980,0");
    KliknijKomorke(Form1->StringGrid2, 1, 20);
    Przekroj(Liczba("11,284"), Liczba("1200,000"));
    EXPECT_EQ(Form1->Label2->Caption(), "Wybrano przekrój S[mm2]= 400");
    EXPECT_EQ(Form3->StringGrid1->Cells(1, TForm3::kPromienW), "980,0");
  }
  Separator s(',');
  KliknijKomorke(Form1->StringGrid2, 2, 1);
  Przekroj("0,399", "1,500");
  EXPECT_EQ(Form1->Label2->Caption(), "Wybrano przekrój S[mm2]= 0,5");
  // The header row: zeros, and the header text in the label.
  KliknijKomorke(Form1->StringGrid2, 1, 0);
  Przekroj("0,000", "0,000");
  EXPECT_EQ(Form1->Label2->Caption(), "Wybrano przekrój S[mm2]= S[mm2]");
}

TEST_F(WyborTest, TubePickWritesInnerRadiusCurrentAndOuterRadius) {
  const std::vector<std::string> przed = Column(Form3->StringGrid1, 1);
  for (char sep : {',', '.'}) {
    Separator s(sep);
    KliknijKomorke(Form1->AlignedGrid2, 2, 1);
    Rura(Liczba("7,000"), Liczba("480,664"), Liczba("10,000"));
    EXPECT_EQ(Form1->Label3->Caption(),
              "Wybrano - średnicę zewnętrzną D2= " + Liczba("20,000") + "   oraz zewnętrzną D1= " + Liczba("14,000"));
  }
  // The diameter column writes the outer radius only.
  Separator s(',');
  const std::string etykieta = Form1->Label3->Caption();
  KliknijKomorke(Form1->AlignedGrid2, 0, 10);
  Rura("7.000", "480.664", "100,000");
  EXPECT_EQ(Form1->Label3->Caption(), etykieta);
  // t5 of the 250 mm tube: inner radius 110, current (125² - 110²)·π·3.
  KliknijKomorke(Form1->AlignedGrid2, 5, 11);
  Rura("110,000", "33222,342", "125,000");
  // The header row reads as zeros.
  KliknijKomorke(Form1->AlignedGrid2, 3, 0);
  Rura("0,000", "0,000", "0,000");
  EXPECT_EQ(Form1->Label3->Caption(), "Wybrano - średnicę zewnętrzną D2= 0,000   oraz zewnętrzną D1= 0,000");
  SetColumn(Form3->StringGrid1, 1, przed);
}

// The rows below the tables' edges are reached as a user reaches them: the
// cross-section table by its scroll bar, the tube table by the wheel; the
// click then picks the row under the pointer.
TEST_F(WyborTest, PicksAfterScrollingTakeTheRowUnderThePointer) {
  Separator s(',');
  tk::TStringGrid* przekroje = Form1->StringGrid2;
  przekroje->SetTopRow(1);
  tk::testing::ProcessEvents();
  ASSERT_TRUE(przekroje->VertScrollBarShown());
  EXPECT_GT(przekroje->CellRect(1, 20).Bottom, przekroje->ClientHeight());  // below the edge at first
  const int pasek = przekroje->ClientWidth() + 8;
  for (int i = 0; i < 3; ++i) tk::testing::MouseClick(przekroje, pasek, 140);  // a page of 5 rows each
  EXPECT_EQ(przekroje->TopRow(), 16);
  const tk::TRect r20 = przekroje->CellRect(1, 20);
  ASSERT_LE(r20.Bottom, przekroje->ClientHeight());
  tk::testing::MouseClick(przekroje, (r20.Left + r20.Right) / 2, (r20.Top + r20.Bottom) / 2);
  Przekroj("11,284", "1200,000");
  EXPECT_EQ(Form1->Label2->Caption(), "Wybrano przekrój S[mm2]= 400");

  const std::vector<std::string> przed = Column(Form3->StringGrid1, 1);
  grid::TAlignedGrid* rury = Form1->AlignedGrid2;
  rury->SetTopRow(1);
  ASSERT_TRUE(rury->VertScrollBarShown());
  tk::testing::Wheel(rury, 100, 80, -2);  // to the last rows
  EXPECT_EQ(rury->TopRow(), 7);
  const tk::TRect t5 = rury->CellRect(5, 11);
  ASSERT_LE(t5.Bottom, rury->ClientHeight());
  tk::testing::MouseClick(rury, (t5.Left + t5.Right) / 2, (t5.Top + t5.Bottom) / 2);
  Rura("110,000", "33222,342", "125,000");
  EXPECT_TRUE(tk::testing::SaveWindowPng(Form1, testsupport::PicturePath("przewiniete.png")));
  SetColumn(Form3->StringGrid1, 1, przed);
}

TEST_F(WyborTest, PicksNeverWriteTheTwoLayerGrid) {
  const std::vector<std::string> przed = Column(Form4->StringGrid1, 1);
  KliknijKomorke(Form1->StringGrid1, 1, 2);
  KliknijKomorke(Form1->StringGrid2, 1, 7);
  KliknijKomorke(Form1->AlignedGrid2, 1, 4);
  KliknijKomorke(Form1->AlignedGrid2, 0, 4);
  EXPECT_EQ(Column(Form4->StringGrid1, 1), przed);
}

// A press or release off the cells (after a drag off the table) picks nothing
// and shows no error.
TEST_F(WyborTest, MouseOffTheCellsPicksNothing) {
  RecordingDialogs dialogs;
  KliknijKomorke(Form1->StringGrid1, 1, 5);
  const std::vector<std::string> przed = Wejscia();
  const std::string l1 = Form1->Label1->Caption(), l2 = Form1->Label2->Caption(), l3 = Form1->Label3->Caption();
  int col = 0, row = 0;
  tk::TStringGrid* grids[3] = {Form1->StringGrid1, Form1->StringGrid2, Form1->AlignedGrid2};
  for (tk::TStringGrid* g : grids) {
    // Right of the last column, inside the control.
    const int x = g->Width() - 3, y = 5;
    g->MouseToCell(x, y, col, row);
    if (col >= 0) continue;  // the columns fill the control; the handler is called directly below
    tk::testing::MouseClick(g, x, y);
  }
  Form1->StringGrid1MouseUp(Form1->StringGrid1, tk::mbLeft, 0, -20, -20);
  Form1->StringGrid2MouseUp(Form1->StringGrid2, tk::mbLeft, 0, 5000, 10);
  Form1->AlignedGrid2MouseDown(Form1->AlignedGrid2, tk::mbLeft, 0, 10, 5000);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(Wejscia(), przed);
  EXPECT_EQ(Form1->Label1->Caption(), l1);
  EXPECT_EQ(Form1->Label2->Caption(), l2);
  EXPECT_EQ(Form1->Label3->Caption(), l3);
}

TEST_F(WyborTest, IconsAreDrawnAtActivation) {
  Form1->FormActivate(Form1);
  auto px = [](tk::TImage* im, int x, int y) { return im->Bitmap()->Pixel(x, y); };
  for (tk::TImage* im : {Form1->Image1, Form1->Image2, Form1->Image3}) {
    ASSERT_NE(im->Bitmap(), nullptr);
    EXPECT_EQ(px(im, 2, 2), tk::clBlack);  // the frame
    EXPECT_EQ(px(im, 5, 5), tk::clWhite);  // inside the frame, outside the disc
    EXPECT_EQ(px(im, 20, im->Height() / 2), tk::clFuchsia);
  }
  EXPECT_EQ(px(Form1->Image1, 62, 62), tk::clFuchsia);
  EXPECT_EQ(px(Form1->Image2, 65, 62), tk::clWhite);   // the tube's hole
  EXPECT_EQ(px(Form1->Image3, 62, 62), tk::clSilver);  // the two-layer core
  // Drawn again at the next activation.
  Form1->Image3->Canvas().SetPixel(62, 62, tk::clLime);
  Form1->FormActivate(Form1);
  EXPECT_EQ(px(Form1->Image3, 62, 62), tk::clSilver);
}

TEST_F(WyborTest, ButtonsAndIconsShowTheAnalysisWindows) {
  tk::testing::ClickButton(Form1->BitBtn3);
  EXPECT_TRUE(Form4->Visible());
  Form4->Hide();
  tk::testing::MouseClick(Form1->Image1, 60, 60);
  EXPECT_TRUE(Form2->Visible());
  Form2->Hide();
  Form1->Image2Click(Form1->Image2);
  EXPECT_TRUE(Form3->Visible());
  Form3->Hide();
}

TEST_F(WyborTest, SavePicture) {
  Form1->FormActivate(Form1);
  KliknijKomorke(Form1->StringGrid1, 1, 3);
  KliknijKomorke(Form1->StringGrid2, 1, 20);
  KliknijKomorke(Form1->AlignedGrid2, 2, 1);
  Form1->StringGrid1->SetTopRow(1);
  Form1->StringGrid2->SetTopRow(1);
  Form1->AlignedGrid2->SetTopRow(1);
  Form1->AlignedGrid2->SetLeftCol(0);
  EXPECT_TRUE(tk::testing::SaveWindowPng(Form1, testsupport::PicturePath("ferrant_wybor.png")));
}

}  // namespace
}  // namespace ferrant::uitest
