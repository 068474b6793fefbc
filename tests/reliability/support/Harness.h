#pragma once
// The reliability harness: a corpus of texts an engineer might type into an
// input cell, a watchdog that names the press that hangs, a recorder of the
// message boxes of each press, and the checks every press must pass (no text
// that reads as an infinity or NaN, no chart value that is not finite, at
// most one error box and only with a message the programs can give).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/Watchdog.h"
#include "toolkit/chart/Chart.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/MessageBox.h"
#include "toolkit/grids/Grids.h"
#include "toolkit/testing/Testing.h"

namespace reliability {

struct Input {
  std::string name;  // printable, for failure messages
  std::string text;
};

// Texts that do not convert, that convert to awkward values, and that are
// simply too long or hold control characters.
inline std::vector<Input> Corpus() {
  std::vector<Input> c = {
      {"empty", ""},
      {"blanks", "   "},
      {"letters", "abc"},
      {"1,2,3", "1,2,3"},
      {"1..2", "1..2"},
      {"minus", "-"},
      {"1e5000", "1e5000"},
      {"-1e5000", "-1e5000"},
      {"1e-5000", "1e-5000"},
      {"nan", "nan"},
      {"inf", "inf"},
      {"-INF", "-INF"},
      {"0", "0"},
      {"-0", "-0"},
      {"-1", "-1"},
      {"-50,5", "-50,5"},
      {"1e300", "1e300"},
      {"-1e300", "-1e300"},
      {"1e-300", "1e-300"},
      {"1e4900", "1e4900"},
      {"1e-4900", "1e-4900"},
      {"1,1e4932", "1,1e4932"},
      {"2147483647", "2147483647"},
      {"-2147483648", "-2147483648"},
      {"$7FFFFFFF", "$7FFFFFFF"},
      {"tab 5 newline", "\t5\n"},
      {"control chars",
       "1\x01\x02"
       "5\x7f"},
      {"escape", "\x1b[31m7"},
      {"NUL inside", std::string("4\0"
                                 "2",
                                 3)},
      {"bad UTF-8",
       "\xff\xfe"
       "3"},
      {"10000 nines", std::string(10000, '9')},
      {"10000 letters", std::string(10000, 'x')},
      {"0,000...1 (10000 chars)", "0," + std::string(9997, '0') + "1"},
  };
  return c;
}

// A random text for a cell whose default is `base`: mostly a number of any
// size and either sign (a multiple of the default, or a power of ten of its
// own), now and then a corpus text, or the default itself.
template <class Rng>
std::string RandomCellText(Rng& rng, const std::string& base, const std::vector<Input>& corpus) {
  const unsigned pick = static_cast<unsigned>(rng() % 10);
  if (pick == 0) return corpus[rng() % corpus.size()].text;
  if (pick == 1) return base;
  std::string t;
  for (char c : base) t += c == ',' ? '.' : c;
  long double v = std::strtold(t.c_str(), nullptr);
  if (!(v != 0) || pick == 2) v = 1;
  const long double e = static_cast<long double>(static_cast<int>(rng() % 4001) - 2000) / 100;  // 1e-20 .. 1e20
  v *= std::pow(10.0L, e);
  if (rng() % 8 == 0) v = -v;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6Lg", v);
  return buf;
}

// A share of a long run, so that the shares go side by side: with
// RELIABILITY_SHARD="i/n" a run takes the items k (its inputs, counted in
// their order) with k % n == i; the n shares together take them all.
// Without the variable a run takes every item.
inline bool InShard(int item) {
  static const std::pair<int, int> shard = [] {
    int i = 0, n = 1;
    if (const char* s = std::getenv("RELIABILITY_SHARD")) {
      if (std::sscanf(s, "%d/%d", &i, &n) != 2 || n < 1 || i < 0 || i >= n) {
        std::fprintf(stderr, "RELIABILITY_SHARD=%s is not i/n\n", s);
        std::abort();
      }
    }
    return std::make_pair(i, n);
  }();
  return item % shard.second == shard.first;
}

// True when the text reads as an infinity or a NaN.
inline bool ReadsAsNonNumber(const std::string& text) {
  std::string t;
  for (char ch : text) t += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return t.find("inf") != std::string::npos || t.find("nan") != std::string::npos;
}

// Aborts the test program, naming the press, when a press runs longer than
// the limit.
using testsupport::Watchdog;

// Decides whether a box is one the programs may show: its caption and text.
using BoxRule = std::function<bool(const tk::MessageRequest&)>;

// One press through the dispatch, timed by the watchdog, with its boxes.
struct Press {
  std::string name;
  std::function<void()> handler;
};

struct PressOutcome {
  bool ok = true;
  std::vector<tk::MessageRequest> boxes;
};

// Runs presses and keeps the figures of the report.
class Presser {
 public:
  Presser(std::string applicationTitle, BoxRule rule)
      : title_(std::move(applicationTitle)), rule_(std::move(rule)), watchdog_(20) {}

