// Pixel rules of the canvas: the programs place their drawings by them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "tests/support/Pixels.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/pictures/Graphics.h"

using namespace tk;

using testsupport::ExpectPixels;

namespace {

// Counts the pixels of one colour in a rectangle of a bitmap.
int Count(const TBitmap& b, TColor c, int l, int t, int r, int bt) {
  return testsupport::CountPixels(b, l, t, r, bt, [c](TColor p) { return p == c; });
}

// Glyph ink: pixels nearer black than white (antialiased text has few pure
// black pixels at small sizes).
bool IsDark(TColor c) { return GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128; }
int Dark(const TBitmap& b, int l, int t, int r, int bt) { return testsupport::CountPixels(b, l, t, r, bt, IsDark); }

// Black text on white: the bitmap's dark pixels in one column and one row.
bool ColumnHasInk(const TBitmap& b, int x) {
  for (int y = 0; y < b.Height(); ++y)
    if (b.Pixel(x, y) != clWhite) return true;
  return false;
}

std::unique_ptr<TBitmap> Text(const std::string& text, int height, TFontStyles style) {
  auto b = std::make_unique<TBitmap>(200, 2 * std::abs(height) + 8);
  TCanvas& c = b->Canvas();
  c.Font.Height = height;
  c.Font.Style = style;
  c.TextOut(4, 4, text);
  return b;
}

}  // namespace

TEST(Colours, SystemColoursResolveToTheirRgbValues) {
  EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(240, 240, 240));
  EXPECT_EQ(ColorToRGB(clActiveCaption), RGBColor(10, 36, 106));
  EXPECT_EQ(ColorToRGB(clMenu), RGBColor(240, 240, 240));
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clHighlight), RGBColor(0, 102, 204));
  EXPECT_EQ(ColorToRGB(clHighlightText), clWhite);
  EXPECT_EQ(ColorToRGB(clBtnText), clBlack);
  EXPECT_EQ(ColorToRGB(clInfoBk), RGBColor(255, 255, 225));
  EXPECT_EQ(ColorToRGB(clFuchsia), RGBColor(255, 0, 255));
  EXPECT_EQ(GetRValue(RGBColor(1, 2, 3)), 1);
  EXPECT_EQ(GetBValue(RGBColor(1, 2, 3)), 3);
}

TEST(Fonts, SizeAndHeightAt96Dpi) {
  TFont f;
  EXPECT_EQ(f.Height, -11);
  EXPECT_EQ(f.Size(), 8);
  f.SetSize(8);
  EXPECT_EQ(f.Height, -11);
  f.SetSize(12);
  EXPECT_EQ(f.Height, -16);
  f.Height = -13;
  EXPECT_EQ(f.Size(), 10);
  f.Height = -15;
  EXPECT_EQ(f.Size(), 11);
}

TEST(Canvas, RectangleOutlinesTheOuterPixelsAndExcludesRightAndBottom) {
  TBitmap b(20, 12);
  TCanvas& c = b.Canvas();
  c.Brush.SetColor(clYellow);
  c.Rectangle(2, 3, 10, 8);  // pixels 2..9 x 3..7
  ExpectPixels(b, clBlack, {{2, 3}, {9, 3}, {2, 7}, {9, 7}});
  ExpectPixels(b, clWhite, {{10, 5}, {5, 8}, {1, 5}, {5, 2}});
  // Inside filled with the brush: 6 x 3 pixels.
  EXPECT_EQ(Count(b, clYellow, 0, 0, 20, 12), 6 * 3);
  // The outline is exactly one pixel: 2 * 8 + 2 * 3 pixels.
  EXPECT_EQ(Count(b, clBlack, 0, 0, 20, 12), 2 * 8 + 2 * 3);
}

TEST(Canvas, WholeSurfaceFrameAndClearBrush) {
  TBitmap b(30, 20);
  TCanvas& c = b.Canvas();
  c.Brush.SetColor(clRed);
  c.FillRect({0, 0, 30, 20});
  c.Brush.Style = bsClear;
  c.Pen.Color = clBlue;
  c.Rectangle(0, 0, 30, 20);
  ExpectPixels(b, clBlue, {{0, 0}, {29, 19}, {29, 0}});
  // A clear brush leaves the inside.
  ExpectPixels(b, clRed, {{15, 10}, {1, 1}});
  // Setting a colour makes the clear brush solid again.
  c.Brush.SetColor(clWhite);
  EXPECT_EQ(c.Brush.Style, bsSolid);
}

