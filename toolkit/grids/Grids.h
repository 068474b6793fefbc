#pragma once
// The plain string grid of the platform stand-in, with the hooks that the
// aligned grid overrides (cell painting, in-place editor, column and row moves).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/controls/Controls.h"
#include "toolkit/layout/LayoutStream.h"

namespace tk {

enum TGridOption : unsigned {
  goFixedVertLine = 1u << 0,
  goFixedHorzLine = 1u << 1,
  goVertLine = 1u << 2,
  goHorzLine = 1u << 3,
  goRangeSelect = 1u << 4,
  goDrawFocusSelected = 1u << 5,
  goRowSizing = 1u << 6,
  goColSizing = 1u << 7,
  goRowMoving = 1u << 8,
  goColMoving = 1u << 9,
  goEditing = 1u << 10,
  goTabs = 1u << 11,
  goRowSelect = 1u << 12,
  goAlwaysShowEditor = 1u << 13,
  goThumbTracking = 1u << 14
};
using TGridOptions = unsigned;
constexpr TGridOptions kDefaultGridOptions =
    goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

enum TGridDrawStateFlag : unsigned { gdSelected = 1, gdFocused = 2, gdFixed = 4 };
using TGridDrawState = unsigned;

struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class TStringGrid;

// The in-place cell editor.  Alignment: 0 right, 1 left, 2 centre.
class TInplaceEdit : public TObject {
 public:
  explicit TInplaceEdit(TStringGrid* grid);
  ~TInplaceEdit() override;
  TStringGrid* Grid() const { return grid_; }
  std::string Text() const;
  void SetText(const std::string& text);
  void SetFont(const TFont& font);
  const TFont& Font() const { return font_; }
  void SetColor(TColor color);
  TColor Color() const { return color_; }
  // Text alignment of the edit window; changing it re-creates the window.
  void SetTextAlignment(int alignment);
  int TextAlignment() const { return alignment_; }
  int WindowCreations() const { return creations_; }  // how often the window was (re)created
  void SelectAll();
  bool AllSelected() const;
  bool Visible() const;
  QWidget* Widget() const;  // toolkit-internal

 protected:
  // An editor whose window is first created with the given alignment.
  TInplaceEdit(TStringGrid* grid, int alignment);
  // Re-creates the edit window with the current alignment (the text stays).
  void RecreateWindow();

 private:
  friend class TStringGrid;
  struct Impl;
  std::unique_ptr<Impl> impl_;
  TStringGrid* grid_;
  TFont font_;
  TColor color_ = clWindow;
  int alignment_ = 1;
  int creations_ = 0;
};

using TDrawCellEvent = std::function<void(TObject* sender, int col, int row, const TRect& rect, TGridDrawState state)>;
using TMovedEvent = std::function<void(TObject* sender, int fromIndex, int toIndex)>;

class TStringGrid : public TWinControl, public TLayoutComponent {
 public:
  explicit TStringGrid(TWinControl* parent);
  ~TStringGrid() override;

  int ColCount() const { return colCount_; }
  int RowCount() const { return rowCount_; }
  void SetColCount(int n);
  void SetRowCount(int n);
  int FixedCols() const { return fixedCols_; }
  int FixedRows() const { return fixedRows_; }
  void SetFixedCols(int n);
  void SetFixedRows(int n);
  int DefaultColWidth() const { return defaultColWidth_; }
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultColWidth(int w);   // sets every column
  void SetDefaultRowHeight(int h);  // sets every row
  int ColWidth(int col) const;
  int RowHeight(int row) const;
  void SetColWidth(int col, int w);
  void SetRowHeight(int row, int h);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions options);
  // The scroll bars the grid may show; each shows while the columns (rows)
  // do not all fit, and scrolls by whole columns (rows).
  void SetScrollBars(TScrollStyle style);
  // The client area: the grid less the scroll bars that show.
  int ClientWidth() const override { return CurrentLayout().clientWidth; }
  int ClientHeight() const override { return CurrentLayout().clientHeight; }
  TColor FixedColor = clBtnFace;
  bool DefaultDrawing = true;

