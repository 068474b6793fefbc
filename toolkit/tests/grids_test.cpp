// The plain string grid as the windows use it: cell texts, mouse position to
// cell, editing in place, leaving the grid, moves, keyboard and painting.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/GridKeys.h"
#include "tests/support/TestFiles.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/Errors.h"
#include "toolkit/grids/Grids.h"
#include "toolkit/testing/Testing.h"

using namespace tk;
namespace tt = tk::testing;

namespace {

// A cell as (column, row).
using Cell = std::pair<int, int>;
Cell Current(const TStringGrid& g) { return {g.Col(), g.Row()}; }

struct GridWindow {
  TForm form;
  TStringGrid* grid;
  TBitBtn* button;
  GridWindow() {
    form.SetBounds(10, 10, 600, 400);
    grid = new TStringGrid(&form);
    grid->SetBounds(0, 0, 400, 200);
    button = new TBitBtn(&form);
    button->SetBounds(450, 10, 100, 30);
    button->SetCaption("OK");
  }
  // The centre of a cell in the grid's client coordinates.
  TPoint Centre(int c, int r) const {
    const TRect rc = grid->CellRect(c, r);
    return {(rc.Left + rc.Right) / 2, (rc.Top + rc.Bottom) / 2};
  }
  void Click(int c, int r) {
    const TPoint p = Centre(c, r);
    tt::MouseClick(grid, p.X, p.Y);
  }
};

// A grid in a window of its own for each test.
struct StringGrid : ::testing::Test {
  GridWindow w;
  TStringGrid& g = *w.grid;
};
using StringGridEditor = StringGrid;
using StringGridScrolling = StringGrid;

TEST_F(StringGrid, CellRectsAndMouseToCellFollowWidthsHeightsAndOnePixelLines) {
  EXPECT_EQ(g.ColCount(), 5);
  EXPECT_EQ(g.ColWidth(3), 64);
  EXPECT_EQ(g.RowHeight(3), 24);
  g.SetColWidth(1, 100);
  g.SetRowHeight(2, 30);
  const TRect r00 = g.CellRect(0, 0), r12 = g.CellRect(1, 2), r22 = g.CellRect(2, 2);
  EXPECT_EQ(r00.Left, 0);
  EXPECT_EQ(r00.Right, 64);
  EXPECT_EQ(r00.Bottom, 24);
  EXPECT_EQ(r12.Left, 65);
  EXPECT_EQ(r12.Right, 165);
  EXPECT_EQ(r12.Top, 50);
  EXPECT_EQ(r12.Bottom, 80);
  EXPECT_EQ(r22.Left, 166);
  auto cellAt = [&](int x, int y) {
    int c, r;
    g.MouseToCell(x, y, c, r);
    return Cell{c, r};
  };
  EXPECT_EQ(cellAt(0, 0), Cell(0, 0));
  EXPECT_EQ(cellAt(64, 24), Cell(0, 0));  // the grid line belongs to the cell before it
  EXPECT_EQ(cellAt(65, 50), Cell(1, 2));
  EXPECT_EQ(cellAt(395, 10), Cell(-1, -1));  // right of the last column
  EXPECT_EQ(cellAt(10, 180), Cell(-1, -1));  // below the last row
  EXPECT_EQ(cellAt(-3, 10), Cell(-1, -1));
}

TEST_F(StringGrid, CellsOutsideTheGridAreRefusedWithTheListIndexError) {
  g.SetCells(4, 4, "x");
  EXPECT_EQ(g.Cells(4, 4), "x");
  try {
    g.Cells(1, -1);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
  }
  EXPECT_THROW(g.Cells(5, 0), EListError);
  EXPECT_THROW(g.SetCells(0, 5, "y"), EListError);
  // Growing keeps the texts, shrinking drops what falls outside.
  g.SetColCount(7);
  EXPECT_EQ(g.Cells(4, 4), "x");
  EXPECT_EQ(g.Cells(6, 4), "");
  g.SetColCount(3);
  EXPECT_THROW(g.Cells(4, 4), EListError);
  g.SetColCount(5);
  EXPECT_EQ(g.Cells(4, 4), "");
  // FixedCols must stay below ColCount; fewer columns take fixed ones along.
  EXPECT_THROW(g.SetFixedCols(5), Exception);
  g.SetColCount(1);
  EXPECT_EQ(g.FixedCols(), 0);
}

TEST_F(StringGrid, MouseEventsCarryClientCoordinatesAndAnOffGridReleaseFailsInTheHandler) {
  g.SetCells(1, 2, "55,0");
  std::vector<TPoint> downs, ups;
  std::string read;
  g.OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) { downs.push_back({x, y}); };
  g.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
    ups.push_back({x, y});
    int c, r;
    g.MouseToCell(x, y, c, r);
    read = g.Cells(1, r);  // as the material pick does
  };
  tt::RecordingDialogs dialogs;
  tt::MouseClick(&g, 100, 60);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].X, 100);
  EXPECT_EQ(downs[0].Y, 60);
  EXPECT_EQ(read, "55,0");
  EXPECT_EQ(Current(g), Cell(1, 2));
  EXPECT_TRUE(dialogs.messages.empty());
  // Released beyond the cells: row -1, and the handler's cell access fails
  // in the default error box.
  tt::MouseDown(&g, 100, 60);
  tt::MouseUp(&g, 100, 190);
  ASSERT_EQ(ups.size(), 2u);
  EXPECT_EQ(ups[1].Y, 190);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "List index out of bounds (-1)");
}

