// The chart control on Qt Charts.  The title, axes and series live in TChart
// and TChartSeries; Qt Charts is told about them when the chart is next
// painted, rendered or exported (or at Refresh), so that a handler may change
// many points without the chart redrawing after each.
//
// Both axes are category axes whose categories end at our own tick values:
// that gives the platform's fixed label increments, its decimal separator and
// point labels on the bottom axis (values added without an x) with one
// mechanism.  Labels that would overlap are thinned to every 2nd, 5th... one.
#include "toolkit/chart/Chart.h"

#include <QCategoryAxis>
#include <QCoreApplication>
#include <QChart>
#include <QChartView>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <iterator>
#include <new>
#include <sstream>

#include "toolkit/QtInternal.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"
#include "toolkit/emf/EmfDevice.h"
#include "toolkit/emf/WholeFile.h"

namespace tk {

// ---------------------------------------------------------------------------
// Series

TChartSeries::TChartSeries(TChart* chart) : chart_(chart) {}

void TChartSeries::Touched() {
  ++revision_;
  if (chart_ != nullptr) chart_->SeriesChanged();
}

void TChartSeries::Clear() {
  points_.clear();
  between_.clear();
  Touched();
}

int TChartSeries::AddXY(double x, double y, const std::string& label, TColor color) {
  // An extended value beyond the double range turns into an infinity on its
  // way here; the chart refuses it with the error of the fault that made it
  // (the conversion's overflow flag), so that no point reads as infinite.
  if (!std::isfinite(x) || !std::isfinite(y)) {
    FpCheck();
    if (std::isnan(x) || std::isnan(y)) throw EInvalidOp();
    throw EOverflow();
  }
  // A point count typed by mistake stops here, not after filling the memory.
  if (static_cast<size_t>(Count()) >= kMaxPoints) throw std::bad_alloc();
  TChartPoint p;
  p.x = x;
  p.y = y;
  p.label = label;
  p.color = color == clDefault ? SeriesColor : color;
  int index;
  // A point at or past the last one goes last (after those of equal x); one
  // before the first goes first.  Any point in between that came earlier
  // lies between these ends, so the order of equal x values stays that of
  // their arrival.
  if (!XValuesAscending || points_.empty() || x >= points_.back().x) {
    index = Count();
    points_.push_back(std::move(p));
  } else if (x < points_.front().x) {
    index = 0;
    points_.push_front(std::move(p));
  } else {
    const auto after = [](double v, const TChartPoint& q) { return v < q.x; };
    index = static_cast<int>(std::upper_bound(points_.begin(), points_.end(), x, after) - points_.begin());
    for (const TChartPoint& q : between_) index += q.x <= x;
    between_.push_back(std::move(p));
    // Merged in once they are as many as the square root of the rest: each
    // point then costs about that many steps, whatever the order.
    if (between_.size() > 64 && between_.size() * between_.size() > points_.size()) Ordered();
  }
  Touched();
  return index;
}

const std::deque<TChartPoint>& TChartSeries::Ordered() const {
  if (between_.empty()) return points_;
  const auto byX = [](const TChartPoint& a, const TChartPoint& b) { return a.x < b.x; };
  std::stable_sort(between_.begin(), between_.end(), byX);
  // On equal x the points already in order came first.
  std::deque<TChartPoint> merged;
  std::merge(std::make_move_iterator(points_.begin()), std::make_move_iterator(points_.end()),
             std::make_move_iterator(between_.begin()), std::make_move_iterator(between_.end()),
             std::back_inserter(merged), byX);
  points_.swap(merged);
  between_.clear();
  return points_;
}

int TChartSeries::Add(double value, const std::string& label, TColor color) {
  return AddXY(static_cast<double>(Count()), value, label, color);
}

// ---------------------------------------------------------------------------
// Axis ticks

namespace {

constexpr double kLabelGap = 8;      // pixels between two labels of the bottom axis
constexpr double kLabelPadding = 4;  // Qt Charts' padding around a label, with some room
// An automatic axis shows about 5 to 10 labels (11 when both ends are round).
constexpr long double kMostAutoLabels = 11;
// Plain decimals up to this many digits in all; beyond, a mantissa and a power of ten.
constexpr int kPlainDigits = 12;

struct Tick {
  double value;
  QString label;
};

// Decimals needed to write every multiple of the step exactly (at most 12).
// The step must come to a whole number: a step of 1e-7 is not 0 to within
// any tolerance.
int DecimalsOf(long double step) {
  for (int d = 0; d < 12; ++d) {
    const long double scaled = step * std::pow(10.0L, d);
    if (scaled >= 0.5L && std::fabs(scaled - std::round(scaled)) < 1e-6L * scaled) return d;
  }
  return 12;
}

int PowerOfTen(long double x) { return static_cast<int>(std::floor(std::log10(x) + 1e-12L)); }

// How one axis writes its labels: plain decimals, enough for the step, or,
// for values too large or a step too small for that, a mantissa with enough
// digits to tell the multiples of the step apart and a power of ten.
struct LabelStyle {
  bool exponent = false;
  int digits = 0;
};

LabelStyle StyleFor(long double step, long double largest) {
  LabelStyle s;
  const int decimals = DecimalsOf(step);
  const int whole = largest >= 1 ? PowerOfTen(largest) + 1 : 1;
  if (decimals < 12 && whole + decimals <= kPlainDigits) {
    s.digits = decimals;
    return s;
  }
  s.exponent = true;
  const int stepPower = PowerOfTen(step);
  const int topPower = largest > 0 ? PowerOfTen(largest) : stepPower;
  s.digits = std::clamp(topPower - stepPower + DecimalsOf(step / std::pow(10.0L, stepPower)), 0, 17);
  return s;
}

QString FormatTick(double v, const LabelStyle& style) {
  char buf[400];
  std::string s;
  if (!style.exponent) {
    std::snprintf(buf, sizeof buf, "%.*f", style.digits, v);
    s = buf;
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);  // no "-0"
  } else if (v == 0) {
    s = "0";
  } else {
    std::snprintf(buf, sizeof buf, "%.*e", style.digits, v);
    s = buf;
    const size_t e = s.find('e');
    s = s.substr(0, e) + "e" + std::to_string(std::atoi(s.c_str() + e + 1));  // 2.5e+299 -> 2.5e299
  }
  const size_t dot = s.find('.');
  if (dot != std::string::npos) s[dot] = DecimalSeparator();
  return QString::fromStdString(s);
}

// The multiples of the step within [lo, hi]: the index of the first and how
// many there are.  The ends get a hair of slack, so that an end that misses a
// multiple only by rounding (980.0000000001) still shows it.
long double CountMultiples(long double step, double lo, double hi, long double& first) {
  first = std::ceil(lo / step - 1e-9L);
  return std::floor(hi / step + 1e-9L) - first + 1;
}

std::vector<Tick> Multiples(long double step, long double first, long count) {
  std::vector<Tick> out;
  for (long n = 0; n < count; ++n) {
    const long double exact = (first + static_cast<long double>(n)) * step;
    double v = static_cast<double>(exact);
    if (std::fabs(exact) < step * 1e-9L) v = 0;
    // Far from zero the multiples may be closer than the doubles: skip those
    // that do not move.
    if (!out.empty() && v <= out.back().value) continue;
    out.push_back({v, QString()});
  }
  if (out.empty()) return out;
  const LabelStyle style = StyleFor(step, std::max(std::fabs(out.front().value), std::fabs(out.back().value)));
  for (Tick& t : out) t.label = FormatTick(t.value, style);
  return out;
}

// Whether the labels, placed along an axis of `length` pixels, keep clear of
// each other.
bool Fits(const std::vector<Tick>& ticks, double lo, double hi, double length, bool horizontal, const QFontMetricsF& fm) {
  if (ticks.size() < 2) return true;
  // Qt Charts gives each label an equal share of the axis and cuts a label
  // that does not fit its share.
  const double share = length / static_cast<double>(ticks.size() + 1) - 2 * kLabelPadding;
  for (const Tick& t : ticks)
    if ((horizontal ? fm.horizontalAdvance(t.label) : fm.height() + 2) > share) return false;
  // In extended precision: the span of two huge ends of opposite sign is
  // beyond the doubles.
  const long double scale = length / (static_cast<long double>(hi) - lo);
  long double prevPos = 0, prevHalf = 0;
  for (size_t i = 0; i < ticks.size(); ++i) {
    const long double pos = (static_cast<long double>(ticks[i].value) - lo) * scale;
    const long double half = horizontal ? fm.horizontalAdvance(ticks[i].label) / 2 + kLabelGap / 2 : fm.height() * 0.75;
    if (i > 0 && pos - prevPos < prevHalf + half) return false;
    prevPos = pos;
    prevHalf = half;
  }
  return true;
}

// Numeric ticks.  A fixed increment gives its multiples, every 2nd, 5th,
// 10th... one when their labels would overlap; an automatic axis (or an
// increment with no multiple in range) takes the finest step of 1, 2, 2.5 or
// 5 x 10^k that gives at most about ten labels, all clear of each other.
// When no two labels fit, one stays.
std::vector<Tick> NumericTicks(double lo, double hi, double increment, double length, bool horizontal,
                               const QFontMetricsF& fm) {
  std::vector<Tick> lone;
  // 1: found; 0: try a coarser step; -1: no multiple in range at all.
  auto attempt = [&](long double step, long double most, std::vector<Tick>& out) {
    long double first;
    const long double count = CountMultiples(step, lo, hi, first);
    if (count > most) return 0;
    if (count < 1) return -1;
    std::vector<Tick> t = Multiples(step, first, static_cast<long>(count));
    if (t.empty()) return 0;
    if (Fits(t, lo, hi, length, horizontal, fm)) {
      out = std::move(t);
      return 1;
    }
    if (lone.empty()) lone.push_back(t[t.size() / 2]);
    return 0;
  };
  std::vector<Tick> out;
  if (increment > 0 && std::isfinite(increment)) {
    const long double most = std::max(2.0, length / 4);
    int r = 0;
    for (int power = 0; power < 16 && r == 0; ++power)
      for (long double f : {1.0L, 2.0L, 5.0L})
        if ((r = attempt(increment * f * std::pow(10.0L, power), most, out)) != 0) break;
    if (r > 0) return out;
  }
  const long double span = static_cast<long double>(hi) - lo;
  const long double most = std::min(kMostAutoLabels, static_cast<long double>(std::max(2.0, length / 4)));
  const int start = PowerOfTen(span / kMostAutoLabels);
  for (int power = start; power < start + 4; ++power)
    for (long double f : {1.0L, 2.0L, 2.5L, 5.0L}) {
      const int r = attempt(f * std::pow(10.0L, power), most, out);
      if (r > 0) return out;
      if (r < 0) return lone;
    }
  return lone;
}

// The point labels of a series, every k-th one for the smallest k that keeps
// them clear of each other.
std::vector<Tick> PointLabelTicks(const TChartSeries& s, double lo, double hi, double length, const QFontMetricsF& fm) {
  std::vector<Tick> all;
  for (int i = 0; i < s.Count(); ++i) {
    const TChartPoint& p = s.Point(i);
    if (p.x >= lo && p.x <= hi) all.push_back({p.x, ToQString(p.label)});
  }
  for (size_t stride = 1; stride <= std::max<size_t>(all.size(), 1); ++stride) {
    std::vector<Tick> t;
    for (size_t i = 0; i < all.size(); i += stride) t.push_back(all[i]);
    if (Fits(t, lo, hi, length, true, fm)) return t;
  }
  return {};
}

// The axis range from the data and the axis's fixed ends.  Without any span
// (a constant series, or no points, or fixed ends the wrong way round) the
// axis gets a small range at the value: around it when both ends are
// automatic, from it towards the automatic end otherwise.
void AxisRange(const TChartAxis& axis, bool any, double dataLo, double dataHi, double& lo, double& hi) {
  lo = axis.AutomaticMinimum ? (any ? dataLo : 0) : axis.Minimum;
  hi = axis.AutomaticMaximum ? (any ? dataHi : lo + 1) : axis.Maximum;
  if (hi > lo) return;
  const bool keepHi = axis.AutomaticMinimum && !axis.AutomaticMaximum;
  const long double value = keepHi ? hi : lo;
  long double span = std::fabs(value) * 0.1L;
  if (!(span >= 1e-300L)) span = 1;
  long double newLo = value, newHi = value;
  if (axis.AutomaticMinimum && axis.AutomaticMaximum) {
    newLo = value - span / 2;
    newHi = value + span / 2;
  } else if (keepHi) {
    newLo = value - span;
  } else {
    newHi = value + span;
  }
  // Within the doubles: at their very end the range goes the other way.
  constexpr long double top = std::numeric_limits<double>::max();
  if (newHi > top) newLo = (newHi = top) - span;
  if (newLo < -top) newHi = (newLo = -top) + span;
  lo = static_cast<double>(newLo);
  hi = static_cast<double>(newHi);
}

QString TitleHtml(const std::vector<std::string>& lines) {
  bool any = false;
  for (const auto& l : lines) any = any || l.find_first_not_of(' ') != std::string::npos;
  if (!any) return QString();
  QStringList parts;
  for (const auto& l : lines) parts << (l.empty() ? QStringLiteral("&nbsp;") : ToQString(l).toHtmlEscaped());
  return QStringLiteral("<div align=\"center\">") + parts.join(QStringLiteral("<br>")) + QStringLiteral("</div>");
}

TFont LabelFont() {
  TFont f;
  f.Name = "Arial";
  f.Height = -11;
  f.Color = clBlack;
  return f;
}

void Put(std::ostringstream& o, const TFont& f) {
  o << f.Name << '\x1f' << f.Height << ',' << f.Color << ',' << f.Style << ',' << f.Pitch << ';';
}

void Put(std::ostringstream& o, const TChartAxis& a) {
  o << a.Title << '\x1f';
  Put(o, a.TitleFont);
  char buf[128];
  std::snprintf(buf, sizeof buf, "%a,%d,%d,%a,%a;", a.Increment, a.AutomaticMinimum, a.AutomaticMaximum, a.Minimum, a.Maximum);
  o << buf;
}

// The chart's widget: tells the control before it paints (so that the data
// is pushed to Qt Charts first) and before it takes a new size.
class ChartView : public MouseForwarding<QChartView> {
 public:
  ChartView(TControl* control, QChart* chart) : MouseForwarding<QChartView>(control, chart, nullptr) {
    setFrameShape(QFrame::NoFrame);
    setRenderHint(QPainter::Antialiasing, true);
  }
  std::function<void()> beforePaint;
  std::function<void(QSize)> beforeResize;

