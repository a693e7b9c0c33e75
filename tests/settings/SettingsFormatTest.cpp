// The settings file as bytes: what is written for a preset table, and what a
// table becomes when such bytes, or damaged ones, are read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsTestSupport.h"
#include "common/MyFunc.h"
#include "settings/Presets.h"

using namespace Settings;
using namespace TestSettings;

namespace {

// "外壁" and "表ソ" (second bytes 0x5C, a backslash when read byte by byte) and
// the ideographic space, in Shift-JIS.
const std::string Gaiheki = "\x8a\x4f\x95\xc7";
const std::string HyoSo = "\x95\x5c\x83\x5c";
const std::string IdeographicSpace = "\x81\x40";

PresetTable Loaded(const std::string& bytes) {
  PresetTable t;
  t.WindowLeft = 12345; // must not survive the load
  t.Preset(20).Comment = "left over";
  LoadSettingsBytes(t, bytes);
  return t;
}

std::string DefaultFileWith(int line, const std::string& text) {
  std::vector<std::string> lines = DefaultFileLines();
  lines[static_cast<std::size_t>(line - 1)] = text;
  return JoinLines(lines, "\r\n");
}

TEST(SettingsDefaults, WithoutAFile) {
  PresetTable t;
  t.WindowLeft = 7;
  t.Preset(20).Comment = "left over";
  t.Preset(20).Row(10).LineWidth = 3;
  LoadSettings(t, "no-such-folder/Vomurel.dat");
  EXPECT_EQ(t.WindowLeft, 100);
  EXPECT_EQ(t.WindowTop, 100);
  EXPECT_EQ(t.CurrentPreset, 1);
  for (int p = 1; p <= 20; ++p) {
    EXPECT_EQ(t.Preset(p).Comment, "") << "preset " << p;
    for (int r = 1; r <= 10; ++r) {
      const LineRow& row = t.Preset(p).Row(r);
      EXPECT_FALSE(row.Enabled) << "preset " << p << " row " << r;
      EXPECT_EQ(row.Interval, 0.0) << "preset " << p << " row " << r;
      EXPECT_EQ(row.Chamfer, 0.0) << "preset " << p << " row " << r;
      EXPECT_FALSE(row.PaperUnit) << "preset " << p << " row " << r;
      EXPECT_EQ(row.Color, 0) << "preset " << p << " row " << r;
      EXPECT_EQ(row.LineType, 0) << "preset " << p << " row " << r;
      EXPECT_EQ(row.LineWidth, -1) << "preset " << p << " row " << r;
    }
  }
}

TEST(SettingsDefaults, EmptyFileReadsEveryValueFromAnEmptyLine) {
  ExpectSameTable(Loaded(""), UniformTable(0, 0, 1, LineRow{false, 0, 0, false, 0, 0, 0}),
                  "empty file");
}

TEST(SettingsFile, DefaultsAreWrittenAsThe1423LineLayout) {
  const std::string bytes = RenderSettings(PresetTable{});
  const std::string head = "100\r\n100\r\n1\r\n\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n-1\r\n0\r\n";
  EXPECT_EQ(bytes.substr(0, head.size()), head);
  EXPECT_EQ(bytes, JoinLines(DefaultFileLines(), "\r\n"));
  EXPECT_EQ(SplitCrLf(bytes).size(), 1423u);
  ExpectSameTable(Loaded(bytes), PresetTable{}, "defaults read back");
}

TEST(SettingsFile, FilledTableGoesToItsPositions) {
  const PresetTable filled = FilledTable();
  const std::string bytes = RenderSettings(filled);
  const std::string head =
      "-32\r\n1200\r\n17\r\n"
      "Preset 1\r\n"
      "1\r\n13.25\r\n0.625\r\n0\r\n14\r\n2\r\n1006\r\n"
      "0\r\n-14\r\n1.125\r\n1\r\n15\r\n3\r\n1013\r\n"
      "1\r\n14.75\r\n1.625\r\n0\r\n16\r\n4\r\n1020\r\n";
  EXPECT_EQ(bytes.substr(0, head.size()), head);
  ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
  const std::vector<std::string> lines = SplitCrLf(bytes);
  ASSERT_EQ(lines.size(), 1423u);
  const auto at = [&lines](int line) { return lines[static_cast<std::size_t>(line - 1)]; };
  for (int p = 1; p <= 20; ++p) {
    EXPECT_EQ(at(CommentLine(p)), "Preset " + MyFunc::FormatInt(p)) << "preset " << p;
    for (int r = 1; r <= 10; ++r) {
      const int colour = p * 13 + r;
      EXPECT_EQ(at(RowLine(p, r, Color)), MyFunc::FormatInt(colour))
          << "preset " << p << " row " << r;
    }
  }
  EXPECT_EQ(CommentLine(20), 1353);
  EXPECT_EQ(RowLine(20, 10, LineWidth), 1423);
  EXPECT_EQ(at(1423), "20069");
  ExpectSameTable(Loaded(bytes), filled, "filled table read back");
}

TEST(SettingsFile, RealsInTheSharedNumberFormat) {
  const struct {
    double Value;
    const char* Written;
  } cases[] = {
      {0.00001, "1E-5"},
      {0.0001, "0.0001"},
      {1.25, "1.25"},
      {3.0, "3"},
      {-0.75, "-0.75"},
      {1000.0, "1000"},
      {1.5e20, "1.5E20"},
      {0.0, "0"},
      {-0.0, "0"},
      {-1e-5, "-1E-5"},
      {1.0 / 3.0, "0.333333333333333"},
  };
  for (const auto& c : cases) {
    PresetTable t;
    t.Preset(1).Row(1).Interval = c.Value;
    t.Preset(20).Row(10).Chamfer = c.Value;
    const std::vector<std::string> lines = SplitCrLf(RenderSettings(t));
    ASSERT_EQ(lines.size(), 1423u);
    EXPECT_EQ(lines[RowLine(1, 1, Interval) - 1], c.Written) << "interval " << c.Value;
    EXPECT_EQ(lines[RowLine(20, 10, Chamfer) - 1], c.Written) << "chamfer " << c.Value;
  }
}

TEST(SettingsFile, IntegersAndBooleans) {
  PresetTable t;
  t.WindowLeft = -1;
  t.WindowTop = 0;
  t.CurrentPreset = 20;
  LineRow& row = t.Preset(2).Row(3);
  row.Enabled = true;
  row.PaperUnit = true;
  row.Color = -7;
  row.LineType = 265;
  row.LineWidth = 30000;
  const std::vector<std::string> lines = SplitCrLf(RenderSettings(t));
  ASSERT_EQ(lines.size(), 1423u);
  const std::vector<std::string> head(lines.begin(), lines.begin() + 3);
  EXPECT_EQ(head, (std::vector<std::string>{"-1", "0", "20"}));
  const std::vector<std::string> block(lines.begin() + RowLine(2, 3, Enabled) - 1,
                                       lines.begin() + RowLine(2, 3, LineWidth));
  EXPECT_EQ(block, (std::vector<std::string>{"1", "0", "0", "1", "-7", "265", "30000"}));
}

TEST(SettingsReading, CurrentPresetOutOfRangeBecomesOne) {
  const struct {
    const char* Text;
    std::int32_t Expected;
  } cases[] = {
      {"0", 1},   {"21", 1}, {"-3", 1}, {"abc", 1}, {"", 1},
      {"20", 20}, {"1", 1},  {"7", 7},  {"3x", 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Loaded(DefaultFileWith(3, c.Text)).CurrentPreset, c.Expected) << "[" << c.Text << "]";
  }
}

TEST(SettingsReading, WindowPosition) {
  const struct {
    int Line;
    const char* Text;
    std::int32_t Left, Top;
  } cases[] = {
      {1, "250", 250, 100}, {1, "-40", -40, 100}, {1, "abc", 0, 100},
      {2, "80", 100, 80},   {2, "", 100, 0},      {2, "1.5", 100, 0},
  };
  for (const auto& c : cases) {
    const PresetTable t = Loaded(DefaultFileWith(c.Line, c.Text));
    EXPECT_EQ(t.WindowLeft, c.Left) << "line " << c.Line << " [" << c.Text << "]";
    EXPECT_EQ(t.WindowTop, c.Top) << "line " << c.Line << " [" << c.Text << "]";
  }
}

TEST(SettingsReading, LineWidthOutOfRangeBecomesMinusOne) {
  const struct {
    const char* Text;
    std::int32_t Expected;
  } cases[] = {
      {"30000", 30000}, {"30001", -1}, {"-2", -1}, {"abc", 0},          {"-1", -1},
      {"0", 0},         {"", 0},       {"15", 15}, {"-2147483648", -1},
  };
  for (const auto& c : cases) {
    const PresetTable t = Loaded(DefaultFileWith(RowLine(3, 4, LineWidth), c.Text));
    EXPECT_EQ(t.Preset(3).Row(4).LineWidth, c.Expected) << "[" << c.Text << "]";
    EXPECT_EQ(t.Preset(3).Row(5).LineWidth, -1) << "the next row is untouched";
  }
}

TEST(SettingsReading, ColourAndLineTypeHaveNoRangeCheck) {
  const struct {
    RowField Field;
    const char* Text;
    std::int32_t Color, LineType;
  } cases[] = {
      {Color, "500", 500, 0},  {Color, "-7", -7, 0},    {Color, "abc", 0, 0},
      {LineType, "77", 0, 77}, {LineType, "-1", 0, -1}, {LineType, "2.5", 0, 0},
  };
  for (const auto& c : cases) {
    const PresetTable t = Loaded(DefaultFileWith(RowLine(5, 10, c.Field), c.Text));
    EXPECT_EQ(t.Preset(5).Row(10).Color, c.Color) << "[" << c.Text << "]";
    EXPECT_EQ(t.Preset(5).Row(10).LineType, c.LineType) << "[" << c.Text << "]";
  }
}

TEST(SettingsReading, LooseBooleans) {
  const struct {
    const char* Text;
    bool Expected;
  } cases[] = {
      {"1", true},  {"TRUE", true}, {"true", true}, {"on", true}, {"ON", true},
      {"0", false}, {"yes", false}, {"", false},    {"2", false}, {"false", false},
  };
  for (const auto& c : cases) {
    const PresetTable enabled = Loaded(DefaultFileWith(RowLine(1, 2, Enabled), c.Text));
    EXPECT_EQ(enabled.Preset(1).Row(2).Enabled, c.Expected) << "enabled [" << c.Text << "]";
    const PresetTable paper = Loaded(DefaultFileWith(RowLine(19, 9, PaperUnit), c.Text));
    EXPECT_EQ(paper.Preset(19).Row(9).PaperUnit, c.Expected) << "paper unit [" << c.Text << "]";
  }
}

TEST(SettingsReading, Reals) {
  const struct {
    const char* Text;
    double Expected;
  } cases[] = {
      {"1.25", 1.25}, {"-0.75", -0.75}, {"1E-5", 0.00001}, {"1.5E20", 1.5e20}, {"3", 3.0},
      {"abc", 0.0},   {"", 0.0},        {"1,5", 0.0},      {"0.0001", 0.0001},
  };
  for (const auto& c : cases) {
    const PresetTable t = Loaded(DefaultFileWith(RowLine(7, 1, Interval), c.Text));
    EXPECT_EQ(t.Preset(7).Row(1).Interval, c.Expected) << "interval [" << c.Text << "]";
    const PresetTable u = Loaded(DefaultFileWith(RowLine(7, 1, Chamfer), c.Text));
    EXPECT_EQ(u.Preset(7).Row(1).Chamfer, c.Expected) << "chamfer [" << c.Text << "]";
  }
}

TEST(SettingsReading, ShortFileLeavesMissingValuesEmptyNotDefault) {
  const PresetTable t = Loaded("250\r\n80\r\n7\r\n");
  ExpectSameTable(t, UniformTable(250, 80, 7, LineRow{false, 0, 0, false, 0, 0, 0}), "3 lines");

  // Cut in the middle of preset 2: what was there stays.
  std::vector<std::string> lines = DefaultFileLines();
  lines[RowLine(1, 10, LineWidth) - 1] = "42";
  lines[CommentLine(2) - 1] = "second";
  lines[RowLine(2, 1, Enabled) - 1] = "1";
  lines.resize(static_cast<std::size_t>(RowLine(2, 1, Chamfer)));
  const PresetTable cut = Loaded(JoinLines(lines, "\r\n"));
  EXPECT_EQ(cut.Preset(1).Row(10).LineWidth, 42);
  EXPECT_EQ(cut.Preset(1).Row(9).LineWidth, -1);
  EXPECT_EQ(cut.Preset(2).Comment, "second");
  EXPECT_TRUE(cut.Preset(2).Row(1).Enabled);
  EXPECT_EQ(cut.Preset(2).Row(1).LineWidth, 0) << "missing line reads as empty";
  EXPECT_EQ(cut.Preset(20).Row(10).LineWidth, 0) << "missing line reads as empty";
  EXPECT_EQ(cut.CurrentPreset, 1);

  // The last line may lack its line end.
  EXPECT_EQ(Loaded("250\r\n80\r\n7").CurrentPreset, 7);
  EXPECT_EQ(Loaded("250\r\n80\r\n7\r").CurrentPreset, 7);
}

TEST(SettingsReading, LineEndsWithOrWithoutCarriageReturn) {
  const PresetTable filled = FilledTable();
  const std::string crlf = RenderSettings(filled);
  std::string lf;
  for (char b : crlf) {
    if (b != '\r') lf.push_back(b);
  }
  ExpectSameTable(Loaded(lf), filled, "LF only");

  std::vector<std::string> lines = SplitCrLf(crlf);
  std::string mixed;
  for (std::size_t i = 0; i < lines.size(); ++i) mixed += lines[i] + (i % 2 == 0 ? "\n" : "\r\n");
  ExpectSameTable(Loaded(mixed), filled, "mixed line ends");

  // A CR that does not end a line is part of it.
  EXPECT_EQ(Loaded(DefaultFileWith(CommentLine(1), "a\rb")).Preset(1).Comment, "a\rb");
}

TEST(SettingsReading, CtrlZEndsTheFile) {
  const struct {
    const char* Name;
    std::string Bytes;
    std::int32_t Left, Top, Current;
    const char* Comment;
    std::int32_t Width; // preset 1 row 1
  } cases[] = {
      {"after line 2",
       "250\r\n80\r\n\x1A"
       "7\r\n",
       250, 80, 1, "", 0},
      {"inside line 2",
       "250\r\n80\x1A"
       "9\r\n7\r\n",
       250, 80, 1, "", 0},
      {"at the start",
       "\x1A"
       "250\r\n80\r\n7\r\n",
       0, 0, 1, "", 0},
      {"inside a comment",
       "250\r\n80\r\n7\r\nab\x1A"
       "cd\r\n0\r\n",
       250, 80, 7, "ab", 0},
      {"none", "250\r\n80\r\n7\r\nabcd\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n-1\r\n", 250, 80, 7, "abcd",
       -1},
  };
  for (const auto& c : cases) {
    const PresetTable t = Loaded(c.Bytes);
    EXPECT_EQ(t.WindowLeft, c.Left) << c.Name;
    EXPECT_EQ(t.WindowTop, c.Top) << c.Name;
    EXPECT_EQ(t.CurrentPreset, c.Current) << c.Name;
    EXPECT_EQ(t.Preset(1).Comment, c.Comment) << c.Name;
    EXPECT_EQ(t.Preset(1).Row(1).LineWidth, c.Width) << c.Name;
  }
}

TEST(SettingsReading, LongLinesAreReadWhole) {
  std::string comment;
  for (int i = 0; i < 100; ++i) comment += Gaiheki + " " + MyFunc::FormatInt(i) + " ";
  ASSERT_GT(comment.size(), 255u);
  std::vector<std::string> lines = DefaultFileLines();
  lines[CommentLine(4) - 1] = comment;
  lines[RowLine(4, 1, Interval) - 1] = std::string(300, ' ') + "1.25";
  lines[RowLine(4, 1, Chamfer) - 1] = "0.5";
  const PresetTable t = Loaded(JoinLines(lines, "\r\n"));
  EXPECT_EQ(t.Preset(4).Comment, comment);
  EXPECT_EQ(t.Preset(4).Row(1).Interval, 1.25);
  EXPECT_EQ(t.Preset(4).Row(1).Chamfer, 0.5) << "the next line is still in its place";
}

TEST(SettingsReading, LinesAfterTheLastAreIgnored) {
  const PresetTable filled = FilledTable();
  const std::string bytes = RenderSettings(filled);
  ExpectSameTable(Loaded(bytes + "999\r\n5\r\nabc\r\n"), filled, "three extra lines");
  ExpectSameTable(Loaded(bytes + std::string(100000, 'x')), filled, "a long extra line");
}

TEST(SettingsComment, RoundTripsByteForByte) {
  const std::string comments[] = {
      "",
      " leading and trailing ",
      "  " + Gaiheki + IdeographicSpace + "W=150 " + HyoSo + "  ",
      HyoSo,
      "tab\there",
      "\"quoted\"",
      std::string(600, 'c'),
  };
  for (const std::string& comment : comments) {
    PresetTable t;
    t.Preset(1).Comment = comment;
    t.Preset(20).Comment = comment;
    t.Preset(20).Row(10).LineWidth = 5;
    const std::string bytes = RenderSettings(t);
    const std::vector<std::string> lines = SplitCrLf(bytes);
    ASSERT_EQ(lines.size(), 1423u) << "[" << comment << "]";
    EXPECT_EQ(lines[CommentLine(1) - 1], comment);
    EXPECT_EQ(lines[CommentLine(20) - 1], comment);
    ExpectSameTable(Loaded(bytes), t, "comment [" + comment + "]");
  }
}

TEST(SettingsComment, LineBreaksAndCtrlZBecomeBlanks) {
  const struct {
    std::string Comment;
    std::string Stored;
  } cases[] = {
      {"a\r\nb", "a  b"},  {"a\nb", "a b"},     {"a\rb", "a b"},
      {"end\x1A", "end "}, {"\r\n\x1A", "   "}, {Gaiheki + "\r\n" + HyoSo, Gaiheki + "  " + HyoSo},
  };
  for (const auto& c : cases) {
    PresetTable t = FilledTable();
    t.Preset(3).Comment = c.Comment;
    const std::string bytes = RenderSettings(t);
    const std::vector<std::string> lines = SplitCrLf(bytes);
    ASSERT_EQ(lines.size(), 1423u) << "[" << c.Stored << "]";
    EXPECT_EQ(lines[CommentLine(3) - 1], c.Stored);
    PresetTable expected = t;
    expected.Preset(3).Comment = c.Stored;
    ExpectSameTable(Loaded(bytes), expected, "comment [" + c.Stored + "]");
  }
}

} // namespace
