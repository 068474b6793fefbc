#include "ferrant/PoleWalca.h"

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

TPoleWalca::TPoleWalca(tk::TImage* obraz, Extended I_, Extended f_, Extended mi_, Extended gamma_, Extended R_,
                       int32_t N_)
    : TModelWalca(I_, f_, mi_, gamma_, R_), Obraz(obraz), N(N_) {
  Wykresy = std::make_unique<plot::TWykresy>(obraz, N, 3);
}

TPoleWalca::~TPoleWalca() = default;

void TPoleWalca::WykresRadialny(Wielkosc q, const char* jednostka, const char* prefiks, const char* kontynuacja,
                                const char* tytul, bool obliczNajpierw) {
  // From the axis (r = 0) to the surface.
  const Extended krok = R / N;
  WykresTrzechCzestotliwosci(*this, jednostka, prefiks, kontynuacja, tytul, obliczNajpierw,
                             [&](int nr) { KrzywaRadialna(*this, q, nr, 0, [&](int32_t i) { return i * krok; }); });
}

void TPoleWalca::WykresE() {
  WykresRadialny(Wielkosc::E, " [mV/m]", "Ez(r)   f=", "        f=", " Rozkład pola elektrycznego wzdłuż promienia",
                 false);
}

void TPoleWalca::WykresH() {
  WykresRadialny(Wielkosc::H, " [A/m]", "Hf(r)   f=", "         f=", " Rozkład pola magnetycznego wzdłuż promienia",
                 true);
}

void TPoleWalca::WykresJ() {
  WykresRadialny(Wielkosc::J, " [A/mm2]", "Jz(r)   f=", "        f=", " Rozkład gęstosci prądu wzdłuż promienia",
                 false);
}

void TPoleWalca::WykresKn() { WykresKnPola(*this); }

}  // namespace ferrant
