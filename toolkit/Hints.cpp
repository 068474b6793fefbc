#include "toolkit/Hints.h"

#include <QPoint>
#include <QString>
#include <QToolTip>
#include <QWidget>

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
  QToolTip::showText(QPoint(info.HintPos.X, info.HintPos.Y), QString::fromStdString(text), control->Widget());
  return true;
}

void CancelHint() {
  THintState& s = State();
  if (s.Showing) QToolTip::hideText();
  s = THintState();
}

}  // namespace tk
