// Draws what EmfReader walks, with a QPainter on a white picture scaled to
// fit.  Lines and shapes are mapped to the picture's pixels and cut to what
// can show there first; text goes character by character at the advances the
// file gives.  Each drawing is priced before it is made, in units of about
// one pixel touched, and the picture may cost only so many times its own
// area: the time and memory of a preview follow the picture's size, not the
// file's.
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

#include "toolkit/core/FpCheck.h"
#include "toolkit/emf/EmfPaths.h"
#include "toolkit/emf/EmfReader.h"
#include "toolkit/pictures/QtGraphics.h"

namespace tk::emf {

namespace {

// What a picture may cost: this many units for each of its pixels.
constexpr double kWorkPerPixel = 250;
// The price of a record, of a drawing handed to the painter, of a new clip,
// of a character drawn (paths price themselves: EmfPaths.h).
constexpr double kRecordCost = 32, kDrawCost = 300, kClipCost = 600, kGlyphCost = 2000;
// A pen wider than this (picture pixels) covers far more than any picture.
constexpr double kWidestPen = 1e5;
// The widest pen the painter takes, in its units.
constexpr double kWidestPenUnits = 16384;
// Coordinates handed to the painter stay within this of the picture.
constexpr double kReach = 1 << 20;

QColor FromColorRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

class PainterSink : public EmfSink {
 public:
  // Device pixels of the file to pixels of the picture: p * scale - origin.
  PainterSink(QPainter& p, double scale, QPointF origin, int width, int height)
      : p_(p),
        scale_(scale),
        origin_(origin),
        picture_{0, 0, double(width), double(height)},
        left_(kWorkPerPixel * width * height) {}

  bool Polys(const EmfState& dc, const EmfPoints& pts, const EmfCounts& counts, bool closed) override {
    const bool fill = closed && dc.brush.visible;
    if (!dc.pen.visible && !fill) return true;
    if ((left_ -= kRecordCost) < 0) return false;
    const double ax = dc.scaleX * scale_, ay = dc.scaleY * scale_;
    const double bx = dc.offsetX * scale_ - origin_.x(), by = dc.offsetY * scale_ - origin_.y();
    // The path's units: logical ones, or as many of them as keep the pen's
    // width within what the painter takes.
    const double k = std::max(1.0, std::abs(double(dc.pen.width)) / kWidestPenUnits);
    const QTransform toPicture(ax * k, 0, 0, ay * k, bx, by);
    const QPen pen = Pen(dc, k);
    // Its width in picture pixels, along the axis the mapping stretches most.
    const double width = !dc.pen.visible    ? 0
                         : pen.isCosmetic() ? 1
                                            : pen.widthF() * k * std::max(std::abs(ax), std::abs(ay));
    if (width > kWidestPen) return false;
    // Beyond the pen's reach from the picture nothing of a line shows.
    const double m = width / 2 + 2;
    const Box box{picture_.x0 - m, picture_.y0 - m, picture_.x1 + m, picture_.y1 + m};
    PathBuilder path(left_, Ink{width, pen.isCosmetic(), dc.pen.visible && pen.style() != Qt::SolidLine, fill},
                     picture_, toPicture.inverted());
    auto at = [&](size_t i) {
      const LPoint l = pts[i];
      return QPointF(l.x * ax + bx, l.y * ay + by);
    };
    size_t first = 0;
    for (size_t part = 0; part < counts.n && !path.Over(); first += counts[part++]) {
      const size_t n = counts[part];
      if (n < 2) continue;  // a single point draws nothing
      if (closed) {
        PolygonCut cut(box, path);
        for (size_t i = 0; i < n && !path.Over(); ++i) cut.Add(at(first + i));
        cut.Close();
        continue;
      }
      bool open = false;
      QPointF prev = at(first);
      for (size_t i = 1; i < n && !path.Over(); ++i) {
        const QPointF next = at(first + i);
        QPointF a = prev, b = next;
        bool cutA = false, cutB = false;
        prev = next;
        if (!CutSegment(box, a, b, cutA, cutB)) {
          open = false;
          continue;
        }
        if (!open || cutA) path.MoveTo(a);
        path.LineTo(b);
        open = !cutB;
      }
      path.Flush();
    }
    path.PriceArea();
    if (path.Over()) return false;
    if (path.Path().isEmpty()) return true;  // nothing of it shows
    Begin(dc);
    if ((left_ -= kDrawCost) < 0) return false;
    p_.setTransform(toPicture);
    p_.setPen(pen);
    p_.setBrush(fill ? QBrush(FromColorRef(dc.brush.color)) : QBrush(Qt::NoBrush));
    QPainterPath shape = path.Path();
    shape.setFillRule(dc.winding ? Qt::WindingFill : Qt::OddEvenFill);
    p_.drawPath(shape);
    return true;
  }

