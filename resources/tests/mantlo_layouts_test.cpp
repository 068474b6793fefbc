// Mantlo's layout: the input table with its labels and defaults.
#include <gtest/gtest.h>

#include "resources/tests/LayoutGrid.h"

namespace {

TEST(MantloLayouts, InputTableHoldsLabelsAndDefaults) {
  tk::TForm form;
  auto* g = layouttest::Load(form, "UnitMantlo.AlignedGrid1", 2, 9);
  layouttest::ExpectRows(g, {{"V [kV]", "100"},
                             {"h [m]", "6,0"},
                             {"Dz [mm]", "21,5"},
                             {"Dizol [mm]", "39,0"},
                             {"eps", "2,5"},
                             {"x1 [m]", "-5,0"},
                             {"x2 [m]", "5,0"},
                             {" y [m]", "1,0"},
                             {" N", "100"}});
  const uint8_t* data;
  size_t size;
  EXPECT_FALSE(res::FindLayout("UnitBifilon.TabelaDanych", data, size));
  EXPECT_FALSE(res::FindTitlePicture(data, size));
}

}  // namespace
