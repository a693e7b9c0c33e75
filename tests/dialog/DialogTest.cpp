// The dialog logic against an in-memory window: what the user sees after
// opening, what typing and tab changes store, and what OK and Cancel write.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "FakeDialogView.h"
#include "settings/Dialog.h"
#include "settings/Presets.h"
#include "tests/support/TestFiles.h"

namespace Settings {
namespace {

namespace fs = std::filesystem;

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              (std::string("vomurel-dialog-") + info->test_suite_name() + "-" + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    settingsPath_ = folder_ / "vomurel.dat";
  }
  void TearDown() override { fs::remove_all(folder_); }

  // Loads the settings as a dialog run does and opens the dialog.
  void OpenDialog() {
    LoadSettings(table_, settingsPath_);
    dialog_.Open();
  }
  // What the tab strip does when the user picks tab number n.
  void SwitchToTab(int n) {
    dialog_.TabControl1Changing();
    view_.SelectTab(n - 1);
    dialog_.TabControl1Change();
  }
  PresetTable Reload() {
    PresetTable loaded;
    LoadSettings(loaded, settingsPath_);
    return loaded;
  }

  fs::path folder_;
  fs::path settingsPath_;
  PresetTable table_;
  FakeDialogView view_;
  PresetDialog dialog_{table_, view_};
};

TEST_F(DialogTest, FirstStartShowsDefaults) {
  OpenDialog();
  EXPECT_EQ(view_.Left, 100);
  EXPECT_EQ(view_.Top, 100);
  EXPECT_EQ(view_.Tab, 0);
  EXPECT_EQ(view_.Named("EditC").Text, "");
  for (int row = 1; row <= RowCount; ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    EXPECT_FALSE(view_.Row(row, "CH1").Checked);
    EXPECT_FALSE(view_.Row(row, "CH2").Checked);
    EXPECT_EQ(view_.Row(row, "Edit1").Text, "0");
    EXPECT_EQ(view_.Row(row, "Edit2").Text, "0");
    EXPECT_EQ(view_.Row(row, "CB1").Selected, 0);
    EXPECT_EQ(view_.Row(row, "CB2").Selected, 0);
    EXPECT_EQ(view_.Row(row, "CB3").Text, "-1");
    EXPECT_EQ(view_.Row(row, "CB1").Items.size(), 266u);
  }
  EXPECT_EQ(view_.CloseCount, 0);
  EXPECT_FALSE(fs::exists(settingsPath_)) << "opening must not write the settings file";
}

TEST_F(DialogTest, OpensOnTheCurrentPresetAtTheSavedPosition) {
  table_.WindowLeft = 250;
  table_.WindowTop = 80;
  table_.CurrentPreset = 7;
  table_.Preset(7).Comment = "seven";
  table_.Preset(7).Row(2) = {true, 12.5, 1, true, 3, 4, 25};
  ASSERT_TRUE(SaveSettings(table_, settingsPath_));
  table_ = PresetTable{};

  OpenDialog();
  EXPECT_EQ(view_.Left, 250);
  EXPECT_EQ(view_.Top, 80);
  EXPECT_EQ(view_.Tab, 6);
  EXPECT_EQ(view_.Named("EditC").Text, "seven");
  EXPECT_TRUE(view_.Row(2, "CH1").Checked);
  EXPECT_EQ(view_.Row(2, "Edit1").Text, "12.5");
  EXPECT_EQ(view_.Row(2, "Edit2").Text, "1");
  EXPECT_TRUE(view_.Row(2, "CH2").Checked);
  EXPECT_EQ(view_.Row(2, "CB1").Selected, 3);
  EXPECT_EQ(view_.Row(2, "CB2").Selected, 4);
  EXPECT_EQ(view_.Row(2, "CB3").Text, "25");
  EXPECT_FALSE(view_.Row(1, "CH1").Checked);
}

TEST_F(DialogTest, TypedRealsAreReadTolerantlyAndShownInShortForm) {
  struct Case {
    const char* Typed;
    double Stored;
    const char* ShownBack;
  };
  const Case cases[] = {
      {"1,5", 0.0, "0"},         {"abc", 0.0, "0"},         {"", 0.0, "0"},
      {"2.50", 2.5, "2.5"},      {"-0.75", -0.75, "-0.75"}, {"1000.000", 1000.0, "1000"},
      {"0.00001", 1e-5, "1E-5"}, {"  3", 3.0, "3"},         {"1.5 ", 0.0, "0"},
  };
  OpenDialog();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("typed \"") + c.Typed + "\"");
    view_.Row(1, "Edit1").Text = c.Typed;
    view_.Row(10, "Edit2").Text = c.Typed;
    SwitchToTab(2);
    EXPECT_EQ(table_.Preset(1).Row(1).Interval, c.Stored);
    EXPECT_EQ(table_.Preset(1).Row(10).Chamfer, c.Stored);
    SwitchToTab(1);
    EXPECT_EQ(view_.Row(1, "Edit1").Text, c.ShownBack);
    EXPECT_EQ(view_.Row(10, "Edit2").Text, c.ShownBack);
  }
}

