#pragma once
// The chart control: a multi-line title, left and bottom axes, a legend and
// line series of points (x, y, label, colour).  The data lives here; Qt Charts
// only shows it.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/controls/Controls.h"

namespace tk {

class TChart;

struct TChartPoint {
  double x = 0, y = 0;
  std::string label;
  TColor color = clDefault;
};

// A line series (the fast and the plain kind behave alike here).
class TChartSeries : public TObject {
 public:
  explicit TChartSeries(TChart* chart);
  std::string Title;  // legend text
  TColor SeriesColor = clRed;
  int LineWidth = 1;
  bool PointerVisible = false;
  bool MarksVisible = false;
  bool XValuesAscending = true;  // points are kept sorted by x

  // The most points a series holds: far more than any chart has pixels.
  static constexpr size_t kMaxPoints = 1000000;

  void Clear();
  // Adds a point; returns its index.  clDefault takes the series' colour.
  // Points that arrive in ascending or in descending x take constant time
  // each; others wait until the series is next read and are merged in then.
  // A value that is not finite raises the floating-point error that made it
  // (EOverflow for an infinity, EInvalidOp for a NaN); a point beyond
  // kMaxPoints raises std::bad_alloc ("Out of memory" in the error box).
  int AddXY(double x, double y, const std::string& label = "", TColor color = clDefault);
  // Adds a value at the next x (0, 1, 2...), labelled on the bottom axis with its label.
  int Add(double value, const std::string& label = "", TColor color = clDefault);
  int Count() const { return static_cast<int>(points_.size() + between_.size()); }
  // A copy: a later read may merge points that came out of order and so move
  // the point within the series.
  TChartPoint Point(int i) const { return Ordered().at(i); }
  double XValue(int i) const { return Ordered().at(i).x; }
  double YValue(int i) const { return Ordered().at(i).y; }
  TChart* ParentChart() const { return chart_; }
  // Counts the changes of the points (toolkit-internal: the chart redraws
  // when it differs from what it showed).
  unsigned Revision() const { return revision_; }

 private:
  friend class TChart;  // draws from the ordered points without copying them
  void Touched();
  // The points in order, the late ones merged in.
  const std::deque<TChartPoint>& Ordered() const;
  TChart* chart_;
  // In ascending x (when asked), but for the points in between_: those that
  // fell between two others, in the order they came.  Equal x values keep
  // the order in which they came.
  mutable std::deque<TChartPoint> points_;
  mutable std::vector<TChartPoint> between_;
  unsigned revision_ = 0;
};

struct TChartAxis {
  std::string Title;
  TFont TitleFont;
  double Increment = 0;  // fixed label step; 0 lets the chart choose
  bool AutomaticMinimum = true;
  bool AutomaticMaximum = true;
  double Minimum = 0;
  double Maximum = 0;
};

struct TChartTitle {
  std::vector<std::string> Text;  // the lines
  TFont Font;
};

using TCanResizeEvent = std::function<void(TObject* sender, int& newWidth, int& newHeight, bool& resize)>;

class TChart : public TWinControl {
 public:
  explicit TChart(TWinControl* parent);
  ~TChart() override;

  TChartTitle Title;
  TChartAxis LeftAxis;
  TChartAxis BottomAxis;
  bool LegendVisible = true;
  bool View3D = false;
  int Chart3DPercent = 15;
  bool BackWallFilled = false;
  TColor GradientEndColor = clWhite;  // background gradient from white to this colour
  bool GradientVisible = false;

  TChartSeries* AddSeries();
  int SeriesCount() const { return static_cast<int>(series_.size()); }
  TChartSeries* Series(int index) const { return series_.at(index).get(); }

  TCanResizeEvent OnCanResize;

  // Shows the current title, axes and series at the next drawing (Repaint of
  // the platform): a handler that refreshes twice lays the chart out once.
  void Refresh();
  // The chart as drawn, at its size.
  std::unique_ptr<TBitmap> Render();
  // Writes the chart's whole area as an enhanced metafile (EMF) file, whole or
  // not at all; raises EFCreateError when the file cannot be written.
  void SaveToMetafileEnh(const std::string& fileName);
  // The enhanced metafile of the chart's whole area, in memory.
  std::vector<uint8_t> MetafileEnhBytes();
  // The labels the bottom or the left axis shows at the chart's size, in
  // order (tests).
  std::vector<std::string> AxisLabels(bool bottom);
  // How many times the chart has chosen its axis labels for a layout (tests:
  // a chart left alone stops laying itself out).
  unsigned LayoutPasses() const;

  // Toolkit-internal: a series has changed; the chart redraws when it is next
  // painted.
  void SeriesChanged();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::vector<std::unique_ptr<TChartSeries>> series_;
};

}  // namespace tk
