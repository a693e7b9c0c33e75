// The chamfered multi-line for known paths: which corners are chamfered, the
// line records of each row, the path the builder takes from the picked
// points, and the attribute commands that go with each row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MultiLineTestSupport.h"

using namespace TestMultiLine;
using Settings::LineRow;
using Settings::TLineTable;

namespace {

const std::vector<XY> LPath = {{0, 0}, {100, 0}, {100, 100}};
const std::vector<XY> Square = {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0}};
const std::vector<XY> ClockwiseSquare = {{0, 0}, {0, 100}, {100, 100}, {100, 0}, {0, 0}};

struct PathCase {
  const char* Name;
  std::vector<XY> Path;
  double Interval, Chamfer;
  std::vector<Record> Expected;
};

void ExpectPathCases(const std::vector<PathCase>& cases) {
  for (const PathCase& c : cases) {
    const auto lines = Build(PathOf(c.Path), PresetWith(Row(c.Interval, c.Chamfer)), 1.0, 98);
    ExpectRecords(RecordsOf(lines), c.Expected, c.Name);
  }
}

TEST(BuildMultiLines, OpenPaths) {
  ExpectPathCases({
      {"L path, interval 10, chamfer 3",
       LPath,
       10,
       3,
       {{0, 10, 87, 10}, {87, 10, 90, 13}, {90, 13, 90, 100}}},
      {"L path, interval -10 shifts to the right",
       LPath,
       -10,
       3,
       {{0, -10, 107, -10}, {107, -10, 110, -7}, {110, -7, 110, 100}}},
      {"L path, chamfer 0 gives the plain mitre",
       LPath,
       10,
       0,
       {{0, 10, 90, 10}, {90, 10, 90, 100}}},
      {"L path, chamfer equal to both lengths is too large",
       LPath,
       10,
       90,
       {{0, 10, 90, 10}, {90, 10, 90, 100}}},
      {"L path, chamfer within 1e-8 of both lengths is too large",
       LPath,
       0,
       99.999999995,
       {{0, 0, 100, 0}, {100, 0, 100, 100}}},
      {"chamfer below the first length only",
       {{0, 0}, {100, 0}, {100, 20}},
       0,
       50,
       {{0, 0, 100, 0}, {100, 0, 100, 20}}},
      {"chamfer below the second length only",
       {{0, 0}, {20, 0}, {20, 100}},
       0,
       50,
       {{0, 0, 20, 0}, {20, 0, 20, 100}}},
      {"L path, chamfer just below both lengths",
       LPath,
       10,
       89.99,
       {{0, 10, 0.01, 10}, {0.01, 10, 90, 99.99}, {90, 99.99, 90, 100}}},
      {"chamfer of the first corner leaves too little for the second",
       {{0, 0}, {50, 0}, {60, 10}, {120, 10}},
       5,
       10,
       {{0, 5, 37.928932188, 5},
        {37.928932188, 5, 55, 12.071067812},
        {55, 12.071067812, 57.928932188, 15},
        {57.928932188, 15, 120, 15}}},
      {"middle segment long enough for two chamfers",
       {{0, 0}, {100, 0}, {100, 30}, {200, 30}},
       0,
       10,
       {{0, 0, 90, 0},
        {90, 0, 100, 10},
        {100, 10, 100, 20},
        {100, 20, 110, 30},
        {110, 30, 200, 30}}},
      {"middle segment exactly two chamfers long keeps only the first",
       {{0, 0}, {100, 0}, {100, 30}, {200, 30}},
       0,
       15,
       {{0, 0, 85, 0}, {85, 0, 100, 15}, {100, 15, 100, 30}, {100, 30, 200, 30}}},
      {"three points on a line: no chamfer at the straight joint",
       {{0, 0}, {50, 0}, {100, 0}},
       10,
       3,
       {{0, 10, 50, 10}, {50, 10, 100, 10}}},
      {"a straight joint uses up no length of the next corner",
       {{0, 0}, {10, 0}, {20, 0}, {20, 10}},
       0,
       6,
       {{0, 0, 10, 0}, {10, 0, 14, 0}, {14, 0, 20, 6}, {20, 6, 20, 10}}},
      {"single segment", {{0, 0}, {30, 40}}, 5, 3, {{-4, 3, 26, 43}}},
  });
}

