// Colours, fonts, canvases, bitmaps and recorded pictures on QPainter.
//
// The drawing rules are those of the platform's GDI, because the programs
// place pixels by them: rectangles and ellipses exclude their right and bottom
// edge, a line excludes its end pixel, a one-pixel pen is exactly one pixel
// wide, and no shape is antialiased.
//
// Text is the exception: it is drawn with grayscale antialiasing.  Monochrome
// glyphs of the installed faces at 11-13 px are unreadable: with the light
// hinting of the desktop's font settings the glyphs stand at their designed,
// fractional advances while the monochrome rasteriser widens each of them to
// whole pixels (a bold "w" of 8.5 px advance is 10 px wide), so it covers the
// blank after it ("przewodów w" reads "przewodóww"), and bold stems snap to
// one pixel, so bold looks regular.
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "toolkit/core/FpCheck.h"
#include "toolkit/pictures/QtGraphics.h"
#include "toolkit/pictures/Windowing.h"

namespace tk {

// ---------------------------------------------------------------------------
// Colours

TColor ColorToRGB(TColor color) {
  if ((color & 0xFF000000u) != 0x80000000u) return color & 0x00FFFFFFu;
  switch (color & 0xFF) {
    case 0x00: return RGBColor(200, 200, 200);  // scroll bar
    case 0x01: return RGBColor(0, 0, 0);        // desktop
    case 0x02: return RGBColor(10, 36, 106);    // active caption (selected cells: white on it reads 14:1)
    case 0x03: return RGBColor(191, 205, 219);  // inactive caption
    case 0x04: return RGBColor(240, 240, 240);  // menu
    case 0x05: return RGBColor(255, 255, 255);  // window
    case 0x06: return RGBColor(100, 100, 100);  // window frame
    case 0x07: return RGBColor(0, 0, 0);        // menu text
    case 0x08: return RGBColor(0, 0, 0);        // window text
    case 0x09: return RGBColor(0, 0, 0);        // caption text
    case 0x0A: return RGBColor(180, 180, 180);  // active border
    case 0x0B: return RGBColor(244, 247, 252);  // inactive border
    case 0x0C: return RGBColor(171, 171, 171);  // application workspace
    case 0x0D: return RGBColor(0, 102, 204);    // highlight (highlight text on it: 5.6:1)
    case 0x0E: return RGBColor(255, 255, 255);  // highlight text
    case 0x0F: return RGBColor(240, 240, 240);  // button face
    case 0x10: return RGBColor(160, 160, 160);  // button shadow
    case 0x11: return RGBColor(109, 109, 109);  // grey text
    case 0x12: return RGBColor(0, 0, 0);        // button text
    case 0x13: return RGBColor(0, 0, 0);        // inactive caption text
    case 0x14: return RGBColor(255, 255, 255);  // button highlight
    case 0x15: return RGBColor(105, 105, 105);  // 3-D dark shadow
    case 0x16: return RGBColor(227, 227, 227);  // 3-D light
    case 0x17: return RGBColor(0, 0, 0);        // info text
    case 0x18: return RGBColor(255, 255, 225);  // info background
    default: return RGBColor(240, 240, 240);
  }
}

QColor ToQColor(TColor color) {
  const TColor c = ColorToRGB(color);
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color) { return RGBColor(color.red(), color.green(), color.blue()); }
TColor FromQRgb(QRgb rgb) { return RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb)); }

