// The chart control: series contents, axis labels and ranges as Qt Charts
// shows them, the drawn picture, the resize question and the double click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "tests/support/EmfFile.h"
#include "tests/support/Pixels.h"
#include "tests/support/TestFiles.h"
#include "toolkit/chart/Chart.h"
#include "toolkit/controls/Controls.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"
#include "toolkit/testing/Testing.h"
#include "toolkit/testing/TestingChart.h"

using namespace tk;
namespace tt = tk::testing;
using testsupport::CountNear;
using testsupport::Near;

namespace {
// While nonzero, an allocation of at least this many bytes fails: a chart's
// buffers for many points fail, the small ones of Qt's painting do not.
// (The address sanitizer keeps operator new to itself.)
size_t failFrom = 0;
}  // namespace

#ifndef __SANITIZE_ADDRESS__
void* operator new(size_t n) {
  if (failFrom != 0 && n >= failFrom) throw std::bad_alloc();
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
// The pair of the replaced operator new: the compiler takes the malloc
// within for a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop
#endif

namespace {

TFont ArialBold(int height, TColor color) {
  TFont f;
  f.Name = "Arial";
  f.Height = height;
  f.Style = fsBold;
  f.Color = color;
  return f;
}

// A chart filling a window of the given size.
struct ChartWindow {
  TForm form;
  TChart* chart;
  ChartWindow(int w, int h) {
    form.SetBounds(0, 0, w, h);
    chart = new TChart(&form);
    chart->SetAlign(alClient);
  }
};

// The loss chart as the tube window fills it: 41 values in blue, labelled
// "1", "5", ... "200".
void FillLoss(TChart& c) {
  c.Title.Text = {"Zależność strat mocy w przewodzie cylindrycznym od przenikalności magnetycznej wzglednej", "", ""};
  c.Title.Font = ArialBold(-15, clBlue);
  c.BottomAxis.Title = "Przenikalność względna przewodu";
  c.BottomAxis.Increment = 1;
  c.LeftAxis.Title = "Straty mocy w przewodzie w [kW]";
  c.BottomAxis.TitleFont = c.LeftAxis.TitleFont = ArialBold(-13, clBlack);
  c.GradientVisible = true;
  c.GradientEndColor = clSilver;
  TChartSeries* s = c.SeriesCount() > 0 ? c.Series(0) : c.AddSeries();
  s->SeriesColor = clRed;
  s->Clear();
  s->Add(2.0, "1", RGBColor(0, 0, 255));
  for (int i = 1; i <= 40; ++i) s->Add(2.0 + 3 * std::sqrt(5.0 * i), std::to_string(5 * i), RGBColor(0, 0, 255));
}

double ParseLabel(std::string s) {
  for (char& ch : s)
    if (ch == ',') ch = '.';
  return std::strtod(s.c_str(), nullptr);
}

std::string Joined(const std::vector<std::string>& labels) {
  std::string s;
  for (const auto& l : labels) s += "[" + l + "]";
  return s;
}

// The labels of an automatic axis whose data run from lo to hi: 5 to 11 of
// them at equal steps of 1, 2, 2.5 or 5 x 10^k, reaching to within a step of
// both ends, all with the same number of decimals.
void ExpectNiceTicks(const std::vector<std::string>& labels, double lo, double hi) {
  SCOPED_TRACE(Joined(labels));
  ASSERT_GE(labels.size(), 5u);
  ASSERT_LE(labels.size(), 11u);
  std::vector<long double> v;
  int decimals = -1;
  for (std::string l : labels) {
    EXPECT_LE(l.size(), 18u);
    for (char& ch : l)
      if (ch == ',') ch = '.';
    v.push_back(std::strtold(l.c_str(), nullptr));
    if (l == "0") continue;
    const size_t dot = l.find('.'), e = l.find('e');
    const int d = dot == std::string::npos ? 0 : static_cast<int>((e == std::string::npos ? l.size() : e) - dot - 1);
    if (decimals < 0) decimals = d;
    EXPECT_EQ(d, decimals) << l;
  }
  const long double measured = v[1] - v[0];
  ASSERT_GT(measured, 0);
  const long double power = std::pow(10.0L, std::floor(std::log10(measured) + 1e-9L));
  long double step = 0;
  for (long double m : {1.0L, 2.0L, 2.5L, 5.0L})
    if (std::fabs(measured / power - m) < 1e-6) step = m * power;
  ASSERT_GT(step, 0) << static_cast<double>(measured);
  for (size_t i = 1; i < v.size(); ++i) EXPECT_NEAR(static_cast<double>((v[i] - v[i - 1]) / step), 1, 1e-6) << i;
  EXPECT_NEAR(static_cast<double>((v[0] - std::round(v[0] / step) * step) / step), 0, 1e-6);
  EXPECT_GE(static_cast<double>((v.front() - lo) / step), -1e-6);
  EXPECT_LT(static_cast<double>((v.front() - lo) / step), 1);
  EXPECT_GE(static_cast<double>((hi - v.back()) / step), -1e-6);
  EXPECT_LT(static_cast<double>((hi - v.back()) / step), 1);
}

// The texts of a chart as its metafile draws them, with their boxes.
struct DrawnText {
  std::string text;
  int left, top, right, bottom;
};

std::vector<DrawnText> DrawnTexts(TChart& c) {
  const std::vector<uint8_t> f = c.MetafileEnhBytes();
  std::vector<DrawnText> out;
  for (const testsupport::EmfRecord& r : testsupport::Walk(f))
    if (r.type == emf::EMR_EXTTEXTOUTW)
      out.push_back({testsupport::Utf8(testsupport::TextOf(f, r)), testsupport::I32(f, r.at + 8),
                     testsupport::I32(f, r.at + 12), testsupport::I32(f, r.at + 16), testsupport::I32(f, r.at + 20)});
  return out;
}

// The numbers drawn beside the left axis, from the bottom up: numeric texts
// other than the lowest row (the bottom axis's labels).
std::vector<std::string> DrawnLeftLabels(TChart& c) {
  std::vector<DrawnText> numbers;
  for (const DrawnText& t : DrawnTexts(c))
    if (!t.text.empty() && t.text.find_first_not_of("0123456789-+,.e") == std::string::npos) numbers.push_back(t);
  int lowest = -1;
  for (const DrawnText& t : numbers) lowest = std::max(lowest, t.top);
  std::vector<DrawnText> left;
  for (const DrawnText& t : numbers)
    if (t.top < lowest - 2) left.push_back(t);
  std::sort(left.begin(), left.end(), [](const DrawnText& a, const DrawnText& b) { return a.top > b.top; });
  std::vector<std::string> out;
  for (const DrawnText& t : left) out.push_back(t.text);
  return out;
}

bool Dark(TColor c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 300; }

// How many labels a picture of a chart shows beside its left (or under its
// bottom) axis: runs of inked rows (columns) in a strip just off the axis
// line, clear of the tick marks and of the axis title.
int DrawnLabels(const TBitmap& b, bool bottom) {
  const int w = b.Width(), h = b.Height();
  int axis = -1;
  if (bottom) {
    for (int y = h - 1; y > h / 2 && axis < 0; --y) {
      int n = 0;
      for (int x = 0; x < w; ++x) n += Dark(b.Pixel(x, y));
      if (n > w / 2) axis = y;
    }
  } else {
    for (int x = 0; x < w / 3 && axis < 0; ++x) {
      int n = 0;
      for (int y = 0; y < h; ++y) n += Dark(b.Pixel(x, y));
      if (n > h / 2) axis = x;
    }
  }
  if (axis < 0) return -1;
  // Along the axis line, with room for the half of a label that reaches past
  // either end (and none for the chart's title above).
  int first = 0, last = -1;
  for (int i = 0, start = 0; i < (bottom ? w : h); ++i) {
    if (!(bottom ? Dark(b.Pixel(i, axis)) : Dark(b.Pixel(axis, i)))) {
      start = i + 1;
    } else if (i - start > last - first) {
      first = start;
      last = i;
    }
  }
  const int reach = bottom ? 20 : 6;
  int runs = 0, gap = 99;
  for (int i = std::max(0, first - reach); i < std::min(bottom ? w : h, last + reach); ++i) {
    bool inked = false;
    for (int j = 4; j < 14 && !inked; ++j) inked = bottom ? Dark(b.Pixel(i, axis + j)) : Dark(b.Pixel(axis - j, i));
    if (inked && gap >= 4) ++runs;
    gap = inked ? 0 : gap + 1;
  }
  return runs;
}

// The six current-density profiles across the wall of the tube, 980 to 1000
// mm (from the radii in metres, as the tube window computes them), up to
// about 21 A/mm2 at the surface.
void FillProfiles(TChart& c) {
  c.Title.Text = {"Rozkład gęstości prądu wzdłuż promienia dla różnych przenikalności magnetycznych względnych"};
  c.Title.Font = ArialBold(-15, clBlue);
  c.BottomAxis.Title = "Zmienność promienia od r1 do r2  w  [mm]";
  c.LeftAxis.Title = "Rozkład gęstości prądu dla różnych mi  [A/mm2]";
  c.BottomAxis.TitleFont = c.LeftAxis.TitleFont = ArialBold(-13, clBlack);
  c.GradientVisible = true;
  c.GradientEndColor = clWhite;
  const TColor colours[6] = {clRed, clAqua, clYellow, clBlue, clFuchsia, clLime};
  const int mi[6] = {1, 5, 10, 50, 100, 200};
  for (int k = 0; k < 6; ++k) {
    TChartSeries* s = c.AddSeries();
    s->SeriesColor = colours[k];
    s->LineWidth = 2;
    s->Title = "mi=" + std::to_string(mi[k]);
    const long double r1 = 980.0L / 1000, step = (1000.0L / 1000 - r1) / 99;
    for (int i = 0; i < 100; ++i) {
      const long double r = r1 + i * step;
      const double depth = 4.0 / std::sqrt(mi[k]);  // mm
      const double j = 21.0874 * std::exp((static_cast<double>(r) - 1) * 1000 / depth);
      s->AddXY(static_cast<double>(r * 1000), j, "", s->SeriesColor);
    }
  }
}

}  // namespace

TEST(ChartSeries, KeepsPointsInAscendingXWithEqualXInArrivalOrder) {
  ChartWindow w(300, 200);
  TChartSeries* s = w.chart->AddSeries();
  EXPECT_EQ(s->AddXY(3, 30, "c"), 0);
  EXPECT_EQ(s->AddXY(1, 10, "a"), 0);
  EXPECT_EQ(s->AddXY(2, 20, "b1"), 1);
  EXPECT_EQ(s->AddXY(2, 21, "b2"), 2);
  ASSERT_EQ(s->Count(), 4);
  const std::vector<std::string> labels = {"a", "b1", "b2", "c"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(s->Point(i).label, labels[size_t(i)]);
  EXPECT_DOUBLE_EQ(s->YValue(3), 30);

  TChartSeries* u = w.chart->AddSeries();
  u->XValuesAscending = false;
  u->AddXY(5, 1);
  EXPECT_EQ(u->AddXY(1, 2), 1);  // appended
  EXPECT_DOUBLE_EQ(u->XValue(1), 1);
  EXPECT_EQ(w.chart->SeriesCount(), 2);
  EXPECT_EQ(s->ParentChart(), w.chart);
}

// Points arriving in descending x, in ascending x, in runs of both and at
// random (many of equal x), with reads in between: the series holds them as
// one insertion after another would, and each add reports where its point
// went.
TEST(ChartSeries, AnyArrivalOrderGivesTheAscendingOrderAndTheIndex) {
  ChartWindow w(300, 200);
  TChartSeries* s = w.chart->AddSeries();
  std::vector<std::pair<double, std::string>> want;  // by insertion, the slow way
  auto add = [&](double x) {
    const std::string label = std::to_string(want.size());
    const auto at = std::upper_bound(want.begin(), want.end(), x,
                                     [](double v, const std::pair<double, std::string>& q) { return v < q.first; });
    const int index = static_cast<int>(at - want.begin());
    want.insert(at, {x, label});
    ASSERT_EQ(s->AddXY(x, -x, label), index) << "point " << label << " at x " << x;
  };
  auto same = [&] {
    ASSERT_EQ(s->Count(), static_cast<int>(want.size()));
    for (int i = 0; i < s->Count(); ++i) {
      ASSERT_EQ(s->XValue(i), want[size_t(i)].first) << i;
      ASSERT_EQ(s->Point(i).label, want[size_t(i)].second) << i;
      ASSERT_EQ(s->YValue(i), -want[size_t(i)].first) << i;
    }
  };
  for (int i = 100000; i > 0; --i) s->AddXY(i, -i, std::to_string(i));  // Mantlo's line with x1 > x2
  ASSERT_EQ(s->Count(), 100000);
  for (int i = 0; i < 100000; i += 997) ASSERT_EQ(s->XValue(i), i + 1);
  EXPECT_EQ(s->Point(99999).label, "100000");
  s->Clear();

  unsigned seed = 20261209;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, (seed >> 8) % 1000; };
  for (int round = 0; round < 40; ++round) {
    const unsigned kind = next() % 4, n = 20 + next() % 200;
    double x = next() % 50;
    for (unsigned i = 0; i < n; ++i) {
      if (kind == 0) x = next() % 50;                      // at random, many equal
      else if (kind == 1) x -= next() % 3;                 // descending, with repeats
      else if (kind == 2) x += next() % 3;                 // ascending, with repeats
      else x = (i % 2 ? 1 : -1) * static_cast<double>(i);  // alternately before and after
      add(x);
    }
    if (round % 3 == 0) same();
  }
  same();
  // A point once read stays as read, though the next read merges a late
  // point in before it.
  const TChartPoint& held = s->Point(1);
  const std::string was = held.label;
  s->AddXY(want.front().first, 0, "late");
  EXPECT_EQ(s->Point(0).label, want.front().second);
  EXPECT_EQ(held.label, was);
}

TEST(ChartSeries, PointColoursDefaultToTheSeriesColourAndClearEmpties) {
  ChartWindow w(300, 200);
  TChartSeries* s = w.chart->AddSeries();
  s->SeriesColor = clNavy;
  s->AddXY(0, 1);
  s->AddXY(1, 2, "", clBlack);
  EXPECT_EQ(s->Point(0).color, clNavy);
  EXPECT_EQ(s->Point(1).color, clBlack);
  s->Clear();
  EXPECT_EQ(s->Count(), 0);
  EXPECT_THROW(s->Point(0), std::out_of_range);
}

TEST(ChartSeries, AddNumbersValuesAndTheBottomAxisShowsTheirLabels) {
  ChartWindow w(781, 565);
  FillLoss(*w.chart);
  TChartSeries* s = w.chart->Series(0);
  ASSERT_EQ(s->Count(), 41);
  for (int i = 0; i < 41; ++i) {
    EXPECT_DOUBLE_EQ(s->XValue(i), i);
    EXPECT_EQ(s->Point(i).label, i == 0 ? "1" : std::to_string(5 * i));
    EXPECT_EQ(s->Point(i).color, RGBColor(0, 0, 255));
  }
  // Too narrow for all 41: every k-th label from the first, evenly.
  std::vector<std::string> shown = w.chart->AxisLabels(true);
  ASSERT_GE(shown.size(), 5u);
  ASSERT_LT(shown.size(), 41u);
  EXPECT_EQ(shown[0], "1");
  const int stride = std::stoi(shown[1]) / 5;
  for (size_t i = 1; i < shown.size(); ++i) EXPECT_EQ(shown[i], std::to_string(5 * stride * int(i)));
  // Wide enough: all of them.
  w.form.SetBounds(0, 0, 3000, 565);
  shown = w.chart->AxisLabels(true);
  ASSERT_EQ(shown.size(), 41u);
  EXPECT_EQ(shown.back(), "200");
}

TEST(ChartAxes, FixedIncrementsGiveLabelsAtTheirMultiplesInTheLocaleSeparator) {
  for (char sep : {',', '.'}) {
    SetDecimalSeparator(sep);
    ChartWindow w(598, 414);
    TChart& c = *w.chart;
    c.LegendVisible = false;
    c.LeftAxis.Increment = 0.001;
    c.BottomAxis.Increment = 30;
    TChartSeries* s = c.AddSeries();
    for (int i = 0; i <= 100; ++i) {
      const double deg = i * 3.6;
      s->AddXY(deg, 7.9006 - 0.0142 * std::sin(deg * M_PI / 180), "", clBlack);
    }
    std::vector<std::string> bottom = c.AxisLabels(true);
    ASSERT_EQ(bottom.size(), 13u);
    for (size_t i = 0; i < bottom.size(); ++i) EXPECT_EQ(bottom[i], std::to_string(30 * i));

    std::vector<std::string> left = c.AxisLabels(false);
    ASSERT_GE(left.size(), 3u);
    double step = 0;
    for (size_t i = 0; i < left.size(); ++i) {
      SCOPED_TRACE(left[i]);
      ASSERT_EQ(left[i].size(), 5u);  // "7,890": three decimals
      EXPECT_EQ(left[i][1], sep);
      const double v = ParseLabel(left[i]);
      EXPECT_GE(v, 7.8864);
      EXPECT_LE(v, 7.9149);
      EXPECT_NEAR(std::round(v * 1000), v * 1000, 1e-6);
      if (i == 1) {
        step = v - ParseLabel(left[0]);
      } else if (i > 1) {
        EXPECT_NEAR(v - ParseLabel(left[i - 1]), step, 1e-9);
      }
    }
    EXPECT_GE(step, 0.001 - 1e-12);

    // The horizontal-line chart: steps of 1 from -5 to 5, and 0.05 upwards.
    s->Clear();
    c.LeftAxis.Increment = 0.05;
    c.BottomAxis.Increment = 1;
    for (int i = 0; i <= 100; ++i) {
      const double x = -5 + i * 0.1;
      s->AddXY(x, 2.9619 + (5.1477 - 2.9619) * std::exp(-x * x / 8), "", clBlack);
    }
    bottom = c.AxisLabels(true);
    ASSERT_EQ(bottom.size(), 11u);
    EXPECT_EQ(bottom.front(), "-5");
    EXPECT_EQ(bottom[5], "0");  // never "-0"
    EXPECT_EQ(bottom.back(), "5");
    left = c.AxisLabels(false);
    ASSERT_GE(left.size(), 2u);
    EXPECT_NEAR(std::fmod(ParseLabel(left[0]) + 1e-9, 0.05), 0, 1e-6);
  }
  SetDecimalSeparator('\0');
}

TEST(ChartAxes, FixedMinimumStartsTheAxisThereAndEqualValuesStillGiveARange) {
  ChartWindow w(812, 459);
  TChart& c = *w.chart;
  TChartSeries* s = c.AddSeries();
  for (int i = 0; i <= 360; ++i) s->AddXY(i, 5 + 5 * i / 360.0);
  std::vector<std::string> left = c.AxisLabels(false);
  ASSERT_FALSE(left.empty());
  EXPECT_GE(ParseLabel(left.front()), 5);
  EXPECT_LE(ParseLabel(left.back()), 10);

  c.LeftAxis.AutomaticMinimum = false;
  c.LeftAxis.Minimum = 0;
  left = c.AxisLabels(false);
  ASSERT_FALSE(left.empty());
  EXPECT_EQ(ParseLabel(left.front()), 0);
  EXPECT_LE(ParseLabel(left.back()), 10);

  // Every value 0 (both charts of a cable without voltage): an axis from 0 up.
  s->Clear();
  for (int i = 0; i <= 360; ++i) s->AddXY(i, 0);
  left = c.AxisLabels(false);
  ASSERT_GE(left.size(), 2u);
  EXPECT_EQ(ParseLabel(left.front()), 0);
  EXPECT_GT(ParseLabel(left.back()), 0);
}

TEST(ChartRender, TitleLineAndGradientShowAsSet) {
  ChartWindow w(781, 565);
  TChart& c = *w.chart;
  FillLoss(c);
  c.LegendVisible = false;
  std::unique_ptr<TBitmap> b = c.Render();
  ASSERT_EQ(b->Width(), 781);
  ASSERT_EQ(b->Height(), 565);
  b->SaveToPng(testsupport::PicturePath("chart_loss_test.png"));
  // The bold blue title near the top, the blue line in the plot, and no red:
  // the points' colour draws the line, the series colour only the legend.
  EXPECT_GT(CountNear(*b, clBlue, 0, 0, 781, 40, 60), 200);
  EXPECT_GT(CountNear(*b, clBlue, 0, 60, 781, 520, 60), 300);
  EXPECT_EQ(CountNear(*b, clRed, 0, 0, 781, 565, 60), 0);
  // Background from white at the top to silver at the bottom.
  EXPECT_TRUE(Near(b->Pixel(1, 1), clWhite, 8));
  EXPECT_TRUE(Near(b->Pixel(1, 563), clSilver, 10));

  c.LegendVisible = true;
  b = c.Render();
  EXPECT_GT(CountNear(*b, clRed, 600, 0, 781, 565, 60), 5);  // the legend's mark
}

TEST(ChartRender, SixColouredSeriesWithTheirLegend) {
  ChartWindow w(762, 573);
  TChart& c = *w.chart;
  FillProfiles(c);
  const TColor colours[6] = {clRed, clAqua, clYellow, clBlue, clFuchsia, clLime};
  std::unique_ptr<TBitmap> b = c.Render();
  b->SaveToPng(testsupport::PicturePath("chart_six_test.png"));
  for (TColor col : colours) EXPECT_GT(CountNear(*b, col, 0, 40, 762, 573, 50), 20) << std::hex << col;
  std::vector<std::string> bottom = c.AxisLabels(true);
  ASSERT_FALSE(bottom.empty());
  EXPECT_EQ(bottom.front(), "980");
  EXPECT_EQ(bottom.back(), "1000");
}

TEST(ChartRender, ChangesShowAtTheNextDrawingWithoutRefresh) {
  ChartWindow w(400, 300);
  TChart& c = *w.chart;
  c.LegendVisible = false;
  TChartSeries* s = c.AddSeries();
  s->SeriesColor = clRed;
  std::unique_ptr<TBitmap> b = c.Render();
  EXPECT_EQ(CountNear(*b, clRed, 0, 0, 400, 300), 0);
  s->AddXY(0, 0);
  s->AddXY(1, 1);
  b = c.Render();
  EXPECT_GT(CountNear(*b, clRed, 0, 0, 400, 300), 50);

  c.Title.Text = {"Tytuł"};
  c.Title.Font = ArialBold(-15, clBlue);
  b = c.Render();
  EXPECT_GT(CountNear(*b, clBlue, 0, 0, 400, 40, 60), 20);
  c.Title.Text.clear();
  c.Refresh();
  b = c.Render();
  EXPECT_EQ(CountNear(*b, clBlue, 0, 0, 400, 40, 60), 0);
}

TEST(ChartRender, ExtremeValuesEndAndLeaveNoFloatingPointFaultBehind) {
  ChartWindow w(300, 200);
  TChart& c = *w.chart;
  TChartSeries* s = c.AddSeries();
  FpClear();
  c.Render();  // no points at all
  s->AddXY(1, 3);
  c.Render();  // a single point: no span on either axis
  EXPECT_THROW(c.SaveToMetafileEnh("/nonexistent-folder/x.emf"), EFCreateError);
  // Values far beyond the reach of a unit step, and of the doubles' spacing.
  c.LeftAxis.Increment = 1;
  s->AddXY(2, 1e20);
  s->AddXY(3, 1e20 + 1e5);
  EXPECT_LE(c.AxisLabels(false).size(), 100u);
  s->AddXY(4, 1e300);
  s->AddXY(5, -1e300);
  c.Render();
  EXPECT_FALSE(FpFaultPending());
}

TEST(ChartEvents, ResizingAShownChartAsksOnCanResizeAndTakesTheSize) {
  ChartWindow w(400, 300);
  tt::ActivateWindow(&w.form);
  std::vector<std::pair<int, int>> asked;
  w.chart->OnCanResize = [&](TObject* sender, int& nw, int& nh, bool& resize) {
    EXPECT_EQ(sender, w.chart);
    asked.emplace_back(nw, nh);
    resize = false;  // the size is taken all the same
  };
  w.form.SetBounds(0, 0, 520, 360);
  tt::ProcessEvents();
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked.back().first, w.chart->Width());
  EXPECT_EQ(asked.back().second, w.chart->Height());
  EXPECT_EQ(w.chart->Width(), w.form.ClientWidth());
  const size_t before = asked.size();
  w.form.SetBounds(0, 0, 520, 360);  // same size: nothing to ask
  tt::ProcessEvents();
  EXPECT_EQ(asked.size(), before);
}

