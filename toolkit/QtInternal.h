#pragma once
// Toolkit-internal bridge between the platform types and Qt.  Only files of
// toolkit/ include this header; nothing above the toolkit sees Qt.
//
// What the other parts of the toolkit use from here:
//  - NewPainterCanvas(painter, w, h): a TCanvas drawing through a QPainter that
//    someone else has opened (a widget's paintEvent, a QImage, a QPicture).
//  - BitmapImage(bitmap): the QImage behind a TBitmap (any pending painter on
//    it is finished first, so the pixels are current).
//  - MetafilePicture(metafile): the QPicture behind a TMetafile.
//  - ToQColor / ToQFont / ToQString / FromQString: value conversions.
//  - ControlOf(widget): the control a widget belongs to (walks up the parents).
//  - MouseForwarding<QWidgetClass>: a widget base that raises the control's
//    OnMouseDown, OnClick, OnMouseUp and OnDblClick as the platform orders them.
//    A widget with mouse handling of its own calls ForwardPress/ForwardRelease/
//    ForwardDoubleClick from its handlers instead, or the single EmitMouseDown/
//    EmitMouseUp/EmitClick/EmitDblClick (all of them go through the dispatch;
//    coordinates are the control's client coordinates).
//  - OnExit/OnEnter of TWinControl are raised by the toolkit's focus tracking
//    (QApplication::focusChanged): nothing to do for a TWinControl subclass,
//    as long as its focusable widgets are descendants of Widget().
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

#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"

class QMouseEvent;

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

// --- Controls ----------------------------------------------------------------
// The control whose widget is `widget` or one of its ancestors (null: none).
TControl* ControlOf(const QWidget* widget);
// The control whose widget is exactly `widget`.
TControl* ControlOfExact(const QWidget* widget);

// Mouse events of a control: x, y in the control's client coordinates.
void EmitMouseDown(TControl* control, QMouseEvent* event, int x, int y);
void EmitMouseUp(TControl* control, QMouseEvent* event, int x, int y);
void EmitClick(TControl* control);
void EmitDblClick(TControl* control);
TMouseButton ToMouseButton(QMouseEvent* event);
TShiftState ToShiftState(QMouseEvent* event);

// The widget's background colour (and autofill), as the controls set it.
void ApplyBackground(QWidget* widget, TColor color);

// Keeps a top-level window (a form, the hint window) on the free area of its
// screen (toolkit/Forms.cpp).
void FitOnScreen(QWidget* w);
// The program has given a form's client area its size: the size its layout
// was made for, which the window scrolls rather than cut when made smaller.
void ClientSized(QWidget* client);

// A widget that raises its control's mouse events as the platform does: a
// press gives OnMouseDown; a release gives OnClick (left button, released over
// the widget after a press on it) and then OnMouseUp; a double click gives
// OnDblClick and then OnMouseDown with ssDouble.  The events are accepted, so
// they do not travel on to the parent.
template <class Base>
class MouseForwarding : public Base {
 public:
  template <class... Args>
  explicit MouseForwarding(TControl* control, Args&&... args) : Base(std::forward<Args>(args)...), control_(control) {}
  TControl* control() const { return control_; }
  void detach() { control_ = nullptr; }

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  TControl* control_;
  bool pressed_ = false;
};

// Implementation detail of MouseForwarding (defined in Controls.cpp).
void ForwardPress(TControl* control, QWidget* widget, QMouseEvent* e, bool& pressed);
void ForwardRelease(TControl* control, QWidget* widget, QMouseEvent* e, bool& pressed);
void ForwardDoubleClick(TControl* control, QWidget* widget, QMouseEvent* e);

template <class Base>
void MouseForwarding<Base>::mousePressEvent(QMouseEvent* e) {
  Base::mousePressEvent(e);
  ForwardPress(control_, this, e, pressed_);
}
template <class Base>
void MouseForwarding<Base>::mouseReleaseEvent(QMouseEvent* e) {
  Base::mouseReleaseEvent(e);
  ForwardRelease(control_, this, e, pressed_);
}
template <class Base>
void MouseForwarding<Base>::mouseDoubleClickEvent(QMouseEvent* e) {
  Base::mouseDoubleClickEvent(e);
  ForwardDoubleClick(control_, this, e);
}

}  // namespace tk
