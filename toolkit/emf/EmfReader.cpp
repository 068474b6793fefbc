#include "toolkit/emf/EmfReader.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace tk::emf {

namespace {

// What one file may ask of a preview: beyond this it is too large to draw in
// the moment a user waits for it.
constexpr uint64_t kMaxPoints = 4000000, kMaxCharacters = 200000, kMaxPixels = 24000000;
constexpr size_t kMaxSavedStates = 4096;
// Saving and restoring copy the whole state, font name included: a file
// of nothing else would take long to walk.
constexpr uint64_t kMaxStateCopies = 1 << 16;
constexpr size_t kHeaderLeast = 88;
constexpr uint32_t kLastRecordType = 122;  // EMR_COLORMATCHTOPROFILEW, the highest there is
constexpr uint32_t kSrcCopy = 0x00CC0020;

// Thrown out of the walk with the verdict; caught in ReadEmf.
struct Stop {
  EmfVerdict verdict;
};
[[noreturn]] void Fail(EmfVerdict v) { throw Stop{v}; }
void Require(bool ok) {
  if (!ok) Fail(EmfVerdict::Damaged);
}
void Ours(bool ok) {
  if (!ok) Fail(EmfVerdict::NotOurs);
}
void Afford(bool ok) {
  if (!ok) Fail(EmfVerdict::TooLarge);
}

uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// One record: reads little-endian values at offsets from its start, never
// past its end.
class Rec {
 public:
  Rec(const EmfBytes& bytes, size_t start, size_t size) : bytes_(bytes), start_(start), size_(size) {}
  size_t Size() const { return size_; }
  bool Has(uint64_t at, uint64_t bytes) const { return at <= size_ && bytes <= size_ - at; }
  uint32_t U32(size_t at) const {
    Require(Has(at, 4));
    return Le32(bytes_.At(start_ + at, 4));
  }
  int32_t I32(size_t at) const { return static_cast<int32_t>(U32(at)); }
  uint16_t U16(size_t at) const {
    Require(Has(at, 2));
    const uint8_t* p = bytes_.At(start_ + at, 2);
    return static_cast<uint16_t>(p[0] | p[1] << 8);
  }
  uint8_t U8(size_t at) const {
    Require(Has(at, 1));
    return *bytes_.At(start_ + at, 1);
  }
  LPoint Point(size_t at) const { return {I32(at), I32(at + 4)}; }
  // Where in the file n bytes at `at` lie, which must lie inside.
  size_t Span(size_t at, uint64_t n) const {
    Require(Has(at, n));
    return start_ + at;
  }
  const EmfBytes& File() const { return bytes_; }

 private:
  const EmfBytes& bytes_;
  size_t start_, size_;
};

struct Object {
  enum Kind { None, Pen, Brush, Font } kind = None;
  EmfPen pen;
  EmfBrush brush;
  LogFont font;
};

class Walker {
 public:
  Walker(EmfSink* sink) : sink_(sink) { Remap(); }

  void Header(const Rec& h, size_t fileSize, EmfFrame* frame, size_t& end) {
    Require(h.U32(0) == EMR_HEADER && h.U32(40) == kEmfSignature);
    const size_t bytes = h.U32(48);
    Require(bytes >= h.Size() && bytes <= fileSize);
    end = bytes;
    handles_ = h.U16(56);
    Require(handles_ > 0);
    const double devX = h.I32(72), devY = h.I32(76), mmX = h.I32(80), mmY = h.I32(84);
    Require(devX > 0 && devY > 0 && mmX > 0 && mmY > 0);
    // The frame is in hundredths of a millimetre, both edges inside.
    const double l = h.I32(24), t = h.I32(28), r = h.I32(32), b = h.I32(36);
    EmfFrame f{l * devX / (mmX * 100), t * devY / (mmY * 100), (r - l + 1) * devX / (mmX * 100),
               (b - t + 1) * devY / (mmY * 100)};
    if (!(f.width >= 1 && f.height >= 1)) {  // no frame: the bounds, in device pixels
      const double bl = h.I32(8), bt = h.I32(12), br = h.I32(16), bb = h.I32(20);
      f = EmfFrame{bl, bt, br - bl + 1, bb - bt + 1};
    }
    Require(f.width >= 1 && f.height >= 1 && f.width < 1e7 && f.height < 1e7);
    *frame = f;
  }

