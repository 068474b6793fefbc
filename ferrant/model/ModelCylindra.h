#pragma once
// Field of a tubular conductor: a hollow cylinder between r1 and r2 with no
// current and no field in the hole.
//
// The wall field combines J0 and the Hankel function of the second kind H2_0:
// Ez(r) = (jωμ/m)·(A·J0(m·r) + B·H2_0(m·r)), Hφ(r) = A·J0'(m·r) + B·H2_0'(m·r),
// m = √(−j)·√(ωμγ); A and B follow from Hφ(r1) = 0 and Hφ(r2) = I/(2πr2).
//
// Names of the fields against the symbols of the physics:
//   I  current (r.m.s.)   f  frequency     w  ω = 2πf      mi  μ
//   gamma γ               r1, r2 radii     k  √(ωμγ)       m   c·k
//   c  √(−j)              A, B coefficients of J0', H2_0' in Hφ
//   Ae, Be  A·jωμ/m, B·jωμ/m, coefficients of J0 and H2_0 in Ez
// The inputs are public; the evaluations use the constants of the last Oblicz
// with the inputs as they stand.
//
// Accuracy: largest relative errors against 40-digit values
// (ferrant/model/tests/data), |m·r2| to 16 000:
//   2 696 standard tubes, 10 Hz to 2 kHz    R', Kn 2.5e-17, X' 3e-15 (thin
//                                           walls at 10 Hz, where X' is far
//                                           below R')
//   471 thick walls, r1/r2 to 0.01,         R', X' 4e-19, Kn 1e-18,
//   10 Hz to 1 MHz, μr to 1000              |E| mid-wall 9.4e-16, Hφ(r2) 2e-19
// X' of a thin wall is a small difference of large Bessel products: its
// relative error grows as the wall thins, 1e-10 at a wall of 1e-2 of the
// radius, 1e-5 at 1e-4, all digits at 1e-6 (copper, 10 mm, 50 Hz and 1 kHz);
// R' and Kn keep 5e-15 at 1e-4 and 1e-12 at 1e-6 of the radius.
#include <cstdint>

#include "numerics/AlgeZes4.h"

namespace ferrant {

using num::Extended;
using num::TZespol;

class TModelCylindra {
 public:
  TModelCylindra(Extended I, Extended f, Extended mi, Extended gamma, Extended r1, Extended r2);
  ~TModelCylindra();
  TModelCylindra(const TModelCylindra&) = delete;
  TModelCylindra& operator=(const TModelCylindra&) = delete;

  // ω, k, m, A, B, Ae and Be from the inputs.
  void Oblicz();

  TZespol NatezenieE(Extended r) const;  // Ez(r) [V/m]
  TZespol NatezenieH(Extended r) const;  // Hφ(r) [A/m]
  TZespol GestoscJ(Extended r) const;    // Jz(r) [A/m²]
  TZespol Impedancja() const;            // internal impedance per metre [Ω/m]
  Extended Rezystancja() const;          // R' [Ω/m]
  Extended Reaktancja() const;           // X' [Ω/m]
  Extended WspNaskorkowosci() const;     // Kn = R' / R'dc of the wall

  Extended I = 0;
  Extended f = 0;
  Extended w = 0;
  Extended mi = 0;
  Extended gamma = 0;
  Extended r1 = 0;
  Extended r2 = 0;
  Extended k = 0;
  TZespol m{0, 0};
  TZespol c{0, 0};
  TZespol A{0, 0};
  TZespol B{0, 0};
  TZespol Ae{0, 0};
  TZespol Be{0, 0};
};

}  // namespace ferrant
