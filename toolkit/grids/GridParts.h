#pragma once
// What the parts of the string grid share (toolkit-internal, no Qt): the
// arithmetic of the columns or rows that show, and the grid's widget.
#include <algorithm>
#include <vector>

class QKeyEvent;
class QWidget;

namespace tk {

class TStringGrid;

namespace gridparts {

constexpr int kLineWidth = 1;       // grid lines, 1 pixel
constexpr int kScrollBarSize = 16;  // the width of a vertical bar, the height of a horizontal one

// Calls f(index, start) for the columns (or rows) shown: the fixed ones, then
// those from `first` on, while they start before `limit`.  Returns early when
// f returns true.
template <class F>
void ForShown(const std::vector<int>& sizes, int fixed, int first, int limit, F f) {
  int pos = 0;
  const int n = static_cast<int>(sizes.size());
  for (int i = 0; i < n && pos < limit; ++i) {
    if (i == fixed) i = std::max(i, first);  // past the entries scrolled away
    if (i >= n || f(i, pos)) return;
    pos += sizes[static_cast<size_t>(i)] + kLineWidth;
  }
}
// The smallest first scrollable index from which the entries up to `last`
// all fit, whole, into `view` pixels behind the fixed ones (`last` itself
// when even it does not fit).
inline int FirstToShow(const std::vector<int>& sizes, int fixed, int last, int view) {
  int used = 0;
  for (int i = 0; i < fixed; ++i) used += sizes[static_cast<size_t>(i)] + kLineWidth;
  int first = last;
  used += sizes[static_cast<size_t>(first)];
  while (first > fixed && used + sizes[static_cast<size_t>(first - 1)] + kLineWidth <= view) {
    --first;
    used += sizes[static_cast<size_t>(first)] + kLineWidth;
  }
  return first;
}
// The first scrollable column or row of the last page: the largest worth scrolling to.
inline int LastPageStart(const std::vector<int>& sizes, int fixed, int view) {
  const int n = static_cast<int>(sizes.size());
  if (fixed >= n) return std::max(0, n - 1);
  return FirstToShow(sizes, fixed, n - 1, view);
}

// How many entries from `first` on show whole in `view` pixels behind the fixed ones.
inline int WholeShown(const std::vector<int>& sizes, int fixed, int first, int view) {
  int pos = 0, count = 0;
  for (int i = 0; i < fixed && i < static_cast<int>(sizes.size()); ++i)
    pos += sizes[static_cast<size_t>(i)] + kLineWidth;
  for (int i = first; i < static_cast<int>(sizes.size()) && pos + sizes[static_cast<size_t>(i)] <= view; ++i, ++count)
    pos += sizes[static_cast<size_t>(i)] + kLineWidth;
  return count;
}

// The grid's widget (GridWidget.cpp): made for the grid, and let go of by
// it before it goes; the bars raised above a cell's editor.
QWidget* NewGridWidget(TStringGrid* grid);
void ReleaseGridWidget(QWidget* widget);
void RaiseScrollBars(QWidget* widget);
// The Shift, Ctrl and Alt flags of a key event.
unsigned KeyModifiers(const QKeyEvent* event);
// Tab or Shift+Tab as they move the focus between controls (neither Ctrl nor Alt held).
bool IsFocusTab(const QKeyEvent* event);

}  // namespace gridparts
}  // namespace tk
