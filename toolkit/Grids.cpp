// The plain string grid: a custom-painted widget with fixed header cells, a
// current cell and a selection, an in-place editor, keyboard navigation and
// column and row moves and sizing by dragging the header cells.
#include "toolkit/Grids.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>

#include "toolkit/Hints.h"
#include "toolkit/QtInternal.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"

namespace tk {

namespace {

[[noreturn]] void IndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

constexpr int kLineWidth = 1;        // grid lines, 1 pixel

// Calls f(index, start) for the columns (or rows) shown: the fixed ones, then
// those from `first` on, while they start before `limit`.  Returns early when
// f returns true.
template <class F>
void ForShown(const std::vector<int>& sizes, int fixed, int first, int limit, F f) {
  int pos = 0;
  const int n = static_cast<int>(sizes.size());
  for (int i = 0; i < n && pos < limit; ++i) {
    if (i == fixed) i = std::max(i, first);  // past the entries scrolled away
    if (i >= n || f(i, pos)) return;
    pos += sizes[static_cast<size_t>(i)] + kLineWidth;
  }
}
// The smallest first scrollable index from which the entries up to `last`
// all fit, whole, into `view` pixels behind the fixed ones (`last` itself
// when even it does not fit).
int FirstToShow(const std::vector<int>& sizes, int fixed, int last, int view) {
  int used = 0;
  for (int i = 0; i < fixed; ++i) used += sizes[static_cast<size_t>(i)] + kLineWidth;
  int first = last;
  used += sizes[static_cast<size_t>(first)];
  while (first > fixed && used + sizes[static_cast<size_t>(first - 1)] + kLineWidth <= view) {
    --first;
    used += sizes[static_cast<size_t>(first)] + kLineWidth;
  }
  return first;
}
// The first scrollable column or row of the last page: the largest worth scrolling to.
int LastPageStart(const std::vector<int>& sizes, int fixed, int view) {
  const int n = static_cast<int>(sizes.size());
  if (fixed >= n) return std::max(0, n - 1);
  return FirstToShow(sizes, fixed, n - 1, view);
}

// How many entries from `first` on show whole in `view` pixels behind the fixed ones.
int WholeShown(const std::vector<int>& sizes, int fixed, int first, int view) {
  int pos = 0, count = 0;
  for (int i = 0; i < fixed && i < static_cast<int>(sizes.size()); ++i) pos += sizes[static_cast<size_t>(i)] + kLineWidth;
  for (int i = first; i < static_cast<int>(sizes.size()) && pos + sizes[static_cast<size_t>(i)] <= view; ++i, ++count)
    pos += sizes[static_cast<size_t>(i)] + kLineWidth;
  return count;
}

constexpr int kScrollBarSize = 16;   // the width of a vertical bar, the height of a horizontal one
constexpr int kSizingMargin = 2;     // pixels either side of a header line that start sizing
constexpr TColor kLineColor = clSilver;
constexpr TColor kFixedLineColor = 0x808080;

// The editor's font, rendered as the canvas renders cell text (grayscale
// antialiasing, vertical hinting only), so that its glyphs fall on the same
// pixels as the painted cell's.
QFont EditorFont(const TFont& font) {
  QFont f = ToQFont(font);
  f.setStyleStrategy(QFont::NoSubpixelAntialias);
  f.setHintingPreference(QFont::PreferVerticalHinting);
  return f;
}

// The line edit's own text placement, which the margins below shift onto the
// cell's: its text line starts this far inside the margins.
constexpr int kLineEditHMargin = 2;
constexpr int kLineEditVMargin = 1;

unsigned ToModifiers(Qt::KeyboardModifiers m) {
  unsigned s = 0;
  if (m & Qt::ShiftModifier) s |= ssShift;
  if (m & Qt::AltModifier) s |= ssAlt;
  if (m & Qt::ControlModifier) s |= ssCtrl;
  return s;
}

}  // namespace

// ---------------------------------------------------------------------------
// The widgets

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
      bar->setFocusPolicy(Qt::NoFocus);  // the bars never take the focus from the grid or its editor
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
  bool syncing_ = false;     // the bars are being set from the grid
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
    e->accept();
    if (!grid_) return;
    // The wheel scrolls the view (Shift or a sideways turn: the columns),
    // by the desktop's lines per notch; the current cell stays.
    QPoint d = e->angleDelta();
    if (d.x() == 0 && (e->modifiers() & Qt::ShiftModifier)) d = QPoint(d.y(), 0);
    const bool sideways = d.x() != 0 && d.y() == 0;
    wheelRest_ += sideways ? d.x() : d.y();
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
    if (grid_ && grid_->HandleKey(e->key(), ToModifiers(e->modifiers()), e->text().toStdString()))
      e->accept();
    else
      QWidget::keyPressEvent(e);
  }
  bool event(QEvent* e) override {
    if (grid_ && e->type() == QEvent::KeyPress) {
      // Tab moves between cells only with goTabs; otherwise it moves the focus on.
      auto* k = static_cast<QKeyEvent*>(e);
      if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && (grid_->Options() & goTabs)) {
        keyPressEvent(k);
        return true;
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

class EditWidget : public QLineEdit {
 public:
  EditWidget(TInplaceEdit* owner, QWidget* parent) : QLineEdit(parent), owner_(owner) {
    setFrame(false);
    // The text is placed by the margins, from the left and top edges.
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QObject::connect(this, &QLineEdit::textChanged, this, [this] { PlaceText(); });
    hide();
  }
  TInplaceEdit* owner_;

  // Puts the text where the cell paints it: 2 pixels below the top, and
  // 2 pixels from the left edge, 2 from the right edge, or centred (the
  // half pixel to the right), as long as it fits; a longer text scrolls
  // with the cursor as in any line edit.
  void PlaceText() {
    const int alignment = owner_ ? owner_->TextAlignment() : 1;
    const int w = width();
    const int tw = QFontMetrics(font()).horizontalAdvance(text());
    int x = 2;
    if (alignment == 0) x = w - tw - 2;
    else if (alignment == 2) x = (w - tw) / 2 + 1;
    const int left = std::max(0, x - kLineEditHMargin);
    // One pixel beyond the right edge keeps a text that reaches 2 pixels
    // from it in the line edit's own "fits" placement (its cursor's pixel).
    const QMargins m(left, 2 - kLineEditVMargin, -1, 0);
    if (textMargins() != m) setTextMargins(m);
  }

 protected:
  void resizeEvent(QResizeEvent* e) override {
    QLineEdit::resizeEvent(e);
    PlaceText();
  }
  void keyPressEvent(QKeyEvent* e) override {
    TStringGrid* grid = owner_ ? owner_->Grid() : nullptr;
    if (grid) {
      bool handled = false;
      grid->EditorKey(e->key(), ToModifiers(e->modifiers()), handled);
      if (handled) {
        e->accept();
        return;
      }
    }
    QLineEdit::keyPressEvent(e);
    // A key neither the grid's editing keys nor the line edit take ends
    // here: passed up, it would reach the grid a second time.
    e->accept();
  }
  bool event(QEvent* e) override {
    TStringGrid* grid = owner_ ? owner_->Grid() : nullptr;
    if (grid && e->type() == QEvent::KeyPress) {
      auto* k = static_cast<QKeyEvent*>(e);
      if ((k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) && (grid->Options() & goTabs)) {
        keyPressEvent(k);
        return true;
      }
    }
    return QLineEdit::event(e);
  }
  void focusOutEvent(QFocusEvent* e) override {
    QLineEdit::focusOutEvent(e);
    TStringGrid* grid = owner_ ? owner_->Grid() : nullptr;
    if (!grid || !grid->EditorMode()) return;
    // Deactivating the window keeps the editor; the focus going to another
    // control of the window ends editing (the text is already in the cell).
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    QWidget* now = QApplication::focusWidget();
    if (now == grid->Widget() || now == this) return;
    if (!(grid->Options() & goAlwaysShowEditor)) grid->HideEditor();
  }
};

// ---------------------------------------------------------------------------
// TInplaceEdit

struct TInplaceEdit::Impl {
  QPointer<EditWidget> edit;
  std::string pendingText;  // the text while no window exists
};

TInplaceEdit::TInplaceEdit(TStringGrid* grid) : TInplaceEdit(grid, 1) {}

TInplaceEdit::TInplaceEdit(TStringGrid* grid, int alignment)
    : impl_(std::make_unique<Impl>()), grid_(grid), alignment_(alignment) {
  font_ = grid->Font();
  color_ = grid->Color();
  RecreateWindow();
}

TInplaceEdit::~TInplaceEdit() {
  if (impl_->edit) {
    impl_->edit->owner_ = nullptr;
    delete impl_->edit.data();
  }
}

QWidget* TInplaceEdit::Widget() const { return impl_->edit.data(); }

void TInplaceEdit::RecreateWindow() {
  FpShield shield;
  QWidget* parent = grid_->Widget();
  QString text;
  QRect geometry;
  bool shown = false, focused = false;
  if (impl_->edit) {
    text = impl_->edit->text();
    geometry = impl_->edit->geometry();
    shown = !impl_->edit->isHidden();
    focused = impl_->edit->hasFocus() || QApplication::focusWidget() == impl_->edit;
    // Park the focus on the grid so that removing the window does not move
    // it to another control (which would count as leaving the grid).
    if (focused && parent) parent->setFocus(Qt::OtherFocusReason);
    impl_->edit->owner_ = nullptr;
    delete impl_->edit.data();
  } else {
    text = ToQString(impl_->pendingText);
  }
  auto* edit = new EditWidget(this, parent);
  impl_->edit = edit;
  ++creations_;
  edit->setFont(EditorFont(font_));
  QPalette pal = edit->palette();
  pal.setColor(QPalette::Base, ToQColor(color_));
  pal.setColor(QPalette::Text, ToQColor(font_.Color));
  edit->setPalette(pal);
  edit->setText(text);
  edit->PlaceText();
  QObject::connect(edit, &QLineEdit::textEdited, edit, [this](const QString& t) {
    // What is typed goes into the cell at once, so that the grid's texts are
    // current whenever a handler reads them.
    TStringGrid* g = grid_;
    if (g && g->editing_ && g->editCol_ >= 0 && g->editCol_ < g->colCount_ && g->editRow_ >= 0 &&
        g->editRow_ < g->rowCount_)
      g->cells_[g->editCol_][g->editRow_] = FromQString(t);
  });
  if (!geometry.isNull()) edit->setGeometry(geometry);
  if (shown) {
    edit->show();
    if (focused) edit->setFocus(Qt::OtherFocusReason);
  }
}

std::string TInplaceEdit::Text() const { return impl_->edit ? FromQString(impl_->edit->text()) : impl_->pendingText; }

void TInplaceEdit::SetText(const std::string& text) {
  if (impl_->edit)
    impl_->edit->setText(ToQString(text));
  else
    impl_->pendingText = text;
}

void TInplaceEdit::SetFont(const TFont& font) {
  font_ = font;
  if (!impl_->edit) return;
  impl_->edit->setFont(EditorFont(font));
  impl_->edit->PlaceText();
  QPalette pal = impl_->edit->palette();
  pal.setColor(QPalette::Text, ToQColor(font.Color));
  impl_->edit->setPalette(pal);
}

void TInplaceEdit::SetColor(TColor color) {
  color_ = color;
  if (!impl_->edit) return;
  QPalette pal = impl_->edit->palette();
  pal.setColor(QPalette::Base, ToQColor(color));
  impl_->edit->setPalette(pal);
}

void TInplaceEdit::SetTextAlignment(int alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  RecreateWindow();
}

void TInplaceEdit::SelectAll() {
  if (impl_->edit) impl_->edit->selectAll();
}

bool TInplaceEdit::AllSelected() const {
  if (!impl_->edit) return false;
  const QString t = impl_->edit->text();
  if (t.isEmpty()) return true;
  return impl_->edit->selectedText() == t;
}

bool TInplaceEdit::Visible() const { return impl_->edit && !impl_->edit->isHidden(); }

// ---------------------------------------------------------------------------
// TStringGrid: construction and sizes

TStringGrid::TStringGrid(TWinControl* parent) : TWinControl(parent) {
  auto* w = new GridWidget(this);
  AttachWidget(w);
  SetColor(clWindow);
  colWidths_.assign(colCount_, defaultColWidth_);
  rowHeights_.assign(rowCount_, defaultRowHeight_);
  cells_.assign(colCount_, std::vector<std::string>(rowCount_));
}

TStringGrid::~TStringGrid() {
  editor_.reset();
  if (auto* w = static_cast<GridWidget*>(Widget())) w->grid_ = nullptr;
}

void TStringGrid::ResizeCells() {
  colWidths_.resize(colCount_, defaultColWidth_);
  rowHeights_.resize(rowCount_, defaultRowHeight_);
  cells_.resize(colCount_);
  for (auto& column : cells_) column.resize(rowCount_);
}

void TStringGrid::ClampCurrent() {
  auto clamp = [](int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); };
  const int loC = std::min(fixedCols_, colCount_ - 1), loR = std::min(fixedRows_, rowCount_ - 1);
  col_ = clamp(col_, loC, colCount_ - 1);
  row_ = clamp(row_, loR, rowCount_ - 1);
  anchorCol_ = clamp(anchorCol_, loC, colCount_ - 1);
  anchorRow_ = clamp(anchorRow_, loR, rowCount_ - 1);
  leftCol_ = clamp(leftCol_, loC, colCount_ - 1);
  topRow_ = clamp(topRow_, loR, rowCount_ - 1);
  selection_.Left = clamp(selection_.Left, loC, colCount_ - 1);
  selection_.Right = clamp(selection_.Right, loC, colCount_ - 1);
  selection_.Top = clamp(selection_.Top, loR, rowCount_ - 1);
  selection_.Bottom = clamp(selection_.Bottom, loR, rowCount_ - 1);
  if (options_ & goRowSelect) {
    selection_.Left = loC;
    selection_.Right = colCount_ - 1;
  }
}

void TStringGrid::SetColCount(int n) {
  n = std::max(1, n);
  if (n == colCount_) return;
  HideEditor();
  colCount_ = n;
  if (fixedCols_ >= n) fixedCols_ = n - 1;
  ResizeCells();
  ClampCurrent();
  Relayout();
}

void TStringGrid::SetRowCount(int n) {
  n = std::max(1, n);
  if (n == rowCount_) return;
  HideEditor();
  rowCount_ = n;
  if (fixedRows_ >= n) fixedRows_ = n - 1;
  ResizeCells();
  ClampCurrent();
  Relayout();
}

void TStringGrid::SetFixedCols(int n) {
  if (n < 0) n = 0;
  if (n >= colCount_) throw Exception("Fixed column count must be less than column count");
  if (n == fixedCols_) return;
  HideEditor();
  fixedCols_ = n;
  // The current cell goes back to the first scrollable cell.
  col_ = anchorCol_ = leftCol_ = n;
  row_ = anchorRow_ = topRow_ = fixedRows_;
  selection_ = TGridRect{col_, row_, col_, row_};
  ClampCurrent();
  Relayout();
}

void TStringGrid::SetFixedRows(int n) {
  if (n < 0) n = 0;
  if (n >= rowCount_) throw Exception("Fixed row count must be less than row count");
  if (n == fixedRows_) return;
  HideEditor();
  fixedRows_ = n;
  col_ = anchorCol_ = leftCol_ = fixedCols_;
  row_ = anchorRow_ = topRow_ = n;
  selection_ = TGridRect{col_, row_, col_, row_};
  ClampCurrent();
  Relayout();
}

void TStringGrid::SetDefaultColWidth(int w) {
  defaultColWidth_ = std::max(0, w);
  std::fill(colWidths_.begin(), colWidths_.end(), defaultColWidth_);
  if (editing_) UpdateEditor();
  Relayout();
}

void TStringGrid::SetDefaultRowHeight(int h) {
  defaultRowHeight_ = std::max(0, h);
  std::fill(rowHeights_.begin(), rowHeights_.end(), defaultRowHeight_);
  if (editing_) UpdateEditor();
  Relayout();
}

int TStringGrid::ColWidth(int col) const {
  if (col < 0 || col >= colCount_) IndexError(col);
  return colWidths_[col];
}

int TStringGrid::RowHeight(int row) const {
  if (row < 0 || row >= rowCount_) IndexError(row);
  return rowHeights_[row];
}

void TStringGrid::SetColWidth(int col, int w) {
  if (col < 0 || col >= colCount_) IndexError(col);
  colWidths_[col] = std::max(0, w);
  if (editing_) UpdateEditor();
  Relayout();
}

void TStringGrid::SetRowHeight(int row, int h) {
  if (row < 0 || row >= rowCount_) IndexError(row);
  rowHeights_[row] = std::max(0, h);
  if (editing_) UpdateEditor();
  Relayout();
}

void TStringGrid::SetOptions(TGridOptions options) {
  options_ = options;
  if (options_ & goRowSelect) HideEditor();
  ClampCurrent();
  if (options_ & goRowSelect) selection_.Top = selection_.Bottom = row_;
  Invalidate();
}

void TStringGrid::SetScrollBars(TScrollStyle style) {
  scrollBars_ = style;
  Relayout();
  if (editing_) UpdateEditor();
}

// ---------------------------------------------------------------------------
// Scroll bars

const TStringGrid::Layout& TStringGrid::CurrentLayout() const {
  const int w = Width(), h = Height();
  Layout& l = layout_;
  if (l.width == w && l.height == h && l.generation == generation_) return l;
  const bool mayVert = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  const bool mayHorz = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  // Each bar narrows the room for the other; three rounds settle it.
  bool vert = false, horz = false;
  for (int round = 0; round < 3; ++round) {
    const bool v = mayVert && LastPageStart(rowHeights_, fixedRows_, h - (horz ? kScrollBarSize : 0)) > fixedRows_;
    const bool z = mayHorz && LastPageStart(colWidths_, fixedCols_, w - (vert ? kScrollBarSize : 0)) > fixedCols_;
    if (v == vert && z == horz) break;
    vert = v;
    horz = z;
  }
  l.width = w;
  l.height = h;
  l.generation = generation_;
  l.vert = vert;
  l.horz = horz;
  l.clientWidth = std::max(0, w - (vert ? kScrollBarSize : 0));
  l.clientHeight = std::max(0, h - (horz ? kScrollBarSize : 0));
  l.lastLeftCol = LastPageStart(colWidths_, fixedCols_, l.clientWidth);
  l.lastTopRow = LastPageStart(rowHeights_, fixedRows_, l.clientHeight);
  return l;
}

int TStringGrid::ClampLeftCol(int col) const {
  return std::max(std::min(fixedCols_, colCount_ - 1), std::min(col, CurrentLayout().lastLeftCol));
}

int TStringGrid::ClampTopRow(int row) const {
  return std::max(std::min(fixedRows_, rowCount_ - 1), std::min(row, CurrentLayout().lastTopRow));
}

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

void TStringGrid::Relayout() {
  const int left = leftCol_, top = topRow_;
  ++generation_;
  Scrolled();
  if (editing_ && (left != leftCol_ || top != topRow_)) UpdateEditor();
}

void TStringGrid::Scrolled() {
  UpdateScrollBars();
  Invalidate();
}

void TStringGrid::WheelScroll(bool columns, int lines) {
  const int now = columns ? leftCol_ : topRow_;
  const int to = columns ? ClampLeftCol(now - lines) : ClampTopRow(now - lines);
  if (to == now) return;
  if (columns) SetLeftCol(to);
  else SetTopRow(to);
}

void TStringGrid::ColorChanged() { Invalidate(); }

void TStringGrid::FontChanged() {
  Invalidate();
  if (editor_) editor_->SetFont(Font());
}

// ---------------------------------------------------------------------------
// Cells and geometry

std::string TStringGrid::Cells(int col, int row) const {
  if (col < 0 || col >= colCount_) IndexError(col);
  if (row < 0 || row >= rowCount_) IndexError(row);
  return cells_[col][row];
}

void TStringGrid::SetCells(int col, int row, const std::string& text) {
  if (col < 0 || col >= colCount_) IndexError(col);
  if (row < 0 || row >= rowCount_) IndexError(row);
  if (cells_[col][row] == text) return;
  cells_[col][row] = text;
  if (editing_ && editor_ && col == editCol_ && row == editRow_ && editor_->Text() != text) editor_->SetText(text);
  Invalidate();  // the window system merges the repaints
}

int TStringGrid::ColLeft(int col) const {
  if (col < 0 || col >= colCount_) return -1;
  int x = 0;
  if (col < fixedCols_) {
    for (int i = 0; i < col; ++i) x += colWidths_[i] + kLineWidth;
    return x;
  }
  if (col < leftCol_) return -1;
  for (int i = 0; i < fixedCols_; ++i) x += colWidths_[i] + kLineWidth;
  for (int i = leftCol_; i < col; ++i) x += colWidths_[i] + kLineWidth;
  return x;
}

int TStringGrid::RowTop(int row) const {
  if (row < 0 || row >= rowCount_) return -1;
  int y = 0;
  if (row < fixedRows_) {
    for (int i = 0; i < row; ++i) y += rowHeights_[i] + kLineWidth;
    return y;
  }
  if (row < topRow_) return -1;
  for (int i = 0; i < fixedRows_; ++i) y += rowHeights_[i] + kLineWidth;
  for (int i = topRow_; i < row; ++i) y += rowHeights_[i] + kLineWidth;
  return y;
}

TRect TStringGrid::CellRect(int col, int row) const {
  const int x = ColLeft(col), y = RowTop(row);
  if (x < 0 || y < 0) return TRect{};
  return TRect{x, y, x + colWidths_[col], y + rowHeights_[row]};
}

void TStringGrid::MouseToCell(int x, int y, int& col, int& row) const {
  col = row = -1;
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight()) return;
  int c = -1, r = -1;
  // A cell owns the grid line to its right and below it.
  ForShown(colWidths_, fixedCols_, leftCol_, x + 1, [&](int i, int left) {
    if (x < left + colWidths_[i] + kLineWidth) c = i;
    return c >= 0;
  });
  ForShown(rowHeights_, fixedRows_, topRow_, y + 1, [&](int i, int top) {
    if (y < top + rowHeights_[i] + kLineWidth) r = i;
    return r >= 0;
  });
  if (c < 0 || r < 0) return;
  col = c;
  row = r;
}

