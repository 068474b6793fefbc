#pragma once
// Every text of the corpus in every cell of a program's input grid (column 1),
// the others at their defaults, with every press of the window after each:
// no crash or hang, no text of the grid, of an output table or of the chart
// that is not a number, no chart value that is not finite, at most one error
// box and only one the program may give; the defaults typed again give the
// default results again.  Then random values in all cells at once.
#include <random>
#include <string>
#include <vector>

#include "support/Harness.h"
#include "toolkit/core/Locale.h"

namespace reliability {

struct GridSweep {
  tk::TStringGrid* grid;
  tk::TChart* chart;
  std::vector<Press> presses;
  BoxRule boxes;
  std::vector<const tk::TStringGrid*> tables;  // output tables: numbers only
  // Texts besides the chart's points that the defaults must give again after
  // the press with this index.
  std::function<std::vector<std::string>(size_t press)> texts = [](size_t) { return std::vector<std::string>(); };
  size_t series = 0;  // the default chart's series after the first press (0: not checked)
  size_t points = 0;  // and the points of its first series
  int quotedRow = 0;  // the row whose text a box or the chart title of a random run may quote
  bool titleQuotesInput = false;
  int countRow = -1;  // a row that takes a small whole number in the random runs
};

// Runs the sweep on the shown main window of `app`, in a comma locale.
inline void SweepEveryCell(tk::TApplication& app, const GridSweep& s) {
  tk::SetDecimalSeparator(',');
  app.MainForm()->Show();
  tk::testing::ProcessEvents();
  struct Shot {
    ChartPoints chart;
    std::vector<std::string> texts;
    bool operator==(const Shot& o) const { return chart == o.chart && texts == o.texts; }
  };
  const std::vector<std::string> defaults = Column(s.grid, 1);
  Presser presser(app.Title(), s.boxes);
  auto defaultRun = [&](const std::string& where) {
    SetColumn(s.grid, 1, defaults);
    presser.SetTyped("");
    std::vector<Shot> shots;
    for (const Press& p : s.presses) {
      const PressOutcome o = presser.Run(p, where);
      EXPECT_TRUE(o.ok && o.boxes.empty()) << where << ", press " << p.name;
      shots.push_back({PointsOf(s.chart), s.texts(shots.size())});
    }
    return shots;
  };
  const std::vector<Shot> baseline = defaultRun("defaults");
  if (s.series != 0) {
    ASSERT_EQ(baseline[0].chart.size(), s.series);
  }
  ASSERT_EQ(baseline[0].chart[0].size(), s.points);
  int inputs = 0, item = 0;
  for (int row = 0; row < s.grid->RowCount() && !::testing::Test::HasFailure(); ++row) {
    for (const Input& in : Corpus()) {
      if (!InShard(item++)) continue;
      const std::string where = "row " + std::to_string(row) + " \"" + in.name + "\"";
      SetColumn(s.grid, 1, defaults);
      s.grid->SetCells(1, row, in.text);
      presser.SetTyped(in.text);
      ++inputs;
      for (const Press& p : s.presses) {
        const std::string pressed = where + ", press " + p.name;
        presser.Run(p, where);
        ExpectNumbersOnly(s.grid, pressed, 1, row);
        for (const tk::TStringGrid* t : s.tables) ExpectNumbersOnly(t, pressed);
        ExpectFinite(s.chart, pressed);
        ExpectNumberTexts(s.chart, pressed, s.titleQuotesInput ? in.text : "");
      }
      const std::vector<Shot> again = defaultRun(where + " then defaults");
      for (size_t i = 0; i < again.size(); ++i)
        EXPECT_TRUE(again[i] == baseline[i]) << where << " then defaults, press " << s.presses[i].name;
      if (::testing::Test::HasFailure()) break;
    }
  }
  std::mt19937 rng(2026);
  const std::vector<Input> corpus = Corpus();
  for (int n = 0; n < 200 && !::testing::Test::HasFailure(); ++n) {
    SetColumn(s.grid, 1, defaults);
    std::string where = "random";
    for (int row = 0; row < s.grid->RowCount(); ++row) {
      std::string t = RandomCellText(rng, defaults[row], corpus);
      if (row == s.countRow) t = std::to_string(static_cast<int>(rng() % 2000) - 10);
      s.grid->SetCells(1, row, t);
      where += " [" + std::to_string(row) + "]=" + (t.size() > 20 ? t.substr(0, 20) + "..." : t);
    }
    if (!InShard(n)) continue;
    presser.SetTyped(s.grid->Cells(1, s.quotedRow));
    ++inputs;
    for (const Press& p : s.presses) {
      presser.Run(p, where);
      ExpectFinite(s.chart, where + ", press " + p.name);
    }
  }
  presser.Report(app.Title(), inputs);
  tk::SetDecimalSeparator('\0');
}

}  // namespace reliability
