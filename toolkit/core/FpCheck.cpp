#include "toolkit/core/FpCheck.h"

#include <cfenv>

#include "toolkit/core/Errors.h"

namespace tk {

namespace {
constexpr int kFaults = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
}

__attribute__((noinline)) void FpClear() { std::feclearexcept(kFaults); }

__attribute__((noinline)) bool FpFaultPending() { return std::fetestexcept(kFaults) != 0; }

__attribute__((noinline)) void FpCheck() {
  const int raised = std::fetestexcept(kFaults);
  if (raised == 0) return;
  std::feclearexcept(kFaults);
  if (raised & FE_DIVBYZERO) throw EZeroDivide();
  if (raised & FE_OVERFLOW) throw EOverflow();
  throw EInvalidOp();
}

FpShield::FpShield() : saved_(std::fetestexcept(kFaults)) { std::feclearexcept(kFaults); }

FpShield::~FpShield() {
  std::feclearexcept(kFaults);
  if (saved_ != 0) std::feraiseexcept(saved_);
}

}  // namespace tk
