// libFuzzer target: any byte string as the text of an input cell, read with
// the text-to-number conversion in both decimal separators.  The result must
// be finite, no fault flag may be left pending, and it must be the value the
// rules give.  Built with -DWITH_FUZZERS=ON by clang; run e.g.
//   strtofloatzero_fuzzer -max_total_time=300 corpus/
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
    const long double v = num::StrToFloatZero(s);
    if (tk::FpFaultPending() || !std::isfinite(v)) std::abort();
    if (v != reliability::ref::StrToFloatZero(s, sep)) std::abort();
  }
  return 0;
}
