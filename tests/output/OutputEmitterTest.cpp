// The emitters of the output commands: how each normalises its argument,
// when its cache lets a command through, and the exact line it writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "WriterTestState.h"
#include "exchange/ZizAvodi.h"

using namespace ZizAvodi;
using TestWriter::StartRun;

namespace {

// "<ＭＳ ゴシック>" and "<ＭＳ 明朝>" in Shift-JIS.
const std::string GothicFont = "<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>";
const std::string MinchoFont = "<\x82\x6c\x82\x72 \x96\xbe\x92\xa9>";

struct Step {
  const char* Call;
  std::function<void()> Run;
  std::vector<std::string> Written; // the lines this call appends
};

std::vector<std::string> LinesSince(std::int32_t first) {
  std::vector<std::string> lines;
  for (std::int32_t i = first; i < OutputBuffer.Count(); ++i) {
    lines.emplace_back(OutputBuffer[i].View());
  }
  return lines;
}

// Runs the steps in order within one run.
void ExpectSequence(const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    const std::int32_t before = OutputBuffer.Count();
    step.Run();
    EXPECT_EQ(LinesSince(before), step.Written) << "after " << step.Call;
  }
}

// Runs each step as the first call after a reset.
void ExpectEachAfterReset(const std::vector<Step>& steps, bool lineWidthSeen = false) {
  for (const Step& step : steps) {
    StartRun(lineWidthSeen);
    step.Run();
    EXPECT_EQ(TestWriter::BufferedLines(), step.Written) << "first call " << step.Call;
  }
}

using Lines = std::vector<std::string>;

TEST(EmitLayerGroupAndLayer, PendingAfterResetThenOnlyOnChange) {
  StartRun();
  ExpectSequence({
      {"EmitLayerGroup(0)", [] { EmitLayerGroup(0); }, {"lg0"}},
      {"EmitLayerGroup(0) again", [] { EmitLayerGroup(0); }, {}},
      {"EmitLayer(0)", [] { EmitLayer(0); }, {"ly0"}},
      {"EmitLayer(0) again", [] { EmitLayer(0); }, {}},
      {"EmitLayer(4)", [] { EmitLayer(4); }, {"ly4"}},
      {"EmitLayerGroup(3)", [] { EmitLayerGroup(3); }, {"lg3"}},
      {"EmitLayer(4) after a new group", [] { EmitLayer(4); }, {"ly4"}},
      {"EmitLayer(4) again", [] { EmitLayer(4); }, {}},
      {"EmitLayerGroup(3) unchanged", [] { EmitLayerGroup(3); }, {}},
      {"EmitLayer(4) after an unwritten group", [] { EmitLayer(4); }, {}},
      {"EmitLayerGroup(0)", [] { EmitLayerGroup(0); }, {"lg0"}},
      {"EmitLayer(4) after a written group", [] { EmitLayer(4); }, {"ly4"}},
  });
}

TEST(EmitLayerGroupAndLayer, LayerIsPendingAfterResetWithoutAGroup) {
  StartRun();
  ExpectSequence({{"EmitLayer(0)", [] { EmitLayer(0); }, {"ly0"}}});
}

TEST(EmitLayerGroupAndLayer, UpperCaseHexadecimal) {
  ExpectEachAfterReset({
      {"EmitLayerGroup(10)", [] { EmitLayerGroup(10); }, {"lgA"}},
      {"EmitLayerGroup(15)", [] { EmitLayerGroup(15); }, {"lgF"}},
      {"EmitLayerGroup(16)", [] { EmitLayerGroup(16); }, {"lg10"}},
      {"EmitLayerGroup(171)", [] { EmitLayerGroup(171); }, {"lgAB"}},
      {"EmitLayerGroup(-1)", [] { EmitLayerGroup(-1); }, {"lgFFFFFFFF"}},
      {"EmitLayer(0)", [] { EmitLayer(0); }, {"ly0"}},
      {"EmitLayer(9)", [] { EmitLayer(9); }, {"ly9"}},
      {"EmitLayer(11)", [] { EmitLayer(11); }, {"lyB"}},
      {"EmitLayer(15)", [] { EmitLayer(15); }, {"lyF"}},
      {"EmitLayer(-2)", [] { EmitLayer(-2); }, {"lyFFFFFFFE"}},
  });
}