TEST_F(DialogTest, WidthsOutsideTheRangeAreStoredAsCurrentWidth) {
  struct Case {
    const char* Typed;
    int Stored;
  };
  const Case cases[] = {
      {"40000", -1}, {"-5", -1}, {"12", 12}, {"30000", 30000}, {"30001", -1},
      {"-1", -1},    {"0", 0},   {"abc", 0}, {"", 0},          {"99999999999", 0},
  };
  OpenDialog();
  for (const Case& c : cases) {
    view_.Row(4, "CB3").Text = c.Typed;
    dialog_.Button1Click(settingsPath_);
    EXPECT_EQ(table_.Preset(1).Row(4).LineWidth, c.Stored) << "typed \"" << c.Typed << "\"";
    EXPECT_EQ(Reload().Preset(1).Row(4).LineWidth, c.Stored) << "typed \"" << c.Typed << "\"";
  }
}

TEST_F(DialogTest, PositionsOutsideTheListsShowNoSelectionAndStoreMinusOne) {
  table_.Preset(1).Row(5).Color = 300;
  table_.Preset(1).Row(5).LineType = 51;
  table_.Preset(1).Row(6).Color = 265; // last entry still selectable
  table_.Preset(1).Row(6).LineType = -7;
  ASSERT_TRUE(SaveSettings(table_, settingsPath_));
  table_ = PresetTable{};

  OpenDialog();
  EXPECT_EQ(view_.Row(5, "CB1").Selected, -1);
  EXPECT_EQ(view_.Row(5, "CB2").Selected, -1);
  EXPECT_EQ(view_.Row(6, "CB1").Selected, 265);
  EXPECT_EQ(view_.Row(6, "CB2").Selected, -1);
  SwitchToTab(3);
  EXPECT_EQ(table_.Preset(1).Row(5).Color, -1);
  EXPECT_EQ(table_.Preset(1).Row(5).LineType, -1);
  EXPECT_EQ(table_.Preset(1).Row(6).Color, 265);
  EXPECT_EQ(table_.Preset(1).Row(6).LineType, -1);
}

TEST_F(DialogTest, EveryRowReachesItsOwnRowOfThePreset) {
  // Row 10's frame is "Frame210": a lookup by prefix would land on row 1.
  OpenDialog();
  for (int row = 1; row <= RowCount; ++row) {
    view_.Row(row, "CH1").Checked = row % 2 == 0;
    view_.Row(row, "Edit1").Text = std::to_string(row);
    view_.Row(row, "Edit2").Text = std::to_string(row * 10);
    view_.Row(row, "CH2").Checked = row % 3 == 0;
    view_.Row(row, "CB1").Selected = row + 20;
    view_.Row(row, "CB2").Selected = row + 30;
    view_.Row(row, "CB3").Text = std::to_string(row * 100);
  }
  SwitchToTab(20);
  for (int row = 1; row <= RowCount; ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    const LineRow& r = table_.Preset(1).Row(row);
    EXPECT_EQ(r.Enabled, row % 2 == 0);
    EXPECT_EQ(r.Interval, row);
    EXPECT_EQ(r.Chamfer, row * 10);
    EXPECT_EQ(r.PaperUnit, row % 3 == 0);
    EXPECT_EQ(r.Color, row + 20);
    EXPECT_EQ(r.LineType, row + 30);
    EXPECT_EQ(r.LineWidth, row * 100);
    // Tab 20 is still untouched.
    EXPECT_EQ(view_.Row(row, "Edit1").Text, "0");
  }
  EXPECT_EQ(view_.Tab, 19);
}