 protected:
  bool viewportEvent(QEvent* e) override {
    if (e->type() == QEvent::Paint && beforePaint) beforePaint();
    return QChartView::viewportEvent(e);
  }
  void resizeEvent(QResizeEvent* e) override {
    // A hidden chart is laid out without asking; a size change of a shown
    // one is asked first (old size known).
    if (beforeResize && e->oldSize().isValid() && e->oldSize() != e->size()) beforeResize(e->size());
    QChartView::resizeEvent(e);
  }
};

}  // namespace

// ---------------------------------------------------------------------------
// Chart

struct TChart::Impl {
  TChart* owner = nullptr;
  QChart* chart = nullptr;
  ChartView* view = nullptr;
  QCategoryAxis* axisX = nullptr;
  QCategoryAxis* axisY = nullptr;
  std::string shown;  // signature of what Qt Charts holds
  bool asking = false;  // inside OnCanResize
  // Data ranges of the last push.
  bool anyPoint = false;
  double xLo = 0, xHi = 1, yLo = 0, yHi = 1;
  const TChartSeries* labelled = nullptr;
  std::string axisShown[2];  // what each axis holds: range, labels, title
  QSizeF axesFor;            // the plot size the ticks were chosen for
  QSize fittedSize;          // the chart size they were chosen at
  unsigned passes = 0;       // fits so far

