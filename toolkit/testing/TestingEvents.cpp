#include "toolkit/testing/TestingEvents.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTest>

#include "toolkit/QtControls.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/testing/Testing.h"
#include "toolkit/testing/TestingQt.h"

namespace tk::testing {

using namespace detail;

void PasteText(TControl* control, const std::string& text) {
  EnsureWindowing();
  Shielded([&] { QGuiApplication::clipboard()->setText(ToQString(text)); });
  ActivateWindow(control);
  SendKey(control, Qt::Key_V, Qt::ControlModifier, QString());
}

void Drag(TControl* control, int x0, int y0, int x1, int y1) {
  QWidget* w = WidgetOf(control);
  if (w == nullptr) return;
  ActivateWindow(control);
  QPoint p0;
  QPointer<QWidget> t = TargetAt(w, x0, y0, p0);
  Shielded([&] { QTest::mousePress(t, Qt::LeftButton, Qt::NoModifier, p0); });
  if (t.isNull()) return;
  const QPoint p1 = t->mapFrom(w, QPoint(x1, y1));
  Shielded([&] {
    QMouseEvent move(QEvent::MouseMove, p1, t->mapToGlobal(p1), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(t, &move);
  });
  if (t.isNull()) return;
  Shielded([&] { QTest::mouseRelease(t, Qt::LeftButton, Qt::NoModifier, p1); });
}

void RestMouse(TControl* control, int x, int y) {
  SendAt(control, x, y, false, [](QWidget* t, const QPoint& p) {
    QHelpEvent e(QEvent::ToolTip, p, t->mapToGlobal(p));
    QApplication::sendEvent(t, &e);
  });
}

void ResizeWindow(TForm* form, int width, int height) {
  if (QWidget* w = WidgetOf(form)) Shielded([&] { w->window()->resize(width, height); });
}

void CloseWindow(TForm* form) {
  if (QWidget* w = WidgetOf(form)) Shielded([&] { w->window()->close(); });
}

namespace {

// True when the point p of w lies in the shown part of `top` (w itself or
// one of its ancestors) and no other widget covers it there.
bool ShowsWithin(QWidget* w, const QPoint& p, QWidget* top) {
  const QPoint q = w->mapTo(top, p);
  if (!top->rect().contains(q)) return false;
  // Every parent clips its children.
  for (QWidget* a = w; a != top; a = a->parentWidget())
    if (!a->rect().contains(a->mapFrom(top, q))) return false;
  QWidget* at = top->childAt(q);
  if (at == nullptr) return w == top;
  for (QWidget* a = at; a != nullptr; a = a->parentWidget())
    if (a == w) return true;
  return false;
}

// The control with every control inside it.
void Collect(TControl* c, std::vector<TControl*>& out) {
  out.push_back(c);
  if (auto* w = dynamic_cast<TWinControl*>(c))
    for (TControl* child : w->Controls()) Collect(child, out);
}

// The centre and the corners of a control, where the user tries it.
std::vector<QPoint> SamplePoints(TControl* c) {
  const int w = c->Width(), h = c->Height();
  if (w <= 0 || h <= 0) return {};
  return {{w / 2, h / 2}, {0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}};
}

std::string NameOf(TControl* c) {
  if (!c->Name.empty()) return c->Name;
  return c->Caption().empty() ? std::string("a control") : "\"" + c->Caption() + "\"";
}

}  // namespace

bool Reachable(TControl* control, int x, int y) {
  QWidget* w = WidgetOf(control);
  if (w == nullptr || !w->isVisible()) return false;
  // The part of a window beyond the screen's edge cannot be pointed at.
  const QScreen* screen = w->window()->screen();
  if (screen != nullptr && !screen->geometry().contains(w->mapToGlobal(QPoint(x, y)))) return false;
  return ShowsWithin(w, QPoint(x, y), w->window());
}

TRect WindowFrame(TForm* form) {
  QWidget* w = WidgetOf(form);
  if (w == nullptr) return {};
  const QRect r = w->window()->frameGeometry();
  return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

void ScrollTo(TControl* control, int x, int y) {
  QWidget* w = WidgetOf(control);
  if (w == nullptr) return;
  for (QWidget* a = w->parentWidget(); a != nullptr; a = a->parentWidget()) {
    auto* area = qobject_cast<QScrollArea*>(a);
    if (area == nullptr || area->widget() == nullptr || !area->widget()->isAncestorOf(w)) continue;
    const QPoint p = w->mapTo(area->widget(), QPoint(x, y));
    Shielded([&] { area->ensureVisible(p.x(), p.y(), 1, 1); });
    return;
  }
}

std::vector<std::string> PartsOutOfReach(TForm* form) {
  std::vector<std::string> out;
  QWidget* client = WidgetOf(form);
  if (client == nullptr) return out;
  ActivateWindow(form);
  std::vector<TControl*> controls;
  Collect(form, controls);
  for (TControl* c : controls) {
    QWidget* w = WidgetOf(c);
    if (c == form || w == nullptr || !w->isVisible()) continue;
    for (const QPoint& p : SamplePoints(c)) {
      if (!ShowsWithin(w, p, client)) continue;  // covered or clipped in the layout itself
      ScrollTo(c, p.x(), p.y());
      if (!Reachable(c, p.x(), p.y())) {
        out.push_back(NameOf(c) + " at (" + std::to_string(p.x()) + ", " + std::to_string(p.y()) + ")");
        break;
      }
    }
  }
  return out;
}

std::vector<std::string> ButtonsNotPressedByEnter(TForm* form) {
  std::vector<std::string> out;
  std::vector<TControl*> controls;
  Collect(form, controls);
  for (TControl* c : controls) {
    auto* b = dynamic_cast<TBitBtn*>(c);
    QWidget* w = WidgetOf(b);
    if (b == nullptr || w == nullptr || !w->isVisible() || !w->isEnabled()) continue;
    int clicks = 0;
    const TNotifyEvent handler = b->OnClick;
    b->OnClick = [&clicks](TObject*) { ++clicks; };
    for (const Qt::KeyboardModifiers keypad : {Qt::NoModifier, Qt::KeypadModifier}) {
      SetFocus(b);
      Shielded(
          [&] { QTest::keyClick(KeyTarget(b), keypad == Qt::NoModifier ? Qt::Key_Return : Qt::Key_Enter, keypad); });
    }
    b->OnClick = handler;
    if (clicks != 2) out.push_back(NameOf(b) + " pressed " + std::to_string(clicks) + " times");
  }
  return out;
}

std::vector<std::string> UnseenTabStops(TForm* form, int presses) {
  std::vector<std::string> out;
  ActivateWindow(form);
  for (int i = 0; i < presses; ++i) {
    PressKey(form, Key::Tab);
    TControl* c = FocusedControl();
    if (c == nullptr) continue;
    bool seen = false;
    for (const QPoint& p : SamplePoints(c)) seen = seen || Reachable(c, p.x(), p.y());
    if (!seen) out.push_back(NameOf(c) + " after " + std::to_string(i + 1) + " Tab");
  }
  return out;
}

TControl* FocusedControl() {
  EnsureWindowing();
  return ControlOf(QApplication::focusWidget());
}

}  // namespace tk::testing
