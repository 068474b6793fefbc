// The layout compiler: a layout file with every kind of entry, compiled by
// the build, loads into an aligned grid as written.
#include <gtest/gtest.h>

#include "grid/AlignedGrid.h"
#include "resources/Layouts.h"
#include "toolkit/controls/Controls.h"

namespace {

TEST(LayoutCompiler, EveryKindOfEntryLoadsAsWritten) {
  const uint8_t* data;
  size_t size;
  ASSERT_TRUE(res::FindLayout("every_kind", data, size));
  tk::TForm form;
  auto* g = new grid::TAlignedGrid(&form);
  g->LoadFromLayout(data, size);
  EXPECT_EQ(g->ColCount(), 6);
  EXPECT_EQ(g->Alignment(), grid::alCenter);
  EXPECT_FALSE(g->ShowCellHints());
  EXPECT_EQ(g->SelectedCellColor(), tk::clNavy);
  EXPECT_EQ(g->GetCellAlignment(1, 2), grid::alRight);
  EXPECT_EQ(g->GetCellAlignment(2, 3), grid::alCenter);
  EXPECT_EQ(g->GetCellAlignment(65535, 1), grid::alLeft);
  EXPECT_EQ(g->GetCellAlignment(3, 0), grid::alCenter);
  EXPECT_EQ(g->GetCellAlignment(3, 1), grid::alCenter);  // the grid-wide default
  EXPECT_EQ(g->GetCellHint(1, 1), "a \"quoted\" hint!");
  EXPECT_EQ(g->Cells(5, 4), "Potencjał");
  EXPECT_EQ(g->GetCellFont(1, 3).Color, tk::clRed);
  EXPECT_EQ(g->GetCellFont(1, 3).Style, static_cast<unsigned>(tk::fsBold | tk::fsItalic));
  EXPECT_EQ(g->GetCellColor(2, 2), tk::clYellow);
  EXPECT_EQ(g->GetCellColor(3, 3), 0x00ABCDEFu);
  EXPECT_EQ(g->GetCellColor(0, 3), tk::clActiveCaption);
  EXPECT_FALSE(res::FindTitlePicture(data, size));
}

}  // namespace
