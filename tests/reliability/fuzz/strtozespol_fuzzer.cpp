// libFuzzer target: any byte string through the text-to-complex conversion in
// both decimal separators: finite parts, no fault flag left pending, the
// parts the rules give.  Built with -DWITH_FUZZERS=ON by clang.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "numerics/Typy4.h"
#include "support/NumberTextReference.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string s(reinterpret_cast<const char*>(data), size);
  for (char sep : {',', '.'}) {
    tk::SetDecimalSeparator(sep);
    tk::FpClear();
    const num::TZespol z = num::StrToZespol(s);
    if (tk::FpFaultPending() || !std::isfinite(z.re) || !std::isfinite(z.im)) std::abort();
    const reliability::ref::Complex r = reliability::ref::StrToZespol(s, sep);
    if (z.re != r.re || z.im != r.im) std::abort();
  }
  return 0;
}
