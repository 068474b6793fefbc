#include "grid/AlignedGrid.h"

#include <algorithm>
#include <cstdlib>

#include "toolkit/core/Errors.h"

namespace grid {

using tk::TBytesStream;
using tk::TReader;
using tk::TWriter;

void RaiseListIndexError(int index) {
  throw tk::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void FreeListBlocks(TSparseList<TCellAlign>* list) {
  if (list) list->clear();
}
void FreeListBlocks(TSparseList<TColor>* list) {
  if (list) list->clear();
}
void FreeListStrings(TSparseList<std::string>* list) {
  if (list) list->clear();
}
void FreeListObjects(TSparseList<TFont>* list) {
  if (list) list->clear();
}

// ---------------------------------------------------------------------------
// TObjectList

TObjectList::~TObjectList() {
  while (!items_.empty()) {
    tk::TObject* item = items_.back();
    items_.pop_back();
    delete item;
  }
}

tk::TObject* TObjectList::Items(int index) const {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  return items_[static_cast<size_t>(index)];
}

int TObjectList::Add(tk::TObject* item) {
  items_.push_back(item);
  return Count() - 1;
}

int TObjectList::IndexOf(const tk::TObject* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i] == item) return static_cast<int>(i);
  return -1;
}

void TObjectList::Delete(int index) {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
  tk::TObject* item = items_[static_cast<size_t>(index)];
  items_.erase(items_.begin() + index);
  delete item;
}

