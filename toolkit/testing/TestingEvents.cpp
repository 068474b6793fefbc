#include "toolkit/testing/TestingEvents.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "toolkit/controls/QtControls.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/grids/Grids.h"
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

bool OpenScrollBarMenu(TForm* form) {
  QWidget* w = WidgetOf(form);
  if (w == nullptr) return false;
  for (QScrollBar* bar : w->window()->findChildren<QScrollBar*>()) {
    if (!bar->isVisible()) continue;
    const QPoint centre = bar->rect().center();
    QCoreApplication::postEvent(bar, new QContextMenuEvent(QContextMenuEvent::Mouse, centre, bar->mapToGlobal(centre)));
    return true;
  }
  return false;
}

bool MenuOpen() { return QApplication::activePopupWidget() != nullptr; }

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

// The widget as drawn now, with its children.
QImage Picture(QWidget* w) {
  FpShield shield;
  return w->grab().toImage();
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

namespace {

// The area the control's window scrolls its client area in, or null.
QScrollArea* ScrollAreaOf(QWidget* w) {
  for (QWidget* a = w != nullptr ? w->parentWidget() : nullptr; a != nullptr; a = a->parentWidget()) {
    auto* area = qobject_cast<QScrollArea*>(a);
    if (area != nullptr && area->widget() != nullptr && area->widget()->isAncestorOf(w)) return area;
  }
  return nullptr;
}

}  // namespace

void ScrollTo(TControl* control, int x, int y) {
  QWidget* w = WidgetOf(control);
  QScrollArea* area = ScrollAreaOf(w);
  if (area == nullptr) return;
  const QPoint p = w->mapTo(area->widget(), QPoint(x, y));
  Shielded([&] { area->ensureVisible(p.x(), p.y(), 1, 1); });
}

std::vector<std::string> PartsOutOfReach(TForm* form, int width, int height) {
  std::vector<std::string> out;
  QWidget* client = WidgetOf(form);
  if (client == nullptr) return out;
  ActivateWindow(form);
  std::vector<TControl*> controls;
  Collect(form, controls);
  // The parts open in the layout itself (not covered or clipped there), by
  // control and sample point, before any resize.
  std::vector<std::vector<bool>> open;
  for (TControl* c : controls) {
    QWidget* w = WidgetOf(c);
    open.emplace_back();
    for (const QPoint& p : SamplePoints(c))
      open.back().push_back(c != form && w != nullptr && w->isVisible() && ShowsWithin(w, p, client));
  }
  if (width > 0 && height > 0) {
    ResizeWindow(form, width, height);
    ProcessEvents();
  }
  for (size_t i = 0; i < controls.size(); ++i) {
    TControl* c = controls[i];
    const std::vector<QPoint> points = SamplePoints(c);
    for (size_t k = 0; k < points.size() && k < open[i].size(); ++k) {
      if (!open[i][k]) continue;
      const QPoint& p = points[k];
      ScrollTo(c, p.x(), p.y());
      if (!Reachable(c, p.x(), p.y())) {
        out.push_back(NameOf(c) + " at (" + std::to_string(p.x()) + ", " + std::to_string(p.y()) + ")");
        break;
      }
    }
  }
  return out;
}

std::vector<std::string> GridsHoldingTheWheel(TForm* form) {
  std::vector<std::string> out;
  QScrollArea* area = ScrollAreaOf(WidgetOf(form));
  if (area == nullptr) return out;
  ActivateWindow(form);
  std::vector<TControl*> controls;
  Collect(form, controls);
  for (TControl* c : controls) {
    QWidget* w = WidgetOf(c);
    if (dynamic_cast<TStringGrid*>(c) == nullptr || w == nullptr || !w->isVisible()) continue;
    QScrollBar* v = area->verticalScrollBar();
    QScrollBar* h = area->horizontalScrollBar();
    QScrollBar* bar = v->maximum() > v->minimum() ? v : h;
    Shielded([&] {
      v->setValue(v->minimum());
      h->setValue(h->minimum());
    });
    for (const QPoint& p : SamplePoints(c)) {
      ScrollTo(c, p.x(), p.y());
      if (bar->value() == bar->maximum() || !Reachable(c, p.x(), p.y())) continue;
      const int before = bar->value();
      for (int i = 0; i < 100 && bar->value() == before; ++i) Wheel(c, p.x(), p.y(), -1);
      if (bar->value() == before) out.push_back(NameOf(c));
      break;
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
  QWidget* client = WidgetOf(form);
  if (client == nullptr) return out;
  ActivateWindow(form);
  TControl* last = FocusedControl();
  for (int i = 0; i < presses; ++i) {
    const QImage before = Picture(client);
    PressKey(form, Key::Tab);
    TControl* c = FocusedControl();
    if (c == nullptr) continue;
    const std::string after = " after " + std::to_string(i + 1) + " Tab";
    bool seen = false;
    for (const QPoint& p : SamplePoints(c)) seen = seen || Reachable(c, p.x(), p.y());
    if (!seen) out.push_back(NameOf(c) + after);
    QWidget* w = WidgetOf(c);
    if (c == last || w == nullptr) continue;
    last = c;
    const QRect r(w->mapTo(client, QPoint(0, 0)), w->size());
    const QImage now = Picture(client);
    if (now.copy(r) == before.copy(r)) out.push_back(NameOf(c) + " shows no focus" + after);
  }
  return out;
}

std::vector<std::string> GridsTabbingAstrayFromTheEditor(TForm* form) {
  std::vector<std::string> out;
  ActivateWindow(form);
  std::vector<TControl*> controls;
  Collect(form, controls);
  for (TControl* c : controls) {
    auto* g = dynamic_cast<TStringGrid*>(c);
    QWidget* w = WidgetOf(g);
    if (g == nullptr || w == nullptr || !w->isVisible() || !(g->Options() & goEditing) || (g->Options() & goTabs))
      continue;
    for (const TShiftState shift : {TShiftState(0), TShiftState(ssShift)}) {
      const std::string key = shift ? "Shift+Tab" : "Tab";
      SetFocus(g);
      PressKey(g, Key::Tab, shift);
      TControl* closed = FocusedControl();
      // The editor opened with F2 on the first cell that takes one, and a digit typed.
      bool opened = false;
      for (int row = g->FixedRows(); row < g->RowCount() && !opened; ++row)
        for (int col = g->FixedCols(); col < g->ColCount() && !opened; ++col) {
          SetFocus(g);
          g->SetCurrentCell(col, row);
          PressKey(g, Key::F2);
          opened = g->EditorMode();
        }
      if (!opened) break;
      const int col = g->Col(), row = g->Row();
      const std::string text = g->Cells(col, row);
      TypeText(g, "7");
      PressKey(g, Key::Tab, shift);
      TControl* open = FocusedControl();
      if (open != closed || g->EditorMode() || g->Cells(col, row) != text + "7")
        out.push_back(NameOf(g) + ": " + key + " from the editor went to " + (open ? NameOf(open) : "nothing") +
                      (g->EditorMode() ? ", editing" : "") + ", from the grid to " +
                      (closed ? NameOf(closed) : "nothing"));
      g->HideEditor();
      g->SetCells(col, row, text);
    }
  }
  return out;
}

TControl* FocusedControl() {
  EnsureWindowing();
  return ControlOf(QApplication::focusWidget());
}

}  // namespace tk::testing