TEST_F(StringGrid, TypingEditsTheCurrentCellAndEnterOrEscapeEndsIt) {
  g.SetOptions(g.Options() | goEditing);
  g.SetCells(2, 3, "old");
  w.Click(2, 3);
  EXPECT_FALSE(g.EditorMode());
  tt::TypeText(&g, "12,5");
  ASSERT_TRUE(g.EditorMode());
  ASSERT_NE(g.InplaceEditor(), nullptr);
  EXPECT_TRUE(g.InplaceEditor()->Visible());
  EXPECT_EQ(g.Cells(2, 3), "12,5");  // the cell follows what is typed
  tt::PressKey(&g, tt::Key::Enter);
  EXPECT_FALSE(g.EditorMode());
  EXPECT_FALSE(g.InplaceEditor()->Visible());
  EXPECT_EQ(g.Cells(2, 3), "12,5");

  // F2 edits the text as it stands; Escape puts back what was there.
  tt::PressKey(&g, tt::Key::F2);
  EXPECT_TRUE(g.EditorMode());
  tt::TypeText(&g, "0");
  EXPECT_EQ(g.Cells(2, 3), "12,50");
  tt::PressKey(&g, tt::Key::Escape);
  EXPECT_FALSE(g.EditorMode());
  EXPECT_EQ(g.Cells(2, 3), "12,5");

  // A double click edits too; moving down takes the editor along and keeps
  // the text typed in the cell left behind.
  g.SetCells(2, 4, "next");
  const TPoint p = w.Centre(2, 3);
  tt::DblClick(&g, p.X, p.Y);
  EXPECT_TRUE(g.EditorMode());
  tt::TypeText(&g, "7");
  tt::PressKey(&g, tt::Key::Down);
  EXPECT_EQ(g.Row(), 4);
  EXPECT_TRUE(g.EditorMode());
  EXPECT_EQ(g.Cells(2, 3), "7");
  EXPECT_EQ(g.InplaceEditor()->Text(), "next");
  EXPECT_TRUE(g.InplaceEditor()->AllSelected());
  // The program writing the edited cell updates the editor.
  g.SetCells(2, 4, "set");
  EXPECT_EQ(g.InplaceEditor()->Text(), "set");
}

