#pragma once
// The aligned string grid: a string grid whose cells can each have their own
// alignment, background colour, font and hint, with per-column and per-row
// fallbacks (separate ones for the fixed header cells) and a grid-wide
// default.  The attributes live in sparse lists filled from the window layout;
// they follow their columns and rows when these are moved.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/controls/Hints.h"
#include "toolkit/grids/Grids.h"
#include "toolkit/layout/LayoutStream.h"

namespace grid {

using tk::TColor;
using tk::TFont;

// Stored in layouts as this ordinal.
enum TCellAlign : uint8_t { alRight = 0, alLeft = 1, alCenter = 2 };

// A sparse list: an index at or beyond the length, or a null entry, is "not set".
template <class T>
using TSparseList = std::vector<std::unique_ptr<T>>;
// A cell list: sparse by column, each entry a sparse list by row (a null
// column list is distinct from an empty one).
template <class T>
using TCellList = std::vector<std::unique_ptr<TSparseList<T>>>;

[[noreturn]] void RaiseListIndexError(int index);

// The entry at index, or null.
template <class T>
T* GetListItem(int index, const TSparseList<T>& list) {
  if (index < 0 || static_cast<size_t>(index) >= list.size()) return nullptr;
  return list[static_cast<size_t>(index)].get();
}

// Pads the list with null entries up to index, puts item there and hands back
// the entry that was there (null if none) for the caller to release.
template <class T>
std::unique_ptr<T> SetListItem(int index, TSparseList<T>& list, std::unique_ptr<T> item) {
  if (index < 0) RaiseListIndexError(index);
  if (static_cast<size_t>(index) >= list.size()) list.resize(static_cast<size_t>(index) + 1);
  std::unique_ptr<T> old = std::move(list[static_cast<size_t>(index)]);
  list[static_cast<size_t>(index)] = std::move(item);
  return old;
}

// Moves the entry at from to to; entries between shift by one.  A short list
// is padded with null entries, so a move of an unset entry leaves to unset.
template <class T>
void MoveListItem(int from, int to, TSparseList<T>& list) {
  if (to < 0) RaiseListIndexError(to);
  std::unique_ptr<T> item = SetListItem<T>(from, list, nullptr);
  list.erase(list.begin() + from);
  while (list.size() < static_cast<size_t>(to)) list.emplace_back();
  list.insert(list.begin() + to, std::move(item));
}

template <class T>
T* GetCellItem(int col, int row, const TCellList<T>& cells) {
  if (col < 0 || row < 0 || static_cast<size_t>(col) >= cells.size()) return nullptr;
  const TSparseList<T>* column = cells[static_cast<size_t>(col)].get();
  if (!column) return nullptr;
  return GetListItem<T>(row, *column);
}

template <class T>
std::unique_ptr<T> SetCellItem(int col, int row, TCellList<T>& cells, std::unique_ptr<T> item) {
  if (col < 0) RaiseListIndexError(col);
  if (row < 0) RaiseListIndexError(row);
  if (static_cast<size_t>(col) >= cells.size()) cells.resize(static_cast<size_t>(col) + 1);
  auto& column = cells[static_cast<size_t>(col)];
  if (!column) column = std::make_unique<TSparseList<T>>();
  return SetListItem<T>(row, *column, std::move(item));
}

// Moves row from to to in every column list, creating empty column lists
// where there were none.
template <class T>
void MoveCellRowItems(int from, int to, TCellList<T>& cells) {
  for (size_t i = cells.size(); i-- > 0;) {
    if (!cells[i]) cells[i] = std::make_unique<TSparseList<T>>();
    MoveListItem<T>(from, to, *cells[i]);
  }
}

// Releasing the items of a list (no effect on a null list).  With owning
// entries these only empty the list; they keep the named steps of teardown.
void FreeListBlocks(TSparseList<TCellAlign>* list);
void FreeListBlocks(TSparseList<TColor>* list);
void FreeListStrings(TSparseList<std::string>* list);
void FreeListObjects(TSparseList<TFont>* list);
template <class T>
void FreeCellList(TCellList<T>* cells) {
  if (!cells) return;
  for (auto& column : *cells)
    if (column) column->clear();
  cells->clear();
}

// A list that owns the objects it holds.
class TObjectList {
 public:
  TObjectList() = default;
  TObjectList(const TObjectList&) = delete;
  TObjectList& operator=(const TObjectList&) = delete;
  // Frees every object, from the last to the first.
  virtual ~TObjectList();
  int Count() const { return static_cast<int>(items_.size()); }
  tk::TObject* Items(int index) const;
  int Add(tk::TObject* item);  // takes ownership; returns the index
  int IndexOf(const tk::TObject* item) const;
  // Frees the object at index and removes the entry.
  virtual void Delete(int index);
  // Deletes item when held; returns its former index, or -1.
  virtual int Remove(tk::TObject* item);

