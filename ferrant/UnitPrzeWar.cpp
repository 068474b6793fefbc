#include "ferrant/UnitPrzeWar.h"

#include "ferrant/MapaGestosci.h"
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
const char* const kDomyslne[8] = {"500", "50", " 200.0 ", " 1.0 ", " 8.0 ", " 34,8 ", "15,0  ", "19,0"};
const int kWysokosci[11] = {22, 24, 24, 24, 24, 26, 24, 24, 24, 24, 24};

Extended Przenikalnosc(Extended wzgledna) { return wzgledna * 4.0L * kPi * 1e-7L; }

}  // namespace

TForm4::TForm4() {
  Name = "Form4";
  SetBounds(140, 60, 758, 724);
  SetCaption("Analiza pola przewodu dwuwarstwowego z prądem sinusoidalnie zmiennym");

  Image1 = new tk::TImage(this);
  Image1->Name = "Image1";
  Image1->SetBounds(0, 315, 750, 409);
  Image1->SetAlign(tk::alBottom);

  StringGrid1 = new tk::TStringGrid(this);
  StringGrid1->Name = "StringGrid1";
  StringGrid1->SetColCount(2);
  StringGrid1->SetRowCount(11);
  StringGrid1->SetFixedRows(0);
  StringGrid1->SetFixedCols(1);
  StringGrid1->SetColWidth(0, 310);
  StringGrid1->SetColWidth(1, 90);
  for (int row = 0; row < 11; ++row) StringGrid1->SetRowHeight(row, kWysokosci[row]);
  StringGrid1->SetScrollBars(tk::ssNone);
  StringGrid1->SetOptions(tk::kDefaultGridOptions | tk::goEditing);
  StringGrid1->SetFont(CzcionkaSiatki());
  StringGrid1->SetBounds(4, 4, 406, 280);

  Image2 = new tk::TImage(this);
  Image2->Name = "Image2";
  Image2->SetBounds(418, 4, 129, 125);

  Panel1 = new tk::TPanel(this);
  Panel1->Name = "Panel1";
  Panel1->SetBounds(556, 4, 194, 136);
  const char* napisy[4] = {"Pola elektryczne E(r)", "Pola magnetyczne Hf(r)", "Gęstość prądu  Jz(r)",
                           "Naskórkowość  Kn(f) "};
  tk::TBitBtn** przyciski[4] = {&BitBtn1, &BitBtn2, &BitBtn3, &BitBtn4};
  for (int i = 0; i < 4; ++i) {
    auto* b = new tk::TBitBtn(Panel1);
    b->Name = "BitBtn" + std::to_string(i + 1);
    b->SetBounds(6, 4 + 32 * i, 182, 28);
    b->SetCaption(napisy[i]);
    *przyciski[i] = b;
  }

  OnCreate = [this](tk::TObject* s) { FormCreate(s); };
  OnActivate = [this](tk::TObject* s) { FormActivate(s); };
  StringGrid1->OnExit = [this](tk::TObject* s) { StringGrid1Exit(s); };
  BitBtn1->OnClick = [this](tk::TObject* s) { BitBtn1Click(s); };
  BitBtn2->OnClick = [this](tk::TObject* s) { BitBtn2Click(s); };
  BitBtn3->OnClick = [this](tk::TObject* s) { BitBtn3Click(s); };
  BitBtn4->OnClick = [this](tk::TObject* s) { BitBtn4Click(s); };
  Image2->OnClick = [this](tk::TObject* s) { Image2Click(s); };
}

TForm4::~TForm4() {
  delete PolePrzeWar;
  PolePrzeWar = nullptr;
}

void TForm4::FormCreate(tk::TObject*) {
  for (int row = 0; row < 11; ++row) StringGrid1->SetCells(0, row, kEtykiety[row]);
  for (int row = 0; row < 8; ++row) StringGrid1->SetCells(1, row, kDomyslne[row]);
  // Placeholders only: every computation reads the grid first.
  PolePrzeWar = new TPolePrzeWar(Image1, 500, 50, 200, 1.0L, 8e6L, 34.8e6L, 15, 19, 200);
}

// Grid to field object, in SI units.
void TForm4::CzytajDane() {
  PolePrzeWar->I = StrToFloatZero(StringGrid1->Cells(1, 0));
  PolePrzeWar->f = StrToFloatZero(StringGrid1->Cells(1, 1));
  PolePrzeWar->mi1 = Przenikalnosc(StrToFloatZero(StringGrid1->Cells(1, 2)));
  PolePrzeWar->mi2 = Przenikalnosc(StrToFloatZero(StringGrid1->Cells(1, 3)));
  PolePrzeWar->gamma1 = StrToFloatZero(StringGrid1->Cells(1, 4)) * 1e6L;
  PolePrzeWar->gamma2 = StrToFloatZero(StringGrid1->Cells(1, 5)) * 1e6L;
  PolePrzeWar->r1 = StrToFloatZero(StringGrid1->Cells(1, 6)) / 1000;
  PolePrzeWar->r2 = StrToFloatZero(StringGrid1->Cells(1, 7)) / 1000;
}

void TForm4::Odswiez() {
  CzytajDane();
  PolePrzeWar->Oblicz();
  Extended v = PolePrzeWar->Rezystancja();
  tk::FpCheck();
  StringGrid1->SetCells(1, 8, FloatToStrSkal(v, 1e6L, 2));
  v = PolePrzeWar->Reaktancja();
  tk::FpCheck();
  StringGrid1->SetCells(1, 10, FloatToStrSkal(v, 1e6L, 2));
  v = PolePrzeWar->WspNaskorkowosci();
  tk::FpCheck();
  StringGrid1->SetCells(1, 9, FloatToStrSkal(v, 1, 4));
}

void TForm4::StringGrid1Exit(tk::TObject*) { Odswiez(); }

// The map area blanked to white with a black frame.
void TForm4::FormActivate(tk::TObject*) {
  tk::TCanvas& c = Image2->Canvas();
  c.Pen.Color = tk::clBlack;
  c.Brush.SetColor(tk::clWhite);
  c.Rectangle(0, 0, Image2->Width(), Image2->Height());
  Image2->Changed();
}

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
