#include "toolkit/testing/TestingChart.h"

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <algorithm>

#include "toolkit/core/FpCheck.h"
#include "toolkit/testing/TestingQt.h"

namespace tk::testing {

// Qt Charts holds the line in the chart's axis values, an affine image of the
// data.  The shown points keep the series' first and last point and its
// lowest and highest one, which fix that image on each axis.
std::unique_ptr<TBitmap> RenderWholeLine(TChart& chart) {
  std::unique_ptr<TBitmap> drawn = chart.Render();  // lays the chart out and hands Qt Charts its line
  auto* view = qobject_cast<QChartView*>(detail::WidgetOf(&chart));
  if (view == nullptr || chart.SeriesCount() != 1 || chart.Series(0)->Count() < 2) return nullptr;
  FpShield shield;
  const TChartSeries& s = *chart.Series(0);
  const int n = s.Count();
  QLineSeries* line = nullptr;
  for (QAbstractSeries* a : view->chart()->series())
    if (auto* l = qobject_cast<QLineSeries*>(a); l != nullptr && l->count() > 0) {
      if (line != nullptr) return nullptr;  // points of more than one colour
      line = l;
    }
  if (line == nullptr || s.XValue(n - 1) == s.XValue(0)) return nullptr;
  const QList<QPointF> shown = line->points();
  double yLo = s.YValue(0), yHi = yLo;
  for (int i = 1; i < n; ++i) {
    yLo = std::min(yLo, s.YValue(i));
    yHi = std::max(yHi, s.YValue(i));
  }
  double qLo = shown.front().y(), qHi = qLo;
  for (const QPointF& p : shown) {
    qLo = std::min(qLo, p.y());
    qHi = std::max(qHi, p.y());
  }
  const double x0 = s.XValue(0), q0 = shown.front().x();
  const double xScale = (shown.back().x() - q0) / (s.XValue(n - 1) - x0);
  const double yScale = yHi > yLo ? (qHi - qLo) / (yHi - yLo) : 0;
  QList<QPointF> whole;
  whole.reserve(n);
  for (int i = 0; i < n; ++i) whole << QPointF(q0 + (s.XValue(i) - x0) * xScale, qLo + (s.YValue(i) - yLo) * yScale);
  line->replace(whole);
  drawn = chart.Render();  // the same layout: the line is not handed over again
  line->replace(shown);
  return drawn;
}

}  // namespace tk::testing