TEST(ChartEvents, DoubleClickRunsOnDblClickAndErrorsAreShown) {
  ChartWindow w(400, 300);
  tt::RecordingDialogs dialogs;
  int clicks = 0;
  w.chart->OnDblClick = [&](TObject*) {
    ++clicks;
    w.chart->SaveToMetafileEnh("/nonexistent-folder/chart.emf");
  };
  tt::DblClick(w.chart, 200, 150);
  EXPECT_EQ(clicks, 1);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text.rfind("Cannot create file \"/nonexistent-folder/chart.emf\".", 0), 0u)
      << dialogs.messages[0].text;
}

// The window of the profiles is laid out while hidden, filled and repainted
// before it is first shown: the labels drawn must be chosen for the plot as
// shown, not for the few dozen pixels Qt Charts gave the hidden chart (which
// left one label on each axis, "0" and "1000").
TEST(ChartAxes, ProfilesAcrossTheWallShowTheirLabelsWhenFirstShown) {
  for (char sep : {',', '.'}) {
    SetDecimalSeparator(sep);
    TForm form;
    form.SetBounds(192, 107, 762, 573);
    TChart* c = new TChart(&form);
    c->SetAlign(alClient);
    tt::ProcessEvents();  // the program's windows are made before any is used
    FillProfiles(*c);
    c->Refresh();
    form.ShowForm();
    std::unique_ptr<TBitmap> shown = form.GetFormImage();
    shown->SaveToPng(testsupport::PicturePath(std::string("chart_profiles_shown") + sep + ".png"));

    const std::vector<std::string> bottom = c->AxisLabels(true), left = c->AxisLabels(false);
    ExpectNiceTicks(bottom, c->Series(0)->XValue(0), c->Series(0)->XValue(99));
    ExpectNiceTicks(left, c->Series(5)->YValue(0), c->Series(5)->YValue(99));
    EXPECT_EQ(ParseLabel(bottom.front()), 980);
    EXPECT_EQ(ParseLabel(bottom.back()), 1000);
    EXPECT_EQ(ParseLabel(left.front()), 0);
    // What the picture shows is what the axes report.
    EXPECT_EQ(DrawnLabels(*shown, true), static_cast<int>(bottom.size()));
    EXPECT_EQ(DrawnLabels(*shown, false), static_cast<int>(left.size()));

    // Resized while hidden, and shown again: labels for the new size.
    form.Hide();
    form.SetBounds(192, 107, 420, 330);
    form.ShowForm();
    shown = form.GetFormImage();
    const std::vector<std::string> small = c->AxisLabels(false);
    ASSERT_GE(small.size(), 3u) << Joined(small);
    EXPECT_LE(small.size(), left.size());
    EXPECT_EQ(DrawnLabels(*shown, false), static_cast<int>(small.size()));
  }
  SetDecimalSeparator('\0');
}

