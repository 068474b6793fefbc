#include "ferrant/model/ModelWalca.h"

#include <algorithm>
#include <cmath>
#include "numerics/Bessel4.h"
#include "numerics/Stale4.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

using num::k2Pi;
using num::kPi;

TModelWalca::TModelWalca(Extended I_, Extended f_, Extended mi_, Extended gamma_, Extended R_)
    : I(I_), f(f_), mi(mi_), gamma(gamma_), R(R_) {
  num::SqrtZ(c, TZespol{0, -1});
}

TModelWalca::~TModelWalca() = default;

void TModelWalca::Oblicz() {
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

TZespol TModelWalca::NatezenieE(Extended r) const {
  TZespol J0;
  num::BesselJRek(J0, 0, num::FMulZR(m, r));
  const TZespol E = num::FMulZ(C, J0);
  tk::FpCheck();
  return E;
}

TZespol TModelWalca::NatezenieH(Extended r) const {
  TZespol J0d;
  num::BesselJPoch(J0d, 0, num::FMulZR(m, r));
  const TZespol H = num::FMulZ(A, J0d);
  tk::FpCheck();
  return H;
}

TZespol TModelWalca::GestoscJ(Extended r) const {
  const TZespol J = num::FMulZR(NatezenieE(r), gamma);
  tk::FpCheck();
  return J;
}

TZespol TModelWalca::Impedancja() const {
  const TZespol Z = num::FDivZR(NatezenieE(R), I);
  tk::FpCheck();  // I = 0
  return Z;
}

Extended TModelWalca::Rezystancja() const { return Impedancja().re; }

Extended TModelWalca::Reaktancja() const { return Impedancja().im; }

Extended TModelWalca::WspNaskorkowosci() const {
  // R' over the d.c. resistance 1/(γπR²).
  const Extended Kn = Rezystancja() * gamma * kPi * (R * R);
  tk::FpCheck();
  return Kn;
}

}  // namespace ferrant