  // Cell text; an index outside the grid raises EListError
  // ("List index out of bounds (%d)").
  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, const std::string& text);

  // The cell under a client point; (-1, -1) when the point lies on no cell.
  void MouseToCell(int x, int y, int& col, int& row) const;
  TRect CellRect(int col, int row) const;

  int Col() const { return col_; }
  int Row() const { return row_; }
  void SetCurrentCell(int col, int row);
  TGridRect Selection() const;
  void SetSelectionRect(const TGridRect& rect);

  // Program-triggered moves (also what a drag by the user ends in).
  void MoveColumn(int fromIndex, int toIndex);
  void MoveRow(int fromIndex, int toIndex);

  TDrawCellEvent OnDrawCell;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;

  // The canvas of the grid while it paints (null otherwise).
  TCanvas* Canvas() const { return canvas_; }
  TInplaceEdit* InplaceEditor() const { return editor_.get(); }
  // Starts editing the current cell (as typing or F2 does), creating the editor on first use.
  void ShowEditor();
  void HideEditor();
  // Paints every cell into a bitmap of the grid's size (tests).
  std::unique_ptr<TBitmap> PaintToBitmap();

  // The editor is showing over the current cell.
  bool EditorMode() const { return editing_; }
  // The first scrollable column and row shown after the fixed ones.
  int LeftCol() const { return leftCol_; }
  int TopRow() const { return topRow_; }
  void SetLeftCol(int col);
  void SetTopRow(int row);
  TScrollStyle ScrollBars() const { return scrollBars_; }
  // Whether the vertical (horizontal) scroll bar shows.
  bool VertScrollBarShown() const { return CurrentLayout().vert; }
  bool HorzScrollBarShown() const { return CurrentLayout().horz; }

  // A mouse move over the grid as the window system delivers it, and a hint
  // asked for at a client point as a rest of the mouse does (tests; clicks
  // and keys go through toolkit/testing/Testing.h).
  void UserMouseMove(int x, int y, bool leftButtonDown = false);
  bool UserHintAt(int x, int y);

 protected:
  // Paints one cell: with DefaultDrawing the text at (left + 2, top + 2) on the
  // fixed colour or the grid colour; then OnDrawCell.
  virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state);
  virtual TInplaceEdit* CreateEditor();
  // Asked before the editor is shown or moved; the base answers goEditing
  // without goRowSelect.
  virtual bool CanEditShow();
  // Move the texts and sizes of a column (row) and raise OnColumnMoved
  // (OnRowMoved); run by MoveColumn/MoveRow and by dragging a header cell.
  virtual void ColumnMoved(int fromIndex, int toIndex);
  virtual void RowMoved(int fromIndex, int toIndex);
  virtual void MouseMove(TShiftState shift, int x, int y);
  // The text of a cell inside the grid, without a copy (painting).
  const std::string& CellText(int col, int row) const { return cells_[col][row]; }
  // The grid's published properties (ColCount, RowCount, FixedCols,
  // FixedRows, DefaultColWidth, DefaultRowHeight, DefaultDrawing), each
  // stored when it differs from its default.
  void DefineProperties(TFiler& filer) override;
  // A layout has been read into the grid.
  void Loaded() override {}
  void ColorChanged() override;
  void FontChanged() override;

 private:
  friend class GridWidget;
  friend class EditWidget;
  friend class TInplaceEdit;
  // What the bars take of the grid, for its size and the sizes of its cells.
  // It is worked out again only after either changed: the generation counts
  // the changes of counts, sizes, fixed cells and bar style.
  struct Layout {
    int width = -1, height = -1;
    unsigned generation = 0;
    bool vert = false, horz = false;
    int clientWidth = 0, clientHeight = 0;
    // The last page's first column and row: the view scrolls no further, by
    // key, wheel, bar or program alike.
    int lastLeftCol = 0, lastTopRow = 0;
  };
  const Layout& CurrentLayout() const;
  void UpdateScrollBars();  // shows, hides and sets the bars to the sizes and the view
  void Relayout();          // sizes or counts changed: bars, then a repaint
  void Scrolled();          // the view moved: bars, then a repaint
  int ClampLeftCol(int col) const;
  int ClampTopRow(int row) const;
  void WheelScroll(bool columns, int lines);
  // The view can move one column (row) back (towards the first) or on.
  bool CanScroll(bool columns, bool back) const;
  void PaintCells(TCanvas& canvas, const TRect& clip);
  static void DrawFocusFrame(TCanvas& canvas, const TRect& rect);  // the dotted frame of the focused cell or row
  int ColLeft(int col) const;                                      // -1: not shown (scrolled away)
  int RowTop(int row) const;
  void ResizeCells();
  void ClampCurrent();
  void ScrollInView(int col, int row);
  void MoveCurrent(int col, int row, bool extend);
  void UpdateEditor();  // places the editor over the current cell (or hides it)
  void CommitEditor();  // the editor's text into the current cell
  bool CanEditNow();    // editing allowed in principle (options, cell)
  void EditorKey(int qtKey, unsigned modifiers, bool& handled);
  void HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y, bool dbl);
  void HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  void HandleMouseMove(TShiftState shift, int x, int y, bool leftDown);
  bool HandleKey(int qtKey, unsigned modifiers, const std::string& text);
  int colCount_ = 5, rowCount_ = 5, fixedCols_ = 1, fixedRows_ = 1;
  int defaultColWidth_ = 64, defaultRowHeight_ = 24;
  std::vector<int> colWidths_, rowHeights_;
  std::vector<std::vector<std::string>> cells_;  // [col][row]
  TGridOptions options_ = kDefaultGridOptions;
  TScrollStyle scrollBars_ = ssBoth;
  int col_ = 1, row_ = 1;
  int leftCol_ = 1, topRow_ = 1;
  TGridRect selection_{1, 1, 1, 1};
  int anchorCol_ = 1, anchorRow_ = 1;  // the fixed corner of a range being selected
  TCanvas* canvas_ = nullptr;
  std::unique_ptr<TInplaceEdit> editor_;
  bool editing_ = false;
  int editCol_ = -1, editRow_ = -1;  // the cell the editor shows
  std::string editOriginal_;         // the cell's text when editing started (Escape restores it)
  // A drag in progress: 0 none, 1 selecting, 2 moving a column, 3 moving a
  // row, 4 sizing a column, 5 sizing a row.
  int drag_ = 0;
  int dragIndex_ = -1, dragTarget_ = -1, dragStart_ = 0, dragSize_ = 0;
  unsigned generation_ = 1;
  mutable Layout layout_;
};

}  // namespace tk
