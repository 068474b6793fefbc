#pragma once
// Complex numbers of two extended-precision parts and their arithmetic.
// Operands are taken by reference and copied on entry, so a result argument
// may be one of the operands.  Faults (division by (0,0), overflow) are not
// tested here: they set the floating-point flags that the caller checks.

namespace num {

using Extended = long double;

struct TZespol {
  Extended re;
  Extended im;
};

extern const TZespol ZeroZ;   // (0, 0)
extern const TZespol JedenZ;  // (1, 0)
extern const TZespol JZ;      // (0, 1)

void AddZ(TZespol& z, const TZespol& a, const TZespol& b);
void SubZ(TZespol& z, const TZespol& a, const TZespol& b);
void MulZ(TZespol& z, const TZespol& a, const TZespol& b);
void DivZ(TZespol& z, const TZespol& a, const TZespol& b);
void MulZR(TZespol& z, const TZespol& a, Extended r);
void OdwZ(TZespol& z, const TZespol& a);

TZespol FAddZ(const TZespol& a, const TZespol& b);
TZespol FSubZ(const TZespol& a, const TZespol& b);
TZespol FMulZ(const TZespol& a, const TZespol& b);
TZespol FDivZ(const TZespol& a, const TZespol& b);
TZespol FMulZR(const TZespol& a, Extended r);
TZespol FDivZR(const TZespol& a, Extended r);
TZespol FDivRZ(Extended r, const TZespol& a);
TZespol FOdwZ(const TZespol& a);
Extended ModZ(const TZespol& a);

// a / b and 1 / a that do not square a divisor beyond the extended range.
// Where the larger part of the divisor lies between 2^-8191 and 2^8191, so
// that its squared modulus is a normal number, they are FDivZ and FOdwZ bit
// for bit.  Beyond (the Bessel combinations of thick conductors grow like
// e^|Im z| and pass 2^8191 at |Im z| = 5678) the divisor is first brought
// near 1 by a power of two and the quotient scaled back: they fail only where
// the quotient itself leaves the range.
TZespol FDivZSkal(const TZespol& a, const TZespol& b);
TZespol FOdwZSkal(const TZespol& a);
TZespol CosZ(const TZespol& a);
TZespol SinZ(const TZespol& a);

}  // namespace num
