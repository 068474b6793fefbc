// A bounded random test of the layout loader on damaged aligned-grid layouts:
// every damaged stream either loads or fails with EReadError, and the grid
// stays usable (painted, written, destroyed) afterwards.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "LayoutBuilder.h"
#include "grid/AlignedGrid.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Errors.h"

using namespace grid;
using namespace gridtest;

namespace {

std::vector<uint8_t> EveryProperty() {
  return LayoutBuilder()
      .Value("ColCount", [](tk::TWriter& w) { w.WriteInteger(6); })
      .Value("Alignment", [](tk::TWriter& w) { w.WriteIdent("alRight"); })
      .Value("ShowCellHints", [](tk::TWriter& w) { w.WriteBoolean(false); })
      .Binary("AlignCell", Join({CellRecord(1, 1, alCenter), CellRecord(2, 3, alRight)}))
      .Binary("AlignCol", IndexRecord(2, alRight))
      .Binary("FixedAlignCol", IndexRecord(0, alCenter))
      .Binary("AlignRow", IndexRecord(3, alLeft))
      .Binary("FixedAlignRow", IndexRecord(0, alRight))
      .CellTexts("HintCell", {{1, 2, "hint"}})
      .CellTexts("Cells", {{0, 0, " D[mm]"}, {0, 1, "20"}, {1, 0, " t1 [mm]"}, {1, 1, "2"}, {5, 4, "Potencjał"}})
      .Font("FontCell", {2, 2}, 0xFF0000, -13, "Arial", 2, 3)
      .Font("FontCol", {1}, 0x0000FF, -11, "Arial", 1, 5)
      .Font("FontFixedCol", {0}, 0x0000FF, -11, "Arial", 1, 5)
      .Font("FontRow", {2}, 0x0000FF, -11, "Arial", 1, 5)
      .Font("FontFixedRow", {0}, 0x0000FF, -11, "Arial", 1, 5)
      .CellColors("ColorCell", {{3, 3, 0x123456}})
      .IndexColors("ColorCol", {{1, 0x0000FF}, {4, 0x80000005}})
      .IndexColors("ColorFixedCol", {{0, 0xC0C0C0}})
      .IndexColors("ColorRow", {{2, 0x00FF00}})
      .IndexColors("ColorFixedRow", {{0, 0x808080}})
      .Build();
}

// Typed-value bytes that steer a mutation towards the interesting cases.
const uint8_t kInteresting[] = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 12, 0x7F, 0x80, 0xFF};

std::vector<uint8_t> Mutate(std::vector<uint8_t> b, std::mt19937& rng) {
  const int edits = 1 + static_cast<int>(rng() % 4);
  for (int e = 0; e < edits && !b.empty(); ++e) {
    const size_t at = rng() % b.size();
    switch (rng() % 6) {
      case 0: b[at] = static_cast<uint8_t>(rng()); break;
      case 1: b[at] = kInteresting[rng() % sizeof kInteresting]; break;
      case 2: b.resize(at); break;
      case 3: b.erase(b.begin() + static_cast<long>(at)); break;
      case 4: b.insert(b.begin() + static_cast<long>(at), kInteresting[rng() % sizeof kInteresting]); break;
      case 5: {  // a copied run of bytes somewhere else (repeats entries and lengths)
        const size_t from = rng() % b.size(), len = std::min<size_t>(1 + rng() % 12, b.size() - from);
        std::vector<uint8_t> run(b.begin() + static_cast<long>(from), b.begin() + static_cast<long>(from + len));
        b.insert(b.begin() + static_cast<long>(at), run.begin(), run.end());
        break;
      }
    }
  }
  return b;
}

TEST(LayoutFuzz, DamagedLayoutsLoadOrFailCleanly) {
  const std::vector<std::vector<uint8_t>> seeds = {
      EveryProperty(), LayoutBuilder().CellTexts("Cells", {{0, 0, " D[mm]"}, {0, 1, "20"}, {1, 1, "2"}}).Build()};
  tk::TForm form;
  std::mt19937 rng(1234567);
  const int kRuns = 20000;
  int loaded = 0, refused = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kRuns; ++i) {
    const std::vector<uint8_t> bytes = Mutate(seeds[static_cast<size_t>(i) % seeds.size()], rng);
    // An exact-size heap copy, so that the sanitizer catches any read past it.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[bytes.size() + 1]);
    std::copy(bytes.begin(), bytes.end(), copy.get());
    auto grid = std::make_unique<TAlignedGrid>(&form);
    grid->SetBounds(0, 0, 200, 100);
    try {
      grid->LoadFromLayout(copy.get(), bytes.size());
      ++loaded;
    } catch (const tk::EReadError&) {
      ++refused;
    }
    ASSERT_EQ(grid->Lists().Cells, nullptr);  // the after-loading step always ran
    // Whatever was read can be looked up, painted and written.
    for (int c = 0; c < grid->ColCount(); ++c)
      for (int r = 0; r < grid->RowCount(); ++r) {
        (void)grid->GetCellAlignment(c, r);
        (void)grid->GetCellFont(c, r);
      }
    if (i % 50 == 0) (void)grid->PaintToBitmap();
    const std::vector<uint8_t> written = grid->SaveToLayout();
    auto again = std::make_unique<TAlignedGrid>(&form);
    again->LoadFromLayout(written.data(), written.size());  // what a grid writes, it reads
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("layout fuzz: %d inputs, %d loaded, %d refused, %.2f s\n", kRuns, loaded, refused, seconds);
  EXPECT_GT(loaded, 0);
  EXPECT_GT(refused, 0);
}

}  // namespace
