// Candidate bands of a line come from an R-tree over the quads' bounding
// boxes (grown by ClipTolerance, so that a point on a face still finds its
// quad), loaded in one pass. Every test on the candidates is order-free (the
// cuts are sorted, "inside" is "inside any"), so the bytes do not depend on
// the order in which the tree hands them out.
//
// Arcs are handled without trigonometry: a cut is a point on the circle,
// pieces are ordered by their angle from the arc's start through a cosine
// (a round corner turns less than half a circle) and the middle of a piece
// is the normalised sum of its ends' radii. Only the written angles go
// through DirectionDegrees, so every build writes the same digits.
#include "walls/Junctions.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <utility>

#include <boost/geometry/geometries/box.hpp>
#include <boost/geometry/geometries/point.hpp>
#include <boost/geometry/index/rtree.hpp>

namespace Walls {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

namespace {

using MyFunc::Point;

using IndexPoint = bg::model::point<double, 2, bg::cs::cartesian>;
using IndexBox = bg::model::box<IndexPoint>;
using IndexEntry = std::pair<IndexBox, std::uint32_t>;

Point Minus(const Point& a, const Point& b) { return {a.X - b.X, a.Y - b.Y}; }
double Cross(const Point& a, const Point& b) { return a.X * b.Y - a.Y * b.X; }
double Dot(const Point& a, const Point& b) { return a.X * b.X + a.Y * b.Y; }

bool Finite(const Point& p) { return std::isfinite(p.X) && std::isfinite(p.Y); }

double SegmentDistance(const Point& p, const Point& a, const Point& b) {
  const Point ab = Minus(b, a);
  const double length2 = Dot(ab, ab);
  double t = length2 > 0.0 ? Dot(Minus(p, a), ab) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return MyFunc::PointDistance(p.X, p.Y, a.X + t * ab.X, a.Y + t * ab.Y);
}

bool EvenOddInside(const Point& p, const Point (&ring)[4]) {
  bool inside = false;
  for (int i = 0, j = 3; i < 4; j = i++) {
    const Point& a = ring[i];
    const Point& b = ring[j];
    if ((a.Y > p.Y) != (b.Y > p.Y) && p.X < (b.X - a.X) * (p.Y - a.Y) / (b.Y - a.Y) + a.X) {
      inside = !inside;
    }
  }
  return inside;
}

// The parameter along from + t r where it crosses the edge e0-e1 (the edge
// taken from end to end), or -1 when the lines are parallel or the crossing
// is off the edge.
double CrossingParameter(const Point& from, const Point& r, const Point& e0, const Point& e1) {
  const Point s = Minus(e1, e0);
  const double denominator = Cross(r, s);
  if (denominator == 0.0) return -1.0;
  const Point w = Minus(e0, from);
  const double u = Cross(w, r) / denominator;
  if (!(u >= 0.0 && u <= 1.0)) return -1.0;
  return Cross(w, s) / denominator;
}

// The quad's bounding box grown by ClipTolerance: no point outside it is
// inside the quad or on one of its edges.
IndexBox GrownBox(const BandQuad& q) {
  constexpr double grow = MyFunc::ClipTolerance;
  return {{std::min({q.A.X, q.B.X, q.C.X, q.D.X}) - grow,
           std::min({q.A.Y, q.B.Y, q.C.Y, q.D.Y}) - grow},
          {std::max({q.A.X, q.B.X, q.C.X, q.D.X}) + grow,
           std::max({q.A.Y, q.B.Y, q.C.Y, q.D.Y}) + grow}};
}

template <typename Visit>
void ForEachEdge(const BandQuad& q, Visit visit) {
  visit(q.A, q.B);
  visit(q.B, q.C);
  visit(q.C, q.D);
  visit(q.D, q.A);
}

// Inclusive ranges [first, last] of kept pieces, merged.
std::vector<std::pair<std::size_t, std::size_t>> KeptRuns(const std::vector<bool>& removed) {
  std::vector<std::pair<std::size_t, std::size_t>> runs;
  for (std::size_t i = 0; i < removed.size(); ++i) {
    if (removed[i]) continue;
    if (!runs.empty() && runs.back().second + 1 == i) {
      runs.back().second = i;
    } else {
      runs.emplace_back(i, i);
    }
  }
  return runs;
}

} // namespace

std::vector<BandQuad> BandQuads(const std::vector<Chain>& chains,
                                const Settings::TLineTable& preset, double scale) {
  double dmin = 0.0;
  double dmax = 0.0;
  const bool any = MultiLine::RowExtent(preset, scale, dmin, dmax);
  std::vector<BandQuad> quads;
  if (!any || !(dmax - dmin > MyFunc::TinyPieceTolerance)) return quads;
  for (std::size_t c = 0; c < chains.size(); ++c) {
    const Chain& chain = chains[c];
    const std::vector<Point> inner = MultiLine::MitredVertices(chain.Points, dmin);
    const std::vector<Point> outer = MultiLine::MitredVertices(chain.Points, dmax);
    for (std::size_t k = 0; k + 1 < inner.size(); ++k) {
      BandQuad q;
      q.A = inner[k];
      q.B = inner[k + 1];
      q.C = outer[k + 1];
      q.D = outer[k];
      q.Chain = static_cast<int>(c);
      q.OuterDA = !chain.Closed && k == 0;
      q.OuterBC = !chain.Closed && k + 2 == inner.size();
      quads.push_back(q);
    }
  }
  return quads;
}

bool StrictlyInside(const Point& p, const BandQuad& q) {
  constexpr double clip = MyFunc::ClipTolerance;
  // Far outside the quad's box: neither inside nor near an edge.
  const IndexBox box = GrownBox(q);
  if (p.X < box.min_corner().get<0>() || p.X > box.max_corner().get<0>() ||
      p.Y < box.min_corner().get<1>() || p.Y > box.max_corner().get<1>()) {
    return false;
  }
  if (SegmentDistance(p, q.A, q.B) <= clip || SegmentDistance(p, q.C, q.D) <= clip ||
      (q.OuterDA && SegmentDistance(p, q.D, q.A) <= clip) ||
      (q.OuterBC && SegmentDistance(p, q.B, q.C) <= clip)) {
    return false;
  }
  const Point ring[4] = {q.A, q.B, q.C, q.D};
  if (EvenOddInside(p, ring)) return true;
  return SegmentDistance(p, q.B, q.C) <= clip || SegmentDistance(p, q.D, q.A) <= clip;
}

class ClippingSink::Index {
 public:
  explicit Index(std::vector<BandQuad> quads) : quads_(std::move(quads)) {
    std::vector<IndexEntry> entries;
    entries.reserve(quads_.size());
    for (std::size_t i = 0; i < quads_.size(); ++i) {
      const BandQuad& q = quads_[i];
      // A band with a corner at infinity bounds nothing that can be drawn.
      if (!(Finite(q.A) && Finite(q.B) && Finite(q.C) && Finite(q.D))) continue;
      entries.emplace_back(GrownBox(q), static_cast<std::uint32_t>(i));
    }
    tree_ = Tree(entries.begin(), entries.end()); // bulk loading packs the tree
  }

