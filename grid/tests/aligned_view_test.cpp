// What the aligned grid shows: cell painting with the effective attributes
// and the selection colours, the aligned in-place editor and per-cell hints.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "LayoutBuilder.h"
#include "grid/AlignedGrid.h"
#include "tests/support/GridKeys.h"
#include "tests/support/TestFiles.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/controls/Hints.h"
#include "toolkit/testing/Testing.h"

using namespace grid;
using namespace gridtest;
namespace tt = tk::testing;

namespace {

struct Window {
  tk::TForm form;
  TAlignedGrid* g;
  Window() {
    form.SetBounds(20, 20, 700, 500);
    g = new TAlignedGrid(&form);
    g->SetBounds(0, 0, 500, 300);
  }
  void Load(const std::vector<uint8_t>& bytes) { g->LoadFromLayout(bytes.data(), bytes.size()); }
};

// A grid in a window of its own for each test.
struct AlignedPainting : ::testing::Test {
  Window w;
  TAlignedGrid& g = *w.g;
};
using AlignedEditor = AlignedPainting;

// The leftmost and rightmost columns of a rectangle holding pixels other than bg.
std::pair<int, int> InkSpan(const tk::TBitmap& b, const tk::TRect& r, tk::TColor bg) {
  int lo = -1, hi = -1;
  for (int x = r.Left; x < r.Right; ++x)
    for (int y = r.Top; y < r.Bottom; ++y)
      if (b.Pixel(x, y) != bg) {
        if (lo < 0) lo = x;
        hi = x;
      }
  return {lo, hi};
}

bool HasPixel(const tk::TBitmap& b, const tk::TRect& r, tk::TColor c) {
  for (int x = r.Left; x < r.Right; ++x)
    for (int y = r.Top; y < r.Bottom; ++y)
      if (b.Pixel(x, y) == c) return true;
  return false;
}

// A text that is exactly `width` pixels wide in the font.
std::string TextOfWidth(const tk::TFont& font, int width) {
  tk::TBitmap probe(10, 10);
  probe.Canvas().Font = font;
  const std::string chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  for (char a : chars)
    for (char b : chars)
      for (int n = 1; n < 8; ++n) {
        std::string s(static_cast<size_t>(n), a);
        s += b;
        if (probe.Canvas().TextWidth(s) == width) return s;
      }
  return std::string();
}

TEST_F(AlignedPainting, TextStartsAt2Or42Or23InA64PixelCellForA20PixelText) {
  g.SetFixedCols(0);
  const std::string text = TextOfWidth(g.Font(), 20);
  ASSERT_FALSE(text.empty());
  for (int r = 2; r <= 4; ++r) g.SetCells(0, r, text);
  w.Load(
      LayoutBuilder()
          .Binary("AlignCell", Join({CellRecord(0, 2, alLeft), CellRecord(0, 3, alRight), CellRecord(0, 4, alCenter)}))
          .CellTexts("Cells", {{0, 2, text}, {0, 3, text}, {0, 4, text}})
          .Build());
  auto bmp = g.PaintToBitmap();
  const tk::TColor white = tk::RGBColor(255, 255, 255);
  const int left = InkSpan(*bmp, g.CellRect(0, 2), white).first;
  const int right = InkSpan(*bmp, g.CellRect(0, 3), white).first;
  const int centre = InkSpan(*bmp, g.CellRect(0, 4), white).first;
  ASSERT_EQ(g.CellRect(0, 2).Left, 0);
  ASSERT_EQ(g.CellRect(0, 2).Right, 64);
  // The glyphs' own side bearing is the same for all three.
  EXPECT_GE(left, 2);
  EXPECT_LE(left, 3);
  EXPECT_EQ(right - left, 40);   // 64 - 20 - 2 = 42
  EXPECT_EQ(centre - left, 21);  // 0 + (64 - 20) / 2 + 1 = 23
  // The text starts two pixels below the cell's top, whatever the alignment.
  for (int r = 2; r <= 4; ++r) {
    const tk::TRect c = g.CellRect(0, r);
    EXPECT_EQ(InkSpan(*bmp, tk::TRect{c.Left, c.Top, c.Right, c.Top + 2}, white).first, -1);
  }
}

TEST_F(AlignedPainting, SelectedCellsFixedCellsAndCellFontsTakeTheirColours) {
  w.Load(LayoutBuilder()
             .CellTexts("Cells", {{1, 1, "MMMM"}, {2, 2, "MMMM"}, {0, 2, "MMMM"}})
             .Font("FontCell", {2, 2}, 0x0000FF, -13, "Arial", 0, 1)
             .IndexColors("ColorRow", {{3, 0x00FFFF}})
             .Build());
  auto bmp = g.PaintToBitmap();
  const tk::TRect sel = g.CellRect(1, 1);  // the current cell is selected
  EXPECT_EQ(bmp->Pixel(sel.Right - 2, sel.Bottom - 2), tk::ColorToRGB(tk::clActiveCaption));
  EXPECT_TRUE(HasPixel(*bmp, sel, tk::RGBColor(255, 255, 255)));  // white text
  EXPECT_EQ(bmp->Pixel(30, 20), tk::RGBColor(240, 240, 240));     // fixed (0,0) on clBtnFace
  const tk::TRect fixedText = g.CellRect(0, 2);
  EXPECT_EQ(bmp->Pixel(fixedText.Right - 2, fixedText.Bottom - 2), tk::RGBColor(240, 240, 240));
  EXPECT_TRUE(HasPixel(*bmp, fixedText, tk::RGBColor(0, 0, 0)));
  EXPECT_TRUE(HasPixel(*bmp, g.CellRect(2, 2), tk::RGBColor(255, 0, 0)));  // the cell's red font
  EXPECT_FALSE(HasPixel(*bmp, g.CellRect(2, 2), tk::RGBColor(0, 0, 0)));
  const tk::TRect yellow = g.CellRect(3, 3);
  EXPECT_EQ(bmp->Pixel(yellow.Left + 3, yellow.Top + 3), tk::RGBColor(255, 255, 0));
  g.SetSelectedCellColor(tk::clNavy);
  g.SetSelectedFontColor(tk::clYellow);
  bmp = g.PaintToBitmap();
  EXPECT_EQ(bmp->Pixel(sel.Right - 2, sel.Bottom - 2), tk::RGBColor(0, 0, 128));
  EXPECT_TRUE(HasPixel(*bmp, sel, tk::RGBColor(255, 255, 0)));
}

TEST_F(AlignedPainting, OnDrawCellRunsOnlyWithoutDefaultDrawingWhichThenPaintsNoText) {
  g.SetCells(2, 2, "MMMM");
  int calls = 0;
  g.OnDrawCell = [&](tk::TObject*, int, int, const tk::TRect&, tk::TGridDrawState) { ++calls; };
  auto bmp = g.PaintToBitmap();
  EXPECT_EQ(calls, 0);
  EXPECT_TRUE(HasPixel(*bmp, g.CellRect(2, 2), tk::RGBColor(0, 0, 0)));
  g.DefaultDrawing = false;
  bmp = g.PaintToBitmap();
  EXPECT_EQ(calls, 25);
  EXPECT_FALSE(HasPixel(*bmp, g.CellRect(2, 2), tk::RGBColor(0, 0, 0)));
}

TEST_F(AlignedPainting, ALongTextIsPaintedUpTo255CharactersCountedNotBytes) {
  g.SetBounds(0, 0, 3400, 100);
  g.SetColWidth(1, 3300);
  std::string text;
  for (int i = 0; i < 300; ++i) text += "\xC5\xBC";  // 300 two-byte characters
  g.SetCells(1, 2, text);
  std::string first254, first255;
  for (int i = 0; i < 254; ++i) first254 += "\xC5\xBC";
  first255 = first254 + "\xC5\xBC";
  tk::TBitmap probe(10, 10);
  probe.Canvas().Font = g.Font();
  const int w254 = probe.Canvas().TextWidth(first254), w255 = probe.Canvas().TextWidth(first255);
  ASSERT_GT(w255, w254);
  auto bmp = g.PaintToBitmap();
  const tk::TRect cell = g.CellRect(1, 2);
  const int lastInk = InkSpan(*bmp, cell, tk::RGBColor(255, 255, 255)).second;
  EXPECT_GT(lastInk, cell.Left + 2 + w254 - 2);
  EXPECT_LT(lastInk, cell.Left + 2 + w255 + 2);
}

// Every non-printing key, bare and with Shift, Ctrl or Alt, in an open
// editor of a right-aligned column, the editor or the grid holding the focus:
// each key is handled once (Up and Down move a row, PageUp and PageDown a
// page, the others leave the current cell and the typed text alone).
TEST_F(AlignedEditor, EveryNonPrintingKeyIsHandledOnce) {
  g.SetRowCount(30);
  g.SetOptions(g.Options() | tk::goEditing);
  w.Load(LayoutBuilder().Binary("AlignCol", IndexRecord(2, alRight)).Build());
  const int page = 11;  // rows 24 high under a fixed row, in a grid 300 high
  testsupport::ExpectEveryNonPrintingKeyHandledOnce(g, 2, 12, page);
}

TEST_F(AlignedEditor, TakesTheCellsAlignmentReCreatingItsWindowOnlyWhenItChanges) {
  g.SetColCount(2);
  g.SetRowCount(8);
  g.SetFixedRows(0);
  g.SetOptions(g.Options() | tk::goEditing);
  g.SetCells(1, 0, "56,0");
  tt::SetFocus(&g);
  tt::PressKey(&g, tt::Key::F2);
  auto* editor = dynamic_cast<TAlignedInplaceEdit*>(g.InplaceEditor());
  ASSERT_NE(editor, nullptr);
  // Made right-aligned, then prepared for this left-aligned cell.
  EXPECT_EQ(editor->Alignment(), alLeft);
  EXPECT_EQ(editor->WindowCreations(), 2);
  EXPECT_EQ(editor->Text(), "56,0");
  EXPECT_EQ(TAlignedInplaceEdit::AlignmentStyle(alRight), 2u);
  EXPECT_EQ(TAlignedInplaceEdit::AlignmentStyle(alCenter), 1u);
}

TEST_F(AlignedEditor, FollowsTheCellsAttributesAsItMoves) {
  g.SetOptions(g.Options() | tk::goEditing);
  w.Load(LayoutBuilder()
             .Binary("AlignCol", IndexRecord(1, alRight))
             .Binary("AlignCell", CellRecord(1, 3, alLeft))
             .CellTexts("Cells", {{1, 1, "a"}, {1, 2, "b"}, {1, 3, "c"}})
             .CellColors("ColorCell", {{1, 3, 0x00FFFF}})
             .Build());
  tt::SetFocus(&g);
  tt::PressKey(&g, tt::Key::F2);
  auto* editor = dynamic_cast<TAlignedInplaceEdit*>(g.InplaceEditor());
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->Alignment(), alRight);
  EXPECT_EQ(editor->WindowCreations(), 1);
  EXPECT_EQ(editor->Color(), g.Color());  // the selection colours never apply to the editor
  tt::PressKey(&g, tt::Key::Down);
  EXPECT_EQ(editor->WindowCreations(), 1);  // same alignment: same window
  EXPECT_EQ(editor->Text(), "b");
  tt::PressKey(&g, tt::Key::Down);
  EXPECT_EQ(editor->Alignment(), alLeft);
  EXPECT_EQ(editor->WindowCreations(), 2);
  EXPECT_EQ(editor->Text(), "c");
  EXPECT_TRUE(editor->AllSelected());
  EXPECT_EQ(editor->Color(), 0x00FFFFu);
  ASSERT_NE(editor->Widget(), nullptr);
  // Typing still reaches the cell through the re-created window.
  tt::TypeText(&g, "9");
  EXPECT_EQ(g.Cells(1, 3), "9");
}

