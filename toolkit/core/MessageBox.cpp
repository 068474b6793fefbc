#include "toolkit/core/MessageBox.h"

#include <cstdio>

#include "toolkit/core/FpCheck.h"

namespace tk {

namespace {

// Without a windowing layer (library tests), a box is written to stderr and
// answered with its first button.
int StderrBox(const MessageRequest& r) {
  std::fprintf(stderr, "[%s] %s\n", r.caption.c_str(), r.text.c_str());
  if (r.buttons & mbOK) return mrOk;
  if (r.buttons & mbYes) return mrYes;
  return mrNone;
}

MessageHandler& Handler() {
  static MessageHandler h = StderrBox;
  return h;
}

FileDialogHandler& DialogHandler() {
  static FileDialogHandler h = [](const FileDialogRequest&, std::string&) { return false; };
  return h;
}

std::string& Title() {
  static std::string t;
  return t;
}

}  // namespace

int ShowMessageBox(const MessageRequest& request) {
  // A modal box runs a nested message loop; the flags of the computation that
  // asked for the box must survive it.
  FpShield shield;
  return Handler()(request);
}

MessageHandler SetMessageHandler(MessageHandler handler) {
  MessageHandler old = Handler();
  Handler() = handler ? std::move(handler) : MessageHandler(StderrBox);
  return old;
}

void ShowErrorBox(const std::string& caption, const std::string& text) {
  ShowMessageBox({caption, text, MsgIcon::Error, mbOK});
}

int ConfirmYesNo(const std::string& text) { return ShowMessageBox({"Confirm", text, MsgIcon::Question, mbYes | mbNo}); }

void SetApplicationTitle(const std::string& title) { Title() = title; }
const std::string& ApplicationTitle() { return Title(); }

void ShowExceptionMessage(const std::string& message) { ShowErrorBox(ApplicationTitle(), message); }

bool RunFileDialog(const FileDialogRequest& request, std::string& fileName) {
  FpShield shield;
  return DialogHandler()(request, fileName);
}

FileDialogHandler SetFileDialogHandler(FileDialogHandler handler) {
  FileDialogHandler old = DialogHandler();
  if (handler) DialogHandler() = std::move(handler);
  return old;
}

}  // namespace tk
