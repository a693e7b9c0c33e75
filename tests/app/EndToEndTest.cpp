// The built program, run as the host runs it: an exchange file and a
// settings file beside the program, the run mode as the first argument, and
// the commands read back from the exchange file afterwards.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "settings/Presets.h"
#include "tests/support/TestFiles.h"
#include "tools/jwhost/HostDescription.h"
#include "tools/jwhost/HostRun.h"
#include "tools/jwhost/PresetDescription.h"
#include "tools/jwhost/Process.h"

namespace fs = std::filesystem;

namespace {

using TestFiles::ReadFileBytes;
using TestFiles::WriteFileBytes;

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path source(VOMUREL_EXE);
    exe_ = folder_.Path() / source.filename();
    fs::copy_file(source, exe_);
  }

  fs::path ExchangePath() const { return folder_ / "JWC_TEMP.TXT"; }
  fs::path SettingsPath() const { return Settings::SettingsPathFor(exe_); }
  fs::path OptionsPath() const { return Settings::OptionsPathFor(exe_); }

  void WriteExchange(const std::string& bytes) const { WriteFileBytes(ExchangePath(), bytes); }
  void WriteSettings(const Settings::PresetTable& table) const {
    WriteFileBytes(SettingsPath(), Settings::RenderSettings(table));
  }
  int Run(const std::vector<std::string>& args, const fs::path& errorFile = {}) {
    std::vector<std::string> command{exe_.string()};
    command.insert(command.end(), args.begin(), args.end());
    const JwHost::ProcessResult r = JwHost::RunProcess(command, folder_.Path(), 120, errorFile);
    KeepFiles();
    return r.Started && !r.TimedOut ? r.ExitCode : -1;
  }
  // With VOMUREL_E2E_KEEP set, every run's files are copied there, so that
  // scripts/compare-builds.sh can compare the builds' bytes.
  void KeepFiles() {
    const char* keep = std::getenv("VOMUREL_E2E_KEEP");
    if (keep == nullptr) return;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path to =
        fs::path(keep) / (std::string(info->name()) + "-" + std::to_string(runs_++));
    fs::create_directories(to);
    for (const fs::path& file : {ExchangePath(), SettingsPath(), OptionsPath()}) {
      if (fs::exists(file)) fs::copy_file(file, to / file.filename());
    }
  }
  std::string Output() const { return ReadFileBytes(ExchangePath()); }

  TestFiles::TempFolder folder_{"e2e"};
  fs::path exe_;
  int runs_ = 0;
};

Settings::PresetTable OneRowPreset(double interval, double chamfer, int preset = 1) {
  Settings::PresetTable table;
  table.CurrentPreset = preset;
  Settings::LineRow& row = table.Preset(preset).Row(1);
  row.Enabled = true;
  row.Interval = interval;
  row.Chamfer = chamfer;
  return table;
}

const std::string LPath = "hp1 0 0\r\nhp2 100 0\r\nhp3 100 100\r\n";

TEST_F(EndToEnd, PresetWithoutRowsWritesLayerGroupAndLayerOnly) {
  WriteExchange("hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlgA\r\nlyF\r\nlg3\r\nly2\r\n" + LPath);
  ASSERT_EQ(Run({"2"}), 0);
  EXPECT_EQ(Output(), "lgA\r\nlyF\r\n");
}

TEST_F(EndToEnd, MissingExchangeFileIsCreatedWithDefaults) {
  WriteSettings(OneRowPreset(10, 3));
  ASSERT_EQ(Run({"2"}), 0);
  // No points: the row's attributes only, on the default layer group and layer.
  EXPECT_EQ(Output(), "lg0\r\nly0\r\nlc1\r\nlt1\r\n");
}

