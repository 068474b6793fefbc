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
// Largest errors measured against 40-digit values at 1 200 arguments, |z|
// from 0.01 to the overflow limit at every angle and on both sides of every
// switch (numerics/tests/data); relative to the value, and for J, Y and H2
// above the real axis, where they have zeros, to the largest of |J|, |Y|,
// |H2|:
//   -45 deg ray of the conductor models          1e-16 (3e-17 below 20)
//   |z| < 12, every angle                        7e-15 (4e-16 off the axes
//                                                in the right half plane)
//   |z| >= 16.5, every angle                     9e-16 (2e-16 off the axes)
//   12 <= |z| < 16.5, 45 deg or more off the     5e-18
//   real axes
//   12 <= |z| < 16.5, 10 deg off them            1.1e-14
//   12 <= |z| < 16.5, on the real axes and       3.3e-14 (positive side),
//   within 1 deg of them                         1.4e-13 (negative side;
//                                                179 deg, |z| = 15.1)
// The larger figures lie where series and expansion meet, 3|z| - |Im z| = 45:
// the series has lost e^(|z| - |Im z|) to cancellation, the expansion's
// smallest term is 0.15 e^(-2|z|), and no third method serves between them.
// On the -45 deg ray the tests hold J within 1e-19·|z| + 2e-17, Y within
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
// H2_0(z) and its derivative -H2_1(z) together, as Hankel2Rek and
// Hankel2Poch give them: one continued fraction serves both where it serves.
void Hankel2IPoch(TZespol& h, TZespol& hp, const TZespol& z);

}  // namespace num
