// Properties of the builder's output on many generated paths: well-formed
// finite records in bounded number on any input, and on regular paths the
// geometry itself (each line at its interval from the path, chamfer ends at
// the chamfer size from the mitre corner, one continuous line per row).
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "MultiLineTestSupport.h"

using namespace TestMultiLine;
using Settings::TLineTable;

namespace {

constexpr double Pi = std::numbers::pi;

std::string CaseName(int i) { return "case " + MyFunc::FormatInt(i); }

// Paths that stress the builder: repeated points, straight runs, reversals,
// closed paths, tiny and huge coordinates.
std::vector<XY> AwkwardPath(std::mt19937& rng) {
  std::uniform_int_distribution<int> count(0, 99);
  std::uniform_int_distribution<int> kind(0, 7);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  const double scales[] = {1e-9, 1e-3, 1.0, 100.0, 1e6, 1e12};
  const double scale = scales[std::uniform_int_distribution<int>(0, 5)(rng)];
  const int n = count(rng);
  std::vector<XY> path;
  for (int i = 0; i < n; ++i) {
    XY p{unit(rng) * scale, unit(rng) * scale};
    if (!path.empty()) {
      switch (kind(rng)) {
        case 0:
          p = path.back();
          break; // repeated point
        case 1:  // on the line of the last segment
          if (path.size() >= 2) {
            const XY& a = path[path.size() - 2];
            const XY& b = path.back();
            p = {b.X + (b.X - a.X) * 0.5, b.Y + (b.Y - a.Y) * 0.5};
          }
          break;
        case 2: // straight back
          if (path.size() >= 2) p = path[path.size() - 2];
          break;
        case 3:
          p = {path.back().X + unit(rng) * 1e-9, path.back().Y};
          break; // almost repeated
        default:
          break;
      }
    }
    path.push_back(p);
  }
  if (n >= 3 && kind(rng) < 3) path.back() = path.front(); // closed
  return path;
}

TEST(BuildMultiLinesProperties, AnyPathGivesFiniteRecordsInBoundedNumber) {
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> limitOf(-1, 120);
  for (int i = 0; i < 300; ++i) {
    const std::vector<XY> path = AwkwardPath(rng);
    const double size = std::pow(10.0, 4.0 * unit(rng));
    TLineTable preset;
    int enabled = 0;
    for (int r = 1; r <= Settings::RowCount; ++r) {
      if (unit(rng) < 0.0) continue;
      preset.Row(r) = Row(unit(rng) * size, std::fabs(unit(rng)) * size);
      preset.Row(r).PaperUnit = unit(rng) < 0.0;
      preset.Row(r).Color = static_cast<int>(std::fabs(unit(rng)) * 12);
      ++enabled;
    }
    const int limit = limitOf(rng);
    const auto lines = Build(PathOf(path), preset, 100.0, limit, true);

    int points = 0;
    while (points < static_cast<int>(path.size()) && points < limit + 1 && points < 99) ++points;
    const int segments = points > 1 ? points - 1 : 0;
    int records = 0;
    for (const std::string& line : lines) {
      ASSERT_LE(line.size(), 255u) << CaseName(i);
      EXPECT_EQ(line.find_first_of("niNI"), std::string::npos)
          << CaseName(i) << ": no inf or nan in [" << line << "]";
      if (IsRecord(line)) {
        Record r{};
        EXPECT_TRUE(ParseRecord(line, r)) << CaseName(i) << " [" << line << "]";
        EXPECT_TRUE(std::isfinite(r.X1) && std::isfinite(r.Y1) && std::isfinite(r.X2) &&
                    std::isfinite(r.Y2))
            << CaseName(i) << " [" << line << "]";
        ++records;
      } else {
        const std::string word = line.substr(0, 2);
        EXPECT_TRUE(word == "lc" || word == "lt" || word == "lw")
            << CaseName(i) << ": unexpected line [" << line << "]";
      }
    }
    EXPECT_LE(records, 2 * segments * enabled)
        << CaseName(i) << ": " << path.size() << " points, limit " << limit;
    EXPECT_LE(static_cast<int>(lines.size()) - records, 3 * enabled) << CaseName(i);
  }
}

// The crossing of the lines through a and b, computed here on its own.
XY Crossing(XY a1, XY a2, XY b1, XY b2) {
  const double dax = a2.X - a1.X, day = a2.Y - a1.Y;
  const double dbx = b2.X - b1.X, dby = b2.Y - b1.Y;
  const double t = ((b1.X - a1.X) * dby - (b1.Y - a1.Y) * dbx) / (dax * dby - day * dbx);
  return {a1.X + t * dax, a1.Y + t * day};
}

double Distance(XY a, XY b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

// Signed distance of p from the line through a and b: positive on the left.
double SideDistance(XY a, XY b, XY p) {
  return ((b.X - a.X) * (p.Y - a.Y) - (b.Y - a.Y) * (p.X - a.X)) / Distance(a, b);
}

// The path shifted by d, segment by segment (start and end of each).
std::vector<std::pair<XY, XY>> ShiftedSegments(const std::vector<XY>& path, double d) {
  std::vector<std::pair<XY, XY>> shifted;
  for (std::size_t k = 0; k + 1 < path.size(); ++k) {
    const double len = Distance(path[k], path[k + 1]);
    const double nx = -(path[k + 1].Y - path[k].Y) / len * d;
    const double ny = (path[k + 1].X - path[k].X) / len * d;
    shifted.push_back({{path[k].X + nx, path[k].Y + ny}, {path[k + 1].X + nx, path[k + 1].Y + ny}});
  }
  return shifted;
}

// Open paths that turn by 45 to 135 degrees at every corner, with segments
// long enough that every corner is chamfered.
std::vector<XY> RegularPath(std::mt19937& rng, int points) {
  std::uniform_real_distribution<double> length(100.0, 200.0);
  std::uniform_real_distribution<double> turn(Pi / 4, 3 * Pi / 4);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  double heading = unit(rng) * Pi;
  std::vector<XY> path = {{unit(rng) * 1000, unit(rng) * 1000}};
  for (int i = 1; i < points; ++i) {
    const double l = length(rng);
    path.push_back({path.back().X + l * std::cos(heading), path.back().Y + l * std::sin(heading)});
    heading += (unit(rng) < 0 ? -1.0 : 1.0) * turn(rng);
  }
  return path;
}

TEST(BuildMultiLinesProperties, RegularOpenPathsAreShiftedMitredAndChamfered) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> interval(-10.0, 10.0);
  std::uniform_real_distribution<double> chamfer(0.5, 5.0);
  std::uniform_int_distribution<int> count(2, 30);
  for (int i = 0; i < 200; ++i) {
    const std::vector<XY> path = RegularPath(rng, count(rng));
    const double d = interval(rng);
    const double c = chamfer(rng);
    const std::vector<Record> records =
        RecordsOf(Build(PathOf(path), PresetWith(Row(d, c)), 1, 98));
    const auto shifted = ShiftedSegments(path, d);
    const std::size_t s = shifted.size();
    ASSERT_EQ(records.size(), 2 * s - 1) << CaseName(i) << ": every corner chamfered";

    for (std::size_t k = 0; k < s; ++k) {
      const Record& seg = records[2 * k];
      const std::string where =
          CaseName(i) + ", segment " + MyFunc::FormatInt(static_cast<std::int64_t>(k));
      EXPECT_NEAR(SideDistance(path[k], path[k + 1], {seg.X1, seg.Y1}), d, 1e-9) << where;
      EXPECT_NEAR(SideDistance(path[k], path[k + 1], {seg.X2, seg.Y2}), d, 1e-9) << where;
      if (k == 0) {
        EXPECT_NEAR(Distance({seg.X1, seg.Y1}, shifted[0].first), 0, 1e-9) << where;
      }
      if (k + 1 == s) {
        EXPECT_NEAR(Distance({seg.X2, seg.Y2}, shifted[k].second), 0, 1e-9) << where;
        continue;
      }
      const Record& cut = records[2 * k + 1];
      const Record& next = records[2 * k + 2];
      const XY corner = Crossing(shifted[k].first, shifted[k].second, shifted[k + 1].first,
                                 shifted[k + 1].second);
      EXPECT_NEAR(Distance({seg.X2, seg.Y2}, {cut.X1, cut.Y1}), 0, 1e-9) << where;
      EXPECT_NEAR(Distance({cut.X2, cut.Y2}, {next.X1, next.Y1}), 0, 1e-9) << where;
      EXPECT_NEAR(Distance(corner, {cut.X1, cut.Y1}), c, 1e-9) << where << ": chamfer start";
      EXPECT_NEAR(Distance(corner, {cut.X2, cut.Y2}), c, 1e-9) << where << ": chamfer end";
      // The chamfer starts before the corner, along the segment's direction.
      const double along = (corner.X - cut.X1) * (path[k + 1].X - path[k].X) +
                           (corner.Y - cut.Y1) * (path[k + 1].Y - path[k].Y);
      EXPECT_GT(along, 0) << where;
    }
  }
}

TEST(BuildMultiLinesProperties, RegularClosedPathsCloseOnThemselves) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> sides(3, 40);
  for (int i = 0; i < 100; ++i) {
    // A regular polygon, counter-clockwise, with a random size and rotation.
    const int n = sides(rng);
    const double radius = 1000.0 * (1.5 + unit(rng));
    const double start = unit(rng) * Pi;
    std::vector<XY> path;
    for (int k = 0; k < n; ++k) {
      const double a = start + 2 * Pi * k / n;
      path.push_back({radius * std::cos(a), radius * std::sin(a)});
    }
    path.push_back(path.front());
    const double side = Distance(path[0], path[1]);
    const double d = 0.1 * side * unit(rng);
    const double c = 0.1 * side * (0.1 + std::fabs(unit(rng)));
    const std::vector<Record> records =
        RecordsOf(Build(PathOf(path), PresetWith(Row(d, c)), 1, 98));
    ASSERT_EQ(records.size(), 2 * static_cast<std::size_t>(n)) << CaseName(i);
    for (std::size_t k = 0; k < records.size(); ++k) {
      const Record& a = records[k];
      const Record& b = records[(k + 1) % records.size()];
      EXPECT_NEAR(Distance({a.X2, a.Y2}, {b.X1, b.Y1}), 0, 1e-9)
          << CaseName(i) << ", record " << k << " to the next";
    }
    for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) {
      const Record& seg = records[2 * k];
      EXPECT_NEAR(SideDistance(path[k], path[k + 1], {seg.X1, seg.Y1}), d, 1e-9) << CaseName(i);
      EXPECT_NEAR(SideDistance(path[k], path[k + 1], {seg.X2, seg.Y2}), d, 1e-9) << CaseName(i);
    }
  }
}

} // namespace