 private:
  std::vector<tk::TObject*> items_;
};

class TAlignedGrid;

// A registered show-hint handler: the grid method and the grid it runs on.
using TShowHintCode = void (TAlignedGrid::*)(std::string& hintStr, bool& canShow, tk::THintInfo& hintInfo);
class TMethod : public tk::TObject {
 public:
  TMethod(TShowHintCode code, TAlignedGrid* data) : Code(code), Data(data) {}
  TShowHintCode Code;
  TAlignedGrid* Data;
};

// The object on which the application's show-hint event runs.
class TDummyObject : public tk::TObject {
 public:
  void DispatchShowHint(std::string& hintStr, bool& canShow, tk::THintInfo& hintInfo);
};

// The hint registry shared by all grids: the application has a single
// show-hint event, so each grid registers its handler here and the dispatcher
// calls them all, the latest registered first.
void RegisterShowHint(TShowHintCode code, TAlignedGrid* data);
void UnregisterShowHint(TShowHintCode code, TAlignedGrid* data);
void DispatchShowHint(std::string& hintStr, bool& canShow, tk::THintInfo& hintInfo);
// Frees the registry at program exit (after the windows); later calls of the
// operations above find no registry and do nothing.
void FreeHintRegistry();
const TObjectList* HintRegistry();

// The in-place editor of the aligned grid: takes the alignment of the cell
// being edited.
class TAlignedInplaceEdit : public tk::TInplaceEdit {
 public:
  explicit TAlignedInplaceEdit(tk::TStringGrid* grid);
  TCellAlign Alignment() const { return alignment_; }
  // A new alignment re-creates the edit window and selects the whole text;
  // the same alignment changes nothing.
  void SetAlignment(TCellAlign value);
  // The edit-control style bits of an alignment (right 2, left 0, centre 1).
  static unsigned AlignmentStyle(TCellAlign value);

 private:
  TCellAlign alignment_ = alRight;
};

// The seventeen stored properties' flags, in their declaration order.
struct TStoredFlags {
  bool AlignCell = false, AlignCol = false, AlignRow = false, FixedAlignCol = false, FixedAlignRow = false;
  bool ColorCell = false, ColorCol = false, ColorRow = false, ColorFixedCol = false, ColorFixedRow = false;
  bool HintCell = false, Cells = false;
  bool FontCell = false, FontCol = false, FontRow = false, FontFixedCol = false, FontFixedRow = false;
};

// The seventeen attribute lists.
struct TAttributeLists {
  TSparseList<TCellAlign> AlignCol, AlignRow, FixedAlignCol, FixedAlignRow;
  TCellList<TCellAlign> AlignCell;
  TSparseList<TColor> ColorCol, ColorRow, ColorFixedCol, ColorFixedRow;
  TCellList<TColor> ColorCell;
  TCellList<std::string> HintCell;
  // Cell texts read from a layout, held until the end of loading; absent after.
  std::unique_ptr<TCellList<std::string>> Cells;
  TSparseList<TFont> FontCol, FontRow, FontFixedCol, FontFixedRow;
  TCellList<TFont> FontCell;
};

class TAlignedGrid : public tk::TStringGrid {
 public:
  explicit TAlignedGrid(tk::TWinControl* parent);
  ~TAlignedGrid() override;

  // Published properties (stored in a layout when not the default).
  TCellAlign Alignment() const { return alignment_; }
  void SetAlignment(TCellAlign value);
  bool ShowCellHints() const { return showCellHints_; }
  void SetShowCellHints(bool value) { showCellHints_ = value; }
  TColor SelectedCellColor() const { return selectedCellColor_; }
  void SetSelectedCellColor(TColor value);
  TColor SelectedFontColor() const { return selectedFontColor_; }
  void SetSelectedFontColor(TColor value);
  // Selects columns left..right and rows top..bottom.
  void SetSelection(int left, int top, int right, int bottom);

  // Effective attributes of a cell: the cell's own, else its column's, else
  // its row's (fixed cells from the Fixed lists), else the grid-wide default.
  TCellAlign GetCellAlignment(int col, int row) const;
  TColor GetCellColor(int col, int row) const;
  // A font of a list or the grid's own Font; copy it, never keep it.
  const TFont& GetCellFont(int col, int row) const;
  std::string GetCellHint(int col, int row) const;
  bool IsFixedCell(int col, int row) const;

  // Reads the grid's stored properties from a layout stream and runs the
  // after-loading step (set ColCount, RowCount... first).  A malformed
  // stream raises EReadError after the grid has taken what was read.
  void LoadFromLayout(const uint8_t* data, size_t size);
  // The grid's stored properties as a layout stream.
  std::vector<uint8_t> SaveToLayout();

