#pragma once
// Reading back the enhanced metafiles this system writes (EmfRecords.h): the
// records are checked and walked with the device context they set up, and
// every drawing goes to a sink with the state it is drawn in.  A record we
// never write makes a picture we do not show; a file that does not hold
// together (a size past its end, a handle outside its table, no end record)
// is damaged.  The walk itself is Qt-free; DrawEmf (EmfDraw.cpp) paints.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/emf/EmfRecords.h"

namespace tk {
class TBitmap;
}

namespace tk::emf {

enum class EmfVerdict { Picture, NotOurs, Damaged, TooLarge };

struct EmfPen {
  bool visible = true;
  uint32_t color = 0;         // COLORREF: 0x00BBGGRR
  int32_t width = 0;          // logical units; 0 draws one device pixel
  uint32_t style = PS_SOLID;  // the dash style, the end caps and the joins
  bool geometric = false;     // ends and joins as in `style`, else round
};

struct EmfBrush {
  bool visible = true;
  uint32_t color = 0xFFFFFF;
};

// What the drawings depend on.  Logical to device units:
// device = logical * scale + offset, on each axis.
struct EmfState {
  EmfPen pen;
  EmfBrush brush;
  LogFont font;
  uint32_t textColor = 0;
  uint32_t textAlign = 0;  // TA_ flags: horizontal 0, 2, 6; vertical 0, 8, 24
  bool winding = false;
  bool clipped = false;
  double clip[4] = {0, 0, 0, 0};  // device units: left, top, right, bottom (exclusive)
  double scaleX = 1, scaleY = 1, offsetX = 0, offsetY = 0;
  // The mapping as the records set it.
  uint32_t mapMode = 1;
  LPoint windowOrg, windowExt{1, 1}, viewportOrg, viewportExt{1, 1};
};

// The picture's rectangle on the reference device, in device pixels.
struct EmfFrame {
  double left = 0, top = 0, width = 0, height = 0;
};

// The file as the walk reads it: bytes in memory, or an open file read a
// window at a time, so that walking a file of any size takes the window's
// memory and no more.  A file that gives fewer bytes than it had when the
// walk began (cut meanwhile, or unreadable) reads as zeros from there on and
// is damaged.
class EmfBytes {
 public:
  EmfBytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  // The first `size` bytes of the open file `fd`, which stays the caller's.
  EmfBytes(int fd, size_t size);
  EmfBytes(const EmfBytes&) = delete;
  EmfBytes& operator=(const EmfBytes&) = delete;
  size_t Size() const { return size_; }
  // The n bytes at `at` (n at most 8; at + n within the size), valid
  // until the next call.  From a file: out of the window when it holds them,
  // else the window moves (Fill).
  const uint8_t* At(size_t at, size_t n) const {
    if (data_ != nullptr) return data_ + at;
    if (at >= start_ && at - start_ <= held_ && n <= held_ - (at - start_)) return window_.data() + (at - start_);
    return Fill(at, n);
  }
  bool Failed() const { return failed_; }

 private:
  const uint8_t* Fill(size_t at, size_t n) const;
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  int fd_ = -1;
  mutable std::vector<uint8_t> window_;
  mutable size_t start_ = 0, held_ = 0;
  mutable bool failed_ = false;
};

// Views of a record's values where they lie in the file, which the walk has
// checked: a drawing reads them without a copy of the file in memory.
struct EmfPoints {
  const EmfBytes* bytes = nullptr;
  size_t at = 0;  // x and y, 32-bit little-endian each
  size_t n = 0;
  LPoint operator[](size_t i) const;
};
struct EmfCounts {
  const EmfBytes* bytes = nullptr;  // 32-bit little-endian counts at `at`; null: one part of `single`
  size_t at = 0;
  size_t n = 1;
  uint32_t single = 0;
  uint32_t operator[](size_t i) const;
};
// The source rectangle of a picture, width x height, top row first.
struct EmfPixels {
  const EmfBytes* bytes = nullptr;
  size_t first = 0;       // the rectangle's top left pixel
  ptrdiff_t rowStep = 0;  // bytes from one row of the rectangle to the next
  size_t bytesPerPixel = 3;
  int width = 0, height = 0;
  uint32_t At(int x, int y) const;  // 0xRRGGBB
};

class EmfSink {
 public:
  virtual ~EmfSink() = default;
  // Each returns false when the drawing would cost more than a preview may
  // spend; the walk then ends with TooLarge.
  // Polylines, or polygons filled with the brush and outlined with the pen;
  // counts[i] points make part i.
  virtual bool Polys(const EmfState& dc, const EmfPoints& points, const EmfCounts& counts, bool closed) = 0;
  // Text from its reference point; dx are the advances of the code units.
  virtual bool Text(const EmfState& dc, LPoint ref, const std::u16string& text, const std::vector<int32_t>& dx) = 0;
  // A picture stretched to the logical rectangle (right and bottom exclusive).
  virtual bool Picture(const EmfState& dc, const LRect& dest, const EmfPixels& pixels) = 0;
};

// Walks the file from the header to the end record, handing each drawing to
// the sink when there is one.  Only a Picture is worth drawing; the frame is
// set whenever the header could be read.
EmfVerdict ReadEmf(const uint8_t* data, size_t size, EmfSink* sink, EmfFrame* frame);
EmfVerdict ReadEmf(const EmfBytes& bytes, EmfSink* sink, EmfFrame* frame);
// The header alone: Picture when it holds together, with the frame set.
EmfVerdict ReadEmfHeader(const EmfBytes& bytes, EmfFrame* frame);

// The picture on white, scaled to fit maxWidth x maxHeight with its
// proportions kept; null unless the verdict is Picture.  Its cost in time and
// memory is bounded by the picture's size, whatever the file holds: a file
// that would take more ends as TooLarge.  The file is walked once: the
// verdict is the walk's, and a drawing that runs out of its bound is left
// off while the rest of the file is still checked.  `frame`, when given, is
// set as ReadEmf sets it.
std::unique_ptr<TBitmap> DrawEmf(const uint8_t* data, size_t size, int maxWidth, int maxHeight, EmfVerdict* verdict);
std::unique_ptr<TBitmap> DrawEmf(const EmfBytes& bytes, int maxWidth, int maxHeight, EmfVerdict* verdict,
                                 EmfFrame* frame = nullptr);

}  // namespace tk::emf