// Every non-printing key, bare and with Shift, Ctrl or Alt, in an open
// editor, whether the editor or the grid holds the focus: each key is handled
// once.  Up and Down move one row and PageUp and PageDown one page (the typed
// text stays in the cell left); the other keys leave the current cell alone.
TEST_F(StringGridEditor, EveryNonPrintingKeyIsHandledOnce) {
  g.SetRowCount(30);
  g.SetOptions(g.Options() | goEditing);
  const int page = 7;  // rows 24 high under a fixed row, in a grid 200 high
  testsupport::ExpectEveryNonPrintingKeyHandledOnce(g, 1, 10, page);
}

TEST_F(StringGrid, FixedCellsAndRowSelectionAreNotEditable) {
  g.SetOptions(g.Options() | goEditing | goRowSelect);
  w.Click(2, 3);
  const TGridRect s = g.Selection();
  EXPECT_EQ(s.Left, 1);
  EXPECT_EQ(s.Right, 4);
  EXPECT_EQ(s.Top, 3);
  EXPECT_EQ(s.Bottom, 3);
  tt::TypeText(&g, "9");
  EXPECT_FALSE(g.EditorMode());
  EXPECT_EQ(g.Cells(2, 3), "");
  // A click on a fixed cell selects nothing.
  g.SetOptions(g.Options() & ~goRowSelect);
  w.Click(0, 2);
  EXPECT_EQ(Current(g), Cell(2, 3));
}

