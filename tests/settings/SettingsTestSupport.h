// The layout of the settings file as the tests see it, a filled preset table
// and a field-by-field comparison of two tables.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/MyFunc.h"
#include "settings/Presets.h"

namespace TestSettings {

// Line numbers in the file, counted from 1.
constexpr int CommentLine(int preset) { return 4 + 71 * (preset - 1); }
enum RowField { Enabled, Interval, Chamfer, PaperUnit, Color, LineType, LineWidth };
constexpr int RowLine(int preset, int row, RowField field) {
  return 5 + 71 * (preset - 1) + 7 * (row - 1) + field;
}

// The lines of a file written from the defaults.
inline std::vector<std::string> DefaultFileLines() {
  std::vector<std::string> lines = {"100", "100", "1"};
  for (int p = 1; p <= 20; ++p) {
    lines.emplace_back();
    for (int r = 1; r <= 10; ++r) {
      for (const char* value : {"0", "0", "0", "0", "0", "0", "-1"}) lines.emplace_back(value);
    }
  }
  return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines, std::string_view end) {
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += end;
  }
  return out;
}

// Splits at CR LF; a byte after the last CR LF forms a last line of its own.
inline std::vector<std::string> SplitCrLf(std::string_view bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

// Every field different from its default and from its neighbours, with
// reals that the file's fifteen digits hold exactly.
inline Settings::PresetTable FilledTable() {
  Settings::PresetTable t;
  t.WindowLeft = -32;
  t.WindowTop = 1200;
  t.CurrentPreset = 17;
  for (int p = 1; p <= 20; ++p) {
    Settings::TLineTable& preset = t.Preset(p);
    preset.Comment = "Preset " + MyFunc::FormatInt(p);
    for (int r = 1; r <= 10; ++r) {
      Settings::LineRow& row = preset.Row(r);
      const double sign = r % 2 == 0 ? -1.0 : 1.0;
      row.Enabled = (p + r) % 3 != 0;
      row.Interval = sign * (p * 12.5 + r * 0.75);
      row.Chamfer = r * 0.5 + p * 0.125;
      row.PaperUnit = r % 2 == 0;
      row.Color = p * 13 + r;
      row.LineType = p + r;
      row.LineWidth = (p * 1000 + r * 7) % 30002 - 1;
    }
  }
  return t;
}

inline void ExpectSameTable(const Settings::PresetTable& actual,
                            const Settings::PresetTable& expected, const std::string& context) {
  EXPECT_EQ(actual.WindowLeft, expected.WindowLeft) << context;
  EXPECT_EQ(actual.WindowTop, expected.WindowTop) << context;
  EXPECT_EQ(actual.CurrentPreset, expected.CurrentPreset) << context;
  for (int p = 1; p <= 20; ++p) {
    const Settings::TLineTable& a = actual.Preset(p);
    const Settings::TLineTable& e = expected.Preset(p);
    EXPECT_EQ(a.Comment, e.Comment) << context << ", comment of preset " << p;
    for (int r = 1; r <= 10; ++r) {
      const Settings::LineRow& ar = a.Row(r);
      const Settings::LineRow& er = e.Row(r);
      const std::string where =
          context + ", preset " + MyFunc::FormatInt(p) + " row " + MyFunc::FormatInt(r);
      EXPECT_EQ(ar.Enabled, er.Enabled) << where;
      EXPECT_EQ(ar.Interval, er.Interval) << where;
      EXPECT_EQ(ar.Chamfer, er.Chamfer) << where;
      EXPECT_EQ(ar.PaperUnit, er.PaperUnit) << where;
      EXPECT_EQ(ar.Color, er.Color) << where;
      EXPECT_EQ(ar.LineType, er.LineType) << where;
      EXPECT_EQ(ar.LineWidth, er.LineWidth) << where;
    }
  }
}

// A table in which every row holds the given values (comments empty).
inline Settings::PresetTable UniformTable(std::int32_t left, std::int32_t top, std::int32_t current,
                                          const Settings::LineRow& row) {
  Settings::PresetTable t;
  t.WindowLeft = left;
  t.WindowTop = top;
  t.CurrentPreset = current;
  for (int p = 1; p <= 20; ++p) {
    for (int r = 1; r <= 10; ++r) t.Preset(p).Row(r) = row;
  }
  return t;
}

} // namespace TestSettings
