// The string grid's in-place editor: the line edit that shows over the
// current cell with the cell's text where the cell paints it, and the grid's
// side of editing (showing, moving, committing and ending it).
#include <QApplication>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <algorithm>

#include "toolkit/core/FpCheck.h"
#include "toolkit/grids/GridParts.h"
#include "toolkit/grids/Grids.h"
#include "toolkit/pictures/QtGraphics.h"

namespace tk {

using namespace gridparts;

namespace {

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

}  // namespace

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
      grid->EditorKey(e->key(), KeyModifiers(e), handled);
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
      // Tab and Shift+Tab leave the grid: the grid takes them as it does
      // with the editor closed.  The editor, made on first use, stands last
      // in the window's focus order: from it Tab would wrap to the first
      // control.
      if (IsFocusTab(k) && grid->Widget() != nullptr) {
        QApplication::sendEvent(grid->Widget(), k);
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
  if (impl_->edit) impl_->edit->setText(ToQString(text));
  else impl_->pendingText = text;
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
// The grid's side

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
  RaiseScrollBars(Widget());
}

// Keys typed into the editor that the grid takes: Enter and Escape end
// editing, the vertical keys (and Tab with goTabs) move to another cell with
// the editor following.
void TStringGrid::EditorKey(int key, unsigned modifiers, bool& handled) {
  handled = true;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: HideEditor(); break;
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
    case Qt::Key_Backtab: HandleKey(key, modifiers & ~ssShift, std::string()); break;
    default: handled = false;
  }
}

}  // namespace tk
