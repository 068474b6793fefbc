#include "ferrant/PolePrzeWar.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>

#include "numerics/AlgMZes4.h"
#include "numerics/Bessel4.h"
#include "numerics/Stale4.h"
#include "numerics/Typy4.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

TPolePrzeWar::TPolePrzeWar(tk::TImage* obraz, Extended I_, Extended f_, Extended mi1_, Extended mi2_, Extended gamma1_,
                           Extended gamma2_, Extended r1_, Extended r2_, int32_t N_)
    : TModelPrzeWar(I_, f_, mi1_, mi2_, gamma1_, gamma2_, r1_, r2_), Obraz(obraz), N(N_) {
  Wykresy = std::make_unique<plot::TWykresy>(obraz, N, 3);
}

TPolePrzeWar::~TPolePrzeWar() = default;

void TPolePrzeWar::WykresRadialny(Wielkosc q, const char* jednostka, const char* prefiks, const char* kontynuacja,
                                  const char* tytul) {
  // From half the core radius to the surface.
  const Extended r0 = r1 / 2;
  const Extended krok = (r2 - r0) / N;
  Wykresy->FPodzialkaX = 5;  // kept for every later plot of this painter
  Wykresy->FPodzialkaY = 5;
  WykresTrzechCzestotliwosci(*this, jednostka, prefiks, kontynuacja, tytul, false, [&](int nr) {
    // Rounding may put the last point just above r2; it stands for r2.
    KrzywaRadialna(*this, q, nr, 0, [&](int32_t i) { return std::min(r0 + i * krok, r2); });
  });
}

void TPolePrzeWar::WykresE() {
  WykresRadialny(Wielkosc::E, " [mV/m]", "Ez(r)   f=", "        f=", " Rozkład pola elektrycznego wzdłuż promienia");
}

void TPolePrzeWar::WykresH() {
  WykresRadialny(Wielkosc::H, " [A/m]", "Hf(r)   f=", "        f=", " Rozkład pola magnetycznego wzdłuż promienia");
}

void TPolePrzeWar::WykresJ() {
  WykresRadialny(Wielkosc::J, " [A/mm2]", "Jz(r)   f=", "        f=", " Rozkład gęstości prądu wzdłuż promienia");
}

void TPolePrzeWar::WykresKn() { WykresKnPola(*this); }

}  // namespace ferrant
