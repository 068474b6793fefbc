// Buttons, panels, group boxes, labels, the status bar, the timer and the
// progress bar.
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "toolkit/controls/Controls.h"
#include "toolkit/controls/QtControls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"

namespace tk {

namespace {

// A push button takes the focus on press (so that the control the user leaves
// raises OnExit first) and raises OnClick on release.  With the focus, Space
// presses it, and so do Return and the keypad's Enter, in any window.
class ButtonWidget : public QPushButton {
 public:
  explicit ButtonWidget(TControl* control) : control_(control) {
    setFocusPolicy(Qt::StrongFocus);
    setAutoDefault(false);
    QObject::connect(this, &QPushButton::clicked, this, [this] { EmitClick(control_); });
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    QPushButton::mousePressEvent(e);
    const QPoint p = e->position().toPoint();
    EmitMouseDown(control_, e, p.x(), p.y());
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    QPushButton::mouseReleaseEvent(e);
    const QPoint p = e->position().toPoint();
    EmitMouseUp(control_, e, p.x(), p.y());
  }
  void keyPressEvent(QKeyEvent* e) override {
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (!enter || (e->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return QPushButton::keyPressEvent(e);
    e->accept();
    if (!e->isAutoRepeat()) click();  // the clicked signal Space gives on its release
  }

 private:
  TControl* control_;
};

// The panel draws its own bevel and centred caption.
class PanelWidget : public MouseForwarding<QWidget> {
 public:
  explicit PanelWidget(TPanel* panel) : MouseForwarding<QWidget>(panel), panel_(panel) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect r = rect();
    if (panel_->BevelOuter() != bvNone && r.width() > 1 && r.height() > 1) {
      const bool raised = panel_->BevelOuter() == bvRaised;
      const QColor light = ToQColor(0x80000014), dark = ToQColor(0x80000010);
      p.setPen(raised ? light : dark);
      p.drawLine(r.left(), r.top(), r.right(), r.top());
      p.drawLine(r.left(), r.top(), r.left(), r.bottom());
      p.setPen(raised ? dark : light);
      p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
      p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    }
    if (!panel_->Caption().empty()) {
      p.setFont(font());
      p.setPen(ToQColor(panel_->Font().Color));
      p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, ToQString(panel_->Caption()));
    }
  }

 private:
  TPanel* panel_;
};

class GroupWidget : public MouseForwarding<QGroupBox> {
 public:
  explicit GroupWidget(TControl* c) : MouseForwarding<QGroupBox>(c) {}
};

class LabelWidget : public MouseForwarding<QLabel> {
 public:
  explicit LabelWidget(TControl* c) : MouseForwarding<QLabel>(c) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(false);
  }
};

class StatusWidget : public MouseForwarding<QWidget> {
 public:
  StatusWidget(TControl* c, const std::vector<int>* widths, const std::vector<std::string>* texts)
      : MouseForwarding<QWidget>(c), widths_(widths), texts_(texts) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QColor light = ToQColor(0x80000014), dark = ToQColor(0x80000010);
    int x = 0;
    for (size_t i = 0; i < widths_->size(); ++i) {
      const int w = (*widths_)[i];
      const QRect cell(x, 2, w - 2, height() - 2);
      p.setPen(dark);
      p.drawLine(cell.topLeft(), cell.topRight());
      p.drawLine(cell.topLeft(), cell.bottomLeft());
      p.setPen(light);
      p.drawLine(cell.bottomLeft(), cell.bottomRight());
      p.drawLine(cell.topRight(), cell.bottomRight());
      p.setPen(palette().color(QPalette::WindowText));
      p.setFont(font());
      p.drawText(cell.adjusted(3, 1, -2, -1), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                 ToQString((*texts_)[i]));
      x += w;
    }
  }

 private:
  const std::vector<int>* widths_;
  const std::vector<std::string>* texts_;
};

}  // namespace

// ---------------------------------------------------------------------------

TBitBtn::TBitBtn(TWinControl* parent) : TWinControl(parent) {
  AttachWidget(new ButtonWidget(this));
  Widget()->resize(75, 25);
}

void TBitBtn::SetGlyph(const TBitmap& glyph) {
  // The bottom-left pixel's colour is the glyph's transparent colour.
  QImage img = BitmapImage(glyph).convertToFormat(QImage::Format_ARGB32);
  if (img.isNull()) return;
  const QRgb key = img.pixel(0, img.height() - 1);
  for (int y = 0; y < img.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (line[x] == key) line[x] = 0;
  }
  auto* b = static_cast<QPushButton*>(Widget());
  b->setIcon(QIcon(QPixmap::fromImage(img)));
  b->setIconSize(img.size());
}

