// Running the builder the way an unattended run does, and reading its line
// records back as numbers.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"
#include "multiline/MultiLine.h"
#include "settings/Presets.h"
#include "tests/output/WriterTestState.h"

namespace TestMultiLine {

using Points = std::array<ZizAvodi::TPickedPoint, ZizAvodi::PickedPointSlots>;

struct XY {
  double X, Y;
};

// Entries 1, 2, ... set to the given points.
inline Points PathOf(const std::vector<XY>& path) {
  Points points{};
  for (std::size_t i = 0; i < path.size(); ++i) {
    ZizAvodi::TPickedPoint& p = points.at(i + 1);
    p.IsSet = true;
    p.X = path[i].X;
    p.Y = path[i].Y;
  }
  return points;
}

inline Settings::LineRow Row(double interval, double chamfer) {
  Settings::LineRow row;
  row.Enabled = true;
  row.Interval = interval;
  row.Chamfer = chamfer;
  return row;
}

inline Settings::TLineTable PresetWith(const Settings::LineRow& row1) {
  Settings::TLineTable preset;
  preset.Row(1) = row1;
  return preset;
}

// A fresh run: reset, build, and the lines the builder emitted.
inline std::vector<std::string> Build(const Points& points, const Settings::TLineTable& preset,
                                      double scale, int limit, bool lineWidthSeen = false) {
  TestWriter::StartRun(lineWidthSeen);
  MultiLine::BuildMultiLines(points, preset, scale, limit);
  return TestWriter::BufferedLines();
}

struct Record {
  double X1, Y1, X2, Y2;
};

// A line record starts with a number; attribute commands with their word.
inline bool IsRecord(const std::string& line) {
  return !line.empty() && (line[0] == '-' || line[0] == '.' || (line[0] >= '0' && line[0] <= '9'));
}

// The four numbers of a record; false when the line is not four numbers.
inline bool ParseRecord(const std::string& line, Record& record) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == ' ') {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  if (fields.size() != 4) return false;
  for (const std::string& f : fields) {
    // A reading of 0 must come from a written zero, not from a malformed number.
    if (MyFunc::TextToFloatSafe(f) == 0.0 && f != "0") return false;
  }
  record = {MyFunc::TextToFloatSafe(fields[0]), MyFunc::TextToFloatSafe(fields[1]),
            MyFunc::TextToFloatSafe(fields[2]), MyFunc::TextToFloatSafe(fields[3])};
  return true;
}

inline std::vector<Record> RecordsOf(const std::vector<std::string>& lines) {
  std::vector<Record> records;
  for (const std::string& line : lines) {
    if (!IsRecord(line)) continue;
    Record r{};
    EXPECT_TRUE(ParseRecord(line, r)) << "malformed record [" << line << "]";
    records.push_back(r);
  }
  return records;
}

inline std::string Describe(const std::vector<Record>& records) {
  std::string out;
  for (const Record& r : records) {
    if (!out.empty()) out += " / ";
    out += MyFunc::FormatReal(r.X1) + " " + MyFunc::FormatReal(r.Y1) + " " +
           MyFunc::FormatReal(r.X2) + " " + MyFunc::FormatReal(r.Y2);
  }
  return out;
}

inline void ExpectRecords(const std::vector<Record>& actual, const std::vector<Record>& expected,
                          const std::string& context, double tolerance = 1e-9) {
  ASSERT_EQ(actual.size(), expected.size())
      << context << "\n  actual:   " << Describe(actual) << "\n  expected: " << Describe(expected);
  for (std::size_t i = 0; i < actual.size(); ++i) {
    const Record& a = actual[i];
    const Record& e = expected[i];
    const bool same = std::fabs(a.X1 - e.X1) <= tolerance && std::fabs(a.Y1 - e.Y1) <= tolerance &&
                      std::fabs(a.X2 - e.X2) <= tolerance && std::fabs(a.Y2 - e.Y2) <= tolerance;
    EXPECT_TRUE(same) << context << ", record " << i + 1 << "\n  actual:   " << Describe({a})
                      << "\n  expected: " << Describe({e});
  }
}

} // namespace TestMultiLine