// ---------------------------------------------------------------------------
// Current cell, selection, scrolling

void TStringGrid::SetCurrentCell(int col, int row) {
  if (col < fixedCols_ || col >= colCount_ || row < fixedRows_ || row >= rowCount_) return;
  MoveCurrent(col, row, false);
}

TGridRect TStringGrid::Selection() const { return selection_; }

void TStringGrid::SetSelectionRect(const TGridRect& rect) {
  TGridRect r = rect;
  if (r.Left > r.Right) std::swap(r.Left, r.Right);
  if (r.Top > r.Bottom) std::swap(r.Top, r.Bottom);
  selection_ = r;
  anchorCol_ = r.Left;
  anchorRow_ = r.Top;
  const bool moved = col_ != r.Right || row_ != r.Bottom;
  if (moved && editing_) CommitEditor();
  col_ = r.Right;
  row_ = r.Bottom;
  ClampCurrent();
  if (moved && editing_) UpdateEditor();
  Invalidate();
}

void TStringGrid::MoveCurrent(int col, int row, bool extend) {
  const int loC = std::min(fixedCols_, colCount_ - 1), loR = std::min(fixedRows_, rowCount_ - 1);
  col = std::max(loC, std::min(col, colCount_ - 1));
  row = std::max(loR, std::min(row, rowCount_ - 1));
  const bool moved = col != col_ || row != row_;
  if (moved && editing_) CommitEditor();
  col_ = col;
  row_ = row;
  if (!extend || !(options_ & goRangeSelect)) {
    anchorCol_ = col;
    anchorRow_ = row;
  }
  selection_ = TGridRect{std::min(anchorCol_, col), std::min(anchorRow_, row), std::max(anchorCol_, col),
                         std::max(anchorRow_, row)};
  if (options_ & goRowSelect) {
    selection_.Left = loC;
    selection_.Right = colCount_ - 1;
  }
  ScrollInView(col, row);
  if (moved && editing_) UpdateEditor();
  Invalidate();
}

