#pragma once
// Hints of the platform stand-in: the application's single show-hint event,
// the hint information it receives, and the machinery that asks for a hint
// when the mouse rests over a control and shows or cancels the hint window.
#include <functional>
#include <string>

#include "toolkit/pictures/Graphics.h"

namespace tk {

class TControl;

// What the show-hint event receives about the hint to be shown.
struct THintInfo {
  TControl* HintControl = nullptr;  // the control under the mouse
  TPoint CursorPos;                 // the mouse, in HintControl's client coordinates
  TPoint HintPos;                   // where the hint window shows, in screen coordinates
  int HintMaxWidth = 0;             // 0: no limit
  TColor HintColor = clInfoBk;
};

// The application's show-hint event: may change the text, forbid the hint
// (canShow) or move it (HintPos).
using TShowHintEvent = std::function<void(std::string& hintStr, bool& canShow, THintInfo& hintInfo)>;

// The application's show-hint event; setting it replaces the previous handler.
void SetShowHintHandler(TShowHintEvent handler);
const TShowHintEvent& ShowHintHandler();

// Asks for the hint of the control at a client point, as the toolkit does
// when the mouse has rested there: starts from the control's own Hint with
// the hint window 20 pixels below the mouse, runs the show-hint event through
// the dispatch, and shows the hint window when the text is not empty and the
// hint may show (else hides it).  Returns whether a hint is showing.
bool ActivateHint(TControl* control, TPoint clientPos);
// Hides the hint window; the next rest of the mouse asks again.
void CancelHint();

// What the hint window shows now (tests).
struct THintState {
  bool Showing = false;
  TControl* Control = nullptr;
  std::string Text;
  TPoint Pos;
};
const THintState& CurrentHint();
// The screen rectangle of the hint window as it is drawn; empty when none shows.
TRect HintWindowRect();

}  // namespace tk
