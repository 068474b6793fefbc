#include "ferrant/UnitCylinder.h"

#include "ferrant/MapaGestosci.h"
#include "ferrant/PoleCylindra.h"
#include "ferrant/UnitChart.h"
#include "ferrant/UnitChart2.h"
#include "numerics/Typy4.h"
#include "numerics/Typy4Jpeg.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

using num::Extended;
using num::FloatToStrSkal;
using num::StrToFloatZero;

TForm3* Form3 = nullptr;
TPoleCylindra* PoleCylindra = nullptr;

namespace {

tk::TFont CzcionkaSiatki() {
  tk::TFont f;
  f.Name = "MS Sans Serif";
  f.Height = -11;
  f.Style = tk::fsBold;
  return f;
}

const char* const kEtykiety[11] = {
    "Wartość skuteczna prądu w [A] ",
    "Częstotliwość prądu w [Hz] ",
    "Przenikalność magnetyczna względna",
    "Konduktywność właściwa[MegaSimens/Metr] ",
    "Promień wewnętrzny przewodu w [MiliMetr] ",
    "Promień zewnętrzny przewodu w [MiliMetr] ",
    "Rezystancja jednostkowa w [mikrOm/Metr]",
    "Współczynnik naskórkowości Kn",
    "Długość przewodu w [m]",
    "Moc czynna w [W]",
    "Reaktancja jednostkowa w [mikrOm/Metr]",
};

Extended Przenikalnosc(Extended wzgledna) { return wzgledna * 4.0L * kPi * 1e-7L; }

}  // namespace

