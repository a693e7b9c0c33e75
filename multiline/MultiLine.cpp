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
#include "multiline/MultiLine.h"

#include <cmath>
#include <vector>

#include "common/MyFunc.h"

namespace MultiLine {

namespace {

using MyFunc::Point;
using MyFunc::Segment;

constexpr int ChamferAtStart = 1;
constexpr int ChamferAtEnd = 2;

Segment ShiftedSegment(const Point& from, const Point& to, double d) {
  // The left normal of the direction of travel: (cos, sin) of the angle
  // plus 90 degrees, without the residues of cos and sin at right angles.
  const Point u = MyFunc::UnitDirection(to.X - from.X, to.Y - from.Y);
  const double sx = -d * u.Y;
  const double sy = d * u.X;
  return {{from.X + sx, from.Y + sy}, {to.X + sx, to.Y + sy}};
}

// Working lists of one call.
struct Work {
  std::vector<Point> Vertices;
  std::vector<double> SegmentLengths;
  std::vector<int> CornerFlags;
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

// Chamfers the corner between segments k and next when both are still
// longer than c. A corner between parallel segments (a point picked in the
// middle of a straight run) has nothing to cut and must not use up length
// that the next real corner needs.
void DecideCorner(Work& work, std::size_t k, std::size_t next, double c) {
  const double need = c + MyFunc::ChamferLengthTolerance;
  if (!(need < work.SegmentLengths[k] && need < work.SegmentLengths[next])) return;
  Point crossing;
  if (MyFunc::IntersectLines(SegmentAt(work, k), SegmentAt(work, next), crossing) ==
      MyFunc::LinesParallel) {
    return;
  }
  work.CornerFlags[k] |= ChamferAtEnd;
  work.SegmentLengths[k] -= c;
  work.CornerFlags[next] |= ChamferAtStart;
  work.SegmentLengths[next] -= c;
}

void DecideChamfers(Work& work, std::size_t segments, bool closed, double c) {
  for (std::size_t k = 0; k < segments; ++k) {
    const Segment s = SegmentAt(work, k);
    work.SegmentLengths[k] = MyFunc::PointDistance(s.A.X, s.A.Y, s.B.X, s.B.Y);
    work.CornerFlags[k] = 0;
  }
  for (std::size_t k = 0; k + 1 < segments; ++k) DecideCorner(work, k, k + 1, c);
  if (closed && segments >= 2) DecideCorner(work, segments - 1, 0, c);
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

// The unattended run's receiver: attribute commands and line records.
class WriterSink final : public ILineSink {
 public:
  void BeginRow(int /*row*/, const Settings::LineRow& line) override {
    ZizAvodi::EmitLineColor(line.Color, 1);
    ZizAvodi::EmitLineType(line.LineType, 1);
    ZizAvodi::EmitLineWidth(line.LineWidth);
  }
  void Line(const Point& from, const Point& to) override {
    ZizAvodi::EmitLine(from.X, from.Y, to.X, to.Y);
  }
};

} // namespace

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

void BuildRows(const std::vector<Point>& path, const Settings::TLineTable& preset, double scale,
               ILineSink& sink) {
  const std::size_t n = path.size();
  const bool closed = n >= 2 &&
                      std::fabs(path[n - 1].X - path[0].X) <= MyFunc::ClosedPathTolerance &&
                      std::fabs(path[n - 1].Y - path[0].Y) <= MyFunc::ClosedPathTolerance;

  Work work;
  work.Vertices.resize(n + 1);
  work.SegmentLengths.resize(n + 1);
  work.CornerFlags.resize(n + 1);

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
    DecideChamfers(work, n - 1, closed, c);
    EmitRow(work, n - 1, c, sink);
  }
}

void BuildMultiLines(const std::array<ZizAvodi::TPickedPoint, ZizAvodi::PickedPointSlots>& points,
                     const Settings::TLineTable& preset, double scale, int limit) {
  WriterSink writer;
  BuildRows(PickedPath(points, limit), preset, scale, writer);
}

} // namespace MultiLine
