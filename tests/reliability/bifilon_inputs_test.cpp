// Every text of the corpus in every cell of Bifilon's input grid, with the
// three presses after each: no crash or hang, no table text or chart value
// that is not a number, at most one error box; the defaults typed again give
// the default charts and capacitances again.
#include <random>

#include "bifilon/UnitBifilon.h"
#include "grid/AlignedGrid.h"
#include "linalg/Algelin4.h"
#include "support/Harness.h"
#include "support/ProgramBoxes.h"
#include "toolkit/core/Locale.h"

namespace reliability {
namespace {

struct Snapshot {
  std::vector<std::string> capacitances;
  ChartPoints chart;
  std::vector<std::string> titles;
};

TEST(BifilonInputs, EveryTextInEveryCellWithEveryPress) {
  tk::EnsureWindowing();
  tk::SetApplicationTitle("Bifilon");
  tk::SetDecimalSeparator(',');
  auto* f = new bifilon::TFormBifilon();
  f->AfterConstruction();
  f->Show();
  tk::testing::ProcessEvents();
  tk::TStringGrid* grid = f->TabelaDanych;
  const std::vector<std::string> defaults = Column(grid, 1);
  const std::vector<Press> presses = {{"potential chart", [f] { f->BitBtn1->OnClick(f->BitBtn1); }},
                                      {"field chart", [f] { f->BitBtn2->OnClick(f->BitBtn2); }},
                                      {"capacitances", [f] { f->BitBtn3->OnClick(f->BitBtn3); }}};
  auto take = [f] {
    Snapshot s{Column(f->TabelaPojemnosci, 1), PointsOf(f->Chart1), f->Chart1->Title.Text};
    for (const std::string& t : Column(f->TabelaPojemnosci, 2)) s.capacitances.push_back(t);
    return s;
  };
  Presser presser("Bifilon", BifilonBox);
  auto defaultRun = [&](const std::string& where) {
    SetColumn(grid, 1, defaults);
    presser.SetTyped("");
    std::vector<Snapshot> shots;
    for (const Press& p : presses) {
      const PressOutcome o = presser.Run(p, where);
      EXPECT_TRUE(o.ok && o.boxes.empty()) << where << ", press " << p.name;
      shots.push_back(take());
    }
    return shots;
  };
  const std::vector<Snapshot> baseline = defaultRun("defaults");
  ASSERT_EQ(baseline[0].chart.size(), 3u);
  ASSERT_EQ(baseline[0].chart[0].size(), 361u);
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
        ExpectNumbersOnly(f->TabelaPojemnosci, where + ", press " + p.name);
        ExpectFinite(f->Chart1, where + ", press " + p.name);
        ExpectNumberTexts(f->Chart1, where + ", press " + p.name);
      }
      const std::vector<Snapshot> again = defaultRun(where + " then defaults");
      // The charts from the first press on, the table once it is written.
      for (size_t i = 0; i < again.size(); ++i) {
        EXPECT_TRUE(again[i].chart == baseline[i].chart && again[i].titles == baseline[i].titles)
            << where << " then defaults, press " << presses[i].name;
      }
      EXPECT_EQ(again[2].capacitances, baseline[2].capacitances) << where << " then defaults";
      if (::testing::Test::HasFailure()) break;
    }
    if (::testing::Test::HasFailure()) break;
  }
  // Random values in all cells at once.
  std::mt19937 rng(2026);
  const std::vector<Input> corpus = Corpus();
  for (int n = 0; n < 200 && !::testing::Test::HasFailure(); ++n) {
    SetColumn(grid, 1, defaults);
    std::string where = "random";
    for (int row = 0; row < grid->RowCount(); ++row) {
      std::string t = RandomCellText(rng, defaults[row], corpus);
      grid->SetCells(1, row, t);
      where += " [" + std::to_string(row) + "]=" + (t.size() > 20 ? t.substr(0, 20) + "..." : t);
    }
    if (!InShard(n)) continue;
    presser.SetTyped(grid->Cells(1, 0));
    ++inputs;
    for (const Press& p : presses) {
      presser.Run(p, where);
      ExpectFinite(f->Chart1, where + ", press " + p.name);
    }
  }
  presser.Report("Bifilon", inputs);
  delete f;
  bifilon::P.reset();
  tk::SetDecimalSeparator('\0');
}

}  // namespace
}  // namespace reliability
