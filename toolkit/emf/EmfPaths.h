#pragma once
// The paths of a metafile's drawing in the picture's pixels: cut to what can
// show there, with crowded vertices merged, and priced before the painter
// gets them.  Toolkit-internal (Qt).
#include <QPainterPath>
#include <QPointF>
#include <QTransform>
#include <optional>

namespace tk::emf {

struct Box {
  double x0, y0, x1, y1;
  bool Holds(QPointF p) const { return p.x() >= x0 && p.x() <= x1 && p.y() >= y0 && p.y() <= y1; }
};

// Cuts the segment a-b to the box; false when none of it is inside.
// cutA and cutB say which ends moved.
bool CutSegment(const Box& box, QPointF& a, QPointF& b, bool& cutA, bool& cutB);

// How a path is drawn, for its price.
struct Ink {
  double pen = 0;  // the pen's width in picture pixels; 0: no pen
  bool cosmetic = false, dashed = false, filled = false;
};

// The vertices of one record's path in picture pixels: merges those that
// lie too close together to matter, and prices what it keeps against what
// is left of the picture's allowance (`left`, in units of about one pixel
// touched): the vertices, the pixels, joins and dashes of the pen along
// each edge, and the rows that each edge of a filled outline crosses (a
// wide pen's stroke is filled as an outline too).
class PathBuilder {
 public:
  // `back` maps picture pixels to the path's own units.
  PathBuilder(double& left, const Ink& ink, const Box& picture, const QTransform& back);

  bool Over() const { return left_ < 0; }
  void MoveTo(QPointF p);
  void LineTo(QPointF p);
  void Close();
  void Flush();      // keeps a vertex held back for merging
  void PriceArea();  // the fill's spans: the shown part of the bounding box, once
  const QPainterPath& Path() const { return path_; }

 private:
  void Keep(QPointF p);
  void Price(QPointF a, QPointF b);
  void Grow(QPointF p);

  double& left_;
  Ink ink_;
  Box picture_;
  QTransform back_;
  double cap_, vertex_;
  QPainterPath path_;
  QPointF start_, last_, lo_, hi_;
  bool hasBounds_ = false;
  std::optional<QPointF> pending_;
};

// Cuts closed polygons to a box one vertex at a time, an edge of the box
// at each of four stages.  Inside the box the cut polygon winds around each
// point as often as the whole one, so either fill rule fills the same there.
class PolygonCut {
 public:
  PolygonCut(const Box& box, PathBuilder& out) : box_(box), out_(out) {}
  void Add(QPointF p) { Push(0, p); }
  void Close();

 private:
  struct Stage {
    QPointF first, prev;
    bool started = false;
  };
  bool Inside(int k, QPointF p) const;
  QPointF Cross(int k, QPointF a, QPointF b) const;
  void Push(int k, QPointF p);
  void Edge(int k, QPointF a, QPointF b);

  Box box_;
  PathBuilder& out_;
  Stage stage_[4];
  bool begun_ = false;
};

}  // namespace tk::emf