  // `where` names the input (window, cell, text) for every failure message.
  PressOutcome Run(const Press& press, const std::string& where) {
    dialogs_.Clear();
    tk::FpClear();  // what the test's own arithmetic raised is not the press's
    watchdog_.Arm(where + ", press " + press.name);
    PressOutcome out;
    const auto t0 = std::chrono::steady_clock::now();
    out.ok = tk::Dispatch(press.handler);
    tk::testing::ProcessEvents();  // paints what the press changed
    watchdog_.Disarm();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (seconds > slowest_) {
      slowest_ = seconds;
      slowestName_ = where + ", press " + press.name;
    }
    out.boxes = dialogs_.messages;
    ++presses_;
    int errorBoxes = 0;
    for (const tk::MessageRequest& m : out.boxes) {
      ++boxes_[m.caption + ": " + Normalised(m.text)];
      if (m.caption == title_) ++errorBoxes;
      EXPECT_TRUE(rule_(m)) << where << ", press " << press.name << ": unexpected box \"" << m.caption << "\" / \""
                            << m.text.substr(0, 200) << "\"";
      EXPECT_FALSE(ReadsAsNonNumber(m.text) && !EchoesInput(m.text))
          << where << ", press " << press.name << ": box text " << m.text.substr(0, 200);
    }
    if (out.boxes.size() > 1) ++severalBoxes_;
    if (!out.ok) ++failed_;
    if (!out.ok) {
      EXPECT_EQ(errorBoxes, 1) << where << ", press " << press.name << ": a failed press shows one error box";
      EXPECT_FALSE(out.boxes.empty() || out.boxes.back().caption != title_)
          << where << ", press " << press.name << ": the error box comes last";
    } else {
      EXPECT_EQ(errorBoxes, 0) << where << ", press " << press.name << ": error box after a press that finished";
    }
    EXPECT_FALSE(tk::FpFaultPending()) << where << ", press " << press.name << ": fault flag left pending";
    return out;
  }

  // The input typed for the current case: a box that quotes it (the strict
  // integer conversion) may hold "nan" or "inf" because the user typed it.
  void SetTyped(const std::string& text) { typed_ = text; }

  int Presses() const { return presses_; }
  const std::map<std::string, int>& Boxes() const { return boxes_; }

  void Report(const std::string& program, int inputs) const {
    std::printf(
        "[reliability] %s: %d inputs, %d presses (%d ended by an error, %d showed more than one box"
        "), crashes 0, hangs 0\n",
        program.c_str(), inputs, presses_, failed_, severalBoxes_);
    for (const auto& [text, n] : boxes_) std::printf("[reliability]   %6d x %s\n", n, text.c_str());
    std::printf("[reliability]   slowest press %.2f s: %s\n", slowest_, slowestName_.c_str());
  }

  tk::testing::RecordingDialogs& Dialogs() { return dialogs_; }