TEST(MapColorIndex, DialogPositionToHostColour) {
  StartRun();
  Exchange.InitialLineColor = 7;
  const struct {
    std::int32_t Index, Expected;
  } cases[] = {
      {-5, 7}, {0, 7}, {1, 1}, {8, 8}, {9, 9}, {10, 101}, {11, 102}, {25, 116}, {265, 356},
  };
  for (const auto& c : cases) EXPECT_EQ(MapColorIndex(c.Index), c.Expected) << "index " << c.Index;
  EXPECT_GT(MapColorIndex(std::numeric_limits<std::int32_t>::max()), 0) << "no overflow";
}

TEST(MapLineTypeIndex, DialogPositionToHostLineType) {
  StartRun();
  Exchange.InitialLineType = 4;
  const struct {
    std::int32_t Index, Expected;
  } cases[] = {
      {-1, 4},  {0, 4},   {1, 1},   {9, 9},   {10, 11}, {14, 15},
      {15, 16}, {18, 19}, {19, 31}, {20, 32}, {50, 62},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MapLineTypeIndex(c.Index), c.Expected) << "index " << c.Index;
  }
  EXPECT_GT(MapLineTypeIndex(std::numeric_limits<std::int32_t>::max()), 0) << "no overflow";
}

TEST(EmitLineColor, MapsDialogPositionsOnlyInModeOne) {
  ExpectEachAfterReset({
      {"EmitLineColor(10, 1)", [] { EmitLineColor(10, 1); }, {"lc101"}},
      {"EmitLineColor(10, 0)", [] { EmitLineColor(10, 0); }, {"lc10"}},
      {"EmitLineColor(10, 2)", [] { EmitLineColor(10, 2); }, {"lc10"}},
      {"EmitLineColor(0, 1)", [] { EmitLineColor(0, 1); }, {"lc1"}},
      {"EmitLineColor(1, 0) equal to the reset value", [] { EmitLineColor(1, 0); }, {"lc1"}},
      {"EmitLineColor(-3, 0)", [] { EmitLineColor(-3, 0); }, {"lc-3"}},
      {"EmitLineColor(265, 1)", [] { EmitLineColor(265, 1); }, {"lc356"}},
  });
}

TEST(EmitLineColor, CurrentColourPositionUsesTheHostsColour) {
  StartRun();
  Exchange.InitialLineColor = 5;
  ExpectSequence({{"EmitLineColor(0, 1)", [] { EmitLineColor(0, 1); }, {"lc5"}}});
}

TEST(EmitLineColor, CachesTheMappedValue) {
  StartRun();
  ExpectSequence({
      {"EmitLineColor(3, 1)", [] { EmitLineColor(3, 1); }, {"lc3"}},
      {"EmitLineColor(3, 1) again", [] { EmitLineColor(3, 1); }, {}},
      {"EmitLineColor(3, 0): the same host colour", [] { EmitLineColor(3, 0); }, {}},
      {"EmitLineColor(10, 1)", [] { EmitLineColor(10, 1); }, {"lc101"}},
      {"EmitLineColor(101, 0): the same host colour", [] { EmitLineColor(101, 0); }, {}},
      {"EmitLineColor(10, 0)", [] { EmitLineColor(10, 0); }, {"lc10"}},
  });
}

TEST(EmitLineType, MapsDialogPositionsOnlyInModeOne) {
  ExpectEachAfterReset({
      {"EmitLineType(18, 1)", [] { EmitLineType(18, 1); }, {"lt19"}},
      {"EmitLineType(19, 1)", [] { EmitLineType(19, 1); }, {"lt31"}},
      {"EmitLineType(9, 1)", [] { EmitLineType(9, 1); }, {"lt9"}},
      {"EmitLineType(10, 1)", [] { EmitLineType(10, 1); }, {"lt11"}},
      {"EmitLineType(0, 1)", [] { EmitLineType(0, 1); }, {"lt1"}},
      {"EmitLineType(19, 0)", [] { EmitLineType(19, 0); }, {"lt19"}},
      {"EmitLineType(1, 0) equal to the reset value", [] { EmitLineType(1, 0); }, {"lt1"}},
  });
  StartRun();
  Exchange.InitialLineType = 6;
  ExpectSequence({
      {"EmitLineType(0, 1)", [] { EmitLineType(0, 1); }, {"lt6"}},
      {"EmitLineType(6, 1): the same host type", [] { EmitLineType(6, 1); }, {}},
      {"EmitLineType(-1, 1): the same host type", [] { EmitLineType(-1, 1); }, {}},
      {"EmitLineType(19, 1)", [] { EmitLineType(19, 1); }, {"lt31"}},
      {"EmitLineType(31, 0): the same host type", [] { EmitLineType(31, 0); }, {}},
  });
}

