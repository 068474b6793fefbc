#pragma once
// Field of a solid round conductor carrying a sinusoidal current (skin effect).
//
// Ez(r) = C·J0(m·r), Hφ(r) = A·J0'(m·r), with the complex wave number
// m = √(−j)·√(ωμγ); A follows from Hφ(R) = I/(2πR) and C = A·jωμ/m, so that
// Hφ = (1/(jωμ))·dEz/dr.  SI units throughout: A, Hz, H/m, S/m, m.
//
// Names of the fields against the symbols of the physics:
//   I  current (r.m.s.)      f  frequency          w  ω = 2πf
//   mi μ, permeability       gamma γ, conductivity R  radius
//   k  √(ωμγ)                m  c·k                c  √(−j)
//   A  coefficient of Hφ     C  coefficient of Ez
// The inputs are public: the window writes them before every action, and the
// plot routines change f and compute again.  The evaluations never call
// Oblicz; they combine the constants of the last Oblicz with the inputs as
// they stand.
//
// Accuracy: largest relative errors against 40-digit values
// (ferrant/model/tests/data), |m·R| to 16 000:
//   1 177 standard conductors, 10 Hz to 2 kHz   R', Kn 5.4e-18, X' 1.5e-15
//                                               (0.69 mm, 8 MS/m, 10 Hz,
//                                               where X' is 4e-5 of R')
//   95 conductors, 10 Hz to 1 MHz, μr to 1000   R', X', Kn 4.1e-19
#include <cstdint>

#include "numerics/AlgeZes4.h"

namespace ferrant {

using num::Extended;
using num::TZespol;

class TModelWalca {
 public:
  TModelWalca(Extended I, Extended f, Extended mi, Extended gamma, Extended R);
  ~TModelWalca();
  TModelWalca(const TModelWalca&) = delete;
  TModelWalca& operator=(const TModelWalca&) = delete;

  // ω, k, m, A and C from the inputs.
  void Oblicz();

  TZespol NatezenieE(Extended r) const;  // Ez(r) [V/m]
  TZespol NatezenieH(Extended r) const;  // Hφ(r) [A/m]
  TZespol GestoscJ(Extended r) const;    // Jz(r) [A/m²]
  TZespol Impedancja() const;            // internal impedance per metre [Ω/m]
  Extended Rezystancja() const;          // R' [Ω/m]
  Extended Reaktancja() const;           // X' [Ω/m]
  Extended WspNaskorkowosci() const;     // Kn = R' / R'dc

  Extended I = 0;
  Extended f = 0;
  Extended w = 0;
  Extended mi = 0;
  Extended gamma = 0;
  Extended R = 0;
  Extended k = 0;
  TZespol m{0, 0};
  TZespol c{0, 0};
  TZespol A{0, 0};
  TZespol C{0, 0};
};

}  // namespace ferrant