  // False at the end record.
  bool Record(const Rec& r) {
    const uint32_t type = r.U32(0);
    switch (type) {
      case EMR_EOF: return false;
      case EMR_SETMAPMODE: {
        // Pixels and the anisotropic mode are ours; the metric and the
        // isotropic modes are not.
        const uint32_t mode = r.U32(8);
        Require(mode >= 1 && mode <= 8);
        Ours(mode == 1 || mode == 8);
        dc_.mapMode = mode;
        Remap();
        break;
      }
      case EMR_SETWINDOWORGEX:
        dc_.windowOrg = r.Point(8);
        Remap();
        break;
      case EMR_SETWINDOWEXTEX: {
        const LPoint e = r.Point(8);
        Require(e.x != 0 && e.y != 0);
        dc_.windowExt = e;
        Remap();
        break;
      }
      case EMR_SETVIEWPORTORGEX:
        dc_.viewportOrg = r.Point(8);
        Remap();
        break;
      case EMR_SETVIEWPORTEXTEX: {
        const LPoint e = r.Point(8);
        Require(e.x != 0 && e.y != 0);
        dc_.viewportExt = e;
        Remap();
        break;
      }
      case EMR_SETBKMODE: Require(r.U32(8) == 1 || r.U32(8) == 2); break;
      case EMR_SETPOLYFILLMODE: {
        const uint32_t m = r.U32(8);
        Require(m == 1 || m == 2);
        dc_.winding = m == 2;
        break;
      }
      case EMR_SETTEXTALIGN: {
        const uint32_t a = r.U32(8);
        Ours((a & ~uint32_t(0x1E)) == 0 && (a & 6) != 4 && (a & 24) != 16);
        dc_.textAlign = a;
        break;
      }
      case EMR_SETTEXTCOLOR: dc_.textColor = r.U32(8) & 0xFFFFFF; break;
      case EMR_INTERSECTCLIPRECT: Clip(r); break;
      case EMR_SAVEDC:
        Require(saved_.size() < kMaxSavedStates);
        Afford(++copies_ <= kMaxStateCopies);
        saved_.push_back(dc_);
        break;
      case EMR_RESTOREDC: {
        const int32_t n = r.I32(8);
        // Negative: that many levels back; positive: back to that level.
        const int64_t keep = n < 0 ? int64_t(saved_.size()) + n : int64_t(n) - 1;
        Require(n != 0 && keep >= 0 && keep < int64_t(saved_.size()));
        Afford(++copies_ <= kMaxStateCopies);
        dc_ = saved_[size_t(keep)];
        saved_.resize(size_t(keep));
        break;
      }
      case EMR_CREATEPEN: {
        Object& o = Slot(r.U32(8));
        const uint32_t style = r.U32(12);
        o = Object{};
        o.kind = Object::Pen;
        o.pen = PenOfStyle(style);
        Ours((style & ~uint32_t(0xF)) == 0);
        o.pen.width = r.I32(16);
        o.pen.color = r.U32(24) & 0xFFFFFF;
        break;
      }
      case EMR_EXTCREATEPEN: {
        Object& o = Slot(r.U32(8));
        Ours(r.U32(16) == 0 && r.U32(24) == 0);  // no brush bitmap
        const uint32_t style = r.U32(28), brushStyle = r.U32(36), entries = r.U32(48);
        Require((style & ~uint32_t(0xFFFFF)) == 0 && (style & 0xF0000) <= PS_GEOMETRIC &&
                (style & 0xF00) <= PS_ENDCAP_FLAT && (style & 0xF000) <= PS_JOIN_MITER);
        Require(r.Has(52, uint64_t(entries) * 4));
        Ours(entries == 0 && brushStyle <= 1);
        o = Object{};
        o.kind = Object::Pen;
        o.pen = PenOfStyle(style & 0xF);
        o.pen.visible = o.pen.visible && brushStyle == 0;
        o.pen.geometric = (style & PS_GEOMETRIC) != 0;
        o.pen.style = style & 0xFFFF;
        o.pen.width = o.pen.geometric ? static_cast<int32_t>(std::min<uint32_t>(r.U32(32), INT32_MAX)) : 0;
        o.pen.color = r.U32(40) & 0xFFFFFF;
        break;
      }
      case EMR_CREATEBRUSHINDIRECT: {
        Object& o = Slot(r.U32(8));
        const uint32_t style = r.U32(12);
        Ours(style <= 1);  // solid or hollow
        o = Object{};
        o.kind = Object::Brush;
        o.brush.visible = style == 0;
        o.brush.color = r.U32(16) & 0xFFFFFF;
        break;
      }
      case EMR_EXTCREATEFONTINDIRECTW: {
        Object& o = Slot(r.U32(8));
        Require(r.Has(12, 92));
        o = Object{};
        o.kind = Object::Font;
        LogFont& f = o.font;
        f.height = r.I32(12);
        Require(f.height != INT32_MIN);
        f.escapement = r.I32(20) % 3600;  // whole turns change nothing, and the drawing negates it
        f.weight = std::clamp(r.I32(28), 0, 1000);
        if (f.weight == 0) f.weight = 400;
        f.italic = r.U8(32) != 0;
        f.underline = r.U8(33) != 0;
        f.strikeOut = r.U8(34) != 0;
        f.face.clear();
        for (size_t i = 0; i < 32; ++i) {
          const char16_t c = r.U16(40 + 2 * i);
          if (c == 0) break;
          f.face += c;
        }
        break;
      }
      case EMR_SELECTOBJECT: Select(r.U32(8)); break;
      case EMR_DELETEOBJECT: {
        const uint32_t h = r.U32(8);
        if ((h & 0x80000000u) == 0) Slot(h) = Object{};
        break;
      }
      case EMR_POLYLINE:
      case EMR_POLYGON: {
        const uint32_t n = r.U32(24);
        Draw(type == EMR_POLYGON, Points(r, 28, n), EmfCounts{nullptr, 0, 1, n});
        break;
      }
      case EMR_POLYPOLYLINE:
      case EMR_POLYPOLYGON: {
        const uint32_t parts = r.U32(24), n = r.U32(28);
        const EmfCounts counts{&r.File(), r.Span(32, uint64_t(parts) * 4), parts, 0};
        uint64_t sum = 0;
        for (uint32_t i = 0; i < parts; ++i) sum += counts[i];
        Require(sum == n);
        Draw(type == EMR_POLYPOLYGON, Points(r, 32 + 4 * size_t(parts), n), counts);
        break;
      }
      case EMR_EXTTEXTOUTW: Text(r); break;
      case EMR_STRETCHDIBITS: Dib(r); break;
      default: Require(type != EMR_HEADER && type != 0 && type <= kLastRecordType); Fail(EmfVerdict::NotOurs);
    }
    return true;
  }

