#pragma once
// Enhanced-metafile records written by hand: the header, the drawing records
// that a chart needs and the end record.  Coordinates are logical units; the
// picture has a fixed number of logical units per pixel (kSub), which keeps
// anti-aliased curves smooth when another program scales the picture.
#include <cstdint>
#include <string>
#include <vector>

namespace tk::emf {

// Record types used here.
enum : uint32_t {
  EMR_HEADER = 1,
  EMR_POLYGON = 3,
  EMR_POLYLINE = 4,
  EMR_POLYPOLYLINE = 7,
  EMR_POLYPOLYGON = 8,
  EMR_SETWINDOWEXTEX = 9,
  EMR_SETWINDOWORGEX = 10,
  EMR_SETVIEWPORTEXTEX = 11,
  EMR_SETVIEWPORTORGEX = 12,
  EMR_EOF = 14,
  EMR_SETMAPMODE = 17,
  EMR_SETBKMODE = 18,
  EMR_SETPOLYFILLMODE = 19,
  EMR_SETTEXTALIGN = 22,
  EMR_SETTEXTCOLOR = 24,
  EMR_INTERSECTCLIPRECT = 30,
  EMR_SAVEDC = 33,
  EMR_RESTOREDC = 34,
  EMR_SELECTOBJECT = 37,
  EMR_CREATEPEN = 38,
  EMR_CREATEBRUSHINDIRECT = 39,
  EMR_DELETEOBJECT = 40,
  EMR_STRETCHDIBITS = 81,
  EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTW = 84,
  EMR_EXTCREATEPEN = 95,
};

constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr int kSub = 8;                         // logical units per pixel

// Stock objects.
constexpr uint32_t kNullBrush = 0x80000005, kNullPen = 0x80000008, kSystemFont = 0x8000000D;
// Pen styles.
enum : uint32_t {
  PS_SOLID = 0,
  PS_DASH = 1,
  PS_DOT = 2,
  PS_DASHDOT = 3,
  PS_DASHDOTDOT = 4,
  PS_NULL = 5,
  PS_ENDCAP_ROUND = 0,
  PS_ENDCAP_SQUARE = 0x100,
  PS_ENDCAP_FLAT = 0x200,
  PS_JOIN_ROUND = 0,
  PS_JOIN_BEVEL = 0x1000,
  PS_JOIN_MITER = 0x2000,
  PS_GEOMETRIC = 0x10000,
};

struct LPoint {
  int32_t x = 0, y = 0;
};
// Inclusive on all sides, as in the file.
struct LRect {
  int32_t left = 0, top = 0, right = -1, bottom = -1;
  bool Empty() const { return right < left || bottom < top; }
  void Unite(const LRect& r);
};

struct LogFont {
  int32_t height = -11;    // negative: character height in logical units
  int32_t escapement = 0;  // tenths of a degree, counter-clockwise
  int32_t weight = 400;
  bool italic = false, underline = false, strikeOut = false;
  std::u16string face = u"Arial";
};

// Collects the records of one picture and assembles the file.
class EmfRecords {
 public:
  // widthPx x heightPx is the picture at 96 pixels per inch.
  EmfRecords(int widthPx, int heightPx);

  void SetMapping();  // logical units kSub per pixel, origin at the top left
  void SetBkModeTransparent();
  void SetTextAlignBaseline();
  void SetPolyFillMode(bool winding);
  void SetTextColor(uint32_t colorref);

  // Objects: each returns its handle index.
  uint32_t CreatePen(uint32_t style, int32_t width, uint32_t colorref);
  uint32_t ExtCreatePen(uint32_t style, int32_t width, uint32_t colorref);
  uint32_t CreateSolidBrush(uint32_t colorref);
  uint32_t CreateFont(const LogFont& font);
  void SelectObject(uint32_t handle);
  void DeleteObject(uint32_t handle);

  void Polyline(const std::vector<LPoint>& pts);
  void Polygon(const std::vector<LPoint>& pts);
  void PolyPolyline(const std::vector<std::vector<LPoint>>& lines);
  void PolyPolygon(const std::vector<std::vector<LPoint>>& polys);
  // Text with its baseline-left reference point; dx are the advances of
  // the UTF-16 code units, in logical units.
  void ExtTextOut(LPoint ref, const std::u16string& text, const std::vector<int32_t>& dx, const LRect& deviceBounds);
  // 24-bit picture rows top to bottom as 0xRRGGBB, stretched to the logical rectangle.
  void StretchDib(const LRect& dest, int width, int height, const std::vector<uint32_t>& rgb);

  void SaveDC();
  void RestoreDC();
  void IntersectClipRect(const LRect& logical);

  // Adds the device-unit bounds of something drawn.
  void AddBounds(const LRect& deviceRect);
  // The whole file: the header, the records and the end record.
  std::vector<uint8_t> Finish() const;

  int Records() const { return records_; }

 private:
  void PolyPoly(uint32_t type, size_t least, const std::vector<std::vector<LPoint>>& parts,
                void (EmfRecords::*single)(const std::vector<LPoint>&));
  void Begin(uint32_t type, size_t size);
  void U32(uint32_t v);
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void Rect(const LRect& r);
  uint32_t NewHandle();
  LRect PointsBounds(const std::vector<LPoint>& pts) const;

  int width_, height_;
  std::vector<uint8_t> body_;
  int records_ = 0;
  std::vector<bool> used_;  // object table, index 0 reserved
  uint32_t maxHandle_ = 0;
  LRect bounds_;
};

}  // namespace tk::emf