// The editor shows its text on the very pixels where the cell painted it, in
// left-, right- and centre-aligned cells, for texts of odd and even widths,
// so that nothing moves when editing starts.
TEST_F(AlignedEditor, ShowsTheTextWhereTheCellPaintsIt) {
  g.SetRowCount(12);
  g.SetOptions(g.Options() | tk::goEditing);
  w.Load(LayoutBuilder()
             .Binary("AlignCol", Join({IndexRecord(1, alLeft), IndexRecord(2, alRight), IndexRecord(3, alCenter)}))
             .Build());
  tt::ActivateWindow(&w.form);
  const tk::TColor white = tk::RGBColor(255, 255, 255);
  // The ink of a cell, from the cell's corner: leftmost, rightmost, top and bottom pixel not white.
  auto ink = [&](int c, int r) {
    auto bmp = w.form.GetFormImage();
    const tk::TRect cell = g.CellRect(c, r);
    int left = -1, right = -1, top = -1, bottom = -1;
    for (int y = cell.Top; y < cell.Bottom; ++y)
      for (int x = cell.Left; x < cell.Right; ++x)
        if (bmp->Pixel(x, y) != white) {
          if (left < 0 || x - cell.Left < left) left = x - cell.Left;
          right = std::max(right, x - cell.Left);
          if (top < 0) top = y - cell.Top;
          bottom = y - cell.Top;
        }
    return std::vector<int>{left, right, top, bottom};
  };
  int r = 1;
  for (const char* text : {"7", "1000", "12,75", "Wąż", "ggjj"}) {
    for (int c = 1; c <= 3; ++c) {
      SCOPED_TRACE(::testing::Message() << "column " << c << " text " << text);
      g.SetCells(c, r, text);
      g.SetCells(c, r + 6, text);  // the same text in a cell that is not selected
      g.SetCurrentCell(c, r);
      tt::SetFocus(&g);
      const std::vector<int> painted = ink(c, r + 6);
      ASSERT_NE(painted[0], -1);
      tt::PressKey(&g, tt::Key::F2);  // the text as it stands, not selected
      ASSERT_TRUE(g.EditorMode());
      tt::SetFocus(&g);  // the editor stays, without its cursor
      ASSERT_TRUE(g.InplaceEditor()->Visible());
      EXPECT_EQ(ink(c, r), painted);
      tt::PressKey(&g, tt::Key::Escape);
    }
    ++r;
  }
}

