#pragma once
// Toolkit-internal bridge between the graphics types (colours, fonts,
// canvases, bitmaps, metafiles) and Qt.  Only files of toolkit/ include this
// header; nothing above the toolkit sees Qt.  It knows nothing of controls:
// the controls' part is QtControls.h.
//
// What the other parts of the toolkit use from here:
//  - NewPainterCanvas(painter, w, h): a TCanvas drawing through a QPainter that
//    someone else has opened (a widget's paintEvent, a QImage, a QPicture).
//  - BitmapImage(bitmap): the QImage behind a TBitmap (any pending painter on
//    it is finished first, so the pixels are current).
//  - MetafilePicture(metafile): the QPicture behind a TMetafile.
//  - ToQColor / ToQFont / ToQString / FromQString: value conversions.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/pictures/Graphics.h"

namespace tk {

// --- Value conversions -------------------------------------------------------
QColor ToQColor(TColor color);  // system colours resolved
TColor FromQColor(const QColor& color);
TColor FromQRgb(QRgb rgb);
// The font as Qt draws it: "MS Sans Serif" and "Arial" mapped to an installed
// sans face, Height < 0 taken as the pixel size; antialiasing off when
// `aliased`.  Widgets get it with Qt's own rendering; canvases draw their text
// antialiased in grayscale (and their shapes without antialiasing).
QFont ToQFont(const TFont& font, bool aliased = false);
QString ToQString(const std::string& utf8);
std::string FromQString(const QString& text);

// --- Canvas targets ----------------------------------------------------------
// Where a TCanvas draws.  Painter() opens the painter on demand; Image() is the
// pixel buffer for targets that have one (SetPixel/GetPixel go there directly,
// after the painter has been finished).
class CanvasTarget {
 public:
  virtual ~CanvasTarget() = default;
  virtual QPainter* Painter() = 0;
  // The writable pixel buffer (the painter finished first), or null.
  virtual QImage* Image() { return nullptr; }
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Something has been drawn: listeners repaint.
  void Changed() {
    if (onChange) onChange();
  }
  std::function<void()> onChange;
};

// A canvas on a painter that stays owned and opened by the caller (paint
// events, replays).  The canvas must not outlive the painter.
std::unique_ptr<TCanvas> NewPainterCanvas(QPainter* painter, int width, int height);

// --- Bitmaps and metafiles ---------------------------------------------------
class BitmapTarget;
struct TBitmap::Impl {
  QImage image;                    // Format_RGB32
  BitmapTarget* target = nullptr;  // the canvas's target (owned by the canvas)
  // Finishes a painter still open on the image.
  void Flush() const;
  std::function<void()> onChange;  // set by a picture area that shows the bitmap
};

struct TMetafile::Impl {
  QPicture picture;
  int width = 0, height = 0;
  bool empty = true;
  // Widgets that show this metafile; repainted when a new recording is stored.
  std::vector<QPointer<QWidget>> viewers;
  void Store(const QPicture& recording, int w, int h);
};

// The image of a bitmap, current (pending drawing finished).  Writable: the
// caller may paint on it with its own QPainter (not while drawing through the
// bitmap's canvas).
QImage& BitmapImage(const TBitmap& bitmap);
// A bitmap holding a copy of the image (converted to RGB32).
std::unique_ptr<TBitmap> BitmapFromImage(const QImage& image);
const QPicture& MetafilePicture(const TMetafile& metafile);
// Replays a recording with its top-left corner at (0, 0).
void PlayMetafile(const TMetafile& metafile, QPainter& painter);

}  // namespace tk