int TObjectList::Remove(tk::TObject* item) {
  const int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

// ---------------------------------------------------------------------------
// The hint registry

namespace {

TObjectList* gRegistry = nullptr;
TDummyObject* gDummy = nullptr;
bool gRegistryFreed = false;

void CreateHintRegistry() {
  if (gRegistry || gRegistryFreed) return;
  gRegistry = new TObjectList;
  gDummy = new TDummyObject;
  std::atexit(FreeHintRegistry);
}

// Made when the module starts, before any grid exists.
struct RegistryStart {
  RegistryStart() { CreateHintRegistry(); }
} gRegistryStart;

}  // namespace

void FreeHintRegistry() {
  delete gRegistry;
  gRegistry = nullptr;
  delete gDummy;
  gDummy = nullptr;
  gRegistryFreed = true;
}

const TObjectList* HintRegistry() { return gRegistry; }

void TDummyObject::DispatchShowHint(std::string& hintStr, bool& canShow, tk::THintInfo& hintInfo) {
  grid::DispatchShowHint(hintStr, canShow, hintInfo);
}

void RegisterShowHint(TShowHintCode code, TAlignedGrid* data) {
  CreateHintRegistry();
  if (!gRegistry) return;
  gRegistry->Add(new TMethod(code, data));
  // The application has one show-hint event; it always leads to the dispatcher.
  tk::SetShowHintHandler([](std::string& s, bool& c, tk::THintInfo& i) {
    if (gDummy) gDummy->DispatchShowHint(s, c, i);
  });
}

void UnregisterShowHint(TShowHintCode code, TAlignedGrid* data) {
  if (!gRegistry) return;
  for (int i = gRegistry->Count() - 1; i >= 0; --i) {
    auto* m = static_cast<TMethod*>(gRegistry->Items(i));
    if (m && m->Code == code && m->Data == data) gRegistry->Delete(i);
  }
}

void DispatchShowHint(std::string& hintStr, bool& canShow, tk::THintInfo& hintInfo) {
  if (!gRegistry) return;
  for (int i = gRegistry->Count() - 1; i >= 0; --i) {
    if (!gRegistry || i >= gRegistry->Count()) continue;  // a handler may have changed the registry
    const auto* m = static_cast<const TMethod*>(gRegistry->Items(i));
    if (!m) continue;
    const TShowHintCode code = m->Code;
    TAlignedGrid* const data = m->Data;
    if (code && data) (data->*code)(hintStr, canShow, hintInfo);
  }
}

// ---------------------------------------------------------------------------
// TAlignedInplaceEdit

TAlignedInplaceEdit::TAlignedInplaceEdit(tk::TStringGrid* grid) : tk::TInplaceEdit(grid, alRight) {}

unsigned TAlignedInplaceEdit::AlignmentStyle(TCellAlign value) {
  switch (value) {
    case alRight: return 2;
    case alCenter: return 1;
    default: return 0;
  }
}

void TAlignedInplaceEdit::SetAlignment(TCellAlign value) {
  if (value == alignment_) return;
  alignment_ = value;
  SetTextAlignment(value);  // re-creates the edit window with the new style
  SelectAll();
}

// ---------------------------------------------------------------------------
// TAlignedGrid: construction, properties, lookups

TAlignedGrid::TAlignedGrid(tk::TWinControl* parent) : tk::TStringGrid(parent) {
  stored_ = TStoredFlags();
  InitAttributeLists();
}

void TAlignedGrid::InitAttributeLists() {
  lists_ = TAttributeLists();
  lists_.Cells = std::make_unique<TCellList<std::string>>();
  alignment_ = alLeft;
  showCellHints_ = true;
  hintCol_ = hintRow_ = -1;
  selectedCellColor_ = tk::clActiveCaption;
  selectedFontColor_ = tk::clWhite;
  extraFixedCols_ = extraFixedRows_ = 0;
  RegisterShowHint(&TAlignedGrid::ShowCellHint, this);
}

TAlignedGrid::~TAlignedGrid() {
  FreeListBlocks(&lists_.AlignCol);
  FreeListBlocks(&lists_.AlignRow);
  FreeCellList(&lists_.AlignCell);
  FreeListBlocks(&lists_.FixedAlignCol);
  FreeListBlocks(&lists_.FixedAlignRow);
  FreeListBlocks(&lists_.ColorCol);
  FreeListBlocks(&lists_.ColorRow);
  FreeCellList(&lists_.ColorCell);
  FreeListBlocks(&lists_.ColorFixedCol);
  FreeListBlocks(&lists_.ColorFixedRow);
  FreeCellList(&lists_.HintCell);
  FreeListObjects(&lists_.FontCol);
  FreeListObjects(&lists_.FontRow);
  FreeListObjects(&lists_.FontFixedCol);
  FreeListObjects(&lists_.FontFixedRow);
  FreeCellList(&lists_.FontCell);
  if (lists_.Cells) {
    FreeCellList(lists_.Cells.get());
    lists_.Cells.reset();
  }
  UnregisterShowHint(&TAlignedGrid::ShowCellHint, this);
  if (tk::CurrentHint().Control == this) tk::CancelHint();
}

void TAlignedGrid::SetAlignment(TCellAlign value) {
  alignment_ = value;
  Invalidate();
}

void TAlignedGrid::SetSelectedCellColor(TColor value) {
  selectedCellColor_ = value;
  Invalidate();
}

void TAlignedGrid::SetSelectedFontColor(TColor value) {
  selectedFontColor_ = value;
  Invalidate();
}

void TAlignedGrid::SetSelection(int left, int top, int right, int bottom) {
  SetSelectionRect(tk::TGridRect{left, top, right, bottom});
}

bool TAlignedGrid::IsFixedCell(int col, int row) const {
  return col < FixedCols() || row < FixedRows() || col < extraFixedCols_ || row < extraFixedRows_;
}

TCellAlign TAlignedGrid::GetCellAlignment(int col, int row) const {
  const bool fixed = IsFixedCell(col, row);
  if (const TCellAlign* a = GetCellItem(col, row, lists_.AlignCell)) return *a;
  if (const TCellAlign* a = GetListItem(col, fixed ? lists_.FixedAlignCol : lists_.AlignCol)) return *a;
  if (const TCellAlign* a = GetListItem(row, fixed ? lists_.FixedAlignRow : lists_.AlignRow)) return *a;
  return alignment_;
}

TColor TAlignedGrid::GetCellColor(int col, int row) const {
  const bool fixed = IsFixedCell(col, row);
  if (const TColor* c = GetCellItem(col, row, lists_.ColorCell)) return *c;
  if (const TColor* c = GetListItem(col, fixed ? lists_.ColorFixedCol : lists_.ColorCol)) return *c;
  if (const TColor* c = GetListItem(row, fixed ? lists_.ColorFixedRow : lists_.ColorRow)) return *c;
  return fixed ? tk::clBtnFace : Color();
}

const TFont& TAlignedGrid::GetCellFont(int col, int row) const {
  const bool fixed = IsFixedCell(col, row);
  if (const TFont* f = GetCellItem(col, row, lists_.FontCell)) return *f;
  if (const TFont* f = GetListItem(col, fixed ? lists_.FontFixedCol : lists_.FontCol)) return *f;
  if (const TFont* f = GetListItem(row, fixed ? lists_.FontFixedRow : lists_.FontRow)) return *f;
  return Font();
}

std::string TAlignedGrid::GetCellHint(int col, int row) const {
  if (const std::string* h = GetCellItem(col, row, lists_.HintCell)) return *h;
  return std::string();
}

// ---------------------------------------------------------------------------
// Moves: the attributes follow their column or row

void TAlignedGrid::ColumnMoved(int fromIndex, int toIndex) {
  MoveListItem(fromIndex, toIndex, lists_.AlignCol);
  MoveListItem(fromIndex, toIndex, lists_.FixedAlignCol);
  MoveListItem(fromIndex, toIndex, lists_.AlignCell);  // whole column lists
  MoveListItem(fromIndex, toIndex, lists_.ColorCol);
  MoveListItem(fromIndex, toIndex, lists_.ColorFixedCol);
  MoveListItem(fromIndex, toIndex, lists_.ColorCell);
  MoveListItem(fromIndex, toIndex, lists_.FontCol);
  MoveListItem(fromIndex, toIndex, lists_.FontFixedCol);
  MoveListItem(fromIndex, toIndex, lists_.FontCell);
  MoveListItem(fromIndex, toIndex, lists_.HintCell);
  Invalidate();
  tk::TStringGrid::ColumnMoved(fromIndex, toIndex);
}

void TAlignedGrid::RowMoved(int fromIndex, int toIndex) {
  MoveListItem(fromIndex, toIndex, lists_.AlignRow);
  MoveListItem(fromIndex, toIndex, lists_.FixedAlignRow);
  MoveCellRowItems(fromIndex, toIndex, lists_.AlignCell);
  MoveListItem(fromIndex, toIndex, lists_.ColorRow);
  MoveListItem(fromIndex, toIndex, lists_.ColorFixedRow);
  MoveCellRowItems(fromIndex, toIndex, lists_.ColorCell);
  MoveListItem(fromIndex, toIndex, lists_.FontRow);
  MoveListItem(fromIndex, toIndex, lists_.FontFixedRow);
  MoveCellRowItems(fromIndex, toIndex, lists_.FontCell);
  MoveCellRowItems(fromIndex, toIndex, lists_.HintCell);
  tk::TStringGrid::RowMoved(fromIndex, toIndex);
}

// ---------------------------------------------------------------------------
// Painting, editor, hints

void TAlignedGrid::DrawCell(int col, int row, const tk::TRect& rect, tk::TGridDrawState state) {
  if (DefaultDrawing) DrawCellText(col, row, rect, state);
  else tk::TStringGrid::DrawCell(col, row, rect, state);
}

namespace {
constexpr size_t kBufferChars = 255;  // the painting buffer holds 255 characters and a zero

// Copies at most 255 UTF-8 characters of text into buffer, up to its first
// zero byte (the painted text ends there); returns the bytes copied.
size_t CopyCellText(const std::string& text, char* buffer) {
  size_t bytes = 0, chars = 0;
  while (bytes < text.size() && text[bytes] != '\0' && chars < kBufferChars) {
    size_t len = 1;
    const unsigned char lead = static_cast<unsigned char>(text[bytes]);
    if (lead >= 0xF0) len = 4;
    else if (lead >= 0xE0) len = 3;
    else if (lead >= 0xC0) len = 2;
    if (bytes + len > text.size()) len = text.size() - bytes;
    for (size_t i = 1; i < len; ++i)
      if (text[bytes + i] == '\0') len = i;  // a zero inside a character ends the text too
    for (size_t i = 0; i < len; ++i) buffer[bytes + i] = text[bytes + i];
    bytes += len;
    ++chars;
  }
  buffer[bytes] = '\0';
  return bytes;
}
}  // namespace

void TAlignedGrid::DrawCellText(int col, int row, const tk::TRect& rect, tk::TGridDrawState state) {
  tk::TCanvas& canvas = *Canvas();
  canvas.Font = GetCellFont(col, row);
  canvas.Brush.Style = tk::bsSolid;
  if (state & tk::gdSelected) {
    canvas.Brush.Color = selectedCellColor_;
    canvas.Font.Color = selectedFontColor_;
  } else {
    canvas.Brush.Color = GetCellColor(col, row);
  }
  canvas.FillRect(rect);
  const std::string& text = CellText(col, row);
  char buffer[kBufferChars * 4 + 1];
  const size_t length = CopyCellText(text, buffer);
  const int w = length == text.size() ? canvas.TextWidth(text) : canvas.TextWidth(std::string(buffer, length));
  int x;
  switch (GetCellAlignment(col, row)) {
    case alRight: x = rect.Right - w - 2; break;
    case alCenter:
      x = rect.Left + (rect.Right - rect.Left - w) / 2 + 1;  // C++ division truncates toward zero
      break;
    default: x = rect.Left + 2; break;
  }
  const int y = rect.Top + 2;
  canvas.TextRectOpaque(rect, x, y, buffer, length);
}

tk::TInplaceEdit* TAlignedGrid::CreateEditor() { return new TAlignedInplaceEdit(this); }

bool TAlignedGrid::CanEditShow() {
  const bool ok = tk::TStringGrid::CanEditShow();
  if (ok) {
    if (auto* editor = dynamic_cast<TAlignedInplaceEdit*>(InplaceEditor())) {
      const int c = Col(), r = Row();
      editor->SetAlignment(GetCellAlignment(c, r));
      editor->SetFont(GetCellFont(c, r));
      editor->SetColor(GetCellColor(c, r));
    }
  }
  return ok;
}

void TAlignedGrid::ShowCellHint(std::string& hintStr, bool& canShow, tk::THintInfo& hintInfo) {
  if (hintInfo.HintControl != static_cast<tk::TControl*>(this) || !showCellHints_) return;
  int c, r;
  MouseToCell(hintInfo.CursorPos.X, hintInfo.CursorPos.Y, c, r);
  hintCol_ = c;
  hintRow_ = r;
  const tk::TRect rect = CellRect(c, r);
  hintInfo.HintPos = ClientToScreen(tk::TPoint{rect.Left, rect.Bottom + 6});
  hintStr = GetCellHint(c, r);
}

void TAlignedGrid::MouseMove(tk::TShiftState shift, int x, int y) {
  if (hintCol_ >= 0 && hintRow_ >= 0) {
    int c, r;
    MouseToCell(x, y, c, r);
    if (c != hintCol_ || r != hintRow_) {
      tk::CancelHint();
      hintCol_ = hintRow_ = -1;
    }
  }
  tk::TStringGrid::MouseMove(shift, x, y);
}

// ---------------------------------------------------------------------------
// Layout: readers and writers of the stored properties

namespace {

// Every index read from a layout is taken modulo 65536.
int Index16(int32_t v) { return static_cast<uint16_t>(static_cast<uint32_t>(v)); }

TCellAlign AlignFromByte(uint8_t b) {
  if (b > alCenter) tk::RaiseInvalidPropertyValue();
  return static_cast<TCellAlign>(b);
}

constexpr int kMaxIndex = 65535;
int LastIndex(int count) { return std::min(count - 1, kMaxIndex); }

const char* const kAlignNames[] = {"alRight", "alLeft", "alCenter"};

}  // namespace

void TAlignedGrid::DefineProperties(tk::TFiler& filer) {
  tk::TStringGrid::DefineProperties(filer);
  // Published properties.
  filer.DefineProperty(
      "Alignment",
      [this](TReader& r) {
        if (r.NextValue() == tk::vaIdent) {
          const std::string name = r.ReadIdent();
          for (int i = 0; i < 3; ++i)
            if (name == kAlignNames[i]) return SetAlignment(static_cast<TCellAlign>(i));
          tk::RaiseInvalidPropertyValue();
        }
        const int32_t v = r.ReadInteger();
        if (v < 0 || v > alCenter) tk::RaiseInvalidPropertyValue();
        SetAlignment(static_cast<TCellAlign>(v));
      },
      [this](TWriter& w) { w.WriteIdent(kAlignNames[alignment_]); }, alignment_ != alLeft);
  filer.DefineProperty(
      "ShowCellHints", [this](TReader& r) { showCellHints_ = r.ReadBoolean(); },
      [this](TWriter& w) { w.WriteBoolean(showCellHints_); }, !showCellHints_);
  filer.DefineProperty(
      "SelectedCellColor", [this](TReader& r) { SetSelectedCellColor(static_cast<TColor>(r.ReadInteger())); },
      [this](TWriter& w) { w.WriteInteger(static_cast<int32_t>(selectedCellColor_)); },
      selectedCellColor_ != tk::clActiveCaption);
  filer.DefineProperty(
      "SelectedFontColor", [this](TReader& r) { SetSelectedFontColor(static_cast<TColor>(r.ReadInteger())); },
      [this](TWriter& w) { w.WriteInteger(static_cast<int32_t>(selectedFontColor_)); },
      selectedFontColor_ != tk::clWhite);
  // The seventeen defined properties, in stream order.
  auto bin = [&](const char* name, void (TAlignedGrid::*read)(TBytesStream&),
                 void (TAlignedGrid::*write)(TBytesStream&), bool stored) {
    filer.DefineBinaryProperty(
        name, [this, read](TBytesStream& s) { (this->*read)(s); },
        [this, write](TBytesStream& s) { (this->*write)(s); }, stored);
  };
  auto list = [&](const char* name, void (TAlignedGrid::*read)(TReader&), void (TAlignedGrid::*write)(TWriter&),
                  bool stored) {
    filer.DefineProperty(
        name, [this, read](TReader& r) { (this->*read)(r); }, [this, write](TWriter& w) { (this->*write)(w); }, stored);
  };
  bin("AlignCell", &TAlignedGrid::ReadAlignCell, &TAlignedGrid::WriteAlignCell, stored_.AlignCell);
  bin("AlignCol", &TAlignedGrid::ReadAlignCol, &TAlignedGrid::WriteAlignCol, stored_.AlignCol);
  bin("FixedAlignCol", &TAlignedGrid::ReadFixedAlignCol, &TAlignedGrid::WriteFixedAlignCol, stored_.FixedAlignCol);
  bin("AlignRow", &TAlignedGrid::ReadAlignRow, &TAlignedGrid::WriteAlignRow, stored_.AlignRow);
  bin("FixedAlignRow", &TAlignedGrid::ReadFixedAlignRow, &TAlignedGrid::WriteFixedAlignRow, stored_.FixedAlignRow);
  list("HintCell", &TAlignedGrid::ReadHintCell, &TAlignedGrid::WriteHintCell, stored_.HintCell);
  list("Cells", &TAlignedGrid::ReadCells, &TAlignedGrid::WriteCells, stored_.Cells);
  list("FontCell", &TAlignedGrid::ReadFontCell, &TAlignedGrid::WriteFontCell, stored_.FontCell);
  list("FontCol", &TAlignedGrid::ReadFontCol, &TAlignedGrid::WriteFontCol, stored_.FontCol);
  list("FontFixedCol", &TAlignedGrid::ReadFontFixedCol, &TAlignedGrid::WriteFontFixedCol, stored_.FontFixedCol);
  list("FontRow", &TAlignedGrid::ReadFontRow, &TAlignedGrid::WriteFontRow, stored_.FontRow);
  list("FontFixedRow", &TAlignedGrid::ReadFontFixedRow, &TAlignedGrid::WriteFontFixedRow, stored_.FontFixedRow);
  list("ColorCell", &TAlignedGrid::ReadColorCell, &TAlignedGrid::WriteColorCell, stored_.ColorCell);
  list("ColorCol", &TAlignedGrid::ReadColorCol, &TAlignedGrid::WriteColorCol, stored_.ColorCol);
  list("ColorFixedCol", &TAlignedGrid::ReadColorFixedCol, &TAlignedGrid::WriteColorFixedCol, stored_.ColorFixedCol);
  list("ColorRow", &TAlignedGrid::ReadColorRow, &TAlignedGrid::WriteColorRow, stored_.ColorRow);
  list("ColorFixedRow", &TAlignedGrid::ReadColorFixedRow, &TAlignedGrid::WriteColorFixedRow, stored_.ColorFixedRow);
}

// Binary properties: packed records.  A length that is not a whole number of
// records is a damaged layout: the whole records before the broken one are
// kept and the property fails.
void TAlignedGrid::ReadAlignCell(TBytesStream& stream) {
  stream.SetPosition(0);
  while (stream.Position() < stream.Size()) {
    if (stream.Remaining() < 5) tk::RaiseInvalidPropertyValue();
    const int col = stream.ReadWord();
    const int row = stream.ReadWord();
    auto item = std::make_unique<TCellAlign>(AlignFromByte(stream.ReadByte()));
    SetCellItem(col, row, lists_.AlignCell, std::move(item));  // the replaced item is released here
    stored_.AlignCell = true;
  }
}

void TAlignedGrid::WriteAlignCell(TBytesStream& stream) {
  for (int c = 0; c <= LastIndex(ColCount()); ++c)
    for (int r = 0; r <= LastIndex(RowCount()); ++r)
      if (const TCellAlign* a = GetCellItem(c, r, lists_.AlignCell)) {
        stream.WriteWord(static_cast<uint16_t>(c));
        stream.WriteWord(static_cast<uint16_t>(r));
        stream.WriteByte(*a);
      }
}

bool TAlignedGrid::ReadAlignIndexList(TBytesStream& stream, TSparseList<TCellAlign>& list) {
  bool any = false;
  stream.SetPosition(0);
  while (stream.Position() < stream.Size()) {
    if (stream.Remaining() < 3) tk::RaiseInvalidPropertyValue();
    const int index = stream.ReadWord();
    auto item = std::make_unique<TCellAlign>(AlignFromByte(stream.ReadByte()));
    SetListItem(index, list, std::move(item));
    any = true;
  }
  return any;
}

void TAlignedGrid::WriteAlignIndexList(TBytesStream& stream, int last, const TSparseList<TCellAlign>& list) {
  for (int i = 0; i <= std::min(last, kMaxIndex); ++i)
    if (const TCellAlign* a = GetListItem(i, list)) {
      stream.WriteWord(static_cast<uint16_t>(i));
      stream.WriteByte(*a);
    }
}

void TAlignedGrid::ReadAlignCol(TBytesStream& s) { stored_.AlignCol = ReadAlignIndexList(s, lists_.AlignCol); }
void TAlignedGrid::WriteAlignCol(TBytesStream& s) { WriteAlignIndexList(s, ColCount() - 1, lists_.AlignCol); }
void TAlignedGrid::ReadAlignRow(TBytesStream& s) { stored_.AlignRow = ReadAlignIndexList(s, lists_.AlignRow); }
void TAlignedGrid::WriteAlignRow(TBytesStream& s) { WriteAlignIndexList(s, RowCount() - 1, lists_.AlignRow); }
void TAlignedGrid::ReadFixedAlignCol(TBytesStream& s) {
  stored_.FixedAlignCol = ReadAlignIndexList(s, lists_.FixedAlignCol);
}
void TAlignedGrid::WriteFixedAlignCol(TBytesStream& s) { WriteAlignIndexList(s, ColCount() - 1, lists_.FixedAlignCol); }
void TAlignedGrid::ReadFixedAlignRow(TBytesStream& s) {
  stored_.FixedAlignRow = ReadAlignIndexList(s, lists_.FixedAlignRow);
}
void TAlignedGrid::WriteFixedAlignRow(TBytesStream& s) { WriteAlignIndexList(s, RowCount() - 1, lists_.FixedAlignRow); }

// Font records: Color, Height, Name, Pitch, Style.
std::unique_ptr<TFont> TAlignedGrid::ReadFontRecord(TReader& reader) {
  auto font = std::make_unique<TFont>();
  font->Color = static_cast<TColor>(reader.ReadInteger());
  font->Height = reader.ReadInteger();
  font->Name = reader.ReadString();
  const int pitch = reader.ReadInteger() & 0xFF;
  if (pitch > tk::fpFixed) tk::RaiseInvalidPropertyValue();
  font->Pitch = static_cast<tk::TFontPitch>(pitch);
  // Bits of the byte that name no style are dropped.
  font->Style = static_cast<tk::TFontStyles>(reader.ReadInteger() & 0xFF) &
                (tk::fsBold | tk::fsItalic | tk::fsUnderline | tk::fsStrikeOut);
  return font;
}

void TAlignedGrid::WriteFontRecord(TWriter& writer, const TFont& font) {
  writer.WriteInteger(static_cast<int32_t>(font.Color));
  writer.WriteInteger(font.Height);
  writer.WriteString(font.Name);
  writer.WriteInteger(static_cast<int32_t>(font.Pitch));
  writer.WriteInteger(static_cast<int32_t>(font.Style));
}

bool TAlignedGrid::ReadFontIndexList(TReader& reader, TSparseList<TFont>& list) {
  bool any = false;
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    const int index = Index16(reader.ReadInteger());
    SetListItem(index, list, ReadFontRecord(reader));
    any = true;
  }
  reader.ReadListEnd();
  return any;
}

