#include "toolkit/emf/EmfRecords.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tk::emf {

namespace {
// The reference device of the header: 2400 x 1440 pixels on 635 x 381 mm,
// exactly 96 pixels per inch.
constexpr int32_t kDevicePx[2] = {2400, 1440};
constexpr int32_t kDeviceMm[2] = {635, 381};
constexpr size_t kHeaderSize = 108;

void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = v & 0xFF;
  out[at + 1] = (v >> 8) & 0xFF;
  out[at + 2] = (v >> 16) & 0xFF;
  out[at + 3] = (v >> 24) & 0xFF;
}
}  // namespace

void LRect::Unite(const LRect& r) {
  if (r.Empty()) return;
  if (Empty()) {
    *this = r;
    return;
  }
  left = std::min(left, r.left);
  top = std::min(top, r.top);
  right = std::max(right, r.right);
  bottom = std::max(bottom, r.bottom);
}

EmfRecords::EmfRecords(int widthPx, int heightPx)
    : width_(std::max(widthPx, 1)), height_(std::max(heightPx, 1)), used_(1, true) {}

void EmfRecords::Begin(uint32_t type, size_t size) {
  U32(type);
  U32(static_cast<uint32_t>(size));
  ++records_;
}

void EmfRecords::U32(uint32_t v) {
  body_.push_back(v & 0xFF);
  body_.push_back((v >> 8) & 0xFF);
  body_.push_back((v >> 16) & 0xFF);
  body_.push_back((v >> 24) & 0xFF);
}

void EmfRecords::Rect(const LRect& r) {
  I32(r.left);
  I32(r.top);
  I32(r.right);
  I32(r.bottom);
}

void EmfRecords::SetMapping() {
  Begin(EMR_SETMAPMODE, 12);
  U32(8);  // MM_ANISOTROPIC
  Begin(EMR_SETWINDOWORGEX, 16);
  I32(0);
  I32(0);
  Begin(EMR_SETWINDOWEXTEX, 16);
  I32(width_ * kSub);
  I32(height_ * kSub);
  Begin(EMR_SETVIEWPORTORGEX, 16);
  I32(0);
  I32(0);
  Begin(EMR_SETVIEWPORTEXTEX, 16);
  I32(width_);
  I32(height_);
}

void EmfRecords::SetBkModeTransparent() {
  Begin(EMR_SETBKMODE, 12);
  U32(1);  // TRANSPARENT
}

void EmfRecords::SetTextAlignBaseline() {
  Begin(EMR_SETTEXTALIGN, 12);
  U32(24);  // TA_BASELINE | TA_LEFT | TA_NOUPDATECP
}

void EmfRecords::SetPolyFillMode(bool winding) {
  Begin(EMR_SETPOLYFILLMODE, 12);
  U32(winding ? 2 : 1);
}

void EmfRecords::SetTextColor(uint32_t colorref) {
  Begin(EMR_SETTEXTCOLOR, 12);
  U32(colorref);
}

uint32_t EmfRecords::NewHandle() {
  for (uint32_t i = 1; i < used_.size(); ++i)
    if (!used_[i]) {
      used_[i] = true;
      return i;
    }
  used_.push_back(true);
  const auto h = static_cast<uint32_t>(used_.size() - 1);
  maxHandle_ = std::max(maxHandle_, h);
  return h;
}

uint32_t EmfRecords::CreatePen(uint32_t style, int32_t width, uint32_t colorref) {
  const uint32_t h = NewHandle();
  Begin(EMR_CREATEPEN, 28);
  U32(h);
  U32(style);
  I32(width);
  I32(0);
  U32(colorref);
  return h;
}

uint32_t EmfRecords::ExtCreatePen(uint32_t style, int32_t width, uint32_t colorref) {
  const uint32_t h = NewHandle();
  Begin(EMR_EXTCREATEPEN, 52);
  U32(h);
  U32(0);  // no brush bitmap
  U32(0);
  U32(0);
  U32(0);
  U32(style);
  U32(static_cast<uint32_t>(width));
  U32(0);  // BS_SOLID
  U32(colorref);
  U32(0);
  U32(0);  // no style entries
  return h;
}

