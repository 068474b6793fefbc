#pragma once
// What the three conductor windows share: the input grid (font, layout,
// label and default columns), the column of plot buttons, the framed map
// area, the permeability conversion and the writing of R', X' and Kn.  Each
// window keeps its own texts, sizes and rows.
#include <functional>
#include <initializer_list>

#include "ferrant/MapaGestosci.h"
#include "numerics/Typy4.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/grids/Grids.h"

namespace ferrant {

// A window's handler as an event of one of its controls.
template <class Okno>
tk::TNotifyEvent Obsluga(Okno* okno, void (Okno::*metoda)(tk::TObject*)) {
  return [okno, metoda](tk::TObject* s) { (okno->*metoda)(s); };
}

// Relative permeability to H/m, multiplied in this order: wzgledna * kMi0
// would round differently and move the last bits of every result.
inline num::Extended Przenikalnosc(num::Extended wzgledna) { return wzgledna * 4.0L * kPi * 1e-7L; }

// The grids' bold 'MS Sans Serif'.
tk::TFont CzcionkaSiatki();

// "StringGrid1": 2 columns of `wiersze` rows, column 0 fixed for the labels,
// column 1 editable (inputs and outputs alike), no scroll bars.  `wymiary`
// sets the window's own column widths and row heights.
tk::TStringGrid* UtworzSiatkeDanych(tk::TWinControl* okno, int wiersze,
                                    const std::function<void(tk::TStringGrid&)>& wymiary, int x, int y, int szerokosc,
                                    int wysokosc);

// Writes teksty[w] into row w of the column, for the rows in the order given.
void WpiszKolumne(tk::TStringGrid& siatka, int kolumna, const char* const* teksty, std::initializer_list<int> wiersze);

struct Przycisk {
  tk::TBitBtn** kontrolka;
  const char* nazwa;
  const char* napis;
  tk::TNotifyEvent klik;
};

// A column of buttons on the panel, each with its click handler: the first at
// (x, y), each next one krok lower.
void UtworzPrzyciski(tk::TPanel* panel, std::initializer_list<Przycisk> przyciski, int x, int y, int krok,
                     int szerokosc, int wysokosc);

// The map area blanked to white with a black frame.
void ObramujMape(tk::TImage& mapa);

// R' and X' in µΩ/m and Kn into their rows of column 1, each as soon as it is
// computed; returns R'.
template <class Pole>
num::Extended WpiszWyniki(tk::TStringGrid& siatka, const Pole& pole, int wierszR, int wierszX, int wierszKn) {
  const num::Extended R = pole.Rezystancja();
  tk::FpCheck();
  siatka.SetCells(1, wierszR, num::FloatToStrSkal(R, 1e6L, 2));
  num::Extended v = pole.Reaktancja();
  tk::FpCheck();
  siatka.SetCells(1, wierszX, num::FloatToStrSkal(v, 1e6L, 2));
  v = pole.WspNaskorkowosci();
  tk::FpCheck();
  siatka.SetCells(1, wierszKn, num::FloatToStrSkal(v, 1, 4));
  return R;
}

}  // namespace ferrant