TEST(ChartAxes, AutomaticAxesGiveNiceTicksForAnyRange) {
  struct Range {
    double lo, hi;
  };
  const Range ranges[] = {
      {980.0, 1000.0},        {0.0, 0.003},  {0.0, 0.3}, {980.0, 980.0003}, {-0.37, -0.21},   {-5e-7, 3e-7},
      {1e6, 1e6 + 1e-3},      {-7.5, 12.25}, {0.1, 0.9}, {-1e300, 1e300},   {1e300, 1.7e300}, {-3e-200, -1e-200},
      {123456789, 987654321},
  };
  for (char sep : {',', '.'}) {
    SetDecimalSeparator(sep);
    ChartWindow w(598, 414);
    TChart& c = *w.chart;
    c.LegendVisible = false;
    TChartSeries* s = c.AddSeries();
    for (const Range& r : ranges) {
      SCOPED_TRACE(std::to_string(r.lo) + " .. " + std::to_string(r.hi));
      s->Clear();
      s->AddXY(0, r.lo);
      s->AddXY(1, (r.lo + r.hi) / 2);
      s->AddXY(2, r.hi);
      const std::vector<std::string> left = c.AxisLabels(false);
      ExpectNiceTicks(left, r.lo, r.hi);
      for (const std::string& l : left) EXPECT_EQ(l.find(sep == ',' ? '.' : ','), std::string::npos) << l;
    }
    // A fixed increment with no multiple in range leaves the step to the chart.
    c.LeftAxis.Increment = 1;
    s->Clear();
    s->AddXY(0, 0.1);
    s->AddXY(1, 0.9);
    ExpectNiceTicks(c.AxisLabels(false), 0.1, 0.9);
    c.LeftAxis.Increment = 0;
  }
  SetDecimalSeparator('\0');
}