TEST_F(StringGrid, OnExitRunsWhenTheFocusLeavesGridAndEditorWithTheTypedTextInPlace) {
  g.SetOptions(g.Options() | goEditing);
  int exits = 0, clicks = 0;
  std::string seen;
  g.OnExit = [&](TObject*) {
    ++exits;
    seen = g.Cells(1, 1);
  };
  w.button->OnClick = [&](TObject*) {
    ++clicks;
    EXPECT_EQ(exits, 1);  // the exit handler has run before the button's
  };
  tt::SetFocus(&g);
  tt::TypeText(&g, "3,2");
  ASSERT_TRUE(g.EditorMode());
  tt::PressKey(&g, tt::Key::Enter);  // editor to grid: still inside
  tt::PressKey(&g, tt::Key::F2);     // grid to editor: still inside
  EXPECT_EQ(exits, 0);
  tt::TypeText(&g, "5");
  tt::ClickButton(w.button);
  EXPECT_EQ(exits, 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(seen, "3,25");
  EXPECT_FALSE(g.EditorMode());
}

TEST_F(StringGrid, ColumnsAndRowsMoveWithTheirTextsAndSizes) {
  for (int c = 0; c < 5; ++c) g.SetCells(c, 1, "c" + std::to_string(c));
  g.SetColWidth(1, 80);
  std::vector<std::pair<int, int>> colMoves, rowMoves;
  g.OnColumnMoved = [&](TObject*, int f, int t) { colMoves.push_back({f, t}); };
  g.OnRowMoved = [&](TObject*, int f, int t) { rowMoves.push_back({f, t}); };
  g.MoveColumn(1, 3);
  EXPECT_EQ(g.Cells(1, 1), "c2");
  EXPECT_EQ(g.Cells(2, 1), "c3");
  EXPECT_EQ(g.Cells(3, 1), "c1");
  EXPECT_EQ(g.ColWidth(3), 80);
  EXPECT_EQ(g.ColWidth(1), 64);
  ASSERT_EQ(colMoves.size(), 1u);
  EXPECT_EQ(colMoves[0], std::make_pair(1, 3));

  // Dragging a header cell moves only when the option allows it.
  const TRect from = g.CellRect(3, 0), to = g.CellRect(1, 0);
  tt::MouseDown(&g, from.Left + 5, 5);
  tt::MouseUp(&g, to.Left + 5, 5);
  EXPECT_EQ(colMoves.size(), 1u);
  g.SetOptions(g.Options() | goColMoving | goRowMoving);
  tt::MouseDown(&g, from.Left + 5, 5);
  tt::MouseUp(&g, to.Left + 5, 5);
  ASSERT_EQ(colMoves.size(), 2u);
  EXPECT_EQ(colMoves[1], std::make_pair(3, 1));
  EXPECT_EQ(g.Cells(1, 1), "c1");
  EXPECT_EQ(g.ColWidth(1), 80);

  g.SetCells(0, 4, "last");
  g.SetRowHeight(4, 30);
  const TRect rowFrom = g.CellRect(0, 4), rowTo = g.CellRect(0, 1);
  tt::MouseDown(&g, 5, rowFrom.Top + 5);
  tt::MouseUp(&g, 5, rowTo.Top + 5);
  ASSERT_EQ(rowMoves.size(), 1u);
  EXPECT_EQ(rowMoves[0], std::make_pair(4, 1));
  EXPECT_EQ(g.Cells(0, 1), "last");
  EXPECT_EQ(g.Cells(1, 2), "c1");  // row 1 went down one
  EXPECT_EQ(g.RowHeight(1), 30);
  EXPECT_THROW(g.MoveRow(0, 5), EListError);
}

TEST_F(StringGrid, ArrowsMoveTheCurrentCellWithinTheScrollableCellsAndTabOnlyWithGoTabs) {
  tt::SetFocus(&g);
  EXPECT_EQ(Current(g), Cell(1, 1));
  tt::PressKey(&g, tt::Key::Left);  // column 0 is fixed
  EXPECT_EQ(g.Col(), 1);
  tt::PressKey(&g, tt::Key::Right);
  tt::PressKey(&g, tt::Key::Down);
  EXPECT_EQ(Current(g), Cell(2, 2));
  tt::PressKey(&g, tt::Key::End);
  EXPECT_EQ(g.Col(), 4);
  tt::PressKey(&g, tt::Key::Tab);  // focus moves on, the cell stays
  EXPECT_EQ(g.Col(), 4);
  g.SetOptions(g.Options() | goTabs);
  tt::SetFocus(&g);
  tt::PressKey(&g, tt::Key::Tab);  // wraps to the next row
  EXPECT_EQ(Current(g), Cell(1, 3));
}

TEST_F(StringGrid, PaintsFixedCellsOnTheButtonFaceAndRaisesOnDrawCellForEachCell) {
  g.SetCells(2, 2, "WWWW");
  int drawn = 0;
  TGridDrawState fixedState = 0, selectedState = 0;
  g.OnDrawCell = [&](TObject*, int c, int r, const TRect&, TGridDrawState s) {
    ++drawn;
    if (c == 0 && r == 0) fixedState = s;
    if (c == 1 && r == 1) selectedState = s;
  };
  auto bmp = g.PaintToBitmap();
  EXPECT_EQ(drawn, 25);
  EXPECT_TRUE(fixedState & gdFixed);
  EXPECT_TRUE(selectedState & gdSelected);
  EXPECT_EQ(bmp->Pixel(30, 20), RGBColor(240, 240, 240));  // fixed cell (0,0)
  const TRect c22 = g.CellRect(2, 2);
  EXPECT_EQ(bmp->Pixel(c22.Right - 3, c22.Bottom - 2), RGBColor(255, 255, 255));
  bool ink = false;  // the text, at (left + 2, top + 2)
  for (int x = c22.Left + 2; x < c22.Left + 30; ++x)
    for (int y = c22.Top + 2; y < c22.Bottom; ++y)
      if (bmp->Pixel(x, y) == RGBColor(0, 0, 0)) ink = true;
  EXPECT_TRUE(ink);
  for (int x = c22.Left; x < c22.Left + 2; ++x)
    for (int y = c22.Top; y < c22.Bottom; ++y) EXPECT_NE(bmp->Pixel(x, y), RGBColor(0, 0, 0));
  // The painted text ends at its first zero byte.
  g.SetCells(3, 2,
             std::string("WWWW\0"
                         "MM",
                         7));
  bmp = g.PaintToBitmap();
  const TRect c32 = g.CellRect(3, 2);
  for (int y = 0; y < c22.Height(); ++y)
    for (int x = 0; x < c22.Width(); ++x)
      ASSERT_EQ(bmp->Pixel(c32.Left + x, c32.Top + y), bmp->Pixel(c22.Left + x, c22.Top + y)) << x << " " << y;
  bmp->SaveToPng(testsupport::PicturePath("string_grid.png"));
}

// Scroll bars show while the rows (columns) do not all fit and scroll by
// whole rows (columns); the wheel scrolls the view; a click then picks the
// cell under the pointer.  Without scroll bars none shows, however many rows.
TEST_F(StringGridScrolling, BarsShowWhenTheCellsDoNotFitAndAClickPicksTheCellUnderThePointer) {
  tt::ActivateWindow(&w.form);
  const TColor white = RGBColor(255, 255, 255);
  auto pixel = [&](int x, int y) { return w.form.GetFormImage()->Pixel(x, y); };
  EXPECT_EQ(pixel(395, 100), white);  // 5 x 5 cells fit: no bar
  g.SetRowCount(30);
  for (int r = 0; r < 30; ++r) g.SetCells(1, r, "r" + std::to_string(r));
  tt::ProcessEvents();
  EXPECT_EQ(g.ClientWidth(), 400 - 16);
  EXPECT_EQ(g.ClientHeight(), 200);
  EXPECT_NE(pixel(392, 100), white);  // the vertical bar at the right edge
  EXPECT_EQ(pixel(230, 196), white);  // no horizontal bar

  int ups = 0, upRow = -1;
  g.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
    ++ups;
    int c;
    g.MouseToCell(x, y, c, upRow);
  };
  tt::MouseClick(&g, 392, 150);  // the bar below its handle: one page of 7 whole rows
  EXPECT_EQ(g.TopRow(), 8);
  tt::MouseClick(&g, 392, 195);  // its down arrow: one row
  EXPECT_EQ(g.TopRow(), 9);
  EXPECT_EQ(ups, 0);  // the bar's clicks are not the grid's
  EXPECT_EQ(g.Row(), 1);
  tt::Wheel(&g, 100, 100, -1);  // one notch towards the user: three rows
  EXPECT_EQ(g.TopRow(), 12);
  tt::Wheel(&g, 100, 100, -20);  // no further than the last row at the bottom
  EXPECT_EQ(g.TopRow(), 23);
  EXPECT_EQ(g.Row(), 1);                      // the wheel moves the view, not the current cell
  tt::MouseClick(&g, 100, 25 + 2 * 25 + 10);  // the third row under the fixed one
  EXPECT_EQ(upRow, 25);
  EXPECT_EQ(g.Row(), 25);
  tt::Wheel(&g, 100, 100, 30);
  EXPECT_EQ(g.TopRow(), 1);
  EXPECT_TRUE(tt::SaveWindowPng(&w.form, testsupport::PicturePath("string_grid_scroll_bar.png")));

  // Columns too, with the corner square between the bars.
  g.SetColCount(12);
  tt::ProcessEvents();
  EXPECT_TRUE(g.HorzScrollBarShown());
  EXPECT_EQ(g.ClientHeight(), 200 - 16);
  EXPECT_EQ(pixel(392, 192), ColorToRGB(clBtnFace));
  tt::MouseClick(&g, 375, 192);  // the right arrow of the horizontal bar
  EXPECT_EQ(g.LeftCol(), 2);
  EXPECT_EQ(g.CellRect(0, 1).Left, 0);  // the fixed column stays
  EXPECT_EQ(g.CellRect(2, 1).Left, 65);

  g.SetScrollBars(ssNone);
  tt::ProcessEvents();
  EXPECT_FALSE(g.VertScrollBarShown());
  EXPECT_FALSE(g.HorzScrollBarShown());
  EXPECT_EQ(g.ClientWidth(), 400);
  EXPECT_EQ(pixel(392, 100), white);
}

