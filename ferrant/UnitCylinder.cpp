#include "ferrant/UnitCylinder.h"

#include "ferrant/MapaGestosci.h"
#include "ferrant/OknoPola.h"
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

const char* const kEtykiety[TForm3::kWierszy] = {
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
const char* const kDomyslne[TForm3::kDlugosc + 1] = {"63000",  "50",    " 1.0 ", "56,0  ", "980,0",
                                                     "1000,0", nullptr, nullptr, "3,2"};

}  // namespace

TForm3::TForm3() {
  Name = "Form3";
  SetBounds(120, 40, 800, 749);
  SetCaption("Przewód cylindryczny z prądem sinusoidalnie zmiennym");

  Image1 = new tk::TImage(this);
  Image1->Name = "Image1";
  Image1->SetBounds(0, 299, 792, 450);
  Image1->SetAlign(tk::alBottom);

  StringGrid1 = UtworzSiatkeDanych(
      this, kWierszy,
      [](tk::TStringGrid& s) {
        s.SetDefaultColWidth(290);
        s.SetDefaultRowHeight(20);
        s.SetRowHeight(kRezystancja, 19);
      },
      4, 4, 586, 234);

  Panel1 = new tk::TPanel(this);
  Panel1->Name = "Panel1";
  Panel1->SetBounds(598, 4, 196, 164);
  Panel1->SetColor(tk::clBlue);
  UtworzPrzyciski(Panel1,
                  {{&BitBtn1, "BitBtn1", "Pola elektrycznego", Obsluga(this, &TForm3::BitBtn1Click)},
                   {&BitBtn2, "BitBtn2", "Pole magnetyczne", Obsluga(this, &TForm3::BitBtn2Click)},
                   {&BitBtn3, "BitBtn3", "Gęstości prądu", Obsluga(this, &TForm3::BitBtn3Click)},
                   {&BitBtn4, "BitBtn4", "Naskórkowość", Obsluga(this, &TForm3::BitBtn4Click)},
                   {&BitBtn5, "BitBtn5", "Gęstość prądu dla 50Hz", Obsluga(this, &TForm3::BitBtn5Click)},
                   {&BitBtn8, "BitBtn8", "Gęstość prądu  mi=var", Obsluga(this, &TForm3::BitBtn8Click)},
                   {&BitBtn6, "BitBtn6", "Wykres  dP(mi)", Obsluga(this, &TForm3::BitBtn6Click)}},
                  6, 4, 22, 184, 21);

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

  OnCreate = Obsluga(this, &TForm3::FormCreate);
  OnShow = Obsluga(this, &TForm3::FormShow);
  OnActivate = Obsluga(this, &TForm3::FormActivate);
  OnDblClick = Obsluga(this, &TForm3::FormDblClick);
  StringGrid1->OnExit = Obsluga(this, &TForm3::StringGrid1Exit);
  BitBtn7->OnClick = Obsluga(this, &TForm3::BitBtn7Click);
  Image2->OnClick = Obsluga(this, &TForm3::Image2Click);
}

TForm3::~TForm3() {
  delete PoleCylindra;
  PoleCylindra = nullptr;
}

void TForm3::FormCreate(tk::TObject*) {
  WpiszKolumne(*StringGrid1, 0, kEtykiety,
               {kPrad, kCzestotliwosc, kPrzenikalnosc, kKonduktywnosc, kPromienW, kPromienZ, kRezystancja, kKn,
                kDlugosc, kMoc, kReaktancja});
  WpiszKolumne(*StringGrid1, 1, kDomyslne,
               {kPrad, kCzestotliwosc, kPrzenikalnosc, kKonduktywnosc, kPromienW, kPromienZ, kDlugosc});
  // Placeholders only: every computation reads the grid first.
  PoleCylindra = new TPoleCylindra(Image1, 100, 50, 1.0L, 0, 25, 17.5L, 200);
}

// Grid to field object, in SI units.
void TForm3::CzytajDane() {
  PoleCylindra->I = StrToFloatZero(StringGrid1->Cells(1, kPrad));
  PoleCylindra->f = StrToFloatZero(StringGrid1->Cells(1, kCzestotliwosc));
  PoleCylindra->mi = Przenikalnosc(StrToFloatZero(StringGrid1->Cells(1, kPrzenikalnosc)));
  PoleCylindra->gamma = StrToFloatZero(StringGrid1->Cells(1, kKonduktywnosc)) * 1e6L;
  PoleCylindra->r1 = StrToFloatZero(StringGrid1->Cells(1, kPromienW)) / 1000;
  PoleCylindra->r2 = StrToFloatZero(StringGrid1->Cells(1, kPromienZ)) / 1000;
}

// R', X', Kn and the active power loss I²·R'·L of a conductor of length L.
void TForm3::Odswiez() {
  CzytajDane();
  PoleCylindra->Oblicz();
  const Extended R = WpiszWyniki(*StringGrid1, *PoleCylindra, kRezystancja, kReaktancja, kKn);
  const Extended L = StrToFloatZero(StringGrid1->Cells(1, kDlugosc));
  const Extended I = PoleCylindra->I;
  const Extended P = I * I * R * L;
  tk::FpCheck();
  StringGrid1->SetCells(1, kMoc, FloatToStrSkal(P, 1, 2));
}

void TForm3::FormShow(tk::TObject*) { Odswiez(); }

void TForm3::StringGrid1Exit(tk::TObject*) { Odswiez(); }

void TForm3::FormActivate(tk::TObject*) { ObramujMape(*Image2); }

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
// kW, as a value series labelled with the permeability.  The chart window
// gets this step to run again whenever its chart is resized.
void TForm3::BitBtn6Click(tk::TObject*) {
  FormWykChart->Przelicz = Obsluga(this, &TForm3::BitBtn6Click);
  CzytajDane();
  tk::TChartSeries* seria = FormWykChart->Chart1->Series(0);
  auto strata = [this]() {
    PoleCylindra->Oblicz();
    const Extended L = StrToFloatZero(StringGrid1->Cells(1, kDlugosc));
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