uint32_t EmfRecords::CreateSolidBrush(uint32_t colorref) {
  const uint32_t h = NewHandle();
  Begin(EMR_CREATEBRUSHINDIRECT, 24);
  U32(h);
  U32(0);  // BS_SOLID
  U32(colorref);
  U32(0);
  return h;
}

uint32_t EmfRecords::CreateFont(const LogFont& f) {
  const uint32_t h = NewHandle();
  Begin(EMR_EXTCREATEFONTINDIRECTW, 12 + 92);
  U32(h);
  I32(f.height);
  I32(0);  // width: the font's own
  I32(f.escapement);
  I32(f.escapement);  // orientation of each character follows the baseline
  I32(f.weight);
  body_.push_back(f.italic ? 1 : 0);
  body_.push_back(f.underline ? 1 : 0);
  body_.push_back(f.strikeOut ? 1 : 0);
  body_.push_back(1);  // DEFAULT_CHARSET
  body_.push_back(0);  // OUT_DEFAULT_PRECIS
  body_.push_back(0);  // CLIP_DEFAULT_PRECIS
  body_.push_back(4);  // ANTIALIASED_QUALITY
  body_.push_back(0);  // DEFAULT_PITCH | FF_DONTCARE
  for (size_t i = 0; i < 32; ++i) {
    const char16_t c = i < 31 && i < f.face.size() ? f.face[i] : u'\0';
    body_.push_back(c & 0xFF);
    body_.push_back(c >> 8);
  }
  return h;
}

void EmfRecords::SelectObject(uint32_t handle) {
  Begin(EMR_SELECTOBJECT, 12);
  U32(handle);
}

void EmfRecords::DeleteObject(uint32_t handle) {
  Begin(EMR_DELETEOBJECT, 12);
  U32(handle);
  if (handle < used_.size()) used_[handle] = false;
}

LRect EmfRecords::PointsBounds(const std::vector<LPoint>& pts) const {
  LRect r;
  for (const auto& p : pts) r.Unite({p.x, p.y, p.x, p.y});
  if (r.Empty()) return r;
  // Record bounds are in device units.
  return {static_cast<int32_t>(std::floor(r.left / double(kSub))),
          static_cast<int32_t>(std::floor(r.top / double(kSub))),
          static_cast<int32_t>(std::ceil(r.right / double(kSub))),
          static_cast<int32_t>(std::ceil(r.bottom / double(kSub)))};
}

void EmfRecords::Polyline(const std::vector<LPoint>& pts) {
  if (pts.size() < 2) return;
  const LRect b = PointsBounds(pts);
  Begin(EMR_POLYLINE, 28 + 8 * pts.size());
  Rect(b);
  U32(static_cast<uint32_t>(pts.size()));
  for (const auto& p : pts) {
    I32(p.x);
    I32(p.y);
  }
  AddBounds(b);
}

void EmfRecords::Polygon(const std::vector<LPoint>& pts) {
  if (pts.size() < 3) return;
  const LRect b = PointsBounds(pts);
  Begin(EMR_POLYGON, 28 + 8 * pts.size());
  Rect(b);
  U32(static_cast<uint32_t>(pts.size()));
  for (const auto& p : pts) {
    I32(p.x);
    I32(p.y);
  }
  AddBounds(b);
}