QString ToQString(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
std::string FromQString(const QString& text) { return text.toUtf8().toStdString(); }

// ---------------------------------------------------------------------------
// Fonts

namespace {

// MulDiv of the platform: a * b / c rounded half away from zero.
int MulDiv(int a, int b, int c) {
  const long long p = static_cast<long long>(a) * b;
  const long long q = (std::llabs(p) * 2 + std::llabs(c)) / (2 * std::llabs(static_cast<long long>(c)));
  return static_cast<int>(((p < 0) != (c < 0)) ? -q : q);
}

bool FamilyInstalled(const QString& family) { return QFontDatabase::families().contains(family, Qt::CaseInsensitive); }

// The installed face that stands in for a face of the original platform.
QString MapFamily(const std::string& name) {
  static const QString sans = [] {
    if (FamilyInstalled("Liberation Sans")) return QStringLiteral("Liberation Sans");
    return QStringLiteral("DejaVu Sans");
  }();
  const QString n = ToQString(name).trimmed();
  const QString lower = n.toLower();
  if (lower.isEmpty() || lower == "ms sans serif" || lower == "arial" || lower == "tahoma" ||
      lower == "microsoft sans serif" || lower == "segoe ui" || lower == "system" || lower == "default")
    return sans;
  if (lower == "times new roman" || lower == "ms serif") return QStringLiteral("Liberation Serif");
  if (lower == "courier new" || lower == "courier") return QStringLiteral("Liberation Mono");
  return n;
}

}  // namespace

int TFont::Size() const { return -MulDiv(Height, 72, 96); }
void TFont::SetSize(int points) { Height = -MulDiv(points, 96, 72); }

QFont ToQFont(const TFont& font, bool aliased) {
  EnsureWindowing();  // fonts need the GUI application
  QFont f(MapFamily(font.Name));
  int px;
  if (font.Height < 0) px = -font.Height;
  else if (font.Height > 0) px = std::max(1, font.Height * 4 / 5);  // cell height: leave the internal leading out
  else px = 11;
  f.setPixelSize(std::max(1, px));
  f.setBold((font.Style & fsBold) != 0);
  f.setItalic((font.Style & fsItalic) != 0);
  f.setUnderline((font.Style & fsUnderline) != 0);
  f.setStrikeOut((font.Style & fsStrikeOut) != 0);
  if (font.Pitch == fpFixed) {
    f.setFixedPitch(true);
    f.setStyleHint(QFont::Monospace);
  }
  f.setKerning(false);
  if (aliased) f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
  return f;
}

namespace {

// The font of canvas text: grayscale antialiasing (never coloured subpixel
// fringes, whatever the desktop's settings), vertical hinting only, so that
// glyphs keep their designed shapes and advances and the same text measures
// and looks the same on every machine.
QFont CanvasFont(const TFont& font) {
  QFont f = ToQFont(font, false);
  f.setStyleStrategy(QFont::NoSubpixelAntialias);
  f.setHintingPreference(QFont::PreferVerticalHinting);
  return f;
}

}  // namespace

// ---------------------------------------------------------------------------
// Canvas targets

namespace {

void SetupPainter(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

// A painter opened and owned by someone else.
class ExternalTarget : public CanvasTarget {
 public:
  ExternalTarget(QPainter* painter, int w, int h) : painter_(painter), w_(w), h_(h) {}
  QPainter* Painter() override { return painter_; }
  int Width() const override { return w_; }
  int Height() const override { return h_; }

 private:
  QPainter* painter_;
  int w_, h_;
};

// A recording: the painter is open on the picture for the target's lifetime.
class RecordingTarget : public CanvasTarget {
 public:
  RecordingTarget(int w, int h) : w_(w), h_(h) {
    picture_.setBoundingRect(QRect(0, 0, w, h));
    painter_.begin(&picture_);
    SetupPainter(painter_);
  }
  ~RecordingTarget() override {
    if (painter_.isActive()) painter_.end();
  }
  QPainter* Painter() override { return &painter_; }
  int Width() const override { return w_; }
  int Height() const override { return h_; }
  // Ends the recording and hands it over.
  QPicture Finish() {
    if (painter_.isActive()) painter_.end();
    picture_.setBoundingRect(QRect(0, 0, w_, h_));
    return picture_;
  }

 private:
  int w_, h_;
  QPicture picture_;
  QPainter painter_;
};

}  // namespace

// The bitmap's own canvas: the painter is opened on demand and finished
// before the pixels are read or written directly.
class BitmapTarget : public CanvasTarget {
 public:
  explicit BitmapTarget(TBitmap::Impl* impl) : impl_(impl) {}
  ~BitmapTarget() override {
    End();
    if (impl_->target == this) impl_->target = nullptr;
  }
  QPainter* Painter() override {
    if (!painter_.isActive()) {
      if (impl_->image.isNull()) return nullptr;
      painter_.begin(&impl_->image);
      SetupPainter(painter_);
    }
    return &painter_;
  }
  QImage* Image() override {
    End();
    return &impl_->image;
  }
  int Width() const override { return impl_->image.width(); }
  int Height() const override { return impl_->image.height(); }
  void End() {
    if (painter_.isActive()) painter_.end();
  }

 private:
  TBitmap::Impl* impl_;
  QPainter painter_;
};

void TBitmap::Impl::Flush() const {
  if (target != nullptr) target->End();
}

std::unique_ptr<TCanvas> NewPainterCanvas(QPainter* painter, int width, int height) {
  SetupPainter(*painter);
  return std::make_unique<TCanvas>(std::make_unique<ExternalTarget>(painter, width, height));
}

// ---------------------------------------------------------------------------
// TCanvas

namespace {

QPen ToQPen(const TPen& pen) {
  if (pen.Style == psClear) return QPen(Qt::NoPen);
  QPen p(ToQColor(pen.Color));
  if (pen.Width <= 1) {
    p.setWidth(1);
    p.setCosmetic(true);
  } else {
    p.setWidth(pen.Width);
    p.setCapStyle(Qt::RoundCap);
    p.setJoinStyle(Qt::RoundJoin);
  }
  switch (pen.Style) {
    case psDash: p.setStyle(Qt::DashLine); break;
    case psDot: p.setStyle(Qt::DotLine); break;
    case psDashDot: p.setStyle(Qt::DashDotLine); break;
    case psDashDotDot: p.setStyle(Qt::DashDotDotLine); break;
    default: p.setStyle(Qt::SolidLine); break;
  }
  return p;
}

QRect Normalised(int l, int t, int r, int b) {
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  return QRect(l, t, r - l, b - t);  // right and bottom exclusive
}

// One line of word-wrapped text: its characters and width.
struct TextLine {
  QString text;
  int width;
};

// Breaks text into lines as the platform's word-break drawing does: at
// blanks, never inside a word, and at explicit line ends.
std::vector<TextLine> WrapText(const QString& text, const QFontMetrics& fm, int width, bool wrap) {
  std::vector<TextLine> lines;
  QString t = text;
  t.replace("\r\n", "\n");
  t.replace('\r', '\n');
  const QStringList paragraphs = t.split('\n');
  for (const QString& para : paragraphs) {
    if (!wrap) {
      lines.push_back({para, fm.horizontalAdvance(para)});
      continue;
    }
    int start = 0;
    const int n = static_cast<int>(para.size());
    if (n == 0) {
      lines.push_back({QString(), 0});
      continue;
    }
    while (start < n) {
      // Take words while the line fits.
      int end = start;  // end of the accepted part
      int pos = start;
      while (pos < n) {
        int wordEnd = pos;
        while (wordEnd < n && para[wordEnd] == ' ') ++wordEnd;  // blanks before the word
        while (wordEnd < n && para[wordEnd] != ' ') ++wordEnd;
        const int w = fm.horizontalAdvance(para.mid(start, wordEnd - start));
        if (w > width && end > start) break;
        end = wordEnd;
        pos = wordEnd;
        if (w > width) break;  // a single word wider than the rectangle stands alone
      }
      if (end == start) end = n;
      const QString line = para.mid(start, end - start);
      lines.push_back({line, fm.horizontalAdvance(line)});
      start = end;
      while (start < n && para[start] == ' ') ++start;  // the break swallows the blanks
    }
  }
  return lines;
}

}  // namespace

TCanvas::TCanvas(std::unique_ptr<CanvasTarget> target) : target_(std::move(target)) {}
TCanvas::~TCanvas() = default;

void TCanvas::MoveTo(int x, int y) { PenPos = {x, y}; }

void TCanvas::LineTo(int x, int y) {
  FpShield shield;  // Qt's arithmetic stays out of the program's fault flags
  const TPoint from = PenPos;
  PenPos = {x, y};
  if (Pen.Style == psClear) return;
  QPainter* p = target_->Painter();
  if (p == nullptr) return;
  const int dx = x - from.X, dy = y - from.Y;
  if (dx == 0 && dy == 0) return;
  p->setPen(ToQPen(Pen));
  if (Pen.Width <= 1) {
    // The end pixel is not drawn: stop at the last pixel before it on the
    // line's major axis.
    const int n = std::max(std::abs(dx), std::abs(dy));
    const double f = static_cast<double>(n - 1) / n;
    const int ex = from.X + static_cast<int>(std::lround(dx * f));
    const int ey = from.Y + static_cast<int>(std::lround(dy * f));
    if (ex == from.X && ey == from.Y) p->drawPoint(from.X, from.Y);
    else p->drawLine(from.X, from.Y, ex, ey);
  } else {
    p->drawLine(from.X, from.Y, x, y);
  }
  target_->Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  FpShield shield;
  QPainter* p = target_->Painter();
  if (p == nullptr) return;
  const QRect r = Normalised(left, top, right, bottom);
  if (r.width() <= 0 || r.height() <= 0) return;
  if (Brush.Style != bsClear) p->fillRect(r, ToQColor(Brush.Color));
  if (Pen.Style != psClear) {
    p->setPen(ToQPen(Pen));
    p->setBrush(Qt::NoBrush);
    if (Pen.Width <= 1) {
      // A one-pixel outline on the outermost pixels of the rectangle.
      p->drawRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
    } else {
      // A wide pen is centred on the outline, as the platform's is.
      p->drawRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1.0, r.height() - 1.0));
    }
  }
  target_->Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  FpShield shield;
  QPainter* p = target_->Painter();
  if (p == nullptr) return;
  const QRect r = Normalised(left, top, right, bottom);
  if (r.width() <= 0 || r.height() <= 0) return;
  p->setPen(ToQPen(Pen));
  p->setBrush(Brush.Style == bsClear ? QBrush(Qt::NoBrush) : QBrush(ToQColor(Brush.Color)));
  p->drawEllipse(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
  p->setBrush(Qt::NoBrush);
  target_->Changed();
}

void TCanvas::FillRect(const TRect& rect) {
  FpShield shield;
  if (Brush.Style == bsClear) return;
  QPainter* p = target_->Painter();
  if (p == nullptr) return;
  p->fillRect(Normalised(rect.Left, rect.Top, rect.Right, rect.Bottom), ToQColor(Brush.Color));
  target_->Changed();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  FpShield shield;
  const QString t = ToQString(text);
  const QFont font = CanvasFont(Font);
  const QFontMetrics fm(font);
  const int w = fm.horizontalAdvance(t);
  QPainter* p = target_->Painter();
  if (p != nullptr) {
    if (Brush.Style != bsClear) p->fillRect(QRect(x, y, w, fm.height()), ToQColor(Brush.Color));
    p->setFont(font);
    p->setPen(ToQColor(Font.Color));
    p->drawText(x, y + fm.ascent(), t);
    target_->Changed();
  }
  PenPos = {x + w, y};
}

int TCanvas::TextWidth(const std::string& text) {
  FpShield shield;
  return QFontMetrics(CanvasFont(Font)).horizontalAdvance(ToQString(text));
}

int TCanvas::TextHeight(const std::string& text) {
  FpShield shield;
  return QFontMetrics(CanvasFont(Font)).height();
}

int TCanvas::DrawText(const std::string& text, TRect& rect, unsigned flags) {
  FpShield shield;
  const QFont font = CanvasFont(Font);
  const QFontMetrics fm(font);
  const bool wrap = (flags & dtWordBreak) != 0;
  const std::vector<TextLine> lines = WrapText(ToQString(text), fm, rect.Width(), wrap);
  const int lh = fm.height();
  const int height = lh * static_cast<int>(lines.size());
  if (flags & dtCalcRect) {
    int widest = 0;
    for (const TextLine& l : lines) widest = std::max(widest, l.width);
    rect.Right = rect.Left + widest;
    rect.Bottom = rect.Top + height;
    return height;
  }
  QPainter* p = target_->Painter();
  if (p == nullptr) return height;
  p->save();
  p->setClipRect(Normalised(rect.Left, rect.Top, rect.Right, rect.Bottom));
  p->setFont(font);
  p->setPen(ToQColor(Font.Color));
  int y = rect.Top;
  for (const TextLine& l : lines) {
    int x = rect.Left;
    if (flags & dtRight) x = rect.Right - l.width;
    else if (flags & dtCenter) x = rect.Left + (rect.Width() - l.width) / 2;
    if (Brush.Style != bsClear) p->fillRect(QRect(x, y, l.width, lh), ToQColor(Brush.Color));
    p->drawText(x, y + fm.ascent(), l.text);
    y += lh;
  }
  p->restore();
  target_->Changed();
  return height;
}

void TCanvas::TextRectOpaque(const TRect& rect, int x, int y, const char* text, size_t length) {
  FpShield shield;
  QPainter* p = target_->Painter();
  if (p == nullptr) return;
  const QRect r = Normalised(rect.Left, rect.Top, rect.Right, rect.Bottom);
  const QFont font = CanvasFont(Font);
  const QFontMetrics fm(font);
  p->save();
  p->setClipRect(r);
  if (Brush.Style != bsClear) p->fillRect(r, ToQColor(Brush.Color));
  p->setFont(font);
  p->setPen(ToQColor(Font.Color));
  p->drawText(x, y + fm.ascent(), QString::fromUtf8(text, static_cast<qsizetype>(length)));
  p->restore();
  target_->Changed();
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  if (QImage* img = target_->Image()) {
    if (x < 0 || y < 0 || x >= img->width() || y >= img->height()) return;
    const TColor c = ColorToRGB(color);
    reinterpret_cast<QRgb*>(img->scanLine(y))[x] = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    target_->Changed();
    return;
  }
  if (x < 0 || y < 0 || x >= target_->Width() || y >= target_->Height()) return;
  FpShield shield;
  QPainter* p = target_->Painter();
  if (p == nullptr) return;
  QPen pen(ToQColor(color));
  pen.setWidth(1);
  pen.setCosmetic(true);
  p->setPen(pen);
  p->drawPoint(x, y);
  target_->Changed();
}

TColor TCanvas::GetPixel(int x, int y) const {
  QImage* img = target_->Image();
  if (img == nullptr || x < 0 || y < 0 || x >= img->width() || y >= img->height()) return static_cast<TColor>(-1);
  return FromQRgb(img->pixel(x, y));
}

// ---------------------------------------------------------------------------
// TBitmap

namespace {
QImage WhiteImage(int w, int h) {
  if (w <= 0 || h <= 0) return QImage();
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}
}  // namespace

TBitmap::TBitmap(int width, int height) : impl_(std::make_unique<Impl>()) { impl_->image = WhiteImage(width, height); }

TBitmap::~TBitmap() { canvas_.reset(); }

int TBitmap::Width() const { return impl_->image.width(); }
int TBitmap::Height() const { return impl_->image.height(); }

void TBitmap::SetSize(int width, int height) {
  FpShield shield;
  impl_->Flush();
  if (width == Width() && height == Height()) return;
  QImage img = WhiteImage(width, height);
  if (!img.isNull() && !impl_->image.isNull()) {
    QPainter p(&img);
    p.drawImage(0, 0, impl_->image);
  }
  impl_->image = img;
  if (impl_->onChange) impl_->onChange();
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) {
    auto target = std::make_unique<BitmapTarget>(impl_.get());
    impl_->target = target.get();
    Impl* impl = impl_.get();
    target->onChange = [impl] {
      if (impl->onChange) impl->onChange();
    };
    canvas_ = std::make_unique<TCanvas>(std::move(target));
  }
  return *canvas_;
}

