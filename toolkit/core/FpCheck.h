#pragma once
// Floating-point faults as errors.
//
// Arithmetic runs with the fault flags masked; the code that owns a computation
// clears the sticky flags before it and calls FpCheck() at the points where a
// result is about to be used (stored, compared in a loop test, shown).  FpCheck
// is kept out of line on purpose: the compiler must not move the flag test
// across the arithmetic it guards.  Underflow and inexact results pass.

namespace tk {

// Clears the division-by-zero, invalid-operation and overflow flags.
void FpClear();

// Throws EZeroDivide, EOverflow or EInvalidOp when the matching flag is set
// (in that order of precedence: a division by zero or an overflow is the
// first fault of a chain that usually ends in an invalid operation), after
// clearing the flags.  Does nothing when no flag is set.
void FpCheck();

// True when one of the three fault flags is set; does not clear them.
bool FpFaultPending();

// Keeps the fault flags of the surrounding computation out of reach of code
// that runs in between (a nested event handler, a library call): saves and
// clears them on entry, restores them on exit.
class FpShield {
 public:
  FpShield();
  ~FpShield();
  FpShield(const FpShield&) = delete;
  FpShield& operator=(const FpShield&) = delete;

 private:
  int saved_;
};

}  // namespace tk
