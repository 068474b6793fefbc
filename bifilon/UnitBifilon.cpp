#include "bifilon/UnitBifilon.h"

#include <cmath>

#include "grid/AlignedGrid.h"
#include "numerics/Stale4.h"
#include "numerics/Typy4.h"
#include "resources/ProgramLayouts.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/grids/Grids.h"

namespace bifilon {

namespace {

using num::kPi;

// Window texts.
const char* const kTytulOkna = " Analiza pola elektrycznego kabla dwużyłowego";
const char* const kKatOsi = "Kąt położenia punktu na powierzchni przewodu [stop]";

tk::TFont Pogrubiona(tk::TFont f) {
  f.Style |= tk::fsBold;
  return f;
}

tk::TFont Arial(int px, tk::TColor color) {
  tk::TFont f;
  f.Name = "Arial";
  f.Height = -px;
  f.Color = color;
  f.Style = tk::fsBold;
  return f;
}

// The stored cell texts of an aligned grid of this window.
void WczytajUklad(grid::TAlignedGrid* g, const res::Layout& uklad) { g->LoadFromLayout(uklad.data, uklad.size); }

// Repaints the chart however the drawing loop ends, so that the points added
// before a fault are shown too.
struct Odswiezenie {
  tk::TChart* chart;
  ~Odswiezenie() { chart->Refresh(); }
};

}  // namespace

// ------------------------------------------------------------------ window

TFormBifilon::TFormBifilon() {
  Name = "FormBifilon";
  SetCaption(kTytulOkna);
  SetWidth(820);
  SetHeight(716);

  tk::TFont bold = Pogrubiona(Font());

  GroupBox1 = new tk::TGroupBox(this);
  GroupBox1->Name = "GroupBox1";
  GroupBox1->SetBounds(4, 2, 440, 218);
  GroupBox1->SetColor(tk::clAqua);
  GroupBox1->SetFont(bold);
  GroupBox1->SetCaption("Dane kabla dwużyłowego");

  // Labels and values; the value column runs on behind the group's edge, as
  // its texts are short.
  TabelaDanych = new grid::TAlignedGrid(GroupBox1);
  TabelaDanych->Name = "TabelaDanych";
  TabelaDanych->SetBounds(8, 18, 424, 194);
  TabelaDanych->SetColCount(2);
  TabelaDanych->SetRowCount(8);
  TabelaDanych->SetFixedCols(1);
  TabelaDanych->SetFixedRows(0);
  TabelaDanych->SetDefaultColWidth(290);
  TabelaDanych->SetDefaultRowHeight(24);
  TabelaDanych->SetRowHeight(2, 25);
  TabelaDanych->SetOptions(TabelaDanych->Options() | tk::goEditing);
  TabelaDanych->SetScrollBars(tk::ssNone);
  TabelaDanych->SetFont(bold);
  WczytajUklad(TabelaDanych, res::UnitBifilon_TabelaDanych);

  GroupBox2 = new tk::TGroupBox(this);
  GroupBox2->Name = "GroupBox2";
  GroupBox2->SetBounds(448, 2, 360, 112);
  GroupBox2->SetColor(tk::clAqua);
  GroupBox2->SetFont(bold);
  GroupBox2->SetCaption("Warianty obliczeń");

  BitBtn1 = new tk::TBitBtn(GroupBox2);
  BitBtn1->Name = "BitBtn1";
  BitBtn1->SetBounds(8, 18, 344, 28);
  BitBtn1->SetCaption("Ekwipotencjalność powierzchni");
  BitBtn1->OnClick = [this](tk::TObject* s) { BitBtn1Click(s); };

  BitBtn2 = new tk::TBitBtn(GroupBox2);
  BitBtn2->Name = "BitBtn2";
  BitBtn2->SetBounds(8, 48, 344, 28);
  BitBtn2->SetCaption("Natężenie pola elektrycznego na powierchni prewodów");
  BitBtn2->OnClick = [this](tk::TObject* s) { BitBtn2Click(s); };

  BitBtn3 = new tk::TBitBtn(GroupBox2);
  BitBtn3->Name = "BitBtn3";
  BitBtn3->SetBounds(8, 78, 344, 28);
  BitBtn3->SetCaption("Pojemności cząstkowe");
  BitBtn3->OnClick = [this](tk::TObject* s) { BitBtn3Click(s); };

  GroupBox3 = new tk::TGroupBox(this);
  GroupBox3->Name = "GroupBox3";
  GroupBox3->SetBounds(448, 116, 360, 104);
  GroupBox3->SetColor(tk::clAqua);
  GroupBox3->SetFont(bold);
  GroupBox3->SetCaption("Cząstkowe pojemności kabla dwużyłowego");

  TabelaPojemnosci = new grid::TAlignedGrid(GroupBox3);
  TabelaPojemnosci->Name = "TabelaPojemnosci";
  TabelaPojemnosci->SetBounds(46, 20, 268, 78);
  TabelaPojemnosci->SetColCount(3);
  TabelaPojemnosci->SetRowCount(3);
  TabelaPojemnosci->SetFixedCols(1);
  TabelaPojemnosci->SetFixedRows(1);
  TabelaPojemnosci->SetColWidth(0, 90);
  TabelaPojemnosci->SetColWidth(1, 84);
  TabelaPojemnosci->SetColWidth(2, 90);
  TabelaPojemnosci->SetOptions(TabelaPojemnosci->Options() & ~tk::goEditing);
  TabelaPojemnosci->SetScrollBars(tk::ssNone);
  WczytajUklad(TabelaPojemnosci, res::UnitBifilon_TabelaPojemnosci);

  Chart1 = new tk::TChart(this);
  Chart1->Name = "Chart1";
  Chart1->SetBounds(0, 716 - 459, 812, 459);
  Chart1->SetAlign(tk::alBottom);
  Chart1->View3D = false;
  Chart1->BackWallFilled = false;
  Chart1->Title.Font = Arial(15, tk::clBlue);
  Chart1->Title.Text = {""};
  Chart1->LeftAxis.TitleFont = Arial(13, tk::clBlack);
  Chart1->BottomAxis.TitleFont = Arial(13, tk::clBlack);
  // The left axis starts at 0 and reaches the largest value shown.
  Chart1->LeftAxis.AutomaticMinimum = false;
  Chart1->LeftAxis.Minimum = 0;
  Chart1->LeftAxis.AutomaticMaximum = true;
  Chart1->LegendVisible = true;
  Series1 = Chart1->AddSeries();
  Series2 = Chart1->AddSeries();
  Series3 = Chart1->AddSeries();
  const tk::TColor kolory[3] = {tk::clRed, tk::clGreen, tk::clNavy};
  tk::TChartSeries* serie[3] = {Series1, Series2, Series3};
  for (int i = 0; i < 3; ++i) {
    serie[i]->SeriesColor = kolory[i];
    serie[i]->PointerVisible = false;
    serie[i]->MarksVisible = false;
    serie[i]->XValuesAscending = true;
  }
  Chart1->Refresh();

  OnCreate = [this](tk::TObject* s) { FormCreate(s); };
  OnClose = [this](tk::TObject* s, tk::TCloseAction& a) { FormClose(s, a); };
}

TFormBifilon::~TFormBifilon() = default;

void TFormBifilon::FormCreate(tk::TObject*) { Model.P = std::make_unique<linalg::TMacierzF>(1, 2, 2); }

void TFormBifilon::FormClose(tk::TObject*, tk::TCloseAction&) { Model.P.reset(); }

void TFormBifilon::CzytajDaneKabla() {
  auto wartosc = [this](int wiersz) { return num::StrToFloatZero(TabelaDanych->Cells(1, wiersz)); };
  TModelKabla& m = Model;
  m.R = wartosc(0) / 1000.0L;
  m.r0 = wartosc(1) / 1000.0L;
  m.d = wartosc(2) / 1000.0L;
  m.er = wartosc(3);
  m.L = wartosc(4);
  m.V1 = wartosc(5);
  m.V2 = wartosc(6);
  // Row 7, the screen potential, takes no part: the screen is the reference.
  m.WyznaczGeometrie();
}

void TFormBifilon::WykresPowierzchni(bool natezenie) {
  CzytajDaneKabla();
  Model.ObliczLadunki();

  Series1->Clear();
  Series2->Clear();
  Series3->Clear();
  Chart1->Title.Text.clear();
  if (natezenie) {
    Chart1->Title.Text.push_back("Natężenie pola elektrycznego na powierzchni przewodów ");
    Chart1->Title.Text.push_back(" moduł E(x,y) dla (x,y) leżących na powierzchni przewodów");
  } else {
    Chart1->Title.Text.push_back("Ekwipotencjalność powierzchni przewodów ");
    Chart1->Title.Text.push_back(" V(x,y) dla (x,y) leżących na powierzchni przewodów");
  }
  Series1->Title = " ";
  Series2->Title = " ";
  Series3->Title = " ";
  Chart1->LeftAxis.Title = natezenie ? "Natężenie pola elektrycznego na powierzchni przewodów E[kV/m]"
                                     : "Potencjał na powierzchni przewodów [V]";
  Chart1->BottomAxis.Title = kKatOsi;
  Chart1->Refresh();
  Odswiezenie odswiez{Chart1};

  const char* const tytulyV[3] = {"V przewód 1", "V przewód 2", "V ekran"};
  const char* const tytulyE[3] = {"E przewód 1", "E przewód 2", "E ekran"};
  tk::TChartSeries* serie[3] = {Series1, Series2, Series3};
  const Extended krok = 2.0L * kPi / 360.0L;
  const Extended R = Model.R, r0 = Model.r0, d = Model.d;
  for (int k = 0; k < 3; ++k) {
    tk::TChartSeries* seria = serie[k];
    seria->Title = natezenie ? tytulyE[k] : tytulyV[k];
    for (int j = 0; j <= 360; ++j) {
      const Extended fi = j * krok;
      Extended x, y;
      switch (k) {
        case 0:
          x = r0 * std::cos(fi) - d;
          y = r0 * std::sin(fi);
          break;
        case 1:
          x = r0 * std::cos(fi) + d;
          y = r0 * std::sin(fi);
          break;
        default:
          x = R * std::cos(fi);
          y = R * std::sin(fi);
          break;
      }
      Extended wartosc;
      if (natezenie) {
        Extended Ex, Ey, E;
        Model.Natezenie(x, y, Ex, Ey, E);
        wartosc = E / 1000.0L;
      } else {
        wartosc = Model.Potencjal(x, y);
      }
      seria->AddXY(static_cast<double>(fi * 180.0L / kPi), static_cast<double>(wartosc), "", seria->SeriesColor);
    }
  }
}

void TFormBifilon::BitBtn1Click(tk::TObject*) { WykresPowierzchni(false); }

void TFormBifilon::BitBtn2Click(tk::TObject*) { WykresPowierzchni(true); }

void TFormBifilon::BitBtn3Click(tk::TObject*) {
  CzytajDaneKabla();
  Model.ObliczLadunki();
  // 2π·ε0·εr·L in pF with ε0 = 1e-9/(36π) F/m.
  const Extended K = Model.L * 2000.0L * Model.er / 36.0L;
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j)
      TabelaPojemnosci->SetCells(j, i, num::FloatToStrSkal(K * Model.P->FDane[i][j], 1.0L, 3));
}

}  // namespace bifilon
