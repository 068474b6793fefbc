// What keys and the mouse do in the string grid: moving the current cell and
// the selection, starting the editor, and sizing and moving columns and rows
// by their header cells.
#include <QLineEdit>
#include <algorithm>
#include <cstdlib>

#include "toolkit/core/FpCheck.h"
#include "toolkit/grids/GridParts.h"
#include "toolkit/grids/Grids.h"
#include "toolkit/pictures/QtGraphics.h"

namespace tk {

using namespace gridparts;

namespace {
constexpr int kSizingMargin = 2;  // pixels either side of a header line that start sizing
}  // namespace

// ---------------------------------------------------------------------------
// Keyboard

bool TStringGrid::HandleKey(int key, unsigned modifiers, const std::string& text) {
  FpShield shield;
  const bool shift = modifiers & ssShift, ctrl = modifiers & ssCtrl;
  const int loC = std::min(fixedCols_, colCount_ - 1), loR = std::min(fixedRows_, rowCount_ - 1);
  auto pageRows = [&] { return std::max(1, WholeShown(rowHeights_, fixedRows_, topRow_, ClientHeight())); };
  switch (key) {
    case Qt::Key_Up: MoveCurrent(col_, row_ - 1, shift); return true;
    case Qt::Key_Down: MoveCurrent(col_, row_ + 1, shift); return true;
    case Qt::Key_Left:
      if (!(options_ & goRowSelect)) MoveCurrent(col_ - 1, row_, shift);
      return true;
    case Qt::Key_Right:
      if (!(options_ & goRowSelect)) MoveCurrent(col_ + 1, row_, shift);
      return true;
    case Qt::Key_PageUp: MoveCurrent(col_, row_ - pageRows(), shift); return true;
    case Qt::Key_PageDown: MoveCurrent(col_, row_ + pageRows(), shift); return true;
    case Qt::Key_Home: MoveCurrent(loC, ctrl ? loR : row_, shift); return true;
    case Qt::Key_End: MoveCurrent(colCount_ - 1, ctrl ? rowCount_ - 1 : row_, shift); return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
      if (!(options_ & goTabs)) return false;
      const bool back = key == Qt::Key_Backtab || shift;
      int c = col_, r = row_;
      if (back) {
        if (--c < loC) {
          c = colCount_ - 1;
          if (--r < loR) r = rowCount_ - 1;
        }
      } else {
        if (++c >= colCount_) {
          c = loC;
          if (++r >= rowCount_) r = loR;
        }
      }
      MoveCurrent(c, r, false);
      return true;
    }
    case Qt::Key_F2:
      ShowEditor();
      if (editing_ && editor_) {
        auto* e = static_cast<QLineEdit*>(editor_->Widget());
        e->deselect();
        e->end(false);
      }
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: ShowEditor(); return true;
    default: break;
  }
  // A printable character starts editing with that character as the new text.
  if (!ctrl && !text.empty() && static_cast<unsigned char>(text[0]) >= 0x20 && text[0] != 0x7F && CanEditNow()) {
    ShowEditor();
    if (editing_ && editor_) {
      auto* e = static_cast<QLineEdit*>(editor_->Widget());
      e->setText(ToQString(text));
      emit e->textEdited(e->text());
    }
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Mouse

void TStringGrid::HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y, bool dbl) {
  FpShield shield;
  if (button != mbLeft) return;
  int c, r;
  MouseToCell(x, y, c, r);
  const bool hadFocus = Widget()->hasFocus() || (editor_ && editor_->Widget() && editor_->Widget()->hasFocus());
  if (dbl) {
    if (c == col_ && r == row_ && c >= fixedCols_ && r >= fixedRows_) ShowEditor();
    return;
  }
  if (c < 0 || r < 0) return;
  if (!editing_ || !(editor_ && editor_->Widget() && editor_->Widget()->hasFocus()))
    Widget()->setFocus(Qt::MouseFocusReason);
  if (c >= fixedCols_ && r >= fixedRows_) {
    const bool wasCurrent = c == col_ && r == row_;
    MoveCurrent(c, r, (shift & ssShift) != 0);
    drag_ = (options_ & goRangeSelect) && !(options_ & goRowSelect) ? 1 : 0;
    if (wasCurrent && hadFocus && !editing_ && CanEditNow()) ShowEditor();
    return;
  }
  // Header cells: size a column or row at its line, or move it.
  HideEditor();
  if (r < fixedRows_ && (options_ & goColSizing)) {
    int found = -1;
    ForShown(colWidths_, fixedCols_, leftCol_, x + kSizingMargin + 1, [&](int i, int left) {
      if (std::abs(x - (left + colWidths_[i])) <= kSizingMargin) found = i;
      return found >= 0;
    });
    if (found >= 0) {
      drag_ = 4;
      dragIndex_ = found;
      dragStart_ = x;
      dragSize_ = colWidths_[found];
      return;
    }
  }
  if (c < fixedCols_ && (options_ & goRowSizing)) {
    int found = -1;
    ForShown(rowHeights_, fixedRows_, topRow_, y + kSizingMargin + 1, [&](int i, int top) {
      if (std::abs(y - (top + rowHeights_[i])) <= kSizingMargin) found = i;
      return found >= 0;
    });
    if (found >= 0) {
      drag_ = 5;
      dragIndex_ = found;
      dragStart_ = y;
      dragSize_ = rowHeights_[found];
      return;
    }
  }
  if (r < fixedRows_ && c >= fixedCols_ && (options_ & goColMoving)) {
    drag_ = 2;
    dragIndex_ = dragTarget_ = c;
  } else if (c < fixedCols_ && r >= fixedRows_ && (options_ & goRowMoving)) {
    drag_ = 3;
    dragIndex_ = dragTarget_ = r;
  }
}

void TStringGrid::HandleMouseMove(TShiftState shift, int x, int y, bool leftDown) {
  if (!leftDown) {
    if (drag_) drag_ = 0;
    return;
  }
  int c, r;
  MouseToCell(x, y, c, r);
  switch (drag_) {
    case 1:
      if (c >= fixedCols_ && r >= fixedRows_) MoveCurrent(c, r, true);
      break;
    case 2:
      if (c >= fixedCols_) dragTarget_ = c;
      break;
    case 3:
      if (r >= fixedRows_) dragTarget_ = r;
      break;
    case 4: SetColWidth(dragIndex_, std::max(0, dragSize_ + x - dragStart_)); break;
    case 5: SetRowHeight(dragIndex_, std::max(0, dragSize_ + y - dragStart_)); break;
    default: break;
  }
}

void TStringGrid::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button != mbLeft) return;
  FpShield shield;
  const int kind = drag_;
  drag_ = 0;
  int c, r;
  MouseToCell(x, y, c, r);
  if (kind == 2) {
    const int to = c >= fixedCols_ ? c : dragTarget_;
    if (to >= fixedCols_ && to != dragIndex_) MoveColumn(dragIndex_, to);
  } else if (kind == 3) {
    const int to = r >= fixedRows_ ? r : dragTarget_;
    if (to >= fixedRows_ && to != dragIndex_) MoveRow(dragIndex_, to);
  }
}

void TStringGrid::MouseMove(TShiftState shift, int x, int y) { HandleMouseMove(shift, x, y, (shift & ssLeft) != 0); }

}  // namespace tk