void TAlignedGrid::WriteFontIndexList(TWriter& writer, int last, const TSparseList<TFont>& list) {
  writer.WriteListBegin();
  for (int i = 0; i <= std::min(last, kMaxIndex); ++i)
    if (const TFont* f = GetListItem(i, list)) {
      writer.WriteInteger(i);
      WriteFontRecord(writer, *f);
    }
  writer.WriteListEnd();
}

bool TAlignedGrid::ReadColorIndexList(TReader& reader, TSparseList<TColor>& list) {
  bool any = false;
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    const int index = Index16(reader.ReadInteger());
    auto item = std::make_unique<TColor>(static_cast<TColor>(reader.ReadInteger()));
    SetListItem(index, list, std::move(item));
    any = true;
  }
  reader.ReadListEnd();
  return any;
}

void TAlignedGrid::WriteColorIndexList(TWriter& writer, int last, const TSparseList<TColor>& list) {
  writer.WriteListBegin();
  for (int i = 0; i <= std::min(last, kMaxIndex); ++i)
    if (const TColor* c = GetListItem(i, list)) {
      writer.WriteInteger(i);
      writer.WriteInteger(static_cast<int32_t>(*c));
    }
  writer.WriteListEnd();
}

void TAlignedGrid::ReadFontCol(TReader& r) { stored_.FontCol = ReadFontIndexList(r, lists_.FontCol); }
void TAlignedGrid::WriteFontCol(TWriter& w) { WriteFontIndexList(w, ColCount() - 1, lists_.FontCol); }
void TAlignedGrid::ReadFontRow(TReader& r) { stored_.FontRow = ReadFontIndexList(r, lists_.FontRow); }
void TAlignedGrid::WriteFontRow(TWriter& w) { WriteFontIndexList(w, RowCount() - 1, lists_.FontRow); }
void TAlignedGrid::ReadFontFixedCol(TReader& r) { stored_.FontFixedCol = ReadFontIndexList(r, lists_.FontFixedCol); }
void TAlignedGrid::WriteFontFixedCol(TWriter& w) { WriteFontIndexList(w, ColCount() - 1, lists_.FontFixedCol); }
void TAlignedGrid::ReadFontFixedRow(TReader& r) { stored_.FontFixedRow = ReadFontIndexList(r, lists_.FontFixedRow); }
void TAlignedGrid::WriteFontFixedRow(TWriter& w) { WriteFontIndexList(w, RowCount() - 1, lists_.FontFixedRow); }
void TAlignedGrid::ReadColorCol(TReader& r) { stored_.ColorCol = ReadColorIndexList(r, lists_.ColorCol); }
void TAlignedGrid::WriteColorCol(TWriter& w) { WriteColorIndexList(w, ColCount() - 1, lists_.ColorCol); }
void TAlignedGrid::ReadColorRow(TReader& r) { stored_.ColorRow = ReadColorIndexList(r, lists_.ColorRow); }
void TAlignedGrid::WriteColorRow(TWriter& w) { WriteColorIndexList(w, RowCount() - 1, lists_.ColorRow); }
void TAlignedGrid::ReadColorFixedCol(TReader& r) {
  stored_.ColorFixedCol = ReadColorIndexList(r, lists_.ColorFixedCol);
}
void TAlignedGrid::WriteColorFixedCol(TWriter& w) { WriteColorIndexList(w, ColCount() - 1, lists_.ColorFixedCol); }
void TAlignedGrid::ReadColorFixedRow(TReader& r) {
  stored_.ColorFixedRow = ReadColorIndexList(r, lists_.ColorFixedRow);
}
void TAlignedGrid::WriteColorFixedRow(TWriter& w) { WriteColorIndexList(w, RowCount() - 1, lists_.ColorFixedRow); }

