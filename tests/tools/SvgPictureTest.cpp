// The SVG picture: pens map to colours, dashes and widths, the drawing's y
// axis points up, and the picked path is drawn apart from the result.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/MyFunc.h"
#include "tools/jwhost/SvgPicture.h"

namespace {

using JwHost::DashPattern;
using JwHost::HostColorRgb;
using JwHost::StrokeWidthPx;

// Attributes of every element with the given tag, in document order.
std::vector<std::map<std::string, std::string>> Elements(const std::string& svg,
                                                         const std::string& tag) {
  std::vector<std::map<std::string, std::string>> found;
  std::size_t pos = 0;
  while ((pos = svg.find("<" + tag + " ", pos)) != std::string::npos) {
    const std::size_t end = svg.find('>', pos);
    std::map<std::string, std::string> attrs;
    std::size_t i = pos + tag.size() + 2;
    while (i < end) {
      const std::size_t eq = svg.find("=\"", i);
      if (eq == std::string::npos || eq > end) break;
      const std::size_t close = svg.find('"', eq + 2);
      std::size_t nameStart = svg.rfind(' ', eq) + 1;
      attrs[svg.substr(nameStart, eq - nameStart)] = svg.substr(eq + 2, close - eq - 2);
      i = close + 1;
    }
    found.push_back(attrs);
    pos = end;
  }
  return found;
}

double Num(const std::string& text) { return MyFunc::TextToFloatSafe(text); }
// First number of a list such as a dash pattern.
double First(std::string_view list) {
  return MyFunc::TextToFloatSafe(list.substr(0, list.find(' ')));
}

TEST(SvgPalette, HostAndSxfColours) {
  const struct {
    int Color;
    const char* Rgb;
  } cases[] = {
      {2, "#000000"},   {8, "#ff0000"}, {6, "#0000ff"},  {101, "#000000"}, {102, "#ff0000"},
      {104, "#0000ff"}, {0, "#808080"}, {10, "#808080"}, {-1, "#808080"},  {357, "#808080"},
  };
  for (const auto& c : cases) EXPECT_EQ(HostColorRgb(c.Color), c.Rgb) << "lc" << c.Color;
  // Every named colour differs from its neighbours, and user colours are
  // distinct hues rather than the grey of unknown numbers.
  std::set<std::string> seen;
  for (int c = 1; c <= 9; ++c) seen.insert(HostColorRgb(c));
  EXPECT_EQ(seen.size(), 9u);
  for (int c = 117; c <= 126; ++c) {
    EXPECT_NE(HostColorRgb(c), "#808080") << "lc" << c;
    EXPECT_NE(HostColorRgb(c), HostColorRgb(c + 1)) << "lc" << c;
    EXPECT_EQ(HostColorRgb(c).size(), 7u);
  }
}

TEST(SvgPalette, LineTypesAndWidths) {
  for (int solid : {1, 0, 10, 31, 30, 99}) EXPECT_EQ(DashPattern(solid), "") << "lt" << solid;
  for (int dashed : {2, 5, 9, 11, 15, 16, 19, 32, 45, 50}) {
    EXPECT_NE(DashPattern(dashed), "") << "lt" << dashed;
  }
  EXPECT_NE(DashPattern(5), DashPattern(7)); // one-dot and two-dot chains differ
  EXPECT_EQ(StrokeWidthPx(0), StrokeWidthPx(-1));
  EXPECT_LT(StrokeWidthPx(0), StrokeWidthPx(1));
  EXPECT_LT(StrokeWidthPx(1), StrokeWidthPx(5));
  EXPECT_LE(StrokeWidthPx(30000), 12.0); // a huge width stays a picture
}

class SvgRender : public ::testing::Test {
 protected:
  void SetUp() override {
    scene_.Title = "L <path> & more";
    scene_.Points = {{0, 0}, {100, 0}, {100, 100}};
    output_.Drawn = {Line(0, 10, 87, 10, 2, 1, 0), Line(87, 10, 90, 13, 2, 1, 0),
                     Line(90, 13, 90, 100, 8, 2, 10)};
  }
  static JwHost::DrawnLine Line(double x1, double y1, double x2, double y2, int color, int type,
                                int width) {
    JwHost::DrawnLine d;
    d.A = {x1, y1};
    d.B = {x2, y2};
    d.Attr.Color = color;
    d.Attr.LineType = type;
    d.Attr.LineWidth = width;
    return d;
  }
  JwHost::HostScene scene_;
  JwHost::ToolOutput output_;
};

TEST_F(SvgRender, OneSvgLinePerDrawnLineInItsPen) {
  const std::string svg = JwHost::RenderSvg(scene_, output_);
  const auto lines = Elements(svg, "line");
  // Three drawn lines, then one legend sample per distinct pen (two).
  ASSERT_EQ(lines.size(), 5u) << svg;
  EXPECT_EQ(lines[0].at("stroke"), "#000000");
  EXPECT_EQ(lines[0].count("stroke-dasharray"), 0u);
  EXPECT_EQ(lines[2].at("stroke"), "#ff0000");
  EXPECT_GT(Num(lines[2].at("stroke-width")), Num(lines[0].at("stroke-width")));
  ASSERT_EQ(lines[2].count("stroke-dasharray"), 1u);
  // A wide pen stretches its dashes.
  EXPECT_GT(First(lines[2].at("stroke-dasharray")), First(DashPattern(2)));
}

TEST_F(SvgRender, YAxisPointsUp) {
  const auto lines = Elements(JwHost::RenderSvg(scene_, output_), "line");
  // The bottom edge (y 10) lies below the vertical line's top (y 100), and
  // x still grows to the right.
  EXPECT_GT(Num(lines[0].at("y1")), Num(lines[2].at("y2")));
  EXPECT_LT(Num(lines[0].at("x1")), Num(lines[0].at("x2")));
  // Equal drawing lengths give equal picture lengths.
  const double across = Num(lines[0].at("x2")) - Num(lines[0].at("x1"));
  const double up = Num(lines[2].at("y1")) - Num(lines[2].at("y2"));
  EXPECT_NEAR(across / 87.0, up / 87.0, 0.02);
}

TEST_F(SvgRender, PickedPathIsThinGreyDashedWithMarkers) {
  const std::string svg = JwHost::RenderSvg(scene_, output_);
  const auto path = Elements(svg, "polyline");
  ASSERT_EQ(path.size(), 1u);
  EXPECT_EQ(path[0].at("stroke"), "#a0a0a0");
  EXPECT_EQ(path[0].at("stroke-width"), "1");
  EXPECT_EQ(path[0].count("stroke-dasharray"), 1u);
  const std::string points = path[0].at("points");
  EXPECT_EQ(std::count(points.begin(), points.end(), ','), 3);
  EXPECT_EQ(Elements(svg, "circle").size(), 3u);
  EXPECT_NE(svg.find(">P3<"), std::string::npos);
}

TEST_F(SvgRender, PointPickedAgainSharesTheFirstMarker) {
  scene_.Points = {{0, 0}, {100, 0}, {100, 100}, {0, 0}};
  const std::string svg = JwHost::RenderSvg(scene_, output_);
  EXPECT_EQ(Elements(svg, "circle").size(), 3u);
  EXPECT_NE(svg.find(">P1=P4<"), std::string::npos);
}

TEST_F(SvgRender, SelectedLinesLieUnderTheResultAndWidenThePicture) {
  scene_.Points.clear();
  scene_.Mode = "select";
  scene_.Selected = {{{0, 0}, {100, 0}}, {{100, 0}, {100, 200}}};
  const std::string svg = JwHost::RenderSvg(scene_, output_);
  const auto lines = Elements(svg, "line");
  ASSERT_GE(lines.size(), 3u) << svg;
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[i].count("class") == 1, i < 2) << "the result comes after the selected lines";
  }
  EXPECT_EQ(lines[1].at("stroke"), "#a0a0a0");
  EXPECT_NE(svg.find("y 0 .. 200 (y up)"), std::string::npos) << svg;
  EXPECT_NE(svg.find("(mode select, 3 lines)"), std::string::npos) << svg;
}

