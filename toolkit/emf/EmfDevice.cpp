#include "toolkit/emf/EmfDevice.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>
#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

#include "toolkit/emf/EmfRecords.h"

namespace tk::emf {

namespace {

int32_t ToLogical(double deviceCoord) { return static_cast<int32_t>(std::lround(deviceCoord * kSub)); }
LPoint ToLogical(const QPointF& p) { return {ToLogical(p.x()), ToLogical(p.y())}; }

std::vector<LPoint> ToLogical(const QPolygonF& poly) {
  std::vector<LPoint> out;
  out.reserve(poly.size());
  for (const QPointF& p : poly) {
    const LPoint q = ToLogical(p);
    if (!out.empty() && out.back().x == q.x && out.back().y == q.y) continue;
    out.push_back(q);
  }
  return out;
}

LRect DeviceBounds(const QRectF& r) {
  return {static_cast<int32_t>(std::floor(r.left())), static_cast<int32_t>(std::floor(r.top())),
          static_cast<int32_t>(std::ceil(r.right())), static_cast<int32_t>(std::ceil(r.bottom()))};
}

QColor ColorAt(const QGradientStops& stops, double t) {
  if (stops.isEmpty()) return Qt::black;
  t = std::clamp(t, 0.0, 1.0);
  if (t <= stops.front().first) return stops.front().second;
  for (int i = 1; i < stops.size(); ++i) {
    if (t <= stops[i].first) {
      const double span = stops[i].first - stops[i - 1].first;
      const double u = span > 0 ? (t - stops[i - 1].first) / span : 1.0;
      const QColor a = stops[i - 1].second, b = stops[i].second;
      return QColor::fromRgbF(
          float(a.redF() + (b.redF() - a.redF()) * u), float(a.greenF() + (b.greenF() - a.greenF()) * u),
          float(a.blueF() + (b.blueF() - a.blueF()) * u), float(a.alphaF() + (b.alphaF() - a.alphaF()) * u));
    }
  }
  return stops.back().second;
}

// The face named in the file: the metric twins installed here stand for the
// faces a reader of the file is sure to have.
QString FileFace(const QString& family) {
  const QString f = family.toLower();
  if (f == "liberation sans" || f == "dejavu sans" || f == "arimo") return QStringLiteral("Arial");
  if (f == "liberation serif" || f == "tinos") return QStringLiteral("Times New Roman");
  if (f == "liberation mono" || f == "cousine") return QStringLiteral("Courier New");
  return family;
}

}  // namespace

// Turns painter calls into records.  The painter's state is read from the
// painter itself at each drawing call, so the order in which the painter
// hands over state changes does not matter.
class EmfEngine : public QPaintEngine {
 public:
  EmfEngine(int width, int height) : QPaintEngine(QPaintEngine::AllFeatures), rec_(width, height) {}

  bool begin(QPaintDevice*) override {
    if (!started_) {
      rec_.SetMapping();
      rec_.SetBkModeTransparent();
      rec_.SetTextAlignBaseline();
      started_ = true;
    }
    return true;
  }

  bool end() override {
    SetClip(false, LRect{});
    ReleaseObjects();
    return true;
  }

  void updateState(const QPaintEngineState&) override {}
  Type type() const override { return QPaintEngine::User; }

  void drawPath(const QPainterPath& path) override {
    const QTransform x = painter()->combinedTransform();
    const QList<QPolygonF> polys = path.toSubpathPolygons(x);
    FillAndStroke(polys, path.fillRule() == Qt::WindingFill, path.boundingRect());
  }

  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    if (count < 2) return;
    const QTransform x = painter()->combinedTransform();
    QPolygonF poly;
    for (int i = 0; i < count; ++i) poly << points[i];
    const QRectF logicalBounds = poly.boundingRect();
    poly = x.map(poly);
    if (mode == PolylineMode) {
      Stroke({poly});
      return;
    }
    if (poly.first() != poly.last()) poly << poly.first();
    FillAndStroke({poly}, mode == WindingMode, logicalBounds);
  }

  void drawRects(const QRectF* rects, int count) override {
    const QTransform x = painter()->combinedTransform();
    for (int i = 0; i < count; ++i) {
      QPolygonF poly(rects[i]);  // closed: five points
      FillAndStroke({x.map(poly)}, false, rects[i]);
    }
  }

