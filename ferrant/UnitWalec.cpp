#include "ferrant/UnitWalec.h"

#include "ferrant/MapaGestosci.h"
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

tk::TFont CzcionkaSiatki() {
  tk::TFont f;
  f.Name = "MS Sans Serif";
  f.Height = -11;
  f.Style = tk::fsBold;
  return f;
}

const char* const kEtykiety[8] = {
    "Wartość skuteczna prądu w [A] ",
    "Częstotliwość prądu w [Hz] ",
    "Przenikalność magnetyczna względna",
    "Konduktywność właściwa[MegaSimens/Metr] ",
    "Promień przewodu w [MiliMetr] ",
    "Rezystancja jednostkowa w [mikrOm/Metr]",
    "Współczynnik naskórkowości Kn",
    "Reaktancja jednostkowa w [mikrOm/Metr]",
};
const char* const kDomyslne[5] = {"1000", "50", " 1.0 ", "55,0", "50"};

}  // namespace

TForm2::TForm2() {
  Name = "Form2";
  SetBounds(0, 0, 711, 708);
  SetPosition(tk::poScreenCenter);
  SetCaption("Przewód walcowy z prądem sinusoidalnie zmiennym");

  StringGrid1 = new tk::TStringGrid(this);
  StringGrid1->Name = "StringGrid1";
  StringGrid1->SetColCount(2);
  StringGrid1->SetRowCount(8);
  StringGrid1->SetFixedRows(0);
  StringGrid1->SetFixedCols(1);
  StringGrid1->SetColWidth(0, 310);
  StringGrid1->SetColWidth(1, 102);
  StringGrid1->SetDefaultRowHeight(20);
  StringGrid1->SetScrollBars(tk::ssNone);
  StringGrid1->SetOptions(tk::kDefaultGridOptions | tk::goEditing);
  StringGrid1->SetFont(CzcionkaSiatki());
  StringGrid1->SetBounds(8, 8, 418, 172);

  Image2 = new tk::TImage(this);
  Image2->Name = "Image2";
  Image2->SetBounds(440, 8, 127, 116);

  Panel1 = new tk::TPanel(this);
  Panel1->Name = "Panel1";
  Panel1->SetBounds(576, 8, 124, 140);
  const char* napisy[4] = {"Wykres E(r)", "Wykres J(r)", "Wykres H(r)", "Wykres Kn(f)"};
  tk::TBitBtn** przyciski[4] = {&BitBtn1, &BitBtn2, &BitBtn3, &BitBtn4};
  for (int i = 0; i < 4; ++i) {
    auto* b = new tk::TBitBtn(Panel1);
    b->Name = "BitBtn" + std::to_string(i + 1);
    b->SetBounds(8, 8 + 32 * i, 108, 28);
    b->SetCaption(napisy[i]);
    *przyciski[i] = b;
  }

  Image1 = new tk::TImage(this);
  Image1->Name = "Image1";
  Image1->SetBounds(23, 190, 649, 401);

  OnCreate = [this](tk::TObject* s) { FormCreate(s); };
  OnShow = [this](tk::TObject* s) { FormShow(s); };
  OnActivate = [this](tk::TObject* s) { FormActivate(s); };
  BitBtn1->OnClick = [this](tk::TObject* s) { BitBtn1Click(s); };
  BitBtn2->OnClick = [this](tk::TObject* s) { BitBtn2Click(s); };
  BitBtn3->OnClick = [this](tk::TObject* s) { BitBtn3Click(s); };
  BitBtn4->OnClick = [this](tk::TObject* s) { BitBtn4Click(s); };
  Image2->OnClick = [this](tk::TObject* s) { Image2Click(s); };
}

TForm2::~TForm2() {
  delete PoleWalca;
  PoleWalca = nullptr;
}

void TForm2::FormCreate(tk::TObject*) {
  for (int row : {0, 1, 2, 3, 4, 5, 7, 6}) StringGrid1->SetCells(0, row, kEtykiety[row]);
  for (int row = 0; row < 5; ++row) StringGrid1->SetCells(1, row, kDomyslne[row]);
  // Placeholders only: every computation reads the grid first.
  PoleWalca = new TPoleWalca(Image1, 100, 50, 1.0L, 55e6L, 20, 200);
}

// Grid to field object, in SI units.
void TForm2::CzytajDane() {
  PoleWalca->I = StrToFloatZero(StringGrid1->Cells(1, 0));
  PoleWalca->f = StrToFloatZero(StringGrid1->Cells(1, 1));
  PoleWalca->mi = StrToFloatZero(StringGrid1->Cells(1, 2)) * 4.0L * kPi * 1e-7L;
  PoleWalca->gamma = StrToFloatZero(StringGrid1->Cells(1, 3)) * 1e6L;
  PoleWalca->R = StrToFloatZero(StringGrid1->Cells(1, 4)) / 1000;
}

void TForm2::Odswiez() {
  CzytajDane();
  PoleWalca->Oblicz();
  Extended v = PoleWalca->Rezystancja();
  tk::FpCheck();
  StringGrid1->SetCells(1, 5, FloatToStrSkal(v, 1e6L, 2));
  v = PoleWalca->Reaktancja();
  tk::FpCheck();
  StringGrid1->SetCells(1, 7, FloatToStrSkal(v, 1e6L, 2));
  v = PoleWalca->WspNaskorkowosci();
  tk::FpCheck();
  StringGrid1->SetCells(1, 6, FloatToStrSkal(v, 1, 4));
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
