// The aligned grid's sparse attribute lists, the lookups with their fallback
// order, and the attributes following moved columns and rows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "LayoutBuilder.h"
#include "grid/AlignedGrid.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Errors.h"

using namespace grid;
using namespace gridtest;

namespace {

std::unique_ptr<int> Item(int v) { return std::make_unique<int>(v); }

std::vector<int> Values(const TSparseList<int>& list) {  // -1 for not set
  std::vector<int> v;
  for (const auto& p : list) v.push_back(p ? *p : -1);
  return v;
}

TEST(SparseLists, SetPadsWithUnsetEntriesAndHandsBackTheReplacedItem) {
  TSparseList<int> list;
  EXPECT_EQ(SetListItem(5, list, Item(7)), nullptr);
  EXPECT_EQ(Values(list), (std::vector<int>{-1, -1, -1, -1, -1, 7}));
  for (int i : {9, -1, 3}) EXPECT_EQ(GetListItem(i, list), nullptr) << i;
  auto old = SetListItem(5, list, Item(8));
  ASSERT_NE(old, nullptr);
  EXPECT_EQ(*old, 7);
  EXPECT_EQ(*GetListItem(5, list), 8);
  EXPECT_THROW(SetListItem(-1, list, Item(1)), tk::EListError);
}

TEST(SparseLists, MoveShiftsTheEntriesBetweenAndPadsShortLists) {
  TSparseList<int> list;
  for (int i = 0; i < 5; ++i) SetListItem(i, list, Item(i));
  MoveListItem(0, 3, list);  // column 0 to 3 of a 5-column grid
  EXPECT_EQ(Values(list), (std::vector<int>{1, 2, 3, 0, 4}));
  MoveListItem(3, 0, list);
  EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 3, 4}));

  TSparseList<int> shortList;
  SetListItem(0, shortList, Item(10));
  MoveListItem(5, 3, shortList);  // an unset entry: the destination stays unset
  EXPECT_EQ(Values(shortList), (std::vector<int>{10, -1, -1, -1, -1, -1}));
  TSparseList<int> two;
  SetListItem(0, two, Item(1));
  SetListItem(1, two, Item(2));
  MoveListItem(0, 7, two);
  EXPECT_EQ(Values(two), (std::vector<int>{2, -1, -1, -1, -1, -1, -1, 1}));
}

TEST(SparseLists, CellListsKeepUnsetColumnsApartFromEmptyOnesAndMoveRowsInEveryColumn) {
  TCellList<int> cells;
  EXPECT_EQ(SetCellItem(2, 3, cells, Item(23)), nullptr);
  ASSERT_EQ(cells.size(), 3u);
  EXPECT_EQ(cells[0], nullptr);  // no column list made for columns never set
  EXPECT_EQ(*GetCellItem(2, 3, cells), 23);
  const std::pair<int, int> unset[] = {{2, 4}, {0, 0}, {3, 0}, {-1, 3}, {2, -1}};
  for (const auto& [c, r] : unset) EXPECT_EQ(GetCellItem(c, r, cells), nullptr) << c << ", " << r;
  SetCellItem(1, 0, cells, Item(10));
  MoveCellRowItems(3, 0, cells);
  for (const auto& column : cells) EXPECT_NE(column, nullptr);  // empty lists made where none were
  EXPECT_EQ(*GetCellItem(2, 0, cells), 23);
  EXPECT_EQ(*GetCellItem(1, 1, cells), 10);
  EXPECT_EQ(GetCellItem(2, 3, cells), nullptr);
}

struct Counted : tk::TObject {
  Counted(int id, std::vector<int>& log) : id(id), log(log) {}
  ~Counted() override { log.push_back(id); }
  int id;
  std::vector<int>& log;
};

TEST(ObjectList, OwnsItsObjectsAndFreesThemLastFirst) {
  std::vector<int> freed;
  {
    TObjectList list;
    auto* a = new Counted(1, freed);
    list.Add(a);
    list.Add(new Counted(2, freed));
    list.Add(new Counted(3, freed));
    Counted outside(9, freed);
    EXPECT_EQ(list.Remove(&outside), -1);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Remove(a), 0);
    EXPECT_EQ(freed, (std::vector<int>{1}));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_THROW(list.Delete(5), tk::EListError);
  }
  EXPECT_EQ(freed, (std::vector<int>{1, 9, 3, 2}));
}

struct Grid5 {
  tk::TForm form;
  TAlignedGrid* g;
  Grid5() {
    g = new TAlignedGrid(&form);
    g->SetBounds(0, 0, 400, 200);
  }
  void Load(LayoutBuilder& b) {
    const auto bytes = b.Build();
    g->LoadFromLayout(bytes.data(), bytes.size());
  }
};
struct Lookups : ::testing::Test {
  Grid5 w;
  TAlignedGrid& g = *w.g;
};
using Moves = Lookups;

TEST_F(Lookups, WithoutAttributesEveryCellIsLeftAlignedInTheGridsFontAndColours) {
  g.SetColor(tk::clYellow);
  for (int c = 0; c < 5; ++c)
    for (int r = 0; r < 5; ++r) {
      EXPECT_EQ(g.GetCellAlignment(c, r), alLeft);
      EXPECT_EQ(g.GetCellColor(c, r), (c == 0 || r == 0) ? tk::clBtnFace : tk::clYellow);
      EXPECT_EQ(&g.GetCellFont(c, r), &g.Font());
      EXPECT_EQ(g.GetCellHint(c, r), "");
    }
  g.SetAlignment(alCenter);
  EXPECT_EQ(g.GetCellAlignment(0, 0), alCenter);
  EXPECT_EQ(g.GetCellAlignment(3, 3), alCenter);
  EXPECT_TRUE(g.IsFixedCell(0, 3));
  EXPECT_TRUE(g.IsFixedCell(3, 0));
  EXPECT_FALSE(g.IsFixedCell(1, 1));
  g.SetFixedCols(0);
  EXPECT_FALSE(g.IsFixedCell(0, 3));
}