  bool Empty() const { return tree_.empty(); }

  // The quads of other chains than chain whose boxes meet the region.
  template <typename Region>
  const std::vector<const BandQuad*>& Near(const Region& region, int chain) {
    found_.clear();
    near_.clear();
    tree_.query(bgi::intersects(region), std::back_inserter(found_));
    for (const IndexEntry& e : found_) {
      const BandQuad& q = quads_[e.second];
      if (q.Chain != chain) near_.push_back(&q);
    }
    return near_;
  }

 private:
  using Tree = bgi::rtree<IndexEntry, bgi::rstar<16>>;
  std::vector<BandQuad> quads_;
  Tree tree_;
  std::vector<IndexEntry> found_;
  std::vector<const BandQuad*> near_;
};

namespace {

bool InsideAny(const Point& p, const std::vector<const BandQuad*>& quads) {
  return std::any_of(quads.begin(), quads.end(),
                     [&](const BandQuad* q) { return StrictlyInside(p, *q); });
}

} // namespace

ClippingSink::ClippingSink(std::vector<BandQuad> quads, MultiLine::ILineSink& out)
    : index_(std::make_unique<Index>(std::move(quads))), out_(out) {}

ClippingSink::~ClippingSink() = default;

void ClippingSink::BeginRow(int row, const Settings::LineRow& line) { out_.BeginRow(row, line); }

void ClippingSink::Line(const Point& from, const Point& to) {
  if (index_->Empty() || !Finite(from) || !Finite(to)) {
    out_.Line(from, to);
    return;
  }
  // The line's box, not the line: a box test is far cheaper than a segment
  // test inside the tree, and the cuts sort out the few extra candidates.
  const auto& near = index_->Near(IndexBox{{std::min(from.X, to.X), std::min(from.Y, to.Y)},
                                           {std::max(from.X, to.X), std::max(from.Y, to.Y)}},
                                  chain_);
  if (near.empty()) {
    out_.Line(from, to);
    return;
  }
  const Point r = Minus(to, from);
  std::vector<double> cuts{0.0};
  for (const BandQuad* q : near) {
    ForEachEdge(*q, [&](const Point& e0, const Point& e1) {
      const double t = CrossingParameter(from, r, e0, e1);
      if (t > 0.0 && t < 1.0) cuts.push_back(t);
    });
  }
  cuts.push_back(1.0);
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

  const auto at = [&](double t) -> Point {
    if (t == 0.0) return from;
    if (t == 1.0) return to;
    return {from.X + t * r.X, from.Y + t * r.Y};
  };
  std::vector<bool> removed(cuts.size() - 1);
  bool anyRemoved = false;
  for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
    removed[i] = InsideAny(at((cuts[i] + cuts[i + 1]) / 2), near);
    anyRemoved = anyRemoved || removed[i];
  }
  if (!anyRemoved) {
    out_.Line(from, to);
    return;
  }
  for (const auto& [first, last] : KeptRuns(removed)) {
    const Point a = at(cuts[first]);
    const Point b = at(cuts[last + 1]);
    if (MyFunc::PointDistance(a.X, a.Y, b.X, b.Y) > MyFunc::TinyPieceTolerance) out_.Line(a, b);
  }
}

