#include "ferrant/model/ModelPrzeWar.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include "numerics/AlgMZes4.h"
#include "numerics/Bessel4.h"
#include "numerics/Stale4.h"
#include "toolkit/core/FpCheck.h"

namespace ferrant {

namespace {

using num::k2Pi;
using num::kPi;
constexpr Extended kEps = 1e-50L;  // smallest pivot the solver accepts

// e of the power of two 2^e at or below the largest part of the values (0
// when all are zero).
int Wykladnik2(std::initializer_list<TZespol> w) {
  Extended m = 0;
  for (const TZespol& z : w) m = std::max({m, std::fabs(z.re), std::fabs(z.im)});
  return m == 0 ? 0 : std::ilogb(m);
}

// z·2^e, exact while the result stays a normal number.
TZespol Razy2(const TZespol& z, int e) { return TZespol{std::ldexp(z.re, e), std::ldexp(z.im, e)}; }

}  // namespace

TModelPrzeWar::TModelPrzeWar(Extended I_, Extended f_, Extended mi1_, Extended mi2_, Extended gamma1_, Extended gamma2_,
                             Extended r1_, Extended r2_)
    : I(I_), f(f_), mi1(mi1_), mi2(mi2_), gamma1(gamma1_), gamma2(gamma2_), r1(r1_), r2(r2_) {
  num::SqrtZ(c, TZespol{0, -1});
  A = std::make_unique<num::TMacierzZ>(1, 3, 3);
  B = std::make_unique<num::TMacierzZ>(1, 3, 1);
  X = std::make_unique<num::TMacierzZ>(1, 3, 1);
}

TModelPrzeWar::~TModelPrzeWar() = default;

void TModelPrzeWar::Oblicz() {
  // Each check comes before the store that would otherwise take an infinity
  // or a NaN, so the fields keep what the steps before a fault computed.
  const Extended w_ = k2Pi * f;
  tk::FpCheck();
  w = w_;
  const Extended modk1_ = std::sqrt(w * mi1 * gamma1);
  tk::FpCheck();  // ωμ1γ1 < 0
  modk1 = modk1_;
  k1 = num::FMulZR(c, modk1);
  const Extended modk2_ = std::sqrt(w * mi2 * gamma2);
  tk::FpCheck();  // ωμ2γ2 < 0
  modk2 = modk2_;
  k2 = num::FMulZR(c, modk2);

  // Factors that turn an Ez coefficient into the Hφ coefficient: k/(jωμ).
  // f, μ1 or μ2 zero divides 0 by 0 here.
  const TZespol Zh1 = num::FDivZ(k1, TZespol{0, w * mi1});
  const TZespol Zh2 = num::FDivZ(k2, TZespol{0, w * mi2});
  tk::FpCheck();

  // The columns of the system differ by up to e^(2|Im z|): J0 of the core
  // and of the layer grow like e^|Im z|, H2_0 of the layer falls like
  // e^-|Im z|.  Each column is built from its Bessel values divided by the
  // power of two 2^e of their largest part, so that it stands near 1 and the
  // solver's absolute pivot limit meets a well-scaled system; X_j is then
  // the solution times 2^-e_j.  Powers of two are exact, so the scaled
  // entries carry the same digits; but the solver's row scaling then sees
  // other row sums and may pick other pivots, so the last bits of the
  // solution can differ from those of an unscaled solve.  The products with
  // Zh cannot overflow where the Bessel values themselves are representable.
  TZespol J0r, J0dr;  // core at r1
  num::BesselJRek(J0r, 0, num::FMulZR(k1, r1));
  num::BesselJPoch(J0dr, 0, num::FMulZR(k1, r1));
  // γ2 = 0 or r1 = 0 meets the Hankel function at 0, where it is singular.
  TZespol J0w, H0w, J0dw, H0dw;  // layer at r1
  const TZespol zw = num::FMulZR(k2, r1);
  num::BesselJRek(J0w, 0, zw);
  num::BesselJPoch(J0dw, 0, zw);
  num::Hankel2IPoch(H0w, H0dw, zw);
  TZespol J0dz, H0dz;  // layer at r2
  const TZespol zz = num::FMulZR(k2, r2);
  num::BesselJPoch(J0dz, 0, zz);
  num::Hankel2Poch(H0dz, 0, zz);

  const int e1 = Wykladnik2({J0r, J0dr});
  const int e2 = Wykladnik2({J0w, J0dw, J0dz});
  const int e3 = Wykladnik2({H0w, H0dw, H0dz});
  num::TMZ& a = A->FDane;
  // Row 1: Ez continuous at r1; row 2: Hφ continuous at r1; row 3: Hφ(r2).
  a[1][1] = Razy2(J0r, -e1);
  a[2][1] = num::FMulZ(Razy2(J0dr, -e1), Zh1);
  a[3][1] = num::ZeroZ;
  a[1][2] = num::FMulZR(Razy2(J0w, -e2), -1);
  a[1][3] = num::FMulZR(Razy2(H0w, -e3), -1);
  a[2][2] = num::FMulZR(num::FMulZ(Razy2(J0dw, -e2), Zh2), -1);
  a[2][3] = num::FMulZR(num::FMulZ(Razy2(H0dw, -e3), Zh2), -1);
  a[3][2] = num::FMulZ(Razy2(J0dz, -e2), Zh2);
  a[3][3] = num::FMulZ(Razy2(H0dz, -e3), Zh2);

  B->UstawWektor(1, num::ZeroZ);
  B->UstawWektor(2, num::ZeroZ);
  B->UstawWektor(3, TZespol{I / (k2Pi * r2), 0});
  tk::FpCheck();

  const int32_t kod = num::RRMAZ1(*A, *B, *X, kEps, nullptr);
  if (kod != 0) {
    num::PokazBladAlgMZes(kod);  // X keeps the last solution
  } else {
    const int e[] = {e1, e2, e3};
    for (int j = 1; j <= 3; ++j) X->UstawWektor(j, Razy2(X->Wektor(j), -e[j - 1]));
  }
  tk::FpCheck();
}

TZespol TModelPrzeWar::NatezenieE(Extended r) const {
  if (r > r2) r = r2;  // a sweep's last point stands for the surface
  TZespol E;
  if (r <= r1) {
    TZespol J0;
    num::BesselJRek(J0, 0, num::FMulZR(k1, r));
    E = num::FMulZ(J0, X->Wektor(1));
  } else {
    const TZespol z = num::FMulZR(k2, r);
    TZespol J0, H0;
    num::BesselJRek(J0, 0, z);
    num::Hankel2Rek(H0, 0, z);
    E = num::FAddZ(num::FMulZ(J0, X->Wektor(2)), num::FMulZ(H0, X->Wektor(3)));
  }
  tk::FpCheck();
  return E;
}

TZespol TModelPrzeWar::NatezenieH(Extended r) const {
  if (r > r2) r = r2;
  TZespol H;
  if (r <= r1) {
    TZespol J0d;
    num::BesselJPoch(J0d, 0, num::FMulZR(k1, r));
    H = num::FMulZ(num::FMulZ(J0d, X->Wektor(1)), num::FDivZ(k1, TZespol{0, w * mi1}));
  } else {
    const TZespol z = num::FMulZR(k2, r);
    TZespol J0d, H0d;
    num::BesselJPoch(J0d, 0, z);
    num::Hankel2Poch(H0d, 0, z);
    H = num::FMulZ(num::FAddZ(num::FMulZ(J0d, X->Wektor(2)), num::FMulZ(H0d, X->Wektor(3))),
                   num::FDivZ(k2, TZespol{0, w * mi2}));
  }
  tk::FpCheck();
  return H;
}

TZespol TModelPrzeWar::GestoscJ(Extended r) const {
  if (r > r2) r = r2;
  const TZespol J = num::FMulZR(NatezenieE(r), r <= r1 ? gamma1 : gamma2);
  tk::FpCheck();
  return J;
}

TZespol TModelPrzeWar::Impedancja() const {
  const TZespol Z = num::FDivZR(NatezenieE(r2), I);
  tk::FpCheck();  // I = 0
  return Z;
}

Extended TModelPrzeWar::Rezystancja() const { return Impedancja().re; }

Extended TModelPrzeWar::Reaktancja() const { return Impedancja().im; }

Extended TModelPrzeWar::WspNaskorkowosci() const {
  // R' times the d.c. conductance per metre of core and layer together.
  const Extended Kn = Rezystancja() * (gamma1 * kPi * (r1 * r1) + gamma2 * kPi * (r2 * r2 - r1 * r1));
  tk::FpCheck();
  return Kn;
}

}  // namespace ferrant
