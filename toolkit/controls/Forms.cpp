// Top-level windows and the application object.
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QWheelEvent>
#include <algorithm>
#include <utility>
#include <vector>

#include "toolkit/controls/Controls.h"
#include "toolkit/controls/QtControls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/MessageBox.h"

namespace tk {

// Defined in QtBoxes.cpp: the Qt message box and file dialog.
int QtMessageBox(const MessageRequest& request);
bool QtFileDialog(const FileDialogRequest& request, std::string& fileName);

namespace {

// The client area of a form: the form's own widget, which its controls lie
// on.  A double click on its free area is the window's.
class ClientWidget : public MouseForwarding<QWidget> {
 public:
  explicit ClientWidget(TForm* form) : MouseForwarding<QWidget>(form) {}
};

// True when the user can see some of the widget inside the client area: it
// is shown, has a size, and its parents do not clip it all away.  Only such
// widgets take the focus from the keyboard.
bool ShowsInClient(const QWidget* w, const QWidget* client) {
  if (!w->isVisibleTo(client)) return false;
  QRect r = w->rect();
  for (const QWidget* a = w; a != client && a->parentWidget() != nullptr; a = a->parentWidget()) {
    r = r.translated(a->pos()).intersected(a->parentWidget()->rect());
    if (r.isEmpty()) return false;
  }
  return !r.isEmpty();
}

// What a window shows of a client area larger than itself.  Tab brings the
// control it moves to into view, scrolling no more than that takes.
class ClientScroller : public QScrollArea {
 public:
  explicit ClientScroller(QWidget* parent) : QScrollArea(parent) {}

