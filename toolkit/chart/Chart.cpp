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
#include <QChart>
#include <QChartView>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <limits>
#include <new>
#include <sstream>

#include "toolkit/chart/axis/AxisSteps.h"
#include "toolkit/controls/QtControls.h"
#include "toolkit/core/Dispatch.h"
#include "toolkit/core/Errors.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"
#include "toolkit/emf/EmfDevice.h"
#include "toolkit/files/WholeFile.h"

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

namespace {

// The lines of a text broken at blanks so that each is at most `room` wide
// (a word longer than that stands alone); the blanks within a line stay as
// they are.
QStringList Wrapped(const QString& text, const QFontMetricsF& fm, double room) {
  if (fm.horizontalAdvance(text) <= room) return {text};
  QStringList lines;
  QString line;
  int at = 0;
  while (at < text.size()) {
    int end = at;
    while (end < text.size() && text[end] == QLatin1Char(' ')) ++end;
    while (end < text.size() && text[end] != QLatin1Char(' ')) ++end;
    const QString word = text.mid(at, end - at);
    if (!line.isEmpty() && fm.horizontalAdvance(line + word) > room) {
      lines << line;
      line = word.trimmed();
    } else {
      line += word;
    }
    at = end;
  }
  if (!line.isEmpty()) lines << line;
  return lines;
}

// The chart's title as rich text: each line as given, blanks and empty
// lines kept, broken at blanks where it is wider than the room (Qt Charts
// would cut it short with an ellipsis).
QString TitleHtml(const std::vector<std::string>& lines, const QFontMetricsF& fm, double room) {
  bool any = false;
  for (const auto& l : lines) any = any || l.find_first_not_of(' ') != std::string::npos;
  if (!any) return QString();
  QStringList parts;
  for (const auto& l : lines) {
    if (l.empty()) {
      parts << QStringLiteral("&nbsp;");
      continue;
    }
    for (const QString& piece : Wrapped(ToQString(l), fm, room)) parts << piece.toHtmlEscaped();
  }
  // Blanks as given: rich text would collapse their runs.
  return QStringLiteral("<div align=\"center\" style=\"white-space:pre\">") + parts.join(QStringLiteral("<br>")) +
         QStringLiteral("</div>");
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
  std::snprintf(buf, sizeof buf, "%a,%d,%d,%a,%a;", a.Increment, a.AutomaticMinimum, a.AutomaticMaximum, a.Minimum,
                a.Maximum);
  o << buf;
}

// The depth of a three-dimensional view: the walls and the series lie that
// far behind the front plane, up and to the right, a share of the plot's
// width.
int DepthOf(const TChart& c, double plotWidth) {
  if (!c.View3D || c.Chart3DPercent <= 0) return 0;
  return std::max(1, static_cast<int>(std::lround(plotWidth * c.Chart3DPercent / 100.0)));
}

// What a three-dimensional view adds to the flat chart: behind the plot, the
// back wall and the floor (outlined; the wall filled only when asked), and
// over the grid each line of a series as a ribbon reaching back to the back
// plane.  The axes and the series' own lines stay on the front plane.
class DepthItem : public QGraphicsItem {
 public:
  enum Kind { kWalls, kRibbons };
  DepthItem(QGraphicsItem* parent, Kind kind) : QGraphicsItem(parent), kind_(kind) {
    // Over the chart's background and under its plot frame (walls), or over
    // the grid and under the series (ribbons).
    setZValue(kind == kWalls ? -0.5 : 3.5);
    setVisible(false);
  }
  struct Ribbon {
    QColor colour;
    QPolygonF line;  // in the chart's coordinates
    int width = 1;
  };
  void Set(const QRectF& plot, int depth, bool filled, std::vector<Ribbon> ribbons) {
    prepareGeometryChange();
    plot_ = plot;
    depth_ = depth;
    filled_ = filled;
    ribbons_ = std::move(ribbons);
    setVisible(depth > 0);
    update();
  }
  QRectF boundingRect() const override { return plot_.adjusted(-4, -depth_ - 4, depth_ + 4, 4); }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
    const QPointF back(depth_, -depth_);
    if (kind_ == kWalls) {
      // On pixel centres: one-pixel black lines, not two grey ones.
      const auto crisp = [](QPointF p) { return QPointF(std::floor(p.x()) + 0.5, std::floor(p.y()) + 0.5); };
      const QPointF a = crisp(plot_.bottomLeft()), b = crisp(plot_.bottomRight()), t = crisp(plot_.topLeft());
      painter->setPen(QPen(Qt::black, 1));
      painter->setBrush(filled_ ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
      painter->drawRect(QRectF(t + back, b + back));
      painter->setBrush(Qt::NoBrush);
      painter->drawPolygon(QPolygonF({a, b, b + back, a + back}));
      return;
    }
    painter->save();
    painter->setClipRect(plot_.adjusted(0, -depth_, depth_, 0));
    for (const Ribbon& r : ribbons_) {
      painter->setPen(QPen(r.colour.darker(130), 1));
      painter->setBrush(r.colour.lighter(120));
      for (int i = 0; i + 1 < r.line.size(); ++i)
        painter->drawPolygon(QPolygonF({r.line[i], r.line[i + 1], r.line[i + 1] + back, r.line[i] + back}));
    }
    painter->restore();
  }

