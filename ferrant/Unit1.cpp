#include "ferrant/Unit1.h"

#include <cmath>

#include "ferrant/UnitCylinder.h"
#include "ferrant/UnitPrzeWar.h"
#include "ferrant/UnitWalec.h"
#include "numerics/Stale4.h"
#include "numerics/Typy4.h"
#include "resources/ProgramLayouts.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

using num::Extended;
using num::FloatToStrSkal;
using num::StrToFloatZero;

TForm1* Form1 = nullptr;
Extended Gamma = 0, Promien = 0, PromienZ = 0, PromienW = 0, Prad = 0;

namespace {

// Every number a pick writes: three decimals, the locale's separator.
std::string Fmt3(Extended v) {
  tk::FpCheck();
  return FloatToStrSkal(v, 1, 3);
}

tk::TFont Czcionka(int height, bool bold) {
  tk::TFont f;
  f.Name = "MS Sans Serif";
  f.Height = height;
  if (bold) f.Style = tk::fsBold;
  return f;
}

tk::TPanel* Naglowek(tk::TWinControl* parent, const char* name, const char* caption, tk::TColor color, int height,
                     int l, int t, int w, int h) {
  auto* p = new tk::TPanel(parent);
  p->Name = name;
  p->SetBounds(l, t, w, h);
  p->SetColor(color);
  p->SetFont(Czcionka(height, true));
  p->SetCaption(caption);
  return p;
}

const char* const kMaterialy[11][2] = {
    {"Konduktywność 20[*C]", "[MegaS/m]"},
    {"Miedź dla drutu", "55,0"},
    {"Miedź dla linki", "53,0"},
    {"Aluminium", "34,8"},
    {"Aldrej", "30,0"},
    {"Brąz I", "48,0"},
    {"Brąz II", "36,0"},
    {"Brąz III", "18,0"},
    {"Stal 40", "8,0"},
    {"Stal 70", "5,7"},
    {"Stal 120", "4,9"},
};

const char* const kPrzekroje[24] = {"0,5",   "0,75",  "1,0",   "1,5",  "2,5",   "4,0",   "6,0",   "10,0",
                                    "16,0",  "25,0",  "35,0",  "50,0", "70,0",  "95,0",  "120,0", "150,0",
                                    "185,0", "240,0", "300,0", "400",  "500,0", "625,0", "800,0", "1000,0"};

// The cell under a mouse point, or false off the cells (a release after a
// drag off the table): such a point picks nothing.
bool KomorkaPod(tk::TStringGrid* grid, int x, int y, int& col, int& row) {
  grid->MouseToCell(x, y, col, row);
  return col >= 0 && row >= 0;
}

}  // namespace

