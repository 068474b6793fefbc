// libFuzzer target: any byte string as an enhanced metafile for the preview,
// walked and drawn.  It must be drawn or refused; the drawing refuses what
// the walk alone refuses, for the same reason, or what would cost more than
// a preview may spend.  Built with -DWITH_FUZZERS=ON by clang; run e.g.
//   ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen \
//   emf_reader_fuzzer -timeout=3 -rss_limit_mb=1024 -max_len=8192 corpus/
// with a few of our own chart exports in corpus/ (the leaks are the font
// library's caches): a drawing that takes seconds or memory beyond the
// limit is a finding too.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "toolkit/controls/Controls.h"
#include "toolkit/emf/EmfReader.h"
#include "toolkit/emf/EmfRecords.h"

// The application, and the font library's first look at the fonts done
// before the clock of the first input runs.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  new tk::TApplication("emf_reader_fuzzer");
  tk::emf::EmfRecords text(16, 16);
  text.SelectObject(text.CreateFont(tk::emf::LogFont{}));
  text.ExtTextOut({0, 8}, u"A", {8}, {});
  const std::vector<uint8_t> bytes = text.Finish();
  tk::emf::DrawEmf(bytes.data(), bytes.size(), 16, 16, nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using tk::emf::EmfVerdict;
  EmfVerdict verdict;
  const bool drawn = tk::emf::DrawEmf(data, size, 96, 64, &verdict) != nullptr;
  const EmfVerdict walked = tk::emf::ReadEmf(data, size, nullptr, nullptr);
  if (drawn != (verdict == EmfVerdict::Picture)) std::abort();
  if (verdict != walked && !(walked == EmfVerdict::Picture && verdict == EmfVerdict::TooLarge)) std::abort();
  return 0;
}