TEST_F(EndToEnd, UnattendedRunsNeverWriteTheSettingsFile) {
  WriteExchange(LPath);
  ASSERT_EQ(Run({"1"}), 0);
  EXPECT_FALSE(fs::exists(SettingsPath())) << "a missing settings file must stay missing";

  Settings::PresetTable table = OneRowPreset(10, 3);
  table.Preset(1).Comment = "\x95\xc7 wall";
  WriteSettings(table);
  const std::string before = ReadFileBytes(SettingsPath());
  WriteExchange(LPath);
  ASSERT_EQ(Run({"2"}), 0);
  EXPECT_EQ(ReadFileBytes(SettingsPath()), before);
}

struct BuilderCase {
  const char* Name;
  std::vector<std::string> Args;
  std::string Exchange;
  double Interval, Chamfer;
  std::string Expected;
};

TEST_F(EndToEnd, DrawsTheCurrentPresetByteForByte) {
  const BuilderCase cases[] = {
      {"L path",
       {"2"},
       LPath,
       10,
       3,
       "lg0\r\nly0\r\nlc1\r\nlt1\r\n0 10 87 10\r\n87 10 90 13\r\n90 13 90 100\r\n"},
      {"L path, right side",
       {"2"},
       LPath,
       -10,
       3,
       "lg0\r\nly0\r\nlc1\r\nlt1\r\n0 -10 107 -10\r\n107 -10 110 -7\r\n110 -7 110 100\r\n"},
      {"single segment", {"1"}, LPath, 10, 3, "lg0\r\nly0\r\nlc1\r\nlt1\r\n0 10 100 10\r\n"},
      {"second argument ignored",
       {"1", "x"},
       LPath,
       10,
       3,
       "lg0\r\nly0\r\nlc1\r\nlt1\r\n0 10 100 10\r\n"},
      {"closed square",
       {"2"},
       "hp1 0 0\nhp2 100 0\nhp3 100 100\nhp4 0 100\nhp5 0 0\n",
       10,
       3,
       "lg0\r\nly0\r\nlc1\r\nlt1\r\n13 10 87 10\r\n87 10 90 13\r\n90 13 90 87\r\n90 87 87 90\r\n"
       "87 90 13 90\r\n13 90 10 87\r\n10 87 10 13\r\n10 13 13 10\r\n"},
      {"host pen and width",
       {"2"},
       "lg2\r\nly5\r\nlc3\r\nlt2\r\nlw7\r\n" + LPath,
       10,
       0,
       "lg2\r\nly5\r\nlc3\r\nlt2\r\nlw7\r\n0 10 90 10\r\n90 10 90 100\r\n"},
  };
  for (const auto& c : cases) {
    WriteSettings(OneRowPreset(c.Interval, c.Chamfer));
    WriteExchange(c.Exchange);
    ASSERT_EQ(Run(c.Args), 0) << c.Name;
    EXPECT_EQ(Output(), c.Expected) << c.Name;
  }
}

TEST_F(EndToEnd, PaperUnitsFollowTheScaleOfTheHostsLayerGroup) {
  Settings::PresetTable table = OneRowPreset(0.1, 0.03, 4);
  table.Preset(4).Row(1).PaperUnit = true;
  table.Preset(4).Row(1).Color = 10; // SXF black
  WriteSettings(table);
  WriteExchange("hs 1 100 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg1\r\nly0\r\n" + LPath);
  ASSERT_EQ(Run({"2"}), 0);
  EXPECT_EQ(Output(),
            "lg1\r\nly0\r\nlc101\r\nlt1\r\n0 10 87 10\r\n87 10 90 13\r\n90 13 90 100\r\n");
}

