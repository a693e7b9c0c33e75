// The drawing options of a preset: end caps after the rows, and round
// corners in place of chamfers. The rows' own records and attributes stay
// as without the options; what the options add is compared byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "MultiLineTestSupport.h"

using namespace TestMultiLine;
using Settings::DrawOptions;
using Settings::TLineTable;

namespace {

const std::vector<XY> LPath = {{0, 0}, {100, 0}, {100, 100}};

// The lines a preset draws beyond what it draws without its options.
std::vector<std::string> Added(const std::vector<XY>& path, TLineTable preset, double scale,
                               int limit = 98) {
  const auto with = Build(PathOf(path), preset, scale, limit);
  preset.Options = DrawOptions{};
  const auto without = Build(PathOf(path), preset, scale, limit);
  EXPECT_LE(without.size(), with.size());
  for (std::size_t i = 0; i < without.size() && i < with.size(); ++i) {
    EXPECT_EQ(with[i], without[i]) << "the rows changed at line " << i + 1;
  }
  return {with.begin() + static_cast<std::ptrdiff_t>(std::min(without.size(), with.size())),
          with.end()};
}

TLineTable TwoRows(double d1, double d2) {
  TLineTable preset;
  preset.Row(1) = Row(d1, 0);
  preset.Row(3) = Row(d2, 0);
  return preset;
}

DrawOptions Caps(bool start, bool end, double overhang = 0, bool paper = false) {
  DrawOptions o;
  o.StartCap = start;
  o.EndCap = end;
  o.CapOverhang = overhang;
  o.CapPaperUnit = paper;
  o.CapColor = 2;
  return o;
}

TEST(EndCaps, AcrossAllLinesAfterTheRows) {
  const std::vector<XY> closed = {{0, 0}, {100, 0}, {100, 100}, {0, 0}};
  const std::vector<XY> deadEnd = {{0, 0}, {100, 0}, {100, 0}};
  const struct {
    const char* Name;
    std::vector<XY> Path;
    std::vector<double> Intervals; // rows 1, 3, ...
    const char* Caps;              // S: start, E: end
    double Overhang;
    bool Paper;
    int Limit;
    const char* Expected; // what the caps add, joined with " | "
  } cases[] = {
      {"start only", LPath, {10, -5}, "S", 0, false, 98, "lc2 | 0 -5 0 10"},
      {"end only", LPath, {10, -5}, "E", 0, false, 98, "lc2 | 105 100 90 100"},
      {"both", LPath, {10, -5}, "SE", 0, false, 98, "lc2 | 0 -5 0 10 | 105 100 90 100"},
      {"overhang in real mm",
       LPath,
       {10, -5},
       "SE",
       2,
       false,
       98,
       "lc2 | 0 -7 0 12 | 107 100 88 100"},
      {"overhang in paper mm",
       LPath,
       {10, -5},
       "SE",
       0.02,
       true,
       98,
       "lc2 | 0 -7 0 12 | 107 100 88 100"},
      {"one row: the overhang alone", LPath, {10}, "S", 1, false, 98, "lc2 | 0 9 0 11"},
      {"one row, no overhang: no length, dropped", LPath, {10}, "S", 0, false, 98, "lc2"},
      {"rows all on one side", LPath, {10, 20}, "S", 0, false, 98, "lc2 | 0 10 0 20"},
      {"closed path: none", closed, {10, -5}, "SE", 0, false, 98, ""},
      {"zero-length end segment: no end cap",
       deadEnd,
       {10, -5},
       "SE",
       0,
       false,
       98,
       "lc2 | 0 -5 0 10"},
      {"run 1: across the first segment",
       LPath,
       {10, -5},
       "SE",
       0,
       false,
       1,
       "lc2 | 0 -5 0 10 | 100 -5 100 10"},
      {"one point: none", {{0, 0}}, {10, -5}, "SE", 0, false, 98, ""},
      {"no enabled row: none", LPath, {}, "SE", 0, false, 98, ""},
  };
  for (const auto& c : cases) {
    TLineTable preset;
    for (std::size_t i = 0; i < c.Intervals.size(); ++i) {
      preset.Row(static_cast<int>(1 + 2 * i)) = Row(c.Intervals[i], 0);
    }
    const std::string caps = c.Caps;
    preset.Options = Caps(caps.find('S') != std::string::npos, caps.find('E') != std::string::npos,
                          c.Overhang, c.Paper);
    EXPECT_EQ(TestWriter::Joined(Added(c.Path, preset, 100, c.Limit)), c.Expected) << c.Name;
  }
}

TEST(EndCaps, TakeTheirOwnPenAfterTheRows) {
  TLineTable preset = TwoRows(10, -5);
  preset.Options = Caps(true, false);
  preset.Options.CapColor = 0;
  preset.Options.CapLineType = 2;
  preset.Options.CapLineWidth = 50;
  const auto lines = Build(PathOf(LPath), preset, 1, 98, true);
  ASSERT_GE(lines.size(), 3U);
  EXPECT_EQ(TestWriter::Joined({lines.end() - 3, lines.end()}), "lt2 | lw50 | 0 -5 0 10")
      << TestWriter::Joined(lines);
}

// A ci record read back: centre, radius and the two angles.
struct ArcRecord {
  double Cx, Cy, R, A1, A2;
};

std::vector<ArcRecord> ArcsOf(const std::vector<std::string>& lines) {
  std::vector<ArcRecord> arcs;
  for (const std::string& line : lines) {
    if (line.rfind("ci ", 0) != 0) continue;
    std::vector<std::string> f(1);
    for (char ch : line.substr(3)) {
      if (ch == ' ') {
        f.emplace_back();
      } else {
        f.back().push_back(ch);
      }
    }
    EXPECT_EQ(f.size(), 7U) << line;
    if (f.size() != 7) continue;
    EXPECT_EQ(f[5] + " " + f[6], "1 0") << line;
    const auto v = [&f](int i) { return MyFunc::TextToFloatSafe(f[static_cast<std::size_t>(i)]); };
    arcs.push_back({v(0), v(1), v(2), v(3), v(4)});
  }
  return arcs;
}

TLineTable Round(double interval, double radius) {
  TLineTable preset = PresetWith(Row(interval, radius));
  preset.Options.RoundCorners = true;
  return preset;
}

TEST(RoundCorners, ExactRecordsAtRightAngles) {
  struct Case {
    const char* Name;
    std::vector<XY> Path;
    double Interval, Radius;
    std::vector<std::string> Expected;
  };
  const std::vector<Case> cases = {
      {"left turn", LPath, 10, 3, {"0 10 87 10", "ci 87 13 3 270 0 1 0", "90 13 90 100"}},
      {"right turn",
       {{0, 0}, {100, 0}, {100, -100}},
       10,
       3,
       {"0 10 107 10", "ci 107 7 3 0 90 1 0", "110 7 110 -100"}},
      {"radius 0 leaves the mitre", LPath, 10, 0, {"0 10 90 10", "90 10 90 100"}},
      {"a negative radius leaves the mitre", LPath, 10, -3, {"0 10 90 10", "90 10 90 100"}},
      {"a straight run has no corner",
       {{0, 0}, {50, 0}, {100, 0}},
       10,
       3,
       {"0 10 50 10", "50 10 100 10"}},
      {"a radius as long as a segment is too large", LPath, 10, 90, {"0 10 90 10", "90 10 90 100"}},
      {"closed square: the closing arc comes last",
       {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}},
       10,
       3,
       {"13 10 87 10", "ci 87 13 3 270 0 1 0", "90 13 90 87", "ci 87 87 3 0 90 1 0", "87 90 13 90",
        "ci 13 87 3 90 180 1 0", "10 87 10 13", "ci 13 13 3 180 270 1 0"}},
      {"the first corner uses the middle segment up: the second stays a mitre",
       {{0, 0}, {100, 0}, {100, 4}, {0, 4}},
       0,
       3,
       {"0 0 97 0", "ci 97 3 3 270 0 1 0", "100 3 100 4", "100 4 0 4"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> records;
    for (const std::string& line : Build(PathOf(c.Path), Round(c.Interval, c.Radius), 1, 98)) {
      if (IsRecord(line) || line.rfind("ci ", 0) == 0) records.push_back(line);
    }
    EXPECT_EQ(TestWriter::Joined(records), TestWriter::Joined(c.Expected)) << c.Name;
  }
}

// Any turn: the arc touches both lines at the segments' cut ends, its
// centre is on the inner side, and it runs counter-clockwise between them.
TEST(RoundCorners, TangentToBothSegmentsAtAnyTurn) {
  for (const double turn : {-170.0, -135.0, -60.0, -10.0, 10.0, 45.0, 90.0, 120.0, 170.0}) {
    const double a = turn * std::acos(-1.0) / 180.0;
    const std::vector<XY> path = {
        {0, 0}, {1000, 0}, {1000 + 1000 * std::cos(a), 1000 * std::sin(a)}};
    const double radius = 4;
    const auto lines = Build(PathOf(path), Round(5, radius), 1, 98);
    const auto arcs = ArcsOf(lines);
    const auto records = RecordsOf(lines);
    ASSERT_EQ(arcs.size(), 1U) << "turn " << turn << ": " << TestWriter::Joined(lines);
    ASSERT_EQ(records.size(), 2U) << "turn " << turn;
    const ArcRecord& arc = arcs[0];
    const auto at = [&arc](double degrees) {
      const double r = degrees * std::acos(-1.0) / 180.0;
      return XY{arc.Cx + arc.R * std::cos(r), arc.Cy + arc.R * std::sin(r)};
    };
    const XY from = {records[0].X2, records[0].Y2};
    const XY to = {records[1].X1, records[1].Y1};
    const XY start = turn > 0 ? from : to;
    const XY end = turn > 0 ? to : from;
    const auto near = [](XY p, XY q) { return std::hypot(p.X - q.X, p.Y - q.Y) < 1e-9; };
    EXPECT_DOUBLE_EQ(arc.R, radius) << "turn " << turn;
    EXPECT_TRUE(near(at(arc.A1), start)) << "turn " << turn;
    EXPECT_TRUE(near(at(arc.A2), end)) << "turn " << turn;
    // Centre at the radius from the first line (y = 5), on the turn's side.
    EXPECT_NEAR(arc.Cy, turn > 0 ? 5 + radius : 5 - radius, 1e-9) << "turn " << turn;
    const double sweep = std::fmod(arc.A2 - arc.A1 + 360.0, 360.0);
    EXPECT_NEAR(sweep, std::fabs(turn), 1e-9) << "turn " << turn;
  }
}

TEST(RoundCorners, ATurnTooSharpForItsSegmentsStaysAMitre) {
  // Tangent length 4 tan(85 degrees) = 45.7 exceeds the first segment's 40.
  const double a = 170.0 * std::acos(-1.0) / 180.0;
  const std::vector<XY> path = {{0, 0}, {40, 0}, {40 + 100 * std::cos(a), 100 * std::sin(a)}};
  const auto lines = Build(PathOf(path), Round(0, 4), 1, 98);
  EXPECT_TRUE(ArcsOf(lines).empty()) << TestWriter::Joined(lines);
  EXPECT_EQ(RecordsOf(lines).size(), 2U);
}

} // namespace
