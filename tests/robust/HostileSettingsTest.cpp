// Settings files no dialog writes: huge lines and binary content. Loading
// must keep its ranges, later lines must keep their places, and a run drawn
// with whatever was loaded must still leave a sane exchange file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "RobustSupport.h"

namespace {

using Robust::ReadFileBytes;
using Robust::SaneOutput;
using Robust::TempFolder;
using Robust::WriteFileBytes;

constexpr std::size_t MiB = 1024 * 1024;

// The 1423 lines of a file in which every row of every preset is enabled,
// one line replaced by replacement (line numbers from 1).
std::string SettingsWithLine(int lineNumber, const std::string& replacement) {
  std::vector<std::string> lines = {"120", "80", "2"};
  for (int p = 1; p <= Settings::PresetCount; ++p) {
    lines.emplace_back("preset");
    for (int r = 1; r <= Settings::RowCount; ++r) {
      for (const char* value : {"1", "5", "1", "0", "3", "2", "7"}) lines.emplace_back(value);
    }
  }
  lines[static_cast<std::size_t>(lineNumber - 1)] = replacement;
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

std::string Bytes(std::size_t size, std::uint64_t seed) {
  std::string out(size, '\0');
  std::uint64_t state = seed;
  for (char& b : out) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    b = static_cast<char>(state >> 56);
  }
  return out;
}

void ExpectLoadedRanges(const Settings::PresetTable& table) {
  EXPECT_GE(table.CurrentPreset, 1);
  EXPECT_LE(table.CurrentPreset, Settings::PresetCount);
  for (int p = 1; p <= Settings::PresetCount; ++p) {
    for (int r = 1; r <= Settings::RowCount; ++r) {
      const int width = table.Preset(p).Row(r).LineWidth;
      EXPECT_TRUE(width >= Settings::MinLineWidth && width <= Settings::MaxLineWidth)
          << "preset " << p << " row " << r << " width " << width;
    }
  }
}

TEST(HostileSettingsFile, LoadsWithinRangesAndDrawsSanely) {
  const struct {
    const char* Name;
    std::string Bytes;
  } cases[] = {
      {"random bytes", Bytes(MiB, 11)},
      {"NUL bytes", std::string(MiB, '\0')},
      {"one 10 MB line", std::string(10 * MiB, '1')},
      {"binary in every value",
       [] {
         std::string out;
         for (int i = 0; i < Settings::SettingsFileLines; ++i) {
           std::string value = Bytes(16, static_cast<std::uint64_t>(i));
           std::replace(value.begin(), value.end(), '\n', '\r');
           std::replace(value.begin(), value.end(), '\x1a', ' ');
           out += value + "\r\n";
         }
         return out;
       }()},
      {"huge numbers in every value",
       [] {
         std::string out = "1e400\r\n-1e400\r\n1e400\r\n";
         for (int i = 3; i < Settings::SettingsFileLines; ++i) {
           out += i % 2 ? "1.7976931348623157e308\r\n" : "99999999999\r\n";
         }
         return out;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TempFolder folder("settings");
    const auto path = folder.Path() / "vomurel.dat";
    ASSERT_TRUE(WriteFileBytes(path, c.Bytes));
    Settings::PresetTable table;
    Settings::LoadSettings(table, path);
    ExpectLoadedRanges(table);
    const std::string rendered = Settings::RenderSettings(table);
    EXPECT_EQ(std::count(rendered.begin(), rendered.end(), '\n'), Settings::SettingsFileLines);

    ASSERT_TRUE(WriteFileBytes(folder.Path() / "JWC_TEMP.TXT",
                               "hs 1e300 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nhp1 0 0\r\nhp2 100 0\r\n"
                               "hp3 100 100\r\nhp4 0 100\r\nhp5 0 0\r\n"));
    const std::string output =
        Robust::RunUnattended(folder.Path(), table.Preset(table.CurrentPreset));
    EXPECT_TRUE(SaneOutput(output, nullptr));
  }
}

// A 10 MB line costs only its own value: every later value keeps its place.
TEST(HostileSettingsFile, TenMegabyteLineKeepsLaterValuesInPlace) {
  const std::string huge(10 * MiB, '9');
  const struct {
    const char* Name;
    int Line;
    std::string Replacement;
  } cases[] = {
      {"window left", 1, huge},
      {"interval of preset 2 row 1", 4 + 71 + 2, huge},
      {"width of the last row", Settings::SettingsFileLines, "-" + huge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TempFolder folder("long");
    const auto path = folder.Path() / "vomurel.dat";
    ASSERT_TRUE(WriteFileBytes(path, SettingsWithLine(c.Line, c.Replacement)));
    Settings::PresetTable table;
    Settings::LoadSettings(table, path);

    EXPECT_EQ(table.WindowLeft, c.Line == 1 ? 0 : 120);
    EXPECT_EQ(table.WindowTop, 80);
    EXPECT_EQ(table.CurrentPreset, 2);
    EXPECT_EQ(table.Preset(1).Comment, "preset");
    EXPECT_EQ(table.Preset(2).Row(1).Interval, c.Line == 4 + 71 + 2 ? 0.0 : 5.0);
    EXPECT_EQ(table.Preset(20).Row(10).LineWidth, c.Line == Settings::SettingsFileLines ? 0 : 7);
    EXPECT_EQ(table.Preset(20).Row(10).LineType, 2);
    EXPECT_TRUE(table.Preset(20).Row(10).Enabled);
  }
}

TEST(HostileSettingsFile, TenMegabyteCommentSurvivesSaveAndLoad) {
  TempFolder folder("comment");
  const auto path = folder.Path() / "vomurel.dat";
  Settings::PresetTable table;
  table.Preset(7).Comment = std::string(10 * MiB, '\x88');
  table.Preset(7).Row(10).LineWidth = 30000;
  ASSERT_TRUE(Settings::SaveSettings(table, path));
  Settings::PresetTable loaded;
  Settings::LoadSettings(loaded, path);
  EXPECT_EQ(loaded.Preset(7).Comment.size(), 10 * MiB);
  EXPECT_EQ(loaded.Preset(7).Comment, table.Preset(7).Comment);
  EXPECT_EQ(loaded.Preset(7).Row(10).LineWidth, 30000);
  EXPECT_EQ(loaded.Preset(8).Comment, "");
}

// A value the dialog accepts must survive saving and loading: the largest
// doubles must not be written in a form that reads back as 0.
TEST(HostileSettingsFile, LargestRealsSurviveSaveAndLoad) {
  TempFolder folder("largest");
  const auto path = folder.Path() / "vomurel.dat";
  Settings::PresetTable table;
  const double largest = std::numeric_limits<double>::max();
  for (double value : {largest, -largest, 1.797693134862315e308}) {
    SCOPED_TRACE(MyFunc::FormatReal(value));
    table.Preset(1).Row(1).Interval = value;
    ASSERT_TRUE(Settings::SaveSettings(table, path));
    Settings::PresetTable loaded;
    Settings::LoadSettings(loaded, path);
    EXPECT_NEAR(loaded.Preset(1).Row(1).Interval / value, 1.0, 1e-14);
  }
}

} // namespace
