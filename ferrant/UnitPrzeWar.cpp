#include "ferrant/UnitPrzeWar.h"

#include "ferrant/MapaGestosci.h"
#include "ferrant/OknoPola.h"
#include "ferrant/PolePrzeWar.h"
#include "numerics/Typy4.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

using num::Extended;
using num::FloatToStrSkal;
using num::StrToFloatZero;

TForm4* Form4 = nullptr;
TPolePrzeWar* PolePrzeWar = nullptr;

namespace {

const char* const kEtykiety[TForm4::kWierszy] = {
    "Wartość skuteczna prądu w [A] ",
    "Częstotliwość prądu w [Hz] ",
    "Przenikalność magnetyczna wewnętrzna",
    "Przenikalność magnetyczna zewnętrzna",
    "Konduktywność wewnętrzna [MegaSimens/Metr] ",
    "Konduktywność zewnętrzna [MegaSimens/Metr] ",
    "Promień wewnętrzny przewodu w [MiliMetr] ",
    "Promień zewnętrzny przewodu w [MiliMetr] ",
    "Rezystancja jednostkowa w [mikrOm/Metr]",
    "Współczynnik naskórkowości Kn",
    "Raktancja wewnętrzna [mikrOm/Metr]",
};
const char* const kDomyslne[TForm4::kRezystancja] = {"500",   "50",     " 200.0 ", " 1.0 ",
                                                     " 8.0 ", " 34,8 ", "15,0  ",  "19,0"};
const int kWysokosci[TForm4::kWierszy] = {22, 24, 24, 24, 24, 26, 24, 24, 24, 24, 24};

}  // namespace

TForm4::TForm4() {
  Name = "Form4";
  SetBounds(140, 60, 758, 724);
  SetCaption("Analiza pola przewodu dwuwarstwowego z prądem sinusoidalnie zmiennym");

  Image1 = new tk::TImage(this);
  Image1->Name = "Image1";
  Image1->SetBounds(0, 315, 750, 409);
  Image1->SetAlign(tk::alBottom);

  StringGrid1 = UtworzSiatkeDanych(
      this, kWierszy,
      [](tk::TStringGrid& s) {
        s.SetColWidth(0, 310);
        s.SetColWidth(1, 90);
        for (int row = 0; row < kWierszy; ++row) s.SetRowHeight(row, kWysokosci[row]);
      },
      4, 4, 406, 280);

  Image2 = new tk::TImage(this);
  Image2->Name = "Image2";
  Image2->SetBounds(418, 4, 129, 125);

  Panel1 = new tk::TPanel(this);
  Panel1->Name = "Panel1";
  Panel1->SetBounds(556, 4, 194, 136);
  UtworzPrzyciski(Panel1,
                  {{&BitBtn1, "BitBtn1", "Pola elektryczne E(r)", Obsluga(this, &TForm4::BitBtn1Click)},
                   {&BitBtn2, "BitBtn2", "Pola magnetyczne Hf(r)", Obsluga(this, &TForm4::BitBtn2Click)},
                   {&BitBtn3, "BitBtn3", "Gęstość prądu  Jz(r)", Obsluga(this, &TForm4::BitBtn3Click)},
                   {&BitBtn4, "BitBtn4", "Naskórkowość  Kn(f) ", Obsluga(this, &TForm4::BitBtn4Click)}},
                  6, 4, 32, 182, 28);

  OnCreate = Obsluga(this, &TForm4::FormCreate);
  OnActivate = Obsluga(this, &TForm4::FormActivate);
  StringGrid1->OnExit = Obsluga(this, &TForm4::StringGrid1Exit);
  Image2->OnClick = Obsluga(this, &TForm4::Image2Click);
}

TForm4::~TForm4() {
  delete PolePrzeWar;
  PolePrzeWar = nullptr;
}

void TForm4::FormCreate(tk::TObject*) {
  WpiszKolumne(*StringGrid1, 0, kEtykiety,
               {kPrad, kCzestotliwosc, kPrzenikalnoscW, kPrzenikalnoscZ, kKonduktywnoscW, kKonduktywnoscZ, kPromienW,
                kPromienZ, kRezystancja, kKn, kReaktancja});
  WpiszKolumne(*StringGrid1, 1, kDomyslne,
               {kPrad, kCzestotliwosc, kPrzenikalnoscW, kPrzenikalnoscZ, kKonduktywnoscW, kKonduktywnoscZ, kPromienW,
                kPromienZ});
  // Placeholders only: every computation reads the grid first.
  PolePrzeWar = new TPolePrzeWar(Image1, 500, 50, 200, 1.0L, 8e6L, 34.8e6L, 15, 19, 200);
}

// Grid to field object, in SI units.
void TForm4::CzytajDane() {
  PolePrzeWar->I = StrToFloatZero(StringGrid1->Cells(1, kPrad));
  PolePrzeWar->f = StrToFloatZero(StringGrid1->Cells(1, kCzestotliwosc));
  PolePrzeWar->mi1 = Przenikalnosc(StrToFloatZero(StringGrid1->Cells(1, kPrzenikalnoscW)));
  PolePrzeWar->mi2 = Przenikalnosc(StrToFloatZero(StringGrid1->Cells(1, kPrzenikalnoscZ)));
  PolePrzeWar->gamma1 = StrToFloatZero(StringGrid1->Cells(1, kKonduktywnoscW)) * 1e6L;
  PolePrzeWar->gamma2 = StrToFloatZero(StringGrid1->Cells(1, kKonduktywnoscZ)) * 1e6L;
  PolePrzeWar->r1 = StrToFloatZero(StringGrid1->Cells(1, kPromienW)) / 1000;
  PolePrzeWar->r2 = StrToFloatZero(StringGrid1->Cells(1, kPromienZ)) / 1000;
}

void TForm4::Odswiez() {
  CzytajDane();
  PolePrzeWar->Oblicz();
  WpiszWyniki(*StringGrid1, *PolePrzeWar, kRezystancja, kReaktancja, kKn);
}

void TForm4::StringGrid1Exit(tk::TObject*) { Odswiez(); }

void TForm4::FormActivate(tk::TObject*) { ObramujMape(*Image2); }

void TForm4::BitBtn1Click(tk::TObject*) {
  Odswiez();
  PolePrzeWar->WykresE();
}

void TForm4::BitBtn2Click(tk::TObject*) {
  Odswiez();
  PolePrzeWar->WykresH();
}

void TForm4::BitBtn3Click(tk::TObject* Sender) {
  Odswiez();
  PolePrzeWar->WykresJ();
  Image2Click(Sender);
}

void TForm4::BitBtn4Click(tk::TObject*) {
  CzytajDane();
  PolePrzeWar->WykresKn();
}

void TForm4::Image2Click(tk::TObject*) {
  CzytajDane();
  UstawRozmiarMapy(*Image2);
  RysujMapeGestosci(*Image2, *PolePrzeWar, PolePrzeWar->r2, PolePrzeWar->r1, PolePrzeWar->I, false, true);
}

}  // namespace ferrant