TForm1::TForm1() {
  Name = "Form1";
  SetBounds(736, 116, 860, 518);  // beside the title window
  SetCaption("Analiza pola elektromagnetycznego we współrzędnych walcowych");
  SetColor(tk::clMenu);
  SetFont(Czcionka(-11, false));
  visibleAtStart = true;

  Panel2 =
      Naglowek(this, "Panel2", "Wybór  przewodów do analizy pola elektromagnetycznego", tk::clAqua, -15, 8, 6, 844, 32);

  // The three conductor kinds: a button and an icon each.
  Panel1 = new tk::TPanel(this);
  Panel1->Name = "Panel1";
  Panel1->SetBounds(8, 44, 416, 178);
  Panel1->SetColor(tk::clAqua);
  auto przycisk = [this](const char* name, const char* caption, int left, int width) {
    auto* b = new tk::TBitBtn(Panel1);
    b->Name = name;
    b->SetBounds(left, 8, width, 30);
    b->SetCaption(caption);
    return b;
  };
  BitBtn1 = przycisk("BitBtn1", " Przewód walcowy", 8, 126);
  BitBtn2 = przycisk("BitBtn2", "Przewód cylindryczny", 142, 133);
  BitBtn3 = przycisk("BitBtn3", "Przewód dwuwarstwowy", 283, 126);
  auto ikona = [this](const char* name, int left, int width) {
    auto* im = new tk::TImage(Panel1);
    im->Name = name;
    im->SetBounds(left, 46, width, 124);
    return im;
  };
  Image1 = ikona("Image1", 9, 124);
  Image2 = ikona("Image2", 143, 131);
  Image3 = ikona("Image3", 284, 124);

  // Materials.
  Panel4 = Naglowek(this, "Panel4", "Wybór konduktancji przewodów", tk::clFuchsia, -11, 8, 230, 416, 26);
  StringGrid1 = new tk::TStringGrid(this);
  StringGrid1->Name = "StringGrid1";
  StringGrid1->SetBounds(8, 256, 416, 196);
  StringGrid1->SetScrollBars(tk::ssVertical);
  StringGrid1->SetColor(tk::clFuchsia);
  StringGrid1->SetColCount(2);
  StringGrid1->SetRowCount(15);
  StringGrid1->SetFixedRows(1);
  StringGrid1->SetFixedCols(1);
  StringGrid1->SetDefaultColWidth(180);
  StringGrid1->SetOptions(tk::kDefaultGridOptions | tk::goEditing);

  // Standard cross-sections.
  Panel3 = Naglowek(this, "Panel3", "Normalne przekroje przewodów ", tk::clYellow, -15, 432, 44, 420, 26);
  StringGrid2 = new tk::TStringGrid(this);
  StringGrid2->Name = "StringGrid2";
  StringGrid2->SetBounds(432, 70, 218, 170);
  StringGrid2->SetScrollBars(tk::ssVertical);
  StringGrid2->SetColor(tk::clYellow);
  StringGrid2->SetColCount(3);
  StringGrid2->SetRowCount(25);
  StringGrid2->SetFixedRows(1);
  StringGrid2->SetFixedCols(1);
  StringGrid2->SetDefaultColWidth(64);
  StringGrid2->SetOptions(tk::goFixedVertLine | tk::goFixedHorzLine | tk::goVertLine | tk::goHorzLine |
                          tk::goRowSelect | tk::goRowSizing | tk::goRowMoving);

  // Tubes; the second aligned grid lies below the heading's edge and never shows.
  Panel5 = Naglowek(this, "Panel5", "Przewody rurowe", tk::clLime, -15, 432, 266, 420, 26);
  AlignedGrid1 = new grid::TAlignedGrid(Panel5);
  AlignedGrid1->Name = "AlignedGrid1";
  AlignedGrid1->SetBounds(8, 40, 320, 120);
  AlignedGrid1->LoadFromLayout(res::Unit1_AlignedGrid1.data, res::Unit1_AlignedGrid1.size);
  AlignedGrid2 = new grid::TAlignedGrid(this);
  AlignedGrid2->Name = "AlignedGrid2";
  AlignedGrid2->SetBounds(432, 292, 420, 160);
  AlignedGrid2->SetColor(tk::clLime);
  AlignedGrid2->SetColCount(6);
  AlignedGrid2->SetRowCount(12);
  AlignedGrid2->SetFixedRows(1);
  AlignedGrid2->SetFixedCols(0);
  AlignedGrid2->SetScrollBars(tk::ssVertical);
  AlignedGrid2->SetOptions(tk::kDefaultGridOptions);
  AlignedGrid2->LoadFromLayout(res::Unit1_AlignedGrid2.data, res::Unit1_AlignedGrid2.size);

  auto etykieta = [this](const char* name, int left, int top) {
    auto* l = new tk::TLabel(this);
    l->Name = name;
    l->SetBounds(left, top, 400, 16);
    l->SetAutoSize(true);
    l->SetFont(Czcionka(-11, true));
    l->SetCaption("");
    return l;
  };
  Label1 = etykieta("Label1", 8, 458);
  Label2 = etykieta("Label2", 432, 246);
  Label3 = etykieta("Label3", 432, 458);

  BitBtn1->OnClick = [this](tk::TObject* s) { BitBtn1Click(s); };
  BitBtn2->OnClick = [this](tk::TObject* s) { BitBtn2Click(s); };
  BitBtn3->OnClick = [this](tk::TObject* s) { BitBtn3Click(s); };
  Image1->OnClick = [this](tk::TObject* s) { Image1Click(s); };
  Image2->OnClick = [this](tk::TObject* s) { Image2Click(s); };
  Image3->OnClick = [this](tk::TObject* s) { Image3Click(s); };
  StringGrid1->OnMouseUp = [this](tk::TObject* s, tk::TMouseButton b, tk::TShiftState sh, int x, int y) {
    StringGrid1MouseUp(s, b, sh, x, y);
  };
  StringGrid2->OnMouseUp = [this](tk::TObject* s, tk::TMouseButton b, tk::TShiftState sh, int x, int y) {
    StringGrid2MouseUp(s, b, sh, x, y);
  };
  AlignedGrid2->OnMouseDown = [this](tk::TObject* s, tk::TMouseButton b, tk::TShiftState sh, int x, int y) {
    AlignedGrid2MouseDown(s, b, sh, x, y);
  };
  OnCreate = [this](tk::TObject* s) { FormCreate(s); };
  OnActivate = [this](tk::TObject* s) { FormActivate(s); };
}

