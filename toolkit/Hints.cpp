#include "toolkit/Hints.h"

#include <QApplication>
#include <QPoint>
#include <QScreen>
#include <QString>
#include <QToolTip>
#include <QWidget>
#include <algorithm>

#include "toolkit/Controls.h"
#include "toolkit/core/Dispatch.h"

namespace tk {

namespace {
TShowHintEvent& Handler() {
  static TShowHintEvent handler;
  return handler;
}
THintState& State() {
  static THintState state;
  return state;
}

// Qt's tooltip window, while it shows.
QWidget* TipWindow() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->objectName() == QLatin1String("qtooltip_label") && w->isVisible()) return w;
  return nullptr;
}

// Puts the tooltip window's drawn area with its top left corner at `pos`,
// kept on the screen.  Qt places a tooltip beside the mouse pointer, below
// and right of the point it is given by the pointer's size, so it is moved
// after it shows.
void PlaceTip(const QPoint& pos, QWidget* owner) {
  QWidget* tip = TipWindow();
  if (tip == nullptr) return;
  QPoint p = pos;
  const QScreen* screen = QGuiApplication::screenAt(pos);
  if (screen == nullptr && owner != nullptr) screen = owner->screen();
  if (screen != nullptr) {
    const QRect area = screen->availableGeometry();
    p.setX(std::max(area.left(), std::min(p.x(), area.right() + 1 - tip->width())));
    p.setY(std::max(area.top(), std::min(p.y(), area.bottom() + 1 - tip->height())));
  }
  // move() places the window's frame, if the platform gives it one.
  tip->move(p - (tip->geometry().topLeft() - tip->pos()));
}
}  // namespace

void SetShowHintHandler(TShowHintEvent handler) { Handler() = std::move(handler); }
const TShowHintEvent& ShowHintHandler() { return Handler(); }
const THintState& CurrentHint() { return State(); }

bool ActivateHint(TControl* control, TPoint clientPos) {
  if (!control) return false;
  THintInfo info;
  info.HintControl = control;
  info.CursorPos = clientPos;
  TPoint below{clientPos.X, clientPos.Y + 20};
  info.HintPos = control->ClientToScreen(below);
  std::string text = control->Hint();
  bool canShow = true;
  if (Handler()) {
    // The handler may be replaced while it runs; call a copy.
    TShowHintEvent handler = Handler();
    if (!Dispatch([&] { handler(text, canShow, info); })) canShow = false;
  }
  if (!canShow || text.empty()) {
    CancelHint();
    return false;
  }
  THintState& s = State();
  s.Showing = true;
  s.Control = control;
  s.Text = text;
  s.Pos = info.HintPos;
  const QPoint pos(info.HintPos.X, info.HintPos.Y);
  QToolTip::showText(pos, QString::fromStdString(text), control->Widget());
  PlaceTip(pos, control->Widget());
  return true;
}

TRect HintWindowRect() {
  QWidget* tip = TipWindow();
  if (tip == nullptr) return TRect{};
  const QRect g = tip->geometry();
  return TRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void CancelHint() {
  THintState& s = State();
  if (s.Showing) QToolTip::hideText();
  s = THintState();
}

}  // namespace tk
