#include "ferrant/PoleWalca.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "numerics/Bessel4.h"
#include "numerics/Typy4.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

namespace {

constexpr Extended kPi = 3.141592653589793238462643383279502884L;
constexpr Extended k2Pi = 2 * kPi;

// Curve names carry the frequency as a whole number of hertz.
std::string Hz(Extended x) { return num::FloatToStrSkal(x, 1, 0); }

}  // namespace

TPoleWalca::TPoleWalca(tk::TImage* obraz, Extended I_, Extended f_, Extended mi_, Extended gamma_,
                       Extended R_, int32_t N_)
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
  const TZespol A_ = num::FMulZR(num::FOdwZ(J0d), Hs);
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

void TPoleWalca::WykresRadialny(Wielkosc q, const char* jednostka, const char* prefiks,
                                const char* kontynuacja, const char* tytul, bool obliczNajpierw) {
  const Extended krok = R / N;
  const Extended f0 = f;
  if (obliczNajpierw) Oblicz();

  plot::TWykresy& p = *Wykresy;
  p.FOstatniPunkt = N;
  p.FLiczbaKrzywych = 3;
  p.FWek[0].Jednostka.Tekst = "[mm]";
  p.FWek[0].Nazwa.Tekst = "r";
  p.FWek[1].Jednostka.Tekst = jednostka;
  p.FWek[1].Nazwa.Tekst = prefiks + Hz(f0) + " [Hz]";
  p.FWek[2].Nazwa.Tekst = kontynuacja + Hz(2 * f0) + " [Hz]";
  p.FWek[3].Nazwa.Tekst = kontynuacja + Hz(10 * f0) + " [Hz]";
  p.FTytul = tytul;

  // From the axis (r = 0) to the surface; the display scale gives mV/m, A/m
  // and A/mm².
  auto krzywa = [&](int nr) {
    for (int32_t i = 0; i <= N; ++i) {
      const Extended r = i * krok;
      if (nr == 1) p.FWek[0].Wek[i] = r * 1000;
      switch (q) {
        case Wielkosc::E: p.FWek[nr].Wek[i] = num::ModZ(NatezenieE(r)) * 1000; break;
        case Wielkosc::H: p.FWek[nr].Wek[i] = num::ModZ(NatezenieH(r)) * 1; break;
        case Wielkosc::J: p.FWek[nr].Wek[i] = num::ModZ(GestoscJ(r)) * 1e-6L; break;
      }
    }
  };
  krzywa(1);
  f = 2 * f0;
  Oblicz();
  krzywa(2);
  f = 10 * f0;
  Oblicz();
  krzywa(3);
  f = f0;  // the constants stay those of 10·f
  tk::FpCheck();

  const int32_t kod = p.WykresXY();
  if (kod != 0) p.BladWykresy(kod);
}

void TPoleWalca::WykresE() {
  WykresRadialny(Wielkosc::E, " [mV/m]", "Ez(r)   f=", "        f=",
                 " Rozkład pola elektrycznego wzdłuż promienia", false);
}

void TPoleWalca::WykresH() {
  WykresRadialny(Wielkosc::H, " [A/m]", "Hf(r)   f=", "         f=",
                 " Rozkład pola magnetycznego wzdłuż promienia", true);
}

void TPoleWalca::WykresJ() {
  WykresRadialny(Wielkosc::J, " [A/mm2]", "Jz(r)   f=", "        f=",
                 " Rozkład gęstosci prądu wzdłuż promienia", false);
}

void TPoleWalca::WykresKn() {
  plot::TWykresy& p = *Wykresy;
  // The plot shows 0 to 1 kHz; a painter made for fewer points is not read
  // beyond its last one.
  p.FOstatniPunkt = std::min<int32_t>(100, N);
  p.FLiczbaKrzywych = 1;
  p.FWek[0].Jednostka.Tekst = "[kHz]";
  p.FWek[0].Nazwa.Tekst = "f";
  p.FWek[1].Jednostka.Tekst = " ";
  p.FWek[1].Nazwa.Tekst = " Kn(f)";
  p.FTytul = " Współczynnik naskórkowości";
  p.FWek[0].Wek[0] = 0;
  p.FWek[1].Wek[0] = 1.0L;  // Kn = 1 at d.c.
  for (int32_t i = 1; i <= N; ++i) {
    f = static_cast<Extended>(i) * 10;
    p.FWek[0].Wek[i] = f * 0.001L;
    Oblicz();
    p.FWek[1].Wek[i] = WspNaskorkowosci();
  }
  const int32_t kod = p.WykresXY();
  if (kod != 0) p.BladWykresy(kod);
}

}  // namespace ferrant
