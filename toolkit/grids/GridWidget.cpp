// The string grid's widget: keys, mouse, wheel, hint requests and paint
// requests come in here from the window system and go to the grid, and it
// holds the two scroll bars, which the grid sets to its view.
#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>

#include "toolkit/controls/Hints.h"
#include "toolkit/controls/QtControls.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/grids/GridParts.h"
#include "toolkit/grids/Grids.h"

namespace tk {

using namespace gridparts;

namespace {

unsigned ToModifiers(Qt::KeyboardModifiers m) {
  unsigned s = 0;
  if (m & Qt::ShiftModifier) s |= ssShift;
  if (m & Qt::AltModifier) s |= ssAlt;
  if (m & Qt::ControlModifier) s |= ssCtrl;
  return s;
}

}  // namespace

class GridWidget : public QWidget {
 public:
  explicit GridWidget(TStringGrid* grid) : grid_(grid) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    vbar_ = new QScrollBar(Qt::Vertical, this);
    hbar_ = new QScrollBar(Qt::Horizontal, this);
    for (QScrollBar* bar : {vbar_, hbar_}) {
      bar->hide();
      bar->setFocusPolicy(Qt::NoFocus);                   // the bars never take the focus from the grid or its editor
      bar->setContextMenuPolicy(Qt::PreventContextMenu);  // no menu of Qt's own (English) texts
      bar->setSingleStep(1);
    }
    // The bars scroll by whole rows and columns: their values are TopRow and LeftCol.
    QObject::connect(vbar_, &QScrollBar::valueChanged, this, [this](int v) {
      if (grid_ && !syncing_) {
        FpShield shield;
        grid_->SetTopRow(v);
      }
    });
    QObject::connect(hbar_, &QScrollBar::valueChanged, this, [this](int v) {
      if (grid_ && !syncing_) {
        FpShield shield;
        grid_->SetLeftCol(v);
      }
    });
  }
  TStringGrid* grid_;
  QScrollBar* vbar_;
  QScrollBar* hbar_;
  bool syncing_ = false;  // the bars are being set from the grid
  bool pressed_ = false;
  bool forwarding_ = false;  // a key is being handed to the editor
  int wheelRest_ = 0;        // wheel turn not yet worth a step (eighths of a degree)

 protected:
  void paintEvent(QPaintEvent* e) override {
    if (!grid_) return;
    FpShield shield;
    QPainter painter(this);
    std::unique_ptr<TCanvas> canvas = NewPainterCanvas(&painter, width(), height());
    const QRect r = e->rect();
    grid_->canvas_ = canvas.get();
    grid_->PaintCells(*canvas, TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
    grid_->canvas_ = nullptr;
    if (!vbar_->isHidden() && !hbar_->isHidden())  // the square between the two bars
      painter.fillRect(QRect(vbar_->x(), hbar_->y(), vbar_->width(), hbar_->height()), ToQColor(clBtnFace));
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (!grid_) return;
    const QPoint p = e->position().toPoint();
    grid_->HandleMouseDown(ToMouseButton(e), ToShiftState(e), p.x(), p.y(), false);
    if (grid_) ForwardPress(grid_, this, e, pressed_);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (!grid_) return;
    const QPoint p = e->position().toPoint();
    grid_->HandleMouseUp(ToMouseButton(e), ToShiftState(e), p.x(), p.y());
    if (grid_) ForwardRelease(grid_, this, e, pressed_);
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (!grid_) return;
    const QPoint p = e->position().toPoint();
    grid_->HandleMouseDown(ToMouseButton(e), ToShiftState(e), p.x(), p.y(), true);
    if (grid_) ForwardDoubleClick(grid_, this, e);
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (!grid_) return;
    const QPoint p = e->position().toPoint();
    TShiftState s = ToModifiers(e->modifiers());
    if (e->buttons() & Qt::LeftButton) s |= ssLeft;
    if (e->buttons() & Qt::RightButton) s |= ssRight;
    if (e->buttons() & Qt::MiddleButton) s |= ssMiddle;
    FpShield shield;
    grid_->MouseMove(s, p.x(), p.y());
  }
  void wheelEvent(QWheelEvent* e) override {
    if (!grid_) return;
    // The wheel scrolls the view (Shift or a sideways turn: the columns),
    // by the desktop's lines per notch; the current cell stays.  A turn the
    // view cannot follow, at its end that way, goes on to the window.
    QPoint d = e->angleDelta();
    if (d.x() == 0 && (e->modifiers() & Qt::ShiftModifier)) d = QPoint(d.y(), 0);
    const bool sideways = d.x() != 0 && d.y() == 0;
    const int turn = sideways ? d.x() : d.y();
    if (turn == 0 || !grid_->CanScroll(sideways, turn > 0)) {
      wheelRest_ = 0;
      e->ignore();
      return;
    }
    e->accept();
    wheelRest_ += turn;
    const int notches = wheelRest_ / 120;
    wheelRest_ -= notches * 120;
    if (notches == 0) return;
    FpShield shield;
    grid_->WheelScroll(sideways, notches * QApplication::wheelScrollLines());
  }
  void keyPressEvent(QKeyEvent* e) override {
    // While the editor shows, keys that reach the grid belong to the editor,
    // which ends every key it is given.  One coming back up from the editor
    // while it is being handed over has been handled there: never again.
    if (grid_ && grid_->editing_ && grid_->editor_ && grid_->editor_->Widget()) {
      QWidget* editor = grid_->editor_->Widget();
      if (!forwarding_) {
        QPointer<GridWidget> self(this);
        forwarding_ = true;
        QApplication::sendEvent(editor, e);
        if (self) forwarding_ = false;
      }
      e->accept();
      return;
    }
    if (grid_ && grid_->HandleKey(e->key(), ToModifiers(e->modifiers()), e->text().toStdString())) e->accept();
    else QWidget::keyPressEvent(e);
  }
  bool event(QEvent* e) override {
    if (grid_ && e->type() == QEvent::KeyPress) {
      // Tab moves between cells only with goTabs; otherwise it moves the focus on.
      auto* k = static_cast<QKeyEvent*>(e);
      if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && (grid_->Options() & goTabs)) {
        keyPressEvent(k);
        return true;
      }
      // Leaving the grid ends editing with the text in the cell.
      if (IsFocusTab(k) && grid_->editing_) {
        FpShield shield;
        grid_->HideEditor();
      }
    }
    if (grid_ && e->type() == QEvent::ToolTip) {
      auto* h = static_cast<QHelpEvent*>(e);
      ActivateHint(grid_, TPoint{h->pos().x(), h->pos().y()});
      return true;
    }
    return QWidget::event(e);
  }
  void focusInEvent(QFocusEvent* e) override {
    QWidget::focusInEvent(e);
    update();
  }
  void focusOutEvent(QFocusEvent* e) override {
    QWidget::focusOutEvent(e);
    update();
  }
  void resizeEvent(QResizeEvent* e) override {
    QWidget::resizeEvent(e);
    if (!grid_) return;
    FpShield shield;
    grid_->UpdateScrollBars();
    if (grid_->editing_) grid_->UpdateEditor();
  }
};

