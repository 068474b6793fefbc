#pragma once
// Colours, fonts, pens, brushes, canvases, bitmaps and recorded pictures
// (metafiles): the drawing side of the platform stand-in.  Qt stays in the
// .cpp files; nothing here exposes it.
#include <cstdint>
#include <memory>
#include <string>

#include "toolkit/core/Colors.h"

namespace tk {

constexpr TColor RGBColor(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(TColor c) { return static_cast<int>((c >> 16) & 0xFF); }

// The named colours (clRed, clWindow...) are in toolkit/core/Colors.h.
constexpr TColor clNone = 0x1FFFFFFF, clDefault = 0x20000000;

// A system colour resolved to its RGB value (plain colours are returned as they are).
TColor ColorToRGB(TColor color);

struct TPoint {
  int X = 0, Y = 0;
};
// Right and bottom are exclusive, as on the platform.
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
enum TFontPitch { fpDefault = 0, fpVariable = 1, fpFixed = 2 };

// A font description.  Height < 0 is the character height in pixels; Size is
// in points at 96 pixels per inch (Height -11 is Size 8).
struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  TColor Color = clWindowText;
  TFontStyles Style = 0;
  TFontPitch Pitch = fpDefault;

  int Size() const;
  void SetSize(int points);
  bool operator==(const TFont& o) const {
    return Name == o.Name && Height == o.Height && Color == o.Color && Style == o.Style && Pitch == o.Pitch;
  }
  bool operator!=(const TFont& o) const { return !(*this == o); }
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = psSolid;
};

enum TBrushStyle { bsSolid, bsClear };
struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
  // Setting a colour makes a clear brush solid.
  void SetColor(TColor c) {
    Color = c;
    if (Style == bsClear) Style = bsSolid;
  }
};

// Word-wrapped text in a rectangle (the plot labels).
enum TDrawTextFlags : unsigned { dtLeft = 0, dtCenter = 1, dtRight = 2, dtWordBreak = 0x10, dtCalcRect = 0x400 };

class TBitmap;
class TMetafile;
class CanvasTarget;  // internal

// A drawing surface.  Pen, Brush and Font are read at each drawing call.
class TCanvas {
 public:
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TPen Pen;
  TBrush Brush;
  TFont Font;
  TPoint PenPos;

  void MoveTo(int x, int y);
  void LineTo(int x, int y);  // from PenPos, the end point itself not drawn
  // Outline with the pen, inside filled with the brush (unless clear);
  // right and bottom exclusive.
  void Rectangle(int left, int top, int right, int bottom);
  void Ellipse(int left, int top, int right, int bottom);
  void FillRect(const TRect& rect);  // brush only
  // Text with its top-left corner at (x, y); the background is filled with
  // the brush unless the brush is clear.
  void TextOut(int x, int y, const std::string& text);
  int TextWidth(const std::string& text);
  int TextHeight(const std::string& text);
  // Word-wrapped text in the rectangle; with dtCalcRect only measures (the
  // rectangle's bottom and right are set) and draws nothing.  Returns the height.
  int DrawText(const std::string& text, TRect& rect, unsigned flags);
  // Text at (x, y) clipped to rect, the whole rect filled with the brush
  // colour first (clipped, opaque cell text).
  void TextRectOpaque(const TRect& rect, int x, int y, const char* text, size_t length);

  void SetPixel(int x, int y, TColor color);  // outside the surface: ignored
  TColor GetPixel(int x, int y) const;        // bitmaps only; -1 outside

  CanvasTarget* Target() const { return target_.get(); }  // toolkit-internal

  // Toolkit-internal: a canvas on a target made by the toolkit.
  explicit TCanvas(std::unique_ptr<CanvasTarget> target);

 private:
  std::unique_ptr<CanvasTarget> target_;
};

// A 24-bit colour bitmap with its canvas.
class TBitmap {
 public:
  TBitmap(int width = 0, int height = 0);  // white
  ~TBitmap();
  int Width() const;
  int Height() const;
  void SetSize(int width, int height);  // keeps the content that still fits
  TCanvas& Canvas();
  TColor Pixel(int x, int y) const;  // -1 outside
  bool SaveToPng(const std::string& path) const;
  // Rows of 0xRRGGBB values (the top byte is 0xFF), top to bottom (JPEG writing, tests).
  const uint32_t* ScanLine(int y) const;

  struct Impl;
  Impl* impl() const { return impl_.get(); }  // toolkit-internal

 private:
  std::unique_ptr<Impl> impl_;
  std::unique_ptr<TCanvas> canvas_;
};

// A recorded picture (the enhanced metafile of the platform): drawing on a
// TMetafileCanvas records; the recording is replayed when the picture is shown.
class TMetafile {
 public:
  TMetafile();
  ~TMetafile();
  int Width() const;
  int Height() const;
  bool Empty() const;
  // Replays the recording into a bitmap of the given size (white background).
  std::unique_ptr<TBitmap> Render(int width, int height) const;

  struct Impl;
  Impl* impl() const { return impl_.get(); }  // toolkit-internal

 private:
  std::unique_ptr<Impl> impl_;
};

// Records into a metafile from construction until destruction; destruction
// (also on the way out of an error) ends the recording and stores it in the
// metafile, replacing what it held.
class TMetafileCanvas {
 public:
  TMetafileCanvas(TMetafile& metafile, int width, int height);
  ~TMetafileCanvas();
  TCanvas& Canvas() { return *canvas_; }

 private:
  TMetafile& metafile_;
  std::unique_ptr<TCanvas> canvas_;
};

}  // namespace tk
