// Saving and loading through the file layer: the previous settings survive
// every failure of a save, a load that breaks off keeps what it had read,
// and the file's place beside the program.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "SettingsTestSupport.h"
#include "common/MyFunc.h"
#include "settings/Presets.h"
#include "tests/support/TestFiles.h"

using namespace Settings;
using namespace TestSettings;

namespace {

const std::string SettingsName = "Tools/Vomurel.dat";
const std::string TempName = "Tools/Vomurel.dat.new";

TEST(SaveSettings, WritesTheRenderedFile) {
  TestFiles::MemoryFileLayer files;
  TestFiles::ScopedFileLayer use(files);
  const PresetTable filled = FilledTable();
  EXPECT_TRUE(SaveSettings(filled, SettingsName));
  ASSERT_TRUE(files.Has(SettingsName));
  EXPECT_EQ(files.Bytes(SettingsName), RenderSettings(filled));
  EXPECT_EQ(files.Stored.size(), 1u) << "no temporary file remains";

  PresetTable loaded;
  LoadSettings(loaded, SettingsName);
  ExpectSameTable(loaded, filled, "loaded after saving");
}

TEST(SaveSettings, ReplacesAnOlderFileAndAStaleTemporaryFile) {
  TestFiles::MemoryFileLayer files;
  files.Put(SettingsName, std::string(30000, 'o'));
  files.Put(TempName, "left from a crash");
  TestFiles::ScopedFileLayer use(files);
  EXPECT_TRUE(SaveSettings(PresetTable{}, SettingsName));
  EXPECT_EQ(files.Bytes(SettingsName), JoinLines(DefaultFileLines(), "\r\n"));
  EXPECT_FALSE(files.Has(TempName));
}

TEST(SaveSettings, FailureKeepsThePreviousFile) {
  const std::string previous = RenderSettings(FilledTable());
  const std::size_t full = RenderSettings(PresetTable{}).size();
  const struct {
    const char* Name;
    bool FailCreate;
    std::size_t WriteBudget;
    bool FailClose;
    bool FailReplace;
  } cases[] = {
      {"create fails", true, SIZE_MAX, false, false},
      {"write fails at once", false, 0, false, false},
      {"write fails part way", false, 100, false, false},
      {"write fails at the last byte", false, full - 1, false, false},
      {"close fails", false, SIZE_MAX, true, false},
      {"replace fails", false, SIZE_MAX, false, true},
  };
  for (const auto& c : cases) {
    for (const bool hadFile : {true, false}) {
      const std::string context = std::string(c.Name) + (hadFile ? ", file before" : ", no file");
      TestFiles::MemoryFileLayer files;
      if (hadFile) files.Put(SettingsName, previous);
      files.FailCreate = c.FailCreate;
      files.WriteBudget = c.WriteBudget;
      files.FailClose = c.FailClose;
      files.FailReplace = c.FailReplace;
      TestFiles::ScopedFileLayer use(files);
      EXPECT_FALSE(SaveSettings(PresetTable{}, SettingsName)) << context;
      EXPECT_FALSE(files.Has(TempName)) << context << ": no temporary file remains";
      if (hadFile) {
        ASSERT_TRUE(files.Has(SettingsName)) << context;
        EXPECT_EQ(files.Bytes(SettingsName), previous) << context;
        EXPECT_EQ(files.Stored.size(), 1u) << context;
      } else {
        EXPECT_TRUE(files.Stored.empty()) << context;
      }
    }
  }
}

TEST(LoadSettings, ReadsTheSameInAnyChunks) {
  const PresetTable filled = FilledTable();
  std::string bytes = RenderSettings(filled);
  bytes += "extra\r\n";
  for (const std::size_t chunk : {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7},
                                  std::size_t{4096}, bytes.size()}) {
    TestFiles::MemoryFileLayer files;
    files.Put(SettingsName, bytes);
    files.ReadChunk = chunk;
    TestFiles::ScopedFileLayer use(files);
    PresetTable t;
    LoadSettings(t, SettingsName);
    ExpectSameTable(t, filled, "chunks of " + MyFunc::FormatInt(static_cast<std::int64_t>(chunk)));
  }
}

TEST(LoadSettings, FileThatCannotBeOpenedGivesTheDefaults) {
  TestFiles::MemoryFileLayer files;
  files.Put(SettingsName, RenderSettings(FilledTable()));
  files.FailOpenRead = true;
  TestFiles::ScopedFileLayer use(files);
  PresetTable t = FilledTable();
  LoadSettings(t, SettingsName);
  ExpectSameTable(t, PresetTable{}, "open fails");
}