void TStringGrid::ScrollInView(int col, int row) {
  const int w = ClientWidth(), h = ClientHeight();
  if (w <= 0 || h <= 0) return;
  // The cell shows whole (its right and bottom lines may be cut), the view
  // moving as little as it must.
  int left = leftCol_, top = topRow_;
  if (col >= fixedCols_) left = col < left ? col : std::max(left, FirstToShow(colWidths_, fixedCols_, col, w));
  if (row >= fixedRows_) top = row < top ? row : std::max(top, FirstToShow(rowHeights_, fixedRows_, row, h));
  if (left != leftCol_ || top != topRow_) {
    leftCol_ = left;
    topRow_ = top;
    Scrolled();
    if (editing_) UpdateEditor();
  }
}

void TStringGrid::SetLeftCol(int col) {
  leftCol_ = ClampLeftCol(col);
  Scrolled();
  if (editing_) UpdateEditor();
}

void TStringGrid::SetTopRow(int row) {
  topRow_ = ClampTopRow(row);
  Scrolled();
  if (editing_) UpdateEditor();
}

// ---------------------------------------------------------------------------
// The in-place editor

bool TStringGrid::CanEditShow() { return (options_ & goEditing) && !(options_ & goRowSelect); }

TInplaceEdit* TStringGrid::CreateEditor() { return new TInplaceEdit(this); }

