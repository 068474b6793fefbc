#pragma once
// Toolkit-internal bridge between the controls and their Qt widgets, on top
// of the graphics bridge (QtGraphics.h).  Only files of toolkit/ include this
// header; nothing above the toolkit sees Qt.
//
// What the other parts of the toolkit use from here:
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
#include <QWidget>

#include "toolkit/controls/Controls.h"
#include "toolkit/pictures/QtGraphics.h"

class QMouseEvent;

namespace tk {

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
// screen (toolkit/controls/Forms.cpp).
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