// Every way of scrolling stops at the first row of the last page, and the
// window then shows the same picture, bar included; the client area that
// aligned controls and any caller through a TControl* see ends at the bar.
TEST_F(StringGridScrolling, ProgramWheelBarAndPageDownStopAtTheLastPageAndAlignedControlsAtTheBar) {
  g.SetRowCount(30);
  tt::ActivateWindow(&w.form);
  auto* inside = new TPanel(&g);
  inside->SetWidth(50);
  inside->SetAlign(alRight);
  const TControl& control = g;
  EXPECT_EQ(control.ClientWidth(), 400 - 16);
  EXPECT_EQ(inside->Left() + inside->Width(), 400 - 16);
  std::vector<uint32_t> atEnd;
  auto sameAsAtEnd = [&] {
    tt::ProcessEvents();
    auto image = w.form.GetFormImage();
    std::vector<uint32_t> now;
    for (int y = 0; y < 200; ++y) now.insert(now.end(), image->ScanLine(y), image->ScanLine(y) + 400);
    if (atEnd.empty()) atEnd = now;
    return now == atEnd;
  };
  g.SetTopRow(29);  // 7 rows make the last page: 23 to 29
  EXPECT_EQ(g.TopRow(), 23);
  EXPECT_TRUE(sameAsAtEnd());
  g.SetTopRow(1);
  tt::Wheel(&g, 100, 100, -20);
  EXPECT_EQ(g.TopRow(), 23);
  EXPECT_TRUE(sameAsAtEnd());
  g.SetTopRow(1);
  for (int i = 0; i < 30; ++i) tt::MouseClick(&g, 392, 195);  // the bar's down arrow
  EXPECT_EQ(g.TopRow(), 23);
  EXPECT_TRUE(sameAsAtEnd());
  g.SetTopRow(1);
  tt::SetFocus(&g);
  for (int i = 0; i < 5; ++i) tt::PressKey(&g, tt::Key::PageDown);
  EXPECT_EQ(g.Row(), 29);
  EXPECT_EQ(g.TopRow(), 23);
  g.SetDefaultRowHeight(20);  // smaller rows: the last page starts earlier, and the view follows
  EXPECT_EQ(g.TopRow(), 22);
}