// Cell lists: col, row, value.
void TAlignedGrid::ReadHintCell(TReader& reader) {
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    const int col = Index16(reader.ReadInteger());
    const int row = Index16(reader.ReadInteger());
    SetCellItem(col, row, lists_.HintCell, std::make_unique<std::string>(reader.ReadString()));
    stored_.HintCell = true;
  }
  reader.ReadListEnd();
}

void TAlignedGrid::WriteHintCell(TWriter& writer) {
  writer.WriteListBegin();
  for (int c = 0; c <= LastIndex(ColCount()); ++c)
    for (int r = 0; r <= LastIndex(RowCount()); ++r)
      if (const std::string* h = GetCellItem(c, r, lists_.HintCell)) {
        writer.WriteInteger(c);
        writer.WriteInteger(r);
        writer.WriteString(*h);
      }
  writer.WriteListEnd();
}

void TAlignedGrid::ReadCells(TReader& reader) {
  // A second layout after the end of loading gets a fresh list.
  if (!lists_.Cells) lists_.Cells = std::make_unique<TCellList<std::string>>();
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    const int col = Index16(reader.ReadInteger());
    const int row = Index16(reader.ReadInteger());
    SetCellItem(col, row, *lists_.Cells, std::make_unique<std::string>(reader.ReadString()));
    stored_.Cells = true;
  }
  reader.ReadListEnd();
}

