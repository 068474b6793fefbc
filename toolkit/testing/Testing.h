#pragma once
// Helpers for window tests: run pending events, simulate the user's mouse and
// keyboard on a control, save a window's picture, and answer the message boxes
// and file dialogs from a queue while recording what was asked.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/core/MessageBox.h"

namespace tk::testing {

// Runs the pending window events (paints, posted events, timers that are due).
void ProcessEvents();

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

// Answers the modal box that is open now (a real Qt box, as the application's
// handlers show them): presses the button with the given caption ("&No"), or
// Escape when the caption is empty.  Reports the box's caption, text and button
// captions ("&Yes|&No", in their order in the box).  False when no box is open.
bool AnswerModalBox(const std::string& button, std::string* caption, std::string* text, std::string* buttons);

// Answers the file dialog that is open now (a real Qt dialog): chooses the
// file name and confirms, or cancels when the name is empty.  Reports the
// dialog's title and its file-type list as shown.  False when none is open.
bool AnswerFileDialog(const std::string& fileName, std::string* title, std::vector<std::string>* filters);

// The file dialog that is open now, as the user sees it: its title, the
// text of its name box, the folder it shows, its buttons' texts ("&Save|Cancel"),
// and its frame on the screen.  False when none is open.
struct FileDialogView {
  std::string title;
  std::string nameText;
  std::string folder;
  std::string buttons;
  TRect frame;
};
bool ViewFileDialog(FileDialogView* view);
// True when Qt's own texts have a translation for the locale ("pl_PL") installed.
bool QtTranslationInstalled(const std::string& locale);
// Types the text into the open file dialog's name box and presses Enter, as
// a user going to a folder does.  False when no file dialog is open.
bool TypeIntoFileDialog(const std::string& text);
// The question box a file dialog has opened over itself (Qt asks there, for
// instance before replacing a file): answers it with Escape and reports its
// text.  False when no such box is open.
bool DismissQuestionBox(std::string* text);

// The picture dialog's preview pane as the user sees it: its text (the
// picture's size, or why there is none) and its picture area as drawn.
struct FilePreviewView {
  std::string text;
  std::unique_ptr<TBitmap> picture;
};
bool ViewFilePreview(FilePreviewView* view);
// Clicks the file's row in the open file dialog's list, as a user does;
// false while the dialog does not list it yet.
bool ClickFileInDialog(const std::string& fileName);

// The control as it is shown now, saved as PNG.
bool SaveWindowPng(TControl* control, const std::string& path);

// Replaces the message-box and file-dialog handlers for its lifetime: every
// request is recorded; the answers come from the queues, and when a queue is
// empty a box is answered with OK (or Yes) and a file dialog is cancelled.
class RecordingDialogs {
 public:
  RecordingDialogs();
  ~RecordingDialogs();
  RecordingDialogs(const RecordingDialogs&) = delete;
  RecordingDialogs& operator=(const RecordingDialogs&) = delete;

  std::vector<MessageRequest> messages;
  std::vector<FileDialogRequest> fileDialogs;
  std::deque<int> answers;                             // mrOk, mrYes, mrNo, mrCancel...
  std::deque<std::optional<std::string>> fileAnswers;  // a file name, or nullopt to cancel

  void Answer(int modalResult) { answers.push_back(modalResult); }
  void AnswerFile(const std::string& name) { fileAnswers.emplace_back(name); }
  void CancelFile() { fileAnswers.emplace_back(std::nullopt); }
  void Clear() {
    messages.clear();
    fileDialogs.clear();
  }

 private:
  MessageHandler previousMessages_;
  FileDialogHandler previousFiles_;
};

}  // namespace tk::testing