TEST(Canvas, LineToLeavesOutTheEndPixel) {
  TBitmap b(20, 20);
  TCanvas& c = b.Canvas();
  c.MoveTo(2, 5);
  c.LineTo(10, 5);
  EXPECT_EQ(Count(b, clBlack, 0, 0, 20, 20), 8);
  ExpectPixels(b, clBlack, {{2, 5}, {9, 5}});
  EXPECT_EQ(b.Pixel(10, 5), clWhite);
  EXPECT_EQ(c.PenPos.X, 10);
  // Continuing from there draws the pixel the previous line left out.
  c.LineTo(10, 12);
  ExpectPixels(b, clBlack, {{10, 5}, {10, 11}});
  EXPECT_EQ(b.Pixel(10, 12), clWhite);
  // A diagonal: one pixel per step, the end left out.
  TBitmap d(10, 10);
  d.Canvas().MoveTo(0, 0);
  d.Canvas().LineTo(5, 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(d.Pixel(i, i), clBlack) << i;
  EXPECT_EQ(d.Pixel(5, 5), clWhite);
  EXPECT_EQ(Count(d, clBlack, 0, 0, 10, 10), 5);
  // Backwards and one pixel long.
  TBitmap e(10, 10);
  e.Canvas().MoveTo(6, 3);
  e.Canvas().LineTo(2, 3);
  EXPECT_EQ(Count(e, clBlack, 0, 0, 10, 10), 4);
  EXPECT_EQ(e.Pixel(2, 3), clWhite);
  EXPECT_EQ(e.Pixel(6, 3), clBlack);
  e.Canvas().MoveTo(1, 8);
  e.Canvas().LineTo(2, 8);
  EXPECT_EQ(e.Pixel(1, 8), clBlack);
  EXPECT_EQ(e.Pixel(2, 8), clWhite);
}

TEST(Canvas, EllipseStaysInsideItsRectangle) {
  TBitmap b(40, 30);
  TCanvas& c = b.Canvas();
  c.Brush.SetColor(clFuchsia);
  c.Ellipse(10, 5, 30, 25);
  EXPECT_EQ(b.Pixel(20, 15), clFuchsia);  // centre filled
  // The corners untouched.
  ExpectPixels(b, clWhite, {{10, 5}, {29, 24}});
  // Nothing above, below, left or right.
  for (TRect r : {TRect{0, 0, 40, 5}, TRect{0, 25, 40, 30}, TRect{0, 0, 10, 30}, TRect{30, 0, 40, 30}})
    EXPECT_EQ(Count(b, clBlack, r.Left, r.Top, r.Right, r.Bottom), 0) << r.Left << ", " << r.Top;
  // The outline touches the left and top edges, and the last column and row inside.
  ExpectPixels(b, clBlack, {{10, 15}, {20, 5}, {29, 15}, {20, 24}});
}

TEST(Canvas, TextOutIsOpaqueOnASolidBrushAndTransparentOnAClearOne) {
  TBitmap b(120, 40);
  TCanvas& c = b.Canvas();
  c.Brush.SetColor(clRed);
  c.FillRect({0, 0, 120, 40});
  c.Brush.SetColor(clWhite);
  const int w = c.TextWidth("Hg 12,5");
  const int h = c.TextHeight("Hg 12,5");
  EXPECT_GT(w, 20);
  EXPECT_GE(h, 11);
  EXPECT_LE(h, 16);
  c.TextOut(10, 5, "Hg 12,5");
  EXPECT_EQ(c.PenPos.X, 10 + w);
  // The text cell is white except for the black glyph pixels; outside it stays red.
  EXPECT_EQ(Count(b, clRed, 10, 5, 10 + w, 5 + h), 0);
  EXPECT_GT(Dark(b, 10, 5, 10 + w, 5 + h), 20);
  ExpectPixels(b, clRed, {{9, 5}, {10 + w, 5}, {10, 5 + h}});
  // Nothing outside the text cell is touched; inside it the glyphs are
  // antialiased in grays only, without coloured fringes.
  EXPECT_EQ(Count(b, clRed, 0, 0, 120, 40), 120 * 40 - w * h);
  for (int y = 5; y < 5 + h; ++y)
    for (int x = 10; x < 10 + w; ++x) {
      const TColor p = b.Pixel(x, y);
      ASSERT_TRUE(GetRValue(p) == GetGValue(p) && GetGValue(p) == GetBValue(p)) << x << "," << y;
    }
  c.Brush.Style = bsClear;
  c.TextOut(10, 22, "Hg");
  EXPECT_EQ(Count(b, clWhite, 10, 22, 10 + c.TextWidth("Hg"), 22 + h), 0);
}

TEST(Canvas, DrawTextWrapsAtBlanksAndMeasures) {
  TBitmap b(200, 100);
  TCanvas& c = b.Canvas();
  const std::string text = "Rozkład gęstości prądu wzdłuż promienia";
  const int lineH = c.TextHeight("Hg");
  TRect one{0, 0, 1000, 0};
  EXPECT_EQ(c.DrawText(text, one, dtWordBreak | dtCalcRect), lineH);
  EXPECT_EQ(one.Right, c.TextWidth(text));
  TRect narrow{0, 0, 80, 0};
  const int h = c.DrawText(text, narrow, dtWordBreak | dtCalcRect);
  EXPECT_GE(h, 3 * lineH);
  EXPECT_EQ(h % lineH, 0);
  EXPECT_LE(narrow.Right, 80 + c.TextWidth("promienia"));
  EXPECT_EQ(b.Pixel(5, 5), clWhite);  // measuring draws nothing
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 200; ++x) ASSERT_EQ(b.Pixel(x, y), clWhite);
  // A word wider than the rectangle stands alone on its line and is not split.
  TRect tiny{0, 0, 5, 0};
  EXPECT_EQ(c.DrawText("ab cd", tiny, dtWordBreak | dtCalcRect), 2 * lineH);
}