  std::string Signature() const;
  void Sync(QSize size);
  void FitAxes(QSize size);
  void PushContent();
  QSizeF PlotSize() const;
  bool PushAxes(QSizeF plot);  // true when an axis changed
  void Prepare(int width, int height);
  void Settle();  // runs the chart's pending layout
  void Render(QPainter& painter, int width, int height);
};

std::string TChart::Impl::Signature() const {
  const TChart& c = *owner;
  std::ostringstream o;
  for (const auto& l : c.Title.Text) o << l << '\x1e';
  Put(o, c.Title.Font);
  Put(o, c.LeftAxis);
  Put(o, c.BottomAxis);
  o << c.LegendVisible << c.View3D << c.Chart3DPercent << c.BackWallFilled << ',' << c.GradientEndColor << ','
    << c.GradientVisible << ',' << c.Color() << ',' << DecimalSeparator() << ';';
  for (const auto& s : c.series_)
    o << static_cast<const void*>(s.get()) << s->Title << '\x1f' << s->SeriesColor << ',' << s->LineWidth << ','
      << s->PointerVisible << ',' << s->XValuesAscending << ',' << s->Revision() << ';';
  return o.str();
}

// The ticks are thinned for the plot area, whose size depends on the room the
// labels take (and on the title, the legend and the chart's own size): lay
// the chart out, choose the ticks for the plot area it got, and again until
// they stay.  Painting does this too, so what is drawn is what AxisLabels
// reports; the plot area of an earlier, smaller layout would leave one label
// per axis.
void TChart::Impl::Sync(QSize size) {
  FpShield shield;  // Qt's own arithmetic must not look like a fault of the caller
  PushContent();
  // The series were attached anew: the axes are set in full once.
  axisShown[0].clear();
  axisShown[1].clear();
  shown = Signature();
  FitAxes(size);
}

