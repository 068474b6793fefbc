#include "ferrant/PoleCylindra.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "numerics/Bessel4.h"
#include "numerics/Stale4.h"
#include "numerics/Typy4.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

using num::k2Pi;
using num::kPi;

TPoleCylindra::TPoleCylindra(tk::TImage* obraz, Extended I_, Extended f_, Extended mi_, Extended gamma_, Extended r1_,
                             Extended r2_, int32_t N_)
    : TModelCylindra(I_, f_, mi_, gamma_, r1_, r2_), Obraz(obraz), N(N_) {
  Wykresy = std::make_unique<plot::TWykresy>(obraz, N, 3);
}

TPoleCylindra::~TPoleCylindra() = default;

// One curve of a radial plot.  E and H begin with a level stretch from 0.8·r1
// to r1 at the value of r1; J begins with a zero stretch there and rises at r1,
// since the hole carries no current.
void TPoleCylindra::Krzywa(int nr, Wielkosc q) {
  plot::TWykresy& p = *Wykresy;
  const bool zapiszX = nr == 1;
  if (q == Wielkosc::J) {
    const Extended krok = (r2 - r1) / (N - 2);
    if (zapiszX) {
      p.FWek[0].Wek[0] = 0.8L * r1 * 1000;
      p.FWek[0].Wek[1] = r1 * 1000;
    }
    p.FWek[nr].Wek[0] = 0;
    p.FWek[nr].Wek[1] = 0;
    KrzywaRadialna(*this, q, nr, 2, [&](int32_t i) { return r1 + (i - 2) * krok; });
  } else {
    const Extended krok = (r2 - r1) / (N - 1);
    if (zapiszX) p.FWek[0].Wek[0] = 0.8L * r1 * 1000;
    p.FWek[nr].Wek[0] = WartoscNaWykresie(*this, q, r1);
    KrzywaRadialna(*this, q, nr, 1, [&](int32_t i) { return r1 + (i - 1) * krok; });
  }
}

void TPoleCylindra::WykresRadialny(Wielkosc q, const char* jednostka, const char* prefiks, const char* kontynuacja,
                                   const char* tytul) {
  WykresTrzechCzestotliwosci(*this, jednostka, prefiks, kontynuacja, tytul, false, [&](int nr) { Krzywa(nr, q); });
}

void TPoleCylindra::WykresE() {
  WykresRadialny(Wielkosc::E, " [mV/m]", "Ez(r)   f=", "        f=", " Rozkład pola elektrycznego wzdłuż promienia");
}

void TPoleCylindra::WykresH() {
  WykresRadialny(Wielkosc::H, " [A/m]", "Hf(r)   f=", "        f=", " Rozkład pola magnetycznego wzdłuż promienia");
}

void TPoleCylindra::WykresJ() {
  WykresRadialny(Wielkosc::J, " [A/mm2]", "Jz(r)   f=", "        f=", " Rozkład gęstości prądu wzdłuż promienia");
}

void TPoleCylindra::WykresJ1f() {
  // Jz across the wall at the present f and constants; nothing is recomputed.
  plot::TWykresy& p = *Wykresy;
  p.FOstatniPunkt = N;
  p.FLiczbaKrzywych = 1;
  p.FWek[0].Jednostka.Tekst = "[mm]";
  p.FWek[0].Nazwa.Tekst = "r";
  p.FWek[1].Jednostka.Tekst = " [A/mm2]";
  p.FWek[1].Nazwa.Tekst = "Jz(r)   f=" + Hz(f) + " [Hz]";
  p.FTytul = " Rozkład gęstości prądu wzdłuż promienia";
  p.FMiejscaX = 3;  // kept for every later plot of this painter
  p.FMiejscaY = 1;
  const Extended krok = (r2 - r1) / N;
  KrzywaRadialna(*this, Wielkosc::J, 1, 0, [&](int32_t i) { return r1 + i * krok; });
  tk::FpCheck();
  const int32_t kod = p.WykresXY();
  if (kod != 0) p.BladWykresy(kod);
}

void TPoleCylindra::WykresKn() { WykresKnPola(*this); }

}  // namespace ferrant
