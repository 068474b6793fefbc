#pragma once
// Field of a two-layer conductor: a core of radius r1 (μ1, γ1) inside a layer
// between r1 and r2 (μ2, γ2).
//
// Core (r ≤ r1):       Ez = X1·J0(k1·r)
// Layer (r1 < r ≤ r2): Ez = X2·J0(k2·r) + X3·H2_0(k2·r)
// and in each region Hφ = (k/(jωμ))·(the same combination with J0' and H2_0'),
// k1,2 = √(−j)·√(ωμ1,2·γ1,2).  X1, X2, X3 solve the 3×3 system of the boundary
// conditions: Ez and Hφ continuous at r1, Hφ(r2) = I/(2πr2).
//
// Names of the fields against the symbols of the physics:
//   I  current (r.m.s.)   f  frequency   w  ω = 2πf
//   mi1, mi2  μ1, μ2       gamma1, gamma2  γ1, γ2     r1, r2  radii
//   modk1, modk2  |k1|, |k2| = √(ωμγ)    k1, k2  c·|k|    c  √(−j)
//   A  3×3 system matrix, B  right-hand side, X  solution X1..X3 (from 1)
// The inputs are public; the evaluations use X, k1, k2 and ω of the last
// Oblicz with the inputs as they stand.  Beyond the surface (r > r2) they give
// the value at r2: the last point of a radius sweep may land just above r2 by
// rounding, and it stands for the surface.
//
// Accuracy: largest relative errors against 40-digit values
// (ferrant/model/tests/data), |k·r| to 16 000:
//   2 941 steel-cored conductors, 10 Hz to 2 kHz   R', Kn 3.1e-17, X' 2.4e-16
//   400 random two-layer conductors, 10 Hz to      R', Kn 9.6e-18, X' 2.3e-16
//   1 MHz, μr to 1000
#include <cstdint>
#include <memory>

#include "numerics/AlgeZes4.h"
#include "numerics/Macierze4.h"

namespace ferrant {

using num::Extended;
using num::TZespol;

class TModelPrzeWar {
 public:
  TModelPrzeWar(Extended I, Extended f, Extended mi1, Extended mi2, Extended gamma1, Extended gamma2, Extended r1,
                Extended r2);
  ~TModelPrzeWar();
  TModelPrzeWar(const TModelPrzeWar&) = delete;
  TModelPrzeWar& operator=(const TModelPrzeWar&) = delete;

  // Builds and solves the boundary system; a singular system shows the
  // solver's message and leaves X as it was.
  void Oblicz();

  TZespol NatezenieE(Extended r) const;  // Ez(r) [V/m]
  TZespol NatezenieH(Extended r) const;  // Hφ(r) [A/m]
  TZespol GestoscJ(Extended r) const;    // Jz(r) [A/m²]
  TZespol Impedancja() const;            // internal impedance per metre [Ω/m]
  Extended Rezystancja() const;          // R' [Ω/m]
  Extended Reaktancja() const;           // X' [Ω/m]
  Extended WspNaskorkowosci() const;     // Kn = R' / R'dc of core and layer

  Extended I = 0;
  Extended f = 0;
  Extended w = 0;
  Extended mi1 = 0;
  Extended mi2 = 0;
  Extended gamma1 = 0;
  Extended gamma2 = 0;
  Extended r1 = 0;
  Extended r2 = 0;
  Extended modk1 = 0;
  Extended modk2 = 0;
  TZespol k1{0, 0};
  TZespol k2{0, 0};
  TZespol c{0, 0};
  std::unique_ptr<num::TMacierzZ> A;  // 3×3, owned
  std::unique_ptr<num::TMacierzZ> B;  // 3×1, owned
  std::unique_ptr<num::TMacierzZ> X;  // 3×1, owned
};

}  // namespace ferrant
