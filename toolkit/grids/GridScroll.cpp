// Scrolling the string grid: what the scroll bars take of it, the last page
// that every way of scrolling stops at, and moving the view by program,
// wheel and bar, or to bring a cell into it.
#include <algorithm>

#include "toolkit/grids/GridParts.h"
#include "toolkit/grids/Grids.h"

namespace tk {

using namespace gridparts;

const TStringGrid::Layout& TStringGrid::CurrentLayout() const {
  const int w = Width(), h = Height();
  Layout& l = layout_;
  if (l.width == w && l.height == h && l.generation == generation_) return l;
  const bool mayVert = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  const bool mayHorz = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  // Each bar narrows the room for the other; three rounds settle it.
  bool vert = false, horz = false;
  for (int round = 0; round < 3; ++round) {
    const bool v = mayVert && LastPageStart(rowHeights_, fixedRows_, h - (horz ? kScrollBarSize : 0)) > fixedRows_;
    const bool z = mayHorz && LastPageStart(colWidths_, fixedCols_, w - (vert ? kScrollBarSize : 0)) > fixedCols_;
    if (v == vert && z == horz) break;
    vert = v;
    horz = z;
  }
  l.width = w;
  l.height = h;
  l.generation = generation_;
  l.vert = vert;
  l.horz = horz;
  l.clientWidth = std::max(0, w - (vert ? kScrollBarSize : 0));
  l.clientHeight = std::max(0, h - (horz ? kScrollBarSize : 0));
  l.lastLeftCol = LastPageStart(colWidths_, fixedCols_, l.clientWidth);
  l.lastTopRow = LastPageStart(rowHeights_, fixedRows_, l.clientHeight);
  return l;
}

int TStringGrid::ClampLeftCol(int col) const {
  return std::max(std::min(fixedCols_, colCount_ - 1), std::min(col, CurrentLayout().lastLeftCol));
}

int TStringGrid::ClampTopRow(int row) const {
  return std::max(std::min(fixedRows_, rowCount_ - 1), std::min(row, CurrentLayout().lastTopRow));
}

void TStringGrid::Relayout() {
  const int left = leftCol_, top = topRow_;
  ++generation_;
  Scrolled();
  if (editing_ && (left != leftCol_ || top != topRow_)) UpdateEditor();
}

void TStringGrid::Scrolled() {
  UpdateScrollBars();
  Invalidate();
}

void TStringGrid::WheelScroll(bool columns, int lines) {
  const int now = columns ? leftCol_ : topRow_;
  const int to = columns ? ClampLeftCol(now - lines) : ClampTopRow(now - lines);
  if (to == now) return;
  if (columns) SetLeftCol(to);
  else SetTopRow(to);
}

bool TStringGrid::CanScroll(bool columns, bool back) const {
  const int now = columns ? leftCol_ : topRow_;
  const int to = back ? now - 1 : now + 1;
  return (columns ? ClampLeftCol(to) : ClampTopRow(to)) != now;
}

void TStringGrid::ScrollInView(int col, int row) {
  const int w = ClientWidth(), h = ClientHeight();
  if (w <= 0 || h <= 0) return;
  // The cell shows whole (its right and bottom lines may be cut), the view
  // moving as little as it must.
  int left = leftCol_, top = topRow_;
  if (col >= fixedCols_) left = col < left ? col : std::max(left, FirstToShow(colWidths_, fixedCols_, col, w));
  if (row >= fixedRows_) top = row < top ? row : std::max(top, FirstToShow(rowHeights_, fixedRows_, row, h));
  if (left != leftCol_ || top != topRow_) {
    leftCol_ = left;
    topRow_ = top;
    Scrolled();
    if (editing_) UpdateEditor();
  }
}

void TStringGrid::SetLeftCol(int col) {
  leftCol_ = ClampLeftCol(col);
  Scrolled();
  if (editing_) UpdateEditor();
}

void TStringGrid::SetTopRow(int row) {
  topRow_ = ClampTopRow(row);
  Scrolled();
  if (editing_) UpdateEditor();
}

}  // namespace tk
