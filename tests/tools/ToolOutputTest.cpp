// Reading the tool's commands back as the host carries them out: each line
// record takes the pen and layer set last.
#include <gtest/gtest.h>

#include "tools/jwhost/ToolOutput.h"

namespace {

using JwHost::Pen;
using JwHost::ReadToolOutput;

TEST(ToolOutput, LinesTakeThePenSetBeforeThem) {
  const auto out = ReadToolOutput(
      "lg2\r\nly5\r\nlc2\r\nlt1\r\nlw3\r\n"
      "0 10 87 10\r\n87 10 90 13\r\n"
      "lc8\r\nlt5\r\n"
      "0 -10 107 -10\r\n",
      Pen{});
  ASSERT_EQ(out.Drawn.size(), 3u);
  const struct {
    double X1, Y1, X2, Y2;
    int Color, LineType, Width;
  } expected[] = {
      {0, 10, 87, 10, 2, 1, 3},
      {87, 10, 90, 13, 2, 1, 3},
      {0, -10, 107, -10, 8, 5, 3},
  };
  for (std::size_t i = 0; i < out.Drawn.size(); ++i) {
    const auto& d = out.Drawn[i];
    const auto& e = expected[i];
    EXPECT_EQ(d.A.X, e.X1) << "line " << i;
    EXPECT_EQ(d.A.Y, e.Y1) << "line " << i;
    EXPECT_EQ(d.B.X, e.X2) << "line " << i;
    EXPECT_EQ(d.B.Y, e.Y2) << "line " << i;
    EXPECT_EQ(d.Attr.Color, e.Color) << "line " << i;
    EXPECT_EQ(d.Attr.LineType, e.LineType) << "line " << i;
    EXPECT_EQ(d.Attr.LineWidth, e.Width) << "line " << i;
    EXPECT_EQ(d.Attr.LayerGroup, 2) << "line " << i;
    EXPECT_EQ(d.Attr.Layer, 5) << "line " << i;
  }
  EXPECT_EQ(out.Lines.size(), 10u);
  EXPECT_TRUE(out.NotDrawn.empty());
  EXPECT_EQ(out.BareLineEnds, 0);
  EXPECT_FALSE(out.NothingToDraw);
}

TEST(ToolOutput, HostPenAppliesUntilTheToolSetsOne) {
  Pen host;
  host.Color = 5;
  host.LineType = 3;
  host.LineWidth = 2;
  host.LayerGroup = 15;
  const auto out = ReadToolOutput("1E-5 0 2 0\r\nlgA\r\nlc9\r\n1 1 2 2\r\n", host);
  ASSERT_EQ(out.Drawn.size(), 2u);
  EXPECT_EQ(out.Drawn[0].A.X, 1e-5);
  EXPECT_EQ(out.Drawn[0].Attr.Color, 5);
  EXPECT_EQ(out.Drawn[0].Attr.LineType, 3);
  EXPECT_EQ(out.Drawn[0].Attr.LayerGroup, 15);
  EXPECT_EQ(out.Drawn[1].Attr.Color, 9);
  EXPECT_EQ(out.Drawn[1].Attr.LineWidth, 2);
  EXPECT_EQ(out.Drawn[1].Attr.LayerGroup, 10);
}

TEST(ToolOutput, HqAloneMeansNothingToDraw) {
  const auto out = ReadToolOutput("hq\r\n", Pen{});
  EXPECT_TRUE(out.NothingToDraw);
  EXPECT_TRUE(out.Drawn.empty());
  EXPECT_TRUE(out.NotDrawn.empty());
}

TEST(ToolOutput, RecordsThatDrawNoLineAreKeptApart) {
  // A text record, a line record with three numbers, an unknown command and
  // a layer group that is no hexadecimal digit.
  const auto out =
      ReadToolOutput("ch 10 20 1 0 \"ABC\r\n1 2 3\r\nzz9\r\nlgG\r\n0 0 1 0\r\n", Pen{});
  EXPECT_EQ(out.Drawn.size(), 1u);
  EXPECT_EQ(out.NotDrawn, (std::vector<std::string>{"ch 10 20 1 0 \"ABC", "1 2 3", "zz9", "lgG"}));
}

TEST(ToolOutput, CiRecordsAreArcsOrCirclesInThePenSetBeforeThem) {
  const auto out = ReadToolOutput(
      "lc3\r\nci 1 2 5 90 180 1 0\r\nlt2\r\nci -1 0 2.5\r\n"
      // An ellipse, a tilted one, no radius, angles without flatness and tilt.
      "ci 0 0 5 0 90 0.5 0\r\nci 0 0 5 0 90 1 30\r\nci 0 0 0 0 90 1 0\r\nci 0 0 5 0 90\r\n",
      Pen{});
  ASSERT_EQ(out.Arcs.size(), 2u);
  const struct {
    double X, Y, R, Start, End;
    int Color, LineType;
  } expected[] = {{1, 2, 5, 90, 180, 3, 1}, {-1, 0, 2.5, 0, 0, 3, 2}};
  for (std::size_t i = 0; i < out.Arcs.size(); ++i) {
    const auto& a = out.Arcs[i];
    const auto& e = expected[i];
    EXPECT_EQ(a.Centre.X, e.X) << "arc " << i;
    EXPECT_EQ(a.Centre.Y, e.Y) << "arc " << i;
    EXPECT_EQ(a.Radius, e.R) << "arc " << i;
    EXPECT_EQ(a.StartDegrees, e.Start) << "arc " << i;
    EXPECT_EQ(a.EndDegrees, e.End) << "arc " << i;
    EXPECT_EQ(a.Attr.Color, e.Color) << "arc " << i;
    EXPECT_EQ(a.Attr.LineType, e.LineType) << "arc " << i;
  }
  EXPECT_EQ(out.NotDrawn.size(), 4u);
  EXPECT_TRUE(out.Drawn.empty());
}

TEST(ToolOutput, CountsLineEndsThatAreNotCrLf) {
  EXPECT_EQ(ReadToolOutput("lg0\nly0\r\n0 0 1 1", Pen{}).BareLineEnds, 2);
  EXPECT_EQ(ReadToolOutput("lg0\r\nly0\r\n", Pen{}).BareLineEnds, 0);
}

TEST(ToolOutput, ShiftJisLinesAreShownAsUtf8) {
  const auto out = ReadToolOutput("ch 0 0 1 0 \"\x95\xC7\r\n", Pen{});
  ASSERT_EQ(out.Lines.size(), 1u);
  EXPECT_EQ(out.Lines[0], "ch 0 0 1 0 \"\xE5\xA3\x81");
}

} // namespace
