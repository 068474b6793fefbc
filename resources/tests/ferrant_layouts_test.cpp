// Ferrant's layouts: the tube table of the selection window and its empty
// second aligned grid, and the title picture when there is one.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resources/tests/LayoutGrid.h"

namespace {

TEST(FerrantLayouts, TheTubeTableStreamStartsWithItsHeaderCell) {
  const uint8_t* data = nullptr;
  size_t size = 0;
  ASSERT_TRUE(res::FindLayout("Unit1.AlignedGrid2", data, size));
  // The property name, the list tag, then the first entry (0, 0, " D[mm]").
  const std::vector<uint8_t> head(data, data + 19);
  const std::vector<uint8_t> expected = {5, 'C', 'e', 'l', 'l', 's', 1, 2, 0, 2, 0, 6, 6, ' ', 'D', '[', 'm', 'm', ']'};
  EXPECT_EQ(head, expected);
  EXPECT_EQ(data[size - 1], 0);  // the end of the properties
  EXPECT_FALSE(res::FindLayout("Unit1.AlignedGrid3", data, size));
  EXPECT_FALSE(res::FindLayout("UnitBifilon.TabelaDanych", data, size));  // not Ferrant's
}

TEST(FerrantLayouts, TheTubeTableLoadsDiametersAndWallThicknesses) {
  tk::TForm form;
  auto* g = layouttest::Load(form, "Unit1.AlignedGrid2", 6, 12, 0);
  const char* header[] = {" D[mm]", " t1 [mm]", " t2 [mm]", " t3 [mm]", " t4 [mm]", " t5 [mm]"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(g->Cells(c, 0), header[c]);
  const int d[] = {20, 32, 40, 50, 63, 80, 100, 120, 160, 200, 250};
  const int t[][5] = {{2, 3, 4, 5, 6},   {2, 3, 4, 5, 6},    {2, 3, 4, 5, 6},   {4, 5, 6, 8, 10},
                      {4, 5, 6, 8, 10},  {4, 5, 6, 8, 10},   {5, 6, 8, 10, 15}, {5, 6, 8, 10, 15},
                      {5, 6, 8, 10, 15}, {6, 8, 10, 12, 15}, {6, 8, 10, 12, 15}};
  for (int r = 1; r <= 11; ++r) {
    EXPECT_EQ(g->Cells(0, r), std::to_string(d[r - 1]));
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(g->Cells(c, r), std::to_string(t[r - 1][c - 1])) << c << "," << r;
  }
  EXPECT_TRUE(g->Stored().Cells);
  EXPECT_FALSE(g->Stored().AlignCol);

  auto* empty = new grid::TAlignedGrid(&form);
  empty->SetCells(1, 1, "x");
  const uint8_t* data;
  size_t size;
  ASSERT_TRUE(res::FindLayout("Unit1.AlignedGrid1", data, size));
  empty->LoadFromLayout(data, size);
  EXPECT_EQ(empty->Cells(1, 1), "");
}

TEST(FerrantLayouts, TheTitlePictureIsThereExactlyWhenItsFileIs) {
  const std::string path = std::string(RESOURCES_DIR) + "/ferrant/title.jpg";
  std::ifstream in(path, std::ios::binary);
  const uint8_t* data = nullptr;
  size_t size = 0;
  if (!in) {
    EXPECT_FALSE(res::FindTitlePicture(data, size));
    return;
  }
  const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_TRUE(res::FindTitlePicture(data, size));
  EXPECT_EQ(std::vector<uint8_t>(data, data + size), file);
}

}  // namespace
