// Draws what EmfReader walks, with a QPainter on a white picture scaled to
// fit: shapes and lines in logical units under the file's mapping, text
// character by character at the advances the file gives.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "toolkit/QtGraphics.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/emf/EmfReader.h"

namespace tk::emf {

namespace {

QColor FromColorRef(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

class PainterSink : public EmfSink {
 public:
  // Device pixels of the file to pixels of the picture: p * scale - origin.
  PainterSink(QPainter& p, double scale, QPointF origin) : p_(p), scale_(scale), origin_(origin) {}

  void Polys(const EmfState& dc, const std::vector<LPoint>& pts, const std::vector<uint32_t>& counts,
             bool closed) override {
    Begin(dc);
    QPainterPath path;
    path.setFillRule(dc.winding ? Qt::WindingFill : Qt::OddEvenFill);
    size_t at = 0;
    for (uint32_t n : counts) {
      if (n >= 2) {  // a single point draws nothing
        path.moveTo(pts[at].x, pts[at].y);
        for (uint32_t i = 1; i < n; ++i) path.lineTo(pts[at + i].x, pts[at + i].y);
        if (closed) path.closeSubpath();
      }
      at += n;
    }
    p_.setPen(Pen(dc));
    p_.setBrush(closed && dc.brush.visible ? QBrush(FromColorRef(dc.brush.color)) : QBrush(Qt::NoBrush));
    p_.drawPath(path);
  }

  void Text(const EmfState& dc, LPoint ref, const std::u16string& text, const std::vector<int32_t>& dx) override {
    Begin(dc);
    p_.resetTransform();  // text is placed in picture pixels: it stays upright whatever the mapping
    const double sx = dc.scaleX * scale_, sy = dc.scaleY * scale_;
    const LogFont& lf = dc.font;
    double em = lf.height < 0 ? -double(lf.height) : lf.height * 0.8;  // a positive height holds the leading
    if (lf.height == 0) em = 12 / std::abs(sy);
    const double px = em * std::abs(sy);
    if (!(px >= 0.5) || px > 4000) return;  // too small to see, or absurd
    TFont name;
    name.Name = FromQString(QString::fromStdU16String(lf.face));
    QFont font = ToQFont(name);
    font.setPointSizeF(px * 72.0 / 96.0);
    font.setWeight(QFont::Weight(std::clamp(lf.weight, 1, 1000)));
    font.setItalic(lf.italic);
    font.setUnderline(lf.underline);
    font.setStrikeOut(lf.strikeOut);
    font.setHintingPreference(QFont::PreferNoHinting);
    p_.setFont(font);
    p_.setPen(FromColorRef(dc.textColor));
    const QFontMetricsF fm(font);
    const double angle = lf.escapement / 10.0 * M_PI / 180.0;
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
    double cum = start;
    for (size_t i = 0; i < text.size(); ++i) {
      size_t n = 1;  // a surrogate pair stands as one character
      if (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
        n = 2;
      const QString ch = QString::fromStdU16String(text.substr(i, n));
      p_.save();
      p_.translate(origin + along * cum);
      p_.rotate(-lf.escapement / 10.0);
      p_.drawText(QPointF(0, drop), ch);
      p_.restore();
      for (size_t k = 0; k < n; ++k) cum += dx[i + k];
      i += n - 1;
    }
  }

  void Picture(const EmfState& dc, const LRect& dest, int width, int height,
               const std::vector<uint32_t>& rgb) override {
    Begin(dc);
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < width; ++x) line[x] = 0xFF000000u | rgb[size_t(y) * size_t(width) + size_t(x)];
    }
    p_.drawImage(QRectF(dest.left, dest.top, double(dest.right) - dest.left, double(dest.bottom) - dest.top), image);
  }

 private:
  // The file's mapping and clip on the painter.
  void Begin(const EmfState& dc) {
    p_.resetTransform();
    if (dc.clipped) {
      p_.setClipRect(QRectF(QPointF(dc.clip[0], dc.clip[1]) * scale_ - origin_,
                            QPointF(dc.clip[2], dc.clip[3]) * scale_ - origin_));
    } else {
      p_.setClipping(false);
    }
    p_.setTransform(QTransform(dc.scaleX * scale_, 0, 0, dc.scaleY * scale_, dc.offsetX * scale_ - origin_.x(),
                               dc.offsetY * scale_ - origin_.y()));
  }

  QPen Pen(const EmfState& dc) const {
    const EmfPen& e = dc.pen;
    if (!e.visible) return QPen(Qt::NoPen);
    QPen pen(FromColorRef(e.color));
    static const Qt::PenStyle kDashes[5] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                            Qt::DashDotDotLine};
    pen.setStyle(kDashes[std::min<uint32_t>(e.style & 0xF, 4)]);
    const double unit = std::sqrt(std::abs(dc.scaleX * dc.scaleY)) * scale_;
    const double w = std::abs(double(e.width)) * unit;
    // Thinner than a pixel of the picture: still a pixel, so that a
    // reduced picture keeps its lines.
    if (w < 1) {
      pen.setCosmetic(true);
      pen.setWidthF(1);
    } else {
      pen.setWidthF(std::abs(double(e.width)));
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

  QPainter& p_;
  double scale_;
  QPointF origin_;
};

}  // namespace

std::unique_ptr<TBitmap> DrawEmf(const uint8_t* data, size_t size, int maxWidth, int maxHeight, EmfVerdict* verdict) {
  EmfVerdict unused;
  if (verdict == nullptr) verdict = &unused;
  EmfFrame frame;
  *verdict = ReadEmf(data, size, nullptr, &frame);
  if (*verdict != EmfVerdict::Picture || maxWidth < 1 || maxHeight < 1) return nullptr;
  FpShield shield;
  const double scale = std::min(maxWidth / frame.width, maxHeight / frame.height);
  const int w = std::clamp(int(std::lround(frame.width * scale)), 1, maxWidth);
  const int h = std::clamp(int(std::lround(frame.height * scale)), 1, maxHeight);
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    PainterSink sink(p, scale, QPointF(frame.left, frame.top) * scale);
    *verdict = ReadEmf(data, size, &sink, &frame);
  }
  if (*verdict != EmfVerdict::Picture) return nullptr;
  return BitmapFromImage(image);
}

}  // namespace tk::emf
