#include "toolkit/testing/TestingEvents.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QTest>

#include "toolkit/QtInternal.h"
#include "toolkit/testing/Testing.h"
#include "toolkit/testing/TestingQt.h"
#include "toolkit/core/FpCheck.h"

namespace tk::testing {

using namespace detail;

namespace {

Qt::MouseButton ToQt(TMouseButton button) {
  switch (button) {
    case mbRight:
      return Qt::RightButton;
    case mbMiddle:
      return Qt::MiddleButton;
    default:
      return Qt::LeftButton;
  }
}

// The key with modifiers to the focus widget of the control's window.
void SendKey(TControl* control, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  ActivateWindow(control);
  QWidget* target = KeyTarget(control);
  if (target == nullptr) return;
  {
    FpShield shield;
    QTest::keyClick(target, key, modifiers);
  }
  ProcessEvents();
}

}  // namespace

void TypeKeys(TControl* control, const std::string& text) {
  ActivateWindow(control);
  QWidget* w = WidgetOf(control);
  if (w == nullptr) return;
  const std::u32string chars = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdU32String();
  for (char32_t c : chars) {
    QWidget* target = KeyTarget(control);
    int key = Qt::Key_unknown;
    switch (c) {
      case U'\t':
        key = Qt::Key_Tab;
        break;
      case U'\r':
      case U'\n':
        key = Qt::Key_Return;
        break;
      case U'\b':
        key = Qt::Key_Backspace;
        break;
      case 0x1b:
        key = Qt::Key_Escape;
        break;
      case 0x7f:
        key = Qt::Key_Delete;
        break;
      default:
        if (c >= 0x20) key = static_cast<int>(QChar::toUpper(c));
    }
    {
      FpShield shield;
      QTest::sendKeyEvent(QTest::Click, target, static_cast<Qt::Key>(key), QString::fromUcs4(&c, 1), Qt::NoModifier);
    }
    ProcessEvents();
  }
}

void PasteText(TControl* control, const std::string& text) {
  EnsureWindowing();
  {
    FpShield shield;
    QGuiApplication::clipboard()->setText(ToQString(text));
  }
  SendKey(control, Qt::Key_V, Qt::ControlModifier);
}

void ClickWith(TControl* control, int x, int y, TMouseButton button, TShiftState shift, bool twice) {
  SendAt(control, x, y, true, [&](QWidget* t, const QPoint& p) {
    if (twice)
      QTest::mouseDClick(t, ToQt(button), ToQt(shift), p);
    else
      QTest::mouseClick(t, ToQt(button), ToQt(shift), p);
  });
}

void Drag(TControl* control, int x0, int y0, int x1, int y1) {
  QWidget* w = WidgetOf(control);
  if (w == nullptr) return;
  ActivateWindow(control);
  QPoint p0;
  QPointer<QWidget> t = TargetAt(w, x0, y0, p0);
  {
    FpShield shield;
    QTest::mousePress(t, Qt::LeftButton, Qt::NoModifier, p0);
  }
  ProcessEvents();
  if (t.isNull()) return;
  const QPoint p1 = t->mapFrom(w, QPoint(x1, y1));
  {
    FpShield shield;
    QMouseEvent move(QEvent::MouseMove, p1, t->mapToGlobal(p1), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(t, &move);
  }
  ProcessEvents();
  if (t.isNull()) return;
  {
    FpShield shield;
    QTest::mouseRelease(t, Qt::LeftButton, Qt::NoModifier, p1);
  }
  ProcessEvents();
}

void RestMouse(TControl* control, int x, int y) {
  SendAt(control, x, y, false, [](QWidget* t, const QPoint& p) {
    QHelpEvent e(QEvent::ToolTip, p, t->mapToGlobal(p));
    QApplication::sendEvent(t, &e);
  });
}

void ResizeWindow(TForm* form, int width, int height) {
  QWidget* w = WidgetOf(form);
  if (w == nullptr) return;
  {
    FpShield shield;
    w->window()->resize(width, height);
  }
  ProcessEvents();
}

void CloseWindow(TForm* form) {
  QWidget* w = WidgetOf(form);
  if (w == nullptr) return;
  {
    FpShield shield;
    w->window()->close();
  }
  ProcessEvents();
}

bool Reachable(TControl* control, int x, int y) {
  QWidget* w = WidgetOf(control);
  if (w == nullptr || !w->isVisible()) return false;
  QWidget* window = w->window();
  const QPoint p = w->mapTo(window, QPoint(x, y));
  if (!window->rect().contains(p)) return false;
  // Every parent clips its children.
  for (QWidget* a = w; a != window; a = a->parentWidget())
    if (!a->rect().contains(a->mapFrom(window, p))) return false;
  QWidget* at = window->childAt(p);
  if (at == nullptr) return w == window;
  for (QWidget* a = at; a != nullptr; a = a->parentWidget())
    if (a == w) return true;
  return false;
}

TControl* FocusedControl() {
  EnsureWindowing();
  return ControlOf(QApplication::focusWidget());
}

}  // namespace tk::testing
