// Mantlo's layout: the input table with its labels and defaults.
#include <gtest/gtest.h>

#include "grid/AlignedGrid.h"
#include "resources/Layouts.h"
#include "toolkit/controls/Controls.h"

namespace {

TEST(MantloLayouts, InputTableHoldsLabelsAndDefaults) {
  tk::TForm form;
  auto* g = new grid::TAlignedGrid(&form);
  g->SetColCount(2);
  g->SetRowCount(9);
  const uint8_t* data;
  size_t size;
  ASSERT_TRUE(res::FindLayout("UnitMantlo.AlignedGrid1", data, size));
  g->LoadFromLayout(data, size);
  const char* rows[][2] = {{"V [kV]", "100"},      {"h [m]", "6,0"},  {"Dz [mm]", "21,5"},
                           {"Dizol [mm]", "39,0"}, {"eps", "2,5"},    {"x1 [m]", "-5,0"},
                           {"x2 [m]", "5,0"},      {" y [m]", "1,0"}, {" N", "100"}};
  for (int r = 0; r < 9; ++r) {
    EXPECT_EQ(g->Cells(0, r), rows[r][0]);
    EXPECT_EQ(g->Cells(1, r), rows[r][1]);
  }
  EXPECT_FALSE(res::FindLayout("UnitBifilon.TabelaDanych", data, size));
  EXPECT_FALSE(res::FindTitlePicture(data, size));
}

}  // namespace