 private:
  static EmfPen PenOfStyle(uint32_t style) {
    EmfPen p;
    const uint32_t base = style & 0xF;
    Ours(base != 7 && base != 8);  // user-defined and alternate dots
    Require(base <= 6);
    p.visible = base != PS_NULL;
    p.style = base == 6 ? PS_SOLID : base;  // inside-frame draws as solid
    return p;
  }

  // The device mapping from the window and viewport: the extents count only
  // in the anisotropic mode.
  void Remap() {
    EmfState& s = dc_;
    if (s.mapMode == 8) {
      s.scaleX = double(s.viewportExt.x) / s.windowExt.x;
      s.scaleY = double(s.viewportExt.y) / s.windowExt.y;
    } else {
      s.scaleX = s.scaleY = 1;
    }
    s.offsetX = s.viewportOrg.x - s.windowOrg.x * s.scaleX;
    s.offsetY = s.viewportOrg.y - s.windowOrg.y * s.scaleY;
  }

  Object& Slot(uint32_t handle) {
    Require(handle >= 1 && handle < handles_);
    if (handle >= objects_.size()) objects_.resize(handle + 1);  // the table as far as it is used
    return objects_[handle];
  }

  void Select(uint32_t h) {
    if (h & 0x80000000u) {  // stock objects
      const uint32_t i = h & 0x7FFFFFFFu;
      static const uint32_t kGreys[5] = {0xFFFFFF, 0xC0C0C0, 0x808080, 0x404040, 0};
      if (i <= 5) {
        dc_.brush.visible = i != 5;
        dc_.brush.color = i < 5 ? kGreys[i] : 0;
      } else if (i <= 8) {
        dc_.pen = EmfPen{};
        dc_.pen.visible = i != 8;
        dc_.pen.color = i == 6 ? 0xFFFFFF : 0;
      } else if ((i >= 10 && i <= 14) || i == 16 || i == 17) {
        dc_.font = LogFont{};
        dc_.font.height = -16;
      } else {
        Require(i <= 19 && i != 9);
        Fail(EmfVerdict::NotOurs);  // palettes and the dc's own pen and brush
      }
      return;
    }
    const Object& o = Slot(h);
    switch (o.kind) {
      case Object::Pen: dc_.pen = o.pen; break;
      case Object::Brush: dc_.brush = o.brush; break;
      case Object::Font: dc_.font = o.font; break;
      case Object::None: Fail(EmfVerdict::Damaged);
    }
  }

