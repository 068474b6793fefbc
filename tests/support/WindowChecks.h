#pragma once
// Checks that every program's windows must pass as a user meets them with
// the keyboard and on small screens (toolkit/testing/TestingEvents.h does the input).
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/support/Screen.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/grids/Grids.h"
#include "toolkit/testing/TestingEvents.h"

namespace testsupport {

inline std::string Joined(const std::vector<std::string>& v) {
  std::string s;
  for (const std::string& t : v) s += (s.empty() ? "" : "; ") + t;
  return s;
}

// A grid's cells across and down and its fixed columns and rows.
inline ::testing::AssertionResult GridShape(const tk::TStringGrid* g, int cols, int rows, int fixedCols,
                                            int fixedRows) {
  if (g->ColCount() == cols && g->RowCount() == rows && g->FixedCols() == fixedCols && g->FixedRows() == fixedRows)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << g->ColCount() << " x " << g->RowCount() << " cells, " << g->FixedCols()
                                       << " fixed columns and " << g->FixedRows() << " fixed rows";
}

// The width of each column from the first.
inline void ExpectColWidths(const tk::TStringGrid* g, std::initializer_list<int> widths) {
  int col = 0;
  for (int w : widths) {
    EXPECT_EQ(g->ColWidth(col), w) << "column " << col;
    ++col;
  }
}

// Texts of a grid's cells, each {column, row, text}.
struct CellText {
  int col, row;
  const char* text;
};
inline void ExpectCells(const tk::TStringGrid* g, std::initializer_list<CellText> cells) {
  for (const CellText& c : cells) EXPECT_EQ(g->Cells(c.col, c.row), c.text) << "cell " << c.col << ", " << c.row;
}

// Each window shown: Return and the keypad's Enter press every button, Tab
// stops only on controls the user sees, each showing that it has the focus,
// and Tab and Shift+Tab from a grid's open editor go where they go from the
// closed grid.
inline void ExpectKeysPressButtonsAndTabToWhatShows(const std::vector<tk::TForm*>& forms) {
  for (tk::TForm* f : forms) {
    f->ShowForm();
    EXPECT_EQ(Joined(tk::testing::ButtonsNotPressedByEnter(f)), "") << f->Caption();
    EXPECT_EQ(Joined(tk::testing::UnseenTabStops(f, 40)), "") << f->Caption();
    EXPECT_EQ(Joined(tk::testing::GridsTabbingAstrayFromTheEditor(f)), "") << f->Caption();
  }
}

// Each window shown on a laptop's screen (1366 x 768) and on a small one
// (800 x 600), each in a run of its own: it lies within the screen, every
// part of its controls that lies open in its client area can be reached,
// scrolling as needed, and the wheel over a grid scrolls the window on
// when the grid can scroll no further.  On a large screen (1600 x 1000) the
// same parts stay within reach when the user shrinks the window to 600 x 400.
inline void ExpectEveryControlWithinReachOnSmallScreens(const std::vector<tk::TForm*>& forms) {
  int width = 0, height = 0;
  if (!OnScreen(&width, &height)) {
    RunOnScreen(1366, 768);
    RunOnScreen(800, 600);
    RunOnScreen(1600, 1000);
    return;
  }
  const bool shrink = width >= 1600;
  for (tk::TForm* f : forms) {
    f->ShowForm();
    const tk::TRect r = tk::testing::WindowFrame(f);
    EXPECT_TRUE(r.Left >= 0 && r.Top >= 0 && r.Right <= width && r.Bottom <= height)
        << f->Caption() << ": (" << r.Left << ", " << r.Top << ") to (" << r.Right << ", " << r.Bottom << ")";
    EXPECT_EQ(Joined(tk::testing::PartsOutOfReach(f, shrink ? 600 : 0, shrink ? 400 : 0)), "") << f->Caption();
    EXPECT_EQ(Joined(tk::testing::GridsHoldingTheWheel(f)), "") << f->Caption();
  }
}

}  // namespace testsupport