 protected:
  bool focusNextPrevChild(bool next) override {
    if (!QWidget::focusNextPrevChild(next)) return false;
    if (QWidget* f = focusWidget()) ensureWidgetVisible(f, 0, 0);
    return true;
  }
  // The plain wheel moves the area sideways when that is the only way it can move.
  void wheelEvent(QWheelEvent* e) override {
    const QScrollBar* down = verticalScrollBar();
    QScrollBar* across = horizontalScrollBar();
    const QPoint d = e->angleDelta();
    if (d.x() == 0 && d.y() != 0 && down->minimum() == down->maximum() && across->minimum() < across->maximum()) {
      QApplication::sendEvent(across, e);
      return;
    }
    QScrollArea::wheelEvent(e);
  }
};

// Closes the menus open on the screen (a scroll bar's context menu, say).
// Each runs an event loop of its own, inside which a close request arrives;
// left open, it would hold the program's loop from ending with the window.
void ClosePopups() {
  for (int i = 0; i < 16; ++i) {  // bounded, should a menu refuse to close
    QWidget* popup = QApplication::activePopupWidget();
    if (popup == nullptr) return;
    popup->close();
  }
}

// The least size of the client area that shows every control whole and
// apart: controls placed by their position end within it, and those aligned
// to an edge keep their thickness beside them.  A control that fills the
// rest needs nothing.
QSize LayoutExtent(const TForm* form) {
  int right = 0, bottom = 0, top = 0, left = 0, alongTop = 0, alongLeft = 0;
  for (const TControl* c : form->Controls()) {
    if (!c->Visible()) continue;
    switch (c->Align()) {
      case alNone:
        right = std::max(right, c->Left() + c->Width());
        bottom = std::max(bottom, c->Top() + c->Height());
        break;
      case alTop: alongTop += c->Height(); break;
      case alBottom: top += c->Height(); break;
      case alLeft: alongLeft += c->Width(); break;
      case alRight: left += c->Width(); break;
      default: break;
    }
  }
  return {std::max(right + left, alongLeft + left), std::max(bottom + top, alongTop + top)};
}

// The top-level window of a form.  It shows the client area whole; when
// the window is smaller than the client area's layout, made so to fit on the
// screen or by the user, the client area keeps that size and scrolls inside
// the window, with scroll bars where it does not fit.
class FormWindow : public QWidget {
 public:
  FormWindow(TForm* form, QWidget* client) : QWidget(nullptr, Qt::Window), form_(form), client_(client) {
    scroll_ = new ClientScroller(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->horizontalScrollBar()->setFocusPolicy(Qt::NoFocus);
    scroll_->verticalScrollBar()->setFocusPolicy(Qt::NoFocus);
    scroll_->setWidgetResizable(false);
    scroll_->setWidget(client_);
    scroll_->setGeometry(rect());
  }
  void detach() {
    form_ = nullptr;
    static_cast<ClientWidget*>(client_)->detach();
  }
  // Gives the client area back to its form, which frees it with its controls.
  void ReleaseClient() { scroll_->takeWidget(); }
  // A window manager frames a window only after it is shown, and tells the
  // frame later still: the first fit cannot count it, so the window is
  // fitted once more when the frame is first known.
  void FitWhenFramed() { fitWhenFramed_ = true; }

  // The size of the client area that the window has to show.
  QSize ClientSize() const { return least_.isValid() ? least_ : client_->size(); }
  // The client area's least size: the one kept while fitted to the screen,
  // else what its controls need within the size the program gave it (what
  // lies beyond that was cut off by its own layout).
  QSize Least() const {
    if (least_.isValid()) return least_;
    return form_ != nullptr ? LayoutExtent(form_).boundedTo(designed_) : QSize(0, 0);
  }
  void Designed(const QSize& size) { designed_ = size; }
  // Makes the window as large as it can be within `room` (the free area
  // less the frame): the whole client area when it fits, else the part of it
  // that fits beside the scroll bars it then needs.
  void FitInto(const QSize& room) {
    const QSize client = ClientSize();
    if (client.width() <= room.width() && client.height() <= room.height()) {
      if (least_.isValid()) {
        least_ = QSize();
        resize(client);
      }
      return;
    }
    least_ = client;
    const QSize bars = Bars(room);
    resize(std::min(client.width() + bars.width(), room.width()),
           std::min(client.height() + bars.height(), room.height()));
    Place();
  }

 protected:
  void closeEvent(QCloseEvent* e) override {
    ClosePopups();  // first: the question asked before closing is not hidden behind one
    if (form_ == nullptr || form_->CloseRequested()) e->accept();
    else e->ignore();
  }
  void showEvent(QShowEvent* e) override {
    QWidget::showEvent(e);
    if (form_ != nullptr && !e->spontaneous()) form_->Shown();
  }
  void resizeEvent(QResizeEvent* e) override {
    QWidget::resizeEvent(e);
    // The program has given the window a new size (its client area took the
    // same): that is the client area's size from now on.
    if (least_.isValid() && client_->size() == size()) least_ = QSize();
    Place();
  }
  bool event(QEvent* e) override {
    const bool r = QWidget::event(e);
    if (fitWhenFramed_ && (e->type() == QEvent::Move || e->type() == QEvent::Resize) && frameGeometry() != geometry()) {
      fitWhenFramed_ = false;
      FitOnScreen(this);
    }
    if (e->type() == QEvent::WindowActivate && form_ != nullptr && form_->OnActivate) {
      TForm* f = form_;
      Dispatch([f] { f->OnActivate(f); });
    }
    return r;
  }
  // Tab and Shift+Tab pass over the controls the user cannot see.
  bool focusNextPrevChild(bool next) override {
    std::vector<std::pair<QPointer<QWidget>, Qt::FocusPolicy>> unseen;
    for (QWidget* w : client_->findChildren<QWidget*>())
      if ((w->focusPolicy() & Qt::TabFocus) && !ShowsInClient(w, client_)) {
        unseen.emplace_back(w, w->focusPolicy());
        w->setFocusPolicy(Qt::NoFocus);
      }
    const bool moved = QWidget::focusNextPrevChild(next);
    for (auto& [w, policy] : unseen)
      if (!w.isNull()) w->setFocusPolicy(policy);
    return moved;
  }

 private:
  // The scroll bars a window of `size` needs for the client area it must
  // show (at least `least`): their thickness across, zero where there is none.
  QSize Bars(const QSize& size, const QSize& least) const {
    const int across = scroll_->verticalScrollBar()->sizeHint().width();
    const int down = scroll_->horizontalScrollBar()->sizeHint().height();
    bool h = least.width() > size.width(), v = least.height() > size.height();
    if (h && !v) v = least.height() > size.height() - down;
    if (v && !h) h = least.width() > size.width() - across;
    return {v ? across : 0, h ? down : 0};
  }
  QSize Bars(const QSize& size) const { return least_.isValid() ? Bars(size, least_) : QSize(0, 0); }
  // The client area fills the window, or keeps its least size and scrolls,
  // whatever made the window smaller: the fit to the screen or the user.
  void Place() {
    scroll_->setGeometry(rect());
    const QSize least = Least();
    const QSize bars = Bars(size(), least);
    client_->resize(bars.isNull() ? size() : least.expandedTo(size() - bars));
  }

  TForm* form_;
  QWidget* client_;
  QScrollArea* scroll_;
  QSize least_;           // the client area's size while it scrolls; invalid otherwise
  QSize designed_{0, 0};  // the client area's size as the program gave it last
  bool fitWhenFramed_ = false;
};

FormWindow* WindowOf(const QWidget* client) {
  return client != nullptr ? static_cast<FormWindow*>(client->window()) : nullptr;
}

}  // namespace

void ClientSized(QWidget* client) {
  if (auto* w = dynamic_cast<FormWindow*>(client != nullptr ? client->window() : nullptr)) w->Designed(client->size());
}

// Moves a window that would reach beyond the free area of its screen (the
// screen minus panels and docks) into it, as little as needed.  A window
// larger than the area is made as large as the area: a form's client area
// then scrolls inside it; any other window that cannot shrink that far
// keeps its left or top edge on the area's.  The frame counts where the
// window system has told it.
void FitOnScreen(QWidget* w) {
  QScreen* screen = QGuiApplication::screenAt(w->geometry().center());
  if (screen == nullptr) screen = w->screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QRect before = w->frameGeometry();
  const QSize margins = before.size() - w->size();
  if (auto* form = dynamic_cast<FormWindow*>(w)) form->FitInto(area.size() - margins);
  else if (before.width() > area.width() || before.height() > area.height())
    w->resize(w->size().boundedTo(area.size() - margins));
  const QRect frame(before.topLeft(), w->size() + margins);
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
  auto* client = new ClientWidget(this);
  auto* window = new FormWindow(this, client);
  window->setAttribute(Qt::WA_DeleteOnClose, false);
  AttachWidget(client);
  SetVisible(false);
  ApplyBackground(client, Color());
  window->resize(320, 240);
  client->resize(320, 240);
  window->Designed(client->size());
}

TForm::~TForm() {
  if (Application != nullptr) {
    auto& forms = Application->forms_;
    forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
    if (Application->mainForm_ == this) Application->mainForm_ = nullptr;
  }
  if (FormWindow* w = WindowOf(Widget())) {
    w->detach();
    w->hide();
    // The controls free their widgets, and the form its client area, after this.
    w->ReleaseClient();
    delete w;
  }
}

void TForm::SetPosition(TPosition position) { position_ = position; }

void TForm::SetVisible(bool visible) {
  FormWindow* w = WindowOf(Widget());
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
      if (w->frameGeometry() == w->geometry()) w->FitWhenFramed();
    }
  } else {
    w->hide();
  }
}

void TForm::ShowForm() {
  QWidget* w = WindowOf(Widget());
  if (w == nullptr) return;
  FpShield shield;
  SetVisible(true);
  RaiseWindow(w);
  w->activateWindow();
}

void TForm::BringToFront() {
  QWidget* w = WindowOf(Widget());
  if (w == nullptr) return;
  FpShield shield;
  RaiseWindow(w);
  w->activateWindow();
}

void TForm::Close() {
  QWidget* w = WindowOf(Widget());
  if (w == nullptr) return;
  w->close();
}

bool TForm::Active() const { return Widget() != nullptr && Widget()->window()->isActiveWindow(); }

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
    Widget()->window()->showMinimized();
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
  return BitmapFromImage(w->grab().toImage());  // the whole client area, scrolled or not
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
