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

class EmfSink {
 public:
  virtual ~EmfSink() = default;
  // Polylines, or polygons filled with the brush and outlined with the pen;
  // counts[i] points make part i.
  virtual void Polys(const EmfState& dc, const std::vector<LPoint>& points, const std::vector<uint32_t>& counts,
                     bool closed) = 0;
  // Text from its reference point; dx are the advances of the code units.
  virtual void Text(const EmfState& dc, LPoint ref, const std::u16string& text, const std::vector<int32_t>& dx) = 0;
  // Rows of 0xRRGGBB top to bottom, stretched to the logical rectangle
  // (right and bottom exclusive).
  virtual void Picture(const EmfState& dc, const LRect& dest, int width, int height,
                       const std::vector<uint32_t>& rgb) = 0;
};

// Walks the file from the header to the end record, handing each drawing to
// the sink when there is one.  Only a Picture is worth drawing; the frame is
// set whenever the header could be read.
EmfVerdict ReadEmf(const uint8_t* data, size_t size, EmfSink* sink, EmfFrame* frame);

// The picture on white, scaled to fit maxWidth x maxHeight with its
// proportions kept; null unless the verdict is Picture.
std::unique_ptr<TBitmap> DrawEmf(const uint8_t* data, size_t size, int maxWidth, int maxHeight, EmfVerdict* verdict);

}  // namespace tk::emf
