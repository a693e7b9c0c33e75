// The host description and the exchange file jwhost writes from it: the
// bytes are what the tool reads, so they are compared exactly.
#include <gtest/gtest.h>

#include <string>

#include "tools/jwhost/DescriptionText.h"
#include "tools/jwhost/HostDescription.h"

namespace {

using JwHost::HostScene;

HostScene Parse(const std::string& text) {
  HostScene scene;
  std::string error;
  EXPECT_TRUE(JwHost::ParseHostDescription(text, scene, error)) << error << "\n" << text;
  return scene;
}

TEST(HostDescription, EmptyDescriptionWritesTheHostDefaults) {
  EXPECT_EQ(JwHost::ExchangeText(Parse("")),
            "hs 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1\r\nlg0\r\nly0\r\nlc1\r\nlt1\r\n");
}

TEST(HostDescription, WritesEveryRecordInTheHostsOrder) {
  const HostScene scene = Parse(
      "# a comment line\n"
      "title L path\n"
      "mode 1\n"
      "layer 2 10\n"
      "scale 2 100\n"
      "lc 3\n"
      "lt 2\n"
      "lw 5\n"
      "point 0 0\n"
      "point 100.5 -0.25\n"
      "line 0 0 100.5 -2\n"
      "raw lg5\n"
      "polyline 0 0 10 0 10 10\n");
  EXPECT_EQ(scene.Title, "L path");
  EXPECT_EQ(scene.Mode, "1");
  EXPECT_EQ(scene.Selected.size(), 3u);
  // Selected elements and raw records in description order; a polyline's
  // lines between "pl" and "#", as the tool's reader takes them.
  EXPECT_EQ(JwHost::ExchangeText(scene),
            "hs 1 1 100 1 1 1 1 1 1 1 1 1 1 1 1 1\r\n"
            "lg2\r\nlyA\r\nlc3\r\nlt2\r\nlw5\r\n"
            "hp1 0 0\r\nhp2 100.5 -0.25\r\n"
            " 0 0 100.5 -2\r\nlg5\r\npl\r\n 0 0 10 0\r\n 10 0 10 10\r\n#\r\n");
  EXPECT_EQ(Parse("mode select\n").Mode, "select");
}

TEST(HostDescription, ScalesSetsAllSixteenGroups) {
  const HostScene scene = Parse("scales 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 0.5\nscale 15 1e3\n");
  EXPECT_EQ(JwHost::ExchangeText(scene).substr(0, 45),
            "hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 1000\r\n");
}

TEST(HostDescription, AcceptsCrLfTabsAndIndentedComments) {
  const HostScene scene = Parse("  # note\r\n\tpoint\t1  2 \r\n\r\npoint 3 4\r\n");
  ASSERT_EQ(scene.Points.size(), 2u);
  EXPECT_EQ(scene.Points[0].X, 1.0);
  EXPECT_EQ(scene.Points[1].Y, 4.0);
}

TEST(HostDescription, RawRecordKeepsItsBlanks) {
  const HostScene scene = Parse("raw ch 0 0 1 0 \"a  b \n");
  ASSERT_EQ(scene.Records.size(), 1u);
  EXPECT_EQ(scene.Records[0], "ch 0 0 1 0 \"a  b ");
}

TEST(HostDescription, JapaneseTextBecomesShiftJis) {
  std::string bytes, error;
  ASSERT_TRUE(JwHost::ExchangeBytes(Parse("raw lgn\xE5\xA3\x81\n"), bytes, error)) << error;
  EXPECT_NE(bytes.find("lgn\x95\xC7\r\n"), std::string::npos);
}

TEST(HostDescription, CharacterWithoutShiftJisFormIsRefused) {
  std::string bytes, error;
  EXPECT_FALSE(JwHost::ExchangeBytes(Parse("raw \xF0\x9F\x98\x80\n"), bytes, error));
  EXPECT_FALSE(error.empty());
}

TEST(HostDescription, ErrorsNameTheLineAndTheProblem) {
  std::string hundredPoints;
  for (int i = 0; i < 100; ++i) hundredPoints += "point 0 0\n";
  const struct {
    std::string Text;
    std::string Expected;
  } cases[] = {
      {"bogus 1\n", "line 1: unknown record \"bogus\""},
      {"\n# c\nlayer 16 0\n", "line 3: \"16\" is not a whole number from 0 to 15"},
      {"layer 1\n", "line 1: expected \"layer <group> <layer>\""},
      {"mode 3\n", "line 1: \"3\" is not a whole number from 1 to 2"},
      {"line 0 0 1\n", "line 1: expected \"line <x1> <y1> <x2> <y2>\""},
      {"polyline 0 0\n", "line 1: expected \"polyline <x1> <y1> <x2> <y2> ...\", pairs of numbers"},
      {"polyline 0 0 1 1 2\n",
       "line 1: expected \"polyline <x1> <y1> <x2> <y2> ...\", pairs of numbers"},
      {"point 1\n", "line 1: expected \"point <x> <y>\""},
      {"point 1 2x\n", "line 1: \"2x\" is not a number"},
      {"scales 1 2 3\n", "line 1: expected \"scales <s0> ... <s15>, 16 numbers\""},
      {"scale 16 100\n", "line 1: \"16\" is not a whole number from 0 to 15"},
      {"lc 1.5\n", "line 1: \"1.5\" is not a whole number from -2147483648 to 2147483647"},
      {hundredPoints, "line 100: the host picks at most 99 points"},
  };
  for (const auto& c : cases) {
    HostScene scene;
    std::string error;
    EXPECT_FALSE(JwHost::ParseHostDescription(c.Text, scene, error)) << c.Text;
    EXPECT_EQ(error, c.Expected) << c.Text;
  }
}

TEST(DescriptionNumbers, RealsAreStrictDecimals) {
  const struct {
    const char* Text;
    bool Ok;
    double Value;
  } cases[] = {
      {"10", true, 10},    {"-0.5", true, -0.5},  {".5", true, 0.5},  {"5.", true, 5},
      {"1e3", true, 1000}, {"+2E-2", true, 0.02}, {"0e999", true, 0}, {"0", true, 0},
      {"", false, 0},      {"+", false, 0},       {".", false, 0},    {"1e", false, 0},
      {"1e999", false, 0}, {"0x10", false, 0},    {"$10", false, 0},  {"1,5", false, 0},
      {"1 ", false, 0},    {"nan", false, 0},
  };
  for (const auto& c : cases) {
    double v = -1;
    EXPECT_EQ(JwHost::ReadReal(c.Text, v), c.Ok) << '"' << c.Text << '"';
    if (c.Ok) {
      EXPECT_EQ(v, c.Value) << c.Text;
    }
  }
}

TEST(DescriptionNumbers, WholeNumbersStayWithin32Bits) {
  const struct {
    const char* Text;
    bool Ok;
    int Value;
  } cases[] = {
      {"0", true, 0},
      {"-1", true, -1},
      {"+7", true, 7},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {"1.0", false, 0},
      {"$A", false, 0},
      {"", false, 0},
      {"-", false, 0},
  };
  for (const auto& c : cases) {
    int v = -99;
    EXPECT_EQ(JwHost::ReadInt(c.Text, v), c.Ok) << '"' << c.Text << '"';
    if (c.Ok) {
      EXPECT_EQ(v, c.Value) << c.Text;
    }
  }
}

} // namespace
