#pragma once
// Bessel functions J and Y, Hankel functions of the second kind and their
// derivatives for an integer order n >= 0 and a complex argument, with the
// complex helpers they need.  The result argument may be the argument itself.
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
