// Top-level windows and the application object.
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>

#include "toolkit/Controls.h"
#include "toolkit/QtInternal.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/MessageBox.h"

namespace tk {

// Defined in QtBoxes.cpp: the Qt message box and file dialog.
int QtMessageBox(const MessageRequest& request);
bool QtFileDialog(const FileDialogRequest& request, std::string& fileName);

namespace {

class FormWidget : public MouseForwarding<QWidget> {
 public:
  explicit FormWidget(TForm* form) : MouseForwarding<QWidget>(form, nullptr, Qt::Window), form_(form) {}
  void detach() {
    form_ = nullptr;
    MouseForwarding<QWidget>::detach();
  }
  // A window manager frames a window only after it is shown, and tells the
  // frame later still: the first fit cannot count it, so the window is
  // fitted once more when the frame is first known.
  void FitWhenFramed() { fitWhenFramed_ = true; }

 protected:
  void closeEvent(QCloseEvent* e) override {
    if (form_ == nullptr || form_->CloseRequested()) e->accept();
    else e->ignore();
  }
  void showEvent(QShowEvent* e) override {
    QWidget::showEvent(e);
    if (form_ != nullptr && !e->spontaneous()) form_->Shown();
  }
  bool event(QEvent* e) override {
    const bool r = QWidget::event(e);
    if (fitWhenFramed_ && (e->type() == QEvent::Move || e->type() == QEvent::Resize) &&
        frameGeometry() != geometry()) {
      fitWhenFramed_ = false;
      FitOnScreen(this);
    }
    if (e->type() == QEvent::WindowActivate && form_ != nullptr && form_->OnActivate) {
      TForm* f = form_;
      Dispatch([f] { f->OnActivate(f); });
    }
    return r;
  }

 private:
  TForm* form_;
  bool fitWhenFramed_ = false;
};

}  // namespace

// Moves a window that would reach beyond the free area of its screen (the
// screen minus panels and docks) into it, as little as needed; a window
// larger than the area keeps its left or top edge on the area's.  Its size
// stays.  The frame counts where the window system has told it.
void FitOnScreen(QWidget* w) {
  QScreen* screen = QGuiApplication::screenAt(w->geometry().center());
  if (screen == nullptr) screen = w->screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QRect frame = w->frameGeometry();
  int dx = 0, dy = 0;
  if (frame.right() > area.right()) dx = area.right() - frame.right();
  if (frame.left() + dx < area.left()) dx = area.left() - frame.left();
  if (frame.bottom() > area.bottom()) dy = area.bottom() - frame.bottom();
  if (frame.top() + dy < area.top()) dy = area.top() - frame.top();
  if (dx != 0 || dy != 0) w->move(w->pos() + QPoint(dx, dy));
}

namespace {

// The off-screen platform has no stacking order to change (and says so).
void RaiseWindow(QWidget* w) {
  if (QGuiApplication::platformName() != QLatin1String("offscreen")) w->raise();
}

}  // namespace

// ---------------------------------------------------------------------------
// TForm

TForm::TForm() : TWinControl(nullptr) {
  auto* w = new FormWidget(this);
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  AttachWidget(w);
  SetVisible(false);
  ApplyBackground(w, Color());
  w->resize(320, 240);
}

TForm::~TForm() {
  if (Application != nullptr) {
    auto& forms = Application->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Application->mainForm_ == this) Application->mainForm_ = nullptr;
  }
  if (auto* w = static_cast<FormWidget*>(Widget())) {
    w->detach();
    w->hide();
  }
}

void TForm::SetPosition(TPosition position) { position_ = position; }

void TForm::SetVisible(bool visible) {
  QWidget* w = Widget();
  if (w == nullptr) return;
  FpShield shield;
  if (visible) {
    const bool first = !placed_;
    if (first) {
      placed_ = true;
      if (position_ == poScreenCenter) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
          const QRect area = screen->availableGeometry();
          w->move(area.x() + (area.width() - w->width()) / 2, area.y() + (area.height() - w->height()) / 2);
        }
      }
      FitOnScreen(w);
    }
    w->show();
    if (first) {
      FitOnScreen(w);  // again, with the frame where it is known by now
      if (w->frameGeometry() == w->geometry()) static_cast<FormWidget*>(w)->FitWhenFramed();
    }
  } else {
    w->hide();
  }
}

void TForm::ShowForm() {
  QWidget* w = Widget();
  if (w == nullptr) return;
  FpShield shield;
  SetVisible(true);
  RaiseWindow(w);
  w->activateWindow();
}

void TForm::BringToFront() {
  QWidget* w = Widget();
  if (w == nullptr) return;
  FpShield shield;
  RaiseWindow(w);
  w->activateWindow();
}

void TForm::Close() {
  QWidget* w = Widget();
  if (w == nullptr) return;
  w->close();
}

bool TForm::Active() const { return Widget() != nullptr && Widget()->isActiveWindow(); }

bool TForm::CloseRequested() {
  bool canClose = true;
  if (OnCloseQuery && !Dispatch([&] { OnCloseQuery(this, canClose); })) return false;
  if (!canClose) return false;
  TCloseAction action = caHide;
  if (OnClose && !Dispatch([&] { OnClose(this, action); })) return false;
  if (action == caNone) return false;
  if (Application != nullptr && Application->MainForm() == this) {
    Application->Terminate();
    return true;
  }
  if (action == caMinimize) {
    Widget()->showMinimized();
    return false;
  }
  return true;  // a secondary window only hides
}

void TForm::Shown() {
  if (OnShow) Dispatch([this] { OnShow(this); });
}

std::unique_ptr<TBitmap> TForm::GetFormImage() {
  QWidget* w = Widget();
  if (w == nullptr) return std::make_unique<TBitmap>(0, 0);
  FpShield shield;
  return BitmapFromImage(w->grab().toImage());
}

void TForm::AfterConstruction() {
  if (OnCreate) Dispatch([this] { OnCreate(this); });
  if (visibleAtStart) ShowForm();
}

// ---------------------------------------------------------------------------
// TApplication

TApplication::TApplication(const std::string& title) {
  EnsureWindowing();
  Application = this;
  SetApplicationTitle(title);
  SetMessageHandler(QtMessageBox);
  SetFileDialogHandler(QtFileDialog);
}

TApplication::~TApplication() {
  DestroyForms();
  if (Application == this) Application = nullptr;
}

const std::string& TApplication::Title() const { return ApplicationTitle(); }

void TApplication::AddForm(TForm* form) {
  forms_.push_back(form);
  if (mainForm_ == nullptr) mainForm_ = form;
  form->AfterConstruction();
}

void TApplication::Run() {
  if (mainForm_ == nullptr || terminated_) {
    DestroyForms();
    return;
  }
  mainForm_->ShowForm();
  QEventLoop loop;
  loop_ = &loop;
  if (!terminated_) {
    FpShield shield;
    loop.exec();
  }
  loop_ = nullptr;
  DestroyForms();
}

void TApplication::Terminate() {
  terminated_ = true;
  if (loop_ != nullptr) loop_->exit(0);
}

void TApplication::ProcessMessages() {
  FpShield shield;
  QApplication::processEvents();
}

void TApplication::DestroyForms() {
  // Last created first, as the platform frees the application's windows.
  while (!forms_.empty()) {
    TForm* f = forms_.back();
    forms_.pop_back();
    delete f;
  }
  mainForm_ = nullptr;
}

}  // namespace tk
