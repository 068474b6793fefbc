#include "toolkit/testing/Testing.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QTranslator>
#include <QWheelEvent>
#include <algorithm>
#include <iterator>

#include "toolkit/core/FpCheck.h"
#include "toolkit/pictures/QtGraphics.h"
#include "toolkit/testing/TestingQt.h"

namespace tk::testing {

namespace detail {

QWidget* WidgetOf(TControl* control) {
  EnsureWindowing();
  return control != nullptr ? control->Widget() : nullptr;
}

QWidget* TargetAt(QWidget* w, int x, int y, QPoint& local) {
  QWidget* t = w->childAt(x, y);
  if (t == nullptr) t = w;
  local = t->mapFrom(w, QPoint(x, y));
  return t;
}

QWidget* KeyTarget(TControl* control) {
  QWidget* w = WidgetOf(control);
  QWidget* f = QApplication::focusWidget();
  if (f != nullptr && w != nullptr && f->window() == w->window()) return f;
  return w;
}

Qt::KeyboardModifiers ToQt(TShiftState shift) {
  Qt::KeyboardModifiers m = Qt::NoModifier;
  if (shift & ssShift) m |= Qt::ShiftModifier;
  if (shift & ssCtrl) m |= Qt::ControlModifier;
  if (shift & ssAlt) m |= Qt::AltModifier;
  return m;
}

Qt::MouseButton ToQt(TMouseButton button) {
  return button == mbRight ? Qt::RightButton : button == mbMiddle ? Qt::MiddleButton : Qt::LeftButton;
}

void SendKey(TControl* control, Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
  QWidget* t = KeyTarget(control);
  if (t == nullptr) return;
  Shielded([&] {
    if (text.isNull()) QTest::keyClick(t, key, modifiers);  // the key's own text (Tab, Return...)
    else QTest::sendKeyEvent(QTest::Click, t, key, text, modifiers);
  });
}

void Shielded(const std::function<void()>& act) {
  {
    FpShield shield;
    act();
  }
  ProcessEvents();
}

}  // namespace detail

using namespace detail;

void detail::SendAt(TControl* control, int x, int y, bool activate,
                    const std::function<void(QWidget*, const QPoint&)>& send) {
  QWidget* w = WidgetOf(control);
  if (w == nullptr) return;
  if (activate) ActivateWindow(control);
  QPoint p;
  QWidget* t = TargetAt(w, x, y, p);
  Shielded([&] { send(t, p); });
}

void ProcessEvents() {
  EnsureWindowing();
  FpShield shield;
  QApplication::sendPostedEvents();
  QApplication::processEvents();
}

void ActivateWindow(TControl* control) {
  QWidget* w = WidgetOf(control);
  if (w == nullptr) return;
  FpShield shield;
  QWidget* window = w->window();
  if (!window->isVisible()) window->show();
  if (!window->isActiveWindow()) {
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window, 2000);
  }
  QApplication::processEvents();
}

void ClickButton(TControl* control) {
  if (QWidget* w = WidgetOf(control)) MouseClick(control, w->width() / 2, w->height() / 2);
}

void MouseDown(TControl* control, int x, int y) {
  SendAt(control, x, y, true,
         [](QWidget* t, const QPoint& p) { QTest::mousePress(t, Qt::LeftButton, Qt::NoModifier, p); });
}

void MouseUp(TControl* control, int x, int y) {
  SendAt(control, x, y, false,
         [](QWidget* t, const QPoint& p) { QTest::mouseRelease(t, Qt::LeftButton, Qt::NoModifier, p); });
}

void MouseClick(TControl* control, int x, int y, TMouseButton button, TShiftState shift) {
  SendAt(control, x, y, true, [&](QWidget* t, const QPoint& p) { QTest::mouseClick(t, ToQt(button), ToQt(shift), p); });
}

void DblClick(TControl* control, int x, int y, TMouseButton button, TShiftState shift) {
  SendAt(control, x, y, true,
         [&](QWidget* t, const QPoint& p) { QTest::mouseDClick(t, ToQt(button), ToQt(shift), p); });
}

void SetFocus(TControl* control) {
  if (control == nullptr) return;
  ActivateWindow(control);
  if (auto* wc = dynamic_cast<TWinControl*>(control)) wc->SetFocus();
  else if (QWidget* w = WidgetOf(control)) w->setFocus(Qt::OtherFocusReason);
  ProcessEvents();
}

