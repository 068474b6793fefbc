#pragma once
// The keys a grid's in-place editor must handle, for the toolkit's grid and
// the grids built on it.
#include <gtest/gtest.h>

#include "toolkit/grids/Grids.h"
#include "toolkit/testing/Testing.h"

namespace testsupport {

// Every non-printing key, bare and with Shift, Ctrl or Alt, in an editor
// opened on the cell by typing, the editor or the grid holding the focus:
// each key is handled once.  Up and Down move one row and PageUp and
// PageDown `page` rows (the typed text stays in the cell left); the other
// keys leave the current cell, and all but the editing keys its text.
inline void ExpectEveryNonPrintingKeyHandledOnce(tk::TStringGrid& g, int col, int row, int page) {
  namespace tt = tk::testing;
  for (bool gridFocused : {false, true})
    for (tt::Key key : tt::NonPrintingKeys())
      for (tk::TShiftState shift : {0u, unsigned(tk::ssShift), unsigned(tk::ssCtrl), unsigned(tk::ssAlt)}) {
        SCOPED_TRACE(::testing::Message() << "key " << int(key) << " shift " << shift << " grid focus " << gridFocused);
        g.HideEditor();
        g.SetCells(col, row, "old");
        tt::SetFocus(&g);
        g.SetCurrentCell(col, row);
        tt::TypeText(&g, "1000");
        ASSERT_TRUE(g.EditorMode());
        if (gridFocused) tt::SetFocus(&g);
        tt::PressKey(&g, key, shift);
        int moved = row;
        if (key == tt::Key::Up) moved = row - 1;
        if (key == tt::Key::Down) moved = row + 1;
        if (key == tt::Key::PageUp) moved = row - page;
        if (key == tt::Key::PageDown) moved = row + page;
        EXPECT_EQ(g.Row(), moved);
        EXPECT_EQ(g.Col(), col);
        const bool editsText =
            key == tt::Key::Backspace || key == tt::Key::Delete || key == tt::Key::Insert || key == tt::Key::Escape;
        if (!editsText) {
          EXPECT_EQ(g.Cells(col, row), "1000");
        }
        if (key >= tt::Key::F1 || key == tt::Key::F2) {
          EXPECT_TRUE(g.EditorMode());
        }
      }
}

}  // namespace testsupport