// Scrolling while editing: the editor follows its cell; a cell scrolled out
// of view ends editing with the typed text in it and the focus still on the
// grid (no exit), and typing brings it back into view.
TEST_F(StringGridScrolling, ScrollingTheEditedCellAwayEndsEditingWithoutLeavingTheGrid) {
  g.SetRowCount(30);
  g.SetOptions(g.Options() | goEditing);
  int exits = 0;
  g.OnExit = [&](TObject*) { ++exits; };
  tt::SetFocus(&g);
  g.SetCurrentCell(1, 5);
  tt::TypeText(&g, "12");
  tt::Wheel(&g, 100, 100, -1);  // three rows: row 5 still shows
  EXPECT_TRUE(g.EditorMode());
  tt::TypeText(&g, "3");
  EXPECT_EQ(g.Cells(1, 5), "123");
  tt::MouseClick(&g, 392, 150);  // a page down by the bar: row 5 goes
  EXPECT_FALSE(g.EditorMode());
  EXPECT_EQ(g.Cells(1, 5), "123");
  EXPECT_TRUE(g.Focused());
  EXPECT_EQ(exits, 0);
  tt::TypeText(&g, "4");
  EXPECT_TRUE(g.EditorMode());
  EXPECT_EQ(g.Cells(1, 5), "4");
  EXPECT_LE(g.TopRow(), 5);
  EXPECT_EQ(exits, 0);
}

}  // namespace