  void Clip(const Rec& r) {
    EmfState& s = dc_;
    double x0 = r.I32(8) * s.scaleX + s.offsetX, y0 = r.I32(12) * s.scaleY + s.offsetY;
    double x1 = r.I32(16) * s.scaleX + s.offsetX, y1 = r.I32(20) * s.scaleY + s.offsetY;
    if (x1 < x0) std::swap(x0, x1);
    if (y1 < y0) std::swap(y0, y1);
    if (s.clipped) {
      x0 = std::max(x0, s.clip[0]);
      y0 = std::max(y0, s.clip[1]);
      x1 = std::max(x0, std::min(x1, s.clip[2]));
      y1 = std::max(y0, std::min(y1, s.clip[3]));
    }
    s.clipped = true;
    s.clip[0] = x0;
    s.clip[1] = y0;
    s.clip[2] = x1;
    s.clip[3] = y1;
  }

  EmfPoints Points(const Rec& r, size_t at, uint32_t n) {
    const EmfPoints points{&r.File(), r.Span(at, uint64_t(n) * 8), n};
    points_ += n;
    Afford(points_ <= kMaxPoints);
    return points;
  }

  void Draw(bool closed, const EmfPoints& points, const EmfCounts& counts) {
    if (sink_ != nullptr) Spent(sink_->Polys(dc_, points, counts, closed));
  }

  void Text(const Rec& r) {
    const uint32_t mode = r.U32(24);
    Require(mode == 1 || mode == 2);
    const LPoint ref = r.Point(36);
    const uint32_t n = r.U32(44), offString = r.U32(48), options = r.U32(52), offDx = r.U32(72);
    Ours(options == 0);
    if (n == 0) return;
    Require(offString >= 76 && r.Has(offString, uint64_t(n) * 2));
    Ours(offDx != 0);
    Require(offDx >= 76 && r.Has(offDx, uint64_t(n) * 4));
    chars_ += n;
    Afford(chars_ <= kMaxCharacters);
    text_.resize(n);
    dx_.resize(n);
    for (uint32_t i = 0; i < n; ++i) {
      text_[i] = r.U16(offString + 2 * size_t(i));
      dx_[i] = r.I32(offDx + 4 * size_t(i));
    }
    if (sink_ != nullptr) Spent(sink_->Text(dc_, ref, text_, dx_));
  }