  void drawLines(const QLineF* lines, int count) override {
    const QTransform x = painter()->combinedTransform();
    QList<QPolygonF> polys;
    for (int i = 0; i < count; ++i) polys << QPolygonF({x.map(lines[i].p1()), x.map(lines[i].p2())});
    Stroke(polys);
  }

  void drawEllipse(const QRectF& r) override {
    QPainterPath path;
    path.addEllipse(r);
    drawPath(path);
  }

  void drawPixmap(const QRectF& r, const QPixmap& pm, const QRectF& sr) override {
    drawImage(r, pm.toImage(), sr, Qt::AutoColor);
  }

  void drawImage(const QRectF& r, const QImage& image, const QRectF& sr, Qt::ImageConversionFlags) override {
    if (image.isNull() || r.isEmpty()) return;
    SyncClip();
    const QImage src = image.copy(sr.toAlignedRect()).convertToFormat(QImage::Format_ARGB32);
    if (src.isNull()) return;
    std::vector<uint32_t> rgb(size_t(src.width()) * size_t(src.height()));
    const double opacity = painter()->opacity();
    for (int y = 0; y < src.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
      for (int x = 0; x < src.width(); ++x) {
        // No alpha in the file: blend over white.
        const double a = qAlpha(line[x]) / 255.0 * opacity;
        auto mix = [a](int c) { return static_cast<uint32_t>(std::lround(c * a + 255 * (1 - a))); };
        rgb[size_t(y) * size_t(src.width()) + size_t(x)] =
            (mix(qRed(line[x])) << 16) | (mix(qGreen(line[x])) << 8) | mix(qBlue(line[x]));
      }
    }
    const QRectF d = painter()->combinedTransform().mapRect(r);
    rec_.StretchDib(LRect{ToLogical(d.left()), ToLogical(d.top()), ToLogical(d.right()) - 1, ToLogical(d.bottom()) - 1},
                    src.width(), src.height(), rgb);
  }

  void drawTextItem(const QPointF& p, const QTextItem& ti) override {
    const QString s = ti.text();
    if (s.isEmpty()) return;
    uint32_t color;
    if (!Resolve(painter()->pen().color(), color)) return;
    SyncClip();
    const QFont font = ti.font();
    const QTransform x = painter()->combinedTransform();
    const double scale = std::hypot(x.m11(), x.m12());
    const double angle = std::atan2(x.m12(), x.m11()) * 180.0 / M_PI;
    const double px = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;

    LogFont lf;
    lf.height = -std::max(1, static_cast<int>(std::lround(px * scale * kSub)));
    lf.escapement = static_cast<int32_t>(std::lround(-angle * 10.0));
    if (lf.escapement < 0) lf.escapement += 3600;
    lf.weight = font.weight();
    lf.italic = font.italic();
    lf.underline = font.underline();
    lf.strikeOut = font.strikeOut();
    lf.face = FileFace(font.family()).toStdU16String();
    UseFont(lf);
    UseTextColor(color);

    // Advances of the characters, scaled so that the run has the width the
    // layout gave it.
    const QFontMetricsF fm(font, painter()->device());
    const double natural = fm.horizontalAdvance(s);
    const double stretch = natural > 0 && ti.width() > 0 ? ti.width() / natural : 1.0;
    std::vector<int32_t> dx(size_t(s.size()));
    int32_t prev = 0;
    for (int i = 0; i < s.size(); ++i) {
      const double cum = fm.horizontalAdvance(s.left(i + 1)) * stretch;
      const auto at = static_cast<int32_t>(std::lround(cum * scale * kSub));
      dx[size_t(i)] = at - prev;
      prev = at;
    }
    const QRectF box(p.x(), p.y() - fm.ascent(), std::max(natural * stretch, 1.0), fm.ascent() + fm.descent());
    rec_.ExtTextOut(ToLogical(x.map(p)), s.toStdU16String(), dx, DeviceBounds(x.mapRect(box)));
  }

  std::vector<uint8_t> Bytes() const { return rec_.Finish(); }

