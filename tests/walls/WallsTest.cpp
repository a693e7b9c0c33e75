// Walls along selected lines: how lines join into chains, and what is left
// of each wall's lines where walls meet.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"
#include "tests/output/WriterTestState.h"
#include "walls/Chains.h"
#include "walls/Walls.h"

namespace {

using MyFunc::Segment;

// Rounded to a micrometre of a micrometre: cut points are computed, and a
// last-bit residue is not what these cases are about.
std::string Num(double v) {
  const double r = std::round(v * 1e6) / 1e6;
  return MyFunc::FormatReal(r == 0.0 ? 0.0 : r);
}

std::string ChainText(const Walls::Chain& chain) {
  std::string out;
  for (const MyFunc::Point& p : chain.Points) out += Num(p.X) + "," + Num(p.Y) + " ";
  if (chain.Closed) return out + "closed";
  return out + (chain.FreeStart ? "S" : "-") + (chain.FreeEnd ? "E" : "-");
}

struct ChainCase {
  const char* Name;
  std::vector<Segment> Segments;
  std::vector<std::string> Chains;
};

const std::vector<ChainCase> kChainCases = {
    {"L from two lines", {{{0, 0}, {100, 0}}, {{100, 0}, {100, 100}}}, {"0,0 100,0 100,100 SE"}},
    {"room in mixed directions is counter-clockwise from its first point",
     {{{0, 0}, {0, 100}}, {{100, 100}, {0, 100}}, {{100, 100}, {100, 0}}, {{0, 0}, {100, 0}}},
     {"0,0 100,0 100,100 0,100 0,0 closed"}},
    {"two rooms sharing a wall drawn twice: an outer ring and the shared wall",
     {{{0, 0}, {100, 0}},
      {{100, 0}, {100, 100}},
      {{100, 100}, {0, 100}},
      {{0, 100}, {0, 0}},
      {{100, 0}, {200, 0}},
      {{200, 0}, {200, 100}},
      {{200, 100}, {100, 100}},
      {{100, 100}, {100, 0}}},
     {"0,0 100,0 200,0 200,100 100,100 0,100 0,0 closed", "100,0 100,100 --"}},
    {"T with the through line split runs straight on",
     {{{0, 0}, {100, 0}}, {{100, 0}, {100, -100}}, {{100, 0}, {200, 0}}},
     {"0,0 100,0 200,0 SE", "100,0 100,-100 -E"}},
    {"T with the through line whole: the joining end is free",
     {{{0, 0}, {200, 0}}, {{100, 0}, {100, -100}}},
     {"0,0 200,0 SE", "100,0 100,-100 SE"}},
    {"X of four lines at one node pairs opposite arms",
     {{{-100, 0}, {0, 0}}, {{0, -100}, {0, 0}}, {{0, 0}, {100, 0}}, {{0, 0}, {0, 100}}},
     {"-100,0 0,0 100,0 SE", "0,-100 0,0 0,100 SE"}},
    {"near miss within the join distance joins",
     {{{0, 0}, {100, 0}}, {{100.0000009, 0}, {100, 100}}},
     {"0,0 100,0 100,100 SE"}},
    {"near miss beyond the join distance does not",
     {{{0, 0}, {100, 0}}, {{100.000002, 0}, {100, 100}}},
     {"0,0 100,0 SE", "100.000002,0 100,100 SE"}},
    {"a line of no length and a reversed duplicate are dropped",
     {{{5, 5}, {5, 5}}, {{0, 0}, {100, 0}}, {{100, 0}, {0, 0}}},
     {"0,0 100,0 SE"}},
    {"room with a wall leaving a corner closes at that corner",
     {{{0, 0}, {100, 0}},
      {{100, 0}, {100, 100}},
      {{100, 100}, {0, 100}},
      {{0, 100}, {0, 0}},
      {{100, 0}, {200, -100}}},
     {"100,0 100,100 0,100 0,0 100,0 closed", "100,0 200,-100 -E"}},
    {"nothing selected", {}, {}},
};

TEST(WallChains, JoinLinesIntoChains) {
  for (const ChainCase& c : kChainCases) {
    std::vector<std::string> got;
    for (const Walls::Chain& chain : Walls::ChainSegments(c.Segments)) {
      got.push_back(ChainText(chain));
    }
    EXPECT_EQ(got, c.Chains) << c.Name;
  }
}

// The store's line list: plain lines and polylines' lines in store order,
// never a message's line, a circle or an arc.
TEST(WallChains, SegmentsComeFromTheStoresLines) {
  ZizAvodi::ResetExchangeState();
  ZizAvodi::ReadExchangeBytes(
      "hq\r\n 0 0 10 0\r\nci 0 0 5\r\nci 0 0 5 0 90 1 0\r\n"
      "pl\r\n 10 0 10 10\r\n 10 10 0 10\r\n#\r\n"
      "msg\r\n 50 50 60 60\r\n#\r\n 0 10 0 0\r\n");
  std::string got;
  for (const Segment& s : Walls::SelectedSegments(ZizAvodi::Exchange)) {
    got += Num(s.A.X) + "," + Num(s.A.Y) + "-" + Num(s.B.X) + "," + Num(s.B.Y) + " ";
  }
  EXPECT_EQ(got, "0,0-10,0 10,0-10,10 10,10-0,10 0,10-0,0 ");
  ZizAvodi::ResetExchangeState();
}

// What a run draws, one text per line or arc: "row: x1 y1 x2 y2" or
// "row: ci cx cy r a1 a2".
class Recorder final : public MultiLine::ILineSink {
 public:
  void BeginRow(int row, const Settings::LineRow&) override { row_ = row; }
  // As the writer, no line of no length (a chamfer of size 0).
  void Line(const MyFunc::Point& a, const MyFunc::Point& b) override {
    if (!ZizAvodi::LineIsDrawn(a.X, a.Y, b.X, b.Y)) return;
    Drawn.push_back(std::to_string(row_) + ": " + Num(a.X) + " " + Num(a.Y) + " " + Num(b.X) + " " +
                    Num(b.Y));
  }
  void Arc(const MultiLine::CornerArc& arc) override {
    Drawn.push_back(std::to_string(row_) + ": ci " + Num(arc.Centre.X) + " " + Num(arc.Centre.Y) +
                    " " + Num(arc.Radius) + " " + Num(arc.StartDegrees) + " " +
                    Num(arc.EndDegrees));
  }
  std::vector<std::string> Drawn;