  bool Text(const EmfState& dc, LPoint ref, const std::u16string& text, const std::vector<int32_t>& dx) override {
    if ((left_ -= kRecordCost) < 0) return false;
    Begin(dc);  // text is placed in picture pixels: it stays upright whatever the mapping
    const double sx = dc.scaleX * scale_, sy = dc.scaleY * scale_;
    const LogFont& lf = dc.font;
    double em = lf.height < 0 ? -double(lf.height) : lf.height * 0.8;  // a positive height holds the leading
    if (lf.height == 0) em = 12 / std::abs(sy);
    const double px = em * std::abs(sy);
    if (!(px >= 0.5) || px > 4000) return true;  // too small to see, or absurd
    SetFont(lf, px);
    p_.setPen(FromColorRef(dc.textColor));
    const QFontMetricsF& fm = *metrics_;
    const double turn = lf.escapement / 10.0;
    const double angle = turn * M_PI / 180.0;
    const QPointF along(std::cos(angle) * std::abs(sx), -std::sin(angle) * std::abs(sx));
    double total = 0;
    for (int32_t d : dx) total += d;
    double start = 0;
    if ((dc.textAlign & 6) == 6) start = -total / 2;
    else if (dc.textAlign & 2) start = -total;
    double drop = 0;  // from the reference point down to the baseline
    if ((dc.textAlign & 24) == 0) drop = fm.ascent();
    else if ((dc.textAlign & 24) == 8) drop = -fm.descent();
    const QPointF base(ref.x * dc.scaleX + dc.offsetX, ref.y * dc.scaleY + dc.offsetY);
    const QPointF origin = base * scale_ - origin_;
    // A character reaches no further than a few of its heights from its origin.
    const double reach = 3 * px + std::abs(drop) + 4;
    const Box near{picture_.x0 - reach, picture_.y0 - reach, picture_.x1 + reach, picture_.y1 + reach};
    const double price = kGlyphCost + std::min(px * px, picture_.x1 * picture_.y1) * (turn == 0 ? 1 : 2);
    double cum = start;
    for (size_t i = 0; i < text.size(); ++i) {
      size_t n = 1;  // a surrogate pair stands as one character
      if (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
        n = 2;
      const QPointF at = origin + along * cum;
      if (near.Holds(at)) {
        left_ -= price;
        if (left_ < 0) return false;
        p_.save();
        p_.translate(at);
        p_.rotate(-turn);
        p_.drawText(QPointF(0, drop), QString::fromStdU16String(text.substr(i, n)));
        p_.restore();
      }
      for (size_t k = 0; k < n; ++k) cum += dx[i + k];
      i += n - 1;
    }
    return true;
  }

  bool Picture(const EmfState& dc, const LRect& dest, const EmfPixels& pixels) override {
    if ((left_ -= kRecordCost) < 0) return false;
    Begin(dc);
    const double ax = dc.scaleX * scale_, ay = dc.scaleY * scale_;
    const double bx = dc.offsetX * scale_ - origin_.x(), by = dc.offsetY * scale_ - origin_.y();
    // The destination in picture pixels (mirrored when the mapping is), and
    // the part of it that shows.
    const double x0 = dest.left * ax + bx, x1 = dest.right * ax + bx;
    const double y0 = dest.top * ay + by, y1 = dest.bottom * ay + by;
    const Box shown{std::max(std::min(x0, x1), picture_.x0), std::max(std::min(y0, y1), picture_.y0),
                    std::min(std::max(x0, x1), picture_.x1), std::min(std::max(y0, y1), picture_.y1)};
    if (!(shown.x0 < shown.x1 && shown.y0 < shown.y1)) return true;
    const double area = (shown.x1 - shown.x0) * (shown.y1 - shown.y0);
    const int64_t pixelsIn = int64_t(pixels.width) * pixels.height;
    const Box whole{std::min(x0, x1), std::min(y0, y1), std::max(x0, x1), std::max(y0, y1)};
    if (pixelsIn <= 4 * int64_t(picture_.x1 * picture_.y1) && whole.x0 > -kReach && whole.y0 > -kReach &&
        whole.x1 < kReach && whole.y1 < kReach) {
      // A small picture goes to the painter whole, scaled by it.
      left_ -= kDrawCost + double(pixelsIn) + area;
      if (left_ < 0) return false;
      QImage image(pixels.width, pixels.height, QImage::Format_RGB32);
      for (int y = 0; y < pixels.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < pixels.width; ++x) line[x] = 0xFF000000u | pixels.At(x, y);
      }
      p_.setTransform(QTransform(ax, 0, 0, ay, bx, by));
      p_.drawImage(QRectF(dest.left, dest.top, double(dest.right) - dest.left, double(dest.bottom) - dest.top), image);
      return true;
    }
    // A large one is sampled where it shows, at twice the resolution it
    // shows at, and the painter smooths the samples.
    const int w = int(std::ceil(shown.x1 - shown.x0)) * 2, h = int(std::ceil(shown.y1 - shown.y0)) * 2;
    left_ -= kDrawCost + double(w) * h + area;
    if (left_ < 0) return false;
    QImage image(w, h, QImage::Format_RGB32);
    auto source = [](double at, double from, double to, int count) {
      return std::clamp(int((at - from) / (to - from) * count), 0, count - 1);
    };
    for (int y = 0, last = -1; y < h; ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      const int v = source(shown.y0 + (y + 0.5) * (shown.y1 - shown.y0) / h, y0, y1, pixels.height);
      if (v == last) {  // a row sampled again: read once from the file
        std::copy_n(reinterpret_cast<const QRgb*>(image.constScanLine(y - 1)), w, line);
        continue;
      }
      last = v;
      for (int x = 0; x < w; ++x)
        line[x] =
            0xFF000000u | pixels.At(source(shown.x0 + (x + 0.5) * (shown.x1 - shown.x0) / w, x0, x1, pixels.width), v);
    }
    p_.drawImage(QRectF(shown.x0, shown.y0, shown.x1 - shown.x0, shown.y1 - shown.y0), image);
    return true;
  }