// Several polylines or polygons in one record; parts too short to draw are
// left out, and a single part goes as the simple record.
void EmfRecords::PolyPoly(uint32_t type, size_t least, const std::vector<std::vector<LPoint>>& parts,
                          void (EmfRecords::*single)(const std::vector<LPoint>&)) {
  std::vector<const std::vector<LPoint>*> keep;
  size_t total = 0;
  LRect b;
  for (const auto& p : parts)
    if (p.size() >= least) {
      keep.push_back(&p);
      total += p.size();
      b.Unite(PointsBounds(p));
    }
  if (keep.empty()) return;
  if (keep.size() == 1) {
    (this->*single)(*keep[0]);
    return;
  }
  Begin(type, 32 + 4 * keep.size() + 8 * total);
  Rect(b);
  U32(static_cast<uint32_t>(keep.size()));
  U32(static_cast<uint32_t>(total));
  for (const auto* p : keep) U32(static_cast<uint32_t>(p->size()));
  for (const auto* p : keep)
    for (const auto& q : *p) {
      I32(q.x);
      I32(q.y);
    }
  AddBounds(b);
}

void EmfRecords::PolyPolyline(const std::vector<std::vector<LPoint>>& lines) {
  PolyPoly(EMR_POLYPOLYLINE, 2, lines, &EmfRecords::Polyline);
}

void EmfRecords::PolyPolygon(const std::vector<std::vector<LPoint>>& polys) {
  PolyPoly(EMR_POLYPOLYGON, 3, polys, &EmfRecords::Polygon);
}

void EmfRecords::ExtTextOut(LPoint ref, const std::u16string& text, const std::vector<int32_t>& dx,
                            const LRect& deviceBounds) {
  if (text.empty()) return;
  const size_t n = text.size();
  const size_t strBytes = (2 * n + 3) & ~size_t(3);
  const size_t offString = 76;
  const size_t offDx = offString + strBytes;
  Begin(EMR_EXTTEXTOUTW, offDx + 4 * n);
  Rect(deviceBounds);
  U32(1);  // GM_COMPATIBLE
  U32(0);  // exScale, eyScale: unused in the compatible mode
  U32(0);
  I32(ref.x);
  I32(ref.y);
  U32(static_cast<uint32_t>(n));
  U32(static_cast<uint32_t>(offString));
  U32(0);  // no options: no clipping, no opaque box
  Rect(LRect{0, 0, -1, -1});
  U32(static_cast<uint32_t>(offDx));
  for (char16_t c : text) {
    body_.push_back(c & 0xFF);
    body_.push_back(c >> 8);
  }
  for (size_t i = 2 * n; i < strBytes; ++i) body_.push_back(0);
  for (size_t i = 0; i < n; ++i) I32(i < dx.size() ? dx[i] : 0);
  AddBounds(deviceBounds);
}

void EmfRecords::StretchDib(const LRect& dest, int width, int height, const std::vector<uint32_t>& rgb) {
  if (width <= 0 || height <= 0 || rgb.size() < size_t(width) * size_t(height)) return;
  const size_t stride = (size_t(width) * 3 + 3) & ~size_t(3);
  const size_t bitsSize = stride * size_t(height);
  const size_t offBmi = 80, bmiSize = 40, offBits = offBmi + bmiSize;
  const LRect b = PointsBounds({{dest.left, dest.top}, {dest.right, dest.bottom}});
  Begin(EMR_STRETCHDIBITS, offBits + bitsSize);
  Rect(b);
  I32(dest.left);
  I32(dest.top);
  I32(0);
  I32(0);
  I32(width);
  I32(height);
  U32(static_cast<uint32_t>(offBmi));
  U32(static_cast<uint32_t>(bmiSize));
  U32(static_cast<uint32_t>(offBits));
  U32(static_cast<uint32_t>(bitsSize));
  U32(0);           // DIB_RGB_COLORS
  U32(0x00CC0020);  // SRCCOPY
  I32(dest.right - dest.left + 1);
  I32(dest.bottom - dest.top + 1);
  // BITMAPINFOHEADER: bottom-up rows of blue, green, red.
  U32(40);
  I32(width);
  I32(height);
  U32(1 | (24u << 16));  // planes, bits per pixel
  U32(0);                // BI_RGB
  U32(static_cast<uint32_t>(bitsSize));
  I32(3780);  // 96 dpi in pixels per metre
  I32(3780);
  U32(0);
  U32(0);
  for (int y = height - 1; y >= 0; --y) {
    const uint32_t* row = rgb.data() + size_t(y) * size_t(width);
    for (int x = 0; x < width; ++x) {
      body_.push_back(row[x] & 0xFF);
      body_.push_back((row[x] >> 8) & 0xFF);
      body_.push_back((row[x] >> 16) & 0xFF);
    }
    for (size_t i = size_t(width) * 3; i < stride; ++i) body_.push_back(0);
  }
  AddBounds(b);
}

