// The preview draws a preset's drawing options as a run would: caps in
// their own pen without a row number, round corners as arcs on the circle
// the run writes.
#include <gtest/gtest.h>

#include <cmath>

#include "preview/PreviewModel.h"

namespace {

TEST(PreviewOptions, CapsAndArcsAsTheRunDrawsThem) {
  Settings::TLineTable preset;
  Settings::LineRow& row = preset.Row(2);
  row.Enabled = true;
  row.Interval = 10;
  row.Chamfer = 3;
  preset.Options.StartCap = true;
  preset.Options.EndCap = true;
  preset.Options.CapColor = 2;
  preset.Options.CapOverhang = 2; // one row: the caps are the overhang alone
  preset.Options.RoundCorners = true;
  const Preview::Picture picture = Preview::BuildPicture(preset, 1.0);

  ASSERT_EQ(picture.Pens.size(), 2U) << "the row's pen and the caps'";
  EXPECT_EQ(picture.Pens[1].Row, 0);
  EXPECT_EQ(picture.Pens[1].HostColor, 2);
  std::size_t caps = 0;
  for (const auto& s : picture.Strokes) caps += s.Pen == 1 ? 1 : 0;
  EXPECT_EQ(caps, 2U) << "both ends of the open sample path";
  for (const auto& label : picture.Labels) EXPECT_EQ(label.Pen, 0U) << "caps carry no number";

  // Every corner of both sample paths is rounded: 3 on the open one, 4 on the rectangle.
  ASSERT_EQ(picture.Curves.size(), 7U);
  for (const auto& curve : picture.Curves) {
    ASSERT_GE(curve.Points.size(), 2U);
    EXPECT_EQ(curve.Pen, 0U);
  }
}

TEST(PreviewOptions, ArcPointsRunCounterClockwiseOnTheCircle) {
  const struct {
    double Start, End;
    std::size_t Points;
  } cases[] = {{270, 0, 19}, {0, 90, 19}, {350, 10, 5}, {10, 10.5, 2}};
  for (const auto& c : cases) {
    MultiLine::CornerArc arc;
    arc.Centre = {5, -2};
    arc.Radius = 3;
    arc.StartDegrees = c.Start;
    arc.EndDegrees = c.End;
    const auto points = Preview::ArcPoints(arc, 5.0);
    ASSERT_EQ(points.size(), c.Points) << c.Start << " to " << c.End;
    for (const auto& p : points) EXPECT_NEAR(std::hypot(p.X - 5, p.Y + 2), 3, 1e-12);
    const double a = c.Start * std::acos(-1.0) / 180;
    EXPECT_NEAR(points.front().X, 5 + 3 * std::cos(a), 1e-12);
    const double b = c.End * std::acos(-1.0) / 180;
    EXPECT_NEAR(points.back().Y, -2 + 3 * std::sin(b), 1e-12);
  }
}

} // namespace
