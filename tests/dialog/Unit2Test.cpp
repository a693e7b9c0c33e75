// The item lists are part of the settings file's meaning: a stored Color or
// LineType is a position in them, so sizes, order and bytes must not drift.
#include <gtest/gtest.h>

#include "FakeDialogView.h"
#include "settings/Unit2.h"

namespace Settings {
namespace {

struct ItemCase {
  const std::vector<std::string>& (*List)();
  const char* ListName;
  std::size_t Position;
  const char* Bytes; // Shift-JIS, spelled out so the test does not share the source charset
};

TEST(ItemLists, EntriesAreShiftJisBytesAtTheirPositions) {
  const ItemCase cases[] = {
      {ColorItems, "colour", 0, "\x8c\xbb\x8d\xdd\x90\xfc\x90\x46"}, // 現在線色
      {ColorItems, "colour", 1,
       "\x90\xfc\x90\x46"
       "1"}, // 線色1
      {ColorItems, "colour", 8,
       "\x90\xfc\x90\x46"
       "8"},
      {ColorItems, "colour", 9, "\x95\xe2\x8f\x95\x90\xfc\x90\x46"}, // 補助線色
      {ColorItems, "colour", 10, "SXF/\x8d\x95\x90\x46"},            // SXF/黒色
      {ColorItems, "colour", 18, "S/\x94\x5a\x8e\x87\x90\x46"},      // S/濃紫色
      {ColorItems, "colour", 25, "S/\x88\xc3\x8a\x44\x90\x46"},      // S/暗灰色
      {ColorItems, "colour", 26, "SXF-17"},
      {ColorItems, "colour", 265, "SXF-256"},
      {LineTypeItems, "line type", 0, "\x8c\xbb\x8d\xdd\x90\xfc\x8e\xed"}, // 現在線種
      {LineTypeItems, "line type", 5,
       "\x88\xea\x93\x5f\x8d\xbd\x90\xfc"
       "1"}, // 一点鎖線1
      {LineTypeItems, "line type", 10,
       "\x83\x89\x83\x93\x83\x5f\x83\x80\x90\xfc"
       "1"},
      {LineTypeItems, "line type", 18,
       "\x94\x7b\x92\xb7\x90\xfc\x8e\xed"
       "4"},                                                    // 倍長線種4
      {LineTypeItems, "line type", 19, "SXF/\x8e\xc0\x90\xfc"}, // SXF/実線
      {LineTypeItems, "line type", 34, "(\x97\x5c\x96\xf1)"},   // (予約)
      {LineTypeItems, "line type", 35, "SXF-17"},
      {LineTypeItems, "line type", 50, "SXF-32"},
      {HelpLines, "help", 0,
       "\x81\x9f\x8d\x80\x96\xda\x82\xcc\x8d\xc5\x8f\x89\x82\xcc\x83\x60\x83\x46\x83\x62\x83\x4e"
       "\x82\xcd"},
      {HelpLines, "help", 15,
       "\x81\x40"
       "0\x81\x60"
       "30000\x82\xdc\x82\xc5\x8e\x77\x8e\xa6\x89\xc2"
       "\x94\x5c"},
      {HelpLines, "help", 18, "\x81\x40"}, // a line of one ideographic space
      {HelpLines, "help", 24,
       "\x81\x40Jw_cad\x82\xcc\x83\x43\x83\x93\x83\x58\x83\x67\x81\x5b\x83"
       "\x8b\x81\x45"},
  };
  for (const ItemCase& c : cases) {
    const auto& list = c.List();
    ASSERT_LT(c.Position, list.size()) << c.ListName;
    EXPECT_EQ(list[c.Position], c.Bytes) << c.ListName << " entry " << c.Position;
  }
}

TEST(ItemLists, HaveTheirFixedSizes) {
  EXPECT_EQ(ColorItems().size(), 266u);
  EXPECT_EQ(LineTypeItems().size(), 51u);
  EXPECT_EQ(WidthItems().size(), 26u);
  EXPECT_EQ(HelpLines().size(), 28u);
}

TEST(ItemLists, NumberedRunsCountWithoutGaps) {
  for (std::size_t p = 26; p < 266; ++p) {
    EXPECT_EQ(ColorItems()[p], "SXF-" + std::to_string(p - 9)) << "colour position " << p;
  }
  for (std::size_t p = 35; p < 51; ++p) {
    EXPECT_EQ(LineTypeItems()[p], "SXF-" + std::to_string(p - 18)) << "line type position " << p;
  }
}

TEST(ItemLists, WidthSuggestionsKeepTheirOrderAndDuplicates) {
  const std::vector<std::string> expected{
      "-1",  "0",   "10",  "20",  "30", "40", "50", "60", "70", "80", "90",  "100", "120",
      "150", "200", "250", "300", "13", "18", "25", "35", "50", "70", "100", "140", "200"};
  EXPECT_EQ(WidthItems(), expected);
}

TEST(InitRowFrame, FillsListsAndSetsStartingState) {
  FakeDialogView view;
  // Leftovers from an earlier state must go.
  view.Row(3, "CH1").Checked = true;
  view.Row(3, "CB1").Items = {"stale"};
  InitRowFrame(view, view.FindControl("Frame23"));

  EXPECT_FALSE(view.Row(3, "CH1").Checked);
  EXPECT_FALSE(view.Row(3, "CH2").Checked);
  EXPECT_EQ(view.Row(3, "Edit1").Text, "0.0");
  EXPECT_EQ(view.Row(3, "Edit2").Text, "0.0");
  EXPECT_EQ(view.Row(3, "CB1").Items, ColorItems());
  EXPECT_EQ(view.Row(3, "CB2").Items, LineTypeItems());
  EXPECT_EQ(view.Row(3, "CB3").Items, WidthItems());
  EXPECT_EQ(view.Row(3, "CB1").Selected, 0);
  EXPECT_EQ(view.Row(3, "CB2").Selected, 0);
  EXPECT_EQ(view.Row(3, "CB3").Text, "-1");
  // Only the frame it was given.
  EXPECT_TRUE(view.Row(4, "CB1").Items.empty());
}

} // namespace
} // namespace Settings