void TBitBtn::CaptionChanged() { static_cast<QPushButton*>(Widget())->setText(ToQString(Caption())); }
void TBitBtn::FontChanged() {}

// ---------------------------------------------------------------------------

TPanel::TPanel(TWinControl* parent) : TWinControl(parent) {
  AttachWidget(new PanelWidget(this));
  Widget()->resize(185, 41);
  SetColor(clBtnFace);
}

void TPanel::SetBevelOuter(TBevelCut bevel) {
  bevel_ = bevel;
  Widget()->update();
}

void TPanel::CaptionChanged() { Widget()->update(); }
void TPanel::ColorChanged() { Widget()->update(); }
void TPanel::FontChanged() { Widget()->update(); }

// ---------------------------------------------------------------------------

TGroupBox::TGroupBox(TWinControl* parent) : TWinControl(parent) {
  AttachWidget(new GroupWidget(this));
  Widget()->resize(185, 105);
  SetColor(clBtnFace);
}

TRect TGroupBox::AlignRect() const {
  // The caption line is not part of the area shared by aligned children.
  const int captionHeight = QFontMetrics(Widget()->font()).height();
  return {1, captionHeight + 1, ClientWidth() - 1, ClientHeight() - 1};
}

void TGroupBox::CaptionChanged() { static_cast<QGroupBox*>(Widget())->setTitle(ToQString(Caption())); }
void TGroupBox::ColorChanged() {}
void TGroupBox::FontChanged() {}

// ---------------------------------------------------------------------------

TLabel::TLabel(TWinControl* parent) : TControl(parent) {
  AttachWidget(new LabelWidget(this));
  Widget()->resize(32, 13);
}

void TLabel::SetAutoSize(bool autoSize) {
  autoSize_ = autoSize;
  if (autoSize_) Widget()->adjustSize();
}

void TLabel::CaptionChanged() {
  static_cast<QLabel*>(Widget())->setText(ToQString(Caption()));
  if (autoSize_) Widget()->adjustSize();
}

void TLabel::ColorChanged() {}

void TLabel::FontChanged() {
  if (autoSize_) Widget()->adjustSize();
}

// ---------------------------------------------------------------------------

TStatusBar::TStatusBar(TWinControl* parent) : TWinControl(parent) {
  AttachWidget(new StatusWidget(this, &widths_, &texts_));
  SetBounds(0, 0, parent != nullptr ? parent->ClientWidth() : 100, 19);
  SetAlign(alBottom);
  // The status bar takes the small status font, not its window's: a short
  // date ("09.12.2026", "12/09/2026") or a long time ("11:59:59 PM") fits a
  // 60-pixel panel beside its bevel and margins.
  TFont small;
  small.Height = -9;
  SetFont(small);
}

void TStatusBar::AddPanel(int width) {
  widths_.push_back(width);
  texts_.emplace_back();
  Widget()->update();
}

int TStatusBar::PanelCount() const { return static_cast<int>(texts_.size()); }

std::string TStatusBar::PanelText(int index) const {
  if (index < 0 || index >= PanelCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  return texts_[index];
}

void TStatusBar::SetPanelText(int index, const std::string& text) {
  if (index < 0 || index >= PanelCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  FpShield shield;
  texts_[index] = text;
  Widget()->update();
}

// ---------------------------------------------------------------------------

struct TTimer::Impl {
  QTimer timer;
  bool enabled = true;
  int interval = 1000;
  void Apply() {
    if (enabled && interval > 0) timer.start(interval);
    else timer.stop();
  }
};

TTimer::TTimer(TWinControl* owner) : TComponent(owner) {
  EnsureWindowing();
  FpShield shield;
  impl_ = std::make_unique<Impl>();
  QObject::connect(&impl_->timer, &QTimer::timeout, [this] { Tick(); });
  impl_->Apply();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int milliseconds) {
  FpShield shield;
  impl_->interval = milliseconds;
  impl_->Apply();
}
int TTimer::Interval() const { return impl_->interval; }
void TTimer::SetEnabled(bool enabled) {
  FpShield shield;
  impl_->enabled = enabled;
  impl_->Apply();
}
bool TTimer::Enabled() const { return impl_->enabled; }

void TTimer::Tick() {
  if (OnTimer) Dispatch([this] { OnTimer(this); });
}

// ---------------------------------------------------------------------------

TProgressBar::TProgressBar(TWinControl* parent) : TControl(parent) {
  AttachWidget(new QProgressBar());
  Widget()->resize(150, 16);
  Update();
}

void TProgressBar::Update() {
  auto* bar = static_cast<QProgressBar*>(Widget());
  bar->setRange(Min, Max);
  bar->setValue(Position);
}

}  // namespace tk
