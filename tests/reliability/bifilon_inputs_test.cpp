// Every text of the corpus in every cell of Bifilon's input grid, with the
// three presses after each: no crash or hang, no table text or chart value
// that is not a number, at most one error box; the defaults typed again give
// the default charts and capacitances again.
#include "bifilon/Start.h"
#include "bifilon/UnitBifilon.h"
#include "grid/AlignedGrid.h"
#include "support/GridSweep.h"
#include "support/ProgramBoxes.h"

namespace reliability {
namespace {

TEST(BifilonInputs, EveryTextInEveryCellWithEveryPress) {
  tk::TApplication app("Bifilon");
  bifilon::TFormBifilon* f = bifilon::UtworzOkna(app);
  GridSweep s{f->TabelaDanych,
              f->Chart1,
              {{"potential chart", [f] { f->BitBtn1->OnClick(f->BitBtn1); }},
               {"field chart", [f] { f->BitBtn2->OnClick(f->BitBtn2); }},
               {"capacitances", [f] { f->BitBtn3->OnClick(f->BitBtn3); }}},
              BifilonBox,
              {f->TabelaPojemnosci}};
  // The chart's title from the first press on, the table once it is written.
  s.texts = [f](size_t press) {
    std::vector<std::string> t = f->Chart1->Title.Text;
    if (press == 2)
      for (int col : {1, 2})
        for (const std::string& c : Column(f->TabelaPojemnosci, col)) t.push_back(c);
    return t;
  };
  s.series = 3;
  s.points = 361;
  SweepEveryCell(app, s);
}

}  // namespace
}  // namespace reliability