 private:
  // A colour with the painter's opacity, blended over white (the file has no
  // transparency); false when nothing would show.
  bool Resolve(const QColor& c, uint32_t& colorref) const {
    const double a = c.alphaF() * painter()->opacity();
    if (a <= 1.0 / 255.0) return false;
    auto mix = [a](int v) { return static_cast<uint32_t>(std::lround(v * a + 255 * (1 - a))); };
    colorref = mix(c.red()) | (mix(c.green()) << 8) | (mix(c.blue()) << 16);
    return true;
  }

  // The painter's clip as a rectangle in logical units.
  void SyncClip() {
    QPainter* p = painter();
    if (!p->hasClipping()) {
      SetClip(false, LRect{});
      return;
    }
    const QRectF r = p->combinedTransform().mapRect(p->clipBoundingRect());
    SetClip(
        true,
        LRect{static_cast<int32_t>(std::floor(r.left() * kSub)), static_cast<int32_t>(std::floor(r.top() * kSub)),
              static_cast<int32_t>(std::ceil(r.right() * kSub)), static_cast<int32_t>(std::ceil(r.bottom() * kSub))});
  }

  void SetClip(bool on, const LRect& r) {
    if (on == clipOn_ &&
        (!on || (r.left == clip_.left && r.top == clip_.top && r.right == clip_.right && r.bottom == clip_.bottom)))
      return;
    // Saving and restoring the device context also restores the selected
    // objects: let go of ours first.
    ReleaseObjects();
    if (clipOn_) rec_.RestoreDC();
    if (on) {
      rec_.SaveDC();
      rec_.IntersectClipRect(r);
    }
    clipOn_ = on;
    clip_ = r;
    textColor_ = ~0u;
    winding_ = -1;
  }

  void ReleaseObjects() {
    if (pen_) {
      rec_.SelectObject(kNullPen);
      rec_.DeleteObject(pen_);
      pen_ = 0;
    }
    if (brush_) {
      rec_.SelectObject(kNullBrush);
      rec_.DeleteObject(brush_);
      brush_ = 0;
    }
    if (font_) {
      rec_.SelectObject(kSystemFont);
      rec_.DeleteObject(font_);
      font_ = 0;
    }
    penKey_ = {};
    brushKey_ = ~0u;
    fontKey_.reset();
  }

  struct PenKey {
    uint32_t style = ~0u;
    int32_t width = -1;
    uint32_t color = 0;
    bool operator==(const PenKey& o) const { return style == o.style && width == o.width && color == o.color; }
  };

  // The device width of the painter's pen (at least a pixel); false when
  // the pen draws nothing.
  bool PenWidth(double& w, uint32_t& color) const {
    const QPen pen = painter()->pen();
    if (pen.style() == Qt::NoPen || pen.brush().style() == Qt::NoBrush || !Resolve(pen.color(), color)) return false;
    w = pen.widthF();
    if (!pen.isCosmetic() && w > 0) w *= std::sqrt(std::abs(painter()->combinedTransform().determinant()));
    w = std::max(w, 1.0);
    return true;
  }

  // Selects a solid pen of the painter's colour and width.  Patterned lines
  // are cut into their dashes by Stroke and drawn with flat ends: readers
  // differ too much in how they draw the file's own line patterns.
  bool UsePen(bool flatEnds) {
    double w;
    PenKey key;
    if (!PenWidth(w, key.color)) return false;
    key.width = std::max(1, static_cast<int>(std::lround(w * kSub)));
    key.style = flatEnds ? (PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER) : PS_SOLID;
    if (pen_ && key == penKey_) return true;
    const uint32_t h =
        flatEnds ? rec_.ExtCreatePen(key.style, key.width, key.color) : rec_.CreatePen(PS_SOLID, key.width, key.color);
    rec_.SelectObject(h);
    if (pen_) rec_.DeleteObject(pen_);
    pen_ = h;
    penKey_ = key;
    return true;
  }