void TAlignedGrid::WriteCells(TWriter& writer) {
  // The grid's own texts, not what a layout once held.
  writer.WriteListBegin();
  for (int c = 0; c <= LastIndex(ColCount()); ++c)
    for (int r = 0; r <= LastIndex(RowCount()); ++r) {
      const std::string& text = CellText(c, r);
      if (text.empty()) continue;
      writer.WriteInteger(c);
      writer.WriteInteger(r);
      writer.WriteString(text);
    }
  writer.WriteListEnd();
}

void TAlignedGrid::ReadFontCell(TReader& reader) {
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    const int col = Index16(reader.ReadInteger());
    const int row = Index16(reader.ReadInteger());
    SetCellItem(col, row, lists_.FontCell, ReadFontRecord(reader));
    stored_.FontCell = true;
  }
  reader.ReadListEnd();
}

void TAlignedGrid::WriteFontCell(TWriter& writer) {
  writer.WriteListBegin();
  for (int c = 0; c <= LastIndex(ColCount()); ++c)
    for (int r = 0; r <= LastIndex(RowCount()); ++r)
      if (const TFont* f = GetCellItem(c, r, lists_.FontCell)) {
        writer.WriteInteger(c);
        writer.WriteInteger(r);
        WriteFontRecord(writer, *f);
      }
  writer.WriteListEnd();
}