void EmfRecords::SaveDC() { Begin(EMR_SAVEDC, 8); }

void EmfRecords::RestoreDC() {
  Begin(EMR_RESTOREDC, 12);
  I32(-1);
}

void EmfRecords::IntersectClipRect(const LRect& r) {
  // The clip rectangle excludes its right and bottom edges.
  Begin(EMR_INTERSECTCLIPRECT, 24);
  I32(r.left);
  I32(r.top);
  I32(r.right);
  I32(r.bottom);
}

void EmfRecords::AddBounds(const LRect& r) {
  if (r.Empty()) return;
  LRect c{std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, width_ - 1), std::min(r.bottom, height_ - 1)};
  bounds_.Unite(c);
}

std::vector<uint8_t> EmfRecords::Finish() const {
  std::vector<uint8_t> out(kHeaderSize + body_.size(), 0);
  std::copy(body_.begin(), body_.end(), out.begin() + kHeaderSize);
  // The end record: no palette.
  const size_t eofAt = out.size();
  out.resize(out.size() + 20, 0);
  Put32(out, eofAt, EMR_EOF);
  Put32(out, eofAt + 4, 20);
  Put32(out, eofAt + 8, 0);
  Put32(out, eofAt + 12, 16);
  Put32(out, eofAt + 16, 20);

  const LRect b = bounds_.Empty() ? LRect{0, 0, width_ - 1, height_ - 1} : bounds_;
  Put32(out, 0, EMR_HEADER);
  Put32(out, 4, kHeaderSize);
  Put32(out, 8, static_cast<uint32_t>(b.left));
  Put32(out, 12, static_cast<uint32_t>(b.top));
  Put32(out, 16, static_cast<uint32_t>(b.right));
  Put32(out, 20, static_cast<uint32_t>(b.bottom));
  // The frame: the whole picture in hundredths of a millimetre.
  Put32(out, 24, 0);
  Put32(out, 28, 0);
  Put32(out, 32, static_cast<uint32_t>(std::lround(width_ * 2540.0 / 96.0) - 1));
  Put32(out, 36, static_cast<uint32_t>(std::lround(height_ * 2540.0 / 96.0) - 1));
  Put32(out, 40, kEmfSignature);
  Put32(out, 44, 0x10000);
  Put32(out, 48, static_cast<uint32_t>(out.size()));
  Put32(out, 52, static_cast<uint32_t>(records_ + 2));
  const uint32_t handles = maxHandle_ + 1;
  out[56] = handles & 0xFF;
  out[57] = (handles >> 8) & 0xFF;
  Put32(out, 60, 0);  // no description
  Put32(out, 64, 0);
  Put32(out, 68, 0);  // no palette
  Put32(out, 72, kDevicePx[0]);
  Put32(out, 76, kDevicePx[1]);
  Put32(out, 80, kDeviceMm[0]);
  Put32(out, 84, kDeviceMm[1]);
  Put32(out, 88, 0);  // no pixel format
  Put32(out, 92, 0);
  Put32(out, 96, 0);  // not OpenGL
  Put32(out, 100, kDeviceMm[0] * 1000);
  Put32(out, 104, kDeviceMm[1] * 1000);
  return out;
}

}  // namespace tk::emf