TColor TBitmap::Pixel(int x, int y) const {
  impl_->Flush();
  const QImage& img = impl_->image;
  if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return static_cast<TColor>(-1);
  return FromQRgb(img.pixel(x, y));
}

bool TBitmap::SaveToPng(const std::string& path) const {
  FpShield shield;
  impl_->Flush();
  return impl_->image.save(ToQString(path), "PNG");
}

const uint32_t* TBitmap::ScanLine(int y) const {
  impl_->Flush();
  if (y < 0 || y >= impl_->image.height()) return nullptr;
  return reinterpret_cast<const uint32_t*>(impl_->image.constScanLine(y));
}

QImage& BitmapImage(const TBitmap& bitmap) {
  bitmap.impl()->Flush();
  return bitmap.impl()->image;
}

std::unique_ptr<TBitmap> BitmapFromImage(const QImage& image) {
  auto bmp = std::make_unique<TBitmap>(0, 0);
  bmp->impl()->image = image.convertToFormat(QImage::Format_RGB32);
  return bmp;
}

// ---------------------------------------------------------------------------
// TMetafile

void TMetafile::Impl::Store(const QPicture& recording, int w, int h) {
  picture = recording;
  width = w;
  height = h;
  empty = false;
  for (const QPointer<QWidget>& v : viewers)
    if (v) v->update();
}

