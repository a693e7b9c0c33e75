// The drawing options file beside the settings file: its exact form, its
// tolerant reading, and the save that OK makes of both files together.
#include <gtest/gtest.h>

#include <string>

#include "settings/Presets.h"
#include "tests/support/MemoryFileLayer.h"

using Settings::DrawOptions;
using Settings::PresetTable;

namespace {

const std::string DatName = "Tools/vomurel.dat";
const std::string IniName = "Tools/vomurel.ini";

DrawOptions SomeOptions() {
  DrawOptions o;
  o.StartCap = true;
  o.EndCap = true;
  o.CapOverhang = 0.5;
  o.CapPaperUnit = true;
  o.CapColor = 3;
  o.CapLineType = 7;
  o.CapLineWidth = 25;
  o.RoundCorners = true;
  return o;
}

std::string Section(int preset, const char* body) {
  std::string out("[");
  out += std::to_string(preset);
  out += "]\r\n";
  out += body;
  return out;
}

constexpr const char* DefaultBody =
    "StartCap=0\r\nEndCap=0\r\nCapOverhang=0\r\nCapPaperUnit=0\r\nCapColor=0\r\n"
    "CapLineType=0\r\nCapLineWidth=-1\r\nRoundCorners=0\r\n";

TEST(RenderOptions, TwentySectionsOfEightKeysInCrLf) {
  PresetTable table;
  table.Preset(3).Options = SomeOptions();
  std::string expected;
  for (int p = 1; p <= 20; ++p) {
    expected +=
        Section(p, p == 3 ? "StartCap=1\r\nEndCap=1\r\nCapOverhang=0.5\r\nCapPaperUnit=1\r\n"
                            "CapColor=3\r\nCapLineType=7\r\nCapLineWidth=25\r\n"
                            "RoundCorners=1\r\n"
                          : DefaultBody);
  }
  EXPECT_EQ(Settings::RenderOptions(table), expected);

  PresetTable back;
  Settings::LoadOptionsBytes(back, expected);
  for (int p = 1; p <= 20; ++p) EXPECT_EQ(back.Preset(p).Options, table.Preset(p).Options) << p;
}

TEST(LoadOptions, TolerantReading) {
  const struct {
    const char* Name;
    const char* Bytes;
    int Preset;
    DrawOptions Expected;
  } cases[] = {
      {"empty file", "", 1, {}},
      {"any case, blanks, LF only, no final line end",
       "[2]\n  startcap = 1 \n\tROUNDCORNERS\t=TRUE",
       2,
       {.StartCap = true, .RoundCorners = true}},
      {"blanks in the section name", "[ 20 ]\r\nEndCap=1\r\n", 20, {.EndCap = true}},
      {"a later duplicate wins", "[1]\r\nCapColor=4\r\nCapColor=5\r\n", 1, {.CapColor = 5}},
      {"a section again adds to it",
       "[1]\r\nCapColor=4\r\n[2]\r\n[1]\r\nEndCap=1\r\n",
       1,
       {.EndCap = true, .CapColor = 4}},
      {"negative overhang reads as 0",
       "[1]\r\nCapOverhang=-2\r\nEndCap=on\r\n",
       1,
       {.EndCap = true}},
      {"malformed overhang reads as 0", "[1]\r\nCapOverhang=1,5\r\n", 1, {}},
      {"width out of range reads as -1",
       "[1]\r\nCapLineWidth=30001\r\nCapLineType=-9\r\n",
       1,
       {.CapLineType = -9}},
      {"width 30000 stays", "[1]\r\nCapLineWidth=30000\r\n", 1, {.CapLineWidth = 30000}},
      {"keys before the first section are ignored", "EndCap=1\r\n[1]\r\n", 1, {}},
      {"unknown sections are ignored",
       "[21]\r\nEndCap=1\r\n[0]\r\nEndCap=1\r\n[x]\r\nEndCap=1\r\n",
       1,
       {}},
      {"unknown keys and lines without = are ignored",
       "[1]\r\nColour=3\r\nEndCap\r\n;x=1\r\n",
       1,
       {}},
      {"a section line without its bracket ends the section", "[1]\r\n[2\r\nEndCap=1\r\n", 1, {}},
  };
  for (const auto& c : cases) {
    PresetTable table;
    table.Preset(c.Preset).Options.StartCap = true; // reading starts from the defaults
    Settings::LoadOptionsBytes(table, c.Bytes);
    EXPECT_EQ(table.Preset(c.Preset).Options, c.Expected) << c.Name;
  }
}

TEST(LoadOptions, MissingOrUnreadableFileGivesTheDefaults) {
  TestFiles::MemoryFileLayer files;
  TestFiles::ScopedFileLayer use(files);
  PresetTable table;
  table.Preset(1).Options = SomeOptions();
  Settings::LoadOptions(table, IniName);
  EXPECT_EQ(table.Preset(1).Options, DrawOptions{});

  files.Put(IniName, "[1]\r\nEndCap=1\r\n");
  files.FailOpenRead = true;
  table.Preset(1).Options = SomeOptions();
  Settings::LoadOptions(table, IniName);
  EXPECT_EQ(table.Preset(1).Options, DrawOptions{});

  files.FailOpenRead = false;
  files.ReadChunk = 3;
  Settings::LoadOptions(table, IniName);
  EXPECT_EQ(table.Preset(1).Options, DrawOptions{.EndCap = true}) << "read in small pieces";
}

TEST(SaveSettingsAndOptions, OptionsFileOnlyWhenNeeded) {
  const struct {
    const char* Name;
    bool WithOptions;
    bool IniBefore;
    bool IniAfter;
  } cases[] = {
      {"no option set, no file: none written", false, false, false},
      {"an option set: written", true, false, true},
      {"no option set but the file exists: written with the defaults", false, true, true},
  };
  for (const auto& c : cases) {
    TestFiles::MemoryFileLayer files;
    TestFiles::ScopedFileLayer use(files);
    if (c.IniBefore) files.Put(IniName, "[1]\r\nEndCap=1\r\n");
    PresetTable table;
    if (c.WithOptions) table.Preset(7).Options = SomeOptions();
    std::filesystem::path failed;
    std::error_code reason;
    EXPECT_TRUE(Settings::SaveSettingsAndOptions(table, DatName, IniName, failed, reason))
        << c.Name;
    EXPECT_EQ(files.Bytes(DatName), Settings::RenderSettings(table)) << c.Name;
    EXPECT_EQ(files.Has(IniName), c.IniAfter) << c.Name;
    if (c.IniAfter) {
      EXPECT_EQ(files.Bytes(IniName), Settings::RenderOptions(table)) << c.Name;
    }
    EXPECT_EQ(files.Stored.size(), c.IniAfter ? 2U : 1U) << c.Name << ": no temporary file";
  }
}

// Whatever fails, for either file: it is named with a reason, no temporary
// file is left, and neither file is half-written.
TEST(SaveSettingsAndOptions, FailureNamesTheFileAndLeavesNoPartialFile) {
  const struct {
    const char* Name;
    const char* FailOnly;
    bool Create, Write, Replace;
    const char* Failed;
    bool DatReplaced; // the settings file was put in place before the failure
  } cases[] = {
      {"settings file cannot be created", ".dat.new", true, false, false, "Tools/vomurel.dat",
       false},
      {"settings file write fails", ".dat.new", false, true, false, "Tools/vomurel.dat", false},
      {"settings file cannot be replaced", ".dat", false, false, true, "Tools/vomurel.dat", false},
      {"options file cannot be created", ".ini.new", true, false, false, "Tools/vomurel.ini",
       false},
      {"options file write fails", ".ini.new", false, true, false, "Tools/vomurel.ini", false},
      {"options file cannot be replaced", ".ini", false, false, true, "Tools/vomurel.ini", true},
  };
  for (const auto& c : cases) {
    TestFiles::MemoryFileLayer files;
    files.Put(DatName, "old settings");
    files.Put(IniName, "old options");
    files.FailOnly = c.FailOnly;
    files.FailCreate = c.Create;
    files.WriteBudget = c.Write ? 10 : files.WriteBudget;
    files.FailReplace = c.Replace;
    files.FailureReason = {};
    TestFiles::ScopedFileLayer use(files);
    PresetTable table;
    table.Preset(2).Options = SomeOptions();
    std::filesystem::path failed;
    std::error_code reason;
    EXPECT_FALSE(Settings::SaveSettingsAndOptions(table, DatName, IniName, failed, reason))
        << c.Name;
    EXPECT_EQ(failed.generic_string(), c.Failed) << c.Name;
    EXPECT_EQ(reason, std::make_error_code(std::errc::io_error)) << c.Name << ": never empty";
    EXPECT_EQ(files.Bytes(DatName),
              c.DatReplaced ? Settings::RenderSettings(table) : std::string("old settings"))
        << c.Name;
    EXPECT_EQ(files.Bytes(IniName), "old options") << c.Name;
    EXPECT_EQ(files.Stored.size(), 2U) << c.Name << ": no temporary file";
  }
}

TEST(OptionsPathFor, ProgramPathWithTheExtensionIni) {
  EXPECT_EQ(Settings::OptionsPathFor("C:/jww/vomurel.exe").generic_string(), "C:/jww/vomurel.ini");
  EXPECT_EQ(Settings::OptionsPathFor(DatName).generic_string(), IniName);
}

} // namespace
