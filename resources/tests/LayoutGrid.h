#pragma once
// The layout tests' grid: made in a window, sized, and loaded from a named
// layout; and the check of an input table's labels and defaults.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "grid/AlignedGrid.h"
#include "resources/Layouts.h"
#include "toolkit/controls/Controls.h"

namespace layouttest {

// Fixed columns stay as the grid makes them unless `fixedCols` names them.
inline grid::TAlignedGrid* Load(tk::TForm& form, const char* name, int cols, int rows, int fixedCols = -1) {
  auto* g = new grid::TAlignedGrid(&form);
  g->SetColCount(cols);
  g->SetRowCount(rows);
  if (fixedCols >= 0) g->SetFixedCols(fixedCols);
  const uint8_t* data;
  size_t size;
  if (!res::FindLayout(name, data, size)) ADD_FAILURE() << "no layout " << name;
  else g->LoadFromLayout(data, size);
  return g;
}

// Row r holds the label rows[r].first and the default rows[r].second.
inline void ExpectRows(const grid::TAlignedGrid* g, const std::vector<std::pair<const char*, const char*>>& rows) {
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    EXPECT_EQ(g->Cells(0, r), rows[r].first) << r;
    EXPECT_EQ(g->Cells(1, r), rows[r].second) << r;
  }
}

}  // namespace layouttest
