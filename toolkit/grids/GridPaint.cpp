// Painting the string grid: the cells shown, fixed and selected ones on
// their colours, the grid lines and the focus frame.
#include <algorithm>
#include <utility>
#include <vector>

#include "toolkit/core/Dispatch.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/grids/GridParts.h"
#include "toolkit/grids/Grids.h"

namespace tk {

using namespace gridparts;

namespace {
constexpr TColor kLineColor = clSilver;
constexpr TColor kFixedLineColor = 0x808080;
}  // namespace

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  if (DefaultDrawing) {
    const std::string& text = cells_[col][row];
    const size_t zero = text.find('\0');  // the painted text ends at its first zero byte
    canvas_->TextRectOpaque(rect, rect.Left + 2, rect.Top + 2, text.data(),
                            zero == std::string::npos ? text.size() : zero);
  }
  if (OnDrawCell) Dispatch([&] { OnDrawCell(this, col, row, rect, state); });
}

void TStringGrid::PaintCells(TCanvas& canvas, const TRect& clip) {
  canvas.Brush = TBrush();
  canvas.Brush.Color = Color();
  canvas.FillRect(clip);
  const bool focused = Focused();
  auto intersects = [&](const TRect& r) {
    return r.Left - kLineWidth < clip.Right && r.Right + kLineWidth > clip.Left && r.Top - kLineWidth < clip.Bottom &&
           r.Bottom + kLineWidth > clip.Top;
  };
  std::vector<std::pair<int, int>> rows;  // (row, top) of the rows shown in the clip
  ForShown(rowHeights_, fixedRows_, topRow_, clip.Bottom, [&](int r, int y) {
    rows.emplace_back(r, y);
    return false;
  });
  ForShown(colWidths_, fixedCols_, leftCol_, clip.Right, [&](int c, int x) {
    for (const auto& [r, y] : rows) {
      const TRect rect{x, y, x + colWidths_[c], y + rowHeights_[r]};
      if (!intersects(rect)) continue;
      const bool fixed = c < fixedCols_ || r < fixedRows_;
      TGridDrawState state = 0;
      if (fixed) state |= gdFixed;
      if (!fixed && c >= selection_.Left && c <= selection_.Right && r >= selection_.Top && r <= selection_.Bottom)
        state |= gdSelected;
      if (!fixed && focused && c == col_ && r == row_) state |= gdFocused;
      // Grid lines: the one to the right of the cell and the one below it.
      const bool vert = fixed ? (options_ & goFixedVertLine) : (options_ & goVertLine);
      const bool horz = fixed ? (options_ & goFixedHorzLine) : (options_ & goHorzLine);
      canvas.Brush.Style = bsSolid;
      canvas.Brush.Color = fixed ? kFixedLineColor : kLineColor;
      if (vert) canvas.FillRect(TRect{rect.Right, rect.Top, rect.Right + kLineWidth, rect.Bottom + kLineWidth});
      if (horz) canvas.FillRect(TRect{rect.Left, rect.Bottom, rect.Right + kLineWidth, rect.Bottom + kLineWidth});
      // The cell on the colours of its kind, in the grid's font.
      canvas.Font = Font();
      const bool highlight =
          (state & gdSelected) && (!(state & gdFocused) || (options_ & (goDrawFocusSelected | goRowSelect)));
      if (fixed) {
        canvas.Brush.Color = FixedColor;
      } else if (highlight) {
        canvas.Brush.Color = clHighlight;
        canvas.Font.Color = clHighlightText;
      } else {
        canvas.Brush.Color = Color();
      }
      DrawCell(c, r, rect, state);
      if ((state & gdFocused) && !(options_ & goRowSelect) && DefaultDrawing) DrawFocusFrame(canvas, rect);
    }
    return false;
  });
  // A grid that selects whole rows frames the current row while it has the
  // focus (its highlight shows with or without the focus).
  const int top = RowTop(row_);
  if (!focused || !(options_ & goRowSelect) || !DefaultDrawing || row_ < fixedRows_ || top < 0) return;
  int left = -1, right = -1;
  ForShown(colWidths_, fixedCols_, leftCol_, ClientWidth(), [&](int c, int x) {
    if (c >= fixedCols_) {
      if (left < 0) left = x;
      right = x + colWidths_[c];
    }
    return false;
  });
  if (left >= 0) DrawFocusFrame(canvas, TRect{left, top, right, top + rowHeights_[row_]});
}

void TStringGrid::DrawFocusFrame(TCanvas& canvas, const TRect& rect) {
  canvas.Pen = TPen();
  canvas.Pen.Style = psDot;
  canvas.Brush.Style = bsClear;
  canvas.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
  canvas.Brush.Style = bsSolid;
}

std::unique_ptr<TBitmap> TStringGrid::PaintToBitmap() {
  FpShield shield;
  auto bitmap = std::make_unique<TBitmap>(std::max(1, ClientWidth()), std::max(1, ClientHeight()));
  TCanvas& canvas = bitmap->Canvas();
  TCanvas* previous = canvas_;
  canvas_ = &canvas;
  try {
    PaintCells(canvas, TRect{0, 0, bitmap->Width(), bitmap->Height()});
  } catch (...) {
    canvas_ = previous;
    throw;
  }
  canvas_ = previous;
  return bitmap;
}

}  // namespace tk
