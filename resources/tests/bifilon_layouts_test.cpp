// Bifilon's layouts: the input table with its labels and defaults and the
// headers of the capacitance table.
#include <gtest/gtest.h>

#include "resources/tests/LayoutGrid.h"

namespace {

using layouttest::Load;

TEST(BifilonLayouts, InputTableHoldsLabelsAndDefaults) {
  tk::TForm form;
  auto* g = Load(form, "UnitBifilon.TabelaDanych", 2, 8);
  layouttest::ExpectRows(g, {{"Promień ekranu w [mm]", "56,0"},
                             {"Promień przewodów w [mm]", "8,0"},
                             {"Odległość pomiędzy przewodami w [mm]", "15,0"},
                             {"Przenikalność względna izolacji", "1"},
                             {"Długość kabla w [m]", "1"},
                             {"Potencjał żyły 1 [V]", "100,0"},
                             {"Potencjał żyły 2 [V]", "100,0"},
                             {"Potencjał ekranu [V]", "0"}});
}

TEST(BifilonLayouts, CapacitanceTableHasItsHeadersOnly) {
  tk::TForm form;
  auto* g = Load(form, "UnitBifilon.TabelaPojemnosci", 3, 3);
  EXPECT_EQ(g->Cells(0, 0), "C[i,j] [pF]");
  EXPECT_EQ(g->Cells(1, 0), "1");
  EXPECT_EQ(g->Cells(2, 0), "2");
  EXPECT_EQ(g->Cells(0, 1), "1");
  EXPECT_EQ(g->Cells(0, 2), "2");
  for (int c = 1; c < 3; ++c)
    for (int r = 1; r < 3; ++r) EXPECT_EQ(g->Cells(c, r), "");
  const uint8_t* data;
  size_t size;
  EXPECT_FALSE(res::FindLayout("Unit1.AlignedGrid2", data, size));
  EXPECT_FALSE(res::FindTitlePicture(data, size));
}

}  // namespace