TEST(Canvas, DrawTextRightAlignedEndsAtTheRightEdge) {
  TBitmap b(100, 20);
  TCanvas& c = b.Canvas();
  c.Brush.SetColor(clYellow);
  TRect r{0, 0, 90, 20};
  c.DrawText("[mm]", r, dtWordBreak | dtRight);
  const int w = c.TextWidth("[mm]");
  EXPECT_EQ(b.Pixel(90 - w - 1, 2), clWhite);
  EXPECT_NE(b.Pixel(89, 2), clWhite);  // the opaque cell reaches the right edge
  EXPECT_EQ(b.Pixel(90, 2), clWhite);
  TRect l{10, 0, 90, 20};
  TBitmap b2(100, 20);
  b2.Canvas().Brush.SetColor(clYellow);
  b2.Canvas().DrawText("[mm]", l, dtWordBreak);
  EXPECT_NE(b2.Pixel(10, 2), clWhite);
  EXPECT_EQ(b2.Pixel(9, 2), clWhite);
}

TEST(Canvas, TextRectOpaqueFillsTheCellAndClipsTheText) {
  TBitmap b(100, 30);
  TCanvas& c = b.Canvas();
  c.Brush.SetColor(clAqua);
  const std::string t = "a long text that does not fit";
  c.TextRectOpaque({10, 5, 40, 25}, 12, 7, t.data(), t.size());
  ExpectPixels(b, clAqua, {{10, 5}, {39, 24}});
  EXPECT_EQ(Count(b, clWhite, 10, 5, 40, 25), 0);
  EXPECT_GT(Dark(b, 10, 5, 40, 25), 5);
  EXPECT_EQ(Count(b, clWhite, 40, 0, 100, 30), 60 * 30);  // clipped at the cell's right edge
  EXPECT_EQ(b.Pixel(9, 5), clWhite);
}

