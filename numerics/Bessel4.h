#pragma once
// Bessel functions J and Y, Hankel functions of the second kind and their
// derivatives for an integer order n >= 0 and a complex argument, with the
// complex helpers they need.  The result argument may be the argument itself.
//
// Which method serves where (orders 0 and 1; higher orders by recurrence):
//   J, Y   |z| < 20 and 3|z| - |Im z| <= 45: power series (from 15 on the
//          real axis, 19.65 on the -45 deg ray, Hankel's expansions serve);
//          elsewhere Hankel's expansions P, Q in the right half plane, and in
//          the left one by reflection from -z.
//   H2     |z| < 4: J - jY from the series; 4 <= |z| < 20 where H2 decays
//          (Im z < 0, positive real axis): Steed's continued fraction of
//          K_0, K_1 at jz; elsewhere as J and Y: the series, or Hankel's
//          expansion in the right half plane and reflection in the left.
//   J', H2'  f_0' = -f_1, f_1' = f_0 - f_1/z from the above.
// Largest relative error measured against 40-digit values for |z| from 0.01
// to the overflow limit at every angle (numerics/tests/data): 3e-14 (Y_1 on
// the real axis near |z| = 15, where series and expansion meet), 1.6e-14
// elsewhere on the axes, 2e-15 off the axes in the right half plane; errors
// of J, Y and of H2 above the real axis, where they have zeros, are taken
// relative to the largest of |J|, |Y|, |H2|.  On the -45 deg ray of the
// conductor models the tests hold J within 1e-19·|z| + 2e-17, Y within
// 5e-16 more, and H2 below |z| = 4 within 3e-16·e^(1.42|z|) more.
#include <cstdint>

#include "numerics/AlgeZes4.h"

namespace num {

Extended Potega(int32_t n, Extended x);
int32_t Silnia(int32_t n);
void ExpZ(TZespol& w, const TZespol& z);
void SqrtZ(TZespol& w, const TZespol& z);
TZespol FSqrtZ(const TZespol& z);
void PotegaZ(TZespol& w, int32_t n, const TZespol& z);
void LnZ(TZespol& w, const TZespol& z);
void BesselJ(TZespol& w, int32_t n, const TZespol& z);
void BesselY(TZespol& w, int32_t n, const TZespol& z);
void Hankel2Asympt(TZespol& w, int32_t n, const TZespol& z);
void Hankel2(TZespol& w, int32_t n, const TZespol& z);
void BesselJRek(TZespol& w, int32_t n, const TZespol& z);
void BesselJPoch(TZespol& w, int32_t n, const TZespol& z);
void Hankel2Rek(TZespol& w, int32_t n, const TZespol& z);
void Hankel2Poch(TZespol& w, int32_t n, const TZespol& z);

}  // namespace num