// Labels change the plot's size (the widest left label, the half of the last
// bottom label that reaches past the plot), and the plot's size changes the
// labels.  A few free rounds find the labels for the plot they make; where
// two choices would alternate (more labels leave less room, fewer leave more),
// no axis gets more room than it had in the round before, so the labels only
// thin out and come to rest within a few rounds, clear of each other on the
// plot as drawn.  One fit per size or content: painting never refits.
void TChart::Impl::FitAxes(QSize size) {
  constexpr int kFreeRounds = 3, kRounds = 16;
  ++passes;
  fittedSize = size;
  Settle();
  QSizeF room = PlotSize();
  for (int round = 0; round < kRounds; ++round) {
    axesFor = room;
    if (!PushAxes(room)) break;
    Settle();
    const QSizeF now = PlotSize();
    room = round + 1 < kFreeRounds ? now : QSizeF(std::min(now.width(), room.width()), std::min(now.height(), room.height()));
  }
}

QSizeF TChart::Impl::PlotSize() const {
  const QRectF plot = chart->plotArea();
  if (plot.width() >= 10 && plot.height() >= 10) return plot.size();
  // Not laid out yet: a guess from the chart's size.
  return QSizeF(std::max(50.0, chart->size().width() - 140), std::max(50.0, chart->size().height() - 110));
}

