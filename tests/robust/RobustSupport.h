// A scratch folder per test, raw file bytes through the real file system, and
// the unattended run as the driver does it: reset, read JWC_TEMP.TXT, reset
// the output caches, layer group and layer, the builder, write the file back.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"
#include "multiline/MultiLine.h"
#include "settings/Presets.h"
#include "tests/support/TestFiles.h"

namespace Robust {

namespace fs = std::filesystem;

using TestFiles::ReadFileBytes;
using TestFiles::TempFolder;
using TestFiles::WriteFileBytes;

// A preset that exercises every branch of the builder: both sides, a
// chamfer, paper units (scaled by the host's layer group) and sizes that
// overflow once scaled.
inline Settings::TLineTable HostilePreset() {
  Settings::TLineTable preset;
  const struct {
    double Interval, Chamfer;
    bool Paper;
    int Color, LineType, Width;
  } rows[] = {
      {10, 3, false, 2, 1, -1},      {-10, 3, false, 3, 19, 0},     {0, 0, false, 10, 5, 30000},
      {0.5, 0.2, true, 265, 50, 1},  {1e300, 1e300, true, 1, 1, 2}, {-1e-9, 1e-9, false, 0, 0, -1},
      {1e15, 2e15, false, 9, 18, 3}, {5, 1e308, false, 4, 4, 4},
  };
  int r = 1;
  for (const auto& row : rows) {
    Settings::LineRow& out = preset.Row(r++);
    out.Enabled = true;
    out.Interval = row.Interval;
    out.Chamfer = row.Chamfer;
    out.PaperUnit = row.Paper;
    out.Color = row.Color;
    out.LineType = row.LineType;
    out.LineWidth = row.Width;
  }
  return preset;
}

// One unattended path run over the exchange file in folder, as the driver
// does it; returns what WriteExchangeFile reported.
inline bool RunUnattendedRun(const fs::path& folder, const Settings::TLineTable& preset,
                             int limit = 98) {
  const fs::path exchange = folder / "JWC_TEMP.TXT";
  ZizAvodi::ResetExchangeState();
  ZizAvodi::ReadExchangeFile(exchange);
  ZizAvodi::ResetOutputState();
  const ZizAvodi::ExchangeState& s = ZizAvodi::Exchange;
  ZizAvodi::EmitLayerGroup(s.InitialLayerGroup);
  ZizAvodi::EmitLayer(s.InitialLayer);
  const double scale = s.LayerGroupScales[static_cast<std::size_t>(s.InitialLayerGroup)];
  MultiLine::BuildMultiLines(s.PickedPoints, preset, scale, limit);
  return ZizAvodi::WriteExchangeFile(exchange);
}

// The same run; returns the bytes it left in the exchange file.
inline std::string RunUnattended(const fs::path& folder, const Settings::TLineTable& preset,
                                 int limit = 98) {
  EXPECT_TRUE(RunUnattendedRun(folder, preset, limit));
  return ReadFileBytes(folder / "JWC_TEMP.TXT");
}

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// -?D+(.D+)?(E-?D+)?
inline bool IsWrittenReal(std::string_view t) {
  std::size_t i = 0;
  if (i < t.size() && t[i] == '-') ++i;
  const std::size_t digits = i;
  while (i < t.size() && IsDigit(t[i])) ++i;
  if (i == digits) return false;
  if (i < t.size() && t[i] == '.') {
    const std::size_t fraction = ++i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    if (i == fraction) return false;
  }
  if (i < t.size() && t[i] == 'E') {
    if (++i < t.size() && t[i] == '-') ++i;
    const std::size_t exponent = i;
    while (i < t.size() && IsDigit(t[i])) ++i;
    if (i == exponent) return false;
  }
  return i == t.size();
}

inline bool IsCommandLine(std::string_view line) {
  if (line.size() < 3) return false;
  const std::string_view word = line.substr(0, 2);
  std::string_view value = line.substr(2);
  if (word == "lg" || word == "ly") {
    return value.size() == 1 && (IsDigit(value[0]) || (value[0] >= 'A' && value[0] <= 'F'));
  }
  if (word != "lc" && word != "lt" && word != "lw") return false;
  if (value[0] == '-') value.remove_prefix(1);
  if (value.empty()) return false;
  for (char c : value) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// What the host may be given: lines ended by CR LF, each a layer or pen
// command or a plain line of four finite numbers in the written real form.
struct OutputSummary {
  int Commands = 0;
  int LineRecords = 0;
};

inline ::testing::AssertionResult SaneOutput(const std::string& file, OutputSummary* summary) {
  OutputSummary counted;
  std::size_t start = 0;
  int number = 0;
  while (start < file.size()) {
    ++number;
    const std::size_t lf = file.find('\n', start);
    if (lf == std::string::npos || lf == start || file[lf - 1] != '\r') {
      return ::testing::AssertionFailure() << "line " << number << " is not ended by CR LF";
    }
    const std::string_view line(file.data() + start, lf - 1 - start);
    start = lf + 1;
    if (line.size() > 255) {
      return ::testing::AssertionFailure()
             << "line " << number << " has " << line.size() << " bytes";
    }
    if (IsCommandLine(line)) {
      ++counted.Commands;
      continue;
    }
    int fields = 0;
    std::size_t from = 0;
    bool finite = true;
    for (;;) {
      const std::size_t blank = line.find(' ', from);
      const std::string_view field = line.substr(from, blank - from);
      if (!IsWrittenReal(field)) {
        return ::testing::AssertionFailure()
               << "line " << number << " is neither a command nor four numbers: " << line;
      }
      // A written real too large to read back would reach the host as 0.
      if (MyFunc::TextToFloatSafe(field) == 0.0 &&
          field.find_first_of("123456789") != std::string_view::npos) {
        finite = false;
      }
      ++fields;
      if (blank == std::string_view::npos) break;
      from = blank + 1;
    }
    if (fields != 4 || !finite) {
      return ::testing::AssertionFailure() << "line " << number << ": " << line;
    }
    ++counted.LineRecords;
  }
  if (counted.Commands < 2) {
    return ::testing::AssertionFailure() << "no layer group and layer commands";
  }
  if (summary != nullptr) *summary = counted;
  return ::testing::AssertionSuccess();
}

// The output split into its command lines and its line records, so that
// expected drawings can be compared with a tolerance instead of digit by digit.
struct ParsedOutput {
  std::vector<std::string> Commands;
  std::vector<std::array<double, 4>> Records;
};

inline ParsedOutput ParseOutput(const std::string& file) {
  ParsedOutput out;
  std::size_t start = 0;
  while (start < file.size()) {
    std::size_t lf = file.find('\n', start);
    if (lf == std::string::npos) lf = file.size();
    std::string_view line(file.data() + start, lf - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = lf + 1;
    if (IsCommandLine(line)) {
      out.Commands.emplace_back(line);
      continue;
    }
    std::array<double, 4> record{};
    std::size_t from = 0;
    for (double& v : record) {
      const std::size_t blank = line.find(' ', from);
      v = MyFunc::TextToFloatSafe(line.substr(from, blank - from));
      from = blank == std::string_view::npos ? line.size() : blank + 1;
    }
    out.Records.push_back(record);
  }
  return out;
}

inline ::testing::AssertionResult DrawsRecords(const std::string& file,
                                               const std::vector<std::string>& commands,
                                               const std::vector<std::array<double, 4>>& records) {
  const ParsedOutput got = ParseOutput(file);
  if (got.Commands != commands) {
    return ::testing::AssertionFailure() << "commands differ in:\n" << file;
  }
  if (got.Records.size() != records.size()) {
    return ::testing::AssertionFailure()
           << got.Records.size() << " records, expected " << records.size() << " in:\n"
           << file;
  }
  for (std::size_t i = 0; i < records.size(); ++i) {
    for (std::size_t j = 0; j < 4; ++j) {
      if (std::fabs(got.Records[i][j] - records[i][j]) > 1e-9) {
        return ::testing::AssertionFailure() << "record " << i + 1 << " differs in:\n" << file;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

} // namespace Robust