  void Dib(const Rec& r) {
    const int32_t xDest = r.I32(24), yDest = r.I32(28), xSrc = r.I32(32), ySrc = r.I32(36);
    const int32_t cxSrc = r.I32(40), cySrc = r.I32(44), cxDest = r.I32(72), cyDest = r.I32(76);
    const uint32_t offBmi = r.U32(48), cbBmi = r.U32(52), offBits = r.U32(56), cbBits = r.U32(60);
    Ours(r.U32(64) == 0 && r.U32(68) == kSrcCopy);  // plain colours, copied
    Require(cbBmi >= 40 && offBmi >= 80 && r.Has(offBmi, cbBmi) && offBits >= 80 && r.Has(offBits, cbBits));
    const uint32_t biSize = r.U32(offBmi);
    const int32_t width = r.I32(offBmi + 4), height = r.I32(offBmi + 8);
    const uint16_t planes = r.U16(offBmi + 12), bits = r.U16(offBmi + 14);
    Require(biSize >= 40 && biSize <= cbBmi && planes == 1 && width > 0 && height != 0 && height != INT32_MIN);
    Ours((bits == 24 || bits == 32) && r.U32(offBmi + 16) == 0);  // uncompressed
    const uint64_t rows = uint64_t(std::abs(height));
    const uint64_t stride = (uint64_t(width) * bits + 31) / 32 * 4;
    Require(stride * rows <= cbBits);
    Require(xSrc >= 0 && ySrc >= 0 && cxSrc > 0 && cySrc > 0 && int64_t(xSrc) + cxSrc <= width &&
            uint64_t(ySrc) + uint64_t(cySrc) <= rows);
    Ours(cxDest >= 0 && cyDest >= 0);  // mirrored pictures: not ours
    pixels_ += uint64_t(cxSrc) * uint64_t(cySrc);
    Afford(pixels_ <= kMaxPixels);
    // Bottom-up pictures count the source rectangle from their last row.
    const uint64_t topRow = height > 0 ? uint64_t(ySrc) + uint64_t(cySrc) - 1 : uint64_t(ySrc);
    EmfPixels pixels;
    pixels.bytes = &r.File();
    pixels.bytesPerPixel = bits / 8;
    pixels.first = r.Span(offBits + size_t(topRow * stride) + size_t(xSrc) * pixels.bytesPerPixel, 3);
    if (sink_ == nullptr || cxDest == 0 || cyDest == 0) return;
    pixels.rowStep = height > 0 ? -ptrdiff_t(stride) : ptrdiff_t(stride);
    pixels.width = cxSrc;
    pixels.height = cySrc;
    const LRect dest{xDest, yDest, int32_t(std::min<int64_t>(int64_t(xDest) + cxDest, INT32_MAX)),
                     int32_t(std::min<int64_t>(int64_t(yDest) + cyDest, INT32_MAX))};
    Spent(sink_->Picture(dc_, dest, pixels));
  }

  // A drawing past the sink's bound: nothing more is drawn, but the rest of
  // the file is still checked, so that its verdict is the file's.
  void Spent(bool drawn) {
    if (drawn) return;
    sink_ = nullptr;
    overspent_ = true;
  }

 public:
  bool Overspent() const { return overspent_; }

 private:
  EmfSink* sink_;
  bool overspent_ = false;
  EmfState dc_;
  std::vector<EmfState> saved_;
  uint32_t handles_ = 0;
  std::vector<Object> objects_;
  std::u16string text_;
  std::vector<int32_t> dx_;
  uint64_t points_ = 0, chars_ = 0, pixels_ = 0, copies_ = 0;
};

}  // namespace

