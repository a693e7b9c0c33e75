// Storing elements with the attributes in force, in file order, and the
// state's reset and release.
#include <string>
#include <vector>

#include "ExchangeFixture.h"

using namespace ZizAvodi;

namespace {

const ExchangeState& S = Exchange;

using Elements = ExchangeTest;

TEST_F(Elements, CarryTheCurrentAttributesAndTheirFields) {
  Parse({"lg2", "ly5", "lc3", "lt4", "lw6", "pn7", "ci 1 2 3", "ci 1 2 3 4 5 6 7", "pt 8 9",
         "pt 1 2 3 4 5", "BL 10 20 \x95\x94\x95\x69 x", "sc 1 2 3 4 5 6 7 8",
         "so 1 2 3 4 5 6 7 8"});
  ASSERT_EQ(S.EntityOrder.Count(), 7);
  const TJwwEntCircle& circle = S.Circles[0];
  EXPECT_EQ(circle.Attr.LayerGroup, 2);
  EXPECT_EQ(circle.Attr.Layer, 5);
  EXPECT_EQ(circle.Attr.Color, 3);
  EXPECT_EQ(circle.Attr.LineType, 4);
  EXPECT_EQ(circle.Attr.LineWidth, 6);
  EXPECT_EQ(circle.N3, 3.0);
  EXPECT_EQ(S.Arcs[0].N7, 7.0);
  EXPECT_EQ(S.Points[0].Attr.Color, 7); // points take the point colour
  EXPECT_EQ(S.Points[0].N2, 9.0);
  EXPECT_EQ(S.PointsEx[0].Attr.Color, 7);
  EXPECT_EQ(S.PointsEx[0].N4, 4.0);
  EXPECT_EQ(S.PointsEx[0].N5, 5);
  EXPECT_EQ(S.Blocks[0].N2, 20.0);
  EXPECT_EQ(S.Blocks[0].Name, "\x95\x94\x95\x69");
  EXPECT_EQ(S.ScList[0].N7, 7.0);
  EXPECT_EQ(S.ScList[0].N8, 8);
  EXPECT_EQ(S.SoList[0].N8, 8.0);
}

TEST_F(Elements, EntityOrderFollowsTheFile) {
  Parse({"1 2 3 4", "ci 0 0 1", "5 6 7 8", "se 1 2 3 4 5 6 7 8", "sg 1 2 3 4 5 6 7 8"});
  const std::vector<std::pair<std::int32_t, std::int32_t>> expected = {
      {KindLine, 0}, {KindCircle, 0}, {KindLine, 1}, {KindSe, 0}, {KindSg, 0}};
  ASSERT_EQ(S.EntityOrder.Count(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(S.EntityOrder[i].Kind, expected[i].first) << "entry " << i;
    EXPECT_EQ(S.EntityOrder[i].Index, expected[i].second) << "entry " << i;
  }
  EXPECT_EQ(S.Lines[1].X1, 5.0);
}

TEST_F(Elements, TextsTakeSizeFromTheTableOrTheFreeSize) {
  Parse({"hcw 1 2 3 4 5 6 7 8 9 10", "hcc 1 2 3 4 5 6 7 8 9 10", "cc4", "cn3",
         "cv 1 2 0 1 \"a  b \"c\"", "cn0 6 7 0.5 9", "c2 3 4 1 0 \"", "cn11", "ch 0 0 1 0 \"x"});
  ASSERT_EQ(S.Texts.Count(), 3);
  const TJwwEntText& table = S.Texts[0];
  EXPECT_EQ(table.TextKind, 1);
  EXPECT_EQ(table.TextColor, 4);
  EXPECT_EQ(table.SizeNo, 3);
  EXPECT_EQ(table.Width, 3.0);
  EXPECT_EQ(table.Height, 3.0);
  EXPECT_EQ(table.Attr.Color, 3);
  EXPECT_EQ(table.Dy, 1.0);
  EXPECT_EQ(table.Text.View(), "a  b \"c\"");
  EXPECT_EQ(table.FontName.View(), S.CurFontName);
  const TJwwEntText& free = S.Texts[1];
  EXPECT_EQ(free.TextKind, 9);
  EXPECT_EQ(free.Width, 6.0);
  EXPECT_EQ(free.Spacing, 0.5);
  EXPECT_EQ(free.Attr.Color, 9);
  EXPECT_EQ(free.Text.View(), "");
  EXPECT_EQ(S.Texts[2].Height, 7.0); // size 11 is no table entry either
}

TEST_F(Elements, LongTextsKeepTheirFirst255Bytes) {
  const std::string font(300, 'f');
  const std::string text(400, 't');
  Parse({"cn$" + font, "ch 0 0 1 0 \"" + text});
  ASSERT_EQ(S.Texts.Count(), 1);
  EXPECT_EQ(S.Texts[0].FontName.View(), font.substr(0, 255));
  EXPECT_EQ(S.Texts[0].Text.View(), text.substr(0, 255));
}

TEST_F(Elements, MessageTextTakesTheHeldLine) {
  Parse({"msg", "lc5", "1 2 3 4", "cs 0 0 1 0 \"note", "cs 0 0 1 0 \"plain"});
  EXPECT_EQ(S.Lines.Count(), 0);
  ASSERT_EQ(S.MsgTexts.Count(), 1);
  ASSERT_EQ(S.EntityOrder.Count(), 2);
  EXPECT_EQ(S.EntityOrder[0].Kind, KindMsgText);
  EXPECT_EQ(S.EntityOrder[1].Kind, KindText); // message mode ended
  const TJwwEntMsgText& msg = S.MsgTexts[0];
  EXPECT_EQ(msg.Line.X2, 3.0);
  EXPECT_EQ(msg.Line.Attr.Color, 5);
  EXPECT_EQ(msg.Text.TextKind, 2);
  EXPECT_EQ(msg.Text.Text.View(), "note");
  EXPECT_EQ(msg.Attr.Color, 5);
}

TEST_F(Elements, MessageTextWithoutALineTakesTheDefault) {
  Parse({"msg", "ch 0 0 1 0 \"other", "msg", "cs 0 0 1 0 \"m"});
  ASSERT_EQ(S.MsgTexts.Count(), 1);
  EXPECT_EQ(S.Texts.Count(), 1); // a text other than "cs" ends message mode as a text
  const TJwwEntLine& line = S.MsgTexts[0].Line;
  EXPECT_EQ(line.X1, 0.0);
  EXPECT_EQ(line.X2, 1.0);
  EXPECT_EQ(line.Attr.Color, 1);
  EXPECT_EQ(line.Attr.LineType, 1);
}

using Solids = ExchangeTest;

TEST_F(Solids, CoincidingCornersReduceTheSolid) {
  const struct {
    const char* Line;
    std::int32_t Kind;
    std::vector<double> Corners;
  } cases[] = {
      {"sl 1 2 3 4", KindSolid2, {1, 2, 3, 4}},
      {"sl 1 1 1 1 5 5", KindSolid2, {1, 1, 5, 5}},       // P1 = P2
      {"sl 1 1 5 5 5 5", KindSolid2, {1, 1, 5, 5}},       // P2 = P3
      {"sl 1 1 5 5 1 1", KindSolid3, {1, 1, 5, 5, 1, 1}}, // P1 and P3 not compared
      {"sl 0 0 0 0 0 0 9 9", KindSolid2, {0, 0, 9, 9}},   // P1 = P2 = P3
      {"sl 0 0 9 9 9 9 9 9", KindSolid2, {0, 0, 9, 9}},   // P2 = P3 = P4
      {"sl 0 0 0 0 9 9 9 9", KindSolid2, {0, 0, 9, 9}},   // P1 = P2, P3 = P4
      {"sl 0 0 1 0 1 1 0 0", KindSolid3, {0, 0, 1, 0, 1, 1}},
      {"sl 0 0 1 0 0 0 0 1", KindSolid3, {0, 0, 1, 0, 0, 1}},
      {"sl 0 0 0 0 1 1 0 1", KindSolid3, {0, 0, 1, 1, 0, 1}},
      {"sl 0 0 1e-10 -1e-10 1 1 0 1", KindSolid3, {0, 0, 1, 1, 0, 1}}, // bound inclusive
      {"sl 0 0 2e-10 0 1 1 0 1", KindSolid4, {0, 0, 2e-10, 0, 1, 1, 0, 1}},
  };
  for (const auto& c : cases) {
    ResetExchangeState();
    Exchange.CurColor10Value = 6;
    ParseExchangeLine(c.Line);
    ASSERT_EQ(S.EntityOrder.Count(), 1) << c.Line;
    EXPECT_EQ(S.EntityOrder[0].Kind, c.Kind) << c.Line;
    std::vector<double> corners;
    std::int32_t color10 = 0;
    if (c.Kind == KindSolid2) {
      const auto& e = S.Solids2[0];
      corners = {e.X1, e.Y1, e.X2, e.Y2};
      color10 = e.Color10;
    } else if (c.Kind == KindSolid3) {
      const auto& e = S.Solids3[0];
      corners = {e.X1, e.Y1, e.X2, e.Y2, e.X3, e.Y3};
      color10 = e.Color10;
    } else {
      const auto& e = S.Solids4[0];
      corners = {e.X1, e.Y1, e.X2, e.Y2, e.X3, e.Y3, e.X4, e.Y4};
      color10 = e.Color10;
    }
    EXPECT_EQ(corners, c.Corners) << c.Line;
    EXPECT_EQ(color10, 6) << c.Line;
  }
}

using Growth = ExchangeTest;

TEST_F(Growth, ListsGrowInBlocksOfAThousand) {
  for (int i = 0; i < 1000; ++i) ParseExchangeLine("1 2 3 4");
  EXPECT_EQ(S.Lines.Count(), 1000);
  EXPECT_EQ(S.Lines.Capacity(), 1000);
  ParseExchangeLine("5 6 7 8");
  EXPECT_EQ(S.Lines.Count(), 1001);
  EXPECT_EQ(S.Lines.Capacity(), 2000);
  EXPECT_EQ(S.EntityOrder.Capacity(), 2000);
  EXPECT_EQ(S.Lines[999].X1, 1.0);
  EXPECT_EQ(S.Lines[1000].X1, 5.0);
  EXPECT_EQ(S.EntityOrder[1000].Index, 1000);
}

using StateLifecycle = ExchangeTest;

TEST_F(StateLifecycle, ResetGivesTheDefaults) {
  Exchange.CcPending = true;
  Parse({"hs 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2", "lg3", "cn$x", "hp1 1 1", "msg", "9 9 9 9", "pl",
         "1 2 3 4"});
  ResetExchangeState();
  ResetExchangeState();
  EXPECT_EQ(S.LayerGroupScales[S.InitialLayerGroup], 1.0);
  EXPECT_EQ(S.TextSizeTable[10].Width, 3.0);
  EXPECT_EQ(S.TextSizeTable[10].Color, 2);
  EXPECT_EQ(S.CurFontName, "<\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e>");
  EXPECT_TRUE(S.InitialFontName.empty());
  EXPECT_TRUE(S.LgPending && S.CnPending);
  EXPECT_TRUE(S.CcPending); // the writer's flag is left alone
  EXPECT_EQ(S.PickedCount, 0);
  for (const TPickedPoint& p : S.PickedPoints) EXPECT_FALSE(p.IsSet);
  EXPECT_EQ(S.HeldLine.X2, 1.0);
  EXPECT_EQ(S.HeldLine.Attr.Color, 1);
  EXPECT_EQ(S.PolylineCount, 0);
  EXPECT_FALSE(S.InMessage || S.InPolyline);
  EXPECT_EQ(S.Lines.Count(), 0);
  EXPECT_EQ(S.Lines.Capacity(), 0);
  EXPECT_EQ(S.EntityOrder.Count(), 0);
}

TEST_F(StateLifecycle, FreeReleasesStorageAndKeepsCounts) {
  Parse({"lgnName", "hp1 1 1", "1 2 3 4", "ci 0 0 1", "BL 0 0 b"});
  FreeExchangeState();
  EXPECT_EQ(S.Lines.Count(), 1);
  EXPECT_EQ(S.Lines.Capacity(), 0);
  EXPECT_EQ(S.EntityOrder.Count(), 3);
  EXPECT_EQ(S.Blocks.Capacity(), 0);
  EXPECT_EQ(S.PickedCount, 1);
  EXPECT_TRUE(S.LayerGroupNames[0].empty());
  FreeExchangeState(); // a second release does nothing
  ResetExchangeState();
  ParseExchangeLine("1 2 3 4");
  EXPECT_EQ(S.Lines.Count(), 1);
}

} // namespace