TEST(CanvasText, AFontGivenByPixelHeightRendersAtThatHeight) {
  // A capital H of a sans face is about 0.72 of the character height; the
  // logical resolution is 96 dpi on every platform, so nothing scales it.
  for (int px : {11, 20, 40}) {
    auto b = Text("H", -px, 0);
    int top = -1, bottom = -1;
    for (int y = 0; y < b->Height(); ++y)
      for (int x = 0; x < b->Width(); ++x)
        if (IsDark(b->Pixel(x, y))) {
          if (top < 0) top = y;
          bottom = y;
        }
    const double cap = bottom - top + 1;
    EXPECT_NEAR(cap, 0.72 * px, 1.0) << px;
    const int h = b->Canvas().TextHeight("H");  // ascent and descent of the face
    EXPECT_GE(h, px) << px;
    EXPECT_LE(h, px * 5 / 4 + 1) << px;
  }
}

TEST(CanvasText, BoldHasMoreInkThanRegular) {
  const std::string t = "Promień przewodów w [mm] 1000";
  for (int px : {11, 13}) {
    auto regular = Text(t, -px, 0);
    auto bold = Text(t, -px, fsBold);
    const int r = Dark(*regular, 0, 0, 200, regular->Height());
    const int b = Dark(*bold, 0, 0, 200, bold->Height());
    EXPECT_GT(b, r * 13 / 10) << px << ": " << r << " regular, " << b << " bold";
  }
}

TEST(CanvasText, BlanksBetweenWordsStayVisible) {
  // Between "w" and "w", and between "w" and "[", a blank leaves blank
  // columns; at small pixel sizes in bold the glyphs must not close it.
  for (int px : {11, 12, 13}) {
    for (TFontStyles style : {0u, unsigned(fsBold)}) {
      for (const char* t : {"w w", "w [", "ów w"}) {
        auto b = Text(t, -px, style);
        const int w = b->Canvas().TextWidth(t);
        int run = 0, longest = 0;
        bool inked = false;
        for (int x = 4; x < 4 + w; ++x) {
          const bool ink = ColumnHasInk(*b, x);
          if (ink && inked) longest = std::max(longest, run);
          if (ink) {
            inked = true;
            run = 0;
          } else {
            ++run;
          }
        }
        EXPECT_GE(longest, 2) << t << " at " << px << " px, style " << style;
      }
      auto b = Text("w", -px, style);
      EXPECT_GE(b->Canvas().TextWidth("w w"), b->Canvas().TextWidth("ww") + 3);
    }
  }
}

TEST(Canvas, PixelsOutsideTheSurfaceAreIgnored) {
  TBitmap b(10, 10);
  TCanvas& c = b.Canvas();
  c.SetPixel(3, 4, RGBColor(200, 0, 0));
  c.SetPixel(-1, 4, clBlack);
  c.SetPixel(10, 4, clBlack);
  c.SetPixel(4, 10, clBlack);
  EXPECT_EQ(c.GetPixel(3, 4), RGBColor(200, 0, 0));
  EXPECT_EQ(b.Pixel(3, 4), RGBColor(200, 0, 0));
  EXPECT_EQ(c.GetPixel(10, 0), static_cast<TColor>(-1));
  EXPECT_EQ(b.Pixel(-1, 0), static_cast<TColor>(-1));
  // Drawing with the painter and single pixels mix in order.
  c.Brush.SetColor(clBlue);
  c.FillRect({0, 0, 10, 10});
  c.SetPixel(5, 5, clLime);
  c.MoveTo(0, 9);
  c.LineTo(9, 9);
  EXPECT_EQ(b.Pixel(5, 5), clLime);
  EXPECT_EQ(b.Pixel(4, 4), clBlue);
  EXPECT_EQ(b.Pixel(0, 9), clBlack);
  EXPECT_EQ(b.ScanLine(5)[5] & 0xFFFFFF, 0x00FF00u);  // 0xRRGGBB
}

TEST(Bitmap, SetSizeKeepsWhatStillFits) {
  TBitmap b(10, 10);
  b.Canvas().SetPixel(2, 2, clRed);
  b.Canvas().SetPixel(8, 8, clRed);
  b.SetSize(5, 20);
  EXPECT_EQ(b.Width(), 5);
  EXPECT_EQ(b.Height(), 20);
  EXPECT_EQ(b.Pixel(2, 2), clRed);
  EXPECT_EQ(b.Pixel(4, 15), clWhite);
  b.Canvas().SetPixel(4, 15, clGreen);
  EXPECT_EQ(b.Pixel(4, 15), clGreen);
}