void TChart::Impl::PushContent() {
  const TChart& c = *owner;
  chart->setTitle(TitleHtml(c.Title.Text));
  chart->setTitleFont(ToQFont(c.Title.Font));
  chart->setTitleBrush(ToQColor(c.Title.Font.Color));

  // Background: a gradient from white at the top to the end colour at the
  // bottom, or the control's colour.
  if (c.GradientVisible) {
    QLinearGradient g(0, 0, 0, 1);
    g.setCoordinateMode(QGradient::ObjectBoundingMode);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, ToQColor(c.GradientEndColor));
    chart->setBackgroundBrush(g);
  } else {
    chart->setBackgroundBrush(ToQColor(c.Color()));
  }
  view->setBackgroundBrush(c.GradientVisible ? QBrush(ToQColor(c.GradientEndColor)) : QBrush(ToQColor(c.Color())));
  // The back wall: a frame, filled white only when asked.  (The slight depth
  // of a three-dimensional view is drawn flat.)
  chart->setPlotAreaBackgroundVisible(true);
  chart->setPlotAreaBackgroundBrush(c.BackWallFilled ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
  chart->setPlotAreaBackgroundPen(QPen(Qt::black, 1));

  QLegend* legend = chart->legend();
  legend->setVisible(c.LegendVisible);

  chart->removeAllSeries();
  anyPoint = false;
  labelled = nullptr;
  xLo = yLo = 0;
  xHi = yHi = 1;
  for (const auto& sp : c.series_) {
    const TChartSeries& s = *sp;
    const QColor seriesColor = ToQColor(s.SeriesColor);
    // Each stretch of the line takes the colour of the point it leads to.
    std::vector<std::pair<QColor, QList<QPointF>>> runs;
    for (int i = 0; i < s.Count(); ++i) {
      const TChartPoint& p = s.Point(i);
      const QColor col = ToQColor(p.color == clDefault ? s.SeriesColor : p.color);
      if (runs.empty() || (i > 0 && runs.back().first != col)) {
        runs.emplace_back(col, QList<QPointF>());
        if (i > 0) runs.back().second << QPointF(s.Point(i - 1).x, s.Point(i - 1).y);
      }
      runs.back().second << QPointF(p.x, p.y);
      if (!anyPoint) {
        xLo = xHi = p.x;
        yLo = yHi = p.y;
        anyPoint = true;
      }
      xLo = std::min(xLo, p.x);
      xHi = std::max(xHi, p.x);
      yLo = std::min(yLo, p.y);
      yHi = std::max(yHi, p.y);
      if (labelled == nullptr && !p.label.empty()) labelled = &s;
    }
    // The legend shows the series' own colour, whatever colours its points
    // have: an empty line of that colour carries the legend entry.
    auto* entry = new QLineSeries();
    entry->setPen(QPen(seriesColor, std::max(2, s.LineWidth)));
    entry->setName(ToQString(s.Title));
    chart->addSeries(entry);
    entry->attachAxis(axisX);
    entry->attachAxis(axisY);
    for (auto& run : runs) {
      auto* line = new QLineSeries();
      QPen pen(run.first, std::max(1, s.LineWidth));
      pen.setCapStyle(Qt::RoundCap);
      pen.setJoinStyle(Qt::RoundJoin);
      line->setPen(pen);
      line->setPointsVisible(s.PointerVisible);
      line->replace(run.second);
      chart->addSeries(line);
      line->attachAxis(axisX);
      line->attachAxis(axisY);
      for (QLegendMarker* m : legend->markers(line)) m->setVisible(false);
    }
  }
}

