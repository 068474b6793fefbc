// Every text of the corpus in every cell of Mantlo's input grid, with the
// three chart presses after each: no crash or hang, no chart value that is
// not a number, at most one error box (the run-time's floating-point errors,
// the strict conversion's message for the point count, or the refusal of a
// count whose points the chart cannot hold); the defaults typed again give
// the default charts again.
#include <random>

#include "grid/AlignedGrid.h"
#include "mantlo/UnitMantlo.h"
#include "support/Harness.h"
#include "support/ProgramBoxes.h"
#include "toolkit/core/Locale.h"

namespace reliability {
namespace {

TEST(MantloInputs, EveryTextInEveryCellWithEveryPress) {
  tk::EnsureWindowing();
  tk::SetApplicationTitle("Mantlo");
  tk::SetDecimalSeparator(',');
  auto* f = new mantlo::TForm1();
  f->AfterConstruction();
  f->Show();
  tk::testing::ProcessEvents();
  tk::TStringGrid* grid = f->AlignedGrid1;
  const std::vector<std::string> defaults = Column(grid, 1);
  const std::vector<Press> presses = {{"conductor surface", [f] { f->BitBtn10->OnClick(f->BitBtn10); }},
                                      {"insulation surface", [f] { f->BitBtn12->OnClick(f->BitBtn12); }},
                                      {"line at a height", [f] { f->BitBtn11->OnClick(f->BitBtn11); }}};
  Presser presser("Mantlo", MantloBox);
  auto defaultRun = [&](const std::string& where) {
    SetColumn(grid, 1, defaults);
    presser.SetTyped("");
    std::vector<ChartPoints> shots;
    for (const Press& p : presses) {
      const PressOutcome o = presser.Run(p, where);
      EXPECT_TRUE(o.ok && o.boxes.empty()) << where << ", press " << p.name;
      shots.push_back(PointsOf(f->Chart1));
    }
    return shots;
  };
  const std::vector<ChartPoints> baseline = defaultRun("defaults");
  ASSERT_EQ(baseline[0][0].size(), 101u);
  int inputs = 0, item = 0;
  for (int row = 0; row < grid->RowCount(); ++row) {
    for (const Input& in : Corpus()) {
      if (!InShard(item++)) continue;
      const std::string where = "row " + std::to_string(row) + " \"" + in.name + "\"";
      SetColumn(grid, 1, defaults);
      grid->SetCells(1, row, in.text);
      presser.SetTyped(in.text);
      ++inputs;
      for (const Press& p : presses) {
        presser.Run(p, where);
        ExpectNumbersOnly(grid, where + ", press " + p.name, 1, row);
        ExpectFinite(f->Chart1, where + ", press " + p.name);
        ExpectNumberTexts(f->Chart1, where + ", press " + p.name, in.text);  // the title quotes row 7
      }
      const std::vector<ChartPoints> again = defaultRun(where + " then defaults");
      for (size_t i = 0; i < again.size(); ++i)
        EXPECT_TRUE(again[i] == baseline[i]) << where << " then defaults, press " << presses[i].name;
      if (::testing::Test::HasFailure()) break;
    }
    if (::testing::Test::HasFailure()) break;
  }
  // Random values in all cells at once (the point count a small one).
  std::mt19937 rng(2026);
  const std::vector<Input> corpus = Corpus();
  for (int n = 0; n < 200 && !::testing::Test::HasFailure(); ++n) {
    SetColumn(grid, 1, defaults);
    std::string where = "random";
    for (int row = 0; row < grid->RowCount(); ++row) {
      std::string t = RandomCellText(rng, defaults[row], corpus);
      if (row == 8) t = std::to_string(static_cast<int>(rng() % 2000) - 10);
      grid->SetCells(1, row, t);
      where += " [" + std::to_string(row) + "]=" + (t.size() > 20 ? t.substr(0, 20) + "..." : t);
    }
    if (!InShard(n)) continue;
    presser.SetTyped(grid->Cells(1, 7));
    ++inputs;
    for (const Press& p : presses) {
      presser.Run(p, where);
      ExpectFinite(f->Chart1, where + ", press " + p.name);
    }
  }
  presser.Report("Mantlo", inputs);
  delete f;
  tk::SetDecimalSeparator('\0');
}

}  // namespace
}  // namespace reliability
