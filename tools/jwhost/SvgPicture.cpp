#include "tools/jwhost/SvgPicture.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <tuple>

#include "tools/jwhost/Cat.h"

namespace JwHost {

namespace {

// Drawing area: the longer side of the drawing's extent becomes this long.
constexpr double DrawingPx = 700.0;
constexpr double MarginPx = 50.0;
constexpr double CaptionPx = 44.0;
constexpr double LegendRowPx = 22.0;
constexpr double ThinPenPx = 1.5;
constexpr double MaxPenPx = 12.0;
// Smallest drawing extent scaled to the picture: a single point or nothing
// at all must not divide by zero.
constexpr double MinExtent = 1e-9;

// Roughly Jw_cad's screen colours on a white page; yellow is darkened to
// stay visible.
constexpr std::array<std::string_view, 10> HostColors = {
    "",        "#00a0e0", "#000000", "#00a000", "#c8a000",
    "#d000d0", "#0000ff", "#008080", "#ff0000", "#ff80c0",
};

// SXF predefined colours 1-16; white and yellow are shaded to show on white.
constexpr std::array<std::string_view, 16> SxfColors = {
    "#000000", "#ff0000", "#00c000", "#0000ff", "#d0c000", "#ff00ff", "#00c0c0", "#c0c0c0",
    "#800080", "#a52a2a", "#ffa500", "#90ee90", "#6fb7e0", "#b0a0e6", "#a9a9a9", "#505050",
};

struct DashEntry {
  int LineType;
  std::string_view Pattern;
};
constexpr DashEntry Dashes[] = {
    {2, "2 2"},
    {3, "6 3"},
    {4, "12 4"},
    {5, "14 3 2 3"},
    {6, "20 4 3 4"},
    {7, "14 3 2 3 2 3"},
    {8, "20 4 3 4 3 4"},
    {9, "1 3"},
    {11, "9 3 4 2 13 3"},
    {12, "5 2 11 3 7 2"},
    {13, "12 3 3 2 8 4"},
    {14, "4 2 9 3 6 2 14 3"},
    {15, "16 3 5 2 9 3"},
    {16, "12 6"},
    {17, "24 8"},
    {18, "28 6 4 6"},
    {19, "28 6 4 6 4 6"},
    {32, "6 3"},
    {33, "6 6"},
    {34, "14 3 2 3"},
    {35, "14 3 2 3 2 3"},
    {36, "14 3 2 3 2 3 2 3"},
    {37, "2 3"},
    {38, "18 3 6 3"},
    {39, "18 3 6 3 6 3"},
    {40, "6 3 2 3"},
    {41, "6 3 6 3 2 3"},
    {42, "6 3 2 3 2 3"},
    {43, "6 3 6 3 2 3 2 3"},
    {44, "6 3 2 3 2 3 2 3"},
    {45, "6 3 6 3 2 3 2 3 2 3"},
};

std::string Hex2(int v) {
  std::string s;
  s += "0123456789abcdef"[(v >> 4) & 15];
  s += "0123456789abcdef"[v & 15];
  return s;
}

// A hue per user colour, golden-angle spaced so that neighbours differ.
std::string HueColor(int n) {
  const double h = std::fmod(n * 137.508, 360.0) / 60.0;
  const double c = 0.75;     // chroma at a mid lightness
  const double lowest = 0.1; // keeps every hue readable on white
  const double x = c * (1.0 - std::fabs(std::fmod(h, 2.0) - 1.0));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(h)) {
    case 0:
      r = c, g = x;
      break;
    case 1:
      r = x, g = c;
      break;
    case 2:
      g = c, b = x;
      break;
    case 3:
      g = x, b = c;
      break;
    case 4:
      r = x, b = c;
      break;
    default:
      r = c, b = x;
      break;
  }
  const auto byte = [&](double v) { return static_cast<int>(std::lround((v + lowest) * 255.0)); };
  return Cat("#", Hex2(byte(r)), Hex2(byte(g)), Hex2(byte(b)));
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
  for (const auto& d : output.Drawn) {
    add(d.A);
    add(d.B);
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
  const std::string_view dash = DashPattern(pen.LineType);
  if (!dash.empty()) {
    // Wide pens get longer dashes, as a plotter would draw them.
    const double stretch = std::max(1.0, width / ThinPenPx);
    s += " stroke-dasharray=\"";
    std::size_t i = 0;
    bool first = true;
    while (i < dash.size()) {
      const std::size_t j = std::min(dash.find(' ', i), dash.size());
      const double v = MyFunc::TextToFloatSafe(dash.substr(i, j - i));
      if (!first) s += ' ';
      s += Px(v * stretch);
      first = false;
      i = j + 1;
    }
    s += "\"";
  }
  return s;
}

std::string PenLabel(const Pen& pen) {
  return Cat("lc", MyFunc::FormatInt(pen.Color), " lt", MyFunc::FormatInt(pen.LineType), " lw",
             MyFunc::FormatInt(pen.LineWidth));
}

} // namespace

std::string HostColorRgb(int color) {
  if (color >= 1 && color <= 9) return std::string(HostColors[static_cast<std::size_t>(color)]);
  if (color >= 101 && color <= 116) {
    return std::string(SxfColors[static_cast<std::size_t>(color - 101)]);
  }
  if (color >= 117 && color <= 356) return HueColor(color);
  return "#808080";
}

std::string_view DashPattern(int lineType) {
  for (const DashEntry& e : Dashes) {
    if (e.LineType == lineType) return e.Pattern;
  }
  // SXF user line types 17-32: their patterns live in the drawing, not here.
  if (lineType >= 47 && lineType <= 62) return "10 3 3 3";
  return "";
}

double StrokeWidthPx(int lineWidth) {
  if (lineWidth <= 0) return ThinPenPx;
  // The host's widths run from single steps to hundreds (1/100 mm pens); a
  // square root keeps both ends apart without flooding the picture.
  return std::min(ThinPenPx + 0.6 * std::sqrt(static_cast<double>(lineWidth)), MaxPenPx);
}
std::string RenderSvg(const HostScene& scene, const ToolOutput& output) {
  const Frame f = FitFrame(scene, output);

  std::vector<Pen> pens; // distinct pens in order of first use, for the legend
  for (const auto& d : output.Drawn) {
    const auto same = [&](const Pen& p) {
      return std::tie(p.Color, p.LineType, p.LineWidth) ==
             std::tie(d.Attr.Color, d.Attr.LineType, d.Attr.LineWidth);
    };
    if (std::none_of(pens.begin(), pens.end(), same)) pens.push_back(d.Attr);
  }

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
  caption += Cat("  (mode ", MyFunc::FormatInt(scene.Mode), ", ",
                 MyFunc::FormatInt(static_cast<std::int64_t>(output.Drawn.size())), " lines)");
  s += Cat("<text x=\"10\" y=\"20\" font-size=\"15\" fill=\"#000000\">", Escape(caption),
           "</text>\n");
  s += Cat("<text x=\"10\" y=\"36\" font-size=\"11\" fill=\"#707070\">x ", Short(f.MinX), " .. ",
           Short(f.MaxX), ", y ", Short(f.MinY), " .. ", Short(f.MaxY), " (y up)</text>\n");
  s += "</g>\n";

  for (const auto& d : output.Drawn) {
    s += Cat("<line x1=\"", Px(f.X(d.A.X)), "\" y1=\"", Px(f.Y(d.A.Y)), "\" x2=\"", Px(f.X(d.B.X)),
             "\" y2=\"", Px(f.Y(d.B.Y)), "\" ", PenStyle(d.Attr), "/>\n");
  }

  // The picked path goes on top: thin and dashed, it leaves a line drawn
  // along it (a centre line) visible.
  if (scene.Points.size() >= 2) {
    s += "<polyline class=\"picked\" fill=\"none\" stroke=\"#a0a0a0\" stroke-width=\"1\" "
         "stroke-dasharray=\"5 4\" points=\"";
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