bool TChart::Impl::PushAxes(QSizeF plot) {
  const TChart& c = *owner;
  bool changed = false;
  struct Side {
    QCategoryAxis* axis;
    const TChartAxis* def;
    bool horizontal;
    double dataLo, dataHi;
  };
  const QFont labelFont = ToQFont(LabelFont());
  const QFontMetricsF fm(labelFont);
  for (const Side& side : {Side{axisX, &c.BottomAxis, true, xLo, xHi}, Side{axisY, &c.LeftAxis, false, yLo, yHi}}) {
    double lo, hi;
    AxisRange(*side.def, anyPoint, side.dataLo, side.dataHi, lo, hi);
    const double length = side.horizontal ? plot.width() : plot.height();
    std::vector<Tick> ticks = side.horizontal && labelled != nullptr
                                  ? PointLabelTicks(*labelled, lo, hi, length, fm)
                                  : NumericTicks(lo, hi, side.def->Increment, length, side.horizontal, fm);
    // An end that misses its tick only by rounding moves onto it.
    if (!ticks.empty()) {
      lo = std::min(lo, ticks.front().value);
      hi = std::max(hi, ticks.back().value);
    }
    std::ostringstream key;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%a,%a;", lo, hi);
    key << buf;
    for (const Tick& t : ticks) {
      std::snprintf(buf, sizeof buf, "%a,", t.value);
      key << buf << t.label.toStdString() << '\x1f';
    }
    key << ';' << side.def->Title << '\x1f';
    Put(key, side.def->TitleFont);
    std::string& was = axisShown[side.horizontal ? 0 : 1];
    if (key.str() == was) continue;
    was = key.str();
    changed = true;
    QCategoryAxis* a = side.axis;
    for (const QString& l : a->categoriesLabels()) a->remove(l);
    a->setStartValue(std::min(lo - (hi - lo) * 1e-9, std::nextafter(lo, -HUGE_VAL)));
    QStringList used;
    for (const Tick& t : ticks) {
      // Category names must differ: repeated point labels get invisible marks.
      QString label = t.label;
      while (used.contains(label)) label += QChar(0x200B);
      used << label;
      a->append(label, t.value);
    }
    a->setRange(lo, hi);
    // Room on the right for the half of the last bottom label that reaches
    // past the plot.
    if (side.horizontal) {
      const double half = ticks.empty() || ticks.back().value < hi - (hi - lo) * 0.02 ? 0 : fm.horizontalAdvance(ticks.back().label) / 2;
      chart->setMargins(QMargins(6, 6, std::max(6, static_cast<int>(std::ceil(half)) + 3), 6));
    }
    a->setTitleText(ToQString(side.def->Title).toHtmlEscaped());
    a->setTitleVisible(!side.def->Title.empty());
    a->setTitleFont(ToQFont(side.def->TitleFont));
    a->setTitleBrush(ToQColor(side.def->TitleFont.Color));
  }
  return changed;
}

