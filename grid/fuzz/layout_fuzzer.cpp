// libFuzzer target: any byte string as the layout of an aligned grid.  It
// must load or fail with EReadError, and what the grid then writes must load
// again.  Built with -DWITH_FUZZERS=ON by clang; run e.g.
//   layout_fuzzer -max_total_time=300 corpus/
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "grid/AlignedGrid.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tk::TForm* form = new tk::TForm();
  auto grid = std::make_unique<grid::TAlignedGrid>(form);
  try {
    grid->LoadFromLayout(data, size);
  } catch (const tk::EReadError&) {
  }
  for (int c = 0; c < grid->ColCount() && c < 64; ++c)
    for (int r = 0; r < grid->RowCount() && r < 64; ++r) {
      (void)grid->GetCellAlignment(c, r);
      (void)grid->GetCellColor(c, r);
      (void)grid->GetCellFont(c, r);
      (void)grid->GetCellHint(c, r);
    }
  const std::vector<uint8_t> written = grid->SaveToLayout();
  auto again = std::make_unique<grid::TAlignedGrid>(form);
  again->LoadFromLayout(written.data(), written.size());  // throws (and aborts the run) if not readable
  return 0;
}
