#include "toolkit/emf/EmfPaths.h"

#include <algorithm>
#include <cmath>

namespace tk::emf {

namespace {

// The price of a vertex kept, of a join or an end of a wide pen for each
// pixel of its width (the painter flattens their curves into that many
// more edges), of an edge of a filled outline crossing a row of pixels, of
// a dash.
constexpr double kVertexCost = 64, kCapCost = 32, kCrossingCost = 80, kDashCost = 32;
// Vertices closer than this to the last one kept (picture pixels) merge
// into it: a line drawn through them would look the same.
constexpr double kMergeStep = 0.2;

}  // namespace

bool CutSegment(const Box& box, QPointF& a, QPointF& b, bool& cutA, bool& cutB) {
  double t0 = 0, t1 = 1;
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - box.x0, box.x1 - a.x(), a.y() - box.y0, box.y1 - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (!(q[i] >= 0)) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0) t0 = std::max(t0, t);
    else t1 = std::min(t1, t);
  }
  if (!(t0 <= t1)) return false;
  const QPointF from = a;
  cutA = t0 > 0;
  cutB = t1 < 1;
  if (cutA) a = QPointF(from.x() + t0 * dx, from.y() + t0 * dy);
  if (cutB) b = QPointF(from.x() + t1 * dx, from.y() + t1 * dy);
  return true;
}

PathBuilder::PathBuilder(double& left, const Ink& ink, const Box& picture, const QTransform& back)
    : left_(left),
      ink_(ink),
      picture_(picture),
      back_(back),
      cap_(ink.pen > 0 && !ink.cosmetic ? kCapCost * ink.pen : 0),
      vertex_(kVertexCost + cap_) {}

void PathBuilder::MoveTo(QPointF p) {
  Flush();
  path_.moveTo(back_.map(p));
  start_ = last_ = p;
  Grow(p);
  left_ -= vertex_;
}

void PathBuilder::LineTo(QPointF p) {
  if (std::abs(p.x() - last_.x()) < kMergeStep && std::abs(p.y() - last_.y()) < kMergeStep) {
    pending_ = p;
    return;
  }
  Keep(p);
}

void PathBuilder::Close() {
  Flush();
  Price(last_, start_);
  path_.closeSubpath();
}

void PathBuilder::Flush() {
  if (pending_) Keep(*pending_);
}

void PathBuilder::PriceArea() {
  if (ink_.filled && hasBounds_)
    left_ -= std::max(0.0, std::min(hi_.x(), picture_.x1) - std::max(lo_.x(), picture_.x0)) *
             std::max(0.0, std::min(hi_.y(), picture_.y1) - std::max(lo_.y(), picture_.y0));
}

void PathBuilder::Keep(QPointF p) {
  pending_.reset();
  Price(last_, p);
  path_.lineTo(back_.map(p));
  last_ = p;
  Grow(p);
  left_ -= vertex_;
}

void PathBuilder::Price(QPointF a, QPointF b) {
  const double length = std::hypot(b.x() - a.x(), b.y() - a.y()), pen = ink_.pen;
  const double height = picture_.y1 - picture_.y0, rows = std::min(std::abs(b.y() - a.y()), height);
  if (pen > 0) {
    left_ -= std::min((length + pen + 1) * (pen + 1), (picture_.x1 - picture_.x0) * height);
    if (!ink_.cosmetic) left_ -= kCrossingCost * 2 * (rows + std::min(pen, height) + 1);
    if (ink_.dashed) left_ -= (kDashCost + 2 * cap_) * (length / (3 * std::max(pen, 1.0)) + 1);
  }
  if (ink_.filled) left_ -= kCrossingCost * (rows + 1);
}

void PathBuilder::Grow(QPointF p) {
  if (!hasBounds_) lo_ = hi_ = p;
  lo_ = QPointF(std::min(lo_.x(), p.x()), std::min(lo_.y(), p.y()));
  hi_ = QPointF(std::max(hi_.x(), p.x()), std::max(hi_.y(), p.y()));
  hasBounds_ = true;
}

void PolygonCut::Close() {
  for (int k = 0; k < 4; ++k) {
    if (stage_[k].started) Edge(k, stage_[k].prev, stage_[k].first);
    stage_[k].started = false;
  }
  if (begun_) out_.Close();
  begun_ = false;
}

bool PolygonCut::Inside(int k, QPointF p) const {
  switch (k) {
    case 0: return p.x() >= box_.x0;
    case 1: return p.x() <= box_.x1;
    case 2: return p.y() >= box_.y0;
    default: return p.y() <= box_.y1;
  }
}

QPointF PolygonCut::Cross(int k, QPointF a, QPointF b) const {
  if (k < 2) {
    const double x = k == 0 ? box_.x0 : box_.x1;
    return QPointF(x, a.y() + (x - a.x()) / (b.x() - a.x()) * (b.y() - a.y()));
  }
  const double y = k == 2 ? box_.y0 : box_.y1;
  return QPointF(a.x() + (y - a.y()) / (b.y() - a.y()) * (b.x() - a.x()), y);
}

void PolygonCut::Push(int k, QPointF p) {
  if (k == 4) {
    if (begun_) out_.LineTo(p);
    else out_.MoveTo(p);
    begun_ = true;
    return;
  }
  Stage& s = stage_[k];
  if (!s.started) {  // the closing edge gives it
    s.started = true;
    s.first = s.prev = p;
    return;
  }
  Edge(k, s.prev, p);
  s.prev = p;
}

// What the edge a-b leaves at stage k, a itself already given.
void PolygonCut::Edge(int k, QPointF a, QPointF b) {
  const bool inA = Inside(k, a), inB = Inside(k, b);
  if (inA != inB) Push(k + 1, Cross(k, a, b));
  if (inB) Push(k + 1, b);
}

}  // namespace tk::emf
