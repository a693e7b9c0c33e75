// Only the first argument counts, compared byte for byte.
#include <gtest/gtest.h>

#include "app/Unit1.h"

namespace {

TEST(RunModeFromArguments, OnlyExactOneOrTwoRunUnattended) {
  const struct {
    std::vector<std::string> Args;
    int Expected;
  } cases[] = {
      {{"1"}, Unit1::SingleSegmentRun},
      {{"2"}, Unit1::PathRun},
      {{"1", "x"}, Unit1::SingleSegmentRun},
      {{"2", "1"}, Unit1::PathRun},
      {{}, Unit1::DialogRun},
      {{"3"}, Unit1::DialogRun},
      {{"01"}, Unit1::DialogRun},
      {{"1.0"}, Unit1::DialogRun},
      {{""}, Unit1::DialogRun},
      {{" 1"}, Unit1::DialogRun},
      {{"x", "1"}, Unit1::DialogRun},
      {{"\x82\x50"}, Unit1::DialogRun}, // full-width one
      {{"select"}, Unit1::SelectionRun},
      {{"select", "2"}, Unit1::SelectionRun},
      {{"Select"}, Unit1::DialogRun},
      {{"select "}, Unit1::DialogRun},
      {{"2", "select"}, Unit1::PathRun},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& a : c.Args) shown += "[" + a + "]";
    EXPECT_EQ(Unit1::RunModeFromArguments(c.Args), c.Expected) << shown;
  }
}

} // namespace
