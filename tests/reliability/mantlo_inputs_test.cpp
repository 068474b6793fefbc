// Every text of the corpus in every cell of Mantlo's input grid, with the
// three chart presses after each: no crash or hang, no chart value that is
// not a number, at most one error box (the run-time's floating-point errors,
// the strict conversion's message for the point count, or the refusal of a
// count whose points the chart cannot hold); the defaults typed again give
// the default charts again.
#include "grid/AlignedGrid.h"
#include "mantlo/Start.h"
#include "mantlo/UnitMantlo.h"
#include "support/GridSweep.h"
#include "support/ProgramBoxes.h"

namespace reliability {
namespace {

TEST(MantloInputs, EveryTextInEveryCellWithEveryPress) {
  tk::TApplication app("Mantlo");
  mantlo::TForm1* f = mantlo::UtworzOkna(app);
  GridSweep s{f->AlignedGrid1,
              f->Chart1,
              {{"conductor surface", [f] { f->BitBtn10->OnClick(f->BitBtn10); }},
               {"insulation surface", [f] { f->BitBtn12->OnClick(f->BitBtn12); }},
               {"line at a height", [f] { f->BitBtn11->OnClick(f->BitBtn11); }}},
              MantloBox,
              {}};
  s.points = 101;
  s.quotedRow = 7;  // the chart's title quotes row 7
  s.titleQuotesInput = true;
  s.countRow = 8;  // the point count, a small one in the random runs
  SweepEveryCell(app, s);
}

}  // namespace
}  // namespace reliability