 private:
  bool EchoesInput(const std::string& text) const { return !typed_.empty() && text.find(typed_) != std::string::npos; }
  // The conversion message quotes the typed text; counted as one kind.
  static std::string Normalised(const std::string& text) {
    const std::string tail = "' is not a valid integer value";
    if (text.size() > tail.size() && text[0] == '\'' && text.compare(text.size() - tail.size(), tail.size(), tail) == 0)
      return "'%s' is not a valid integer value";
    return text;
  }

  std::string title_;
  BoxRule rule_;
  Watchdog watchdog_;
  tk::testing::RecordingDialogs dialogs_;
  std::string typed_;
  int presses_ = 0, failed_ = 0, severalBoxes_ = 0;
  std::map<std::string, int> boxes_;
  double slowest_ = 0;
  std::string slowestName_;
};

// Every text of a grid except the one cell that holds the typed input.
inline void ExpectNumbersOnly(const tk::TStringGrid* grid, const std::string& where, int skipCol = -1,
                              int skipRow = -1) {
  for (int c = 0; c < grid->ColCount(); ++c)
    for (int r = 0; r < grid->RowCount(); ++r) {
      if (c == skipCol && r == skipRow) continue;
      const std::string t = grid->Cells(c, r);
      EXPECT_FALSE(ReadsAsNonNumber(t)) << where << ": cell (" << c << ", " << r << ") reads \"" << t.substr(0, 80)
                                        << "\"";
    }
}

// The chart's texts: title lines, axis titles and the labels its axes show,
// series titles.  `typed` is left out where a title quotes the input.
inline void ExpectNumberTexts(tk::TChart* chart, const std::string& where, const std::string& typed = "") {
  std::vector<std::string> texts = chart->Title.Text;
  texts.push_back(chart->LeftAxis.Title);
  texts.push_back(chart->BottomAxis.Title);
  for (int k = 0; k < chart->SeriesCount(); ++k) texts.push_back(chart->Series(k)->Title);
  for (bool bottom : {true, false})
    for (const std::string& l : chart->AxisLabels(bottom)) texts.push_back(l);
  for (std::string t : texts) {
    if (!typed.empty())
      for (size_t at; (at = t.find(typed)) != std::string::npos;) t.erase(at, typed.size());
    EXPECT_FALSE(ReadsAsNonNumber(t)) << where << ": chart text \"" << t.substr(0, 200) << "\"";
  }
}

inline void ExpectFinite(const tk::TChart* chart, const std::string& where) {
  for (int k = 0; k < chart->SeriesCount(); ++k) {
    const tk::TChartSeries* s = chart->Series(k);
    for (int i = 0; i < s->Count(); ++i) {
      if (!std::isfinite(s->XValue(i)) || !std::isfinite(s->YValue(i))) {
        ADD_FAILURE() << where << ": series " << k << " point " << i << " is (" << s->XValue(i) << ", " << s->YValue(i)
                      << ")";
        return;
      }
    }
  }
}

// The points of a chart's series, to compare runs.
using ChartPoints = std::vector<std::vector<std::pair<double, double>>>;
inline ChartPoints PointsOf(const tk::TChart* chart) {
  ChartPoints p;
  for (int k = 0; k < chart->SeriesCount(); ++k) {
    const tk::TChartSeries* s = chart->Series(k);
    p.emplace_back();
    for (int i = 0; i < s->Count(); ++i) p.back().emplace_back(s->XValue(i), s->YValue(i));
  }
  return p;
}

inline std::vector<std::string> Column(const tk::TStringGrid* grid, int col) {
  std::vector<std::string> v;
  for (int r = 0; r < grid->RowCount(); ++r) v.push_back(grid->Cells(col, r));
  return v;
}

inline void SetColumn(tk::TStringGrid* grid, int col, const std::vector<std::string>& v) {
  for (int r = 0; r < grid->RowCount() && r < static_cast<int>(v.size()); ++r) grid->SetCells(col, r, v[r]);
}

// The floating-point messages of the run-time.
inline bool RunTimeMessage(const std::string& text) {
  return text == "Floating point division by zero" || text == "Invalid floating point operation" ||
         text == "Floating point overflow";
}

}  // namespace reliability