TEST(BuildMultiLines, ClosedPaths) {
  ExpectPathCases({
      {"square, chamfer 3: every corner including the closing one",
       Square,
       10,
       3,
       {{13, 10, 87, 10},
        {87, 10, 90, 13},
        {90, 13, 90, 87},
        {90, 87, 87, 90},
        {87, 90, 13, 90},
        {13, 90, 10, 87},
        {10, 87, 10, 13},
        {10, 13, 13, 10}}},
      {"square, chamfer 45: every second corner",
       Square,
       10,
       45,
       {{10, 10, 45, 10},
        {45, 10, 90, 55},
        {90, 55, 90, 90},
        {90, 90, 55, 90},
        {55, 90, 10, 45},
        {10, 45, 10, 10}}},
      {"square, chamfer 200: no corner, the closing one mitred",
       Square,
       10,
       200,
       {{10, 10, 90, 10}, {90, 10, 90, 90}, {90, 90, 10, 90}, {10, 90, 10, 10}}},
      {"square, chamfer 0",
       Square,
       10,
       0,
       {{10, 10, 90, 10}, {90, 10, 90, 90}, {90, 90, 10, 90}, {10, 90, 10, 10}}},
      {"square, interval -10 lies outside",
       Square,
       -10,
       3,
       {{-7, -10, 107, -10},
        {107, -10, 110, -7},
        {110, -7, 110, 107},
        {110, 107, 107, 110},
        {107, 110, -7, 110},
        {-7, 110, -10, 107},
        {-10, 107, -10, -7},
        {-10, -7, -7, -10}}},
      {"clockwise square, interval 10 lies outside",
       ClockwiseSquare,
       10,
       3,
       {{-10, -7, -10, 107},
        {-10, 107, -7, 110},
        {-7, 110, 107, 110},
        {107, 110, 110, 107},
        {110, 107, 110, -7},
        {110, -7, 107, -10},
        {107, -10, -7, -10},
        {-7, -10, -10, -7}}},
      {"closing point within 1e-10 of the first",
       {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0.00000000005, -0.00000000005}},
       10,
       0,
       {{10, 10, 90, 10}, {90, 10, 90, 90}, {90, 90, 10, 90}, {10, 90, 10, 10}}},
      {"last point 1e-9 from the first leaves the path open",
       {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0, 0.000000001}},
       10,
       0,
       {{0, 10, 90, 10}, {90, 10, 90, 90}, {90, 90, 10, 90}, {10, 90, 10, 0.000000001}}},
      {"last point 1e-9 to the side of the first leaves the path open",
       {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {0.000000001, 0}},
       10,
       0,
       {{0, 10, 90, 10}, {90, 10, 90, 90}, {90, 90, 10, 90}, {10, 90, 10.000000001, 0}}},
      {"two coinciding points: closed, and the segment has no length", {{5, 5}, {5, 5}}, 10, 3, {}},
  });
}

TEST(BuildMultiLines, PaperUnitsUseTheScale) {
  const Points points = PathOf(LPath);
  LineRow paper = Row(0.5, 0.2);
  paper.PaperUnit = true;
  ExpectRecords(RecordsOf(Build(points, PresetWith(paper), 100, 98)),
                {{0, 50, 30, 50}, {30, 50, 50, 70}, {50, 70, 50, 100}}, "paper units, scale 100");
  ExpectRecords(RecordsOf(Build(points, PresetWith(Row(0.5, 0.2)), 100, 98)),
                {{0, 0.5, 99.3, 0.5}, {99.3, 0.5, 99.5, 0.7}, {99.5, 0.7, 99.5, 100}},
                "real units ignore the scale");
  ExpectRecords(RecordsOf(Build(points, PresetWith(paper), 1, 98)),
                {{0, 0.5, 99.3, 0.5}, {99.3, 0.5, 99.5, 0.7}, {99.5, 0.7, 99.5, 100}},
                "paper units, scale 1");
}

TEST(BuildMultiLines, LimitOneUsesTheFirstSegmentOnly) {
  TLineTable preset;
  preset.Row(1) = Row(10, 3);
  preset.Row(2) = Row(-5, 3);
  ExpectRecords(RecordsOf(Build(PathOf({{0, 0}, {100, 0}, {100, 100}, {0, 100}}), preset, 1, 1)),
                {{0, 10, 100, 10}, {0, -5, 100, -5}}, "limit 1, four points, two rows");
  // A closed path is judged on the points used.
  ExpectRecords(RecordsOf(Build(PathOf(Square), PresetWith(Row(10, 3)), 1, 1)), {{0, 10, 100, 10}},
                "limit 1 on a square");
}

// The first segments of a zigzag along x from (0, 0) through (10, 10), (20, 0), ...;
// interval 0 and chamfer 0 reproduce the path.
std::vector<Record> Zigzag(int segments) {
  std::vector<Record> records;
  for (int k = 0; k < segments; ++k) {
    records.push_back({10.0 * k, (k % 2) * 10.0, 10.0 * (k + 1), ((k + 1) % 2) * 10.0});
  }
  return records;
}

TEST(BuildMultiLines, LimitNinetyEightUsesAtMostNinetyNinePoints) {
  Points points{};
  for (int i = 0; i < ZizAvodi::PickedPointSlots; ++i) {
    ZizAvodi::TPickedPoint& p = points[static_cast<std::size_t>(i)];
    p.IsSet = true;
    p.X = 10.0 * (i - 1);
    p.Y = i % 2 == 0 ? 10.0 : 0.0;
  }
  // Entry 0 is not part of the path, whatever it holds.
  points[0].X = -1000;
  points[0].Y = -1000;
  const TLineTable preset = PresetWith(Row(0, 0));
  ExpectRecords(RecordsOf(Build(points, preset, 1, 98)), Zigzag(98), "100 set entries, limit 98");
  ExpectRecords(RecordsOf(Build(points, preset, 1, 1000)), Zigzag(98), "limit beyond the slots");
  ExpectRecords(RecordsOf(Build(points, preset, 1, 97)), Zigzag(97), "limit 97");

  points[99].IsSet = false;
  ExpectRecords(RecordsOf(Build(points, preset, 1, 98)), Zigzag(97), "98 points");
  ExpectRecords(RecordsOf(Build(points, preset, 1, 0)), {}, "limit 0: one point");
  ExpectRecords(RecordsOf(Build(points, preset, 1, -1)), {}, "negative limit");
}

