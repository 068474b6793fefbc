#pragma once
// The one entry point of every modal box of the programs (messages, errors,
// confirmations) and of the picture dialogs.  The toolkit installs handlers
// that show real Qt dialogs; tests install their own to answer and record.
#include <functional>
#include <string>
#include <vector>

namespace tk {

enum class MsgIcon { Error, Question, Information, Warning };
enum MsgButtons : unsigned { mbOK = 1, mbYes = 2, mbNo = 4, mbCancel = 8 };
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct MessageRequest {
  std::string caption;
  std::string text;
  MsgIcon icon = MsgIcon::Error;
  unsigned buttons = mbOK;
};

using MessageHandler = std::function<int(const MessageRequest&)>;

// Shows a modal box through the current handler and returns the button chosen
// (mrOk, mrYes, mrNo; mrCancel or mrNone when the box was dismissed).
int ShowMessageBox(const MessageRequest& request);
// Replaces the handler; returns the previous one.
MessageHandler SetMessageHandler(MessageHandler handler);

// Convenience forms.
// An error box with only OK (the libraries' message routines).
void ShowErrorBox(const std::string& caption, const std::string& text);
// The confirmation dialog: caption "Confirm", question icon, Yes and No.
int ConfirmYesNo(const std::string& text);

// The caption of the default error box: the program's name.
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();
// The default error box: an error that left an event handler.
void ShowExceptionMessage(const std::string& message);

// Picture dialogs.  The filter is a list of (description, patterns) pairs.
struct FileDialogRequest {
  bool save = true;
  std::string title;
  std::vector<std::pair<std::string, std::string>> filter;
  std::string initialName;
  bool preview = true;
};
// Returns true and the chosen file name, or false when cancelled.
using FileDialogHandler = std::function<bool(const FileDialogRequest&, std::string& fileName)>;
bool RunFileDialog(const FileDialogRequest& request, std::string& fileName);
FileDialogHandler SetFileDialogHandler(FileDialogHandler handler);

}  // namespace tk
