#pragma once
// Helpers for window tests: run pending events, save a window's picture, and
// answer the message boxes and file dialogs from a queue while recording what
// was asked.  The user's mouse and keyboard are in TestingEvents.h, which
// comes with this header.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/controls/Controls.h"
#include "toolkit/core/MessageBox.h"
#include "toolkit/testing/TestingEvents.h"  // the user's input: keys, clicks, wheel, drags...

namespace tk::testing {

// Runs the pending window events (paints, posted events, timers that are due).
void ProcessEvents();

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
