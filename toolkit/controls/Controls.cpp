// The control tree: parents own their children, aligned children are laid out
// by their parent, fonts follow the parent until a control gets its own, and
// the focus tracking raises OnExit/OnEnter within one window.
#include "toolkit/controls/Controls.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPalette>
#include <algorithm>

#include "toolkit/controls/QtControls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/FpCheck.h"

namespace tk {

TApplication* Application = nullptr;

namespace {

const char* const kControlProperty = "tkControl";
// While a container frees its children, Qt moves the focus around among
// widgets that are going; no OnExit/OnEnter is raised then.
int g_destroying = 0;

// The windows (TWinControl) that hold a widget, innermost first.
std::vector<TWinControl*> WinControlChain(const QWidget* w) {
  std::vector<TWinControl*> chain;
  for (TControl* c = ControlOf(w); c != nullptr; c = c->Parent())
    if (auto* wc = dynamic_cast<TWinControl*>(c)) chain.push_back(wc);
  return chain;
}

bool Contains(const std::vector<TWinControl*>& v, TWinControl* c) {
  return std::find(v.begin(), v.end(), c) != v.end();
}

// The focus moved from `old` to `now`.  Only a move inside one window counts:
// deactivating the window (focus to another window or to none) leaves the
// controls' focus as it was, so raises nothing.
void FocusChanged(QWidget* old, QWidget* now) {
  if (g_destroying > 0) return;
  if (old == nullptr || now == nullptr || old->window() != now->window()) return;
  const std::vector<TWinControl*> from = WinControlChain(old);
  const std::vector<TWinControl*> to = WinControlChain(now);
  for (TWinControl* c : from)
    if (!Contains(to, c) && c->OnExit) Dispatch([c] { c->OnExit(c); });
  for (auto it = to.rbegin(); it != to.rend(); ++it) {
    TWinControl* c = *it;
    if (!Contains(from, c) && c->OnEnter) Dispatch([c] { c->OnEnter(c); });
  }
}

// Re-lays out the aligned children when the user resizes a container.
class AlignHook : public QObject {
 public:
  AlignHook(TWinControl* control, QObject* parent) : QObject(parent), control_(control) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize && watched == control_->Widget()) control_->Realign();
    return false;
  }

 private:
  TWinControl* control_;
};

void ApplyFontTo(QWidget* w, const TFont& font) {
  w->setFont(ToQFont(font));
  QPalette pal = w->palette();
  const QColor c = ToQColor(font.Color);
  pal.setColor(QPalette::WindowText, c);
  pal.setColor(QPalette::Text, c);
  pal.setColor(QPalette::ButtonText, c);
  w->setPalette(pal);
}

// Focus changes reach the controls from the first control on.
void TrackFocus() {
  static bool tracking = false;
  if (tracking) return;
  tracking = true;
  QObject::connect(qApp, &QApplication::focusChanged, FocusChanged);
}

}  // namespace

// ---------------------------------------------------------------------------
// Helpers of QtControls.h

TControl* ControlOfExact(const QWidget* widget) {
  if (widget == nullptr) return nullptr;
  const QVariant v = widget->property(kControlProperty);
  return v.isValid() ? static_cast<TControl*>(v.value<void*>()) : nullptr;
}

TControl* ControlOf(const QWidget* widget) {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget())
    if (TControl* c = ControlOfExact(w)) return c;
  return nullptr;
}

TMouseButton ToMouseButton(QMouseEvent* e) {
  switch (e->button()) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
  }
}

TShiftState ToShiftState(QMouseEvent* e) {
  TShiftState s = 0;
  const Qt::KeyboardModifiers m = e->modifiers();
  if (m & Qt::ShiftModifier) s |= ssShift;
  if (m & Qt::AltModifier) s |= ssAlt;
  if (m & Qt::ControlModifier) s |= ssCtrl;
  const Qt::MouseButtons b = e->buttons() | e->button();
  if (b & Qt::LeftButton) s |= ssLeft;
  if (b & Qt::RightButton) s |= ssRight;
  if (b & Qt::MiddleButton) s |= ssMiddle;
  if (e->type() == QEvent::MouseButtonDblClick) s |= ssDouble;
  return s;
}

void EmitMouseDown(TControl* c, QMouseEvent* e, int x, int y) {
  if (c == nullptr || !c->OnMouseDown) return;
  const TMouseButton b = ToMouseButton(e);
  const TShiftState s = ToShiftState(e);
  Dispatch([=] { c->OnMouseDown(c, b, s, x, y); });
}

