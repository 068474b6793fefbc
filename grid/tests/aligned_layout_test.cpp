// The aligned grid's stored properties: byte images of what it writes, what
// it reads back, the after-loading step and damaged layouts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "LayoutBuilder.h"
#include "grid/AlignedGrid.h"
#include "tests/support/ReadErrors.h"
#include "toolkit/controls/Controls.h"

using namespace grid;
using namespace gridtest;
using testsupport::Bytes;

namespace {

std::vector<uint8_t> Name(const std::string& n) {
  std::vector<uint8_t> v;
  v.reserve(n.size() + 1);
  v.push_back(static_cast<uint8_t>(n.size()));
  for (char c : n) v.push_back(static_cast<uint8_t>(c));
  return v;
}
bool Contains(const std::vector<uint8_t>& hay, const std::vector<uint8_t>& needle) {
  return std::search(hay.begin(), hay.end(), needle.begin(), needle.end()) != hay.end();
}

struct Window {
  tk::TForm form;
  TAlignedGrid* g;
  explicit Window(int cols = 5, int rows = 5) {
    g = new TAlignedGrid(&form);
    g->SetBounds(0, 0, 500, 300);
    g->SetColCount(cols);
    g->SetRowCount(rows);
  }
  void Load(const std::vector<uint8_t>& bytes) { g->LoadFromLayout(bytes.data(), bytes.size()); }
};

void ExpectInvalid(Window& w, const std::vector<uint8_t>& bytes) {
  testsupport::ExpectInvalid([&] { w.Load(bytes); });
}

TEST(LayoutWriting, BinaryPropertiesArePackedRecordsColumnsOuterRowsInner) {
  Window w;
  // Ten bytes hold two records; written back in column-major order.
  w.Load(LayoutBuilder()
             .Binary("AlignCell", Join({CellRecord(3, 2, alCenter), CellRecord(1, 4, alRight)}))
             .Binary("AlignCol", IndexRecord(2, alRight))
             .Build());
  EXPECT_TRUE(w.g->Stored().AlignCell);
  EXPECT_TRUE(w.g->Stored().AlignCol);
  EXPECT_FALSE(w.g->Stored().AlignRow);
  const auto out = w.g->SaveToLayout();
  EXPECT_EQ(out, Join({Name("AlignCell"), Bytes({10, 10, 0, 0, 0, 1, 0, 4, 0, 0, 3, 0, 2, 0, 2}), Name("AlignCol"),
                       Bytes({10, 3, 0, 0, 0, 2, 0, 0}), Bytes({0})}));
}

TEST(LayoutWriting, AFontEntryReadsAndWritesItsFiveValues) {
  Window w;
  w.Load(LayoutBuilder().Font("FontCol", {1}, 255, -11, "MS Sans Serif", 0, 3).Build());
  const tk::TFont& f = w.g->GetCellFont(1, 2);
  EXPECT_EQ(f.Color, 255u);  // pure red
  EXPECT_EQ(f.Height, -11);
  EXPECT_EQ(f.Name, "MS Sans Serif");
  EXPECT_EQ(f.Pitch, tk::fpDefault);
  EXPECT_EQ(f.Style, static_cast<unsigned>(tk::fsBold | tk::fsItalic));
  EXPECT_EQ(&w.g->GetCellFont(1, 0), &w.g->Font());  // a fixed cell keeps the grid's font
  const auto out = w.g->SaveToLayout();
  const std::string face = "MS Sans Serif";
  EXPECT_EQ(out, Join({Name("FontCol"), Bytes({1, 2, 1, 3, 0xFF, 0x00, 2, 0xF5, 6, 13}),
                       std::vector<uint8_t>(face.begin(), face.end()), Bytes({2, 0, 2, 3, 0, 0})}));
}

TEST(LayoutReading, IndicesAreTakenModulo65536AndTheLaterOfTwoEntriesWins) {
  Window w;
  w.Load(
      LayoutBuilder()
          .Binary("AlignCol", Join({IndexRecord(0xFFFF, alRight), IndexRecord(2, alRight), IndexRecord(2, alCenter)}))
          .IndexColors("ColorRow", {{-1, 0x0000FF}, {65536 + 3, 0x00FF00}})
          .CellTexts("Cells", {{1, 1, "first"}, {1, 1, "second"}})
          .Build());
  EXPECT_EQ(w.g->GetCellAlignment(65535, 3), alRight);
  EXPECT_EQ(w.g->Lists().AlignCol.size(), 65536u);
  EXPECT_EQ(w.g->GetCellAlignment(2, 3), alCenter);
  EXPECT_EQ(w.g->GetCellColor(2, 65535), 0x0000FFu);
  EXPECT_EQ(w.g->GetCellColor(2, 3), 0x00FF00u);
  EXPECT_EQ(w.g->Cells(1, 1), "second");
  // Entries beyond the grid are kept but not written.
  const auto out = w.g->SaveToLayout();
  EXPECT_TRUE(Contains(out, Join({Name("AlignCol"), Bytes({10, 3, 0, 0, 0, 2, 0, 2})})));
  EXPECT_TRUE(Contains(out, Join({Name("ColorRow"), Bytes({1, 2, 3, 4, 0, 0xFF, 0, 0, 0})})));
}

TEST(LayoutReading, TheGridsFinalSizeDecidesWhichTextsApplyAndUnlistedCellsAreEmptied) {
  Window w(6, 3);
  w.g->SetCells(2, 2, "written before loading");
  w.Load(LayoutBuilder()
             .CellTexts("Cells", {{0, 0, " D[mm]"}, {7, 2, "outside"}, {6, 1, "seventh"}})
             .Value("ColCount", [](tk::TWriter& wr) { wr.WriteInteger(7); })
             .Build());
  EXPECT_EQ(w.g->ColCount(), 7);
  EXPECT_EQ(w.g->Cells(0, 0), " D[mm]");
  EXPECT_EQ(w.g->Cells(6, 1), "seventh");  // ColCount came after Cells
  EXPECT_EQ(w.g->Cells(2, 2), "");
  EXPECT_EQ(w.g->Lists().Cells, nullptr);  // released at the end of loading
  const auto out = w.g->SaveToLayout();
  EXPECT_FALSE(Contains(out, Bytes({'o', 'u', 't', 's', 'i', 'd', 'e'})));
  EXPECT_TRUE(Contains(out, Join({Name("Cells"), Bytes({1, 2, 0, 2, 0, 6, 6, ' ', 'D', '[', 'm', 'm', ']'})})));

  Window none;  // no Cells property: every cell empty after loading
  none.g->SetCells(1, 1, "x");
  none.Load(LayoutBuilder().IndexColors("ColorCol", {{1, 5}}).Build());
  EXPECT_EQ(none.g->Cells(1, 1), "");
  EXPECT_FALSE(none.g->Stored().Cells);
}

TEST(LayoutReading, ARoundTripWritesTheSamePropertiesAndAnEmptyListNone) {
  Window a;
  const auto source = LayoutBuilder()
                          .Value("Alignment", [](tk::TWriter& wr) { wr.WriteIdent("alCenter"); })
                          .Value("ShowCellHints", [](tk::TWriter& wr) { wr.WriteBoolean(false); })
                          .Value("SelectedCellColor", [](tk::TWriter& wr) { wr.WriteInteger(0x00808080); })
                          .Binary("AlignCell", CellRecord(1, 2, alRight))
                          .Binary("AlignCol", IndexRecord(3, alLeft))
                          .Binary("FixedAlignCol", IndexRecord(0, alRight))
                          .Binary("AlignRow", IndexRecord(4, alCenter))
                          .Binary("FixedAlignRow", IndexRecord(0, alCenter))
                          .CellTexts("HintCell", {{2, 2, "hint"}, {4, 1, std::string(300, 'h')}})
                          .CellTexts("Cells", {{0, 0, "corner"}, {3, 3, "Potencjał"}})
                          .Font("FontCell", {2, 3}, 0xFF0000, -16, "Arial", 2, 15)
                          .Font("FontRow", {4}, 0, -12, "Courier", 1, 0)
                          .IndexColors("ColorCol", {})
                          .IndexColors("ColorFixedCol", {{0, tk::clSilver}})
                          .IndexColors("ColorFixedRow", {{0, 0x80000005}})
                          .CellColors("ColorCell", {{4, 4, 0x00ABCDEF}})
                          .Build();
  a.Load(source);
  EXPECT_FALSE(a.g->Stored().ColorCol);  // read with no entries: not written again
  EXPECT_FALSE(a.g->ShowCellHints());
  EXPECT_EQ(a.g->Alignment(), alCenter);
  EXPECT_EQ(a.g->SelectedCellColor(), 0x00808080u);
  const auto first = a.g->SaveToLayout();
  EXPECT_FALSE(Contains(first, Name("ColorCol")));
  EXPECT_FALSE(Contains(first, Name("SelectedFontColor")));  // at its default
  Window b;
  b.Load(first);
  EXPECT_EQ(b.g->SaveToLayout(), first);
  for (int c = 0; c < 5; ++c)
    for (int r = 0; r < 5; ++r) {
      EXPECT_EQ(a.g->GetCellAlignment(c, r), b.g->GetCellAlignment(c, r));
      EXPECT_EQ(a.g->GetCellColor(c, r), b.g->GetCellColor(c, r));
      EXPECT_EQ(a.g->GetCellFont(c, r), b.g->GetCellFont(c, r));
      EXPECT_EQ(a.g->GetCellHint(c, r), b.g->GetCellHint(c, r));
      EXPECT_EQ(a.g->Cells(c, r), b.g->Cells(c, r));
    }
  EXPECT_EQ(b.g->GetCellFont(2, 3).Pitch, tk::fpFixed);
  EXPECT_EQ(b.g->GetCellHint(4, 1).size(), 300u);
}

TEST(LayoutReading, DamagedPropertiesFailButKeepWhatCameBeforeAndStillLoad) {
  {
    // A String where the colour should be: the first entry stays.
    Window w;
    ExpectInvalid(w, LayoutBuilder()
                         .CellTexts("Cells", {{1, 1, "applied"}})
                         .Value("ColorCol",
                                [](tk::TWriter& wr) {
                                  wr.WriteListBegin();
                                  wr.WriteInteger(1);
                                  wr.WriteInteger(0x0000FF);
                                  wr.WriteInteger(2);
                                  wr.WriteString("red");
                                  wr.WriteListEnd();
                                })
                         .Build());
    EXPECT_EQ(w.g->GetCellColor(1, 1), 0x0000FFu);
    EXPECT_EQ(w.g->Cells(1, 1), "applied");  // the after-loading step ran
    EXPECT_EQ(w.g->Lists().Cells, nullptr);
  }
  {
    // A trailing partial record: the whole records are kept, the rest refused.
    Window w;
    auto rec = Join({IndexRecord(1, alRight), IndexRecord(2, alCenter)});
    rec.pop_back();
    ExpectInvalid(w, LayoutBuilder().Binary("AlignCol", rec).Build());
    EXPECT_EQ(w.g->GetCellAlignment(1, 1), alRight);
    EXPECT_EQ(w.g->GetCellAlignment(2, 1), alLeft);
  }
  {
    Window w;  // an alignment that is none of the three
    ExpectInvalid(w, LayoutBuilder().Binary("AlignCell", CellRecord(1, 1, 3)).Build());
    EXPECT_EQ(w.g->GetCellAlignment(1, 1), alLeft);
  }
  {
    Window w;  // a list property without its list
    ExpectInvalid(w, LayoutBuilder().Value("Cells", [](tk::TWriter& wr) { wr.WriteInteger(1); }).Build());
  }
  {
    Window w;  // a pitch that names no pitch
    ExpectInvalid(w, LayoutBuilder().Font("FontCol", {1}, 0, -11, "Arial", 7, 0).Build());
    EXPECT_EQ(&w.g->GetCellFont(1, 1), &w.g->Font());
  }
  {
    // The stream ends inside the Cells list.
    Window w;
    auto bytes = LayoutBuilder().CellTexts("Cells", {{1, 1, "one"}, {2, 2, "two"}}).Build();
    bytes.resize(bytes.size() - 5);
    ExpectInvalid(w, bytes);
    EXPECT_EQ(w.g->Cells(1, 1), "one");
  }
  {
    Window w;  // sizes a grid cannot take are refused, not allocated
    ExpectInvalid(w, LayoutBuilder().Value("RowCount", [](tk::TWriter& wr) { wr.WriteInteger(0x7FFFFFFF); }).Build());
    EXPECT_EQ(w.g->RowCount(), 5);
  }
}

TEST(LayoutReading, ASecondLayoutAfterLoadingStillAppliesItsTexts) {
  Window w;
  w.Load(LayoutBuilder().CellTexts("Cells", {{1, 1, "one"}}).Build());
  w.Load(LayoutBuilder().CellTexts("Cells", {{2, 2, "two"}}).Build());
  EXPECT_EQ(w.g->Cells(1, 1), "");
  EXPECT_EQ(w.g->Cells(2, 2), "two");
  w.Load(LayoutBuilder().IndexColors("ColorCol", {{1, 1}}).Build());  // no Cells: texts stay
  EXPECT_EQ(w.g->Cells(2, 2), "two");
}

}  // namespace
