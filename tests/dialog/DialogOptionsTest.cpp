// The drawing options in the dialog: they follow the tabs as the rows do,
// OK writes the options file only when needed, Cancel writes nothing.
#include <gtest/gtest.h>

#include <string>

#include "FakeDialogView.h"
#include "settings/Dialog.h"
#include "settings/Presets.h"
#include "tests/support/MemoryFileLayer.h"

namespace Settings {
namespace {

const std::string DatName = "jw/vomurel.dat";
const std::string IniName = "jw/vomurel.ini";

class DialogOptionsTest : public ::testing::Test {
 protected:
  void Open(bool withControls = true) {
    if (withControls) view_.AddOptionControls();
    LoadSettings(table_, DatName);
    LoadOptions(table_, IniName);
    dialog_.Open();
  }
  void SwitchToTab(int n) {
    dialog_.TabControl1Changing();
    view_.SelectTab(n - 1);
    dialog_.TabControl1Change();
  }
  PresetTable Saved() {
    PresetTable saved;
    LoadSettings(saved, DatName);
    LoadOptions(saved, IniName);
    return saved;
  }

  TestFiles::MemoryFileLayer files_;
  TestFiles::ScopedFileLayer use_{files_};
  PresetTable table_;
  FakeDialogView view_;
  PresetDialog dialog_{table_, view_};
};

TEST_F(DialogOptionsTest, OpenFillsTheCapListsAndShowsTheCurrentPresetsOptions) {
  files_.Put(DatName, "100\r\n100\r\n2\r\n");
  files_.Put(IniName, "[2]\r\nEndCap=1\r\nCapOverhang=1.50\r\nCapColor=3\r\nCapLineWidth=13\r\n");
  Open();
  EXPECT_EQ(view_.Named("CapColor").Items.size(), 266U);
  EXPECT_EQ(view_.Named("CapLineType").Items.size(), 51U);
  EXPECT_EQ(view_.Named("CapLineWidth").Items.size(), 26U);
  EXPECT_FALSE(view_.Named("StartCap").Checked);
  EXPECT_TRUE(view_.Named("EndCap").Checked);
  EXPECT_EQ(view_.Named("CapOverhang").Text, "1.5");
  EXPECT_EQ(view_.Named("CapColor").Selected, 3);
  EXPECT_EQ(view_.Named("CapLineType").Selected, 0);
  EXPECT_EQ(view_.Named("CapLineWidth").Text, "13");
}

TEST_F(DialogOptionsTest, OptionsFollowTheTabsAndOkWritesThem) {
  Open();
  view_.Named("StartCap").Checked = true;
  view_.Named("CapOverhang").Text = "-4"; // no negative overhang: stored as 0
  SwitchToTab(5);
  EXPECT_FALSE(view_.Named("StartCap").Checked) << "preset 5 shows its own options";
  view_.Named("RoundCorners").Checked = true;
  view_.Named("CapLineWidth").Text = "40000";
  SwitchToTab(1);
  EXPECT_TRUE(view_.Named("StartCap").Checked);
  EXPECT_EQ(view_.Named("CapOverhang").Text, "0");
  dialog_.Button1Click(DatName);
  ASSERT_EQ(view_.CloseCount, 1);
  const PresetTable saved = Saved();
  EXPECT_EQ(saved.Preset(1).Options, DrawOptions{.StartCap = true});
  EXPECT_EQ(saved.Preset(5).Options, DrawOptions{.RoundCorners = true});
  EXPECT_EQ(files_.Bytes(IniName).substr(0, 16), "[1]\r\nStartCap=1\r");
}

TEST_F(DialogOptionsTest, NoOptionsFileWithoutOptionsAndNothingOnCancel) {
  Open();
  view_.Named("EndCap").Checked = true;
  dialog_.Button2Click();
  EXPECT_TRUE(files_.Stored.empty()) << "Cancel writes nothing";

  view_.Named("EndCap").Checked = false;
  dialog_.Button1Click(DatName);
  EXPECT_TRUE(files_.Has(DatName));
  EXPECT_FALSE(files_.Has(IniName)) << "no option was set";
}

TEST_F(DialogOptionsTest, CopyPasteAndClearCarryTheOptions) {
  Open();
  view_.Named("EndCap").Checked = true;
  view_.Named("CapOverhang").Text = "2.5"; // not yet stored: copied as shown
  dialog_.CopyPreset();
  SwitchToTab(4);
  dialog_.PastePreset();
  EXPECT_TRUE(view_.Named("EndCap").Checked);
  EXPECT_EQ(table_.Preset(4).Options, (DrawOptions{.EndCap = true, .CapOverhang = 2.5}));
  SwitchToTab(1);
  dialog_.ClearPreset();
  EXPECT_FALSE(view_.Named("EndCap").Checked);
  EXPECT_EQ(view_.Named("CapOverhang").Text, "0");
}

// A window without the options' controls cannot edit them: OK keeps them.
TEST_F(DialogOptionsTest, WithoutTheControlsOkKeepsTheLoadedOptions) {
  files_.Put(IniName, "[1]\r\nRoundCorners=1\r\n");
  Open(false);
  SwitchToTab(2);
  SwitchToTab(1);
  dialog_.Button1Click(DatName);
  EXPECT_EQ(Saved().Preset(1).Options, DrawOptions{.RoundCorners = true});
}

TEST_F(DialogOptionsTest, AFailedOptionsSaveNamesTheFileAndKeepsTheDialog) {
  Open();
  view_.Named("StartCap").Checked = true;
  files_.FailOnly = ".ini.new";
  files_.FailCreate = true;
  dialog_.Button1Click(DatName);
  EXPECT_EQ(view_.CloseCount, 0);
  ASSERT_EQ(view_.Failures.size(), 1U);
  EXPECT_EQ(view_.Failures[0].File.generic_string(), IniName);
  EXPECT_TRUE(view_.Named("StartCap").Checked);
  EXPECT_FALSE(files_.Has(DatName)) << "neither file is written";
}

} // namespace
} // namespace Settings