TEST(EmitLineWidth, NormalisesTheWidth) {
  ExpectEachAfterReset(
      {
          {"EmitLineWidth(-1)", [] { EmitLineWidth(-1); }, {"lw0"}},
          {"EmitLineWidth(0)", [] { EmitLineWidth(0); }, {"lw0"}},
          {"EmitLineWidth(30000)", [] { EmitLineWidth(30000); }, {"lw30000"}},
          {"EmitLineWidth(30001)", [] { EmitLineWidth(30001); }, {"lw0"}},
          {"EmitLineWidth(-5)", [] { EmitLineWidth(-5); }, {"lw0"}},
          {"EmitLineWidth(-2)", [] { EmitLineWidth(-2); }, {"lw0"}},
          {"EmitLineWidth(7)", [] { EmitLineWidth(7); }, {"lw7"}},
      },
      true);
}

TEST(EmitLineWidth, MinusOneTakesTheHostsWidth) {
  StartRun(true);
  Exchange.InitialLineWidth = 25;
  ExpectSequence({
      {"EmitLineWidth(-1)", [] { EmitLineWidth(-1); }, {"lw25"}},
      {"EmitLineWidth(25)", [] { EmitLineWidth(25); }, {}},
      {"EmitLineWidth(-1) again", [] { EmitLineWidth(-1); }, {}},
      {"EmitLineWidth(30001)", [] { EmitLineWidth(30001); }, {"lw0"}},
      {"EmitLineWidth(-7)", [] { EmitLineWidth(-7); }, {}},
  });
  // A host width out of range is normalised like any other.
  StartRun(true);
  Exchange.InitialLineWidth = 40000;
  ExpectSequence({{"EmitLineWidth(-1)", [] { EmitLineWidth(-1); }, {"lw0"}}});
}

TEST(EmitLineWidth, NothingAtAllWithoutAWidthRecord) {
  StartRun(false);
  Exchange.InitialLineWidth = 25;
  ExpectSequence({
      {"EmitLineWidth(-1)", [] { EmitLineWidth(-1); }, {}},
      {"EmitLineWidth(0)", [] { EmitLineWidth(0); }, {}},
      {"EmitLineWidth(7)", [] { EmitLineWidth(7); }, {}},
      {"EmitLineWidth(30000)", [] { EmitLineWidth(30000); }, {}},
      {"EmitLineWidth(30001)", [] { EmitLineWidth(30001); }, {}},
      {"EmitLineWidth(-5)", [] { EmitLineWidth(-5); }, {}},
  });
  // The calls above changed no state: the command is still pending and the
  // cache still holds the reset value.
  Exchange.LineWidthSeen = true;
  ExpectSequence({
      {"EmitLineWidth(0) once widths count", [] { EmitLineWidth(0); }, {"lw0"}},
      {"EmitLineWidth(7)", [] { EmitLineWidth(7); }, {"lw7"}},
  });
}

TEST(EmitTextSize, NumberedSizesIgnoreColourAndReals) {
  StartRun();
  ExpectSequence({
      {"EmitTextSize(3, 1, 0, 1, 1, 0)", [] { EmitTextSize(3, 1, 0, 1, 1, 0); }, {"cn3"}},
      {"EmitTextSize(3, 5, 0, 9, 8, 7)", [] { EmitTextSize(3, 5, 0, 9, 8, 7); }, {}},
      {"EmitTextSize(10, 1, 0, 1, 1, 0)", [] { EmitTextSize(10, 1, 0, 1, 1, 0); }, {"cn10"}},
      {"EmitTextSize(1, 1, 0, 1, 1, 0)", [] { EmitTextSize(1, 1, 0, 1, 1, 0); }, {"cn1"}},
  });
}

