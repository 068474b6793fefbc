#include "mantlo/UnitMantlo.h"

#include <cmath>

#include "grid/AlignedGrid.h"
#include "numerics/Stale4.h"
#include "numerics/Typy4.h"
#include "resources/ProgramLayouts.h"
#include "toolkit/core/Convert.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/grids/Grids.h"
#include "toolkit/pictures/Graphics.h"

namespace mantlo {

namespace {

using num::kPi;

tk::TFont Czcionka(const char* nazwa, int px, tk::TColor kolor) {
  tk::TFont f;
  if (nazwa) f.Name = nazwa;
  f.Height = -px;
  f.Color = kolor;
  f.Style = tk::fsBold;
  return f;
}

// ---- Button glyphs, 16×16: the conductor's surface, the insulation's
// surface, and a line at a height above the earth.
const tk::TColor kTlo = tk::RGBColor(192, 192, 192);
const tk::TColor kMiedz = tk::RGBColor(184, 115, 51);
const tk::TColor kIzolacja = tk::RGBColor(255, 220, 90);
const tk::TColor kZiemia = tk::RGBColor(120, 80, 40);

void Tlo(tk::TBitmap& bmp) {
  tk::TCanvas& cv = bmp.Canvas();
  cv.Brush.SetColor(kTlo);
  cv.FillRect({0, 0, 16, 16});
}

void RysujPrzewod(tk::TBitmap& bmp) {
  tk::TCanvas& cv = bmp.Canvas();
  cv.Pen.Color = tk::clRed;
  cv.Pen.Width = 2;
  cv.Brush.SetColor(kMiedz);
  cv.Ellipse(3, 3, 13, 13);
}

void RysujIzolacje(tk::TBitmap& bmp) {
  tk::TCanvas& cv = bmp.Canvas();
  cv.Pen.Color = tk::clRed;
  cv.Pen.Width = 2;
  cv.Brush.SetColor(kIzolacja);
  cv.Ellipse(1, 1, 15, 15);
  cv.Pen.Color = tk::clBlack;
  cv.Pen.Width = 1;
  cv.Brush.SetColor(kMiedz);
  cv.Ellipse(5, 5, 11, 11);
}

void RysujWysokosc(tk::TBitmap& bmp) {
  tk::TCanvas& cv = bmp.Canvas();
  cv.Pen.Color = tk::clBlack;
  cv.Pen.Width = 1;
  cv.Brush.SetColor(kMiedz);
  cv.Ellipse(5, 0, 11, 6);
  cv.Pen.Color = tk::clRed;
  cv.Pen.Width = 2;
  cv.MoveTo(0, 9);
  cv.LineTo(16, 9);
  cv.Brush.SetColor(kZiemia);
  cv.Pen.Color = kZiemia;
  cv.Pen.Width = 1;
  cv.Rectangle(0, 13, 16, 16);
}

tk::TBitBtn* Przycisk(tk::TWinControl* rodzic, const char* nazwa, const char* tytul, int top, tk::TColor kolor,
                      void (*glif)(tk::TBitmap&)) {
  auto* b = new tk::TBitBtn(rodzic);
  b->Name = nazwa;
  b->SetBounds(10, top, 384, 40);
  b->SetFont(Czcionka(nullptr, 12, kolor));
  b->SetCaption(tytul);
  tk::TBitmap bmp(16, 16);
  Tlo(bmp);
  glif(bmp);
  b->SetGlyph(bmp);
  return b;
}

// Repaints the chart however the drawing loop ends.
struct Odswiezenie {
  tk::TChart* chart;
  ~Odswiezenie() { chart->Refresh(); }
};

}  // namespace

// ------------------------------------------------------------------ window

TForm1::TForm1() {
  Name = "Form1";
  SetCaption("Pole układu - przewód walcowy  izolowany ziemia");
  SetWidth(606);
  SetHeight(640);

  AlignedGrid1 = new grid::TAlignedGrid(this);
  AlignedGrid1->Name = "AlignedGrid1";
  AlignedGrid1->SetBounds(4, 6, 180, 176);
  AlignedGrid1->SetColCount(2);
  AlignedGrid1->SetRowCount(9);
  AlignedGrid1->SetFixedCols(1);
  AlignedGrid1->SetFixedRows(0);
  AlignedGrid1->SetColWidth(0, 100);
  AlignedGrid1->SetColWidth(1, 74);
  AlignedGrid1->SetDefaultRowHeight(18);
  AlignedGrid1->SetOptions(AlignedGrid1->Options() | tk::goEditing);
  AlignedGrid1->SetScrollBars(tk::ssNone);
  tk::TFont bold = Font();
  bold.Style |= tk::fsBold;
  AlignedGrid1->SetFont(bold);
  AlignedGrid1->LoadFromLayout(res::UnitMantlo_AlignedGrid1.data, res::UnitMantlo_AlignedGrid1.size);

  // The group's caption and a button's caption read as one phrase.
  GroupBox3 = new tk::TGroupBox(this);
  GroupBox3->Name = "GroupBox3";
  GroupBox3->SetBounds(192, 2, 404, 180);
  GroupBox3->SetColor(tk::clBlue);
  GroupBox3->SetFont(Czcionka(nullptr, 12, tk::clWhite));
  GroupBox3->SetCaption("Pole układu - przewód walcowy  izolowany ziemia na");
  BitBtn10 = Przycisk(GroupBox3, "BitBtn10", "Powierzchni przewodu ", 26, tk::clBlack, RysujPrzewod);
  BitBtn12 = Przycisk(GroupBox3, "BitBtn12", "Powierzchni izolacji", 76, tk::clBlack, RysujIzolacje);
  BitBtn11 = Przycisk(GroupBox3, "BitBtn11", "Zadanej wysokości  x=var  y=const", 126, tk::clRed, RysujWysokosc);
  BitBtn10->OnClick = [this](tk::TObject* s) { BitBtn10Click(s); };
  BitBtn12->OnClick = [this](tk::TObject* s) { BitBtn12Click(s); };
  BitBtn11->OnClick = [this](tk::TObject* s) { BitBtn11Click(s); };

  Chart1 = new tk::TChart(this);
  Chart1->Name = "Chart1";
  Chart1->SetBounds(0, 640 - 414, 598, 414);
  Chart1->SetAlign(tk::alBottom);
  Chart1->View3D = false;
  Chart1->BackWallFilled = false;
  Chart1->Title.Text = {""};
  Chart1->LeftAxis.TitleFont = Czcionka("Arial", 11, tk::clBlack);
  Chart1->BottomAxis.TitleFont = Czcionka("Arial", 11, tk::clBlack);
  Series1 = Chart1->AddSeries();
  Series1->SeriesColor = tk::clRed;
  Series1->PointerVisible = false;
  Series1->MarksVisible = false;
  Series1->XValuesAscending = true;
  Chart1->Refresh();
}

TForm1::~TForm1() = default;

int32_t TForm1::CzytajLiczbeKrokow() {
  const int32_t N = tk::StrToInt(AlignedGrid1->Cells(1, 8));
  // A chart holds N + 1 points; a count beyond its capacity is refused
  // before any point is computed, and the chart stays as it was.
  constexpr auto kNajwiecej = static_cast<int64_t>(tk::TChartSeries::kMaxPoints);
  if (N >= kNajwiecej)
    throw tk::Exception("Liczba kroków N musi być mniejsza niż " + std::to_string(kNajwiecej) +
                        ": wykres mieści najwyżej " + std::to_string(kNajwiecej) + " punktów");
  return N;
}

TUklad TForm1::CzytajUklad() {
  auto wartosc = [this](int wiersz) { return num::StrToFloatZero(AlignedGrid1->Cells(1, wiersz)); };
  const Extended V = wartosc(0) * 1000.0L;
  const Extended h = wartosc(1);
  const Extended rz = wartosc(2) * 0.0005L;  // diameter in mm to radius in m
  const Extended ri = wartosc(3) * 0.0005L;
  const Extended eps = wartosc(4);
  return ObliczUklad(V, h, rz, ri, eps);
}

void TForm1::WykresPowierzchni(bool izolacja) {
  const TUklad u = CzytajUklad();
  const int32_t N = CzytajLiczbeKrokow();
  const Extended krok = 2.0L * kPi / N;
  tk::FpCheck();

  Series1->Clear();
  Chart1->Title.Text.clear();
  Chart1->Title.Text.push_back(izolacja ? " Rozkład natężenia pola na powierzchni izolacji"
                                        : " Rozkład natężenia pola na powierzchni żyły przewodzącej");
  // The values are the peak field in kV/cm: √2 for the peak of the rms
  // voltage, 1e-5 from V/m to kV/cm.
  Chart1->LeftAxis.Title = "En(f) [kV/cm]";
  Chart1->BottomAxis.Title = " f [stop]";
  Series1->Title = " ";
  Chart1->LegendVisible = false;
  Chart1->LeftAxis.Increment = 0.001;
  Chart1->BottomAxis.Increment = 30;
  Chart1->Refresh();
  Odswiezenie odswiez{Chart1};

  for (int64_t i = 0; i <= N; ++i) {
    const Extended fi = i * krok;
    const Extended E = NatezenieNaPowierzchni(u, izolacja, fi);
    Series1->AddXY(static_cast<double>(fi * 180.0L / kPi), static_cast<double>(E), "", tk::clBlack);
  }
}

void TForm1::BitBtn10Click(tk::TObject*) { WykresPowierzchni(false); }

void TForm1::BitBtn12Click(tk::TObject*) { WykresPowierzchni(true); }

void TForm1::BitBtn11Click(tk::TObject*) {
  const TUklad u = CzytajUklad();
  auto wartosc = [this](int wiersz) { return num::StrToFloatZero(AlignedGrid1->Cells(1, wiersz)); };
  const Extended x1 = wartosc(5);
  const Extended x2 = wartosc(6);
  const Extended y = wartosc(7);
  const int32_t N = CzytajLiczbeKrokow();
  const Extended dx = (x2 - x1) / N;
  tk::FpCheck();

  Series1->Clear();
  Chart1->Title.Text.clear();
  Chart1->Title.Text.push_back(
      "  Rozkład natężenia pola przy powierzchni ziemi na wysokości h=" + AlignedGrid1->Cells(1, 7) + " [m]");
  Chart1->LeftAxis.Title = "E(x,h) [kV/m]";
  Chart1->BottomAxis.Title = " x [m]";
  Series1->Title = " ";
  Chart1->LegendVisible = false;
  Chart1->LeftAxis.Increment = 0.05;
  Chart1->BottomAxis.Increment = 1;
  Chart1->Refresh();
  Odswiezenie odswiez{Chart1};

  for (int64_t i = 0; i <= N; ++i) {
    const TPunkt p{x1 + i * dx, y};
    const Extended E = NatezenieWPunkcie(p, u.q_air, u.q, u.ri, u.rz, u.a, u.h, u.b) * 0.001L;
    Series1->AddXY(static_cast<double>(p.x), static_cast<double>(E), "", tk::clBlack);
  }
}

}  // namespace mantlo
