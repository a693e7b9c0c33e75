// The chamfered multi-line: for each enabled row of a preset, the picked
// path shifted sideways by the row's interval, mitred at every corner and
// chamfered where both segments of a corner are long enough.
#pragma once

#include <array>
#include <vector>

#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"
#include "settings/Presets.h"

namespace MultiLine {

// The row number under which the end caps follow the rows.
constexpr int CapRow = 0;

// A round corner: an arc of Radius about Centre, tangent to the segment
// before it at From and to the segment after it at To (path order). Seen
// from the centre it runs counter-clockwise from StartDegrees to EndDegrees
// (in [0, 360)): From to To at a left turn, To to From at a right turn.
struct CornerArc {
  MyFunc::Point Centre;
  double Radius = 0.0;
  double StartDegrees = 0.0;
  double EndDegrees = 0.0;
  MyFunc::Point From, To;
};

// Where the builder's lines go: the unattended run writes them as output
// commands, the dialog's preview collects them for drawing.
class ILineSink {
 public:
  virtual ~ILineSink() = default;
  // An enabled row (1..10) begins, or with CapRow the end caps, drawn in
  // line's colour, line type and width; its lines follow.
  virtual void BeginRow(int row, const Settings::LineRow& line) = 0;
  // One line of the row, in path order; may have no length (a chamfer of
  // size 0), which the receiver drops.
  virtual void Line(const MyFunc::Point& from, const MyFunc::Point& to) = 0;
  // A round corner of the row, after the segment it ends.
  virtual void Arc(const CornerArc& arc) = 0;
};

// The path of a run: the unbroken run of set entries from entry 1, at most
// limit segments (1: the first two points; 98: up to 99 points).
std::vector<MyFunc::Point> PickedPath(
    const std::array<ZizAvodi::TPickedPoint, ZizAvodi::PickedPointSlots>& points, int limit);

// Builds every enabled row of preset along path into sink, then the end
// caps its options ask for. scale multiplies the interval and chamfer of
// rows given in paper units (and a cap overhang in paper units). A path
// whose last point coincides with its first is closed.
void BuildRows(const std::vector<MyFunc::Point>& path, const Settings::TLineTable& preset,
               double scale, ILineSink& sink);

// The corners of a row at offset d along path before any chamfer or
// rounding, one per path point, as BuildRows finds them: the crossing of
// the shifted segments on either side where their lines cross, else the
// start of the shifted segment after the point; the ends of an open path
// are the ends of its shifted first and last segments. Empty for fewer than
// two points.
std::vector<MyFunc::Point> MitredVertices(const std::vector<MyFunc::Point>& path, double d);

// True when the path's last point meets its first: BuildRows closes it.
bool IsClosedPath(const std::vector<MyFunc::Point>& path);

// The smallest and largest offset of the preset's enabled rows, paper rows
// times the scale: the band that caps span and junctions clip against.
// False when no row is enabled.
bool RowExtent(const Settings::TLineTable& preset, double scale, double& dmin, double& dmax);

// The unattended run's receiver: attribute commands and line records.
class WriterSink final : public ILineSink {
 public:
  void BeginRow(int row, const Settings::LineRow& line) override;
  void Line(const MyFunc::Point& from, const MyFunc::Point& to) override;
  // An arc whose ends coincide is dropped like a line of no length.
  void Arc(const CornerArc& arc) override;
};

// Emits, row by row, the colour, line type and width commands and the line
// records through the writer.
void BuildMultiLines(const std::array<ZizAvodi::TPickedPoint, ZizAvodi::PickedPointSlots>& points,
                     const Settings::TLineTable& preset, double scale, int limit);

} // namespace MultiLine