 private:
  Kind kind_;
  QRectF plot_;
  int depth_ = 0;
  bool filled_ = false;
  std::vector<Ribbon> ribbons_;
};

// The chart's widget: tells the control before it paints (so that the data
// is pushed to Qt Charts first) and before it takes a new size.
class ChartView : public MouseForwarding<QChartView> {
 public:
  ChartView(TControl* control, QChart* chart) : MouseForwarding<QChartView>(control, chart, nullptr) {
    setFrameShape(QFrame::NoFrame);
    setRenderHint(QPainter::Antialiasing, true);
    // Nothing in a chart answers a key: it is no stop of Tab, and a click
    // leaves the focus where it was.
    setFocusPolicy(Qt::NoFocus);
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
  std::string shown;    // signature of what Qt Charts holds
  bool asking = false;  // inside OnCanResize
  // A repaint has been asked for and not yet run: a million points added
  // ask once, not a million times (each ask walks the widget tree).
  bool repaintAsked = false;
  // Each axis's range from the last push of the content, and how Qt Charts
  // sees its values: (v - origin) * scale, a span of 1 to 2.  Qt Charts takes
  // a span of 1e-12 or less for none and keeps its old range and labels; a
  // power of two brings any span of the doubles into its reach, exactly.
  struct AxisMap {
    double lo = 0, hi = 1;
    long double origin = 0, scale = 1;
    double operator()(double v) const {
      const long double q = (static_cast<long double>(v) - origin) * scale;
      return static_cast<double>(std::clamp(q, -1e9L, 1e9L));  // far outside the plot is as good as anywhere there
    }
  };
  AxisMap mapX, mapY;
  const TChartSeries* labelled = nullptr;
  const std::deque<TChartPoint>& PointsOf(const TChartSeries& s) const { return s.Ordered(); }
  // The lines Qt Charts draws for each series, kept from one push to the
  // next and refilled in one replace each: an empty line of the series'
  // colour for its legend entry, then one line per run of points of one
  // colour.  Each run's points are kept in full (in axis values); Qt Charts
  // is given only those that the plot's pixel columns can show.
  struct Lines {
    QLineSeries* entry = nullptr;
    std::vector<QLineSeries*> runs;
    std::vector<std::vector<QPointF>> full;
  };
  std::vector<Lines> lines;
  std::string linesShown;  // the plot and the ranges the lines were reduced for
  QLineSeries* NewLine();
  void DropLine(QLineSeries* line);
  void PushLines();
  // The walls and ribbons of a three-dimensional view.
  DepthItem* walls = nullptr;
  DepthItem* ribbons = nullptr;
  // The axis titles, drawn by us: Qt Charts would elide one longer than its
  // axis (losing the unit at its end) and collapse runs of blanks.
  QGraphicsSimpleTextItem* titleX = nullptr;
  QGraphicsSimpleTextItem* titleY = nullptr;
  std::string axisShown[2];  // what each axis holds: range, labels, title
  std::string titleShown;    // the width the chart's title was broken for
  QSizeF axesFor;            // the plot size the ticks were chosen for
  QSize fittedSize;          // the chart size they were chosen at
  unsigned passes = 0;       // fits so far

  std::string Signature() const;
  void Sync(QSize size);
  void FitAxes(QSize size);
  void PushContent();
  QSizeF PlotSize() const;
  bool PushAxes(QSizeF plot);  // true when an axis changed
  void PlaceTitles();
  void PushTitle();
  void Prepare(int width, int height);
  void PrepareForPaint();
  std::string failedFor;  // what the chart failed to lay out for a paint
  void Settle();          // runs the chart's pending layout
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
  PushTitle();
  Settle();
  QSizeF room = PlotSize();
  for (int round = 0; round < kRounds; ++round) {
    axesFor = room;
    if (!PushAxes(room)) break;
    PushTitle();
    Settle();
    const QSizeF now = PlotSize();
    room = round + 1 < kFreeRounds ? now
                                   : QSizeF(std::min(now.width(), room.width()), std::min(now.height(), room.height()));
  }
  PlaceTitles();
  PushLines();
}

void TChart::Impl::PushTitle() {
  const QMargins m = chart->margins();
  // Less the margins and the text's own border, with a little to spare.
  const double room = std::max(20.0, chart->size().width() - m.left() - m.right() - 16);
  const std::string key = std::to_string(room);
  if (key == titleShown) return;
  titleShown = key;
  chart->setTitle(TitleHtml(owner->Title.Text, QFontMetricsF(ToQFont(owner->Title.Font)), room));
}

// The bottom title centred under the plot, the left one reading upwards
// beside it, each moved as little as needed to lie wholly within the chart.
void TChart::Impl::PlaceTitles() {
  const QRectF plot = chart->plotArea();
  const double w = chart->size().width(), h = chart->size().height();
  const QRectF bx = titleX->boundingRect();
  titleX->setPos(std::clamp(plot.center().x() - bx.width() / 2, 0.0, std::max(0.0, w - bx.width())),
                 h - 6 - bx.height());
  // Turned a quarter left about its origin: its width runs up the chart.
  const QRectF by = titleY->boundingRect();
  titleY->setPos(6, std::clamp(plot.center().y() + by.width() / 2, std::min(by.width(), h), h));
}

QSizeF TChart::Impl::PlotSize() const {
  const QRectF plot = chart->plotArea();
  if (plot.width() >= 10 && plot.height() >= 10) return plot.size();
  // Not laid out yet: a guess from the chart's size.
  return QSizeF(std::max(50.0, chart->size().width() - 140), std::max(50.0, chart->size().height() - 110));
}

void TChart::Impl::PushContent() {
  const TChart& c = *owner;
  chart->setTitleFont(ToQFont(c.Title.Font));
  chart->setTitleBrush(ToQColor(c.Title.Font.Color));
  titleShown.clear();  // broken into lines for the chart's width when it is fitted

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
  // The back wall: a frame, filled white only when asked; in a
  // three-dimensional view it stands behind the plot, drawn with the floor.
  chart->setPlotAreaBackgroundVisible(!c.View3D);
  chart->setPlotAreaBackgroundBrush(c.BackWallFilled ? QBrush(Qt::white) : QBrush(Qt::NoBrush));
  chart->setPlotAreaBackgroundPen(QPen(Qt::black, 1));

  QLegend* legend = chart->legend();
  legend->setVisible(c.LegendVisible);

  // The data's ranges, and the largest modulus on each axis (against which a
  // span may be only rounding noise).
  bool any = false;
  double xLo = 0, xHi = 0, yLo = 0, yHi = 0, xMag = 0, yMag = 0;
  labelled = nullptr;
  for (const auto& sp : c.series_) {
    const TChartSeries& s = *sp;
    for (const TChartPoint& p : PointsOf(s)) {
      if (!any) {
        xLo = xHi = p.x;
        yLo = yHi = p.y;
        any = true;
      }
      xLo = std::min(xLo, p.x);
      xHi = std::max(xHi, p.x);
      yLo = std::min(yLo, p.y);
      yHi = std::max(yHi, p.y);
      if (labelled == nullptr && !p.label.empty()) labelled = &s;
    }
  }
  xMag = std::max(std::fabs(xLo), std::fabs(xHi));
  yMag = std::max(std::fabs(yLo), std::fabs(yHi));
  auto mapFor = [any](const TChartAxis& a, double dataLo, double dataHi, double magnitude) {
    AxisMap m;
    axis::Range({a.AutomaticMinimum, a.AutomaticMaximum, a.Minimum, a.Maximum}, any, dataLo, dataHi, magnitude, m.lo,
                m.hi);
    m.origin = m.lo;
    const long double span = static_cast<long double>(m.hi) - m.lo;
    if (span > 0) m.scale = std::ldexp(1.0L, -std::ilogb(span));
    return m;
  };
  mapX = mapFor(c.BottomAxis, xLo, xHi, xMag);
  mapY = mapFor(c.LeftAxis, yLo, yHi, yMag);

  while (lines.size() > c.series_.size()) {
    DropLine(lines.back().entry);
    for (QLineSeries* l : lines.back().runs) DropLine(l);
    lines.pop_back();
  }
  while (lines.size() < c.series_.size()) lines.push_back({NewLine(), {}, {}});
  for (size_t k = 0; k < c.series_.size(); ++k) {
    const TChartSeries& s = *c.series_[k];
    const std::deque<TChartPoint>& points = PointsOf(s);
    Lines& ls = lines[k];
    // Each stretch of the line takes the colour of the point it leads to.
    std::vector<QColor> colours;
    ls.full.clear();
    TColor last = clDefault;
    for (size_t i = 0; i < points.size(); ++i) {
      const TChartPoint& p = points[i];
      const TColor col = p.color == clDefault ? s.SeriesColor : p.color;
      if (i == 0 || col != last) {
        colours.push_back(ToQColor(col));
        ls.full.emplace_back();
        if (i > 0) ls.full.back().emplace_back(mapX(points[i - 1].x), mapY(points[i - 1].y));
      }
      last = col;
      ls.full.back().emplace_back(mapX(p.x), mapY(p.y));
    }
    // The legend shows the series' own colour, whatever colours its points
    // have.
    ls.entry->setPen(QPen(ToQColor(s.SeriesColor), std::max(2, s.LineWidth)));
    ls.entry->setName(ToQString(s.Title));
    for (QLegendMarker* m : legend->markers(ls.entry)) m->setVisible(true);
    while (ls.runs.size() > colours.size()) {
      DropLine(ls.runs.back());
      ls.runs.pop_back();
    }
    while (ls.runs.size() < colours.size()) {
      ls.runs.push_back(NewLine());
      for (QLegendMarker* m : legend->markers(ls.runs.back())) m->setVisible(false);
    }
    for (size_t r = 0; r < colours.size(); ++r) {
      QLineSeries* line = ls.runs[r];
      QPen pen(colours[r], std::max(1, s.LineWidth));
      pen.setCapStyle(Qt::RoundCap);
      pen.setJoinStyle(Qt::RoundJoin);
      line->setPen(pen);
      line->setPointsVisible(s.PointerVisible);
    }
  }
  linesShown.clear();  // the points go to Qt Charts once the plot is laid out
}

namespace {

// The points of a line that a plot of the given pixel columns can show: of
// each stretch of consecutive points within one column, the first, the
// lowest, the highest and the last, in their order.  The line between them
// sweeps the same column from the lowest to the highest point as the whole
// stretch does, and it enters and leaves the column at the same points, so
// it inks the same pixels to within one (not pixel for pixel: anti-aliasing
// blends the whole line's thousands of overlapping segment edges into a
// darker fringe), while a million points cost no more than the few thousand
// the columns hold.  Columns left and right of the plot gather what lies
// beyond it (clipped away there).  A line with marks at its
// points keeps them all (`all`).
QList<QPointF> Reduced(const std::vector<QPointF>& in, double lo, double perUnit, double left, double right, bool all) {
  QList<QPointF> out;
  if (all || in.size() <= 4) {
    out.reserve(static_cast<qsizetype>(in.size()));
    for (const QPointF& p : in) out << p;
    return out;
  }
  const auto column = [&](const QPointF& p) {
    return static_cast<long>(std::floor(std::clamp(left + (p.x() - lo) * perUnit, left - 1, right)));
  };
  for (size_t first = 0; first < in.size();) {
    const long col = column(in[first]);
    size_t end = first + 1, low = first, high = first;
    for (; end < in.size() && column(in[end]) == col; ++end) {
      if (in[end].y() < in[low].y()) low = end;
      if (in[end].y() > in[high].y()) high = end;
    }
    const size_t last = end - 1, a = std::min(low, high), b = std::max(low, high);
    out << in[first];
    if (a != first && a != last) out << in[a];
    if (b != a && b != first && b != last) out << in[b];
    if (last != first) out << in[last];
    first = end;
  }
  return out;
}

}  // namespace

// Hands Qt Charts the reduced lines for the plot as laid out now; again only
// when the plot's place or size or an axis range has changed.
void TChart::Impl::PushLines() {
  const QRectF plot = chart->plotArea();
  const double lo = axisX->min(), hi = axisX->max();
  char key[160];
  std::snprintf(key, sizeof key, "%a,%a,%a,%a,%a,%a,%a,%a", plot.left(), plot.top(), plot.width(), plot.height(), lo,
                hi, axisY->min(), axisY->max());
  if (linesShown == key) return;
  linesShown = key;
  // In device pixels: a screen of two device pixels to a point has twice the
  // columns.
  const double ratio = std::max(1.0, view->devicePixelRatioF());
  const double perUnit = hi > lo ? plot.width() * ratio / (hi - lo) : 0;
  const int depth = DepthOf(*owner, plot.width());
  const double ylo = axisY->min(), yhi = axisY->max();
  const auto onPlot = [&](const QPointF& p) {
    return QPointF(plot.left() + (hi > lo ? (p.x() - lo) / (hi - lo) : 0) * plot.width(),
                   plot.bottom() - (yhi > ylo ? (p.y() - ylo) / (yhi - ylo) : 0) * plot.height());
  };
  std::vector<DepthItem::Ribbon> bands;
  for (size_t k = 0; k < lines.size() && k < owner->series_.size(); ++k) {
    Lines& ls = lines[k];
    const TChartSeries& s = *owner->series_[k];
    for (size_t r = 0; r < ls.runs.size() && r < ls.full.size(); ++r) {
      const QList<QPointF> shown =
          Reduced(ls.full[r], lo, perUnit, plot.left() * ratio, plot.right() * ratio, s.PointerVisible);
      if (depth > 0) {
        DepthItem::Ribbon band{ls.runs[r]->pen().color(), {}, s.LineWidth};
        for (const QPointF& p : shown) band.line << onPlot(p);
        bands.push_back(std::move(band));
      }
      ls.runs[r]->replace(shown);
    }
  }
  walls->Set(plot, depth, owner->BackWallFilled, {});
  ribbons->Set(plot, depth, false, std::move(bands));
}

QLineSeries* TChart::Impl::NewLine() {
  auto* line = new QLineSeries();
  chart->addSeries(line);
  line->attachAxis(axisX);
  line->attachAxis(axisY);
  return line;
}

void TChart::Impl::DropLine(QLineSeries* line) {
  chart->removeSeries(line);
  delete line;
}

bool TChart::Impl::PushAxes(QSizeF plot) {
  const TChart& c = *owner;
  bool changed = false;
  struct Side {
    QCategoryAxis* axis;
    const TChartAxis* def;
    bool horizontal;
    const AxisMap* map;
  };
  const QFont labelFont = ToQFont(LabelFont());
  const QFontMetricsF fm(labelFont);
  axis::LabelMetrics metrics;
  metrics.width = [&fm](const std::string& s) { return fm.horizontalAdvance(QString::fromStdString(s)); };
  metrics.height = fm.height();
  for (const Side& side : {Side{axisX, &c.BottomAxis, true, &mapX}, Side{axisY, &c.LeftAxis, false, &mapY}}) {
    const AxisMap& map = *side.map;
    double lo = map.lo, hi = map.hi;
    const double length = side.horizontal ? plot.width() : plot.height();
    std::vector<axis::Tick> ticks;
    if (side.horizontal && labelled != nullptr) {
      std::vector<axis::Tick> all;
      for (const TChartPoint& p : PointsOf(*labelled)) all.push_back({p.x, p.label});
      ticks = axis::EveryKthLabel(all, lo, hi, length, metrics);
    } else {
      ticks = axis::NumericTicks(lo, hi, side.def->Increment, length, side.horizontal, metrics);
    }
    // An end that misses its tick only by rounding moves onto it.
    if (!ticks.empty()) {
      lo = std::min(lo, ticks.front().value);
      hi = std::max(hi, ticks.back().value);
    }
    std::ostringstream key;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%a,%a;", lo, hi);
    key << buf;
    for (const axis::Tick& t : ticks) {
      std::snprintf(buf, sizeof buf, "%a,", t.value);
      key << buf << t.label << '\x1f';
    }
    // The title's room (the chart's width or height) decides where it breaks.
    key << ';' << side.def->Title << '\x1f' << (side.horizontal ? chart->size().width() : chart->size().height());
    Put(key, side.def->TitleFont);
    std::string& was = axisShown[side.horizontal ? 0 : 1];
    if (key.str() == was) continue;
    was = key.str();
    changed = true;
    QCategoryAxis* a = side.axis;
    for (const QString& l : a->categoriesLabels()) a->remove(l);
    const double qlo = map(lo), qhi = map(hi);
    a->setStartValue(qlo - (qhi - qlo) * 1e-9);
    QStringList used;
    for (const axis::Tick& t : ticks) {
      // Category names must differ: repeated point labels get invisible marks.
      QString label = QString::fromStdString(t.label);
      while (used.contains(label)) label += QChar(0x200B);
      used << label;
      a->append(label, map(t.value));
    }
    a->setRange(qlo, qhi);
    // Room on the right for the half of the last bottom label that reaches
    // past the plot.
    if (side.horizontal) {
      const double half = ticks.empty() || ticks.back().value < hi - (hi - lo) * 0.02
                              ? 0
                              : fm.horizontalAdvance(QString::fromStdString(ticks.back().label)) / 2;
      QMargins m = chart->margins();
      m.setRight(std::max(6 + DepthOf(c, plot.width()), static_cast<int>(std::ceil(half)) + 3));
      chart->setMargins(m);
    }
    QGraphicsSimpleTextItem* title = side.horizontal ? titleX : titleY;
    const QFont titleFont = ToQFont(side.def->TitleFont);
    const QFontMetricsF tfm(titleFont);
    title->setFont(titleFont);
    title->setBrush(ToQColor(side.def->TitleFont.Color));
    const double room = (side.horizontal ? chart->size().width() : chart->size().height()) - 12;
    const QString text = ToQString(side.def->Title);
    title->setText(Wrapped(text, tfm, room).join(QLatin1Char('\n')));
    title->setVisible(!text.trimmed().isEmpty());
    a->setTitleVisible(false);
  }
  // Room for the titles beside the left axis and under the bottom one.
  auto block = [](const QGraphicsSimpleTextItem* t) {
    return t->isVisible() ? static_cast<int>(std::ceil(t->boundingRect().height())) + 4 : 0;
  };
  const QMargins m = chart->margins();
  // A three-dimensional view's back wall rises above the plot.
  const QMargins want(6 + block(titleY), 6 + DepthOf(c, plot.width()), m.right(), 6 + block(titleX));
  if (m != want) {
    chart->setMargins(want);
    changed = true;
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
  } else {
    PushLines();
  }
}

// The paint event comes from Qt's event loop, which no error may cross.  One
// that laying the chart out raises (no memory for its points, a fault in the
// arithmetic) is shown in the error box once the paint is over, as the
// dispatch shows a handler's, and the chart shows what Qt Charts still
// holds.  The same content at the same size is not tried again, so that the
// repaint after the box does not bring the box back.
void TChart::Impl::PrepareForPaint() {
  const int w = std::max(1, view->width()), h = std::max(1, view->height());
  try {
    if (!failedFor.empty() && failedFor == Signature() + std::to_string(w) + 'x' + std::to_string(h)) return;
    Prepare(w, h);
    failedFor.clear();
  } catch (...) {
    const std::exception_ptr error = std::current_exception();
    try {
      failedFor = Signature() + std::to_string(w) + 'x' + std::to_string(h);
    } catch (...) {
      failedFor.clear();
    }
    QTimer::singleShot(0, view, [error] { Dispatch([error] { std::rethrow_exception(error); }); });
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
  d.walls = new DepthItem(d.chart, DepthItem::kWalls);
  d.ribbons = new DepthItem(d.chart, DepthItem::kRibbons);
  d.titleX = new QGraphicsSimpleTextItem(d.chart);
  d.titleY = new QGraphicsSimpleTextItem(d.chart);
  d.titleY->setRotation(-90);
  for (QGraphicsSimpleTextItem* t : {d.titleX, d.titleY}) {
    t->setZValue(10);
    t->setVisible(false);
  }

  d.view = new ChartView(this, d.chart);
  d.view->beforePaint = [this] {
    impl_->repaintAsked = false;
    impl_->PrepareForPaint();
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
  if (!impl_ || impl_->view == nullptr || impl_->repaintAsked) return;
  impl_->repaintAsked = true;
  impl_->view->viewport()->update();
}

// The chart is brought up to date when it is next drawn: a handler that
// clears, refreshes, fills and refreshes again lays it out once.
void TChart::Refresh() { impl_->view->viewport()->update(); }

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
  for (QString l : (bottom ? impl_->axisX : impl_->axisY)->categoriesLabels())
    out.push_back(FromQString(l.remove(QChar(0x200B))));
  return out;
}

unsigned TChart::LayoutPasses() const { return impl_->passes; }

void TChart::SaveToMetafileEnh(const std::string& fileName) { WriteFileWhole(fileName, MetafileEnhBytes()); }

}  // namespace tk
