#pragma once
// The XY line-plot painter: one X vector, K curves over it, labels, title and
// tick settings, drawn into a picture area's recorded picture.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "numerics/AlgeZes4.h"
#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"

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
};

// Routines of the unit (exposed for tests).
int32_t Wykladnik(Extended x);
Extended Zaokraglij(int32_t a, int32_t i, Extended x);
void ZerujMale(Extended& v, Extended span);
void KrokPodzialki(Extended span, int32_t n, Extended& step, int32_t& b);
std::string OpisPodzialki(int32_t e, int32_t d, Extended v);

}  // namespace plot
