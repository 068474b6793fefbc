// The plain string grid's model: its counts and sizes, fixed cells, cell
// texts and their rectangles, the current cell and the selection, column and
// row moves, and its stored properties.  Scrolling, the editor, input, the
// widget and painting are in GridScroll, GridEditor, GridInput, GridWidget
// and GridPaint.
#include "toolkit/grids/Grids.h"

#include <algorithm>

#include "toolkit/core/Dispatch.h"
#include "toolkit/core/Errors.h"
#include "toolkit/grids/GridParts.h"

namespace tk {

using namespace gridparts;

namespace {

[[noreturn]] void IndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction and sizes

TStringGrid::TStringGrid(TWinControl* parent) : TWinControl(parent) {
  AttachWidget(NewGridWidget(this));
  SetColor(clWindow);
  colWidths_.assign(colCount_, defaultColWidth_);
  rowHeights_.assign(rowCount_, defaultRowHeight_);
  cells_.assign(colCount_, std::vector<std::string>(rowCount_));
}

TStringGrid::~TStringGrid() {
  editor_.reset();
  ReleaseGridWidget(Widget());
}

void TStringGrid::ResizeCells() {
  colWidths_.resize(colCount_, defaultColWidth_);
  rowHeights_.resize(rowCount_, defaultRowHeight_);
  cells_.resize(colCount_);
  for (auto& column : cells_) column.resize(rowCount_);
}

void TStringGrid::ClampCurrent() {
  auto clamp = [](int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); };
  const int loC = std::min(fixedCols_, colCount_ - 1), loR = std::min(fixedRows_, rowCount_ - 1);
  col_ = clamp(col_, loC, colCount_ - 1);
  row_ = clamp(row_, loR, rowCount_ - 1);
  anchorCol_ = clamp(anchorCol_, loC, colCount_ - 1);
  anchorRow_ = clamp(anchorRow_, loR, rowCount_ - 1);
  leftCol_ = clamp(leftCol_, loC, colCount_ - 1);
  topRow_ = clamp(topRow_, loR, rowCount_ - 1);
  selection_.Left = clamp(selection_.Left, loC, colCount_ - 1);
  selection_.Right = clamp(selection_.Right, loC, colCount_ - 1);
  selection_.Top = clamp(selection_.Top, loR, rowCount_ - 1);
  selection_.Bottom = clamp(selection_.Bottom, loR, rowCount_ - 1);
  if (options_ & goRowSelect) {
    selection_.Left = loC;
    selection_.Right = colCount_ - 1;
  }
}

void TStringGrid::SetColCount(int n) {
  n = std::max(1, n);
  if (n == colCount_) return;
  HideEditor();
  colCount_ = n;
  if (fixedCols_ >= n) fixedCols_ = n - 1;
  ResizeCells();
  ClampCurrent();
  Relayout();
}

void TStringGrid::SetRowCount(int n) {
  n = std::max(1, n);
  if (n == rowCount_) return;
  HideEditor();
  rowCount_ = n;
  if (fixedRows_ >= n) fixedRows_ = n - 1;
  ResizeCells();
  ClampCurrent();
  Relayout();
}

void TStringGrid::SetFixedCols(int n) {
  if (n < 0) n = 0;
  if (n >= colCount_) throw Exception("Fixed column count must be less than column count");
  if (n == fixedCols_) return;
  HideEditor();
  fixedCols_ = n;
  // The current cell goes back to the first scrollable cell.
  col_ = anchorCol_ = leftCol_ = n;
  row_ = anchorRow_ = topRow_ = fixedRows_;
  selection_ = TGridRect{col_, row_, col_, row_};
  ClampCurrent();
  Relayout();
}

void TStringGrid::SetFixedRows(int n) {
  if (n < 0) n = 0;
  if (n >= rowCount_) throw Exception("Fixed row count must be less than row count");
  if (n == fixedRows_) return;
  HideEditor();
  fixedRows_ = n;
  col_ = anchorCol_ = leftCol_ = fixedCols_;
  row_ = anchorRow_ = topRow_ = n;
  selection_ = TGridRect{col_, row_, col_, row_};
  ClampCurrent();
  Relayout();
}

void TStringGrid::SetDefaultColWidth(int w) {
  defaultColWidth_ = std::max(0, w);
  std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
  if (editing_) UpdateEditor();
  Relayout();
}

void TStringGrid::SetDefaultRowHeight(int h) {
  defaultRowHeight_ = std::max(0, h);
  std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
  if (editing_) UpdateEditor();
  Relayout();
}

int TStringGrid::ColWidth(int col) const {
  if (col < 0 || col >= colCount_) IndexError(col);
  return colWidths_[col];
}

int TStringGrid::RowHeight(int row) const {
  if (row < 0 || row >= rowCount_) IndexError(row);
  return rowHeights_[row];
}

void TStringGrid::SetColWidth(int col, int w) {
  if (col < 0 || col >= colCount_) IndexError(col);
  colWidths_[col] = std::max(0, w);
  if (editing_) UpdateEditor();
  Relayout();
}

void TStringGrid::SetRowHeight(int row, int h) {
  if (row < 0 || row >= rowCount_) IndexError(row);
  rowHeights_[row] = std::max(0, h);
  if (editing_) UpdateEditor();
  Relayout();
}

void TStringGrid::SetOptions(TGridOptions options) {
  options_ = options;
  if (options_ & goRowSelect) HideEditor();
  ClampCurrent();
  if (options_ & goRowSelect) selection_.Top = selection_.Bottom = row_;
  Invalidate();
}

void TStringGrid::SetScrollBars(TScrollStyle style) {
  scrollBars_ = style;
  Relayout();
  if (editing_) UpdateEditor();
}

void TStringGrid::ColorChanged() { Invalidate(); }

void TStringGrid::FontChanged() {
  Invalidate();
  if (editor_) editor_->SetFont(Font());
}

// ---------------------------------------------------------------------------
// Cells and geometry

std::string TStringGrid::Cells(int col, int row) const {
  if (col < 0 || col >= colCount_) IndexError(col);
  if (row < 0 || row >= rowCount_) IndexError(row);
  return cells_[col][row];
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  if (col < 0 || col >= colCount_) IndexError(col);
  if (row < 0 || row >= rowCount_) IndexError(row);
  if (cells_[col][row] == text) return;
  cells_[col][row] = text;
  if (editing_ && editor_ && col == editCol_ && row == editRow_ && editor_->Text() != text) editor_->SetText(text);
  Invalidate();  // the window system merges the repaints
}

int TStringGrid::ColLeft(int col) const {
  if (col < 0 || col >= colCount_) return -1;
  int x = 0;
  if (col < fixedCols_) {
    for (int i = 0; i < col; ++i) x += colWidths_[i] + kLineWidth;
    return x;
  }
  if (col < leftCol_) return -1;
  for (int i = 0; i < fixedCols_; ++i) x += colWidths_[i] + kLineWidth;
  for (int i = leftCol_; i < col; ++i) x += colWidths_[i] + kLineWidth;
  return x;
}

int TStringGrid::RowTop(int row) const {
  if (row < 0 || row >= rowCount_) return -1;
  int y = 0;
  if (row < fixedRows_) {
    for (int i = 0; i < row; ++i) y += rowHeights_[i] + kLineWidth;
    return y;
  }
  if (row < topRow_) return -1;
  for (int i = 0; i < fixedRows_; ++i) y += rowHeights_[i] + kLineWidth;
  for (int i = topRow_; i < row; ++i) y += rowHeights_[i] + kLineWidth;
  return y;
}

TRect TStringGrid::CellRect(int col, int row) const {
  const int x = ColLeft(col), y = RowTop(row);
  if (x < 0 || y < 0) return TRect{};
  return TRect{x, y, x + colWidths_[col], y + rowHeights_[row]};
}

void TStringGrid::MouseToCell(int x, int y, int& col, int& row) const {
  col = row = -1;
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return;
  int c = -1, r = -1;
  // A cell owns the grid line to its right and below it.
  ForShown(colWidths_, fixedCols_, leftCol_, x + 1, [&](int i, int left) {
    if (x < left + colWidths_[i] + kLineWidth) c = i;
    return c >= 0;
  });
  ForShown(rowHeights_, fixedRows_, topRow_, y + 1, [&](int i, int top) {
    if (y < top + rowHeights_[i] + kLineWidth) r = i;
    return r >= 0;
  });
  if (c < 0 || r < 0) return;
  col = c;
  row = r;
}

// ---------------------------------------------------------------------------
// Current cell and selection

void TStringGrid::SetCurrentCell(int col, int row) {
  if (col < fixedCols_ || col >= colCount_ || row < fixedRows_ || row >= rowCount_) return;
  MoveCurrent(col, row, false);
}

TGridRect TStringGrid::Selection() const { return selection_; }

void TStringGrid::SetSelectionRect(const TGridRect& rect) {
  TGridRect r = rect;
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  selection_ = r;
  anchorCol_ = r.Left;
  anchorRow_ = r.Top;
  const bool moved = col_ != r.Right || row_ != r.Bottom;
  if (moved && editing_) CommitEditor();
  col_ = r.Right;
  row_ = r.Bottom;
  ClampCurrent();
  if (moved && editing_) UpdateEditor();
  Invalidate();
}

void TStringGrid::MoveCurrent(int col, int row, bool extend) {
  const int loC = std::min(fixedCols_, colCount_ - 1), loR = std::min(fixedRows_, rowCount_ - 1);
  col = std::max(loC, std::min(col, colCount_ - 1));
  row = std::max(loR, std::min(row, rowCount_ - 1));
  const bool moved = col != col_ || row != row_;
  if (moved && editing_) CommitEditor();
  col_ = col;
  row_ = row;
  if (!extend || !(options_ & goRangeSelect)) {
    anchorCol_ = col;
    anchorRow_ = row;
  }
  selection_ = TGridRect{std::min(anchorCol_, col), std::min(anchorRow_, row), std::max(anchorCol_, col),
                         std::max(anchorRow_, row)};
  if (options_ & goRowSelect) {
    selection_.Left = loC;
    selection_.Right = colCount_ - 1;
  }
  ScrollInView(col, row);
  if (moved && editing_) UpdateEditor();
  Invalidate();
}

// ---------------------------------------------------------------------------
// Moves

namespace {
template <class V>
void MoveEntry(V& v, int from, int to) {
  auto item = std::move(v[from]);
  v.erase(v.begin() + from);
  v.insert(v.begin() + to, std::move(item));
}
// Where an index lands when the entry at from moves to to.
int Follow(int i, int from, int to) {
  if (i == from) return to;
  if (from < to && i > from && i <= to) return i - 1;
  if (from > to && i >= to && i < from) return i + 1;
  return i;
}
}  // namespace

void TStringGrid::MoveColumn(int fromIndex, int toIndex) {
  if (fromIndex < 0 || fromIndex >= colCount_) IndexError(fromIndex);
  if (toIndex < 0 || toIndex >= colCount_) IndexError(toIndex);
  if (fromIndex == toIndex) return;
  HideEditor();
  col_ = Follow(col_, fromIndex, toIndex);
  anchorCol_ = Follow(anchorCol_, fromIndex, toIndex);
  selection_ = TGridRect{std::min(anchorCol_, col_), selection_.Top, std::max(anchorCol_, col_), selection_.Bottom};
  ClampCurrent();
  ColumnMoved(fromIndex, toIndex);
}

void TStringGrid::MoveRow(int fromIndex, int toIndex) {
  if (fromIndex < 0 || fromIndex >= rowCount_) IndexError(fromIndex);
  if (toIndex < 0 || toIndex >= rowCount_) IndexError(toIndex);
  if (fromIndex == toIndex) return;
  HideEditor();
  row_ = Follow(row_, fromIndex, toIndex);
  anchorRow_ = Follow(anchorRow_, fromIndex, toIndex);
  selection_ = TGridRect{selection_.Left, std::min(anchorRow_, row_), selection_.Right, std::max(anchorRow_, row_)};
  ClampCurrent();
  RowMoved(fromIndex, toIndex);
}

void TStringGrid::ColumnMoved(int fromIndex, int toIndex) {
  MoveEntry(cells_, fromIndex, toIndex);
  MoveEntry(colWidths_, fromIndex, toIndex);
  Relayout();
  if (OnColumnMoved) Dispatch([&] { OnColumnMoved(this, fromIndex, toIndex); });
}

void TStringGrid::RowMoved(int fromIndex, int toIndex) {
  for (auto& column : cells_) MoveEntry(column, fromIndex, toIndex);
  MoveEntry(rowHeights_, fromIndex, toIndex);
  Relayout();
  if (OnRowMoved) Dispatch([&] { OnRowMoved(this, fromIndex, toIndex); });
}

// ---------------------------------------------------------------------------
// Layout

void TStringGrid::DefineProperties(TFiler& filer) {
  // Published sizes, each stored when it differs from its default.  Values
  // that no grid can take are refused as invalid, not allocated.
  auto count = [](TReader& r, int most) {
    const int32_t v = r.ReadInteger();
    if (v < 1 || v > most) RaiseInvalidPropertyValue();
    return v;
  };
  auto size = [](TReader& r) {
    const int32_t v = r.ReadInteger();
    if (v < 0 || v > 32767) RaiseInvalidPropertyValue();
    return v;
  };
  constexpr int kMostCells = 1 << 20;
  filer.DefineProperty(
      "ColCount", [this, count](TReader& r) { SetColCount(count(r, kMostCells / rowCount_)); },
      [this](TWriter& w) { w.WriteInteger(colCount_); }, colCount_ != 5);
  filer.DefineProperty(
      "RowCount", [this, count](TReader& r) { SetRowCount(count(r, kMostCells / colCount_)); },
      [this](TWriter& w) { w.WriteInteger(rowCount_); }, rowCount_ != 5);
  filer.DefineProperty(
      "FixedCols",
      [this](TReader& r) {
        const int32_t v = r.ReadInteger();
        if (v < 0 || v >= colCount_) RaiseInvalidPropertyValue();
        SetFixedCols(v);
      },
      [this](TWriter& w) { w.WriteInteger(fixedCols_); }, fixedCols_ != 1);
  filer.DefineProperty(
      "FixedRows",
      [this](TReader& r) {
        const int32_t v = r.ReadInteger();
        if (v < 0 || v >= rowCount_) RaiseInvalidPropertyValue();
        SetFixedRows(v);
      },
      [this](TWriter& w) { w.WriteInteger(fixedRows_); }, fixedRows_ != 1);
  filer.DefineProperty(
      "DefaultColWidth", [this, size](TReader& r) { SetDefaultColWidth(size(r)); },
      [this](TWriter& w) { w.WriteInteger(defaultColWidth_); }, defaultColWidth_ != 64);
  filer.DefineProperty(
      "DefaultRowHeight", [this, size](TReader& r) { SetDefaultRowHeight(size(r)); },
      [this](TWriter& w) { w.WriteInteger(defaultRowHeight_); }, defaultRowHeight_ != 24);
  filer.DefineProperty(
      "DefaultDrawing", [this](TReader& r) { DefaultDrawing = r.ReadBoolean(); },
      [this](TWriter& w) { w.WriteBoolean(DefaultDrawing); }, !DefaultDrawing);
}

}  // namespace tk