bool TStringGrid::CanEditNow() {
  return (options_ & goEditing) && !(options_ & goRowSelect) && col_ >= fixedCols_ && row_ >= fixedRows_ &&
         col_ < colCount_ && row_ < rowCount_;
}

void TStringGrid::ShowEditor() {
  if (editing_ || !CanEditNow()) return;
  FpShield shield;
  ScrollInView(col_, row_);  // the wheel or a bar may have scrolled it away
  // Asked before the editor exists (nothing to prepare yet) and again once it does.
  if (!CanEditShow()) return;
  if (!editor_) {
    editor_.reset(CreateEditor());
    if (!CanEditShow()) return;
  }
  editing_ = true;
  editOriginal_ = cells_[col_][row_];
  editCol_ = col_;
  editRow_ = row_;
  editor_->SetText(editOriginal_);
  const TRect r = CellRect(col_, row_);
  QWidget* w = editor_->Widget();
  w->setGeometry(r.Left, r.Top, r.Width(), r.Height());
  w->show();
  editor_->SelectAll();
  if (Widget()->hasFocus() || Widget()->window()->isActiveWindow() || !QApplication::focusWidget())
    w->setFocus(Qt::OtherFocusReason);
}

void TStringGrid::HideEditor() {
  if (!editing_) return;
  FpShield shield;
  CommitEditor();
  editing_ = false;
  editCol_ = editRow_ = -1;
  if (editor_ && editor_->Widget()) {
    QWidget* w = editor_->Widget();
    // The focus goes back to the grid before the editor is hidden, so that it
    // does not wander to another control.
    if (w->hasFocus() || QApplication::focusWidget() == w) Widget()->setFocus(Qt::OtherFocusReason);
    w->hide();
  }
  Invalidate();
}