void EmitMouseUp(TControl* c, QMouseEvent* e, int x, int y) {
  if (c == nullptr || !c->OnMouseUp) return;
  const TMouseButton b = ToMouseButton(e);
  const TShiftState s = ToShiftState(e);
  Dispatch([=] { c->OnMouseUp(c, b, s, x, y); });
}

void EmitClick(TControl* c) {
  if (c != nullptr) c->Click();
}

void EmitDblClick(TControl* c) {
  if (c != nullptr) c->DblClick();
}

void ForwardPress(TControl* c, QWidget* w, QMouseEvent* e, bool& pressed) {
  e->accept();
  if (e->button() == Qt::LeftButton) pressed = true;
  const QPoint p = e->position().toPoint();
  EmitMouseDown(c, e, p.x(), p.y());
}

void ForwardRelease(TControl* c, QWidget* w, QMouseEvent* e, bool& pressed) {
  e->accept();
  const QPoint p = e->position().toPoint();
  const bool click = pressed && e->button() == Qt::LeftButton && w->rect().contains(p);
  if (e->button() == Qt::LeftButton) pressed = false;
  if (click) EmitClick(c);
  EmitMouseUp(c, e, p.x(), p.y());
}

void ForwardDoubleClick(TControl* c, QWidget* w, QMouseEvent* e) {
  e->accept();
  const QPoint p = e->position().toPoint();
  if (e->button() == Qt::LeftButton) EmitDblClick(c);
  EmitMouseDown(c, e, p.x(), p.y());
}

void ApplyBackground(QWidget* widget, TColor color) {
  QPalette pal = widget->palette();
  pal.setColor(QPalette::Window, ToQColor(color));
  widget->setPalette(pal);
  widget->setAutoFillBackground(true);
}

// ---------------------------------------------------------------------------
// TComponent

TComponent::TComponent(TWinControl* owner) : owner_(owner) {
  if (owner_ != nullptr) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  if (owner_ == nullptr) return;
  auto& owned = owner_->components_;
  owned.erase(std::remove(owned.begin(), owned.end(), this), owned.end());
}

// ---------------------------------------------------------------------------
// TControl

TControl::TControl(TWinControl* parent) : parent_(parent) {
  EnsureWindowing();
  TrackFocus();
  if (parent_ != nullptr) {
    parent_->children_.push_back(this);
    font_ = parent_->font_;  // a new control takes its parent's font
  } else {
    parentFont_ = false;
  }
}