  // The dashes of a patterned line, in device coordinates.
  static QList<QPolygonF> Dashes(const QList<QPolygonF>& polys, const QList<qreal>& pattern, double unit,
                                 double offset) {
    QList<QPolygonF> out;
    double period = 0;
    for (qreal v : pattern) period += v * unit;
    if (pattern.size() < 2 || period <= 0.01) return polys;
    for (const QPolygonF& poly : polys) {
      int i = 0;
      double left = pattern[0] * unit;
      // Start the pattern at its offset.
      for (double skip = std::fmod(offset * unit, period); skip > 0;) {
        const double d = std::min(skip, left);
        skip -= d;
        left -= d;
        if (left <= 1e-9) {
          i = (i + 1) % pattern.size();
          left = pattern[i] * unit;
        }
      }
      QPolygonF cur;
      for (int k = 1; k < poly.size(); ++k) {
        const QPointF a = poly[k - 1], b = poly[k];
        const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
        double t = 0;
        while (len - t > 1e-9) {
          const double d = std::min(left, len - t);
          if (i % 2 == 0) {
            if (cur.isEmpty()) cur << a + (b - a) * (t / len);
            cur << a + (b - a) * ((t + d) / len);
          }
          t += d;
          left -= d;
          if (left <= 1e-9) {
            if (!cur.isEmpty()) out << cur;
            cur.clear();
            i = (i + 1) % pattern.size();
            left = pattern[i] * unit;
          }
          if (out.size() > 200000) return polys;  // absurdly fine pattern: drawn solid
        }
      }
      if (!cur.isEmpty()) out << cur;
    }
    return out;
  }

  void NoPen() {
    if (!pen_ && penKey_.style == PS_NULL) return;
    rec_.SelectObject(kNullPen);
    if (pen_) rec_.DeleteObject(pen_);
    pen_ = 0;
    penKey_ = PenKey{PS_NULL, 0, 0};
  }

  void UseBrush(uint32_t color) {
    if (brush_ && brushKey_ == color) return;
    const uint32_t h = rec_.CreateSolidBrush(color);
    rec_.SelectObject(h);
    if (brush_) rec_.DeleteObject(brush_);
    brush_ = h;
    brushKey_ = color;
  }

  void UseFont(const LogFont& lf) {
    if (font_ && fontKey_ && fontKey_->height == lf.height && fontKey_->escapement == lf.escapement &&
        fontKey_->weight == lf.weight && fontKey_->italic == lf.italic && fontKey_->underline == lf.underline &&
        fontKey_->strikeOut == lf.strikeOut && fontKey_->face == lf.face)
      return;
    const uint32_t h = rec_.CreateFont(lf);
    rec_.SelectObject(h);
    if (font_) rec_.DeleteObject(font_);
    font_ = h;
    fontKey_ = lf;
  }

  void UseTextColor(uint32_t color) {
    if (textColor_ == color) return;
    rec_.SetTextColor(color);
    textColor_ = color;
  }

  void UseFillMode(bool winding) {
    if (winding_ == int(winding)) return;
    rec_.SetPolyFillMode(winding);
    winding_ = int(winding);
  }

  void Stroke(const QList<QPolygonF>& polys) {
    SyncClip();
    const QPen pen = painter()->pen();
    const bool patterned = pen.style() != Qt::SolidLine && pen.style() != Qt::NoPen;
    if (!UsePen(patterned)) return;
    QList<QPolygonF> lines = polys;
    if (patterned) {
      double w;
      uint32_t color;
      PenWidth(w, color);
      lines = Dashes(polys, pen.dashPattern(), w, pen.dashOffset());
    }
    std::vector<std::vector<LPoint>> pts;
    for (const QPolygonF& poly : lines) {
      pts.push_back(ToLogical(poly));
      if (pts.back().size() == 1) pts.back().push_back(pts.back().front());  // a dot still shows
    }
    rec_.PolyPolyline(pts);
  }

  // Fills the device-space polygons with the painter's brush and strokes
  // them with its pen.  logicalBounds places object-relative gradients.
  void FillAndStroke(const QList<QPolygonF>& polys, bool winding, const QRectF& logicalBounds) {
    if (polys.isEmpty()) return;
    SyncClip();
    const QBrush brush = painter()->brush();
    if (brush.style() == Qt::LinearGradientPattern && brush.gradient()) {
      FillLinearGradient(polys, winding, *static_cast<const QLinearGradient*>(brush.gradient()), logicalBounds);
    } else if (brush.style() != Qt::NoBrush) {
      QColor c = brush.color();
      if (brush.gradient() && !brush.gradient()->stops().isEmpty()) c = brush.gradient()->stops().front().second;
      uint32_t color;
      if (Resolve(c, color)) FillSolid(polys, winding, color);
    }
    Stroke(polys);
  }