void TStringGrid::CommitEditor() {
  if (!editing_ || !editor_) return;
  if (editCol_ >= 0 && editCol_ < colCount_ && editRow_ >= 0 && editRow_ < rowCount_)
    cells_[editCol_][editRow_] = editor_->Text();
}

void TStringGrid::UpdateEditor() {
  if (!editing_ || !editor_) return;
  FpShield shield;
  CommitEditor();
  if (!CanEditNow() || !CanEditShow()) {
    HideEditor();
    return;
  }
  QWidget* w = editor_->Widget();  // CanEditShow may have re-created it
  const bool newCell = editCol_ != col_ || editRow_ != row_;
  editCol_ = col_;
  editRow_ = row_;
  if (newCell) {
    editOriginal_ = cells_[col_][row_];
    editor_->SetText(editOriginal_);
    editor_->SelectAll();
  }
  const TRect r = CellRect(col_, row_);
  if (r.Width() <= 0 || r.Height() <= 0) {
    // Scrolled out of view (or sized to nothing): editing ends with the
    // text in the cell, and the focus stays on the grid.
    HideEditor();
    return;
  }
  w->setGeometry(r.Left, r.Top, r.Width(), r.Height());
  w->show();
  // The bars stay above the editor (their values follow every scroll already).
  if (auto* g = static_cast<GridWidget*>(Widget())) {
    g->vbar_->raise();
    g->hbar_->raise();
  }
}