TEST_F(Lookups, CellBeatsColumnBeatsRowAndFixedCellsUseOnlyTheFixedLists) {
  LayoutBuilder b;
  b.Binary("AlignCell", CellRecord(4, 4, alCenter))
      .Binary("AlignCol", IndexRecord(2, alRight))
      .Binary("FixedAlignRow", IndexRecord(0, alCenter))
      .Binary("AlignRow", IndexRecord(3, alCenter))
      .IndexColors("ColorCol", {{1, 0x0000FF}})
      .IndexColors("ColorRow", {{3, 0x00FF00}})
      .IndexColors("ColorFixedCol", {{2, 0x123456}})
      .CellColors("ColorCell", {{1, 3, 0xFF0000}});
  w.Load(b);
  // AlignCol 2 applies to the ordinary cells of column 2 only; the header
  // row of column 2 takes FixedAlignRow 0.
  EXPECT_EQ(g.GetCellAlignment(2, 1), alRight);
  EXPECT_EQ(g.GetCellAlignment(2, 3), alRight);  // column before row
  EXPECT_EQ(g.GetCellAlignment(2, 0), alCenter);
  EXPECT_EQ(g.GetCellAlignment(0, 3), alLeft);  // fixed: AlignRow does not apply
  EXPECT_EQ(g.GetCellAlignment(1, 3), alCenter);
  EXPECT_EQ(g.GetCellAlignment(4, 4), alCenter);
  EXPECT_EQ(g.GetCellAlignment(4, 2), alLeft);
  EXPECT_EQ(g.GetCellColor(1, 3), 0xFF0000u);  // the cell's own
  EXPECT_EQ(g.GetCellColor(1, 2), 0x0000FFu);  // its column's
  EXPECT_EQ(g.GetCellColor(2, 3), 0x00FF00u);  // its row's
  EXPECT_EQ(g.GetCellColor(2, 0), 0x123456u);  // a fixed cell of column 2
  EXPECT_EQ(g.GetCellColor(1, 0), tk::clBtnFace);
  EXPECT_EQ(g.GetCellColor(0, 3), tk::clBtnFace);  // ColorRow is not for fixed cells
}

TEST_F(Moves, ColumnAttributesFollowTheirColumnTextsIncluded) {
  g.SetFixedCols(0);
  LayoutBuilder b;
  b.Binary("AlignCell", CellRecord(0, 2, alRight))
      .Binary("AlignCol", IndexRecord(0, alCenter))
      .IndexColors("ColorCol", {{1, 0x111111}, {2, 0x222222}, {3, 0x333333}})
      .CellTexts("HintCell", {{0, 1, "zero"}})
      .CellTexts("Cells", {{0, 1, "t0"}, {3, 1, "t3"}});
  w.Load(b);
  int moved = 0;
  g.OnColumnMoved = [&](tk::TObject*, int, int) { ++moved; };
  g.MoveColumn(0, 3);
  EXPECT_EQ(moved, 1);
  EXPECT_EQ(g.GetCellAlignment(3, 2), alRight);
  EXPECT_EQ(g.GetCellAlignment(3, 1), alCenter);
  EXPECT_EQ(g.GetCellAlignment(0, 2), alLeft);
  EXPECT_EQ(g.GetCellHint(3, 1), "zero");
  EXPECT_EQ(g.GetCellColor(0, 2), 0x111111u);
  EXPECT_EQ(g.GetCellColor(2, 2), 0x333333u);
  EXPECT_EQ(g.GetCellColor(3, 2), g.Color());  // column 0 had no colour
  EXPECT_EQ(g.Cells(3, 1), "t0");
  EXPECT_EQ(g.Cells(2, 1), "t3");
  // The unset lists were padded, not left short of the moved-to index.
  EXPECT_GE(g.Lists().FontCol.size(), 4u);
  EXPECT_EQ(g.Lists().FontCol[3], nullptr);
}

TEST_F(Moves, RowAttributesFollowTheirRowAcrossColumnsWithoutLists) {
  LayoutBuilder b;
  b.Binary("AlignCell", Join({CellRecord(3, 1, alRight), CellRecord(1, 4, alCenter)}))
      .Binary("AlignRow", IndexRecord(1, alCenter))
      .CellTexts("HintCell", {{2, 4, "four"}})
      .CellTexts("Cells", {{1, 4, "r4"}});
  w.Load(b);
  ASSERT_EQ(g.Lists().AlignCell[0], nullptr);
  g.MoveRow(4, 1);
  EXPECT_NE(g.Lists().AlignCell[0], nullptr);  // an empty column list was made
  EXPECT_EQ(g.GetCellAlignment(1, 1), alCenter);
  EXPECT_EQ(g.GetCellAlignment(3, 2), alRight);
  EXPECT_EQ(g.GetCellAlignment(2, 2), alCenter);  // AlignRow 1 went to 2
  EXPECT_EQ(g.GetCellHint(2, 1), "four");
  EXPECT_EQ(g.Cells(1, 1), "r4");
}

}  // namespace
