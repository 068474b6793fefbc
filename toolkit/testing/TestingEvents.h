#pragma once
// Real input for tests that use the programs as a user does: clicks, keys,
// typing, the wheel, pasting, drags, tool-tip rests, and the window manager's
// resizes and close requests; which points a user can reach, and where the
// keyboard focus is.  Each call delivers the events through Qt's own dispatch
// and then runs the pending events.
#include <string>
#include <vector>

#include "toolkit/controls/Controls.h"

namespace tk::testing {

// Shows the control's window if needed and makes it the active window, so
// that focus changes happen as for a user.
void ActivateWindow(TControl* control);

// A real mouse click (press and release of the left button) at the centre of
// the control: the control takes the focus on the press as it would for the
// user, so OnExit of the control that loses it runs before OnClick.
void ClickButton(TControl* control);
// Press and release, each alone, of the left button at (x, y) in the
// control's client coordinates, delivered to the widget under that point.
void MouseDown(TControl* control, int x, int y);
void MouseUp(TControl* control, int x, int y);
// A click (press and release) and a double click (press, release, double
// click, release) of the button with the modifiers at (x, y) of the control's
// client area, delivered to the widget under that point.
void MouseClick(TControl* control, int x, int y, TMouseButton button = mbLeft, TShiftState shift = 0);
void DblClick(TControl* control, int x, int y, TMouseButton button = mbLeft, TShiftState shift = 0);

void SetFocus(TControl* control);
// Types the text (UTF-8), one key per character, each to the widget that
// holds the focus in the control's window when it arrives (a character may
// move the focus on: Tab, Enter, Escape).  Any script; a character without a
// key of its own arrives as the window system sends it: its text, and its
// upper-case code as the key.  Control characters are their keys (Tab,
// Enter, Backspace, Escape, Delete).
void TypeText(TControl* control, const std::string& text);
enum class Key {
  Enter,
  Tab,
  Escape,
  F2,
  Left,
  Right,
  Up,
  Down,
  Backspace,
  Delete,
  Home,
  End,
  PageUp,
  PageDown,
  Insert,
  F1,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  F11,
  F12
};
void PressKey(TControl* control, Key key);
// The key with Shift, Ctrl and Alt as in `shift` (ssShift | ssCtrl | ssAlt).
void PressKey(TControl* control, Key key, TShiftState shift);
// Every key of the enumeration: a keyboard's non-printing keys.
std::vector<Key> NonPrintingKeys();
// Turns the mouse wheel by `notches` (positive: away from the user, scrolling
// up) with the pointer at (x, y) of the control's client coordinates,
// delivered to the widget under that point.
void Wheel(TControl* control, int x, int y, int notches);

// The text put on the clipboard and pasted with Ctrl+V into the widget that
// holds the focus in the control's window.
void PasteText(TControl* control, const std::string& text);

// Press of the left button at (x0, y0), a move with the button held to
// (x1, y1) and the release there; the widget pressed keeps the mouse, as the
// window system's implicit grab does.
void Drag(TControl* control, int x0, int y0, int x1, int y1);

// The mouse resting at (x, y): the tool-tip request the window system sends.
void RestMouse(TControl* control, int x, int y);

// The window resized from its frame, and closed from its frame's button.
void ResizeWindow(TForm* form, int width, int height);
void CloseWindow(TForm* form);

// Opens the context menu of the first scroll bar the window shows, as a
// right click on it does, once the events run (the menu then holds them in
// its own loop until it closes); false when the window shows none.  And
// whether a menu is open on the screen.
bool OpenScrollBarMenu(TForm* form);
bool MenuOpen();

// True when the user can point at (x, y) of the control: the point lies in
// the shown part of its window, on the screen, and no other control covers
// it there.
bool Reachable(TControl* control, int x, int y);

// The window's frame on the screen, as the window system shows it.
TRect WindowFrame(TForm* form);

// Scrolls the window that holds the control with its scroll bars, as a user
// drags them, until the point (x, y) of the control shows (when the window
// scrolls at all).
void ScrollTo(TControl* control, int x, int y);

// The controls of a shown window with a part the user cannot reach, though
// it lies open in the window's client area: the centre and the corners of
// every control are tried, each scrolled to first.  Given a size, the user
// first resizes the window to it, and the parts tried are those that lay
// open before.
std::vector<std::string> PartsOutOfReach(TForm* form, int width = 0, int height = 0);

// The grids of a shown window that scrolls where the wheel, turned on over
// the grid from the window's start, never moves the window (the plain
// wheel moves it sideways where it can move no other way).
std::vector<std::string> GridsHoldingTheWheel(TForm* form);

// The buttons of a shown window that the keyboard does not press: each is
// given the focus and sent Return, then the keypad's Enter, and is named
// unless its OnClick ran once for each.  Its own handler does not run then.
std::vector<std::string> ButtonsNotPressedByEnter(TForm* form);

// Presses Tab `presses` times in a shown window, from its first control on,
// and names each control the focus lands on that the user cannot see, or
// whose pixels do not change as it takes the focus.
std::vector<std::string> UnseenTabStops(TForm* form, int presses);

// The editing grids of a shown window where Tab or Shift+Tab typed into an
// open cell editor does not end editing with the typed text in the cell and
// move the focus where it moves from the closed grid.
std::vector<std::string> GridsTabbingAstrayFromTheEditor(TForm* form);

// The control whose widget holds the keyboard focus now (an in-place editor
// counts as its grid), or null.
TControl* FocusedControl();

}  // namespace tk::testing