TEST(EmitTextSize, FreeSizeWritesItsValuesAndCachesThem) {
  StartRun();
  ExpectSequence({
      {"EmitTextSize(0, 1, 0, 2.5, 2.5, 0)",
       [] { EmitTextSize(0, 1, 0, 2.5, 2.5, 0); },
       {"cn0 2.5 2.5 0 1"}},
      {"the same again", [] { EmitTextSize(0, 1, 0, 2.5, 2.5, 0); }, {}},
      {"only the colour changed", [] { EmitTextSize(0, 2, 0, 2.5, 2.5, 0); }, {"cn0 2.5 2.5 0 2"}},
      {"only the width changed", [] { EmitTextSize(0, 2, 0, 3, 2.5, 0); }, {"cn0 3 2.5 0 2"}},
      {"only the height changed", [] { EmitTextSize(0, 2, 0, 3, 4, 0); }, {"cn0 3 4 0 2"}},
      {"only the spacing changed", [] { EmitTextSize(0, 2, 0, 3, 4, 0.5); }, {"cn0 3 4 0.5 2"}},
      {"mode 1 maps the colour", [] { EmitTextSize(0, 10, 1, 3, 4, 0.5); }, {"cn0 3 4 0.5 101"}},
      {"the same host colour unmapped", [] { EmitTextSize(0, 101, 0, 3, 4, 0.5); }, {}},
      {"fifteen digits",
       [] { EmitTextSize(0, 1, 0, 1.0 / 3.0, 0.00001, -0.75); },
       {"cn0 0.333333333333333 1E-5 -0.75 1"}},
  });
}

TEST(EmitTextSize, FreeSizeIsPendingAfterResetEvenWithTheResetValues) {
  StartRun();
  ExpectSequence({{"EmitTextSize(0, 1, 0, 2, 2, 0)",
                   [] { EmitTextSize(0, 1, 0, 2, 2, 0); },
                   {"cn0 2 2 0 1"}}});
}

TEST(EmitTextSize, FreeSizeValuesAreStoredOnlyWithAFreeSizeLine) {
  StartRun();
  ExpectSequence({
      {"free size", [] { EmitTextSize(0, 1, 0, 2.5, 2.5, 0); }, {"cn0 2.5 2.5 0 1"}},
      {"numbered size", [] { EmitTextSize(3, 0, 0, 0, 0, 0); }, {"cn3"}},
      {"the same free size", [] { EmitTextSize(0, 1, 0, 2.5, 2.5, 0); }, {"cn0 2.5 2.5 0 1"}},
      {"numbered size with other reals", [] { EmitTextSize(5, 7, 0, 9, 9, 9); }, {"cn5"}},
      {"the same free size", [] { EmitTextSize(0, 1, 0, 2.5, 2.5, 0); }, {"cn0 2.5 2.5 0 1"}},
      {"the same free size again", [] { EmitTextSize(0, 1, 0, 2.5, 2.5, 0); }, {}},
  });
}

TEST(EmitTextSize, OutOfRangeNumberTakesTheHostsSize) {
  StartRun();
  Exchange.InitialTextSizeNo = 4;
  ExpectSequence({
      {"EmitTextSize(11, ...)", [] { EmitTextSize(11, 1, 0, 1, 1, 0); }, {"cn4"}},
      {"EmitTextSize(-1, ...)", [] { EmitTextSize(-1, 1, 0, 1, 1, 0); }, {}},
      {"EmitTextSize(4, ...)", [] { EmitTextSize(4, 1, 0, 1, 1, 0); }, {}},
  });

  // The host's size is a free size: its values replace the arguments.
  StartRun();
  Exchange.InitialTextSizeNo = 0;
  Exchange.InitialTextWidth = 3.5;
  Exchange.InitialTextHeight = 4.0;
  Exchange.InitialTextSpacing = 0.25;
  Exchange.InitialTextSizeColor = 6;
  ExpectSequence({
      {"EmitTextSize(11, 9, 0, 1, 1, 1)",
       [] { EmitTextSize(11, 9, 0, 1, 1, 1); },
       {"cn0 3.5 4 0.25 6"}},
      {"EmitTextSize(-3, 2, 1, 7, 7, 7)", [] { EmitTextSize(-3, 2, 1, 7, 7, 7); }, {}},
      {"the same values given", [] { EmitTextSize(0, 6, 0, 3.5, 4, 0.25); }, {}},
  });
}