TEST_F(DialogTest, EditingTwoTabsAndConfirmingSavesBothWithTheLastCurrent) {
  OpenDialog();
  SwitchToTab(2);
  view_.Named("EditC").Text = "\x8e\x4f\x8f\x64\x90\xfc"; // 三重線, Shift-JIS
  view_.Row(1, "CH1").Checked = true;
  view_.Row(1, "Edit1").Text = "5";
  SwitchToTab(5);
  view_.Named("EditC").Text = "  five  ";
  view_.Row(3, "CH1").Checked = true;
  view_.Row(3, "CB1").Selected = 2;
  EXPECT_FALSE(fs::exists(settingsPath_)) << "switching tabs must not save";
  EXPECT_EQ(table_.CurrentPreset, 1) << "switching tabs must not change the current preset";
  view_.Left = 321;
  view_.Top = -4;
  dialog_.Button1Click(settingsPath_);

  EXPECT_EQ(view_.CloseCount, 1);
  const PresetTable saved = Reload();
  EXPECT_EQ(saved.CurrentPreset, 5);
  EXPECT_EQ(saved.WindowLeft, 321);
  EXPECT_EQ(saved.WindowTop, -4);
  EXPECT_EQ(saved.Preset(2).Comment, "\x8e\x4f\x8f\x64\x90\xfc");
  EXPECT_TRUE(saved.Preset(2).Row(1).Enabled);
  EXPECT_EQ(saved.Preset(2).Row(1).Interval, 5.0);
  EXPECT_EQ(saved.Preset(5).Comment, "  five  ");
  EXPECT_TRUE(saved.Preset(5).Row(3).Enabled);
  EXPECT_EQ(saved.Preset(5).Row(3).Color, 2);
  EXPECT_EQ(saved.Preset(1).Comment, "");
  EXPECT_FALSE(saved.Preset(1).Row(1).Enabled);
}

TEST_F(DialogTest, CancelClosesAndLeavesTheFileAsItWas) {
  table_.CurrentPreset = 3;
  table_.Preset(3).Comment = "kept";
  ASSERT_TRUE(SaveSettings(table_, settingsPath_));
  const std::string before = TestFiles::ReadFileBytes(settingsPath_);
  table_ = PresetTable{};

  OpenDialog();
  view_.Named("EditC").Text = "changed";
  SwitchToTab(9);
  view_.Row(1, "CH1").Checked = true;
  view_.Left = 500;
  dialog_.Button2Click();

  EXPECT_EQ(view_.CloseCount, 1);
  EXPECT_EQ(TestFiles::ReadFileBytes(settingsPath_), before);
}

TEST_F(DialogTest, CancelOnFirstStartCreatesNoFile) {
  OpenDialog();
  view_.Row(1, "CH1").Checked = true;
  dialog_.Button2Click();
  EXPECT_FALSE(fs::exists(settingsPath_));
}

TEST_F(DialogTest, FailedSaveKeepsTheDialogAndEveryEdit) {
  // A folder where the file should go: replacing it fails on every system.
  OpenDialog();
  fs::create_directories(settingsPath_);
  SwitchToTab(4);
  view_.Row(1, "CH1").Checked = true;
  view_.Row(1, "Edit1").Text = "12.5";
  SwitchToTab(6);
  view_.Named("EditC").Text = "six";
  view_.Row(2, "Edit2").Text = "7";
  view_.Left = 333;
  dialog_.Button1Click(settingsPath_);

  EXPECT_EQ(view_.CloseCount, 0) << "the dialog stays open";
  ASSERT_EQ(view_.Failures.size(), 1u);
  EXPECT_EQ(view_.Failures[0].File, settingsPath_);
  EXPECT_TRUE(view_.Failures[0].Reason) << "a reason is given";
  EXPECT_EQ(view_.Tab, 5);
  EXPECT_EQ(view_.Named("EditC").Text, "six");
  EXPECT_EQ(view_.Row(2, "Edit2").Text, "7");
  EXPECT_EQ(view_.Left, 333);
  EXPECT_TRUE(fs::is_directory(settingsPath_));
  EXPECT_EQ(TestFiles::FolderEntries(folder_), std::vector<std::string>{"vomurel.dat"})
      << "no temporary file";

  // Another tab and back: both edited tabs are still there.
  SwitchToTab(4);
  EXPECT_TRUE(view_.Row(1, "CH1").Checked);
  SwitchToTab(6);
  EXPECT_EQ(view_.Row(2, "Edit2").Text, "7");

  // The cause removed, OK again saves everything with tab 6 current.
  fs::remove(settingsPath_);
  dialog_.Button1Click(settingsPath_);
  EXPECT_EQ(view_.CloseCount, 1);
  EXPECT_EQ(view_.Failures.size(), 1u);
  const PresetTable saved = Reload();
  EXPECT_EQ(saved.CurrentPreset, 6);
  EXPECT_EQ(saved.WindowLeft, 333);
  EXPECT_EQ(saved.Preset(6).Comment, "six");
  EXPECT_EQ(saved.Preset(6).Row(2).Chamfer, 7.0);
  EXPECT_TRUE(saved.Preset(4).Row(1).Enabled);
}