void TAlignedGrid::ReadColorCell(TReader& reader) {
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    const int col = Index16(reader.ReadInteger());
    const int row = Index16(reader.ReadInteger());
    SetCellItem(col, row, lists_.ColorCell, std::make_unique<TColor>(static_cast<TColor>(reader.ReadInteger())));
    stored_.ColorCell = true;
  }
  reader.ReadListEnd();
}

void TAlignedGrid::WriteColorCell(TWriter& writer) {
  writer.WriteListBegin();
  for (int c = 0; c <= LastIndex(ColCount()); ++c)
    for (int r = 0; r <= LastIndex(RowCount()); ++r)
      if (const TColor* color = GetCellItem(c, r, lists_.ColorCell)) {
        writer.WriteInteger(c);
        writer.WriteInteger(r);
        writer.WriteInteger(static_cast<int32_t>(*color));
      }
  writer.WriteListEnd();
}

// ---------------------------------------------------------------------------
// After loading

void TAlignedGrid::ApplyLoadedCells() {
  if (!lists_.Cells) return;
  for (int c = 0; c < ColCount(); ++c)
    for (int r = 0; r < RowCount(); ++r) {
      const std::string* text = GetCellItem(c, r, *lists_.Cells);
      SetCells(c, r, text ? *text : std::string());
    }
}

void TAlignedGrid::Loaded() {
  tk::TStringGrid::Loaded();
  ApplyLoadedCells();
  lists_.Cells.reset();  // the texts live in the cells now (no layout designer here keeps the list)
}

void TAlignedGrid::LoadFromLayout(const uint8_t* data, size_t size) { tk::ReadLayout(*this, data, size); }

std::vector<uint8_t> TAlignedGrid::SaveToLayout() { return tk::WriteLayout(*this); }

}  // namespace grid