EmfBytes::EmfBytes(int fd, size_t size) : size_(size), fd_(fd) {}

const uint8_t* EmfBytes::Fill(size_t at, size_t n) const {
  constexpr size_t kWindow = size_t(64) << 10;
  window_.resize(kWindow);
  if (at > size_ || n > size_ - at) {  // never asked by the walk
    failed_ = true;
    std::fill(window_.begin(), window_.end(), 0);
    start_ = at;
    held_ = n;
    return window_.data();
  }
  // Forward the window starts where it is read; backward (a picture's rows
  // bottom up) it is centred there, so that either way it serves many reads.
  start_ = at >= start_ ? at : at - std::min(at, kWindow / 2);
  held_ = std::min(kWindow, size_ - start_);
  size_t got = 0;
  while (!failed_ && got < held_) {
    const ssize_t r = ::pread(fd_, window_.data() + got, held_ - got, off_t(start_ + got));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) failed_ = true;  // unreadable, or cut since the walk began
    else got += size_t(r);
  }
  if (got < held_) std::memset(window_.data() + got, 0, held_ - got);
  return window_.data() + (at - start_);
}

LPoint EmfPoints::operator[](size_t i) const {
  const uint8_t* p = bytes->At(at + 8 * i, 8);
  return {static_cast<int32_t>(Le32(p)), static_cast<int32_t>(Le32(p + 4))};
}

uint32_t EmfCounts::operator[](size_t i) const { return bytes == nullptr ? single : Le32(bytes->At(at + 4 * i, 4)); }

namespace {

// The walk of ReadEmf, or of the header alone.
EmfVerdict Walk(const EmfBytes& bytes, EmfSink* sink, EmfFrame* frame, bool headerOnly) {
  EmfFrame unused;
  if (frame == nullptr) frame = &unused;
  const size_t size = bytes.Size();
  bool overspent = false;
  try {
    Require(size >= kHeaderLeast);
    Walker walker(sink);
    const Rec head(bytes, 0, size);
    const uint32_t headSize = head.U32(4);
    Require(headSize >= kHeaderLeast && headSize % 4 == 0 && headSize <= size);
    size_t end = 0;
    walker.Header(Rec(bytes, 0, headSize), size, frame, end);
    for (size_t at = headSize; !headerOnly;) {
      Require(end - at >= 8);
      const Rec peek(bytes, at, 8);
      const uint32_t recSize = peek.U32(4);
      Require(recSize >= 8 && recSize % 4 == 0 && recSize <= end - at);
      if (!walker.Record(Rec(bytes, at, recSize))) break;
      at += recSize;
    }
    overspent = walker.Overspent();
  } catch (const Stop& stop) {
    return bytes.Failed() ? EmfVerdict::Damaged : stop.verdict;
  }
  if (bytes.Failed()) return EmfVerdict::Damaged;
  return overspent ? EmfVerdict::TooLarge : EmfVerdict::Picture;
}

}  // namespace

uint32_t EmfPixels::At(int x, int y) const {
  const uint8_t* p = bytes->At(size_t(ptrdiff_t(first) + rowStep * y + ptrdiff_t(bytesPerPixel) * x), 3);
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

EmfVerdict ReadEmf(const uint8_t* data, size_t size, EmfSink* sink, EmfFrame* frame) {
  if (data == nullptr) return EmfVerdict::Damaged;
  const EmfBytes bytes(data, size);
  return ReadEmf(bytes, sink, frame);
}

EmfVerdict ReadEmf(const EmfBytes& bytes, EmfSink* sink, EmfFrame* frame) { return Walk(bytes, sink, frame, false); }

EmfVerdict ReadEmfHeader(const EmfBytes& bytes, EmfFrame* frame) { return Walk(bytes, nullptr, frame, true); }

}  // namespace tk::emf