// Brings Qt Charts up to date for drawing at the given size.  A chart that
// was resized while hidden still has the size Qt Charts gave it (its preferred
// one, a few dozen pixels) until it is shown: the size is set here.  Nothing
// is laid out again while the content and the size stay as they were.
void TChart::Impl::Prepare(int width, int height) {
  FpShield shield;
  const QSize size(width, height);
  if (chart->size() != QSizeF(size)) {
    chart->setGeometry(0, 0, width, height);
    view->setSceneRect(0, 0, width, height);
  }
  if (Signature() != shown) {
    Sync(size);
  } else if (size != fittedSize) {
    FitAxes(size);
  }
}

void TChart::Impl::Settle() {
  QCoreApplication::sendPostedEvents(chart, QEvent::LayoutRequest);
  if (QGraphicsLayout* layout = chart->layout()) layout->activate();
}

void TChart::Impl::Render(QPainter& painter, int width, int height) {
  FpShield shield;
  Prepare(width, height);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  chart->scene()->render(&painter, QRectF(0, 0, width, height), QRectF(0, 0, width, height));
}

TChart::TChart(TWinControl* parent) : TWinControl(parent), impl_(std::make_unique<Impl>()) {
  EnsureWindowing();
  FpShield shield;
  Impl& d = *impl_;
  d.owner = this;
  d.chart = new QChart();
  d.chart->setTheme(QChart::ChartThemeLight);
  d.chart->setAnimationOptions(QChart::NoAnimation);
  d.chart->setBackgroundRoundness(0);
  d.chart->setDropShadowEnabled(false);
  d.chart->setMargins(QMargins(6, 6, 6, 6));
  if (d.chart->layout() != nullptr) d.chart->layout()->setContentsMargins(0, 0, 0, 0);

  QLegend* legend = d.chart->legend();
  legend->setAlignment(Qt::AlignRight);
  legend->setFont(ToQFont(LabelFont()));
  legend->setLabelColor(Qt::black);
  legend->setBackgroundVisible(false);
  legend->setMarkerShape(QLegend::MarkerShapeFromSeries);

  d.axisX = new QCategoryAxis();
  d.axisY = new QCategoryAxis();
  for (QCategoryAxis* a : {d.axisX, d.axisY}) {
    a->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    a->setLabelsFont(ToQFont(LabelFont()));
    a->setLabelsBrush(Qt::black);
    a->setLinePen(QPen(Qt::black, 1));
    a->setGridLinePen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
    a->setMinorGridLineVisible(false);
    a->setShadesVisible(false);
  }
  d.chart->addAxis(d.axisX, Qt::AlignBottom);
  d.chart->addAxis(d.axisY, Qt::AlignLeft);

  d.view = new ChartView(this, d.chart);
  d.view->beforePaint = [this] {
    impl_->Prepare(std::max(1, impl_->view->width()), std::max(1, impl_->view->height()));
  };
  d.view->beforeResize = [this](QSize size) {
    Impl& d = *impl_;
    if (d.asking || !OnCanResize) return;
    // The new size is taken as it is, whatever the handler answers.
    d.asking = true;
    int w = size.width(), h = size.height();
    bool resize = true;
    Dispatch([&] { OnCanResize(this, w, h, resize); });
    d.asking = false;
  };
  AttachWidget(d.view);
  d.Prepare(std::max(1, d.view->width()), std::max(1, d.view->height()));
}

