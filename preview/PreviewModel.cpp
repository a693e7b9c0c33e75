#include "preview/PreviewModel.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "multiline/MultiLine.h"
#include "settings/Dialog.h"

namespace Preview {

namespace {

// The open sample path in units of its size: an acute corner (45 degrees),
// an obtuse one (135 degrees), a short segment and one more corner.
constexpr Point OpenPath[] = {{0, 0}, {1, 0}, {0.45, 0.55}, {0.45, 0.67}, {1, 0.95}};
// The rectangle beside it, counter-clockwise, closed by its first point.
constexpr Point Rectangle[] = {{1.5, 0.05}, {2.45, 0.05}, {2.45, 0.9}, {1.5, 0.9}, {1.5, 0.05}};
// The path's size against the largest interval: room for both sides of the
// path between the two paths and inside the rectangle.
constexpr double SizePerInterval = 8.0;
// Size of the paths when every interval (and chamfer) is zero.
constexpr double DefaultSize = 1000.0;
// Round corners are drawn as polylines with corners this far apart.
constexpr double ArcStepDegrees = 5.0;
// The segment limit of a continuous run ("2"): up to 99 picked points.
constexpr int PathRunLimit = 98;

double EffectiveScale(const Settings::LineRow& row, double scale) {
  return row.PaperUnit ? scale : 1.0;
}

// The next of 1, 2, 5, 10, 20, ... at or above size: the paths keep their
// size while an interval is edited, so the picture shows the change rather
// than fitting it away.
double RoundedUp(double size) {
  double decade = std::pow(10.0, std::floor(std::log10(size)));
  for (;;) {
    for (const double step : {1.0, 2.0, 5.0}) {
      if (step * decade >= size) return step * decade;
    }
    decade *= 10.0;
  }
}

double PathSize(const Settings::TLineTable& preset, double scale) {
  double interval = 0.0;
  double chamfer = 0.0;
  for (int r = 1; r <= Settings::RowCount; ++r) {
    const Settings::LineRow& row = preset.Row(r);
    if (!row.Enabled) continue;
    const double k = EffectiveScale(row, scale);
    const double d = std::fabs(row.Interval * k);
    const double c = std::fabs(row.Chamfer * k);
    if (std::isfinite(d)) interval = std::max(interval, d);
    if (std::isfinite(c)) chamfer = std::max(chamfer, c);
  }
  // A preset of chamfers alone is sized so that they fit its corners.
  const double size = interval > 0.0 ? interval * SizePerInterval : chamfer * SizePerInterval;
  return size > 0.0 && std::isfinite(size) ? RoundedUp(size) : DefaultSize;
}

Pen PenOf(int row, const Settings::LineRow& line) {
  Pen pen;
  pen.Row = row;
  pen.HostColor = ZizAvodi::MapColorIndex(line.Color);
  pen.HostLineType = ZizAvodi::MapLineTypeIndex(line.LineType);
  pen.HostLineWidth = ZizAvodi::MapLineWidth(line.LineWidth);
  pen.Color = ZizAvodi::HostScreenColor(pen.HostColor);
  pen.Dash = ZizAvodi::HostDashPattern(pen.HostLineType);
  pen.WidthPx = ZizAvodi::HostPenWidthPx(pen.HostLineWidth);
  return pen;
}

// Collects one sample path's lines; the first path also makes the pens.
class PictureSink final : public MultiLine::ILineSink {
 public:
  PictureSink(Picture& picture, bool makePens) : picture_(picture), makePens_(makePens) {}

  void BeginRow(int row, const Settings::LineRow& line) override {
    if (makePens_) picture_.Pens.push_back(PenOf(row, line));
    pen_ = rowsSeen_++;
    row_ = row;
    labelled_ = false;
  }
  void Line(const Point& from, const Point& to) override {
    if (!ZizAvodi::LineIsDrawn(from.X, from.Y, to.X, to.Y)) return;
    picture_.Strokes.push_back({pen_, from, to});
    picture_.Extent.Add(from);
    picture_.Extent.Add(to);
    // Rows are numbered at the start of their line; the caps are not.
    if (!labelled_ && row_ != MultiLine::CapRow) {
      picture_.Labels.push_back({pen_, from});
      labelled_ = true;
    }
  }
  void Arc(const MultiLine::CornerArc& arc) override {
    if (!ZizAvodi::LineIsDrawn(arc.From.X, arc.From.Y, arc.To.X, arc.To.Y)) return;
    Curve curve{pen_, ArcPoints(arc, ArcStepDegrees)};
    for (const Point& p : curve.Points) picture_.Extent.Add(p);
    picture_.Curves.push_back(std::move(curve));
  }