TForm3::TForm3() {
  Name = "Form3";
  SetBounds(120, 40, 800, 749);
  SetCaption("Przewód cylindryczny z prądem sinusoidalnie zmiennym");

  Image1 = new tk::TImage(this);
  Image1->Name = "Image1";
  Image1->SetBounds(0, 299, 792, 450);
  Image1->SetAlign(tk::alBottom);

  StringGrid1 = new tk::TStringGrid(this);
  StringGrid1->Name = "StringGrid1";
  StringGrid1->SetColCount(2);
  StringGrid1->SetRowCount(11);
  StringGrid1->SetFixedRows(0);
  StringGrid1->SetFixedCols(1);
  StringGrid1->SetDefaultColWidth(290);
  StringGrid1->SetDefaultRowHeight(20);
  StringGrid1->SetRowHeight(6, 19);
  StringGrid1->SetScrollBars(tk::ssNone);
  StringGrid1->SetOptions(tk::kDefaultGridOptions | tk::goEditing);
  StringGrid1->SetFont(CzcionkaSiatki());
  StringGrid1->SetBounds(4, 4, 586, 234);

  Panel1 = new tk::TPanel(this);
  Panel1->Name = "Panel1";
  Panel1->SetBounds(598, 4, 196, 164);
  Panel1->SetColor(tk::clBlue);
  const char* napisy[7] = {"Pola elektrycznego",     "Pole magnetyczne",       "Gęstości prądu",
                           "Naskórkowość",           "Gęstość prądu dla 50Hz", "Gęstość prądu  mi=var",
                           "Wykres  dP(mi)"};
  tk::TBitBtn** przyciski[7] = {&BitBtn1, &BitBtn2, &BitBtn3, &BitBtn4, &BitBtn5, &BitBtn8, &BitBtn6};
  const char* nazwy[7] = {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn8", "BitBtn6"};
  for (int i = 0; i < 7; ++i) {
    auto* b = new tk::TBitBtn(Panel1);
    b->Name = nazwy[i];
    b->SetBounds(6, 4 + 22 * i, 184, 21);
    b->SetCaption(napisy[i]);
    *przyciski[i] = b;
  }

  Image2 = new tk::TImage(this);
  Image2->Name = "Image2";
  Image2->SetBounds(604, 170, 135, 127);

  BitBtn7 = new tk::TBitBtn(this);
  BitBtn7->Name = "BitBtn7";
  BitBtn7->SetBounds(462, 244, 128, 25);
  BitBtn7->SetCaption("Pokaż rysunki");

  SavePictureDialog1 = new tk::TSavePictureDialog(this);
  SavePictureDialog1->Filter = tk::kGraphicFilter;
  OpenPictureDialog1 = new tk::TOpenPictureDialog(this);
  OpenPictureDialog1->Filter = tk::kGraphicFilter;
  OpenPictureDialog1->FileName = " ";

  OnCreate = [this](tk::TObject* s) { FormCreate(s); };
  OnShow = [this](tk::TObject* s) { FormShow(s); };
  OnActivate = [this](tk::TObject* s) { FormActivate(s); };
  OnDblClick = [this](tk::TObject* s) { FormDblClick(s); };
  StringGrid1->OnExit = [this](tk::TObject* s) { StringGrid1Exit(s); };
  BitBtn1->OnClick = [this](tk::TObject* s) { BitBtn1Click(s); };
  BitBtn2->OnClick = [this](tk::TObject* s) { BitBtn2Click(s); };
  BitBtn3->OnClick = [this](tk::TObject* s) { BitBtn3Click(s); };
  BitBtn4->OnClick = [this](tk::TObject* s) { BitBtn4Click(s); };
  BitBtn5->OnClick = [this](tk::TObject* s) { BitBtn5Click(s); };
  BitBtn6->OnClick = [this](tk::TObject* s) { BitBtn6Click(s); };
  BitBtn7->OnClick = [this](tk::TObject* s) { BitBtn7Click(s); };
  BitBtn8->OnClick = [this](tk::TObject* s) { BitBtn8Click(s); };
  Image2->OnClick = [this](tk::TObject* s) { Image2Click(s); };
}

TForm3::~TForm3() {
  delete PoleCylindra;
  PoleCylindra = nullptr;
}

void TForm3::FormCreate(tk::TObject*) {
  for (int row = 0; row < 11; ++row) StringGrid1->SetCells(0, row, kEtykiety[row]);
  StringGrid1->SetCells(1, 0, "63000");
  StringGrid1->SetCells(1, 1, "50");
  StringGrid1->SetCells(1, 2, " 1.0 ");
  StringGrid1->SetCells(1, 3, "56,0  ");
  StringGrid1->SetCells(1, 4, "980,0");
  StringGrid1->SetCells(1, 5, "1000,0");
  StringGrid1->SetCells(1, 8, "3,2");
  // Placeholders only: every computation reads the grid first.
  PoleCylindra = new TPoleCylindra(Image1, 100, 50, 1.0L, 0, 25, 17.5L, 200);
}

// Grid to field object, in SI units.
void TForm3::CzytajDane() {
  PoleCylindra->I = StrToFloatZero(StringGrid1->Cells(1, 0));
  PoleCylindra->f = StrToFloatZero(StringGrid1->Cells(1, 1));
  PoleCylindra->mi = Przenikalnosc(StrToFloatZero(StringGrid1->Cells(1, 2)));
  PoleCylindra->gamma = StrToFloatZero(StringGrid1->Cells(1, 3)) * 1e6L;
  PoleCylindra->r1 = StrToFloatZero(StringGrid1->Cells(1, 4)) / 1000;
  PoleCylindra->r2 = StrToFloatZero(StringGrid1->Cells(1, 5)) / 1000;
}

// R', X', Kn and the active power loss I²·R'·L of a conductor of length L.
void TForm3::Odswiez() {
  CzytajDane();
  PoleCylindra->Oblicz();
  const Extended R = PoleCylindra->Rezystancja();
  tk::FpCheck();
  StringGrid1->SetCells(1, 6, FloatToStrSkal(R, 1e6L, 2));
  Extended v = PoleCylindra->Reaktancja();
  tk::FpCheck();
  StringGrid1->SetCells(1, 10, FloatToStrSkal(v, 1e6L, 2));
  v = PoleCylindra->WspNaskorkowosci();
  tk::FpCheck();
  StringGrid1->SetCells(1, 7, FloatToStrSkal(v, 1, 4));
  const Extended L = StrToFloatZero(StringGrid1->Cells(1, 8));
  const Extended I = PoleCylindra->I;
  const Extended P = I * I * R * L;
  tk::FpCheck();
  StringGrid1->SetCells(1, 9, FloatToStrSkal(P, 1, 2));
}

void TForm3::FormShow(tk::TObject*) { Odswiez(); }

void TForm3::StringGrid1Exit(tk::TObject*) { Odswiez(); }

// The map area blanked to white with a black frame.
void TForm3::FormActivate(tk::TObject*) {
  tk::TCanvas& c = Image2->Canvas();
  c.Pen.Color = tk::clBlack;
  c.Brush.SetColor(tk::clWhite);
  c.Rectangle(0, 0, Image2->Width(), Image2->Height());
  Image2->Changed();
}

void TForm3::BitBtn1Click(tk::TObject*) {
  Odswiez();
  PoleCylindra->WykresE();
}

void TForm3::BitBtn2Click(tk::TObject*) {
  Odswiez();
  PoleCylindra->WykresH();
}

void TForm3::BitBtn3Click(tk::TObject* Sender) {
  Odswiez();
  PoleCylindra->WykresJ();
  Image2Click(Sender);
}

void TForm3::BitBtn4Click(tk::TObject*) {
  Odswiez();
  PoleCylindra->WykresKn();
}

void TForm3::BitBtn5Click(tk::TObject* Sender) {
  Odswiez();
  PoleCylindra->WykresJ1f();
  Image2Click(Sender);
}

// The loss of the conductor for relative permeabilities 1, 5, 10 ... 200, in
// kW, as a value series labelled with the permeability.
void TForm3::BitBtn6Click(tk::TObject*) {
  CzytajDane();
  tk::TChartSeries* seria = FormWykChart->Chart1->Series(0);
  auto strata = [this]() {
    PoleCylindra->Oblicz();
    const Extended L = StrToFloatZero(StringGrid1->Cells(1, 8));
    const Extended I = PoleCylindra->I;
    const Extended P = I * I * PoleCylindra->Rezystancja() * L;
    tk::FpCheck();
    return static_cast<double>(P * 0.001L);
  };
  PoleCylindra->mi = Przenikalnosc(1);
  const double P1 = strata();
  seria->Clear();
  seria->Add(P1, "1", tk::clBlue);
  for (int i = 1; i <= 40; ++i) {
    const Extended mir = 5 * i;
    PoleCylindra->mi = Przenikalnosc(mir);
    const double P = strata();
    seria->Add(P, FloatToStrSkal(mir, 1, 0), tk::clBlue);
  }
  FormWykChart->Chart1->Refresh();
  FormWykChart->ShowForm();
}

void TForm3::BitBtn7Click(tk::TObject*) { OpenPictureDialog1->Execute(); }

// Current-density profiles across the wall for six relative permeabilities,
// 100 points from r1 to r2 each.
void TForm3::BitBtn8Click(tk::TObject*) {
  const int N = 100;
  const Extended mir[6] = {1, 5, 10, 50, 100, 200};
  CzytajDane();
  // The step from the radii just read, so that the profiles end at r2.
  const Extended krok = (PoleCylindra->r2 - PoleCylindra->r1) / (N - 1);
  tk::TChart* wykres = FormWykChart2->Chart1;
  for (int k = 0; k < 6; ++k) wykres->Series(k)->Clear();
  wykres->Refresh();
  for (int k = 0; k < 6; ++k) wykres->Series(k)->Title = "mi=" + FloatToStrSkal(mir[k], 1, 0);
  for (int k = 0; k < 6; ++k) {
    PoleCylindra->mi = Przenikalnosc(mir[k]);
    PoleCylindra->Oblicz();
    tk::TChartSeries* seria = wykres->Series(k);
    const tk::TColor kolor = seria->SeriesColor;
    for (int i = 0; i < N; ++i) {
      const Extended r = PoleCylindra->r1 + i * krok;
      const Extended J = num::ModZ(PoleCylindra->GestoscJ(r));
      tk::FpCheck();
      seria->AddXY(static_cast<double>(r * 1000), static_cast<double>(J * 1e-6L), "", kolor);
    }
  }
  wykres->Refresh();
  FormWykChart2->ShowForm();
}

// A JPEG picture of the window, always JPEG whatever name or type is chosen.
void TForm3::FormDblClick(tk::TObject*) {
  std::unique_ptr<tk::TBitmap> obraz = GetFormImage();
  num::ZapiszJpeg(*obraz, *SavePictureDialog1, 100);
}

void TForm3::Image2Click(tk::TObject*) {
  CzytajDane();
  UstawRozmiarMapy(*Image2);
  RysujMapeGestosci(*Image2, *PoleCylindra, PoleCylindra->r2, PoleCylindra->r1, PoleCylindra->I, true, false);
}

}  // namespace ferrant