void TypeText(TControl* control, const std::string& text) {
  ActivateWindow(control);
  if (WidgetOf(control) == nullptr) return;
  for (char32_t c : QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toStdU32String()) {
    int key = Qt::Key_unknown;
    switch (c) {
      case U'\t': key = Qt::Key_Tab; break;
      case U'\r':
      case U'\n': key = Qt::Key_Return; break;
      case U'\b': key = Qt::Key_Backspace; break;
      case 0x1b: key = Qt::Key_Escape; break;
      case 0x7f: key = Qt::Key_Delete; break;
      default:
        if (c >= 0x20) key = static_cast<int>(QChar::toUpper(c));
    }
    SendKey(control, static_cast<Qt::Key>(key), Qt::NoModifier, QString::fromUcs4(&c, 1));
  }
}

namespace {
// The Qt key of each Key, in the enumeration's order.
constexpr Qt::Key kQtKeys[] = {
    Qt::Key_Return, Qt::Key_Tab,       Qt::Key_Escape, Qt::Key_F2,   Qt::Key_Left, Qt::Key_Right,  Qt::Key_Up,
    Qt::Key_Down,   Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Home, Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown,
    Qt::Key_Insert, Qt::Key_F1,        Qt::Key_F3,     Qt::Key_F4,   Qt::Key_F5,   Qt::Key_F6,     Qt::Key_F7,
    Qt::Key_F8,     Qt::Key_F9,        Qt::Key_F10,    Qt::Key_F11,  Qt::Key_F12};
static_assert(std::size(kQtKeys) == static_cast<size_t>(Key::F12) + 1, "one Qt key for each Key");
Qt::Key QtKey(Key key) { return kQtKeys[static_cast<size_t>(key)]; }
}  // namespace

void PressKey(TControl* control, Key key) { PressKey(control, key, 0); }

void PressKey(TControl* control, Key key, TShiftState shift) {
  ActivateWindow(control);
  SendKey(control, QtKey(key), ToQt(shift), QString());
}

std::vector<Key> NonPrintingKeys() {
  std::vector<Key> keys;
  for (int k = static_cast<int>(Key::Enter); k <= static_cast<int>(Key::F12); ++k) keys.push_back(static_cast<Key>(k));
  return keys;
}

void Wheel(TControl* control, int x, int y, int notches) {
  SendAt(control, x, y, true, [&](QWidget* t, const QPoint& p) {
    QWheelEvent e(QPointF(p), QPointF(t->mapToGlobal(p)), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e);  // as the window system delivers it: passed up while ignored
    QApplication::instance()->notify(t, &e);
  });
}

bool AnswerModalBox(const std::string& button, std::string* caption, std::string* text, std::string* buttons) {
  FpShield shield;
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr) return false;
  if (caption != nullptr) *caption = FromQString(box->windowTitle());
  if (text != nullptr) *text = FromQString(box->text());
  QList<QAbstractButton*> list = box->buttons();
  // In the order they stand in the box: left to right.
  std::sort(list.begin(), list.end(), [](QAbstractButton* a, QAbstractButton* b) {
    return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
  });
  std::string names;
  QAbstractButton* target = nullptr;
  for (QAbstractButton* b : list) {
    if (!names.empty()) names += '|';
    names += FromQString(b->text());
    if (FromQString(b->text()) == button) target = b;
  }
  if (buttons != nullptr) *buttons = names;
  if (button.empty()) QTest::keyClick(box, Qt::Key_Escape);
  else if (target != nullptr) target->click();
  else return false;
  return true;
}

bool AnswerFileDialog(const std::string& fileName, std::string* title, std::vector<std::string>* filters) {
  FpShield shield;
  auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
  if (dlg == nullptr) return false;
  if (title != nullptr) *title = FromQString(dlg->windowTitle());
  if (filters != nullptr) {
    filters->clear();
    for (const QString& f : dlg->nameFilters()) filters->push_back(FromQString(f));
  }
  if (fileName.empty()) {
    dlg->reject();
  } else {
    dlg->selectFile(ToQString(fileName));
    QMetaObject::invokeMethod(dlg, "accept");
  }
  return true;
}

namespace {

QFileDialog* OpenFileDialog() { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); }

