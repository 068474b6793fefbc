#include "toolkit/controls/Hints.h"

#include <QApplication>
#include <QLabel>
#include <QPoint>
#include <QPointer>

#include "toolkit/controls/Controls.h"
#include "toolkit/controls/QtControls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/FpCheck.h"

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

constexpr TColor kInfoText = 0x80000017;  // the desktop's hint text colour

// The hint window: a borderless tool-tip window of our own, in the hint
// colour, one line for each line of the text.
class HintWindow : public QLabel {
 public:
  HintWindow() : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    setMargin(2);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
  }
};

QPointer<HintWindow>& Window() {
  static QPointer<HintWindow> window;
  return window;
}

// Shows the text with the window's top left corner at `pos` (screen
// coordinates), kept on the screen as every window is.
void ShowWindow(const QPoint& pos, const std::string& text, TColor color, QWidget* owner) {
  QPointer<HintWindow>& w = Window();
  if (!w) w = new HintWindow();
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, ToQColor(color));
  pal.setColor(QPalette::WindowText, ToQColor(kInfoText));
  w->setPalette(pal);
  w->setAutoFillBackground(true);
  w->setFont(owner != nullptr ? owner->font() : QApplication::font());
  w->setText(ToQString(text));
  w->adjustSize();
  w->move(pos);
  FitOnScreen(w);
  w->show();
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
  FpShield shield;
  ShowWindow(QPoint(info.HintPos.X, info.HintPos.Y), text, info.HintColor, control->Widget());
  return true;
}

TRect HintWindowRect() {
  QWidget* w = Window();
  if (w == nullptr || !w->isVisible()) return TRect{};
  const QRect g = w->geometry();
  return TRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void CancelHint() {
  THintState& s = State();
  if (s.Showing && Window()) {
    FpShield shield;
    Window()->hide();
  }
  s = THintState();
}

}  // namespace tk
