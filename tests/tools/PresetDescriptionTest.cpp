// Preset descriptions: each key lands in its own field, and the file that
// Settings writes from the result has the values where the tool reads them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/Presets.h"
#include "tests/support/TestFiles.h"
#include "tools/jwhost/HostRun.h"
#include "tools/jwhost/PresetDescription.h"

namespace {

Settings::PresetTable Parse(const std::string& text) {
  Settings::PresetTable table;
  std::string error;
  EXPECT_TRUE(JwHost::ParsePresetDescription(text, table, error)) << error << "\n" << text;
  return table;
}

std::vector<std::string> SplitCrLf(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) break;
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TEST(PresetDescription, RowKeysFillTheirOwnFields) {
  const auto table = Parse(
      "row 1 interval=10 chamfer=3 color=2 type=5 width=7 paper=1\n"
      "row 4 interval=-2.5\n"
      "row 10 enabled=0 color=12\n");
  const auto& p = table.Preset(1);
  EXPECT_TRUE(p.Row(1).Enabled);
  EXPECT_EQ(p.Row(1).Interval, 10.0);
  EXPECT_EQ(p.Row(1).Chamfer, 3.0);
  EXPECT_EQ(p.Row(1).Color, 2);
  EXPECT_EQ(p.Row(1).LineType, 5);
  EXPECT_EQ(p.Row(1).LineWidth, 7);
  EXPECT_TRUE(p.Row(1).PaperUnit);
  // Keys left out keep the tool's defaults.
  EXPECT_TRUE(p.Row(4).Enabled);
  EXPECT_EQ(p.Row(4).Interval, -2.5);
  EXPECT_EQ(p.Row(4).Chamfer, 0.0);
  EXPECT_EQ(p.Row(4).LineWidth, -1);
  EXPECT_FALSE(p.Row(4).PaperUnit);
  EXPECT_FALSE(p.Row(10).Enabled);
  EXPECT_EQ(p.Row(10).Color, 12);
  EXPECT_FALSE(p.Row(2).Enabled);
}

TEST(PresetDescription, PresetLineChoosesWhereLaterLinesGo) {
  const auto table = Parse(
      "current 3\nwindow 250 -80\n"
      "comment first\nrow 2 interval=1\n"
      "preset 3\ncomment third\nrow 5 interval=2\n");
  EXPECT_EQ(table.CurrentPreset, 3);
  EXPECT_EQ(table.WindowLeft, 250);
  EXPECT_EQ(table.WindowTop, -80);
  EXPECT_EQ(table.Preset(1).Comment, "first");
  EXPECT_TRUE(table.Preset(1).Row(2).Enabled);
  EXPECT_EQ(table.Preset(3).Comment, "third");
  EXPECT_EQ(table.Preset(3).Row(5).Interval, 2.0);
  EXPECT_FALSE(table.Preset(3).Row(2).Enabled);
}

TEST(PresetDescription, CommentKeepsBlanksAndBecomesShiftJis) {
  // "壁 芯 " in UTF-8, with a trailing blank.
  const auto table = Parse("comment \xE5\xA3\x81 \xE8\x8A\xAF \n");
  EXPECT_EQ(table.Preset(1).Comment, "\x95\xC7 \x90\x63 ");
}

TEST(PresetDescription, OptionsLineSetsThatPresetsOptionsOnly) {
  const auto table = Parse(
      "preset 2\noptions startcap=1 overhang=0.5 paper=1 color=3 type=2 width=5 round=1\n"
      "preset 3\noptions endcap=1\noptions round=1\n");
  Settings::DrawOptions two;
  two.StartCap = two.CapPaperUnit = two.RoundCorners = true;
  two.CapOverhang = 0.5;
  two.CapColor = 3;
  two.CapLineType = 2;
  two.CapLineWidth = 5;
  Settings::DrawOptions three;
  three.RoundCorners = true; // a later options line starts from the defaults, as a row line does
  EXPECT_TRUE(table.Preset(2).Options == two);
  EXPECT_TRUE(table.Preset(3).Options == three);
  EXPECT_TRUE(table.Preset(1).Options == Settings::DrawOptions{});
}

TEST(PresetDescription, OptionsFileIsWrittenWhenNeededAndNeverLeftStale) {
  TestFiles::TempFolder folder("jwhost");
  const auto dat = folder / "vomurel.dat";
  const auto ini = folder / "vomurel.ini";
  std::string error;
  ASSERT_TRUE(JwHost::SavePresetFiles(Parse("row 1 interval=1\n"), dat, error)) << error;
  EXPECT_FALSE(std::filesystem::exists(ini)) << "no options, no options file";
  const auto withCaps = Parse("preset 4\noptions endcap=1\n");
  ASSERT_TRUE(JwHost::SavePresetFiles(withCaps, dat, error)) << error;
  EXPECT_EQ(TestFiles::ReadFileBytes(ini), Settings::RenderOptions(withCaps));
  // A later description without options must not keep the caps of this one.
  ASSERT_TRUE(JwHost::SavePresetFiles(Parse("row 1 interval=1\n"), dat, error)) << error;
  EXPECT_EQ(TestFiles::ReadFileBytes(ini), Settings::RenderOptions(Settings::PresetTable{}));
}

TEST(PresetDescription, ErrorsNameTheLineAndTheProblem) {
  const struct {
    const char* Text;
    const char* Expected;
  } cases[] = {
      {"row 11\n", "line 1: \"11\" is not a whole number from 1 to 10"},
      {"row\n", "line 1: expected \"row <r> key=value ...\""},
      {"\nrow 1 interval=abc\n", "line 2: bad value in \"interval=abc\""},
      {"row 1 interval\n", "line 1: bad value in \"interval\""},
      {"row 1 colour=2\n", "line 1: unknown row setting \"colour\""},
      {"row 1 width=-2\n", "line 1: bad value in \"width=-2\""},
      {"row 1 width=30001\n", "line 1: bad value in \"width=30001\""},
      {"row 1 paper=2\n", "line 1: bad value in \"paper=2\""},
      {"current 21\n", "line 1: \"21\" is not a whole number from 1 to 20"},
      {"preset 0\n", "line 1: \"0\" is not a whole number from 1 to 20"},
      {"comment \xF0\x9F\x98\x80\n",
       "line 1: the comment holds a character that Shift-JIS cannot represent"},
      {"rows 1\n", "line 1: unknown record \"rows\""},
      {"options overhang=-0.5\n", "line 1: bad value in \"overhang=-0.5\""},
      {"options round=yes\n", "line 1: bad value in \"round=yes\""},
      {"options width=30001\n", "line 1: bad value in \"width=30001\""},
      {"options interval=1\n", "line 1: unknown option \"interval\""},
  };
  for (const auto& c : cases) {
    Settings::PresetTable table;
    std::string error;
    EXPECT_FALSE(JwHost::ParsePresetDescription(c.Text, table, error)) << c.Text;
    EXPECT_EQ(error, c.Expected) << c.Text;
  }
}

TEST(PresetDescription, SettingsFileHoldsTheValuesWhereTheToolReadsThem) {
  const auto table = Parse(
      "current 2\n"
      "preset 2\ncomment wall\n"
      "row 1 interval=10 chamfer=3 color=2 type=1 width=-1 paper=0\n"
      "row 3 interval=0.5 chamfer=0.2 paper=1 color=10 type=19 width=30000\n");
  const auto lines = SplitCrLf(Settings::RenderSettings(table));
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(Settings::SettingsFileLines));
  EXPECT_EQ(lines[2], "2");           // line 3: the current preset
  const std::size_t comment = 3 + 71; // line 4 + 71 * (p - 1), counted from 0
  EXPECT_EQ(lines[comment], "wall");
  const std::vector<std::string> row1(lines.begin() + comment + 1, lines.begin() + comment + 8);
  EXPECT_EQ(row1, (std::vector<std::string>{"1", "10", "3", "0", "2", "1", "-1"}));
  const std::size_t row3 = comment + 1 + 2 * 7;
  const std::vector<std::string> r3(lines.begin() + row3, lines.begin() + row3 + 7);
  EXPECT_EQ(r3, (std::vector<std::string>{"1", "0.5", "0.2", "1", "10", "19", "30000"}));
}

} // namespace