TEST_F(DialogTest, CancelAfterAFailedSaveWritesNothing) {
  // Each way the save can fail, through the file layer.
  const struct {
    const char* Name;
    bool FailCreate, FailClose, FailReplace;
    std::errc Reason;
  } cases[] = {
      {"create", true, false, false, std::errc::permission_denied},
      {"close", false, true, false, std::errc::no_space_on_device},
      {"replace", false, false, true, std::errc::device_or_resource_busy},
      {"close, no reason given", false, true, false, std::errc{}}, // told as an I/O error
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TestFiles::MemoryFileLayer files;
    files.Put(settingsPath_, RenderSettings(PresetTable{}));
    files.FailCreate = c.FailCreate;
    files.FailClose = c.FailClose;
    files.FailReplace = c.FailReplace;
    files.FailureReason = std::make_error_code(c.Reason);
    TestFiles::ScopedFileLayer use(files);
    FakeDialogView view;
    PresetTable table;
    PresetDialog dialog(table, view);
    LoadSettings(table, settingsPath_);
    dialog.Open();
    view.Row(3, "CH1").Checked = true;
    dialog.Button1Click(settingsPath_);
    ASSERT_EQ(view.Failures.size(), 1u);
    EXPECT_EQ(view.Failures[0].Reason,
              std::make_error_code(c.Reason == std::errc{} ? std::errc::io_error : c.Reason));
    EXPECT_TRUE(view.Row(3, "CH1").Checked);
    dialog.Button2Click();
    EXPECT_EQ(view.CloseCount, 1);
    EXPECT_EQ(files.Bytes(settingsPath_), RenderSettings(PresetTable{}));
    EXPECT_EQ(files.Stored.size(), 1u) << "no temporary file";
  }
}

TEST_F(DialogTest, CommentsKeepTheirBytes) {
  const std::string comments[] = {
      "", "  leading and trailing  ",
      "\x95\xbd\x8d\x73\x90\xfc\x81\x40\x82\x52\x96\x7b", // 平行線　３本
      "\x83\x5c\x83\x74\x83\x67",                         // ソフト: second bytes 0x5C
  };
  OpenDialog();
  for (const std::string& comment : comments) {
    view_.Named("EditC").Text = comment;
    SwitchToTab(2);
    EXPECT_EQ(table_.Preset(1).Comment, comment);
    SwitchToTab(1);
    EXPECT_EQ(view_.Named("EditC").Text, comment);
  }
}

TEST_F(DialogTest, CopyPasteAndClearActOnTheVisiblePresetUntilOk) {
  const auto asSaved = [](const TLineTable& preset) { // the comment and every field
    PresetTable table;
    table.Preset(1) = preset;
    return RenderSettings(table);
  };
  table_.Preset(3).Row(10) = {true, 12.5, 0.25, true, 11, 12, 13}; // row 10: "Frame210"
  ASSERT_TRUE(SaveSettings(table_, settingsPath_));
  OpenDialog();
  SwitchToTab(3);
  view_.Named("EditC").Text = "three"; // typed, not stored: the copy takes the controls
  const std::string typed = asSaved(ReadTab(view_));
  dialog_.PastePreset(); // nothing copied yet: nothing happens
  EXPECT_EQ(asSaved(ReadTab(view_)), typed);
  dialog_.CopyPreset();
  SwitchToTab(7);
  dialog_.PastePreset();
  EXPECT_EQ(asSaved(ReadTab(view_)), typed);
  dialog_.ClearPreset();
  EXPECT_EQ(asSaved(ReadTab(view_)), asSaved(TLineTable{}));
  SwitchToTab(5);
  dialog_.PastePreset();
  EXPECT_EQ(asSaved(table_.Preset(5)), typed) << "the table holds what the controls show";
  dialog_.Button1Click(settingsPath_);
  const PresetTable saved = Reload();
  EXPECT_EQ(saved.CurrentPreset, 5);
  EXPECT_EQ(asSaved(saved.Preset(5)), typed);
  EXPECT_EQ(asSaved(saved.Preset(7)), asSaved(TLineTable{}));
  // None of them writes a file: Cancel after them leaves it as loaded.
  const std::string before = TestFiles::ReadFileBytes(settingsPath_);
  OpenDialog();
  SwitchToTab(2);
  dialog_.PastePreset();
  SwitchToTab(5);
  dialog_.ClearPreset();
  dialog_.Button2Click();
  EXPECT_EQ(TestFiles::ReadFileBytes(settingsPath_), before);
}

} // namespace
} // namespace Settings