TEST(ChartAxes, ConstantSeriesAndNoDataStillGiveAScale) {
  ChartWindow w(598, 414);
  TChart& c = *w.chart;
  TChartSeries* s = c.AddSeries();
  FpClear();
  // No points: 0 to 1 on both axes.
  ExpectNiceTicks(c.AxisLabels(false), 0, 1);
  ExpectNiceTicks(c.AxisLabels(true), 0, 1);
  EXPECT_EQ(c.AxisLabels(false).front(), "0.0");
  // A constant series: a small range around its value, on both sides of it.
  for (double value : {0.3, 0.0, -7.0, 1e300, -1.7e308, 5e-320}) {
    SCOPED_TRACE(value);
    s->Clear();
    for (int i = 0; i <= 10; ++i) s->AddXY(i, value);
    const std::vector<std::string> left = c.AxisLabels(false);
    ASSERT_GE(left.size(), 3u) << Joined(left);
    EXPECT_LT(ParseLabel(left.front()), value) << Joined(left);
    EXPECT_GT(ParseLabel(left.back()), value) << Joined(left);
    ExpectNiceTicks(c.AxisLabels(true), 0, 10);
  }
  // A single point: the same on both axes.
  s->Clear();
  s->AddXY(1000, 2.5);
  EXPECT_EQ(ParseLabel(c.AxisLabels(true).front()) < 1000, true);
  EXPECT_EQ(ParseLabel(c.AxisLabels(true).back()) > 1000, true);
  c.Render();
  EXPECT_FALSE(FpFaultPending());
}