TEST(CellHints, EachGridShowsItsOwnCellsHintsBelowTheCell) {
  tk::TForm form;
  form.SetBounds(30, 30, 800, 400);
  const int before = HintRegistry()->Count();
  auto* a = new TAlignedGrid(&form);
  a->SetBounds(0, 0, 380, 200);
  auto* b = new TAlignedGrid(&form);
  b->SetBounds(400, 0, 380, 200);
  EXPECT_EQ(HintRegistry()->Count(), before + 2);
  a->SetColWidth(0, 9);
  a->SetRowHeight(0, 19);
  a->SetRowHeight(1, 18);
  auto la = LayoutBuilder().CellTexts("HintCell", {{1, 1, "alpha"}}).Build();
  auto lb = LayoutBuilder().CellTexts("HintCell", {{1, 1, "beta"}, {2, 2, "beta 2"}}).Build();
  a->LoadFromLayout(la.data(), la.size());
  b->LoadFromLayout(lb.data(), lb.size());
  tt::ActivateWindow(&form);

  const tk::TRect r = a->CellRect(1, 1);
  ASSERT_EQ(r.Left, 10);
  ASSERT_EQ(r.Top, 20);
  ASSERT_EQ(r.Right, 74);
  ASSERT_EQ(r.Bottom, 38);
  EXPECT_TRUE(a->UserHintAt(40, 30));
  EXPECT_EQ(tk::CurrentHint().Text, "alpha");
  const tk::TPoint expected = a->ClientToScreen(tk::TPoint{10, 44});
  EXPECT_EQ(tk::CurrentHint().Pos.X, expected.X);
  EXPECT_EQ(tk::CurrentHint().Pos.Y, expected.Y);
  // The hint window is drawn there, not beside the pointer.
  const tk::TRect drawn = tk::HintWindowRect();
  EXPECT_EQ(drawn.Left, expected.X);
  EXPECT_EQ(drawn.Top, expected.Y);
  EXPECT_GT(drawn.Width(), 0);
  EXPECT_EQ(a->HintCellCol(), 1);
  EXPECT_EQ(a->HintCellRow(), 1);
  EXPECT_EQ(b->HintCellCol(), -1);  // b's handler saw a hint that was not its own

  // Moving within the cell keeps the hint; into the next cell hides it.
  a->UserMouseMove(60, 35);
  EXPECT_TRUE(tk::CurrentHint().Showing);
  a->UserMouseMove(80, 35);
  EXPECT_FALSE(tk::CurrentHint().Showing);
  EXPECT_EQ(a->HintCellCol(), -1);

  // No cell hint: nothing shows, not even the grid's own hint.
  a->SetHint("the grid's own hint");
  EXPECT_FALSE(a->UserHintAt(100, 60));
  a->SetShowCellHints(false);
  EXPECT_TRUE(a->UserHintAt(40, 30));
  EXPECT_EQ(tk::CurrentHint().Text, "the grid's own hint");

  const tk::TRect rb = b->CellRect(2, 2);
  EXPECT_TRUE(b->UserHintAt(rb.Left + 3, rb.Top + 3));
  EXPECT_EQ(tk::CurrentHint().Text, "beta 2");

  // Destroying one grid leaves the other's hints working.
  delete a;
  EXPECT_EQ(HintRegistry()->Count(), before + 1);
  EXPECT_TRUE(b->UserHintAt(rb.Left + 3, rb.Top + 3));
  EXPECT_EQ(tk::CurrentHint().Text, "beta 2");
  delete b;
  EXPECT_EQ(HintRegistry()->Count(), before);
  ASSERT_TRUE(static_cast<bool>(tk::ShowHintHandler()));  // calls an empty registry
  std::string s = "x";
  bool show = true;
  tk::THintInfo info;
  tk::ShowHintHandler()(s, show, info);
  EXPECT_EQ(s, "x");
}

