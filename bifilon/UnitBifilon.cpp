#include "bifilon/UnitBifilon.h"

#include <cmath>

#include "grid/AlignedGrid.h"
#include "linalg/Algelin4.h"
#include "numerics/Stale4.h"
#include "numerics/Typy4.h"
#include "resources/ProgramLayouts.h"
#include "toolkit/Grids.h"
#include "toolkit/core/FpCheck.h"

namespace bifilon {

Extended R = 0, r0 = 0, d = 0, er = 0, L = 0, V1 = 0, V2 = 0;
Extended c = 0, s = 0, e = 0;
Extended q1 = 0, q2 = 0;
std::unique_ptr<linalg::TMacierzF> P;

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

// ------------------------------------------------------------------ model

void WyznaczGeometrie() {
  // The charge and its image sit at distances c - e and c + e from the axis;
  // their product c² - e² = R² makes the screen an equipotential of the pair.
  c = (R * R - r0 * r0) * 0.5L / d;
  s = c - d;
  e = std::sqrt(c * c - R * R);
  tk::FpCheck();
}

void ObliczLadunki() {
  // Ratios of the distances to the image and to the charge: A and B at the
  // matching point (-(d + r0), 0) for the own and the other core's pair, D at
  // the screen point (0, R), which is the same for both pairs.
  const Extended A = (s - r0 + e) / (s - r0 - e);
  const Extended B = (c + r0 + d + e) / (c + r0 + d - e);
  const Extended D = std::sqrt((c + e) * (c + e) + R * R) / std::sqrt((c - e) * (c - e) + R * R);
  auto& p = P->FDane;
  p[1][1] = std::log(std::fabs(A) / std::fabs(D));
  p[2][2] = p[1][1];
  p[1][2] = std::log(std::fabs(B) / std::fabs(D));
  p[2][1] = p[1][2];
  tk::FpCheck();

  const int kod = linalg::OdwMac1(*P, nullptr, 1e-20L);
  if (kod != 0) {
    linalg::PokazBladAlgelin(kod);
    return;
  }
  q1 = V1 * p[1][1] + V2 * p[1][2];
  q2 = V1 * p[2][1] + V2 * p[2][2];
  tk::FpCheck();
}

Extended Potencjal(Extended x, Extended y) {
  // Each pair contributes q·ln(ρ_image/ρ_charge); subtracting its value on the
  // screen (L0 / 2) makes the screen the zero of potential.
  const Extended cp = c + e, cm = c - e;
  const Extended L0 = std::log((cp * cp + R * R) / (cm * cm + R * R));
  const Extended V = 0.5L * (q1 * (std::log(((x + cp) * (x + cp) + y * y) / ((x + cm) * (x + cm) + y * y)) - L0) +
                             q2 * (std::log(((x - cp) * (x - cp) + y * y) / ((x - cm) * (x - cm) + y * y)) - L0));
  tk::FpCheck();
  return V;
}

void Natezenie(Extended x, Extended y, Extended& Ex, Extended& Ey, Extended& E) {
  const Extended ra = (x + c - e) * (x + c - e) + y * y;  // to charge 1
  const Extended rb = (x + c + e) * (x + c + e) + y * y;  // to image 1
  const Extended rc = (x - c + e) * (x - c + e) + y * y;  // to charge 2
  const Extended rd = (x - c - e) * (x - c - e) + y * y;  // to image 2
  Ex = q1 * ((x + c - e) / ra - (x + c + e) / rb) + q2 * ((x - c + e) / rc - (x - c - e) / rd);
  Ey = q1 * (y / ra - y / rb) + q2 * (y / rc - y / rd);
  E = std::sqrt(Ex * Ex + Ey * Ey);
  tk::FpCheck();
}

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

void TFormBifilon::FormCreate(tk::TObject*) { P = std::make_unique<linalg::TMacierzF>(1, 2, 2); }

void TFormBifilon::FormClose(tk::TObject*, tk::TCloseAction&) { P.reset(); }

void TFormBifilon::CzytajDaneKabla() {
  auto wartosc = [this](int wiersz) { return num::StrToFloatZero(TabelaDanych->Cells(1, wiersz)); };
  R = wartosc(0) / 1000.0L;
  r0 = wartosc(1) / 1000.0L;
  d = wartosc(2) / 1000.0L;
  er = wartosc(3);
  L = wartosc(4);
  V1 = wartosc(5);
  V2 = wartosc(6);
  // Row 7, the screen potential, takes no part: the screen is the reference.
  WyznaczGeometrie();
}

void TFormBifilon::WykresPowierzchni(bool natezenie) {
  CzytajDaneKabla();
  ObliczLadunki();

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
        Natezenie(x, y, Ex, Ey, E);
        wartosc = E / 1000.0L;
      } else {
        wartosc = Potencjal(x, y);
      }
      seria->AddXY(static_cast<double>(fi * 180.0L / kPi), static_cast<double>(wartosc), "", seria->SeriesColor);
    }
  }
}

void TFormBifilon::BitBtn1Click(tk::TObject*) { WykresPowierzchni(false); }

void TFormBifilon::BitBtn2Click(tk::TObject*) { WykresPowierzchni(true); }

void TFormBifilon::BitBtn3Click(tk::TObject*) {
  CzytajDaneKabla();
  ObliczLadunki();
  // 2π·ε0·εr·L in pF with ε0 = 1e-9/(36π) F/m.
  const Extended K = L * 2000.0L * er / 36.0L;
  for (int i = 1; i <= 2; ++i)
    for (int j = 1; j <= 2; ++j) TabelaPojemnosci->SetCells(j, i, num::FloatToStrSkal(K * P->FDane[i][j], 1.0L, 3));
}

}  // namespace bifilon
