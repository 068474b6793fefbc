// libFuzzer target: any byte string as an enhanced metafile for the preview.
// It must be drawn or refused, and drawn exactly when the walk alone calls it
// a picture.  Built with -DWITH_FUZZERS=ON by clang; run e.g.
//   emf_reader_fuzzer -max_total_time=300 corpus/
// with a few of our own chart exports in corpus/.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "toolkit/Controls.h"
#include "toolkit/emf/EmfReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tk::TApplication* app = new tk::TApplication("emf_reader_fuzzer");
  (void)app;
  tk::emf::EmfVerdict verdict;
  const bool drawn = tk::emf::DrawEmf(data, size, 96, 64, &verdict) != nullptr;
  if (drawn != (tk::emf::ReadEmf(data, size, nullptr, nullptr) == tk::emf::EmfVerdict::Picture)) std::abort();
  if (drawn != (verdict == tk::emf::EmfVerdict::Picture)) std::abort();
  return 0;
}
