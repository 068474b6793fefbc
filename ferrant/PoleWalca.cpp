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
    : I(I_), f(f_), mi(mi_), gamma(gamma_), R(R_), Obraz(obraz), N(N_) {
  num::SqrtZ(c, TZespol{0, -1});
  Wykresy = std::make_unique<plot::TWykresy>(obraz, N, 3);
}

TPoleWalca::~TPoleWalca() = default;

void TPoleWalca::Oblicz() {
  // A field keeps the value of the last step that did not fault: each check
  // comes before the store that would otherwise take an infinity or a NaN.
  const Extended Hs = I / (k2Pi * R);  // field strength at the surface
  const Extended w_ = k2Pi * f;
  tk::FpCheck();  // R = 0
  w = w_;
  const Extended k_ = std::sqrt(w * mi * gamma);
  tk::FpCheck();  // ωμγ < 0
  k = k_;
  m = num::FMulZR(c, k);
  const TZespol z = num::FMulZR(m, R);
  const TZespol jwm = num::FDivZ(TZespol{0, w * mi}, m);
  tk::FpCheck();  // m = 0: f, μ or γ is zero
  TZespol J0d;
  num::BesselJPoch(J0d, 0, z);
  // The plain reciprocal squares the modulus of J0', which overflows at half
  // the range of J0' itself (|mR| ≈ 8 030).
  const TZespol A_ = num::FMulZR(num::FOdwZSkal(J0d), Hs);
  const TZespol C_ = num::FMulZ(A_, jwm);
  tk::FpCheck();
  A = A_;
  C = C_;
}

TZespol TPoleWalca::NatezenieE(Extended r) const {
  TZespol J0;
  num::BesselJRek(J0, 0, num::FMulZR(m, r));
  const TZespol E = num::FMulZ(C, J0);
  tk::FpCheck();
  return E;
}

TZespol TPoleWalca::NatezenieH(Extended r) const {
  TZespol J0d;
  num::BesselJPoch(J0d, 0, num::FMulZR(m, r));
  const TZespol H = num::FMulZ(A, J0d);
  tk::FpCheck();
  return H;
}

TZespol TPoleWalca::GestoscJ(Extended r) const {
  const TZespol J = num::FMulZR(NatezenieE(r), gamma);
  tk::FpCheck();
  return J;
}

TZespol TPoleWalca::Impedancja() const {
  const TZespol Z = num::FDivZR(NatezenieE(R), I);
  tk::FpCheck();  // I = 0
  return Z;
}

Extended TPoleWalca::Rezystancja() const { return Impedancja().re; }

Extended TPoleWalca::Reaktancja() const { return Impedancja().im; }

Extended TPoleWalca::WspNaskorkowosci() const {
  // R' over the d.c. resistance 1/(γπR²).
  const Extended Kn = Rezystancja() * gamma * kPi * (R * R);
  tk::FpCheck();
  return Kn;
}

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