 private:
  Picture& picture_;
  bool makePens_;
  std::size_t rowsSeen_ = 0;
  std::size_t pen_ = 0;
  int row_ = 0;
  bool labelled_ = false;
};

template <std::size_t N>
std::vector<Point> Scaled(const Point (&shape)[N], double size) {
  std::vector<Point> path;
  path.reserve(N);
  for (const Point& p : shape) path.push_back({p.X * size, p.Y * size});
  return path;
}

} // namespace

void Bounds::Add(const Point& p) {
  if (!std::isfinite(p.X) || !std::isfinite(p.Y)) return;
  if (Empty) {
    MinX = MaxX = p.X;
    MinY = MaxY = p.Y;
    Empty = false;
    return;
  }
  MinX = std::min(MinX, p.X);
  MaxX = std::max(MaxX, p.X);
  MinY = std::min(MinY, p.Y);
  MaxY = std::max(MaxY, p.Y);
}

double LayerGroupScale(const ZizAvodi::ExchangeState& exchange) {
  const auto group = static_cast<std::size_t>(exchange.InitialLayerGroup);
  if (group >= exchange.LayerGroupScales.size()) return 1.0;
  const double scale = exchange.LayerGroupScales[group];
  return std::isfinite(scale) && scale > 0.0 ? scale : 1.0;
}

std::vector<std::vector<Point>> SamplePaths(const Settings::TLineTable& preset, double scale) {
  const double size = PathSize(preset, scale);
  return {Scaled(OpenPath, size), Scaled(Rectangle, size)};
}

Picture BuildPicture(const Settings::TLineTable& preset, double scale) {
  return BuildPicture(preset, scale, {});
}

Picture BuildPicture(const Settings::TLineTable& preset, double scale,
                     const std::vector<Point>& picked) {
  Picture picture;
  picture.Scale = scale;
  picture.Picked = picked.size() >= 2;
  picture.Paths =
      picture.Picked ? std::vector<std::vector<Point>>{picked} : SamplePaths(preset, scale);
  bool first = true;
  for (const auto& path : picture.Paths) {
    for (const Point& p : path) picture.Extent.Add(p);
    PictureSink sink(picture, first);
    MultiLine::BuildRows(path, preset, scale, sink);
    first = false;
  }
  return picture;
}

std::string_view PathCaption(const Picture& picture) {
  return picture.Picked ? "\x8e\x77\x8e\xa6\x82\xb5\x82\xbd\x8c\x6f\x98\x48" // 指示した経路
                        : "\x8c\xa9\x96\x7b\x82\xcc\x8c\x6f\x98\x48";        // 見本の経路
}

Picture PictureOfDialog(Settings::IDialogView& view) {
  const ZizAvodi::ExchangeState& exchange = ZizAvodi::Exchange;
  return BuildPicture(Settings::ReadTab(view), LayerGroupScale(exchange),
                      MultiLine::PickedPath(exchange.PickedPoints, PathRunLimit));
}

std::vector<Point> ArcPoints(const MultiLine::CornerArc& arc, double maxStepDegrees) {
  double sweep = arc.EndDegrees - arc.StartDegrees;
  if (sweep <= 0.0) sweep += 360.0;
  const double steps = std::ceil(sweep / std::max(maxStepDegrees, 0.1));
  const int count = std::isfinite(steps) ? static_cast<int>(std::clamp(steps, 1.0, 3600.0)) : 1;
  std::vector<Point> points;
  points.reserve(static_cast<std::size_t>(count) + 1);
  constexpr double radiansPerDegree = std::numbers::pi / 180.0;
  for (int i = 0; i <= count; ++i) {
    const double a = (arc.StartDegrees + sweep * i / count) * radiansPerDegree;
    points.push_back(
        {arc.Centre.X + arc.Radius * std::cos(a), arc.Centre.Y + arc.Radius * std::sin(a)});
  }
  return points;
}

Fit FitTo(const Bounds& extent, double width, double height, double margin) {
  Fit fit;
  const double w = std::max(width - 2 * margin, 1.0);
  const double h = std::max(height - 2 * margin, 1.0);
  if (extent.Empty) {
    fit.OriginX = width / 2;
    fit.OriginY = height / 2;
    return fit;
  }
  // An extent without width or height (a straight line) is fitted by its
  // other side alone.
  const double ex = extent.MaxX - extent.MinX;
  const double ey = extent.MaxY - extent.MinY;
  double k = 1.0;
  if (ex > 0 && ey > 0) {
    k = std::min(w / ex, h / ey);
  } else if (ex > 0) {
    k = w / ex;
  } else if (ey > 0) {
    k = h / ey;
  }
  if (!std::isfinite(k) || k <= 0) k = 1.0;
  fit.PixelsPerUnit = k;
  const double cx = (extent.MinX + extent.MaxX) / 2;
  const double cy = (extent.MinY + extent.MaxY) / 2;
  fit.OriginX = width / 2 - cx * k;
  fit.OriginY = height / 2 + cy * k;
  return fit;
}

namespace {

// Moves [start, start + size) inside [low, high) where it fits, else to low.
int Inside(int start, int size, int low, int high) {
  if (start + size > high) start = high - size;
  return start < low ? low : start;
}

// Over the dialog, since nothing beside it fits, but never over its
// buttons: a click on Cancel must reach Cancel. The window goes into the
// part of the work area right of, below, above or left of them that holds
// the most of it, as far right and as high as that part allows; an empty
// box when no part has room.
Box BesideButtons(const Box& buttons, int width, int height, const Box& work, int gap) {
  const Box parts[] = {
      {std::max(buttons.Right + gap, work.Left), work.Top, work.Right, work.Bottom},
      {work.Left, std::max(buttons.Bottom + gap, work.Top), work.Right, work.Bottom},
      {work.Left, work.Top, work.Right, std::min(buttons.Top - gap, work.Bottom)},
      {work.Left, work.Top, std::min(buttons.Left - gap, work.Right), work.Bottom},
  };
  Box best{};
  long long bestArea = -1;
  for (const Box& part : parts) {
    const int w = std::min(width, part.Right - part.Left);
    const int h = std::min(height, part.Bottom - part.Top);
    if (w <= 0 || h <= 0) continue;
    const long long area = static_cast<long long>(w) * h;
    if (area <= bestArea) continue;
    bestArea = area;
    const int x = part.Right - w;
    best = {x, part.Top, x + w, part.Top + h};
  }
  return best;
}

} // namespace

Box PlaceBeside(const Box& dialog, int width, int height, const Box& work, int gap, int minWidth,
                int minHeight, const Box& keepClear) {
  const int top = Inside(dialog.Top, height, work.Top, work.Bottom);
  const int right = dialog.Right + gap;
  if (right + width <= work.Right) return {right, top, right + width, top + height};
  const int below = dialog.Bottom + gap;
  if (below + height <= work.Bottom) {
    const int left = Inside(dialog.Left, width, work.Left, work.Right);
    return {left, below, left + width, below + height};
  }
  const int left = dialog.Left - gap - width;
  if (left >= work.Left) return {left, top, left + width, top + height};
  // Narrower on the roomier side rather than over the dialog.
  const int roomRight = work.Right - right;
  const int roomLeft = dialog.Left - gap - work.Left;
  const int room = std::max(roomRight, roomLeft);
  if (minWidth > 0 && room >= minWidth) {
    const int x = roomRight >= roomLeft ? right : dialog.Left - gap - room;
    return {x, top, x + room, top + height};
  }
  // Lower above or below it, which leaves the whole dialog in view.
  const int fullWidth = std::min(width, work.Right - work.Left);
  const int roomBelow = work.Bottom - below;
  const int roomAbove = dialog.Top - gap - work.Top;
  const int roomY = std::max(roomBelow, roomAbove);
  if (minHeight > 0 && roomY >= minHeight && fullWidth >= minWidth) {
    const int h = std::min(height, roomY);
    const int x = Inside(dialog.Left, fullWidth, work.Left, work.Right);
    const int y = roomBelow >= roomAbove ? below : dialog.Top - gap - h;
    return {x, y, x + fullWidth, y + h};
  }
  if (keepClear.Right > keepClear.Left) {
    const Box clear = BesideButtons(keepClear, width, height, work, gap);
    if (clear.Right > clear.Left) return clear;
  }
  const int x = Inside(work.Right - width, width, work.Left, work.Right);
  return {x, top, x + width, top + height};
}

} // namespace Preview
