#pragma once
// The screened two-core cable's line-charge model.
//
// The screen is a grounded circle of radius R about the origin; the two cores
// of radius r0 sit at (-d, 0) and (+d, 0).  Each core is replaced by one line
// charge inside it and an image charge outside the screen, the pair placed so
// that the screen circle is an equipotential of it.  The charges are fixed by
// the core potentials at the points (-(d + r0), 0) and (d + r0, 0).
#include <memory>

#include "linalg/Macierze4F.h"

namespace bifilon {

using num::Extended;

// The last inputs read and what the model made of them; the window owns one,
// so that nothing outlives it.
class TModelKabla {
 public:
  Extended R = 0, r0 = 0, d = 0, er = 0, L = 0, V1 = 0, V2 = 0;  // m, m, m, -, m, V, V
  Extended c = 0, s = 0, e = 0;                                  // line-charge geometry, m
  // Line charges divided by 2π·ε0·εr, in volts; 0 until the first inversion.
  Extended q1 = 0, q2 = 0;
  // The 2×2 potential coefficients, inverted in place by ObliczLadunki; the
  // window's FormCreate makes it and its FormClose frees it.
  std::unique_ptr<linalg::TMacierzF> P;

  // c, s and e from R, r0 and d.
  void WyznaczGeometrie();
  // Fills P, inverts it and sets q1, q2; on an inversion failure shows the
  // module's message and keeps the previous charges.
  void ObliczLadunki();
  // Potential at (x, y) [m], in V; the screen is at 0.
  Extended Potencjal(Extended x, Extended y) const;
  // Field -grad V at (x, y) [m]: components and modulus in V/m.
  void Natezenie(Extended x, Extended y, Extended& Ex, Extended& Ey, Extended& E) const;
};

}  // namespace bifilon
