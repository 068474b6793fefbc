// links: toolkit toolkit_core
// Keyboard paging through a long string grid: one PageDown (or PageUp back)
// on a grid of 10 000 rows, as the key arrives from the window system, with
// the repaint it asks for.  The work should grow with the rows of one page
// (painted once each), not with their square nor with the rows of the grid.
#include <benchmark/benchmark.h>

#include "toolkit/controls/Controls.h"
#include "toolkit/grids/Grids.h"
#include "toolkit/testing/Testing.h"

namespace {

namespace tt = tk::testing;

void BM_GridPageDown(benchmark::State& state) {
  tk::EnsureWindowing();
  tk::TForm form;
  const int start = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
  const int rowHeight = static_cast<int>(state.range(2));
  form.SetBounds(10, 10, 500, height + 40);
  auto* grid = new tk::TStringGrid(&form);
  grid->SetBounds(0, 0, 400, height);
  grid->SetRowCount(10000);
  grid->SetColCount(4);
  grid->SetDefaultRowHeight(rowHeight);
  grid->DefaultDrawing = state.range(3) != 0;  // off: cells without their texts, the grid's own work shows
  for (int r = 0; r < 10000; r += 7) grid->SetCells(1, r, std::to_string(r));
  tt::ActivateWindow(&form);
  tt::SetFocus(grid);
  grid->SetCurrentCell(1, start);
  bool down = true;
  for (auto _ : state) {
    // Down and back, so that every key moves a whole page near the start row.
    tt::PressKey(grid, down ? tt::Key::PageDown : tt::Key::PageUp);
    down = !down;
  }
}
// (first row, grid height, row height, texts painted): a window's grid near
// the top and near the end, and a tall grid of thin rows whose page holds
// 480 rows, with and without the cells' texts.
BENCHMARK(BM_GridPageDown)
    ->ArgNames({"row", "height", "rowHeight", "texts"})
    ->Args({100, 560, 24, 1})
    ->Args({9000, 560, 24, 1})
    ->Args({9000, 2400, 4, 1})
    ->Args({9000, 2400, 4, 0})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