// Values of a tiny span (Qt Charts takes 1e-12 or less for none) are drawn
// under labels of their own range; a span that is only rounding noise beside
// the axis's other values is drawn as a constant.  Read from the labels the
// chart draws: Bifilon's potential with V1 = V2 = -100 V (the screen's curve
// ±1.3e-17 V) and with 1e-13 V, Mantlo's line with V = 1e-14 kV, and a
// potential of -100 V with noise.
TEST(ChartAxes, TinyAndNoisySpansAreDrawnUnderTrueLabels) {
  struct Case {
    const char* name;
    bool fixedZero;  // Bifilon's left axis starts at 0
    double base, wave, noise;
    double lo, hi;  // the range the labels must cover
  };
  const Case cases[] = {
      {"screen noise beside -100 V", true, -100, 0, 1.3e-17, 0, 10},
      {"1e-13 V", true, 1e-13, 4e-15, 1e-29, 0, 1.04e-13},
      {"Mantlo at 1e-14 kV", false, 4.0e-15, 1.1e-15, 0, 2.9e-15, 5.1e-15},
      {"-100 V and noise", false, -100, 0, 2e-14, -105, -95},
  };
  for (char sep : {',', '.'}) {
    SetDecimalSeparator(sep);
    for (const Case& k : cases) {
      SCOPED_TRACE(k.name);
      ChartWindow w(812, 459);
      TChart& c = *w.chart;
      c.LegendVisible = false;
      c.LeftAxis.Increment = 0.05;  // no multiple in range: the chart's own step
      c.LeftAxis.AutomaticMinimum = !k.fixedZero;
      TChartSeries* s = c.AddSeries();
      for (int i = 0; i <= 360; ++i)
        s->AddXY(i, k.base + k.wave * std::cos(i * M_PI / 180) + k.noise * ((i * 7919) % 13 - 6) / 6.0);
      if (k.fixedZero) {
        TChartSeries* screen = c.AddSeries();
        for (int i = 0; i <= 360; ++i) screen->AddXY(i, k.noise * ((i * 104729) % 11 - 5) / 5.0);
      }
      const std::vector<std::string> drawn = DrawnLeftLabels(c);
      EXPECT_EQ(drawn, c.AxisLabels(false));
      ExpectNiceTicks(drawn, k.lo, k.hi);
    }
  }
  SetDecimalSeparator('\0');
}