TEST(LoadSettings, ReadErrorKeepsWhatWasReadAndDefaultsTheRest) {
  const PresetTable filled = FilledTable();
  const std::string bytes = RenderSettings(filled);
  // Through the end of the LineWidth line of preset 1, row 2.
  std::size_t budget = 0;
  for (int line = 0; line < RowLine(1, 2, LineWidth); ++line)
    budget = bytes.find("\r\n", budget) + 2;

  TestFiles::MemoryFileLayer files;
  files.Put(SettingsName, bytes);
  files.ReadBudget = budget;
  files.ReadChunk = 16;
  TestFiles::ScopedFileLayer use(files);
  PresetTable t;
  LoadSettings(t, SettingsName);

  PresetTable expected;
  expected.WindowLeft = filled.WindowLeft;
  expected.WindowTop = filled.WindowTop;
  expected.CurrentPreset = filled.CurrentPreset;
  expected.Preset(1).Comment = filled.Preset(1).Comment;
  expected.Preset(1).Row(1) = filled.Preset(1).Row(1);
  expected.Preset(1).Row(2) = filled.Preset(1).Row(2);
  ExpectSameTable(t, expected, "read fails after preset 1 row 2");
}

TEST(SettingsOnDisk, SaveLeavesOnlyTheSettingsFile) {
  TestFiles::TempFolder folder;
  const auto path = folder / "Vomurel.dat";
  const PresetTable filled = FilledTable();

  ASSERT_TRUE(SaveSettings(PresetTable{}, path));
  EXPECT_EQ(TestFiles::ReadFileBytes(path), JoinLines(DefaultFileLines(), "\r\n"));
  ASSERT_TRUE(SaveSettings(filled, path)) << "an existing file is replaced";
  EXPECT_EQ(TestFiles::ReadFileBytes(path), RenderSettings(filled));
  EXPECT_EQ(TestFiles::FolderEntries(folder.Path()), std::vector<std::string>{"Vomurel.dat"});

  PresetTable loaded;
  LoadSettings(loaded, path);
  ExpectSameTable(loaded, filled, "loaded from disk");
}

TEST(SettingsOnDisk, FailedReplaceLeavesNoTemporaryFile) {
  TestFiles::TempFolder folder;
  // A folder in the settings file's place: the new file cannot replace it.
  std::filesystem::create_directory(folder / "Vomurel.dat");
  EXPECT_FALSE(SaveSettings(FilledTable(), folder / "Vomurel.dat"));
  EXPECT_EQ(TestFiles::FolderEntries(folder.Path()), std::vector<std::string>{"Vomurel.dat"});
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Vomurel.dat"));
}

TEST(SettingsOnDisk, SaveIntoAMissingFolderFailsAndCreatesNothing) {
  TestFiles::TempFolder folder;
  EXPECT_FALSE(SaveSettings(FilledTable(), folder / "missing" / "Vomurel.dat"));
  EXPECT_TRUE(TestFiles::FolderEntries(folder.Path()).empty());
}

TEST(SettingsOnDisk, LoadsAFileWrittenByHand) {
  TestFiles::TempFolder folder;
  const auto path = folder / "Vomurel.dat";
  TestFiles::WriteFileBytes(path, "250\n80\r\n7\r\n\x8a\x4f\x95\xc7 A\r\n1\r\n-1.5\r\n\x1A");
  PresetTable t;
  LoadSettings(t, path);
  EXPECT_EQ(t.WindowLeft, 250);
  EXPECT_EQ(t.WindowTop, 80);
  EXPECT_EQ(t.CurrentPreset, 7);
  EXPECT_EQ(t.Preset(1).Comment, "\x8a\x4f\x95\xc7 A");
  EXPECT_TRUE(t.Preset(1).Row(1).Enabled);
  EXPECT_EQ(t.Preset(1).Row(1).Interval, -1.5);
  EXPECT_EQ(t.Preset(1).Row(1).LineWidth, 0) << "past the Ctrl-Z every line is empty";
}

TEST(SettingsPathFor, ProgramPathWithTheExtensionDat) {
  const struct {
    const char* Program;
    const char* Settings;
  } cases[] = {
      {"C:/Jww/Tools/Vomurel.exe", "C:/Jww/Tools/Vomurel.dat"},
      {"Vomurel.exe", "Vomurel.dat"},
      {"/opt/jww/VOMUREL.EXE", "/opt/jww/VOMUREL.dat"},
      {"tools/Vomurel", "tools/Vomurel.dat"},
      {"tools.v2/Vomurel", "tools.v2/Vomurel.dat"},
      {"tools/Vomurel.1.2.exe", "tools/Vomurel.1.2.dat"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SettingsPathFor(c.Program).generic_string(), c.Settings) << c.Program;
  }
}

} // namespace
