#include "numerics/AlgeZes4.h"

#include <cmath>

#include "numerics/Kontrola4.h"
#include "toolkit/core/Errors.h"

namespace num {

const TZespol ZeroZ = {0.0L, 0.0L};
const TZespol JedenZ = {1.0L, 0.0L};
const TZespol JZ = {0.0L, 1.0L};

namespace kontrola {

void BladWartosci(Extended x) {
  tk::FpCheck();
  if (std::isinf(x)) throw tk::EOverflow();
  throw tk::EInvalidOp();
}

void BladDzielenia(bool dzielnaZero) {
  // A fault already pending is the first of the chain and is reported.
  tk::FpCheck();
  if (dzielnaZero) throw tk::EInvalidOp();
  throw tk::EZeroDivide();
}

}  // namespace kontrola

using kontrola::Sprawdz;

// Operands are copied into locals before the result is written: the result
// may be one of the operands.  Each product, sum and quotient is rounded once
// to extended precision, in the order written; quotients divide by the squared
// modulus of the divisor (no reciprocal, no rescaling), so the results are
// fixed bit for bit.  A divisor whose squared modulus is 0 is a division by
// zero (0/0 when the dividend is 0 as well), not the invalid operation that
// the formula itself would raise.

void AddZ(TZespol& z, const TZespol& a, const TZespol& b) {
  const Extended re = a.re + b.re;
  const Extended im = a.im + b.im;
  z.re = re;
  z.im = im;
  Sprawdz(z);
}

void SubZ(TZespol& z, const TZespol& a, const TZespol& b) {
  const Extended re = a.re - b.re;
  const Extended im = a.im - b.im;
  z.re = re;
  z.im = im;
  Sprawdz(z);
}

void MulZ(TZespol& z, const TZespol& a, const TZespol& b) {
  const Extended ar = a.re, ai = a.im, br = b.re, bi = b.im;
  z.re = ar * br - ai * bi;
  z.im = ar * bi + ai * br;
  Sprawdz(z);
}

void DivZ(TZespol& z, const TZespol& a, const TZespol& b) {
  const Extended ar = a.re, ai = a.im, br = b.re, bi = b.im;
  const Extended d = br * br + bi * bi;
  if (__builtin_expect(d == 0.0L, 0)) kontrola::BladDzielenia(ar == 0.0L && ai == 0.0L);
  // An overflowing d would turn the quotient into a silent 0.
  Sprawdz(d);
  z.re = (ar * br + ai * bi) / d;
  z.im = (ai * br - ar * bi) / d;
  Sprawdz(z);
}

void MulZR(TZespol& z, const TZespol& a, Extended r) {
  const Extended re = a.re * r;
  const Extended im = a.im * r;
  z.re = re;
  z.im = im;
  Sprawdz(z);
}

void OdwZ(TZespol& z, const TZespol& a) {
  const Extended ar = a.re, ai = a.im;
  const Extended d = ar * ar + ai * ai;
  if (__builtin_expect(d == 0.0L, 0)) kontrola::BladDzielenia(false);
  Sprawdz(d);
  z.re = ar / d;
  z.im = (-ai) / d;
  Sprawdz(z);
}

TZespol FAddZ(const TZespol& a, const TZespol& b) {
  TZespol z;
  AddZ(z, a, b);
  return z;
}

TZespol FSubZ(const TZespol& a, const TZespol& b) {
  TZespol z;
  SubZ(z, a, b);
  return z;
}

TZespol FMulZ(const TZespol& a, const TZespol& b) {
  TZespol z;
  MulZ(z, a, b);
  return z;
}

TZespol FDivZ(const TZespol& a, const TZespol& b) {
  TZespol z;
  DivZ(z, a, b);
  return z;
}

TZespol FMulZR(const TZespol& a, Extended r) {
  TZespol z;
  MulZR(z, a, r);
  return z;
}

TZespol FDivZR(const TZespol& a, Extended r) {
  if (__builtin_expect(r == 0.0L, 0)) kontrola::BladDzielenia(a.re == 0.0L && a.im == 0.0L);
  TZespol z{a.re / r, a.im / r};
  Sprawdz(z);
  return z;
}

TZespol FDivRZ(Extended r, const TZespol& a) {
  const Extended ar = a.re, ai = a.im;
  const Extended d = ar * ar + ai * ai;
  if (__builtin_expect(d == 0.0L, 0)) kontrola::BladDzielenia(r == 0.0L);
  Sprawdz(d);
  TZespol z{(r * ar) / d, ((-r) * ai) / d};
  Sprawdz(z);
  return z;
}

TZespol FOdwZ(const TZespol& a) {
  TZespol z;
  OdwZ(z, a);
  return z;
}

namespace {

// e of the power of two 2^e at or below the larger part of b where b·b^* is
// not a normal number; 0 where it is (and for b = 0 or a non-finite b, whose
// faults the plain quotient reports).
int WykladnikSkali(const TZespol& b) {
  const Extended m = std::fmax(std::fabs(b.re), std::fabs(b.im));
  constexpr Extended kDuzy = 0x1p8191L, kMaly = 0x1p-8191L;
  if (!(m > kDuzy || (m < kMaly && m > 0.0L)) || !std::isfinite(m)) return 0;
  return std::ilogb(m);
}

// z·2^e: exact while the parts stay normal numbers.
TZespol Razy2(const TZespol& z, int e) { return TZespol{std::ldexp(z.re, e), std::ldexp(z.im, e)}; }

// q(a, b·2^-e)·2^-e = q(a, b) for a quotient q that is homogeneous of degree
// -1 in b: the same quotient, taken where the squares stay in range.
template <class Iloraz>
TZespol Skalowany(const TZespol& b, Iloraz iloraz) {
  const int e = WykladnikSkali(b);
  if (e == 0) return iloraz(b);
  const TZespol z = Razy2(iloraz(Razy2(b, -e)), -e);
  Sprawdz(z);  // the quotient itself out of range
  return z;
}

}  // namespace

TZespol FDivZSkal(const TZespol& a, const TZespol& b) {
  return Skalowany(b, [&a](const TZespol& d) { return FDivZ(a, d); });
}

TZespol FOdwZSkal(const TZespol& a) {
  return Skalowany(a, [](const TZespol& d) { return FOdwZ(d); });
}

// The hypotenuse without squaring the parts: no overflow or underflow where
// the modulus itself is representable.
Extended ModZ(const TZespol& a) {
  Extended m = std::fabs(a.re);
  Extended n = std::fabs(a.im);
  if (n > m) {
    const Extended t = m;
    m = n;
    n = t;
  }
  if (n == 0.0L) return m;
  const Extended q = n / m;
  const Extended r = m * std::sqrt(1.0L + q * q);
  Sprawdz(r);
  return r;
}

// cos(x + jy) = cos x cosh y - j sin x sinh y; cosh and sinh overflow once
// |y| passes about 11357, which is the overflow error of the routine.
TZespol CosZ(const TZespol& a) {
  const Extended x = a.re, y = a.im;
  TZespol z{std::cos(x) * std::cosh(y), (-std::sin(x)) * std::sinh(y)};
  Sprawdz(z);
  return z;
}

TZespol SinZ(const TZespol& a) {
  const Extended x = a.re, y = a.im;
  TZespol z{std::sin(x) * std::cosh(y), std::cos(x) * std::sinh(y)};
  Sprawdz(z);
  return z;
}

}  // namespace num
