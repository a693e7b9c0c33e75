// Which record a line is, and what the header, attribute, mode and picked
// point records set.
#include <cstring>
#include <random>
#include <string>

#include "common/MyFunc.h"

#include "ExchangeFixture.h"

using namespace ZizAvodi;

namespace {

const ExchangeState& S = Exchange;

// Kind code of the one element the line stored, 0 for none.
std::int32_t StoredKind(std::string_view line) {
  ResetExchangeState();
  ParseExchangeLine(line);
  if (S.EntityOrder.Count() == 0) return 0;
  EXPECT_EQ(S.EntityOrder.Count(), 1) << line;
  return S.EntityOrder[0].Kind;
}

using RuleSelection = ExchangeTest;

TEST_F(RuleSelection, KeywordAndTokenCountChooseTheRecord) {
  const struct {
    const char* Line;
    std::int32_t Kind;
  } cases[] = {
      {"ci 1 2 3", KindCircle},
      {"ci 1 2 3 ", 0}, // five slots: neither circle nor arc
      {"ci 1 2 3 4 5 6 7", KindArc},
      {"ci 1 2 3 4 5 6", 0},
      {"ch 1 2 3 4 \"a", KindText},
      {"c2 1 2 3 4 \"a", KindText},
      {"ch 1 2 3 4", 0},
      {"CH 1 2 3 4 \"a", 0}, // case-sensitive
      {"pt 1 2", KindPoint},
      {"pt 1 2 3 4 5", KindPointEx},
      {"BL 1 2 name", KindBlock},
      {"BL 1 2", 0},
      {"sl 1 2 3 4", KindSolid2},
      {"sc 1 2 3 4 5 6 7 8", KindSc},
      {"se 1 2 3 4 5 6 7 8", KindSe},
      {"so 1 2 3 4 5 6 7 8", KindSo},
      {"sg 1 2 3 4 5 6 7 8", KindSg},
      {"1 2 3 4", KindLine},
      {"1 2 3", 0},
      {"1 2 3 4 5", 0},
      // a keyword whose count fails falls through to the plain line
      {"hs 1 2 3", KindLine},
      {"ch 1 2 3", KindLine},
      {"pt 1 2 3", KindLine},
      {"sl 1 2 3", KindLine},
      {"sc 1 2 3", KindLine},
      {"hk 1 2 3", 0}, // a header record with spare tokens
      // "starts" records take any count and never fall through
      {"lc1 2 3 4", 0},
      {"hp1 2 3 4", 0},
      {"xfile=a 1 2 3", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(StoredKind(c.Line), c.Kind) << "line: " << c.Line;
}

TEST_F(RuleSelection, FallThroughReadsTheKeywordAsZero) {
  Parse({"hs 1 2 3"});
  ASSERT_EQ(S.Lines.Count(), 1);
  const TJwwEntLine& line = S.Lines[0];
  EXPECT_EQ(line.X1, 0.0);
  EXPECT_EQ(line.Y1, 1.0);
  EXPECT_EQ(line.X2, 2.0);
  EXPECT_EQ(line.Y2, 3.0);
  EXPECT_EQ(S.LayerGroupScales[0], 1.0);
}

using HeaderRecords = ExchangeTest;

TEST_F(HeaderRecords, FillTheDrawingHeader) {
  Parse({"file=C:\\jww\\My Drawing.jww", "hk 2.5", "hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16",
         "hzs 420 297", "hcw 1 2 3 4 5 6 7 8 9 10", "hch 11 12 13 14 15 16 17 18 19 20",
         "hcd 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1", "hcc 1 2 3 4 5 6 7 8 9 x", "bz",
         "hn 1.5 2.5 3.5 4.5"});
  EXPECT_EQ(S.DrawingFileName, "C:\\jww\\My Drawing.jww");
  EXPECT_EQ(S.HkValue, 2.5);
  for (int g = 0; g < 16; ++g) EXPECT_EQ(S.LayerGroupScales[g], g + 1.0) << "group " << g;
  EXPECT_EQ(S.PaperWidth, 420.0);
  EXPECT_EQ(S.PaperHeight, 297.0);
  EXPECT_EQ(S.TextSizeTable[1].Width, 1.0);
  EXPECT_EQ(S.TextSizeTable[10].Height, 20.0);
  EXPECT_EQ(S.TextSizeTable[3].Spacing, 0.3);
  EXPECT_EQ(S.TextSizeTable[9].Color, 9);
  EXPECT_EQ(S.TextSizeTable[10].Color, 0); // not a number
  EXPECT_TRUE(S.BzFlag);
  EXPECT_EQ(S.HnValues[4], 4.5);
}

TEST_F(HeaderRecords, ShortRecordsAreIgnored) {
  Parse({"hs 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15", "hzs 420", "hcw 1 2 3 4 5 6 7 8 9", "hk"});
  EXPECT_EQ(S.LayerGroupScales[0], 1.0);
  EXPECT_EQ(S.PaperWidth, 1189.0);
  EXPECT_EQ(S.TextSizeTable[1].Width, 3.0);
  EXPECT_EQ(S.HkValue, 0.0);
}

using AttributeRecords = ExchangeTest;

TEST_F(AttributeRecords, FirstRecordOfAKindIsTheHostSetting) {
  Parse({"lg2", "ly5", "lc3", "lt2", "lw4", "cn4", "lg3", "ly6", "lc7", "lt5", "lw1", "cn2"});
  EXPECT_EQ(S.InitialLayerGroup, 2);
  EXPECT_EQ(S.InitialLayer, 5);
  EXPECT_EQ(S.InitialLineColor, 3);
  EXPECT_EQ(S.InitialLineType, 2);
  EXPECT_EQ(S.InitialLineWidth, 4);
  EXPECT_EQ(S.InitialTextSizeNo, 4);
  EXPECT_EQ(S.CurLayerGroup, 3);
  EXPECT_EQ(S.CurLayer, 6);
  EXPECT_EQ(S.CurLineColor, 7);
  EXPECT_EQ(S.CurLineType, 5);
  EXPECT_EQ(S.CurLineWidth, 1);
  EXPECT_EQ(S.CurTextSizeNo, 2);
  EXPECT_TRUE(S.LineWidthSeen);
  EXPECT_FALSE(S.LgPending || S.LyPending || S.LcPending || S.LtPending || S.LwPending ||
               S.CnPending);
}

TEST_F(AttributeRecords, LayerNumbersAreOneHexDigit) {
  const struct {
    const char* Line;
    std::int32_t Group;
  } cases[] = {{"lg0", 0},  {"lg9", 9}, {"lga", 10}, {"lgF", 15}, {"lgf", 15},
               {"lg12", 1}, {"lgG", 0}, {"lg", 0},   {"lg-1", 0}, {"lg\x82\xa0", 0}};
  for (const auto& c : cases) {
    ResetExchangeState();
    ParseExchangeLine(c.Line);
    EXPECT_EQ(S.CurLayerGroup, c.Group) << "line: " << c.Line;
  }
}

TEST_F(AttributeRecords, LayerTablesFollowTheCurrentGroupAndLayer) {
  Parse({"lgA 7", "lynnone", "ly3 9", "lgnGroup A", "lyn\x8a\x4f\x95\xc7"});
  EXPECT_EQ(S.LayerGroupValues[10], 7);
  EXPECT_EQ(S.LayerNames[10 * 16], "none");
  EXPECT_EQ(S.LayerValues[10 * 16 + 3], 9);
  EXPECT_EQ(S.LayerGroupNames[10], "Group");
  EXPECT_EQ(S.LayerNames[10 * 16 + 3], "\x8a\x4f\x95\xc7");
}

TEST_F(AttributeRecords, ColourTenCarriesTheSolidValue) {
  Parse({"lc3 7"});
  EXPECT_EQ(S.CurColor10Value, 0);
  Parse({"lc10 7", "lc10"});
  EXPECT_EQ(S.CurColor10Value, 7);
}

TEST_F(AttributeRecords, TextSizeZeroTakesFreeValues) {
  Parse({"cn0 4 5 0.5 3", "cn0 6 7 0.25 2"});
  EXPECT_EQ(S.InitialTextSizeNo, 0);
  EXPECT_EQ(S.InitialTextWidth, 4.0);
  EXPECT_EQ(S.InitialTextSizeColor, 3);
  EXPECT_EQ(S.CurTextHeight, 7.0);
  EXPECT_EQ(S.CurTextSpacing, 0.25);
  Parse({"cn0 1 1"}); // too few values: only the number changes
  EXPECT_EQ(S.CurTextWidth, 6.0);
}

TEST_F(AttributeRecords, FontNameKeepsBlanksAndTheFirstNonEmptyOne) {
  Parse({"cn\"$", "cn\"$<MS Mincho>", "cn$Arial"});
  EXPECT_EQ(S.InitialFontName, "<MS Mincho>");
  EXPECT_EQ(S.CurFontName, "Arial");
  EXPECT_EQ(S.CurTextSizeNo, 1); // "cn$" is no size record
}

TEST_F(AttributeRecords, TextColourIsOneDigitUpToEight) {
  const struct {
    const char* Line;
    std::int32_t Color;
  } cases[] = {{"cc5", 5}, {"cc8", 8}, {"cc9", 0}, {"cc", 0}, {"cc15", 1}, {"ccx", 0}};
  for (const auto& c : cases) {
    Exchange.CurTextColor = 42;
    ParseExchangeLine(c.Line);
    EXPECT_EQ(S.CurTextColor, c.Color) << "line: " << c.Line;
  }
}

TEST_F(AttributeRecords, ZFlagsAndHhpGoIntoTheNextElementOnly) {
  Parse({"z1", "z1", "z3", "hhp12ln", "ci 0 0 1", "ci 0 0 2", "z5", "hhp7", "1 2 3 4", "5 6 7 8"});
  ASSERT_EQ(S.Circles.Count(), 2);
  EXPECT_EQ(S.Circles[0].Attr.ZFlags, 5);
  EXPECT_EQ(S.Circles[0].Attr.HhpNo, 12);
  EXPECT_EQ(S.Circles[1].Attr.ZFlags, 0);
  EXPECT_EQ(S.Circles[1].Attr.HhpNo, 0);
  ASSERT_EQ(S.Lines.Count(), 2);
  EXPECT_EQ(S.Lines[0].Attr.ZFlags, 16);
  EXPECT_EQ(S.Lines[0].Attr.HhpNo, 7);
  EXPECT_EQ(S.Lines[1].Attr.ZFlags, 0);
}

using Modes = ExchangeTest;

TEST_F(Modes, RecordsOpenAndCloseModes) {
  const struct {
    const char* Line;
    bool Polyline;
    bool Message;
  } cases[] = {
      // from polyline and message both on
      {"pl", true, false},     {"msg", false, true},       {"#", false, false},
      {"lc2", false, true},    {"cc1", false, true},       {"pn2", false, true},
      {"1 2 3 4", true, true}, {"ci 1 2 3", false, false}, {"lgnX", true, true},
      {"hp1 1 2", true, true}, {"z1", true, true},         {"hk 1", true, true},
  };
  for (const auto& c : cases) {
    Exchange.InPolyline = true;
    Exchange.InMessage = true;
    ParseExchangeLine(c.Line);
    EXPECT_EQ(S.InPolyline, c.Polyline) << "line: " << c.Line;
    EXPECT_EQ(S.InMessage, c.Message) << "line: " << c.Line;
  }
}

TEST_F(Modes, PolylinesNumberTheirLines) {
  Parse({"1 1 2 2", "pl", "1 1 2 2", "1 1 2 2", "pl", "1 1 2 2", "lc2", "1 1 2 2"});
  const std::int32_t expected[] = {0, 1, 1, 2, 0};
  ASSERT_EQ(S.Lines.Count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(S.Lines[i].PolylineNo, expected[i]) << "line " << i;
  EXPECT_EQ(S.PolylineCount, 2);
}

using PickedPoints = ExchangeTest;

TEST_F(PickedPoints, NumberAndSuffixComeFromTheFirstToken) {
  const struct {
    const char* Line;
    std::int32_t Number; // 0: ignored
    std::int32_t Suffix;
  } cases[] = {
      {"hp1 10 20", 1, 0},   {"hp2- 10 20", 2, 1},   {"hp3ln 10 20", 3, 2}, {"hp4ci 10 20", 4, 3},
      {"hp5ch 10 20", 5, 4}, {"hp99 10 20", 99, 0},  {"hp0 10 20", 0, 0},   {"hp100 10 20", 0, 0},
      {"hp-1 10 20", 0, 0},  {"hp7ch- 10 20", 7, 4}, // the last suffix found decides
      {"hp7 10", 0, 0},      {"hp 10 20", 0, 0},     {"hpx 10 20", 0, 0},
  };
  for (const auto& c : cases) {
    ResetExchangeState();
    ParseExchangeLine(c.Line);
    EXPECT_EQ(S.PickedCount, c.Number == 0 ? 0 : 1) << "line: " << c.Line;
    if (c.Number == 0) continue;
    const TPickedPoint& p = S.PickedPoints[static_cast<std::size_t>(c.Number)];
    EXPECT_TRUE(p.IsSet) << "line: " << c.Line;
    EXPECT_EQ(p.X, 10.0);
    EXPECT_EQ(p.Y, 20.0);
    EXPECT_EQ(p.Suffix, c.Suffix) << "line: " << c.Line;
  }
}

TEST_F(PickedPoints, RepeatedNumberKeepsTheLastAndCountsBoth) {
  Parse({"hp1 1 1", "hp2 2 2", "hp4 4 4", "hp2 5 5"});
  EXPECT_EQ(S.PickedCount, 4);
  EXPECT_EQ(S.PickedPoints[2].X, 5.0);
  EXPECT_FALSE(S.PickedPoints[0].IsSet);
  EXPECT_FALSE(S.PickedPoints[3].IsSet);
}

using Numbers = ExchangeTest;

// Reals in records read exactly as the shared conversion reads them, to the
// bit, whatever their form.
TEST_F(Numbers, ReadAsTextToFloatSafeReadsThem) {
  std::vector<std::string> texts = {"0",
                                    "-0",
                                    "+3",
                                    "0.1",
                                    "4.35",
                                    "-1234.56789012345",
                                    "0.30000000000000004",
                                    "9007199254740992",
                                    "9007199254740993",
                                    "745682469858603.81", // digits beyond 2^53
                                    "6774970.03578644190",
                                    "123456789012345678901",
                                    "18446744073709551616", // 2^64: wraps to 0 in 64 bits
                                    "1.0000000000000000000001",
                                    "0.0000000000000000000001",
                                    ".5",
                                    "5.",
                                    "-.5",
                                    "1e5",
                                    "1E-3",
                                    "-",
                                    "12a",
                                    "1.2.3",
                                    "$10",
                                    "\x82\x50",
                                    "1e400",
                                    "00000000000000000000012"};
  std::mt19937_64 random(7);
  for (int i = 0; i < 2000; ++i) {
    double value;
    const std::uint64_t bits = random();
    std::memcpy(&value, &bits, sizeof value);
    texts.push_back(MyFunc::FormatReal(value)); // every binary magnitude
    texts.push_back(MyFunc::FormatReal(static_cast<double>(random() % 100000000) / 1000.0 -
                                       50000.0 + static_cast<double>(random() % 1000) * 1e-12));
  }
  for (const std::string& text : texts) {
    ResetExchangeState();
    ParseExchangeLine(text + " 0 0 0");
    ASSERT_EQ(S.Lines.Count(), 1) << text;
    const double expected = MyFunc::TextToFloatSafe(text);
    const double actual = S.Lines[0].X1;
    EXPECT_EQ(std::memcmp(&actual, &expected, sizeof actual), 0)
        << "text: " << text << " read " << MyFunc::FormatReal(actual);
  }
}

} // namespace
