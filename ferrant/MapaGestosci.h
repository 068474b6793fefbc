#pragma once
// The current density over a conductor's cross-section, painted ring by ring
// into a window's small picture: red = |J(r)| / |J(Ro)| on a scale of 255
// (the two-layer map lifts zero density to 100, so that the core stays
// visible as dark red).  The map evaluates the field object as the last
// computation left it; it never computes anew.
#include <cmath>

#include "numerics/AlgeZes4.h"
#include "numerics/Stale4.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

using num::kPi;

// The map picture is 120 x 120 pixels; the bitmap follows the picture's new
// size, so that no ring falls outside it.
inline void UstawRozmiarMapy(tk::TImage& obraz) {
  obraz.SetWidth(120);
  obraz.SetHeight(obraz.Width());
  if (tk::TBitmap* b = obraz.Bitmap()) b->SetSize(obraz.Width(), obraz.Height());
}

// Ro: outer radius; r1: inner radius of the wall (0 for the solid conductor);
// odOtworu: the first ring is the hole's edge (tube); dwuwarstwowa: the level
// runs from 100 to 255.
template <class Pole>
void RysujMapeGestosci(tk::TImage& obraz, const Pole& pole, num::Extended Ro, num::Extended r1, num::Extended I,
                       bool odOtworu, bool dwuwarstwowa) {
  using num::Extended;
  const Extended dfi = 2 * kPi / 720;
  const int c = static_cast<int>(std::trunc(obraz.Width() / 2.0));
  const int g = c - 2;
  const Extended skala = g / Ro;  // pixels per metre
  tk::FpCheck();
  int p0 = 0;
  if (odOtworu) {
    Extended t = std::trunc(r1 * skala);
    tk::FpCheck();
    if (t > g + 1) t = g + 1;  // a hole wider than the tube: no ring at all
    if (t < -(g + 1)) t = -(g + 1);
    p0 = static_cast<int>(t);
  }
  const Extended Jdc = I / (kPi * (Ro * Ro - r1 * r1));  // mean (d.c.) current density
  const Extended q = num::ModZ(num::FDivZR(pole.GestoscJ(Ro), Jdc));
  const Extended s = (dwuwarstwowa ? 155 : 255) / q;
  tk::FpCheck();

  // The angles are the same on every ring: their cosines and sines are taken
  // once per map instead of once per pixel (the extended-precision sine and
  // cosine dominate the map's time otherwise).
  Extended kos[721], sinus[721];
  for (int L = 0; L <= 720; ++L) {
    const Extended fi = L * dfi;
    kos[L] = std::cos(fi);
    sinus[L] = std::sin(fi);
  }

  tk::TCanvas& kanwa = obraz.Canvas();
  for (int p = p0; p <= g; ++p) {
    // A hole narrower than a pixel puts the first ring at r = 0, in the hole,
    // where the wall's Y and H2 terms are singular: the hole keeps what the
    // picture showed.
    if (odOtworu && p == 0) continue;
    Extended r = p / skala;
    if (r > Ro) r = Ro;  // the outer ring stands for the surface itself
    const Extended v = num::ModZ(num::FDivZR(pole.GestoscJ(r), Jdc));
    Extended poziom = std::trunc(v * s) + (dwuwarstwowa ? 100 : 0);
    tk::FpCheck();
    // A core that conducts better than the layer can exceed the surface density.
    if (poziom > 255) poziom = 255;
    if (poziom < 0) poziom = 0;
    const tk::TColor kolor = tk::RGBColor(static_cast<int>(poziom), 0, 0);
    for (int L = 0; L <= 720; ++L) {
      const int x = static_cast<int>(std::trunc(kos[L] * p)) + c;
      const int y = static_cast<int>(std::trunc(sinus[L] * p)) + c;
      kanwa.SetPixel(x, y, kolor);
    }
  }
  obraz.Changed();
}

}  // namespace ferrant