QLineEdit* NameBox(QFileDialog* dlg) {
  if (auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) return edit;
  return dlg->findChild<QLineEdit*>();
}

}  // namespace

bool ViewFileDialog(FileDialogView* view) {
  FpShield shield;
  QFileDialog* dlg = OpenFileDialog();
  if (dlg == nullptr) return false;
  view->title = FromQString(dlg->windowTitle());
  QLineEdit* edit = NameBox(dlg);
  view->nameText = edit != nullptr ? FromQString(edit->text()) : std::string();
  view->folder = FromQString(dlg->directory().absolutePath());
  view->buttons.clear();
  if (auto* box = dlg->findChild<QDialogButtonBox*>())
    for (QAbstractButton* b : box->buttons())
      view->buttons += (view->buttons.empty() ? "" : "|") + FromQString(b->text());
  const QRect r = dlg->frameGeometry();
  view->frame = {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
  return true;
}

bool QtTranslationInstalled(const std::string& locale) {
  EnsureWindowing();
  QTranslator translator;
  return translator.load(QLocale(ToQString(locale)), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

bool TypeIntoFileDialog(const std::string& text) {
  QFileDialog* dlg = OpenFileDialog();
  QLineEdit* edit = dlg != nullptr ? NameBox(dlg) : nullptr;
  if (edit == nullptr) return false;
  FpShield shield;
  edit->setFocus(Qt::OtherFocusReason);
  edit->clear();
  QTest::keyClicks(edit, ToQString(text));
  QTest::keyClick(edit, Qt::Key_Return);
  return true;
}

bool DismissQuestionBox(std::string* text) {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr || qobject_cast<QFileDialog*>(box->parentWidget()) == nullptr) return false;
  if (text != nullptr) *text = FromQString(box->text());
  FpShield shield;
  QTest::keyClick(box, Qt::Key_Escape);
  return true;
}

bool ViewFilePreview(FilePreviewView* view) {
  QFileDialog* dlg = OpenFileDialog();
  auto* text = dlg != nullptr ? dlg->findChild<QLabel*>(QStringLiteral("picturePreviewText")) : nullptr;
  auto* area = dlg != nullptr ? dlg->findChild<QWidget*>(QStringLiteral("picturePreviewArea")) : nullptr;
  if (text == nullptr || area == nullptr) return false;
  FpShield shield;
  view->text = FromQString(text->text());
  view->picture = BitmapFromImage(area->grab().toImage().convertToFormat(QImage::Format_RGB32));
  return true;
}

bool ClickFileInDialog(const std::string& fileName) {
  QFileDialog* dlg = OpenFileDialog();
  if (dlg == nullptr) return false;
  FpShield shield;
  for (auto* view : dlg->findChildren<QAbstractItemView*>()) {
    auto* model = qobject_cast<QFileSystemModel*>(view->model());
    if (model == nullptr || !view->isVisible()) continue;
    const QModelIndex index = model->index(ToQString(fileName));
    if (!index.isValid()) return false;
    view->scrollTo(index);
    const QRect r = view->visualRect(index);
    if (r.isEmpty()) return false;
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    return true;
  }
  return false;
}

bool SaveWindowPng(TControl* control, const std::string& path) {
  QWidget* w = WidgetOf(control);
  if (w == nullptr) return false;
  ProcessEvents();
  FpShield shield;
  return w->grab().save(ToQString(path), "PNG");
}

RecordingDialogs::RecordingDialogs() {
  previousMessages_ = SetMessageHandler([this](const MessageRequest& r) {
    messages.push_back(r);
    if (!answers.empty()) {
      const int a = answers.front();
      answers.pop_front();
      return a;
    }
    if (r.buttons & mbOK) return static_cast<int>(mrOk);
    if (r.buttons & mbYes) return static_cast<int>(mrYes);
    return static_cast<int>(mrCancel);
  });
  previousFiles_ = SetFileDialogHandler([this](const FileDialogRequest& r, std::string& name) {
    fileDialogs.push_back(r);
    if (fileAnswers.empty()) return false;
    std::optional<std::string> a = fileAnswers.front();
    fileAnswers.pop_front();
    if (!a) return false;
    name = *a;
    return true;
  });
}

RecordingDialogs::~RecordingDialogs() {
  SetMessageHandler(previousMessages_);
  SetFileDialogHandler(previousFiles_);
}

}  // namespace tk::testing
