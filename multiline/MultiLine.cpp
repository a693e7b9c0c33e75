// Builds each enabled row's line along the picked path in three passes:
//   1. shift every path segment sideways by the row's interval and join
//      consecutive shifted segments at the crossing of their lines (mitre);
//   2. decide corner by corner, in path order, which corners get a chamfer:
//      both segments must be longer than the chamfer size, and every chamfer
//      shortens the length left for the next corner of the same segment;
//   3. emit the segments, cut back at chamfered corners, with the chamfer
//      lines between them.
// A path whose last point coincides with its first is closed: its closing
// corner is mitred and chamfered like the others.
// With the preset's round corners, a decided corner is an arc of the
// chamfer size's radius instead, taking its tangent length from both
// segments; end caps close an open path across all its lines.
#include "multiline/MultiLine.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "common/MyFunc.h"

namespace MultiLine {

namespace {

using MyFunc::Point;
using MyFunc::Segment;

constexpr int ChamferAtStart = 1;
constexpr int ChamferAtEnd = 2;
// A round corner's radius must exceed this; a smaller one leaves a mitre.
constexpr double MinRoundRadius = MyFunc::ChamferLengthTolerance;

Segment ShiftedSegment(const Point& from, const Point& to, double d) {
  // The left normal of the direction of travel: (cos, sin) of the angle
  // plus 90 degrees, without the residues of cos and sin at right angles.
  const Point u = MyFunc::UnitDirection(to.X - from.X, to.Y - from.Y);
  const double sx = -d * u.Y;
  const double sy = d * u.X;
  return {{from.X + sx, from.Y + sy}, {to.X + sx, to.Y + sy}};
}

// Working lists of one call. StartCut and EndCut: what a round corner at
// the segment's start or end takes from it (its tangent length).
struct Work {
  std::vector<Point> Vertices;
  std::vector<double> SegmentLengths;
  std::vector<int> CornerFlags;
  std::vector<double> StartCut;
  std::vector<double> EndCut;
};

void ShiftAndMitre(const std::vector<Point>& path, bool closed, double d, Work& work) {
  const std::size_t n = path.size();
  Segment last{};
  for (std::size_t i = 0; i + 1 < n; ++i) {
    last = ShiftedSegment(path[i], path[i + 1], d);
    Point start = last.A;
    bool hasBefore = i > 0 || closed;
    if (hasBefore) {
      // On a closed path the first point also stands for the last one.
      const Segment before =
          i > 0 ? ShiftedSegment(path[i - 1], path[i], d) : ShiftedSegment(path[n - 2], path[0], d);
      Point crossing;
      if (MyFunc::IntersectLines(last, before, crossing) != MyFunc::LinesParallel) start = crossing;
    }
    work.Vertices[i] = start;
  }
  work.Vertices[n - 1] = closed ? work.Vertices[0] : last.B;
}

Segment SegmentAt(const Work& work, std::size_t k) {
  return {work.Vertices[k], work.Vertices[k + 1]};
}

Point DirectionOf(const Segment& s) { return MyFunc::UnitDirection(s.B.X - s.A.X, s.B.Y - s.A.Y); }

// R tan(turn / 2) from the unit directions, without trigonometry, so that
// every build gets the same digits: tan(turn / 2) = |sin| / (1 + cos). A
// turn back (cos -1) takes more than any segment has.
double TangentLength(const Point& u1, const Point& u2, double radius) {
  const double cosine = u1.X * u2.X + u1.Y * u2.Y;
  const double sine = std::fabs(u1.X * u2.Y - u1.Y * u2.X);
  const double half = 1.0 + cosine;
  if (!(half > 0.0)) return std::numeric_limits<double>::infinity();
  return radius * sine / half;
}

// The arc of a round corner at corner between directions u1 (in) and u2
// (out). Its ends are computed exactly as the segments' cut ends are, so
// that arc and segments meet bit for bit.
CornerArc RoundCorner(const Point& corner, const Point& u1, const Point& u2, double radius,
                      double t) {
  CornerArc arc;
  arc.Radius = radius;
  arc.From = {corner.X - t * u1.X, corner.Y - t * u1.Y};
  arc.To = {corner.X + t * u2.X, corner.Y + t * u2.Y};
  const bool left = u1.X * u2.Y - u1.Y * u2.X > 0.0;
  // The centre lies on the inner side; the angles are those of the normals
  // from it to the tangent points, exact for axis-parallel segments.
  const Point inner = left ? Point{-u1.Y, u1.X} : Point{u1.Y, -u1.X};
  arc.Centre = {arc.From.X + radius * inner.X, arc.From.Y + radius * inner.Y};
  const double atFrom = MyFunc::DirectionDegrees(-inner.X, -inner.Y);
  const double atTo =
      left ? MyFunc::DirectionDegrees(u2.Y, -u2.X) : MyFunc::DirectionDegrees(-u2.Y, u2.X);
  arc.StartDegrees = left ? atFrom : atTo;
  arc.EndDegrees = left ? atTo : atFrom;
  return arc;
}

// Chamfers the corner between segments k and next when both are still
// longer than c. A corner between parallel segments (a point picked in the
// middle of a straight run) has nothing to cut and must not use up length
// that the next real corner needs.
// A round corner takes its tangent length instead of c, and none at all
// when its radius is too small to round anything.
void DecideCorner(Work& work, std::size_t k, std::size_t next, double c, bool round) {
  double take = c;
  if (round) {
    if (!(c > MinRoundRadius)) return;
    take = TangentLength(DirectionOf(SegmentAt(work, k)), DirectionOf(SegmentAt(work, next)), c);
  }
  const double need = take + MyFunc::ChamferLengthTolerance;
  if (!(need < work.SegmentLengths[k] && need < work.SegmentLengths[next])) return;
  Point crossing;
  if (MyFunc::IntersectLines(SegmentAt(work, k), SegmentAt(work, next), crossing) ==
      MyFunc::LinesParallel) {
    return;
  }
  work.CornerFlags[k] |= ChamferAtEnd;
  work.SegmentLengths[k] -= take;
  work.EndCut[k] = take;
  work.CornerFlags[next] |= ChamferAtStart;
  work.SegmentLengths[next] -= take;
  work.StartCut[next] = take;
}

void DecideCorners(Work& work, std::size_t segments, bool closed, double c, bool round) {
  for (std::size_t k = 0; k < segments; ++k) {
    const Segment s = SegmentAt(work, k);
    work.SegmentLengths[k] = MyFunc::PointDistance(s.A.X, s.A.Y, s.B.X, s.B.Y);
    work.CornerFlags[k] = 0;
    work.StartCut[k] = work.EndCut[k] = 0.0;
  }
  for (std::size_t k = 0; k + 1 < segments; ++k) DecideCorner(work, k, k + 1, c, round);
  if (closed && segments >= 2) DecideCorner(work, segments - 1, 0, c, round);
}

void EmitRow(const Work& work, std::size_t segments, double c, ILineSink& sink) {
  for (std::size_t k = 0; k < segments; ++k) {
    const Segment own = SegmentAt(work, k);
    Point start = own.A;
    Point end = own.B;
    MyFunc::ChamferCut cut;
    if (work.CornerFlags[k] & ChamferAtStart) {
      const Segment before = k > 0 ? SegmentAt(work, k - 1) : SegmentAt(work, segments - 1);
      if (MyFunc::ChamferPoints(c, {start, end}, before, cut)) start = cut.ForwardA;
    }
    bool chamferLine = false;
    Point chamferEnd;
    if (work.CornerFlags[k] & ChamferAtEnd) {
      const Segment after = k + 1 < segments ? SegmentAt(work, k + 1) : SegmentAt(work, 0);
      if (MyFunc::ChamferPoints(c, {start, end}, after, cut)) {
        end = cut.BackwardA;
        chamferEnd = cut.ForwardB;
        chamferLine = true;
      }
    }
    sink.Line(start, end);
    if (chamferLine) sink.Line(end, chamferEnd);
  }
}

void EmitRoundRow(const Work& work, std::size_t segments, double radius, ILineSink& sink) {
  for (std::size_t k = 0; k < segments; ++k) {
    const Segment own = SegmentAt(work, k);
    const Point u = DirectionOf(own);
    Point start = own.A;
    Point end = own.B;
    if (work.CornerFlags[k] & ChamferAtStart) {
      start = {own.A.X + work.StartCut[k] * u.X, own.A.Y + work.StartCut[k] * u.Y};
    }
    if (work.CornerFlags[k] & ChamferAtEnd) {
      end = {own.B.X - work.EndCut[k] * u.X, own.B.Y - work.EndCut[k] * u.Y};
    }
    sink.Line(start, end);
    if (work.CornerFlags[k] & ChamferAtEnd) {
      const Segment after = SegmentAt(work, k + 1 < segments ? k + 1 : 0);
      sink.Arc(RoundCorner(own.B, u, DirectionOf(after), radius, work.EndCut[k]));
    }
  }
}

// One cap across the path's end at p, of direction (dx, dy), from offset
// from to offset to: the same shift as the rows' lines, so that a cap
// without overhang meets them exactly.
void Cap(const Point& p, double dx, double dy, double from, double to, ILineSink& sink) {
  if (std::fabs(dx) <= MyFunc::NullVectorTolerance &&
      std::fabs(dy) <= MyFunc::NullVectorTolerance) {
    return;
  }
  const Point u = MyFunc::UnitDirection(dx, dy);
  sink.Line({p.X + -from * u.Y, p.Y + from * u.X}, {p.X + -to * u.Y, p.Y + to * u.X});
}

void BuildCaps(const std::vector<Point>& path, bool closed, const Settings::TLineTable& preset,
               double scale, ILineSink& sink) {
  const Settings::DrawOptions& options = preset.Options;
  const std::size_t n = path.size();
  if (!(options.StartCap || options.EndCap) || n < 2 || closed) return;
  double dmin = 0.0;
  double dmax = 0.0;
  if (!RowExtent(preset, scale, dmin, dmax)) return;
  const double over = options.CapPaperUnit ? options.CapOverhang * scale : options.CapOverhang;
  Settings::LineRow pen;
  pen.Enabled = true;
  pen.Color = options.CapColor;
  pen.LineType = options.CapLineType;
  pen.LineWidth = options.CapLineWidth;
  sink.BeginRow(CapRow, pen);
  if (options.StartCap) {
    Cap(path[0], path[1].X - path[0].X, path[1].Y - path[0].Y, dmin - over, dmax + over, sink);
  }
  if (options.EndCap) {
    const Point& a = path[n - 2];
    const Point& b = path[n - 1];
    Cap(b, b.X - a.X, b.Y - a.Y, dmin - over, dmax + over, sink);
  }
}

} // namespace

bool RowExtent(const Settings::TLineTable& preset, double scale, double& dmin, double& dmax) {
  bool any = false;
  dmin = 0.0;
  dmax = 0.0;
  for (int r = 1; r <= Settings::RowCount; ++r) {
    const Settings::LineRow& row = preset.Row(r);
    if (!row.Enabled) continue;
    const double d = row.PaperUnit ? row.Interval * scale : row.Interval;
    dmin = any ? std::min(dmin, d) : d;
    dmax = any ? std::max(dmax, d) : d;
    any = true;
  }
  return any;
}

std::vector<Point> PickedPath(
    const std::array<ZizAvodi::TPickedPoint, ZizAvodi::PickedPointSlots>& points, int limit) {
  // Entry 0 is never set; entry 99 is the last there is.
  std::vector<Point> path;
  const int lastEntry =
      limit < 0
          ? 0
          : (limit >= ZizAvodi::PickedPointSlots - 1 ? ZizAvodi::PickedPointSlots - 1 : limit + 1);
  for (int i = 1; i <= lastEntry; ++i) {
    const auto& p = points[static_cast<std::size_t>(i)];
    if (!p.IsSet) break;
    path.push_back({p.X, p.Y});
  }
  return path;
}

void WriterSink::BeginRow(int /*row*/, const Settings::LineRow& line) {
  ZizAvodi::EmitLineColor(line.Color, 1);
  ZizAvodi::EmitLineType(line.LineType, 1);
  ZizAvodi::EmitLineWidth(line.LineWidth);
}

void WriterSink::Line(const Point& from, const Point& to) {
  ZizAvodi::EmitLine(from.X, from.Y, to.X, to.Y);
}

void WriterSink::Arc(const CornerArc& arc) {
  if (!ZizAvodi::LineIsDrawn(arc.From.X, arc.From.Y, arc.To.X, arc.To.Y)) return;
  ZizAvodi::EmitArc(arc.Centre.X, arc.Centre.Y, arc.Radius, arc.StartDegrees, arc.EndDegrees);
}

bool IsClosedPath(const std::vector<Point>& path) {
  const std::size_t n = path.size();
  return n >= 2 && std::fabs(path[n - 1].X - path[0].X) <= MyFunc::ClosedPathTolerance &&
         std::fabs(path[n - 1].Y - path[0].Y) <= MyFunc::ClosedPathTolerance;
}

std::vector<Point> MitredVertices(const std::vector<Point>& path, double d) {
  if (path.size() < 2) return {};
  Work work;
  work.Vertices.resize(path.size());
  ShiftAndMitre(path, IsClosedPath(path), d, work);
  return std::move(work.Vertices);
}

void BuildRows(const std::vector<Point>& path, const Settings::TLineTable& preset, double scale,
               ILineSink& sink) {
  const std::size_t n = path.size();
  const bool closed = IsClosedPath(path);

  Work work;
  work.Vertices.resize(n + 1);
  work.SegmentLengths.resize(n + 1);
  work.CornerFlags.resize(n + 1);
  work.StartCut.resize(n + 1);
  work.EndCut.resize(n + 1);
  const bool round = preset.Options.RoundCorners;

  for (int r = 1; r <= Settings::RowCount; ++r) {
    const Settings::LineRow& row = preset.Row(r);
    if (!row.Enabled) continue;
    double d = row.Interval;
    double c = row.Chamfer;
    if (row.PaperUnit) {
      d *= scale;
      c *= scale;
    }
    sink.BeginRow(r, row);
    if (n < 2) continue;
    ShiftAndMitre(path, closed, d, work);
    DecideCorners(work, n - 1, closed, c, round);
    if (round) {
      EmitRoundRow(work, n - 1, c, sink);
    } else {
      EmitRow(work, n - 1, c, sink);
    }
  }
  BuildCaps(path, closed, preset, scale, sink);
}

void BuildMultiLines(const std::array<ZizAvodi::TPickedPoint, ZizAvodi::PickedPointSlots>& points,
                     const Settings::TLineTable& preset, double scale, int limit) {
  WriterSink writer;
  BuildRows(PickedPath(points, limit), preset, scale, writer);
}

} // namespace MultiLine