  void FillSolid(const QList<QPolygonF>& polys, bool winding, uint32_t color) {
    std::vector<std::vector<LPoint>> pts;
    for (const QPolygonF& poly : polys) pts.push_back(ToLogical(poly));
    NoPen();
    UseBrush(color);
    UseFillMode(winding);
    rec_.PolyPolygon(pts);
  }

  // A linear gradient as bands of solid colour about two pixels wide, each
  // reaching a pixel into the next so that no seam shows.
  void FillLinearGradient(const QList<QPolygonF>& polys, bool winding, const QLinearGradient& g,
                          const QRectF& logicalBounds) {
    const QTransform x = painter()->combinedTransform();
    QPointF a = g.start(), b = g.finalStop();
    if (g.coordinateMode() == QGradient::ObjectBoundingMode || g.coordinateMode() == QGradient::ObjectMode) {
      const QRectF& r = logicalBounds;
      a = QPointF(r.left() + a.x() * r.width(), r.top() + a.y() * r.height());
      b = QPointF(r.left() + b.x() * r.width(), r.top() + b.y() * r.height());
    }
    a = x.map(a);
    b = x.map(b);
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    uint32_t color;
    if (len < 1e-6) {
      if (Resolve(ColorAt(g.stops(), 0), color)) FillSolid(polys, winding, color);
      return;
    }
    const QPointF u = d / len, n(-u.y(), u.x());
    QPainterPath shape;
    shape.setFillRule(winding ? Qt::WindingFill : Qt::OddEvenFill);
    for (const QPolygonF& poly : polys) shape.addPolygon(poly);
    shape.closeSubpath();
    const QRectF box = shape.boundingRect();
    double t0 = 1e300, t1 = -1e300;
    for (const QPointF& c : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
      const double t = QPointF::dotProduct(c - a, u);
      t0 = std::min(t0, t);
      t1 = std::max(t1, t);
    }
    const double reach = std::hypot(box.width(), box.height()) + 2;
    const int bands = std::clamp(static_cast<int>(std::ceil((t1 - t0) / 2.0)), 1, 160);
    const double step = (t1 - t0) / bands;
    for (int k = 0; k < bands; ++k) {
      const double s0 = t0 + k * step, s1 = (k + 1 == bands) ? t1 : s0 + step + 1.0;
      QPolygonF strip;
      strip << a + u * s0 - n * reach << a + u * s1 - n * reach << a + u * s1 + n * reach << a + u * s0 + n * reach;
      QPainterPath band;
      band.addPolygon(strip);
      band.closeSubpath();
      const QList<QPolygonF> part = shape.intersected(band).toFillPolygons();
      if (part.isEmpty()) continue;
      if (Resolve(ColorAt(g.stops(), (s0 + step / 2) / len), color)) FillSolid(part, true, color);
    }
  }

  EmfRecords rec_;
  bool started_ = false;
  bool clipOn_ = false;
  LRect clip_;
  uint32_t pen_ = 0, brush_ = 0, font_ = 0;  // our selected objects, 0 = a stock object
  PenKey penKey_;
  uint32_t brushKey_ = ~0u;
  std::optional<LogFont> fontKey_;
  uint32_t textColor_ = ~0u;
  int winding_ = -1;
};

EmfDevice::EmfDevice(int width, int height)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), engine_(std::make_unique<EmfEngine>(width_, height_)) {}

EmfDevice::~EmfDevice() = default;

QPaintEngine* EmfDevice::paintEngine() const { return engine_.get(); }

std::vector<uint8_t> EmfDevice::Bytes() const { return engine_->Bytes(); }

int EmfDevice::metric(PaintDeviceMetric m) const {
  switch (m) {
    case PdmWidth: return width_;
    case PdmHeight: return height_;
    case PdmWidthMM: return static_cast<int>(std::lround(width_ * 25.4 / 96.0));
    case PdmHeightMM: return static_cast<int>(std::lround(height_ * 25.4 / 96.0));
    case PdmNumColors: return INT_MAX;
    case PdmDepth: return 24;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return 96;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    default: return QPaintDevice::metric(m);
  }
}

}  // namespace tk::emf