TEST(EmitTextColor, OutOfRangeBecomesZero) {
  ExpectEachAfterReset({
      {"EmitTextColor(0)", [] { EmitTextColor(0); }, {"cc0"}},
      {"EmitTextColor(8)", [] { EmitTextColor(8); }, {"cc8"}},
      {"EmitTextColor(9)", [] { EmitTextColor(9); }, {"cc0"}},
      {"EmitTextColor(-1)", [] { EmitTextColor(-1); }, {"cc0"}},
  });
  StartRun();
  ExpectSequence({
      {"EmitTextColor(3)", [] { EmitTextColor(3); }, {"cc3"}},
      {"EmitTextColor(3) again", [] { EmitTextColor(3); }, {}},
      {"EmitTextColor(9)", [] { EmitTextColor(9); }, {"cc0"}},
      {"EmitTextColor(-4): also 0", [] { EmitTextColor(-4); }, {}},
  });
}

TEST(EmitTextFont, EmptyOrBareBracketsTakeTheHostsFont) {
  StartRun();
  Exchange.InitialFontName = MinchoFont;
  ExpectSequence({
      {"EmitTextFont(\"<>\")", [] { EmitTextFont("<>"); }, {"cn\"$" + MinchoFont}},
      {"EmitTextFont(\"\")", [] { EmitTextFont(""); }, {}},
      {"EmitTextFont(the host's font)", [] { EmitTextFont(MinchoFont); }, {}},
      {"EmitTextFont(\"<Arial>\")", [] { EmitTextFont("<Arial>"); }, {"cn\"$<Arial>"}},
      {"EmitTextFont(\"<arial>\")", [] { EmitTextFont("<arial>"); }, {"cn\"$<arial>"}},
      {"EmitTextFont(\"\")", [] { EmitTextFont(""); }, {"cn\"$" + MinchoFont}},
  });
  StartRun();
  Exchange.InitialFontName = MinchoFont;
  ExpectSequence({{"EmitTextFont(\"\")", [] { EmitTextFont(""); }, {"cn\"$" + MinchoFont}}});
}

TEST(EmitTextFont, PendingAfterResetEvenForTheResetFont) {
  StartRun();
  ExpectSequence({
      {"EmitTextFont(default)", [] { EmitTextFont(GothicFont); }, {"cn\"$" + GothicFont}},
      {"EmitTextFont(default) again", [] { EmitTextFont(GothicFont); }, {}},
  });
}

TEST(EmitLine, PlainRecordOrNothingForNoLength) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double X1, Y1, X2, Y2;
    Lines Expected;
  } cases[] = {
      {1, 2, 1, 2, {}},
      {0, 0, 0.000000005, 0, {}},
      {0, 0, -0.000000005, 0.000000009, {}},
      {0, 0, 1, 0, {"0 0 1 0"}},
      {0.5, -1, 1000, 1.0 / 3.0, {"0.5 -1 1000 0.333333333333333"}},
      {10, 0, 0, 0, {"10 0 0 0"}},           // the start point comes first
      {0, 0, 0, 0.00000001, {"0 0 0 1E-8"}}, // a length of exactly 1e-8 is kept
      {0, 0, 0.00000001, 0, {"0 0 1E-8 0"}},
      {-0.0, 5, 1e15, 5, {"0 5 1E15 5"}}, // negative zero has no sign
      {0, 0, 2e-8, 2e-8, {"0 0 2E-8 2E-8"}},
      {nan, 0, 1, 1, {}},
      {0, 0, inf, 1, {}},
      {0, -inf, 1, 1, {}},
      {0, 0, 1, nan, {}},
  };
  for (const auto& c : cases) {
    StartRun();
    EmitLine(c.X1, c.Y1, c.X2, c.Y2);
    EXPECT_EQ(TestWriter::BufferedLines(), c.Expected)
        << "EmitLine(" << c.X1 << ", " << c.Y1 << ", " << c.X2 << ", " << c.Y2 << ")";
  }
}