TEST_F(SvgRender, TitleIsEscaped) {
  const std::string svg = JwHost::RenderSvg(scene_, output_);
  EXPECT_NE(svg.find("L &lt;path&gt; &amp; more"), std::string::npos);
  EXPECT_EQ(svg.find("<path>"), std::string::npos);
}

// Each arc becomes a path "M x y A r r 0 0 0 x y ...": counter-clockwise in
// the drawing is SVG's negative sweep (y is flipped), and more than a half
// turn comes in two halves. Expected points are placed by way of the point
// markers at the centre and at (10, 0), so the picture's own frame is used.
TEST(SvgRenderArcs, EndsAndSweepFollowTheDrawing) {
  const struct {
    double Start, End;
    std::vector<MyFunc::Point> Through; // start, (middle,) end
  } cases[] = {
      {0, 90, {{10, 0}, {0, 10}}},
      {270, 0, {{0, -10}, {10, 0}}}, // across 0 degrees
      {90, 0, {{0, 10}, {-7.0710678, -7.0710678}, {10, 0}}},
      {0, 0, {{10, 0}, {-10, 0}, {10, 0}}}, // a whole circle
  };
  JwHost::HostScene scene;
  scene.Points = {{0, 0}, {10, 0}, {0, 10}, {-10, 0}, {0, -10}};
  for (const auto& c : cases) {
    JwHost::ToolOutput output;
    output.Arcs.push_back({{0, 0}, 10, c.Start, c.End, {}});
    const std::string svg = JwHost::RenderSvg(scene, output);
    const auto markers = Elements(svg, "circle");
    const auto paths = Elements(svg, "path");
    ASSERT_EQ(paths.size(), 1u) << svg;
    const double x0 = Num(markers[0].at("cx")), y0 = Num(markers[0].at("cy"));
    const double k = (Num(markers[1].at("cx")) - x0) / 10;
    std::vector<std::string> t;
    std::istringstream words(paths[0].at("d"));
    for (std::string w; words >> w;) t.push_back(w);
    ASSERT_EQ(t.size(), 3 + 8 * (c.Through.size() - 1)) << paths[0].at("d");
    for (std::size_t i = 0; i < c.Through.size(); ++i) {
      const std::size_t at = i == 0 ? 1 : 3 + 8 * (i - 1) + 6;
      EXPECT_EQ(t[at - 1], i == 0 ? "M" : "0") << c.Start << " to " << c.End << ", point " << i;
      EXPECT_NEAR(Num(t[at]), x0 + c.Through[i].X * k, 0.011) << c.Start << " to " << c.End;
      EXPECT_NEAR(Num(t[at + 1]), y0 - c.Through[i].Y * k, 0.011) << c.Start << " to " << c.End;
      if (i == 0) continue;
      const std::vector<std::string> arc(t.begin() + static_cast<long>(at) - 6,
                                         t.begin() + static_cast<long>(at) - 1);
      EXPECT_EQ(arc, (std::vector<std::string>{"A", t[at - 5], t[at - 5], "0", "0"}));
      EXPECT_NEAR(Num(t[at - 5]), 10 * k, 0.011);
    }
  }
}

TEST(SvgRenderArcs, PictureTakesInWhereAnArcBulgesBeyondThePath) {
  JwHost::HostScene scene;
  scene.Points = {{0, 0}, {100, 0}};
  JwHost::ToolOutput output;
  output.Arcs.push_back({{50, 0}, 50, 0, 180, {}}); // up to y 50
  const std::string svg = JwHost::RenderSvg(scene, output);
  EXPECT_NE(svg.find("x 0 .. 100, y 0 .. 50 (y up)"), std::string::npos) << svg;
  EXPECT_NE(svg.find("(mode 2, 0 lines, 1 arcs)"), std::string::npos) << svg;
}

TEST(SvgRenderEmpty, NothingPickedOrDrawnIsStillAPicture) {
  const std::string svg = JwHost::RenderSvg(JwHost::HostScene{}, JwHost::ToolOutput{});
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
  EXPECT_TRUE(Elements(svg, "line").empty());
  EXPECT_TRUE(Elements(svg, "polyline").empty());
  EXPECT_EQ(svg.find("nan"), std::string::npos);
  EXPECT_EQ(svg.find("inf"), std::string::npos);
}

} // namespace