TEST_F(EndToEnd, OptionsFileBesideTheProgramAddsCapsAndArcsOnlyToItsPreset) {
  const std::string rows =
      "lg0\r\nly0\r\nlc1\r\nlt1\r\n0 10 87 10\r\n87 10 90 13\r\n90 13 90 100\r\n";
  Settings::PresetTable defaults;
  const struct {
    const char* Name;
    std::string Ini;
    std::string Expected;
  } cases[] = {
      {"caps with overhang and pen",
       "[1]\r\nStartCap=1\r\nEndCap=1\r\nCapOverhang=2\r\nCapColor=8\r\nCapLineType=2\r\n",
       rows + "lc8\r\nlt2\r\n0 8 0 12\r\n92 100 88 100\r\n"},
      {"round corner", "[1]\nroundcorners = 1\n",
       "lg0\r\nly0\r\nlc1\r\nlt1\r\n0 10 87 10\r\nci 87 13 3 270 0 1 0\r\n90 13 90 100\r\n"},
      {"options of another preset", "[2]\r\nStartCap=1\r\nRoundCorners=1\r\n", rows},
      {"every option at its default", Settings::RenderOptions(defaults), rows},
  };
  for (const auto& c : cases) {
    WriteSettings(OneRowPreset(10, 3));
    WriteFileBytes(OptionsPath(), c.Ini);
    WriteExchange(LPath);
    ASSERT_EQ(Run({"2"}), 0) << c.Name;
    EXPECT_EQ(Output(), c.Expected) << c.Name;
    EXPECT_EQ(ReadFileBytes(OptionsPath()), c.Ini) << c.Name << ": a run never writes it";
  }
}

// The example plan, written as jwhost writes it, against the expected file.
TEST_F(EndToEnd, SelectRunDrawsTheExamplePlanByteForByte) {
  const fs::path source(VOMUREL_SOURCE_DIR);
  JwHost::HostScene scene;
  Settings::PresetTable table;
  std::string exchange, error;
  ASSERT_TRUE(
      JwHost::ParseHostDescription(ReadFileBytes(source / "examples/plan.host"), scene, error))
      << error;
  ASSERT_TRUE(JwHost::ExchangeBytes(scene, exchange, error)) << error;
  ASSERT_TRUE(
      JwHost::ParsePresetDescription(ReadFileBytes(source / "examples/plan.preset"), table, error))
      << error;
  ASSERT_TRUE(JwHost::SavePresetFiles(table, SettingsPath(), error)) << error;
  WriteExchange(exchange);
  ASSERT_EQ(Run({"select"}), 0);
  EXPECT_EQ(Output(), ReadFileBytes(source / "tests/app/golden/plan-select.txt"));
}

TEST_F(EndToEnd, SelectRunWithoutLinesWritesOnlyTheNotice) {
  // "h#線が選択されていません" in Shift-JIS.
  const std::string notice =
      "h#\x90\xfc\x82\xaa\x91\x49\x91\xf0\x82\xb3\x82\xea"
      "\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1\r\n";
  const struct {
    const char* Name;
    std::string Exchange;
    std::string Layers;
  } cases[] = {
      {"picked points only", "lg1\r\nly5\r\n" + LPath, "lg1\r\nly5\r\n"},
      {"a line of no length and one within the join distance", " 5 5 5 5\r\n 0 0 0.0000001 0\r\n",
       "lg0\r\nly0\r\n"},
      {"a line in message mode, circles, arcs and a text",
       "msg\r\n 0 0 100 0\r\nci 0 0 10\r\nci 0 0 10 0 90 1 0\r\nch 0 0 1 0 \"a\r\n",
       "lg0\r\nly0\r\n"},
  };
  for (const auto& c : cases) {
    WriteSettings(OneRowPreset(10, 3));
    WriteExchange(c.Exchange);
    ASSERT_EQ(Run({"select"}), 0) << c.Name;
    EXPECT_EQ(Output(), c.Layers + notice) << c.Name;
  }
}

#ifndef _WIN32
// The native build has no dialog: any other argument reports that and
// touches no file. (The Windows dialog is driven by the GUI tests.)
TEST_F(EndToEnd, NativeDialogRunTouchesNoFile) {
  const std::string exchange = "lg1\r\n" + LPath;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{}, {"3"}, {"01"}, {"1.0"}, {""}}) {
    WriteExchange(exchange);
    const fs::path err = folder_ / "stderr.txt";
    ASSERT_EQ(Run(args, err), 0);
    EXPECT_EQ(Output(), exchange);
    EXPECT_FALSE(fs::exists(SettingsPath()));
    const std::string message = ReadFileBytes(err);
    EXPECT_NE(message.find("Windows"), std::string::npos) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
  }
}
#endif

} // namespace
