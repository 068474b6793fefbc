#pragma once
// Real input beyond toolkit/testing/Testing.h (which types, presses keys and
// clicks), for tests that use the programs as a user does: pasting, drags,
// tool-tip rests, and the window manager's resizes and close requests; which
// points a user can reach, and where the keyboard focus is.  Each call
// delivers the events through Qt's own dispatch and then runs the pending
// events.
#include <string>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/testing/Testing.h"

namespace tk::testing {

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