TEST(BuildMultiLines, PathEndsAtTheFirstUnsetEntry) {
  Points points = PathOf({{0, 0}, {100, 0}, {999, 999}, {100, 100}});
  points[3].IsSet = false;
  ExpectRecords(RecordsOf(Build(points, PresetWith(Row(10, 3)), 1, 98)), {{0, 10, 100, 10}},
                "entries after the gap are ignored");
}

TEST(BuildMultiLines, FewerThanTwoPointsEmitOnlyAttributes) {
  TLineTable preset;
  preset.Row(1) = Row(10, 3);
  preset.Row(1).Color = 3;
  preset.Row(1).LineWidth = 5;
  preset.Row(4) = Row(-10, 3);
  preset.Row(4).Color = 4;
  preset.Row(4).LineType = 19;
  preset.Row(4).LineWidth = 5;
  const struct {
    const char* Name;
    Points Path;
    bool WidthSeen;
    std::vector<std::string> Expected;
  } cases[] = {
      {"no point", Points{}, true, {"lc3", "lt1", "lw5", "lc4", "lt31"}},
      {"one point", PathOf({{5, 5}}), true, {"lc3", "lt1", "lw5", "lc4", "lt31"}},
      {"one point, no width record", PathOf({{5, 5}}), false, {"lc3", "lt1", "lc4", "lt31"}},
      {"two coinciding points", PathOf({{5, 5}, {5, 5}}), false, {"lc3", "lt1", "lc4", "lt31"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Build(c.Path, preset, 1, 98, c.WidthSeen), c.Expected) << c.Name;
  }
}

TEST(BuildMultiLines, PresetWithoutEnabledRowsEmitsNothing) {
  TLineTable preset;
  for (int r = 1; r <= Settings::RowCount; ++r) {
    preset.Row(r) = Row(r * 2.0, 1);
    preset.Row(r).Enabled = false;
    preset.Row(r).Color = r;
  }
  EXPECT_TRUE(Build(PathOf(LPath), preset, 1, 98, true).empty());
  EXPECT_TRUE(Build(PathOf({}), preset, 1, 98, true).empty());
}

// The attribute commands as written, each line record as "#".
std::vector<std::string> CommandsAndRecordPlaces(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) out.push_back(IsRecord(line) ? "#" : line);
  return out;
}

TEST(BuildMultiLines, RowsInOrderEachWithItsAttributesFirst) {
  TLineTable preset;
  preset.Row(2) = Row(10, 3);
  preset.Row(2).Color = 3;
  preset.Row(2).LineWidth = 5;
  preset.Row(5) = Row(-10, 3);
  preset.Row(5).Color = 10;
  preset.Row(5).LineWidth = 5;
  const std::vector<Record> records = {
      {0, 10, 87, 10},    {87, 10, 90, 13},    {90, 13, 90, 100},
      {0, -10, 107, -10}, {107, -10, 110, -7}, {110, -7, 110, 100},
  };
  auto lines = Build(PathOf(LPath), preset, 1, 98, true);
  EXPECT_EQ(CommandsAndRecordPlaces(lines),
            (std::vector<std::string>{"lc3", "lt1", "lw5", "#", "#", "#", "lc101", "#", "#", "#"}));
  ExpectRecords(RecordsOf(lines), records, "rows 2 and 5");

  // Attributes that change only where they differ from the row before.
  preset.Row(5).Color = 3;
  preset.Row(5).LineType = 2;
  preset.Row(5).LineWidth = -1;
  lines = Build(PathOf(LPath), preset, 1, 98, true);
  EXPECT_EQ(
      CommandsAndRecordPlaces(lines),
      (std::vector<std::string>{"lc3", "lt1", "lw5", "#", "#", "#", "lt2", "lw0", "#", "#", "#"}));
  ExpectRecords(RecordsOf(lines), records, "rows 2 and 5, same colour");
}

TEST(BuildMultiLines, LeavesThePresetAndPointsAsTheyWere) {
  TLineTable preset = PresetWith(Row(10, 3));
  preset.Row(1).PaperUnit = true;
  const TLineTable before = preset;
  const Points points = PathOf(Square);
  Build(points, preset, 50, 98);
  EXPECT_EQ(preset.Row(1).Interval, before.Row(1).Interval);
  EXPECT_EQ(preset.Row(1).Chamfer, before.Row(1).Chamfer);
  // A second run gives the same lines: nothing is kept between calls.
  EXPECT_EQ(Build(points, preset, 50, 98), Build(points, preset, 50, 98));
}

} // namespace
