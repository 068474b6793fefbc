// The Qt message box and file dialog behind the replaceable entry points of
// toolkit/core/MessageBox.h, and the picture dialogs on top of them.
#include <unistd.h>
#include <QApplication>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

#include "toolkit/controls/Controls.h"
#include "toolkit/controls/PicturePreview.h"
#include "toolkit/controls/QtControls.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/MessageBox.h"

namespace tk {

const char* const kGraphicFilter =
    "All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
    "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|"
    "Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";

int QtMessageBox(const MessageRequest& r) {
  EnsureWindowing();
  FpShield shield;
  // Off screen nobody sees the box: say what is waiting for an answer.
  if (QGuiApplication::platformName() == QLatin1String("offscreen"))
    std::fprintf(stderr, "[message box] %s: %s\n", r.caption.c_str(), r.text.c_str());
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(ToQString(r.caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(ToQString(r.text));
  switch (r.icon) {
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
  }
  QPushButton* yes = nullptr;
  QPushButton* no = nullptr;
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;
  if (r.buttons & mbYes) yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
  if (r.buttons & mbNo) no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
  if (r.buttons & mbOK) ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  if (r.buttons & mbCancel) cancel = box.addButton(QStringLiteral("Cancel"), QMessageBox::RejectRole);
  if (yes == nullptr && no == nullptr && ok == nullptr && cancel == nullptr)
    ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
  box.setDefaultButton(yes != nullptr ? yes : (ok != nullptr ? ok : (no != nullptr ? no : cancel)));
  box.setEscapeButton(cancel != nullptr ? cancel : (no != nullptr ? no : ok));
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (clicked == nullptr) return no != nullptr ? mrNo : mrCancel;
  if (clicked == yes) return mrYes;
  if (clicked == no) return mrNo;
  if (clicked == ok) return mrOk;
  return mrCancel;
}

namespace {

// Icons and type names from a file's kind and name alone.  Qt's own provider
// guesses a type from the contents, and opening a pipe, or reading a file of
// /proc such as the kernel's message log, waits for ever: the dialog would
// freeze as soon as it lists such a folder.
class NameOnlyIcons : public QFileIconProvider {
 public:
  using QFileIconProvider::icon;
  QIcon icon(const QFileInfo& info) const override {
    return QFileIconProvider::icon(info.isDir() ? QAbstractFileIconProvider::Folder : QAbstractFileIconProvider::File);
  }
  // In the user's language where Qt's translations have the texts.
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return QCoreApplication::translate("QFileDialog", "Folder");
    const QString suffix = info.suffix();
    if (suffix.isEmpty()) return QCoreApplication::translate("QFileDialog", "File");
    return QCoreApplication::translate("QFileDialog", "%1 File", "%1 is a file name suffix, for example txt")
        .arg(suffix.toUpper());
  }
};

// Qt's own dialog stays open without a word when the name is longer than its
// folder allows.  This one returns the name, and the save refuses it with the
// reason, as it refuses every other name it cannot create.
class FileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  void accept() override {
    const QStringList files = selectedFiles();
    const QFileInfo info(files.value(0));
    const long limit = ::pathconf(QFile::encodeName(info.absolutePath()).constData(), _PC_NAME_MAX);
    if (fileMode() == AnyFile && files.size() == 1 && !info.exists() && limit > 0 && info.fileName().size() > limit)
      return QDialog::accept();
    QFileDialog::accept();
  }

 protected:
  // Within the screen with its frame: when it shows, and again once the
  // window manager has told the frame (it frames a window only after it
  // shows).
  bool event(QEvent* e) override {
    const bool r = QFileDialog::event(e);
    const bool framed = frameGeometry() != geometry();
    if (e->type() == QEvent::Show ||
        (!fitFramed_ && framed && (e->type() == QEvent::Move || e->type() == QEvent::Resize))) {
      fitFramed_ = framed;
      FitOnScreen(this);
    }
    return r;
  }

 private:
  bool fitFramed_ = false;
};

}  // namespace

bool QtFileDialog(const FileDialogRequest& r, std::string& fileName) {
  EnsureWindowing();
  FpShield shield;
  if (QGuiApplication::platformName() == QLatin1String("offscreen"))
    std::fprintf(stderr, "[file dialog] %s\n", r.title.c_str());
  NameOnlyIcons icons;  // outlives the dialog, which does not own it
  FileDialog dlg(QApplication::activeWindow(), ToQString(r.title));
  dlg.setOption(QFileDialog::DontUseNativeDialog, true);
  dlg.setOption(QFileDialog::DontUseCustomDirectoryIcons, true);
  dlg.setIconProvider(&icons);
  dlg.setOption(QFileDialog::HideNameFilterDetails, true);  // the descriptions already name their patterns
  // The picture dialogs do not ask before a file is replaced: the save that
  // follows writes it, as the programs say.
  dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
  dlg.setAcceptMode(r.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dlg.setFileMode(r.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters;
  for (const auto& [desc, patterns] : r.filter) {
    QString p = ToQString(patterns);
    p.replace(';', ' ');
    filters << ToQString(desc) + " (" + p + ")";
  }
  if (!filters.isEmpty()) dlg.setNameFilters(filters);
  if (r.preview) AddPicturePreview(dlg);
  FitFileDialogColumns(dlg);
  // The initial name stands in the name box as given, a pattern such as
  // "*.emf" too (confirming a pattern lists the files it matches).
  const QString initial = ToQString(r.initialName).trimmed();
  if (!initial.isEmpty()) dlg.selectFile(initial);
  if (dlg.exec() != QDialog::Accepted) return false;
  const QStringList files = dlg.selectedFiles();
  if (files.isEmpty()) return false;
  fileName = FromQString(files.first());
  return true;
}

namespace {

// "description|patterns|description|patterns..." as pairs.
std::vector<std::pair<std::string, std::string>> ParseFilter(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= filter.size() && !filter.empty()) {
    const size_t bar = filter.find('|', start);
    if (bar == std::string::npos) {
      parts.push_back(filter.substr(start));
      break;
    }
    parts.push_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) pairs.emplace_back(parts[i], parts[i + 1]);
  if (parts.size() % 2 == 1 && !parts.back().empty()) pairs.emplace_back(parts.back(), parts.back());
  return pairs;
}

bool RunPictureDialog(bool save, const std::string& title, const std::string& filter, std::string& fileName) {
  FileDialogRequest request;
  request.save = save;
  request.title = title;
  request.filter = ParseFilter(filter);
  request.initialName = fileName;
  request.preview = true;
  std::string chosen;
  if (!RunFileDialog(request, chosen)) return false;
  fileName = chosen;
  return true;
}

}  // namespace

bool TSavePictureDialog::Execute() { return RunPictureDialog(true, Title, Filter, FileName); }
bool TOpenPictureDialog::Execute() { return RunPictureDialog(false, Title, Filter, FileName); }

}  // namespace tk