 private:
  int row_ = 0;
};

// Faces at +10 and -10, chamfer c, caps and round corners as asked.
Settings::TLineTable Wall(double chamfer = 0, bool caps = false, bool round = false) {
  Settings::TLineTable preset;
  for (int r = 1; r <= 2; ++r) {
    preset.Row(r).Enabled = true;
    preset.Row(r).Interval = r == 1 ? 10 : -10;
    preset.Row(r).Chamfer = chamfer;
  }
  preset.Options.StartCap = preset.Options.EndCap = caps;
  preset.Options.RoundCorners = round;
  return preset;
}

struct JunctionCase {
  const char* Name;
  std::vector<Segment> Segments;
  Settings::TLineTable Preset;
  std::vector<std::string> Drawn;
};

const Segment kThrough{{0, 0}, {200, 0}};
const Segment kJoining{{100, 0}, {100, -100}};
const Segment kCrossing{{104, -60}, {104, 0}};
const std::vector<Segment> kL{{{0, 0}, {100, 0}}, {{100, 0}, {100, 100}}};

std::vector<JunctionCase> JunctionCases() {
  Settings::TLineTable single;
  single.Row(1).Enabled = true;
  return {
      {"T, through line whole: the near face opens, the joining faces stop at it",
       {kThrough, kJoining},
       Wall(),
       {"1: 0 10 200 10", "2: 0 -10 90 -10", "2: 110 -10 200 -10", "1: 110 -10 110 -100",
        "2: 90 -10 90 -100"}},
      {"T, through line split at the joint",
       {{{0, 0}, {100, 0}}, {{100, 0}, {200, 0}}, kJoining},
       Wall(),
       {"1: 0 10 100 10", "1: 100 10 200 10", "2: 0 -10 90 -10", "2: 110 -10 200 -10",
        "1: 110 -10 110 -100", "2: 90 -10 90 -100"}},
      {"skew T",
       {kThrough, {{100, 0}, {160, -80}}},
       Wall(),
       {"1: 0 10 200 10", "2: 0 -10 95 -10", "2: 120 -10 200 -10", "1: 120 -10 168 -74",
        "2: 95 -10 152 -86"}},
      {"X without a shared node opens into a cross",
       {{{-100, 0}, {100, 0}}, {{0, -100}, {0, 100}}},
       Wall(),
       {"1: -100 10 -10 10", "1: 10 10 100 10", "2: -100 -10 -10 -10", "2: 10 -10 100 -10",
        "1: -10 -100 -10 -10", "1: -10 10 -10 100", "2: 10 -100 10 -10", "2: 10 10 10 100"}},
      {"X of four lines at one node",
       {{{-100, 0}, {0, 0}}, {{0, -100}, {0, 0}}, {{0, 0}, {100, 0}}, {{0, 0}, {0, 100}}},
       Wall(),
       {"1: -100 10 -10 10", "1: 10 10 100 10", "2: -100 -10 -10 -10", "2: 10 -10 100 -10",
        "1: -10 -100 -10 -10", "1: -10 10 -10 100", "2: 10 -100 10 -10", "2: 10 10 10 100"}},
      {"two rooms sharing a wall: the ring's inner faces open for it",
       {{{0, 0}, {100, 0}},
        {{100, 0}, {100, 100}},
        {{100, 100}, {0, 100}},
        {{0, 100}, {0, 0}},
        {{100, 0}, {200, 0}},
        {{200, 0}, {200, 100}},
        {{200, 100}, {100, 100}}},
       Wall(),
       {"1: 10 10 90 10", "1: 110 10 190 10", "1: 190 10 190 90", "1: 190 90 110 90",
        "1: 90 90 10 90", "1: 10 90 10 10", "2: -10 -10 100 -10", "2: 100 -10 210 -10",
        "2: 210 -10 210 110", "2: 210 110 100 110", "2: 100 110 -10 110", "2: -10 110 -10 -10",
        "1: 90 10 90 90", "2: 110 10 110 90"}},
      {"a cap inside another wall disappears, free ends keep theirs",
       {kThrough, kJoining},
       Wall(0, true),
       {"1: 0 10 200 10", "2: 0 -10 90 -10", "2: 110 -10 200 -10", "0: 0 -10 0 10",
        "0: 200 -10 200 10", "1: 110 -10 110 -100", "2: 90 -10 90 -100", "0: 90 -100 110 -100"}},
      {"a chamfer line is cut where it crosses another wall",
       {kL[0], kL[1], kCrossing},
       Wall(20),
       {"1: 0 10 70 10", "1: 70 10 90 30", "1: 90 30 90 100", "2: 0 -10 90 -10", "2: 90 -10 94 -6",
        "2: 100 0 110 10", "2: 110 10 110 100", "1: 94 -60 94 -10", "2: 114 -60 114 0"}},
      {"a round corner is cut into arcs",
       {kL[0], kL[1], kCrossing},
       Wall(20, false, true),
       {"1: 0 10 70 10", "1: ci 70 30 20 270 0", "1: 90 30 90 100", "2: 0 -10 90 -10",
        "2: ci 90 10 20 270 281.536959", "2: ci 90 10 20 330 0", "2: 110 10 110 100",
        "1: 94 -60 94 -10", "2: 114 -60 114 0"}},
      {"one row has no band and clips nothing",
       {{{-100, 0}, {100, 0}}, {{0, -100}, {0, 100}}},
       single,
       {"1: -100 0 100 0", "1: 0 -100 0 100"}},
      {"overlapping parallel walls keep their outline",
       {{{0, 0}, {100, 0}}, {{50, 5}, {150, 5}}},
       Wall(),
       {"1: 0 10 50 10", "2: 0 -10 100 -10", "1: 50 15 150 15", "2: 100 -5 150 -5"}},
  };
}

TEST(WallJunctions, EachWallStopsAtTheOthers) {
  for (const JunctionCase& c : JunctionCases()) {
    Recorder recorder;
    EXPECT_TRUE(Walls::DrawWalls(c.Segments, c.Preset, 1.0, recorder)) << c.Name;
    EXPECT_EQ(recorder.Drawn, c.Drawn) << c.Name;
  }
}

// Three walls at 120 degrees meet face to face: every face ends where a
// neighbour's face ends.
TEST(WallJunctions, ThreeWallsMeetFaceToFace) {
  const double s = std::sqrt(3.0) * 50;
  Recorder recorder;
  Walls::DrawWalls({{{0, 0}, {0, 100}}, {{0, 0}, {-s, -50}}, {{0, 0}, {s, -50}}}, Wall(), 1.0,
                   recorder);
  ASSERT_EQ(recorder.Drawn.size(), 6u) << TestWriter::Joined(recorder.Drawn);
  std::vector<std::string> starts;
  for (const std::string& line : recorder.Drawn) {
    starts.push_back(line.substr(3, line.find(' ', line.find(' ', 3) + 1) - 3));
  }
  for (const std::string& start : starts) {
    EXPECT_EQ(std::count(starts.begin(), starts.end(), start), 2)
        << start << " in " << TestWriter::Joined(recorder.Drawn);
  }
}

} // namespace