// Titles as given: the whole of a left title longer than the plot (Bifilon's
// field chart keeps its unit "E[kV/m]"), and runs of blanks in the axis
// titles and the chart's title, on the picture and in the metafile.
TEST(ChartRender, TitlesAreDrawnWholeWithTheirBlanks) {
  ChartWindow w(812, 459);
  TChart& c = *w.chart;
  c.Title.Text = {"Natężenie pola elektrycznego na powierzchni przewodów ",
                  "  Rozkład natężenia pola przy powierzchni ziemi na wysokości h=1,0 [m]"};
  c.Title.Font = ArialBold(-15, clBlue);
  c.LeftAxis.Title = "Natężenie pola elektrycznego na powierzchni przewodów E[kV/m]";
  c.BottomAxis.Title = "Zmienność promienia od r1 do r2  w  [mm]";
  c.LeftAxis.TitleFont = c.BottomAxis.TitleFont = ArialBold(-13, clBlack);
  c.LeftAxis.AutomaticMinimum = false;
  TChartSeries* s = c.AddSeries();
  for (int i = 0; i <= 360; ++i) s->AddXY(i, 5 - 2.5 * std::cos(i * M_PI / 180));

  std::vector<std::string> texts;
  for (const DrawnText& t : DrawnTexts(c)) texts.push_back(t.text);
  for (const std::string& want : {c.LeftAxis.Title, c.BottomAxis.Title, c.Title.Text[1]})
    EXPECT_NE(std::find(texts.begin(), texts.end(), want), texts.end()) << want << " in " << Joined(texts);

  // The left title's ink, in the strip beside the labels: as long as the
  // whole text (409 pixels), within the chart.
  std::unique_ptr<TBitmap> b = c.Render();
  int top = -1, bottom = -1;
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < 22; ++x)
      if (Dark(b->Pixel(x, y))) {
        if (top < 0) top = y;
        bottom = y;
      }
  EXPECT_GE(bottom - top, 400) << top << " .. " << bottom;

  c.LeftAxis.Title = "Rozkład gęstości prądu dla różnych mi  [A/mm2]";
  texts.clear();
  for (const DrawnText& t : DrawnTexts(c)) texts.push_back(t.text);
  EXPECT_NE(std::find(texts.begin(), texts.end(), c.LeftAxis.Title), texts.end()) << Joined(texts);
}