 private:
  // The file's clip on the painter, which then draws in picture pixels.
  void Begin(const EmfState& dc) {
    p_.resetTransform();
    const bool same = dc.clipped == clipped_ && std::equal(dc.clip, dc.clip + 4, clip_);
    if (same) return;
    left_ -= kClipCost;
    clipped_ = dc.clipped;
    std::copy(dc.clip, dc.clip + 4, clip_);
    if (dc.clipped) {
      // Only its part within the picture matters.
      auto x = [&](double d) { return std::clamp(d * scale_ - origin_.x(), -1.0, picture_.x1 + 1); };
      auto y = [&](double d) { return std::clamp(d * scale_ - origin_.y(), -1.0, picture_.y1 + 1); };
      p_.setClipRect(QRectF(QPointF(x(dc.clip[0]), y(dc.clip[1])), QPointF(x(dc.clip[2]), y(dc.clip[3]))));
    } else {
      p_.setClipping(false);
    }
  }

  // Picture pixels per logical unit, for widths.
  double Unit(const EmfState& dc) const { return std::sqrt(std::abs(dc.scaleX * dc.scaleY)) * scale_; }

  // The pen in units of k logical units.
  QPen Pen(const EmfState& dc, double k) const {
    const EmfPen& e = dc.pen;
    if (!e.visible) return QPen(Qt::NoPen);
    QPen pen(FromColorRef(e.color));
    static const Qt::PenStyle kDashes[5] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                            Qt::DashDotDotLine};
    pen.setStyle(kDashes[std::min<uint32_t>(e.style & 0xF, 4)]);
    const double w = std::abs(double(e.width)) * Unit(dc);
    // Thinner than a pixel of the picture: still a pixel, so that a
    // reduced picture keeps its lines.
    if (w < 1) {
      pen.setCosmetic(true);
      pen.setWidthF(1);
    } else {
      pen.setWidthF(std::abs(double(e.width)) / k);
    }
    if (e.geometric) {
      const uint32_t cap = e.style & 0xF00, join = e.style & 0xF000;
      pen.setCapStyle(cap == PS_ENDCAP_FLAT ? Qt::FlatCap : cap == PS_ENDCAP_SQUARE ? Qt::SquareCap : Qt::RoundCap);
      pen.setJoinStyle(join == PS_JOIN_MITER ? Qt::MiterJoin : join == PS_JOIN_BEVEL ? Qt::BevelJoin : Qt::RoundJoin);
    } else {
      pen.setCapStyle(Qt::RoundCap);
      pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
  }