TChart::~TChart() {
  if (impl_->view != nullptr) {
    impl_->view->beforePaint = nullptr;
    impl_->view->beforeResize = nullptr;
    impl_->view->detach();
  }
}

TChartSeries* TChart::AddSeries() {
  series_.push_back(std::make_unique<TChartSeries>(this));
  SeriesChanged();
  return series_.back().get();
}

void TChart::SeriesChanged() {
  if (impl_ && impl_->view != nullptr) impl_->view->viewport()->update();
}

void TChart::Refresh() {
  impl_->shown.clear();
  impl_->Prepare(std::max(1, impl_->view->width()), std::max(1, impl_->view->height()));
  impl_->view->viewport()->update();
}

std::unique_ptr<TBitmap> TChart::Render() {
  const int w = std::max(1, Width()), h = std::max(1, Height());
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    impl_->Render(painter, w, h);
  }
  return BitmapFromImage(image);
}

std::vector<uint8_t> TChart::MetafileEnhBytes() {
  const int w = std::max(1, Width()), h = std::max(1, Height());
  emf::EmfDevice device(w, h);
  {
    QPainter painter(&device);
    impl_->Render(painter, w, h);
  }
  return device.Bytes();
}

std::vector<std::string> TChart::AxisLabels(bool bottom) {
  FpShield shield;
  impl_->Prepare(std::max(1, Width()), std::max(1, Height()));
  std::vector<std::string> out;
  for (QString l : (bottom ? impl_->axisX : impl_->axisY)->categoriesLabels()) out.push_back(FromQString(l.remove(QChar(0x200B))));
  return out;
}

unsigned TChart::LayoutPasses() const { return impl_->passes; }

void TChart::SaveToMetafileEnh(const std::string& fileName) { WriteFileWhole(fileName, MetafileEnhBytes()); }

}  // namespace tk