// A line of many points draws only the points its pixel columns show: the
// same line as the whole series, for a smooth curve and for one that swings
// within every column, in both orders of arrival.  Anti-aliasing sets the
// edges apart (the whole line blends thousands of overlapping segment edges
// into a darker fringe): every pixel inked in one picture has ink within a
// pixel of it in the other.  The metafile holds the same reduced line.
TEST(ChartRender, ManyPointsDrawTheSameLineAsTheWholeSeries) {
  struct Case {
    int n;
    bool descending;
    double swing;
  };
  for (const Case k :
       {Case{2000, false, 0.3}, Case{100000, true, 0}, Case{100000, false, 0.3}, Case{999999, true, 0.3}}) {
    SCOPED_TRACE(std::to_string(k.n) + (k.descending ? " descending, swing " : " ascending, swing ") +
                 std::to_string(k.swing));
    ChartWindow w(598, 414);
    TChart& c = *w.chart;
    c.LegendVisible = false;
    TChartSeries* s = c.AddSeries();
    for (int i = 0; i <= k.n; ++i) {
      const double x = -5 + 10.0 * (k.descending ? k.n - i : i) / k.n;
      s->AddXY(x, 3 / (1 + x * x / 4) + k.swing * std::sin(x * 1e4), "", clBlack);
    }
    const std::unique_ptr<TBitmap> reduced = c.Render();
    EXPECT_LT(c.MetafileEnhBytes().size(), 200000u);  // bounded by the columns, not the points
    const std::unique_ptr<TBitmap> whole = tt::RenderWholeLine(c);
    ASSERT_NE(whole, nullptr);
    auto inkNear = [](const TBitmap& b, int x, int y) {
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
          if (Dark(b.Pixel(x + dx, y + dy))) return true;
      return false;
    };
    int differ = 0, stray = 0;
    for (int y = 0; y < whole->Height(); ++y)
      for (int x = 0; x < whole->Width(); ++x) {
        differ += reduced->Pixel(x, y) != whole->Pixel(x, y);
        stray += (Dark(reduced->Pixel(x, y)) && !inkNear(*whole, x, y)) ||
                 (Dark(whole->Pixel(x, y)) && !inkNear(*reduced, x, y));
      }
    EXPECT_EQ(stray, 0) << differ << " pixels differ";
  }
}