  // The handler this grid registers for the application's show-hint event.
  void ShowCellHint(std::string& hintStr, bool& canShow, tk::THintInfo& hintInfo);
  int HintCellCol() const { return hintCol_; }
  int HintCellRow() const { return hintRow_; }

  const TAttributeLists& Lists() const { return lists_; }
  const TStoredFlags& Stored() const { return stored_; }
  int ExtraFixedCols() const { return extraFixedCols_; }
  int ExtraFixedRows() const { return extraFixedRows_; }

 protected:
  void DefineProperties(tk::TFiler& filer) override;
  void Loaded() override;
  void DrawCell(int col, int row, const tk::TRect& rect, tk::TGridDrawState state) override;
  virtual void DrawCellText(int col, int row, const tk::TRect& rect, tk::TGridDrawState state);
  tk::TInplaceEdit* CreateEditor() override;
  bool CanEditShow() override;
  void MouseMove(tk::TShiftState shift, int x, int y) override;
  void ColumnMoved(int fromIndex, int toIndex) override;
  void RowMoved(int fromIndex, int toIndex) override;

  // Readers and writers of the defined properties.
  virtual void ReadAlignCell(tk::TBytesStream& stream);
  virtual void WriteAlignCell(tk::TBytesStream& stream);
  virtual void ReadAlignCol(tk::TBytesStream& stream);
  virtual void WriteAlignCol(tk::TBytesStream& stream);
  virtual void ReadAlignRow(tk::TBytesStream& stream);
  virtual void WriteAlignRow(tk::TBytesStream& stream);
  virtual void ReadFixedAlignCol(tk::TBytesStream& stream);
  virtual void WriteFixedAlignCol(tk::TBytesStream& stream);
  virtual void ReadFixedAlignRow(tk::TBytesStream& stream);
  virtual void WriteFixedAlignRow(tk::TBytesStream& stream);
  virtual void ReadColorCell(tk::TReader& reader);
  virtual void WriteColorCell(tk::TWriter& writer);
  virtual void ReadColorCol(tk::TReader& reader);
  virtual void WriteColorCol(tk::TWriter& writer);
  virtual void ReadColorRow(tk::TReader& reader);
  virtual void WriteColorRow(tk::TWriter& writer);
  virtual void ReadColorFixedCol(tk::TReader& reader);
  virtual void WriteColorFixedCol(tk::TWriter& writer);
  virtual void ReadColorFixedRow(tk::TReader& reader);
  virtual void WriteColorFixedRow(tk::TWriter& writer);
  virtual void ReadHintCell(tk::TReader& reader);
  virtual void WriteHintCell(tk::TWriter& writer);
  virtual void ReadCells(tk::TReader& reader);
  virtual void WriteCells(tk::TWriter& writer);
  virtual void ReadFontCell(tk::TReader& reader);
  virtual void WriteFontCell(tk::TWriter& writer);
  virtual void ReadFontCol(tk::TReader& reader);
  virtual void WriteFontCol(tk::TWriter& writer);
  virtual void ReadFontRow(tk::TReader& reader);
  virtual void WriteFontRow(tk::TWriter& writer);
  virtual void ReadFontFixedCol(tk::TReader& reader);
  virtual void WriteFontFixedCol(tk::TWriter& writer);
  virtual void ReadFontFixedRow(tk::TReader& reader);
  virtual void WriteFontFixedRow(tk::TWriter& writer);

  // The shared per-index readers (true when at least one entry was read) and writers.
  bool ReadAlignIndexList(tk::TBytesStream& stream, TSparseList<TCellAlign>& list);
  void WriteAlignIndexList(tk::TBytesStream& stream, int last, const TSparseList<TCellAlign>& list);
  bool ReadFontIndexList(tk::TReader& reader, TSparseList<TFont>& list);
  void WriteFontIndexList(tk::TWriter& writer, int last, const TSparseList<TFont>& list);
  bool ReadColorIndexList(tk::TReader& reader, TSparseList<TColor>& list);
  void WriteColorIndexList(tk::TWriter& writer, int last, const TSparseList<TColor>& list);
  static std::unique_ptr<TFont> ReadFontRecord(tk::TReader& reader);
  static void WriteFontRecord(tk::TWriter& writer, const TFont& font);

  // Sets every cell of the grid from the texts read from the layout.
  void ApplyLoadedCells();

 private:
  void InitAttributeLists();

  TStoredFlags stored_;
  bool showCellHints_ = true;
  TCellAlign alignment_ = alLeft;
  int hintCol_ = -1, hintRow_ = -1;
  TColor selectedCellColor_ = tk::clActiveCaption;
  TColor selectedFontColor_ = tk::clWhite;
  TAttributeLists lists_;
  int extraFixedCols_ = 0, extraFixedRows_ = 0;
};

}  // namespace grid