TControl::~TControl() {
  if (parent_ != nullptr) {
    auto& siblings = parent_->children_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  if (widget_ != nullptr) {
    widget_->setProperty(kControlProperty, QVariant());
    delete widget_;
    widget_ = nullptr;
  }
}

void TControl::AttachWidget(QWidget* widget) {
  widget_ = widget;
  widget->setProperty(kControlProperty, QVariant::fromValue(static_cast<void*>(this)));
  if (parent_ != nullptr && parent_->widget_ != nullptr) widget->setParent(parent_->widget_);
  ApplyFontTo(widget, font_);
  if (auto* wc = dynamic_cast<TWinControl*>(this)) widget->installEventFilter(new AlignHook(wc, widget));
  if (parent_ != nullptr) widget->setVisible(visible_);
}

// A control without a parent is a window: its position is its window's (a
// form shows its client area inside a window of its own).
int TControl::Left() const { return widget_ ? (parent_ ? widget_->x() : widget_->window()->x()) : 0; }
int TControl::Top() const { return widget_ ? (parent_ ? widget_->y() : widget_->window()->y()) : 0; }
int TControl::Width() const { return widget_ ? widget_->width() : 0; }
int TControl::Height() const { return widget_ ? widget_->height() : 0; }
int TControl::ClientWidth() const { return Width(); }
int TControl::ClientHeight() const { return Height(); }

void TControl::SetBounds(int left, int top, int width, int height) {
  if (widget_ == nullptr) return;
  FpShield shield;
  width = std::max(0, width);
  height = std::max(0, height);
  if (parent_ == nullptr) {
    widget_->window()->move(left, top);
    widget_->window()->resize(width, height);
    widget_->resize(width, height);
    ClientSized(widget_);
  } else {
    widget_->setGeometry(left, top, width, height);
  }
  // Hidden widgets get their resize event only when shown; lay out now so
  // that sizes read before showing are the final ones.
  if (auto* wc = dynamic_cast<TWinControl*>(this)) wc->Realign();
  if (parent_ != nullptr && align_ != alNone) parent_->Realign();
}

void TControl::SetLeft(int v) { SetBounds(v, Top(), Width(), Height()); }
void TControl::SetTop(int v) { SetBounds(Left(), v, Width(), Height()); }
void TControl::SetWidth(int v) { SetBounds(Left(), Top(), v, Height()); }
void TControl::SetHeight(int v) { SetBounds(Left(), Top(), Width(), v); }

void TControl::SetAlign(TAlign align) {
  FpShield shield;
  align_ = align;
  if (parent_ != nullptr) parent_->Realign();
}

bool TControl::Visible() const {
  if (widget_ != nullptr && parent_ == nullptr) return widget_->isVisible();
  return visible_;
}

void TControl::SetVisible(bool visible) {
  visible_ = visible;
  if (widget_ != nullptr) {
    FpShield shield;
    widget_->setVisible(visible);
  }
  if (parent_ != nullptr && align_ != alNone) parent_->Realign();
}

void TControl::SetColor(TColor color) {
  FpShield shield;
  color_ = color;
  if (widget_ != nullptr) ApplyBackground(widget_, color);
  ColorChanged();
}

void TControl::SetFont(const TFont& font) {
  FpShield shield;
  font_ = font;
  parentFont_ = false;
  if (widget_ != nullptr) ApplyFontTo(widget_, font_);
  FontChanged();
  // Children that still follow their parent's font follow this one.
  if (auto* wc = dynamic_cast<TWinControl*>(this)) {
    for (TControl* child : wc->children_) {
      if (!child->parentFont_) continue;
      child->SetFont(font);
      child->parentFont_ = true;
    }
  }
}

void TControl::SetCaption(const std::string& caption) {
  FpShield shield;
  caption_ = caption;
  if (widget_ != nullptr && parent_ == nullptr) widget_->window()->setWindowTitle(ToQString(caption));
  CaptionChanged();
}

void TControl::SetHint(const std::string& hint) {
  FpShield shield;
  hint_ = hint;
  if (widget_ != nullptr) widget_->setToolTip(ToQString(hint));
}

void TControl::Invalidate() {
  if (widget_ != nullptr) widget_->update();
}

void TControl::Repaint() {
  if (widget_ == nullptr) return;
  FpShield shield;
  widget_->repaint();
}

void TControl::Click() {
  if (OnClick) Dispatch([this] { OnClick(this); });
}

void TControl::DblClick() {
  if (OnDblClick) Dispatch([this] { OnDblClick(this); });
}

TPoint TControl::ScreenToClient(TPoint p) const {
  if (widget_ == nullptr) return p;
  const QPoint q = widget_->mapFromGlobal(QPoint(p.X, p.Y));
  return {q.x(), q.y()};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  if (widget_ == nullptr) return p;
  const QPoint q = widget_->mapToGlobal(QPoint(p.X, p.Y));
  return {q.x(), q.y()};
}

// ---------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TWinControl* parent) : TControl(parent) {}

TWinControl::~TWinControl() {
  ++g_destroying;
  // The components first (a timer must not tick into controls that are
  // going), then the controls; each unlinks itself, last made first.
  while (!components_.empty()) delete components_.back();
  while (!children_.empty()) delete children_.back();
  --g_destroying;
}

TRect TWinControl::AlignRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }

void TWinControl::Realign() {
  if (Widget() == nullptr || aligning_) return;
  aligning_ = true;
  TRect r = AlignRect();
  // The platform's order: top, bottom, left, right, then client; each kind in
  // creation order, the first placed outermost.
  for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : children_) {
      if (c->Align() != kind || !c->visible_ || c->Widget() == nullptr) continue;
      const int w = c->Width(), h = c->Height();
      switch (kind) {
        case alTop:
          c->SetBounds(r.Left, r.Top, r.Width(), h);
          r.Top += h;
          break;
        case alBottom:
          c->SetBounds(r.Left, r.Bottom - h, r.Width(), h);
          r.Bottom -= h;
          break;
        case alLeft:
          c->SetBounds(r.Left, r.Top, w, r.Height());
          r.Left += w;
          break;
        case alRight:
          c->SetBounds(r.Right - w, r.Top, w, r.Height());
          r.Right -= w;
          break;
        case alClient: c->SetBounds(r.Left, r.Top, r.Width(), r.Height()); break;
        default: break;
      }
    }
  }
  aligning_ = false;
}

bool TWinControl::Focused() const { return Widget() != nullptr && ControlOf(QApplication::focusWidget()) == this; }

void TWinControl::SetFocus() {
  if (Widget() == nullptr) return;
  FpShield shield;
  Widget()->setFocus(Qt::OtherFocusReason);
}

}  // namespace tk