// The chart's title at a narrow size: broken into lines, never cut short, in
// the picture and in the metafile, with its empty lines kept (they push the
// plot down as they do at full size).
TEST(ChartRender, NarrowTitlesAreWrappedWholeWithTheirEmptyLines) {
  ChartWindow w(420, 300);
  TChart& c = *w.chart;
  FillProfiles(c);
  std::string drawn;
  for (const DrawnText& t : DrawnTexts(c)) drawn += t.text + " ";
  EXPECT_EQ(drawn.find("…"), std::string::npos) << drawn;
  for (const char* word : {"Rozkład", "promienia", "różnych", "przenikalności", "magnetycznych", "względnych"})
    EXPECT_NE(drawn.find(word), std::string::npos) << word << " in " << drawn;
  c.Render()->SaveToPng(testsupport::PicturePath("chart_title_narrow.png"));

  auto topLabel = [](TChart& chart) {
    int top = 1 << 20;
    for (const DrawnText& t : DrawnTexts(chart))
      if (!t.text.empty() && t.text.find_first_not_of("0123456789,.") == std::string::npos) top = std::min(top, t.top);
    return top;
  };
  ChartWindow loss(420, 300);
  FillLoss(*loss.chart);
  const int withEmpty = topLabel(*loss.chart);
  loss.chart->Title.Text.resize(1);
  const int without = topLabel(*loss.chart);
  EXPECT_GE(withEmpty - without, 2 * 15) << withEmpty << " " << without;
}

// The loss chart's three-dimensional view: the back wall and the floor lie
// 1 % of the plot's width behind the front plane, up and to the right, at
// any size; the axes stay in front and the series is a ribbon of that depth.
TEST(ChartRender, DepthOfAThreeDimensionalViewFollowsThePlotsWidth) {
  for (const auto& size : {std::pair<int, int>{781, 565}, std::pair<int, int>{420, 300}}) {
    SCOPED_TRACE(std::to_string(size.first) + "x" + std::to_string(size.second));
    ChartWindow w(size.first, size.second);
    TChart& c = *w.chart;
    FillLoss(c);
    c.LegendVisible = false;
    c.View3D = true;
    c.Chart3DPercent = 1;
    const std::unique_ptr<TBitmap> b = c.Render();
    b->SaveToPng(testsupport::PicturePath("chart_depth_" + std::to_string(size.first) + ".png"));
    // The bottom axis: the lowest row dark over most of the width; the left
    // axis: the first column dark over most of the height.
    // Qt Charts draws its axis lines anti-aliased, grey on two pixels.
    auto inked = [](TColor c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 500; };
    auto darkRun = [&](bool row, int at) {  // the longest unbroken run
      int n = 0, most = 0;
      for (int i = 0; i < (row ? b->Width() : b->Height()); ++i) {
        n = inked(row ? b->Pixel(i, at) : b->Pixel(at, i)) ? n + 1 : 0;
        most = std::max(most, n);
      }
      return most;
    };
    int axisY = -1, axisX = -1;
    for (int y = b->Height() - 1; y > 0 && axisY < 0; --y)
      if (darkRun(true, y) > b->Width() / 2) axisY = y;
    for (int x = 0; x < b->Width() && axisX < 0; ++x)
      if (darkRun(false, x) > b->Height() / 3) axisX = x;
    ASSERT_GT(axisY, 0);
    ASSERT_GE(axisX, 0);
    int right = axisX;
    while (right + 1 < b->Width() && inked(b->Pixel(right + 1, axisY))) ++right;
    const int depth = static_cast<int>(std::lround((right - axisX) / 100.0));
    // The floor's back edge and the back wall's left edge, past the axis
    // line's own (anti-aliased) width.
    const int midX = (axisX + right) / 2;
    int floorY = axisY;
    while (inked(b->Pixel(midX, floorY - 1))) --floorY;
    while (floorY > axisY - 4 * depth && !Dark(b->Pixel(midX, floorY - 1))) --floorY;
    EXPECT_NEAR(axisY - floorY + 1, depth, 1);
    const int midY = axisY - (axisY - 40) / 2;
    int wallX = axisX;
    while (inked(b->Pixel(wallX + 1, midY))) ++wallX;
    while (wallX < axisX + 4 * depth && !Dark(b->Pixel(wallX + 1, midY))) ++wallX;
    EXPECT_NEAR(wallX + 1 - axisX, depth, 1);
    // The ribbon: blue behind the line's first point, to the upper right.
    EXPECT_GT(CountNear(*b, RGBColor(0, 0, 255), axisX, 0, axisX + 4 * depth + 4, axisY, 120), 2 * depth);
  }
}

// A paint lays the chart out outside any handler: an error there (here no
// memory for the line's points) is shown in the error box once, as the
// dispatch shows a handler's, and the window goes on drawing what it holds
// next.
TEST(ChartEvents, AnErrorLayingOutForAPaintIsShownOnceAndTheChartGoesOn) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the address sanitizer's operator new cannot be made to fail";
#endif
  tt::RecordingDialogs boxes;
  ChartWindow w(400, 300);
  w.form.ShowForm();
  tt::ProcessEvents();
  TChartSeries* s = w.chart->AddSeries();
  for (int i = 0; i < 600000; ++i) s->AddXY(i, i % 7);
  failFrom = size_t(4) << 20;
  tt::ProcessEvents();
  failFrom = 0;
  tt::ProcessEvents();
  w.chart->Refresh();
  tt::ProcessEvents();
  ASSERT_EQ(boxes.messages.size(), 1u);
  EXPECT_EQ(boxes.messages[0].text, "Out of memory");
  s->Clear();
  for (int i = 0; i < 100; ++i) s->AddXY(i, i % 7);
  tt::ProcessEvents();
  EXPECT_EQ(boxes.messages.size(), 1u);
  std::unique_ptr<TBitmap> b = w.chart->Render();
  EXPECT_GT(CountNear(*b, clRed, 0, 0, b->Width(), b->Height()), 100);
}
