#pragma once
// The plot procedures the three field classes share: a radial plot at f, 2f
// and 10f, and the skin coefficient against frequency.  Each class keeps its
// own sampling of the radius and its own texts; the frequency sequence, the
// painter settings and the display scales are common.
//
// Pole is a field class with public f, N, Wykresy and Oblicz, NatezenieE,
// NatezenieH, GestoscJ and WspNaskorkowosci.
#include <algorithm>
#include <cstdint>
#include <string>

#include "numerics/AlgeZes4.h"
#include "numerics/Typy4.h"
#include "plot/Wykresy4.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

// Curve names carry the frequency as a whole number of hertz.
inline std::string Hz(num::Extended x) { return num::FloatToStrSkal(x, 1, 0); }

// The quantity of a radial plot.
enum class Wielkosc { E, H, J };

// |quantity| at r on the display scale: mV/m, A/m and A/mm².
template <class Pole>
num::Extended WartoscNaWykresie(const Pole& pole, Wielkosc q, num::Extended r) {
  switch (q) {
    case Wielkosc::E: return num::ModZ(pole.NatezenieE(r)) * 1000;
    case Wielkosc::H: return num::ModZ(pole.NatezenieH(r)) * 1;
    case Wielkosc::J: return num::ModZ(pole.GestoscJ(r)) * 1e-6L;
  }
  return 0;
}

// Points od..N of curve nr at the radii promien(i), with the present
// constants; curve 1 also writes the radii (in mm) as X.
template <class Pole, class Promien>
void KrzywaRadialna(Pole& pole, Wielkosc q, int nr, int32_t od, Promien promien) {
  plot::TWykresy& p = *pole.Wykresy;
  for (int32_t i = od; i <= pole.N; ++i) {
    const num::Extended r = promien(i);
    if (nr == 1) p.FWek[0].Wek[i] = r * 1000;
    p.FWek[nr].Wek[i] = WartoscNaWykresie(pole, q, r);
  }
}

// Three curves against the radius: krzywa(nr) fills curve nr with the
// constants of f, 2f and 10f in turn.  f is restored afterwards, while the
// constants stay those of 10·f.  obliczNajpierw: the constants of f are
// computed first; otherwise curve 1 uses those of the last computation.
template <class Pole, class Krzywa>
void WykresTrzechCzestotliwosci(Pole& pole, const char* jednostka, const char* prefiks, const char* kontynuacja,
                                const char* tytul, bool obliczNajpierw, Krzywa krzywa) {
  const num::Extended f0 = pole.f;
  if (obliczNajpierw) pole.Oblicz();

  plot::TWykresy& p = *pole.Wykresy;
  p.FOstatniPunkt = pole.N;
  p.FLiczbaKrzywych = 3;
  p.FWek[0].Jednostka.Tekst = "[mm]";
  p.FWek[0].Nazwa.Tekst = "r";
  p.FWek[1].Jednostka.Tekst = jednostka;
  p.FWek[1].Nazwa.Tekst = prefiks + Hz(f0) + " [Hz]";
  p.FWek[2].Nazwa.Tekst = kontynuacja + Hz(2 * f0) + " [Hz]";
  p.FWek[3].Nazwa.Tekst = kontynuacja + Hz(10 * f0) + " [Hz]";
  p.FTytul = tytul;

  krzywa(1);
  pole.f = 2 * f0;
  pole.Oblicz();
  krzywa(2);
  pole.f = 10 * f0;
  pole.Oblicz();
  krzywa(3);
  pole.f = f0;
  tk::FpCheck();

  const int32_t kod = p.WykresXY();
  if (kod != 0) p.BladWykresy(kod);
}

// Kn from 0 to 1 kHz in steps of 10 Hz.  Points up to N are computed (f ends
// at N·10 Hz), but a painter made for fewer than 100 points is not read beyond
// its last one.  A two-layer point whose system is singular shows the
// solver's message and takes Kn from the last solution.
template <class Pole>
void WykresKnPola(Pole& pole) {
  plot::TWykresy& p = *pole.Wykresy;
  p.FOstatniPunkt = std::min<int32_t>(100, pole.N);
  p.FLiczbaKrzywych = 1;
  p.FWek[0].Jednostka.Tekst = "[kHz]";
  p.FWek[0].Nazwa.Tekst = "f";
  p.FWek[1].Jednostka.Tekst = " ";
  p.FWek[1].Nazwa.Tekst = " Kn(f)";
  p.FTytul = " Współczynnik naskórkowości";
  p.FWek[0].Wek[0] = 0;
  p.FWek[1].Wek[0] = 1.0L;  // Kn = 1 at d.c.
  for (int32_t i = 1; i <= pole.N; ++i) {
    pole.f = static_cast<num::Extended>(i) * 10;
    p.FWek[0].Wek[i] = pole.f * 0.001L;
    pole.Oblicz();
    p.FWek[1].Wek[i] = pole.WspNaskorkowosci();
  }
  const int32_t kod = p.WykresXY();
  if (kod != 0) p.BladWykresy(kod);
}

}  // namespace ferrant
