#include "ferrant/model/ModelCylindra.h"

#include <algorithm>
#include <cmath>
#include "numerics/Bessel4.h"
#include "numerics/Stale4.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

using num::k2Pi;
using num::kPi;

TModelCylindra::TModelCylindra(Extended I_, Extended f_, Extended mi_, Extended gamma_, Extended r1_, Extended r2_)
    : I(I_), f(f_), mi(mi_), gamma(gamma_), r1(r1_), r2(r2_) {
  num::SqrtZ(c, TZespol{0, -1});
}

TModelCylindra::~TModelCylindra() = default;

void TModelCylindra::Oblicz() {
  // Each check comes before the store that would otherwise take an infinity
  // or a NaN, so the fields keep what the steps before a fault computed.
  const Extended Hs = I / (k2Pi * r2);  // field strength at the outer surface
  const Extended w_ = k2Pi * f;
  tk::FpCheck();  // r2 = 0
  w = w_;
  const Extended k_ = std::sqrt(w * mi * gamma);
  tk::FpCheck();  // ωμγ < 0
  k = k_;
  m = num::FMulZR(c, k);

  // Hφ'(r) of the two waves at both surfaces.  m = 0 (f, μ or γ zero) or
  // r1 = 0 meets the Hankel function at 0, where it is singular.
  TZespol z = num::FMulZR(m, r1);
  TZespol J1d, H1d, J2d, H2d;
  num::BesselJPoch(J1d, 0, z);
  num::Hankel2Poch(H1d, 0, z);
  z = num::FMulZR(m, r2);
  num::BesselJPoch(J2d, 0, z);
  num::Hankel2Poch(H2d, 0, z);

  // Hφ(r1) = 0 and Hφ(r2) = Hs; D = 0 when r1 = r2.  D grows like
  // e^(|m|(r2 − r1)/√2), so its squared modulus leaves the range at
  // |m|(r2 − r1) ≈ 8030, long before the Bessel values do: the quotients
  // scale D where the plain ones would overflow.
  const TZespol D = num::FSubZ(num::FMulZ(J2d, H1d), num::FMulZ(J1d, H2d));
  const TZespol A_ = num::FMulZR(num::FDivZSkal(H1d, D), Hs);
  tk::FpCheck();
  A = A_;
  const TZespol B_ = num::FMulZR(num::FDivZSkal(J1d, D), -Hs);
  tk::FpCheck();
  B = B_;
  const TZespol jwm = num::FDivZ(TZespol{0, w * mi}, m);
  const TZespol Ae_ = num::FMulZ(A, jwm);
  const TZespol Be_ = num::FMulZ(B, jwm);
  tk::FpCheck();
  Ae = Ae_;
  Be = Be_;
}

TZespol TModelCylindra::NatezenieE(Extended r) const {
  const TZespol z = num::FMulZR(m, r);
  TZespol J0, H0;
  num::BesselJRek(J0, 0, z);
  num::Hankel2Rek(H0, 0, z);
  const TZespol E = num::FAddZ(num::FMulZ(J0, Ae), num::FMulZ(H0, Be));
  tk::FpCheck();
  return E;
}

TZespol TModelCylindra::NatezenieH(Extended r) const {
  const TZespol z = num::FMulZR(m, r);
  TZespol J0d, H0d;
  num::BesselJPoch(J0d, 0, z);
  num::Hankel2Poch(H0d, 0, z);
  const TZespol H = num::FAddZ(num::FMulZ(J0d, A), num::FMulZ(H0d, B));
  tk::FpCheck();
  return H;
}

TZespol TModelCylindra::GestoscJ(Extended r) const {
  const TZespol J = num::FMulZR(NatezenieE(r), gamma);
  tk::FpCheck();
  return J;
}

TZespol TModelCylindra::Impedancja() const {
  const TZespol Z = num::FDivZR(NatezenieE(r2), I);
  tk::FpCheck();  // I = 0
  return Z;
}

Extended TModelCylindra::Rezystancja() const { return Impedancja().re; }

Extended TModelCylindra::Reaktancja() const { return Impedancja().im; }

Extended TModelCylindra::WspNaskorkowosci() const {
  // R' over the d.c. resistance of the wall 1/(γπ(r2² − r1²)).
  const Extended Kn = Rezystancja() * gamma * kPi * (r2 * r2 - r1 * r1);
  tk::FpCheck();
  return Kn;
}

}  // namespace ferrant
