// What the dialog's preview window draws: the enabled rows of a preset,
// built by the builder of the unattended run along the path the host's user
// picked, or, without one, along two sample paths (an open path with an
// acute corner, an obtuse corner and a short segment, and a closed
// rectangle), each line in the pen the host would show. Drawing units
// throughout, y up; Fit turns them into window pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "common/MyFunc.h"
#include "exchange/HostScreen.h"
#include "exchange/ZizAvodi.h"
#include "multiline/MultiLine.h"
#include "settings/DialogView.h"
#include "settings/Presets.h"

namespace Preview {

using MyFunc::Point;

// One enabled row's pen, as the host would show it.
struct Pen {
  int Row = 0; // 1..10, or 0 for the end caps
  std::int32_t HostColor = 0;
  std::int32_t HostLineType = 0;
  std::int32_t HostLineWidth = 0;
  ZizAvodi::ScreenColor Color{};
  ZizAvodi::DashPattern Dash; // for the thinnest pen; see ZizAvodi::DashStretch
  double WidthPx = ZizAvodi::ThinPenPx;
};

struct Stroke {
  std::size_t Pen = 0; // index into Picture::Pens
  Point A, B;
};

// A round corner, flattened into a polyline fine enough for the screen.
struct Curve {
  std::size_t Pen = 0;
  std::vector<Point> Points;
};

// A row's number, at the start of its line on one sample path.
struct RowLabel {
  std::size_t Pen = 0;
  Point At;
};

struct Bounds {
  double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
  bool Empty = true;
  void Add(const Point& p);
};

struct Picture {
  double Scale = 1.0; // what paper-unit rows were multiplied by
  std::vector<Pen> Pens;
  std::vector<Stroke> Strokes;
  std::vector<Curve> Curves;
  std::vector<RowLabel> Labels;
  std::vector<std::vector<Point>> Paths; // the picked path or the sample paths
  bool Picked = false;                   // Paths is the path the host's user picked
  Bounds Extent;                         // of strokes and paths together
  bool HasRows() const { return !Pens.empty(); }
};

// The caption that says which path the picture shows, in Shift-JIS:
// "指示した経路" (picked) or "見本の経路" (samples).
std::string_view PathCaption(const Picture& picture);

// The scale of the host's current layer group as the exchange file gave it;
// 1 where there was none or it is not a positive finite number.
double LayerGroupScale(const ZizAvodi::ExchangeState& exchange);

// The sample paths for a preset: sized by its largest effective interval,
// so that its lines stay apart and the picture keeps its shape whatever the
// numbers' magnitude.
std::vector<std::vector<Point>> SamplePaths(const Settings::TLineTable& preset, double scale);

// Colours, line types and widths go through the writer's mappings, so the
// host's current pen (ZizAvodi::Exchange) stands for list position 0.
Picture BuildPicture(const Settings::TLineTable& preset, double scale);
// The same along picked, when it has two points or more (the path a run
// builds along, closed when its last point meets its first); along the
// sample paths otherwise.
Picture BuildPicture(const Settings::TLineTable& preset, double scale,
                     const std::vector<Point>& picked);

// What the preview shows while the dialog is open: the visible tab read as
// OK would store it, along the points a continuous run would take from the
// exchange file the dialog run read, paper units at the scale of the host's
// layer group.
Picture PictureOfDialog(Settings::IDialogView& view);

// The points of a round corner's arc from its start angle to its end angle,
// at most maxStepDegrees apart.
std::vector<Point> ArcPoints(const MultiLine::CornerArc& arc, double maxStepDegrees);

// Drawing units to pixels of a window: the extent fills it less a margin on
// every side, keeps its aspect ratio and sits in the middle.
struct Fit {
  double PixelsPerUnit = 1.0;
  double OriginX = 0.0; // pixel of drawing x = 0
  double OriginY = 0.0; // pixel of drawing y = 0 (pixel y grows downwards)
  double X(double x) const { return OriginX + x * PixelsPerUnit; }
  double Y(double y) const { return OriginY - y * PixelsPerUnit; }
};
Fit FitTo(const Bounds& extent, double width, double height, double margin);

// Screen rectangles in pixels, right and bottom exclusive.
struct Box {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const Box&) const = default;
};

// Where a window of width x height goes beside the dialog: to its right,
// else below it, else to its left, whichever first fits the work area; top
// (or left) edges aligned with the dialog's and moved inside the work area.
// When none fits, it is made narrower (down to minWidth) on the side with
// more room; failing that (with a minHeight), lower above or below the
// dialog, on the roomier side. Only when even that fails does it overlap
// the dialog: at the work area's right edge, or, with a keepClear box (the
// dialog's buttons), in the largest part of the work area beside that box.
Box PlaceBeside(const Box& dialog, int width, int height, const Box& work, int gap,
                int minWidth = 0, int minHeight = 0, const Box& keepClear = {});

} // namespace Preview