// Keys typed into the editor that the grid takes: Enter and Escape end
// editing, the vertical keys (and Tab with goTabs) move to another cell with
// the editor following.
void TStringGrid::EditorKey(int key, unsigned modifiers, bool& handled) {
  handled = true;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      HideEditor();
      break;
    case Qt::Key_Escape: {
      const std::string original = editOriginal_;
      if (editor_) editor_->SetText(original);
      HideEditor();
      break;
    }
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      HandleKey(key, modifiers & ~ssShift, std::string());
      break;
    default:
      handled = false;
  }
}

// ---------------------------------------------------------------------------
// Keyboard

bool TStringGrid::HandleKey(int key, unsigned modifiers, const std::string& text) {
  FpShield shield;
  const bool shift = modifiers & ssShift, ctrl = modifiers & ssCtrl;
  const int loC = std::min(fixedCols_, colCount_ - 1), loR = std::min(fixedRows_, rowCount_ - 1);
  auto pageRows = [&] { return std::max(1, WholeShown(rowHeights_, fixedRows_, topRow_, ClientHeight())); };
  switch (key) {
    case Qt::Key_Up: MoveCurrent(col_, row_ - 1, shift); return true;
    case Qt::Key_Down: MoveCurrent(col_, row_ + 1, shift); return true;
    case Qt::Key_Left:
      if (!(options_ & goRowSelect)) MoveCurrent(col_ - 1, row_, shift);
      return true;
    case Qt::Key_Right:
      if (!(options_ & goRowSelect)) MoveCurrent(col_ + 1, row_, shift);
      return true;
    case Qt::Key_PageUp: MoveCurrent(col_, row_ - pageRows(), shift); return true;
    case Qt::Key_PageDown: MoveCurrent(col_, row_ + pageRows(), shift); return true;
    case Qt::Key_Home: MoveCurrent(loC, ctrl ? loR : row_, shift); return true;
    case Qt::Key_End: MoveCurrent(colCount_ - 1, ctrl ? rowCount_ - 1 : row_, shift); return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
      if (!(options_ & goTabs)) return false;
      const bool back = key == Qt::Key_Backtab || shift;
      int c = col_, r = row_;
      if (back) {
        if (--c < loC) { c = colCount_ - 1; if (--r < loR) r = rowCount_ - 1; }
      } else {
        if (++c >= colCount_) { c = loC; if (++r >= rowCount_) r = loR; }
      }
      MoveCurrent(c, r, false);
      return true;
    }
    case Qt::Key_F2:
      ShowEditor();
      if (editing_ && editor_) {
        auto* e = static_cast<QLineEdit*>(editor_->Widget());
        e->deselect();
        e->end(false);
      }
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      ShowEditor();
      return true;
    default:
      break;
  }
  // A printable character starts editing with that character as the new text.
  if (!ctrl && !text.empty() && static_cast<unsigned char>(text[0]) >= 0x20 && text[0] != 0x7F && CanEditNow()) {
    ShowEditor();
    if (editing_ && editor_) {
      auto* e = static_cast<QLineEdit*>(editor_->Widget());
      e->setText(ToQString(text));
      emit e->textEdited(e->text());
    }
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------
// Mouse

void TStringGrid::HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y, bool dbl) {
  FpShield shield;
  if (button != mbLeft) return;
  int c, r;
  MouseToCell(x, y, c, r);
  const bool hadFocus = Widget()->hasFocus() || (editor_ && editor_->Widget() && editor_->Widget()->hasFocus());
  if (dbl) {
    if (c == col_ && r == row_ && c >= fixedCols_ && r >= fixedRows_) ShowEditor();
    return;
  }
  if (c < 0 || r < 0) return;
  if (!editing_ || !(editor_ && editor_->Widget() && editor_->Widget()->hasFocus()))
    Widget()->setFocus(Qt::MouseFocusReason);
  if (c >= fixedCols_ && r >= fixedRows_) {
    const bool wasCurrent = c == col_ && r == row_;
    MoveCurrent(c, r, (shift & ssShift) != 0);
    drag_ = (options_ & goRangeSelect) && !(options_ & goRowSelect) ? 1 : 0;
    if (wasCurrent && hadFocus && !editing_ && CanEditNow()) ShowEditor();
    return;
  }
  // Header cells: size a column or row at its line, or move it.
  HideEditor();
  if (r < fixedRows_ && (options_ & goColSizing)) {
    int found = -1;
    ForShown(colWidths_, fixedCols_, leftCol_, x + kSizingMargin + 1, [&](int i, int left) {
      if (std::abs(x - (left + colWidths_[i])) <= kSizingMargin) found = i;
      return found >= 0;
    });
    if (found >= 0) {
      drag_ = 4; dragIndex_ = found; dragStart_ = x; dragSize_ = colWidths_[found];
      return;
    }
  }
  if (c < fixedCols_ && (options_ & goRowSizing)) {
    int found = -1;
    ForShown(rowHeights_, fixedRows_, topRow_, y + kSizingMargin + 1, [&](int i, int top) {
      if (std::abs(y - (top + rowHeights_[i])) <= kSizingMargin) found = i;
      return found >= 0;
    });
    if (found >= 0) {
      drag_ = 5; dragIndex_ = found; dragStart_ = y; dragSize_ = rowHeights_[found];
      return;
    }
  }
  if (r < fixedRows_ && c >= fixedCols_ && (options_ & goColMoving)) {
    drag_ = 2; dragIndex_ = dragTarget_ = c;
  } else if (c < fixedCols_ && r >= fixedRows_ && (options_ & goRowMoving)) {
    drag_ = 3; dragIndex_ = dragTarget_ = r;
  }
}