namespace gridparts {

QWidget* NewGridWidget(TStringGrid* grid) { return new GridWidget(grid); }

void ReleaseGridWidget(QWidget* widget) {
  if (widget != nullptr) static_cast<GridWidget*>(widget)->grid_ = nullptr;
}

void RaiseScrollBars(QWidget* widget) {
  if (widget == nullptr) return;
  static_cast<GridWidget*>(widget)->vbar_->raise();
  static_cast<GridWidget*>(widget)->hbar_->raise();
}

unsigned KeyModifiers(const QKeyEvent* event) { return ToModifiers(event->modifiers()); }

bool IsFocusTab(const QKeyEvent* event) {
  return (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) &&
         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

}  // namespace gridparts

void TStringGrid::UpdateScrollBars() {
  auto* w = static_cast<GridWidget*>(Widget());
  if (w == nullptr) return;
  FpShield shield;
  const Layout& b = CurrentLayout();
  // A grid grown (or cells shrunk) shows the last page whole.
  leftCol_ = ClampLeftCol(leftCol_);
  topRow_ = ClampTopRow(topRow_);
  const int cw = b.clientWidth, ch = b.clientHeight;
  w->syncing_ = true;
  // A bar's values are the first scrollable entry up to the last page's
  // first; a page is the entries that show whole from the current first.
  auto set = [](QScrollBar* bar, bool shown, const QRect& place, const std::vector<int>& sizes, int fixed, int count,
                int first, int last, int view) {
    if (!shown) {
      bar->hide();
      return;
    }
    bar->setGeometry(place);
    bar->setRange(std::min(fixed, count - 1), last);
    bar->setPageStep(std::max(1, WholeShown(sizes, fixed, first, view)));
    bar->setValue(first);
    bar->show();
    bar->raise();  // above the editor of a cell that reaches under it
  };
  set(w->vbar_, b.vert, QRect(cw, 0, kScrollBarSize, ch), rowHeights_, fixedRows_, rowCount_, topRow_, b.lastTopRow,
      ch);
  set(w->hbar_, b.horz, QRect(0, ch, cw, kScrollBarSize), colWidths_, fixedCols_, colCount_, leftCol_, b.lastLeftCol,
      cw);
  w->syncing_ = false;
}

// ---------------------------------------------------------------------------
// Simulated input

namespace {
void SendMouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons) {
  const QPointF local(x, y);
  const QPointF global = w->mapToGlobal(local);
  QMouseEvent e(type, local, local, global, button, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
}  // namespace

void TStringGrid::UserMouseMove(int x, int y, bool leftButtonDown) {
  SendMouse(Widget(), QEvent::MouseMove, x, y, Qt::NoButton, leftButtonDown ? Qt::LeftButton : Qt::NoButton);
}

bool TStringGrid::UserHintAt(int x, int y) { return ActivateHint(this, TPoint{x, y}); }

}  // namespace tk