void ClippingSink::Arc(const MultiLine::CornerArc& arc) {
  const Point& c = arc.Centre;
  const double radius = arc.Radius;
  if (index_->Empty() || !Finite(c) || !std::isfinite(radius) || !Finite(arc.From) ||
      !Finite(arc.To)) {
    out_.Arc(arc);
    return;
  }
  const auto& near =
      index_->Near(IndexBox{{c.X - radius, c.Y - radius}, {c.X + radius, c.Y + radius}}, chain_);
  if (near.empty()) {
    out_.Arc(arc);
    return;
  }
  // Counter-clockwise from start to end, as the host draws it.
  const bool forward = Cross(Minus(arc.From, c), Minus(arc.To, c)) > 0.0;
  const Point start = forward ? arc.From : arc.To;
  const Point end = forward ? arc.To : arc.From;
  const Point rs = Minus(start, c);
  const Point re = Minus(end, c);

  // Cut points with their order key: minus the cosine of the angle from
  // the start, scaled by the radius squared.
  std::vector<std::pair<double, Point>> cuts;
  for (const BandQuad* q : near) {
    ForEachEdge(*q, [&](const Point& e0, const Point& e1) {
      const Point s = Minus(e1, e0);
      const Point w = Minus(e0, c);
      const double a = Dot(s, s);
      if (!(a > 0.0)) return;
      const double b = 2.0 * Dot(w, s);
      const double disc = b * b - 4.0 * a * (Dot(w, w) - radius * radius);
      if (!(disc >= 0.0)) return;
      const double root = std::sqrt(disc);
      for (const double u : {(-b - root) / (2.0 * a), (-b + root) / (2.0 * a)}) {
        if (!(u >= 0.0 && u <= 1.0)) continue;
        const Point x{e0.X + u * s.X, e0.Y + u * s.Y};
        const Point rx = Minus(x, c);
        const double key = -Dot(rs, rx);
        // A key that overflowed would break the sort's ordering.
        if (std::isfinite(key) && Finite(x) && Cross(rs, rx) > 0.0 && Cross(rx, re) > 0.0) {
          cuts.emplace_back(key, x);
        }
      }
    });
  }
  std::sort(cuts.begin(), cuts.end(), [](const auto& l, const auto& r) {
    return l.first < r.first ||
           (l.first == r.first &&
            (l.second.X < r.second.X || (l.second.X == r.second.X && l.second.Y < r.second.Y)));
  });
  std::vector<Point> ends{start};
  for (const auto& cut : cuts) {
    const Point& last = ends.back();
    if (cut.second.X != last.X || cut.second.Y != last.Y) ends.push_back(cut.second);
  }
  ends.push_back(end);

  std::vector<bool> removed(ends.size() - 1);
  bool anyRemoved = false;
  for (std::size_t i = 0; i + 1 < ends.size(); ++i) {
    const Point sum{ends[i].X + ends[i + 1].X - 2.0 * c.X, ends[i].Y + ends[i + 1].Y - 2.0 * c.Y};
    const double length = std::sqrt(Dot(sum, sum));
    const Point middle = length > 0.0
                             ? Point{c.X + radius * sum.X / length, c.Y + radius * sum.Y / length}
                             : ends[i];
    removed[i] = InsideAny(middle, near);
    anyRemoved = anyRemoved || removed[i];
  }
  if (!anyRemoved) {
    out_.Arc(arc);
    return;
  }
  const std::size_t lastEnd = ends.size() - 1;
  for (const auto& [first, last] : KeptRuns(removed)) {
    const Point& a = ends[first];
    const Point& b = ends[last + 1];
    if (!(MyFunc::PointDistance(a.X, a.Y, b.X, b.Y) > MyFunc::TinyPieceTolerance)) continue;
    MultiLine::CornerArc piece;
    piece.Centre = c;
    piece.Radius = radius;
    piece.From = a;
    piece.To = b;
    piece.StartDegrees =
        first == 0 ? arc.StartDegrees : MyFunc::DirectionDegrees(a.X - c.X, a.Y - c.Y);
    piece.EndDegrees =
        last + 1 == lastEnd ? arc.EndDegrees : MyFunc::DirectionDegrees(b.X - c.X, b.Y - c.Y);
    out_.Arc(piece);
  }
}

} // namespace Walls