void TStringGrid::HandleMouseMove(TShiftState shift, int x, int y, bool leftDown) {
  if (!leftDown) {
    if (drag_) drag_ = 0;
    return;
  }
  int c, r;
  MouseToCell(x, y, c, r);
  switch (drag_) {
    case 1:
      if (c >= fixedCols_ && r >= fixedRows_) MoveCurrent(c, r, true);
      break;
    case 2:
      if (c >= fixedCols_) dragTarget_ = c;
      break;
    case 3:
      if (r >= fixedRows_) dragTarget_ = r;
      break;
    case 4:
      SetColWidth(dragIndex_, std::max(0, dragSize_ + x - dragStart_));
      break;
    case 5:
      SetRowHeight(dragIndex_, std::max(0, dragSize_ + y - dragStart_));
      break;
    default:
      break;
  }
}

void TStringGrid::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (button != mbLeft) return;
  FpShield shield;
  const int kind = drag_;
  drag_ = 0;
  int c, r;
  MouseToCell(x, y, c, r);
  if (kind == 2) {
    const int to = c >= fixedCols_ ? c : dragTarget_;
    if (to >= fixedCols_ && to != dragIndex_) MoveColumn(dragIndex_, to);
  } else if (kind == 3) {
    const int to = r >= fixedRows_ ? r : dragTarget_;
    if (to >= fixedRows_ && to != dragIndex_) MoveRow(dragIndex_, to);
  }
}

void TStringGrid::MouseMove(TShiftState shift, int x, int y) { HandleMouseMove(shift, x, y, (shift & ssLeft) != 0); }

// ---------------------------------------------------------------------------
// Moves

namespace {
template <class V>
void MoveEntry(V& v, int from, int to) {
  auto item = std::move(v[from]);
  v.erase(v.begin() + from);
  v.insert(v.begin() + to, std::move(item));
}
// Where an index lands when the entry at from moves to to.
int Follow(int i, int from, int to) {
  if (i == from) return to;
  if (from < to && i > from && i <= to) return i - 1;
  if (from > to && i >= to && i < from) return i + 1;
  return i;
}
}  // namespace

void TStringGrid::MoveColumn(int fromIndex, int toIndex) {
  if (fromIndex < 0 || fromIndex >= colCount_) IndexError(fromIndex);
  if (toIndex < 0 || toIndex >= colCount_) IndexError(toIndex);
  if (fromIndex == toIndex) return;
  HideEditor();
  col_ = Follow(col_, fromIndex, toIndex);
  anchorCol_ = Follow(anchorCol_, fromIndex, toIndex);
  selection_ = TGridRect{std::min(anchorCol_, col_), selection_.Top, std::max(anchorCol_, col_), selection_.Bottom};
  ClampCurrent();
  ColumnMoved(fromIndex, toIndex);
}

void TStringGrid::MoveRow(int fromIndex, int toIndex) {
  if (fromIndex < 0 || fromIndex >= rowCount_) IndexError(fromIndex);
  if (toIndex < 0 || toIndex >= rowCount_) IndexError(toIndex);
  if (fromIndex == toIndex) return;
  HideEditor();
  row_ = Follow(row_, fromIndex, toIndex);
  anchorRow_ = Follow(anchorRow_, fromIndex, toIndex);
  selection_ = TGridRect{selection_.Left, std::min(anchorRow_, row_), selection_.Right, std::max(anchorRow_, row_)};
  ClampCurrent();
  RowMoved(fromIndex, toIndex);
}

void TStringGrid::ColumnMoved(int fromIndex, int toIndex) {
  MoveEntry(cells_, fromIndex, toIndex);
  MoveEntry(colWidths_, fromIndex, toIndex);
  Relayout();
  if (OnColumnMoved) Dispatch([&] { OnColumnMoved(this, fromIndex, toIndex); });
}

void TStringGrid::RowMoved(int fromIndex, int toIndex) {
  for (auto& column : cells_) MoveEntry(column, fromIndex, toIndex);
  MoveEntry(rowHeights_, fromIndex, toIndex);
  Relayout();
  if (OnRowMoved) Dispatch([&] { OnRowMoved(this, fromIndex, toIndex); });
}

// ---------------------------------------------------------------------------
// Painting

void TStringGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
  if (DefaultDrawing) {
    const std::string& text = cells_[col][row];
    const size_t zero = text.find('\0');  // the painted text ends at its first zero byte
    canvas_->TextRectOpaque(rect, rect.Left + 2, rect.Top + 2, text.data(), zero == std::string::npos ? text.size() : zero);
  }
  if (OnDrawCell) Dispatch([&] { OnDrawCell(this, col, row, rect, state); });
}