void TForm1::FormCreate(tk::TObject*) {
  for (int i = 0; i < 11; ++i) {
    StringGrid1->SetCells(0, i, kMaterialy[i][0]);
    StringGrid1->SetCells(1, i, kMaterialy[i][1]);
  }
  StringGrid2->SetCells(1, 0, "S[mm2]");
  StringGrid2->SetCells(2, 0, "D[mm]");
  for (int i = 1; i <= 24; ++i) {
    StringGrid2->SetCells(0, i, std::to_string(i));
    StringGrid2->SetCells(1, i, kPrzekroje[i - 1]);
    // Diameter of the round conductor of that cross-section, from the text just written.
    const Extended S = StrToFloatZero(StringGrid2->Cells(1, i));
    const Extended D = std::sqrt(S * 4 / num::kPi);
    StringGrid2->SetCells(2, i, Fmt3(D));
  }
}

// The icons: a conductor's cross-section in fuchsia, the tube with a white
// hole, the two-layer conductor with a silver core.
void TForm1::FormActivate(tk::TObject*) {
  tk::TImage* ikony[3] = {Image1, Image2, Image3};
  for (int i = 0; i < 3; ++i) {
    tk::TImage* im = ikony[i];
    tk::TCanvas& c = im->Canvas();
    const int W = im->Width(), H = im->Height();
    c.Pen.Color = tk::clBlack;
    c.Brush.SetColor(tk::clWhite);
    c.Rectangle(2, 2, W - 2, H - 2);
    c.Brush.SetColor(tk::clFuchsia);
    c.Ellipse(10, 10, W - 10, H - 10);
    if (i > 0) {
      c.Brush.SetColor(i == 1 ? tk::clWhite : tk::clSilver);
      c.Ellipse(40, 40, W - 40, H - 40);
    }
    im->Changed();
  }
}

void TForm1::BitBtn1Click(tk::TObject*) { Form2->ShowForm(); }
void TForm1::BitBtn2Click(tk::TObject*) { Form3->ShowForm(); }
void TForm1::BitBtn3Click(tk::TObject*) { Form4->ShowForm(); }
void TForm1::Image1Click(tk::TObject*) { Form2->ShowForm(); }
void TForm1::Image2Click(tk::TObject*) { Form3->ShowForm(); }
void TForm1::Image3Click(tk::TObject*) { Form4->ShowForm(); }

// Material: its conductivity goes to the solid and the tubular conductor.
void TForm1::StringGrid1MouseUp(tk::TObject*, tk::TMouseButton, tk::TShiftState, int X, int Y) {
  int col, row;
  if (!KomorkaPod(StringGrid1, X, Y, col, row)) return;
  Gamma = StrToFloatZero(StringGrid1->Cells(1, row));
  Form2->StringGrid1->SetCells(1, TForm2::kKonduktywnosc, Fmt3(Gamma));
  Label1->SetCaption("Wybrano - " + StringGrid1->Cells(0, row) + "  Gamma = " + Fmt3(Gamma));
  Form3->StringGrid1->SetCells(1, TForm3::kKonduktywnosc, Fmt3(Gamma));
}

// Cross-section: the radius of the round conductor and the current at 3 A/mm².
void TForm1::StringGrid2MouseUp(tk::TObject*, tk::TMouseButton, tk::TShiftState, int X, int Y) {
  int col, row;
  if (!KomorkaPod(StringGrid2, X, Y, col, row)) return;
  Promien = StrToFloatZero(StringGrid2->Cells(2, row)) * 0.5L;
  Prad = StrToFloatZero(StringGrid2->Cells(1, row)) * 3.0L;
  Form2->StringGrid1->SetCells(1, TForm2::kPromien, Fmt3(Promien));
  Form2->StringGrid1->SetCells(1, TForm2::kPrad, Fmt3(Prad));
  Label2->SetCaption("Wybrano przekrój S[mm2]= " + StringGrid2->Cells(1, row));
}

// Tube: the row gives the outer diameter, a wall-thickness column the inner
// radius and the current at 3 A/mm² over the wall.
void TForm1::AlignedGrid2MouseDown(tk::TObject*, tk::TMouseButton, tk::TShiftState, int X, int Y) {
  int col, row;
  if (!KomorkaPod(AlignedGrid2, X, Y, col, row)) return;
  PromienZ = StrToFloatZero(AlignedGrid2->Cells(0, row)) * 0.5L;
  if (col > 0) {
    PromienW = PromienZ - StrToFloatZero(AlignedGrid2->Cells(col, row));
    Form3->StringGrid1->SetCells(1, TForm3::kPromienW, Fmt3(PromienW));
    Prad = (PromienZ * PromienZ - PromienW * PromienW) * num::kPi * 3;
    Form3->StringGrid1->SetCells(1, TForm3::kPrad, Fmt3(Prad));
    Label3->SetCaption("Wybrano - średnicę zewnętrzną D2= " + Fmt3(2 * PromienZ) +
                       "   oraz zewnętrzną D1= " + Fmt3(2 * PromienW));
  }
  Form3->StringGrid1->SetCells(1, TForm3::kPromienZ, Fmt3(PromienZ));
}

}  // namespace ferrant