// The painted text ends at its first zero byte, in every alignment (the
// width that places it is that of the text before the zero).
TEST_F(AlignedPainting, TextEndsAtItsFirstZeroByte) {
  w.Load(LayoutBuilder().Binary("AlignCol", Join({IndexRecord(2, alRight), IndexRecord(3, alCenter)})).Build());
  for (int c = 1; c <= 3; ++c) {
    g.SetCells(c, 2, "12");
    g.SetCells(c, 3,
               std::string("12\0"
                           "99",
                           5));
  }
  auto bmp = g.PaintToBitmap();
  for (int c = 1; c <= 3; ++c) {
    const tk::TRect a = g.CellRect(c, 2), b = g.CellRect(c, 3);
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x)
        ASSERT_EQ(bmp->Pixel(b.Left + x, b.Top + y), bmp->Pixel(a.Left + x, a.Top + y)) << c << " " << x << " " << y;
  }
}

TEST_F(AlignedPainting, PictureOfATable) {
  g.SetColCount(6);
  g.SetRowCount(6);
  g.SetFixedCols(0);
  g.SetColor(tk::clLime);
  w.Load(LayoutBuilder()
             .Binary("AlignCol", Join({IndexRecord(1, alRight), IndexRecord(2, alCenter)}))
             .Binary("FixedAlignRow", IndexRecord(0, alCenter))
             .CellTexts("Cells", {{0, 0, " D[mm]"},
                                  {1, 0, " t1 [mm]"},
                                  {2, 0, " t2 [mm]"},
                                  {0, 1, "20"},
                                  {1, 1, "2"},
                                  {2, 1, "3"},
                                  {0, 2, "32"},
                                  {1, 2, "2"},
                                  {2, 2, "3"},
                                  {3, 3, "Potencjał"}})
             .IndexColors("ColorCol", {{3, 0x00FFFF}})
             .Font("FontCell", {3, 3}, 0x0000FF, -13, "Arial", 0, 3)
             .Build());
  auto bmp = g.PaintToBitmap();
  EXPECT_TRUE(bmp->SaveToPng(testsupport::PicturePath("aligned_grid.png")));
}

}  // namespace