void TStringGrid::PaintCells(TCanvas& canvas, const TRect& clip) {
  canvas.Brush = TBrush();
  canvas.Brush.Color = Color();
  canvas.FillRect(clip);
  const bool focused = Focused();
  auto intersects = [&](const TRect& r) {
    return r.Left - kLineWidth < clip.Right && r.Right + kLineWidth > clip.Left && r.Top - kLineWidth < clip.Bottom &&
           r.Bottom + kLineWidth > clip.Top;
  };
  std::vector<std::pair<int, int>> rows;  // (row, top) of the rows shown in the clip
  ForShown(rowHeights_, fixedRows_, topRow_, clip.Bottom, [&](int r, int y) {
    rows.emplace_back(r, y);
    return false;
  });
  ForShown(colWidths_, fixedCols_, leftCol_, clip.Right, [&](int c, int x) {
    for (const auto& [r, y] : rows) {
      const TRect rect{x, y, x + colWidths_[c], y + rowHeights_[r]};
      if (!intersects(rect)) continue;
      const bool fixed = c < fixedCols_ || r < fixedRows_;
      TGridDrawState state = 0;
      if (fixed) state |= gdFixed;
      if (!fixed && c >= selection_.Left && c <= selection_.Right && r >= selection_.Top && r <= selection_.Bottom)
        state |= gdSelected;
      if (!fixed && focused && c == col_ && r == row_) state |= gdFocused;
      // Grid lines: the one to the right of the cell and the one below it.
      const bool vert = fixed ? (options_ & goFixedVertLine) : (options_ & goVertLine);
      const bool horz = fixed ? (options_ & goFixedHorzLine) : (options_ & goHorzLine);
      canvas.Brush.Style = bsSolid;
      canvas.Brush.Color = fixed ? kFixedLineColor : kLineColor;
      if (vert) canvas.FillRect(TRect{rect.Right, rect.Top, rect.Right + kLineWidth, rect.Bottom + kLineWidth});
      if (horz) canvas.FillRect(TRect{rect.Left, rect.Bottom, rect.Right + kLineWidth, rect.Bottom + kLineWidth});
      // The cell on the colours of its kind, in the grid's font.
      canvas.Font = Font();
      const bool highlight =
          (state & gdSelected) && (!(state & gdFocused) || (options_ & (goDrawFocusSelected | goRowSelect)));
      if (fixed) {
        canvas.Brush.Color = FixedColor;
      } else if (highlight) {
        canvas.Brush.Color = clHighlight;
        canvas.Font.Color = clHighlightText;
      } else {
        canvas.Brush.Color = Color();
      }
      DrawCell(c, r, rect, state);
      if ((state & gdFocused) && !(options_ & goRowSelect) && DefaultDrawing) {
        canvas.Pen = TPen();
        canvas.Pen.Style = psDot;
        canvas.Brush.Style = bsClear;
        canvas.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
        canvas.Brush.Style = bsSolid;
      }
    }
    return false;
  });
}

std::unique_ptr<TBitmap> TStringGrid::PaintToBitmap() {
  FpShield shield;
  auto bitmap = std::make_unique<TBitmap>(std::max(1, ClientWidth()), std::max(1, ClientHeight()));
  TCanvas& canvas = bitmap->Canvas();
  TCanvas* previous = canvas_;
  canvas_ = &canvas;
  try {
    PaintCells(canvas, TRect{0, 0, bitmap->Width(), bitmap->Height()});
  } catch (...) {
    canvas_ = previous;
    throw;
  }
  canvas_ = previous;
  return bitmap;
}

// ---------------------------------------------------------------------------
// Layout

void TStringGrid::DefineProperties(TFiler& filer) {
  // Published sizes, each stored when it differs from its default.  Values
  // that no grid can take are refused as invalid, not allocated.
  auto count = [](TReader& r, int most) {
    const int32_t v = r.ReadInteger();
    if (v < 1 || v > most) RaiseInvalidPropertyValue();
    return v;
  };
  auto size = [](TReader& r) {
    const int32_t v = r.ReadInteger();
    if (v < 0 || v > 32767) RaiseInvalidPropertyValue();
    return v;
  };
  constexpr int kMostCells = 1 << 20;
  filer.DefineProperty(
      "ColCount", [this, count](TReader& r) { SetColCount(count(r, kMostCells / rowCount_)); },
      [this](TWriter& w) { w.WriteInteger(colCount_); }, colCount_ != 5);
  filer.DefineProperty(
      "RowCount", [this, count](TReader& r) { SetRowCount(count(r, kMostCells / colCount_)); },
      [this](TWriter& w) { w.WriteInteger(rowCount_); }, rowCount_ != 5);
  filer.DefineProperty(
      "FixedCols",
      [this](TReader& r) {
        const int32_t v = r.ReadInteger();
        if (v < 0 || v >= colCount_) RaiseInvalidPropertyValue();
        SetFixedCols(v);
      },
      [this](TWriter& w) { w.WriteInteger(fixedCols_); }, fixedCols_ != 1);
  filer.DefineProperty(
      "FixedRows",
      [this](TReader& r) {
        const int32_t v = r.ReadInteger();
        if (v < 0 || v >= rowCount_) RaiseInvalidPropertyValue();
        SetFixedRows(v);
      },
      [this](TWriter& w) { w.WriteInteger(fixedRows_); }, fixedRows_ != 1);
  filer.DefineProperty(
      "DefaultColWidth", [this, size](TReader& r) { SetDefaultColWidth(size(r)); },
      [this](TWriter& w) { w.WriteInteger(defaultColWidth_); }, defaultColWidth_ != 64);
  filer.DefineProperty(
      "DefaultRowHeight", [this, size](TReader& r) { SetDefaultRowHeight(size(r)); },
      [this](TWriter& w) { w.WriteInteger(defaultRowHeight_); }, defaultRowHeight_ != 24);
  filer.DefineProperty(
      "DefaultDrawing", [this](TReader& r) { DefaultDrawing = r.ReadBoolean(); },
      [this](TWriter& w) { w.WriteBoolean(DefaultDrawing); }, !DefaultDrawing);
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
