#include "ferrant/UnitWalec.h"

#include "ferrant/MapaGestosci.h"
#include "ferrant/OknoPola.h"
#include "ferrant/PoleWalca.h"
#include "numerics/Typy4.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

using num::Extended;
using num::FloatToStrSkal;
using num::StrToFloatZero;

TForm2* Form2 = nullptr;
TPoleWalca* PoleWalca = nullptr;

namespace {

const char* const kEtykiety[TForm2::kWierszy] = {
    "Wartość skuteczna prądu w [A] ",     "Częstotliwość prądu w [Hz] ",
    "Przenikalność magnetyczna względna", "Konduktywność właściwa[MegaSimens/Metr] ",
    "Promień przewodu w [MiliMetr] ",     "Rezystancja jednostkowa w [mikrOm/Metr]",
    "Współczynnik naskórkowości Kn",      "Reaktancja jednostkowa w [mikrOm/Metr]",
};
const char* const kDomyslne[TForm2::kRezystancja] = {"1000", "50", " 1.0 ", "55,0", "50"};

}  // namespace

TForm2::TForm2() {
  Name = "Form2";
  SetBounds(0, 0, 711, 708);
  SetPosition(tk::poScreenCenter);
  SetCaption("Przewód walcowy z prądem sinusoidalnie zmiennym");

  StringGrid1 = UtworzSiatkeDanych(
      this, kWierszy,
      [](tk::TStringGrid& s) {
        s.SetColWidth(0, 310);
        s.SetColWidth(1, 102);
        s.SetDefaultRowHeight(20);
      },
      8, 8, 418, 172);

  Image2 = new tk::TImage(this);
  Image2->Name = "Image2";
  Image2->SetBounds(440, 8, 127, 116);

  Panel1 = new tk::TPanel(this);
  Panel1->Name = "Panel1";
  Panel1->SetBounds(576, 8, 124, 140);
  UtworzPrzyciski(Panel1,
                  {{&BitBtn1, "BitBtn1", "Wykres E(r)", Obsluga(this, &TForm2::BitBtn1Click)},
                   {&BitBtn2, "BitBtn2", "Wykres J(r)", Obsluga(this, &TForm2::BitBtn2Click)},
                   {&BitBtn3, "BitBtn3", "Wykres H(r)", Obsluga(this, &TForm2::BitBtn3Click)},
                   {&BitBtn4, "BitBtn4", "Wykres Kn(f)", Obsluga(this, &TForm2::BitBtn4Click)}},
                  8, 8, 32, 108, 28);

  Image1 = new tk::TImage(this);
  Image1->Name = "Image1";
  Image1->SetBounds(23, 190, 649, 401);

  OnCreate = Obsluga(this, &TForm2::FormCreate);
  OnShow = Obsluga(this, &TForm2::FormShow);
  OnActivate = Obsluga(this, &TForm2::FormActivate);
  Image2->OnClick = Obsluga(this, &TForm2::Image2Click);
}

TForm2::~TForm2() {
  delete PoleWalca;
  PoleWalca = nullptr;
}

void TForm2::FormCreate(tk::TObject*) {
  WpiszKolumne(*StringGrid1, 0, kEtykiety,
               {kPrad, kCzestotliwosc, kPrzenikalnosc, kKonduktywnosc, kPromien, kRezystancja, kReaktancja, kKn});
  WpiszKolumne(*StringGrid1, 1, kDomyslne, {kPrad, kCzestotliwosc, kPrzenikalnosc, kKonduktywnosc, kPromien});
  // Placeholders only: every computation reads the grid first.
  PoleWalca = new TPoleWalca(Image1, 100, 50, 1.0L, 55e6L, 20, 200);
}

// Grid to field object, in SI units.
void TForm2::CzytajDane() {
  PoleWalca->I = StrToFloatZero(StringGrid1->Cells(1, kPrad));
  PoleWalca->f = StrToFloatZero(StringGrid1->Cells(1, kCzestotliwosc));
  PoleWalca->mi = Przenikalnosc(StrToFloatZero(StringGrid1->Cells(1, kPrzenikalnosc)));
  PoleWalca->gamma = StrToFloatZero(StringGrid1->Cells(1, kKonduktywnosc)) * 1e6L;
  PoleWalca->R = StrToFloatZero(StringGrid1->Cells(1, kPromien)) / 1000;
}

void TForm2::Odswiez() {
  CzytajDane();
  PoleWalca->Oblicz();
  WpiszWyniki(*StringGrid1, *PoleWalca, kRezystancja, kReaktancja, kKn);
}

// A white rectangle over the whole map, drawn with the canvas's pen.
void TForm2::CzyscObraz() {
  tk::TCanvas& c = Image2->Canvas();
  c.Brush.Style = tk::bsClear;
  c.Brush.SetColor(tk::clWhite);
  c.Rectangle(0, 0, Image2->Width(), Image2->Height());
  Image2->Changed();
}

void TForm2::FormShow(tk::TObject*) { Odswiez(); }

// Only makes sure the map has its bitmap; a map already drawn stays.
void TForm2::FormActivate(tk::TObject*) { Image2->Canvas(); }

void TForm2::BitBtn1Click(tk::TObject*) {
  Odswiez();
  PoleWalca->WykresE();
}

void TForm2::BitBtn2Click(tk::TObject* Sender) {
  Odswiez();
  PoleWalca->WykresJ();
  Image2Click(Sender);
}

void TForm2::BitBtn3Click(tk::TObject*) {
  Odswiez();
  PoleWalca->WykresH();
}

void TForm2::BitBtn4Click(tk::TObject*) {
  CzytajDane();
  PoleWalca->WykresKn();
}

void TForm2::Image2Click(tk::TObject*) {
  CzyscObraz();
  CzytajDane();
  UstawRozmiarMapy(*Image2);
  CzyscObraz();
  RysujMapeGestosci(*Image2, *PoleWalca, PoleWalca->R, 0, PoleWalca->I, false, false);
}

}  // namespace ferrant