TMetafile::TMetafile() : impl_(std::make_unique<Impl>()) {}
TMetafile::~TMetafile() = default;
int TMetafile::Width() const { return impl_->width; }
int TMetafile::Height() const { return impl_->height; }
bool TMetafile::Empty() const { return impl_->empty; }

const QPicture& MetafilePicture(const TMetafile& metafile) { return metafile.impl()->picture; }

void PlayMetafile(const TMetafile& metafile, QPainter& painter) {
  if (metafile.Empty()) return;
  painter.save();
  SetupPainter(painter);
  painter.drawPicture(0, 0, metafile.impl()->picture);
  painter.restore();
}

std::unique_ptr<TBitmap> TMetafile::Render(int width, int height) const {
  FpShield shield;
  auto bmp = std::make_unique<TBitmap>(width, height);
  QImage& img = BitmapImage(*bmp);
  if (!img.isNull()) {
    QPainter p(&img);
    PlayMetafile(*this, p);
  }
  return bmp;
}

TMetafileCanvas::TMetafileCanvas(TMetafile& metafile, int width, int height)
    : metafile_(metafile), canvas_(std::make_unique<TCanvas>(std::make_unique<RecordingTarget>(width, height))) {}

TMetafileCanvas::~TMetafileCanvas() {
  FpShield shield;
  // Runs also while an error unwinds: the recording made so far is stored.
  auto* target = static_cast<RecordingTarget*>(canvas_->Target());
  const QPicture recording = target->Finish();
  metafile_.impl()->Store(recording, target->Width(), target->Height());
}

}  // namespace tk