TEST(EmitText, CommandLineThenTheTextAsGiven) {
  const struct {
    std::int32_t Kind;
    std::string Text;
    double X, Y, Dx, Dy;
    Lines Expected;
  } cases[] = {
      {0, "ABC", 10, 20, 1, 0, {"ch 10 20 1 0 \"", "ABC"}},
      {1, "ABC", 10, 20, 1, 0, {"cv 10 20 1 0 \"", "ABC"}},
      {9, "x", -1.5, 0.25, 0, -1, {"c2 -1.5 0.25 0 -1 \"", "x"}},
      {3, " A B ", 0, 0, 0.6, 0.8, {"cr 0 0 0.6 0.8 \"", " A B "}},
      {0, "\x8a\x4f\x95\xc7", 1, 2, 1, 1, {"ch 1 2 1 1 \"", "\x8a\x4f\x95\xc7"}},
      {0, "A", 0, 0, 2e-8, 0, {"ch 0 0 2E-8 0 \"", "A"}},
      {0, "   ", 10, 20, 1, 0, {}},
      {0, "\x81\x40\x81\x40", 10, 20, 1, 0, {}}, // ideographic spaces only
      {0, "\t\r\n", 10, 20, 1, 0, {}},
      {0, "", 10, 20, 1, 0, {}},
      {0, "ABC", 10, 20, 0, 0, {}},
      {0, "ABC", 10, 20, 0.00000001, -0.00000001, {}}, // 1e-8 is still no direction
  };
  for (const auto& c : cases) {
    StartRun();
    EmitText(c.Kind, c.Text, c.X, c.Y, c.Dx, c.Dy);
    EXPECT_EQ(TestWriter::BufferedLines(), c.Expected)
        << "kind " << c.Kind << " text [" << c.Text << "] at " << c.X << ", " << c.Y
        << " direction " << c.Dx << ", " << c.Dy;
  }
}

TEST(EmitText, CommandWordOfEachKind) {
  const struct {
    std::int32_t Kind;
    const char* Word;
  } cases[] = {
      {0, "ch"},  {1, "cv"},
      {2, "cs"},  {3, "cr"},
      {4, "co"},  {5, "cp"},
      {6, "ct"},  {7, "ck"},
      {8, "cz"},  {9, "c2"},
      {10, "ch"}, {12, "ch"},
      {-1, "ch"}, {std::numeric_limits<std::int32_t>::min(), "ch"},
  };
  for (const auto& c : cases) {
    StartRun();
    EmitText(c.Kind, "T", 1, 2, 1, 0);
    ASSERT_EQ(OutputBuffer.Count(), 2) << "kind " << c.Kind;
    EXPECT_EQ(OutputBuffer[0].View(), std::string(c.Word) + " 1 2 1 0 \"") << "kind " << c.Kind;
    EXPECT_EQ(TextKindCommand(c.Kind), c.Word) << "kind " << c.Kind;
  }
}

TEST(EmitText, IsJoinedIntoOnePhysicalLine) {
  StartRun();
  EmitText(0, "ABC", 10, 20, 1, 0);
  EmitLine(0, 0, 1, 0);
  EXPECT_EQ(RenderExchangeFile(), "ch 10 20 1 0 \"ABC\r\n0 0 1 0\r\n");
}

TEST(DrawingEmitters, ChangeNoAttributeState) {
  StartRun();
  EmitLineColor(3, 0);
  EmitLine(0, 0, 1, 1);
  EmitText(0, "A", 0, 0, 1, 0);
  ExpectSequence({{"EmitLineColor(3, 0) after drawing", [] { EmitLineColor(3, 0); }, {}}});
}

} // namespace

TEST(EmitArc, WritesTheHostsArcRecordOrNothing) {
  const struct {
    const char* Name;
    double Cx, Cy, R, A1, A2;
    const char* Expected; // "" for nothing
  } cases[] = {
      {"quarter", 87, 13, 3, 270, 0, "ci 87 13 3 270 0 1 0"},
      {"reals in the file's format", -0.5, 1e20, 2.5, 12.25, 99.5,
       "ci -0.5 1E20 2.5 12.25 99.5 1 0"},
      {"just below 360 is 0", 0, 0, 1, 359.9999999999999, 10, "ci 0 0 1 0 10 1 0"},
      {"angles written alike: no whole circle", 0, 0, 1, 10, 10.0000000000000001, ""},
      {"a hair below 360 and 0", 0, 0, 1, 359.9999999999999, 0, ""},
      {"no radius", 0, 0, 1e-9, 0, 90, ""},
      {"not finite", std::numeric_limits<double>::infinity(), 0, 1, 0, 90, ""},
  };
  for (const auto& c : cases) {
    TestWriter::StartRun();
    ZizAvodi::EmitArc(c.Cx, c.Cy, c.R, c.A1, c.A2);
    EXPECT_EQ(TestWriter::Joined(TestWriter::BufferedLines()), c.Expected) << c.Name;
  }
}
