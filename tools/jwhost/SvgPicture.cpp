#include "tools/jwhost/SvgPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <tuple>

#include "exchange/HostScreen.h"
#include "tools/jwhost/Cat.h"

namespace JwHost {

namespace {

// Drawing area: the longer side of the drawing's extent becomes this long.
constexpr double DrawingPx = 700.0;
constexpr double MarginPx = 50.0;
constexpr double CaptionPx = 44.0;
constexpr double LegendRowPx = 22.0;
// Smallest drawing extent scaled to the picture: a single point or nothing
// at all must not divide by zero.
constexpr double MinExtent = 1e-9;
// The picked path and the selected lines: thin, grey and dashed, apart from
// any pen the tool draws with.
constexpr char GuideStyle[] = "stroke=\"#a0a0a0\" stroke-width=\"1\" stroke-dasharray=\"5 4\"";

std::string Hex2(int v) {
  std::string s;
  s += "0123456789abcdef"[(v >> 4) & 15];
  s += "0123456789abcdef"[v & 15];
  return s;
}

std::string Px(double v) { return MyFunc::FormatReal(std::round(v * 100.0) / 100.0); }

// Drawing coordinates for the caption, without the last-place noise of
// trigonometry (6.1E-16 for 0).
std::string Short(double v) { return MyFunc::FormatReal(std::round(v * 1e6) / 1e6); }

std::string Escape(std::string_view text) {
  std::string s;
  for (char c : text) {
    switch (c) {
      case '&':
        s += "&amp;";
        break;
      case '<':
        s += "&lt;";
        break;
      case '>':
        s += "&gt;";
        break;
      case '"':
        s += "&quot;";
        break;
      default:
        s += c;
    }
  }
  return s;
}

struct Frame {
  double MinX = 0, MinY = 0, MaxX = 1, MaxY = 1;
  double Scale = 1;
  double Top = 0;
  double X(double x) const { return MarginPx + (x - MinX) * Scale; }
  double Y(double y) const { return Top + MarginPx + (MaxY - y) * Scale; }
};

// Counter-clockwise from start to end, in (0, 360]: both angles alike is a
// whole circle, as the host draws it.
double SweepDegrees(const DrawnArc& arc) {
  const double sweep = std::fmod(arc.EndDegrees - arc.StartDegrees, 360.0);
  return sweep > 0.0 ? sweep : sweep + 360.0;
}

MyFunc::Point OnArc(const DrawnArc& arc, double degrees) {
  const double a = degrees * std::numbers::pi / 180.0;
  return {arc.Centre.X + arc.Radius * std::cos(a), arc.Centre.Y + arc.Radius * std::sin(a)};
}

// The arc's ends and the points where it crosses an axis through its
// centre: together they span its extent.
std::vector<MyFunc::Point> ArcExtremes(const DrawnArc& arc) {
  const double sweep = SweepDegrees(arc);
  std::vector<MyFunc::Point> points{OnArc(arc, arc.StartDegrees),
                                    OnArc(arc, arc.StartDegrees + sweep)};
  for (int quarter = 0; quarter < 4; ++quarter) {
    double offset = std::fmod(quarter * 90.0 - arc.StartDegrees, 360.0);
    if (offset < 0.0) offset += 360.0;
    if (offset <= sweep) points.push_back(OnArc(arc, quarter * 90.0));
  }
  return points;
}

Frame FitFrame(const HostScene& scene, const ToolOutput& output) {
  constexpr double inf = std::numeric_limits<double>::infinity();
  Frame f;
  f.MinX = f.MinY = inf;
  f.MaxX = f.MaxY = -inf;
  const auto add = [&](const MyFunc::Point& p) {
    f.MinX = std::min(f.MinX, p.X);
    f.MinY = std::min(f.MinY, p.Y);
    f.MaxX = std::max(f.MaxX, p.X);
    f.MaxY = std::max(f.MaxY, p.Y);
  };
  for (const auto& p : scene.Points) add(p);
  for (const auto& line : scene.Selected) {
    add(line.A);
    add(line.B);
  }
  for (const auto& d : output.Drawn) {
    add(d.A);
    add(d.B);
  }
  for (const auto& arc : output.Arcs) {
    for (const auto& p : ArcExtremes(arc)) add(p);
  }
  if (f.MinX == inf) f.MinX = f.MinY = 0, f.MaxX = f.MaxY = 1;
  // A drawing without extent (one point, or a straight line along an axis)
  // still gets a square to sit in.
  const double extent = std::max({f.MaxX - f.MinX, f.MaxY - f.MinY, MinExtent});
  f.Scale = DrawingPx / extent;
  f.Top = CaptionPx;
  return f;
}

std::string PenStyle(const Pen& pen) {
  const double width = StrokeWidthPx(pen.LineWidth);
  std::string s = Cat("stroke=\"", HostColorRgb(pen.Color), "\" stroke-width=\"", Px(width), "\"");
  const ZizAvodi::DashPattern dash = ZizAvodi::HostDashPattern(pen.LineType);
  if (dash.Count > 0) {
    const double stretch = ZizAvodi::DashStretch(width);
    s += " stroke-dasharray=\"";
    for (std::size_t i = 0; i < dash.Count; ++i) {
      if (i > 0) s += ' ';
      s += Px(dash.Steps[i] * stretch);
    }
    s += "\"";
  }
  return s;
}

// An SVG path along the arc. The y axis is flipped, so the drawing's
// counter-clockwise is SVG's negative sweep (flag 0). More than a half turn
// goes in two halves, so that an arc near a whole circle, whose ends almost
// meet, is still drawn, and every part takes the small-arc flag.
std::string ArcPath(const Frame& f, const DrawnArc& arc) {
  const double sweep = SweepDegrees(arc);
  const std::string radius = Px(arc.Radius * f.Scale);
  const auto to = [&](double degrees) {
    const MyFunc::Point p = OnArc(arc, degrees);
    return Cat(" A ", radius, " ", radius, " 0 0 0 ", Px(f.X(p.X)), " ", Px(f.Y(p.Y)));
  };
  const MyFunc::Point start = OnArc(arc, arc.StartDegrees);
  std::string d = Cat("M ", Px(f.X(start.X)), " ", Px(f.Y(start.Y)));
  if (sweep > 180.0) d += to(arc.StartDegrees + sweep / 2);
  d += to(arc.StartDegrees + sweep);
  return d;
}

std::string PenLabel(const Pen& pen) {
  return Cat("lc", MyFunc::FormatInt(pen.Color), " lt", MyFunc::FormatInt(pen.LineType), " lw",
             MyFunc::FormatInt(pen.LineWidth));
}

} // namespace

std::string HostColorRgb(int color) {
  const ZizAvodi::ScreenColor c = ZizAvodi::HostScreenColor(color);
  return Cat("#", Hex2(c.R), Hex2(c.G), Hex2(c.B));
}

std::string DashPattern(int lineType) {
  const ZizAvodi::DashPattern dash = ZizAvodi::HostDashPattern(lineType);
  std::string s;
  for (std::size_t i = 0; i < dash.Count; ++i) {
    if (i > 0) s += ' ';
    s += MyFunc::FormatInt(dash.Steps[i]);
  }
  return s;
}

double StrokeWidthPx(int lineWidth) { return ZizAvodi::HostPenWidthPx(lineWidth); }

std::string RenderSvg(const HostScene& scene, const ToolOutput& output) {
  const Frame f = FitFrame(scene, output);

  std::vector<Pen> pens; // distinct pens in order of first use, for the legend
  const auto usePen = [&](const Pen& pen) {
    const auto same = [&](const Pen& p) {
      return std::tie(p.Color, p.LineType, p.LineWidth) ==
             std::tie(pen.Color, pen.LineType, pen.LineWidth);
    };
    if (std::none_of(pens.begin(), pens.end(), same)) pens.push_back(pen);
  };
  for (const auto& d : output.Drawn) usePen(d.Attr);
  for (const auto& arc : output.Arcs) usePen(arc.Attr);

  const double width = 2 * MarginPx + (f.MaxX - f.MinX) * f.Scale;
  const double drawingBottom = f.Top + 2 * MarginPx + (f.MaxY - f.MinY) * f.Scale;
  const double height = drawingBottom + static_cast<double>(pens.size()) * LegendRowPx + 10;
  const double pageWidth = std::max(width, 420.0);

  std::string s;
  s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  s += Cat("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"", Px(pageWidth), "\" height=\"",
           Px(height), "\" viewBox=\"0 0 ", Px(pageWidth), " ", Px(height), "\">\n");
  s += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
  s += "<g font-family=\"IPAGothic, sans-serif\">\n";
  std::string caption = scene.Title.empty() ? "jwhost" : scene.Title;
  caption += Cat("  (mode ", scene.Mode, ", ",
                 MyFunc::FormatInt(static_cast<std::int64_t>(output.Drawn.size())), " lines");
  if (!output.Arcs.empty()) {
    caption += Cat(", ", MyFunc::FormatInt(static_cast<std::int64_t>(output.Arcs.size())), " arcs");
  }
  caption += ")";
  s += Cat("<text x=\"10\" y=\"20\" font-size=\"15\" fill=\"#000000\">", Escape(caption),
           "</text>\n");
  s += Cat("<text x=\"10\" y=\"36\" font-size=\"11\" fill=\"#707070\">x ", Short(f.MinX), " .. ",
           Short(f.MaxX), ", y ", Short(f.MinY), " .. ", Short(f.MaxY), " (y up)</text>\n");
  s += "</g>\n";

  // The selected lines go under the result, drawn like the picked path:
  // where a wall's line runs along its centre line, the wall's shows.
  for (const auto& line : scene.Selected) {
    s += Cat("<line class=\"selected\" x1=\"", Px(f.X(line.A.X)), "\" y1=\"", Px(f.Y(line.A.Y)),
             "\" x2=\"", Px(f.X(line.B.X)), "\" y2=\"", Px(f.Y(line.B.Y)), "\" ", GuideStyle,
             "/>\n");
  }
  for (const auto& d : output.Drawn) {
    s += Cat("<line x1=\"", Px(f.X(d.A.X)), "\" y1=\"", Px(f.Y(d.A.Y)), "\" x2=\"", Px(f.X(d.B.X)),
             "\" y2=\"", Px(f.Y(d.B.Y)), "\" ", PenStyle(d.Attr), "/>\n");
  }
  for (const auto& arc : output.Arcs) {
    s += Cat("<path class=\"arc\" fill=\"none\" d=\"", ArcPath(f, arc), "\" ", PenStyle(arc.Attr),
             "/>\n");
  }

  // The picked path goes on top: thin and dashed, it leaves a line drawn
  // along it (a centre line) visible.
  if (scene.Points.size() >= 2) {
    s += Cat("<polyline class=\"picked\" fill=\"none\" ", GuideStyle, " points=\"");
    for (std::size_t i = 0; i < scene.Points.size(); ++i) {
      if (i > 0) s += ' ';
      s += Cat(Px(f.X(scene.Points[i].X)), ",", Px(f.Y(scene.Points[i].Y)));
    }
    s += "\"/>\n";
  }
  // One marker per place; a point picked again (a closed path) joins the
  // label of the first one there.
  std::vector<std::pair<MyFunc::Point, std::string>> markers;
  for (std::size_t i = 0; i < scene.Points.size(); ++i) {
    const auto& p = scene.Points[i];
    const std::string name = Cat("P", MyFunc::FormatInt(static_cast<std::int64_t>(i + 1)));
    const auto same = [&](const auto& m) { return m.first.X == p.X && m.first.Y == p.Y; };
    const auto found = std::find_if(markers.begin(), markers.end(), same);
    if (found != markers.end()) {
      found->second += Cat("=", name);
    } else {
      markers.emplace_back(p, name);
    }
  }
  s += "<g font-family=\"IPAGothic, sans-serif\" font-size=\"11\" fill=\"#707070\">\n";
  for (const auto& [p, name] : markers) {
    s += Cat("<circle class=\"pick\" cx=\"", Px(f.X(p.X)), "\" cy=\"", Px(f.Y(p.Y)),
             "\" r=\"3.5\" fill=\"none\" stroke=\"#707070\" stroke-width=\"1\"/>\n");
    s += Cat("<text x=\"", Px(f.X(p.X) + 6), "\" y=\"", Px(f.Y(p.Y) - 6), "\">", name, "</text>\n");
  }
  double y = drawingBottom;
  for (const Pen& pen : pens) {
    y += LegendRowPx;
    s += Cat("<line x1=\"10\" y1=\"", Px(y - 4), "\" x2=\"60\" y2=\"", Px(y - 4), "\" ",
             PenStyle(pen), "/>\n");
    s += Cat("<text x=\"70\" y=\"", Px(y), "\">", PenLabel(pen), "</text>\n");
  }
  s += "</g>\n</svg>\n";
  return s;
}

} // namespace JwHost
