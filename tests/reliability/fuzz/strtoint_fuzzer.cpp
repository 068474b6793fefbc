// libFuzzer target: any byte string through the strict integer conversion:
// TryStrToInt and StrToInt agree with each other and with the rules, and a
// text that does not convert raises the conversion error quoting it.  Built
// with -DWITH_FUZZERS=ON by clang.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/NumberTextReference.h"
#include "toolkit/core/Convert.h"
#include "toolkit/core/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string s(reinterpret_cast<const char*>(data), size);
  int32_t v = 0, r = 0;
  const bool ok = tk::TryStrToInt(s, v);
  if (ok != reliability::ref::TryStrToInt(s, r)) std::abort();
  if (ok && v != r) std::abort();
  try {
    if (tk::StrToInt(s) != v || !ok) std::abort();
  } catch (const tk::EConvertError& e) {
    if (ok || e.Message() != "'" + s + "' is not a valid integer value") std::abort();
  }
  return 0;
}