  // The font of the text records, built again only when it changes.
  void SetFont(const LogFont& lf, double px) {
    if (!font_ || fontKey_.face != lf.face || fontKey_.weight != lf.weight || fontKey_.italic != lf.italic ||
        fontKey_.underline != lf.underline || fontKey_.strikeOut != lf.strikeOut || fontPx_ != px) {
      TFont name;
      name.Name = FromQString(QString::fromStdU16String(lf.face));
      QFont font = ToQFont(name);
      font.setPointSizeF(px * 72.0 / 96.0);
      font.setWeight(QFont::Weight(std::clamp(lf.weight, 1, 1000)));
      font.setItalic(lf.italic);
      font.setUnderline(lf.underline);
      font.setStrikeOut(lf.strikeOut);
      font.setHintingPreference(QFont::PreferNoHinting);
      font_ = font;
      metrics_.emplace(font);
      fontKey_ = lf;
      fontPx_ = px;
    }
    p_.setFont(*font_);
  }

  QPainter& p_;
  double scale_;
  QPointF origin_;
  Box picture_;
  double left_;           // what the picture may still cost
  bool clipped_ = false;  // the clip on the painter
  double clip_[4] = {0, 0, 0, 0};
  std::optional<QFont> font_;
  std::optional<QFontMetricsF> metrics_;
  LogFont fontKey_;
  double fontPx_ = 0;
};

}  // namespace

std::unique_ptr<TBitmap> DrawEmf(const uint8_t* data, size_t size, int maxWidth, int maxHeight, EmfVerdict* verdict) {
  EmfVerdict unused;
  if (verdict == nullptr) verdict = &unused;
  if (data == nullptr) {
    *verdict = EmfVerdict::Damaged;
    return nullptr;
  }
  const EmfBytes bytes(data, size);
  return DrawEmf(bytes, maxWidth, maxHeight, verdict);
}

std::unique_ptr<TBitmap> DrawEmf(const EmfBytes& bytes, int maxWidth, int maxHeight, EmfVerdict* verdict,
                                 EmfFrame* frame) {
  EmfVerdict unused;
  if (verdict == nullptr) verdict = &unused;
  EmfFrame head;
  if (frame == nullptr) frame = &head;
  *verdict = ReadEmfHeader(bytes, frame);
  if (*verdict != EmfVerdict::Picture) return nullptr;
  if (maxWidth < 1 || maxHeight < 1) {
    *verdict = ReadEmf(bytes, nullptr, frame);
    return nullptr;
  }
  FpShield shield;
  const double scale = std::min(maxWidth / frame->width, maxHeight / frame->height);
  const int w = std::clamp(int(std::lround(frame->width * scale)), 1, maxWidth);
  const int h = std::clamp(int(std::lround(frame->height * scale)), 1, maxHeight);
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    PainterSink sink(p, scale, QPointF(frame->left, frame->top) * scale, w, h);
    *verdict = ReadEmf(bytes, &sink, frame);
  }
  if (*verdict != EmfVerdict::Picture) return nullptr;
  return BitmapFromImage(image);
}

}  // namespace tk::emf
