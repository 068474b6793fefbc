#pragma once
// The XY line-plot painter: one X vector, K curves over it, labels, title and
// tick settings, drawn into a picture area's recorded picture.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "numerics/AlgeZes4.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/pictures/Graphics.h"

namespace plot {

using num::Extended;
using WekI = std::vector<Extended>;

struct TPolOpis {
  std::string Tekst;
  int32_t Dx = 0;
  int32_t Dy = 0;
};

struct ParametryWykresu {
  tk::TFont Czcionka;
  tk::TPen Pioro;
  TPolOpis Jednostka;
  TPolOpis Nazwa;
  WekI Wek;
};
using TWekDan = std::vector<ParametryWykresu>;

// The fit of one axis: data ends, tick step and counts, rounded ends and range.
struct TOsWykresu {
  Extended min = 0, max = 0, span = 0;  // data ends (small ends zeroed) and span
  int32_t n = 4;                        // tick granularity
  Extended step = 0;                    // tick step; after the fit (hi - lo) / (r + s)
  int32_t b = 0;                        // tick exponent
  int32_t e = 0;                        // label exponent
  char przypadek = ' ';                 // 'A' both signs, 'B' non-negative, 'C' non-positive
  int32_t proba = -1;                   // accepted trial 0..5, -1 when none (trial 5 stands)
  Extended lo = 0, hi = 0;              // rounded ends
  int32_t r = 0, s = 0;                 // ticks above and below the crossing value
  Extended c = 0;                       // crossing value
  Extended amin = 0, amax = 0;          // axis range
  Extended scale = 0;                   // pixels per unit
};

// Where one plot stands in the picture (pixels; y grows downwards).
struct TGeometriaWykresu {
  TOsWykresu X, Y;
  int32_t yb = 0;  // lowest y of the Y axis and of a curve
  int32_t u = 0;   // y of the Y range's minimum
  int32_t A = 0;   // y of the Y range's maximum
  int32_t T = 0;   // y of the Y axis tip
  int32_t q = 0;   // x of the X range's maximum
  int32_t p = 0;   // x of the X range's minimum
  int32_t C = 0;   // left end of the X axis and leftmost x of a curve
  int32_t X0 = 0;  // x of the Y axis
  int32_t Y0 = 0;  // y of the X axis
};

extern const char* const BledyWykresy4[5];  // messages 1..5 at indices 0..4
extern const char* const kCaptionWykresy4;  // "Błędy w module Wykresy4"

class TWykresy {
 public:
  TWykresy(tk::TImage* obraz, int32_t ostatniPunkt, int32_t liczbaKrzywych);
  ~TWykresy();
  TWykresy(const TWykresy&) = delete;
  TWykresy& operator=(const TWykresy&) = delete;

  // 0 when drawn, 1..4 when the data check refused the data (nothing drawn).
  int32_t WykresXY();
  void BladWykresy(int32_t kod);
  // The axis fit that WykresXY draws with, from the current data (which must
  // pass the data check).  A zero span raises the floating-point division error.
  TGeometriaWykresu Geometria() const;

  int32_t FOstatniPunkt;
  int32_t FLiczbaKrzywych;
  TWekDan FWek;
  std::string FWykladnikX;
  std::string FWykladnikY;
  int32_t FMnoznikXdx = 60;
  int32_t FMnoznikXdy = 0;
  int32_t FMnoznikYdx = -50;
  int32_t FMnoznikYdy = 30;
  int32_t FSzerokosc;
  int32_t FWysokosc;
  int32_t FPodzialkaX = 4;
  int32_t FPodzialkaY = 4;
  int32_t FMiejscaX = 2;
  int32_t FMiejscaY = 2;
  tk::TColor FKolory[11];
  std::string FTytul;
  tk::TFont FCzcionkaTytulu;
  tk::TImage* FObraz;

 private:
  int32_t SprawdzDane() const;
  // Raises an error naming the axis whose tick granularity is not positive.
  void SprawdzPodzialki() const;
};

// Routines of the unit (exposed for tests).
int32_t Wykladnik(Extended x);
Extended Zaokraglij(int32_t a, int32_t i, Extended x);
void ZerujMale(Extended& v, Extended span);
void KrokPodzialki(Extended span, int32_t n, Extended& step, int32_t& b);
std::string OpisPodzialki(int32_t e, int32_t d, Extended v);
// Nearest integer, halves to even.
int64_t Round(Extended x);

}  // namespace plot
