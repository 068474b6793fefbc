#pragma once
// How readable a grid cell is as the user sees it: the contrast of its text
// with its background, (L1 + 0.05) / (L2 + 0.05) of their relative
// luminances, read from the window's picture.  The background is the cell's
// commonest colour, the text its colour that stands out from it most.
#include <algorithm>
#include <cmath>
#include <map>

#include "toolkit/controls/Controls.h"
#include "toolkit/grids/Grids.h"
#include "toolkit/testing/Testing.h"

namespace testsupport {

inline double Luminance(tk::TColor c) {
  auto linear = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(tk::GetRValue(c)) + 0.7152 * linear(tk::GetGValue(c)) + 0.0722 * linear(tk::GetBValue(c));
}

inline double CellTextContrast(tk::TForm* form, tk::TStringGrid* grid, int col, int row) {
  tk::testing::ProcessEvents();
  const auto picture = form->GetFormImage();
  const tk::TPoint at = form->ScreenToClient(grid->ClientToScreen(tk::TPoint{0, 0}));
  const tk::TRect r = grid->CellRect(col, row);
  std::map<tk::TColor, int> counts;
  for (int y = r.Top + 1; y < r.Bottom - 1; ++y)  // one pixel in: a focus frame is no text
    for (int x = r.Left + 1; x < r.Right - 1; ++x) ++counts[picture->Pixel(at.X + x, at.Y + y)];
  if (counts.empty()) return 0;
  using Entry = std::pair<const tk::TColor, int>;
  const double back = Luminance(std::max_element(counts.begin(), counts.end(), [](const Entry& a, const Entry& b) {
                                  return a.second < b.second;
                                })->first);
  double most = 1;
  for (const Entry& e : counts) {
    const double l = Luminance(e.first);
    most = std::max(most, (std::max(l, back) + 0.05) / (std::min(l, back) + 0.05));
  }
  return most;
}

}  // namespace testsupport
