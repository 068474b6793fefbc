#pragma once
// Fault checks of the numerical library (internal).
//
// Arithmetic runs with the fault flags masked, so a division by zero, an
// invalid operation or an overflow leaves an infinity or a NaN behind and a
// sticky flag.  Two kinds of check turn them into the run-time's errors:
//  - a value check (Sprawdz): a result that is not finite is never handed on;
//    it costs two comparisons and calls out of line only on the fault path,
//    so it can sit in the innermost complex arithmetic;
//  - a flag check (SprawdzFlagi): the out-of-line tk::FpCheck() behind a
//    compiler barrier, for the ends of the public routines and for loops whose
//    termination depends on computed values.
#include <cmath>

#include "numerics/AlgeZes4.h"
#include "toolkit/core/FpCheck.h"

namespace num {
namespace kontrola {

// Raises the error of a non-finite value: the pending flag when there is one
// (it names the first fault of the chain), else by the value itself
// (an infinity is an overflow, a NaN an invalid operation).
[[noreturn]] void BladWartosci(Extended x);
// Raises the error of a division of a by zero: division by zero, or an
// invalid operation when a is zero too (0/0); a fault pending before it
// comes first.
[[noreturn]] void BladDzielenia(bool dzielnaZero);

inline bool Skonczona(Extended x) { return std::isfinite(x); }

inline void Sprawdz(Extended x) {
  if (__builtin_expect(!Skonczona(x), 0)) BladWartosci(x);
}

inline void Sprawdz(const TZespol& z) {
  if (__builtin_expect(!Skonczona(z.re), 0)) BladWartosci(z.re);
  if (__builtin_expect(!Skonczona(z.im), 0)) BladWartosci(z.im);
}

// The flag test after v has been computed: the empty asm takes v from memory
// and clobbers memory, so the compiler can neither sink the arithmetic that
// produced v below the test nor hoist the test above it.
template <typename T>
inline void SprawdzFlagi(const T& v) {
  asm volatile("" : : "m"(v) : "memory");
  tk::FpCheck();
}

}  // namespace kontrola
}  // namespace num
