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
// Largest errors measured against 40-digit mpmath values (the test table and
// a dense grid of 7 000 further arguments: every 30 deg, within 1e-6 to 10
// deg of both real axes, |z| 0.5 to 16 000 in steps of 0.1 from 12 to 16.5,
// and 400 real arguments of both signs from 30 to 1e4932; make_bessel_
// reference.py grid); relative to the value, and for J, Y and H2 above the
// real axis and on it, where they have zeros, to the largest of |J|, |Y|,
// |H2|; J' and H2' alike:
//   -45 deg ray of the conductor models    3e-17 below 12, 1.2e-17 to 20,
//                                          1e-18 above
//   |z| < 12     within 1 deg of the real axes   2.8e-15 (positive side),
//                                                6.9e-15 (negative side)
//                1 to 10 deg off them            8.3e-16, 1.3e-15
//                10 deg or more off them         6.8e-16
//   12 <= |z| < 16.5, within 1 deg of the real   6.1e-14 (positive side),
//                axes                            1.4e-13 (negative side)
//                1 to 10 deg off them            4.5e-14, 1.1e-13
//                10 to 45 deg off them           1.6e-14
//                45 deg or more off them         6e-18
//   16.5 <= |z| < 20, within 10 deg of the axes  7.2e-16 (positive side),
//                                                3.2e-15 (negative side)
//                10 deg or more off them         5.5e-16
//   |z| >= 20, every angle                       5e-18 (1e-18 but next to
//                                                the imaginary axis at 20)
//   real z, 30 <= |z| < 1.09e2466                2.2e-19
// The phase z - n pi/2 - pi/4 of Hankel's expansions is reduced exactly, so
// large real arguments keep full accuracy; from |z| = 1.09e2466, the square
// root of the largest number, the squared modulus in 1/z overflows and
// every function ends with an overflow error.  The larger figures lie where
// series and expansion meet, 3|z| - |Im z| = 45: the series has lost
// e^(|z| - |Im z|) to cancellation, the expansion's smallest term is
// 0.15 e^(-2|z|), and no third method serves between them.
// On the -45 deg ray the tests hold J within 2e-17, Y within 5e-16 more, and
// H2 below |z| = 4 within 3e-16·e^(1.42|z|) more.
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
