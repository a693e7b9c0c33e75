// Plane geometry of the builder: angles, crossings and chamfer points.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "common/MyFunc.h"

using namespace MyFunc;

namespace {

constexpr double Pi = std::numbers::pi;

TEST(VectorAngle, CounterClockwiseFromPlusXInZeroToTwoPi) {
  const struct {
    double Dx, Dy, Expected;
  } cases[] = {
      {1, 0, 0},
      {0, 1, Pi / 2},
      {-1, 0, Pi},
      {0, -1, 3 * Pi / 2},
      {1, -1, 7 * Pi / 4},
      {5e-11, -5e-11, 0},
      {0, -2e-10, 3 * Pi / 2},
      {-1, -0.0, Pi},
  };
  for (const auto& c : cases) {
    const double a = VectorAngle(c.Dx, c.Dy);
    EXPECT_NEAR(a, c.Expected, 1e-15) << "(" << c.Dx << ", " << c.Dy << ")";
    EXPECT_GE(a, 0.0);
    EXPECT_LT(a, 2 * Pi);
  }
}

TEST(SamePointAndDistance, UseInclusiveTolerance) {
  EXPECT_TRUE(SamePoint(0, 0, 0.5e-8, -0.5e-8));
  EXPECT_TRUE(SamePoint(0, 0, 1e-8, 1e-8));
  EXPECT_FALSE(SamePoint(0, 0, 2e-8, 0));
  EXPECT_EQ(PointDistance(0, 0, 3, 4), 5.0);
}

struct CrossCase {
  const char* Name;
  Segment A, B;
  int Result;
  Point Crossing;
};

TEST(IntersectLines, ReportsWhereTheCrossingLies) {
  const CrossCase cases[] = {
      {"diagonals", {{0, 0}, {10, 10}}, {{0, 10}, {10, 0}}, CrossingOnBoth, {5, 5}},
      {"B vertical", {{0, 0}, {10, 0}}, {{5, -5}, {5, 5}}, CrossingOnBoth, {5, 0}},
      {"beyond A", {{0, 0}, {10, 0}}, {{20, -5}, {20, 5}}, CrossingOffSegment, {20, 0}},
      {"A vertical", {{5, -5}, {5, 5}}, {{0, 0}, {10, 0}}, CrossingOnBoth, {5, 0}},
      {"one-sided window", {{0, 0}, {1e-8, 10}}, {{-5, 5}, {5, 5}}, CrossingOnBoth, {0, 5}},
  };
  for (const auto& c : cases) {
    Point p{-99, -99};
    EXPECT_EQ(IntersectLines(c.A, c.B, p), c.Result) << c.Name;
    EXPECT_NEAR(p.X, c.Crossing.X, 1e-12) << c.Name;
    EXPECT_NEAR(p.Y, c.Crossing.Y, 1e-12) << c.Name;
  }
}

TEST(IntersectLines, ParallelLinesLeaveTheOutputAlone) {
  const Segment pairs[][2] = {
      {{{0, 0}, {10, 10}}, {{0, 1}, {10, 11}}},
      {{{0, 0}, {0, 10}}, {{5, 0}, {5, 10}}},
      {{{0, 0}, {10, 0}}, {{20, 0}, {30, 0}}}, // collinear
  };
  for (const auto& pr : pairs) {
    Point p{-99, -99};
    EXPECT_EQ(IntersectLines(pr[0], pr[1], p), LinesParallel);
    EXPECT_EQ(p.X, -99);
    EXPECT_EQ(p.Y, -99);
  }
}

TEST(IntersectLines, PositiveTinyDifferenceIsNotVertical) {
  // x difference +1e-8 lies outside the window: A is a very steep line.
  Point p{-99, -99};
  const int r = IntersectLines({{1e-8, 0}, {0, 10}}, {{-5, 5}, {5, 5}}, p);
  EXPECT_NE(r, LinesParallel);
  EXPECT_NEAR(p.X, 0.5e-8, 1e-12);
}

TEST(UnitDirection, UnitLengthAtEveryMagnitude) {
  // The squares of the extremes leave the double range unless scaled.
  const struct {
    double Dx, Dy, X, Y;
  } cases[] = {
      {3, 4, 0.6, 0.8},
      {-1e300, 1e300, -std::numbers::sqrt2 / 2, std::numbers::sqrt2 / 2},
      {3e-9, -4e-9, 0.6, -0.8},
      {1e-300, 0, 1, 0}, // a null vector: the direction angle 0
  };
  for (const auto& c : cases) {
    const Point u = UnitDirection(c.Dx, c.Dy);
    EXPECT_NEAR(u.X, c.X, 1e-15) << c.Dx << " " << c.Dy;
    EXPECT_NEAR(u.Y, c.Y, 1e-15) << c.Dx << " " << c.Dy;
  }
}

TEST(ChamferPoints, PointsAtDistanceCFromTheCorner) {
  ChamferCut cut;
  ASSERT_TRUE(ChamferPoints(3, {{0, 10}, {90, 10}}, {{90, 10}, {90, 100}}, cut));
  const Point expected[] = {{87, 10}, {93, 10}, {90, 7}, {90, 13}};
  const Point actual[] = {cut.BackwardA, cut.ForwardA, cut.BackwardB, cut.ForwardB};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(actual[i].X, expected[i].X, 1e-12) << "point " << i;
    EXPECT_NEAR(actual[i].Y, expected[i].Y, 1e-12) << "point " << i;
  }
}

TEST(ChamferPoints, CornerOffTheSegmentsIsStillUsed) {
  ChamferCut cut;
  ASSERT_TRUE(ChamferPoints(1, {{0, 0}, {5, 0}}, {{10, 5}, {10, 10}}, cut));
  EXPECT_NEAR(cut.BackwardA.X, 9, 1e-12);
  EXPECT_NEAR(cut.ForwardB.Y, 1, 1e-12);
}

TEST(ChamferPoints, DegenerateInputFailsWithZeroOutputs) {
  const Segment cases[][2] = {
      {{{0, 0}, {0.5e-8, 0}}, {{0, 0}, {0, 10}}}, // A has no length
      {{{0, 0}, {10, 0}}, {{3, 3}, {3, 3}}},      // B has no length
      {{{0, 0}, {10, 0}}, {{10, 0}, {20, 0}}},    // parallel: a point mid-run
  };
  for (const auto& c : cases) {
    ChamferCut cut{{1, 1}, {1, 1}, {1, 1}, {1, 1}};
    EXPECT_FALSE(ChamferPoints(3, c[0], c[1], cut));
    EXPECT_EQ(cut.BackwardA.X, 0);
    EXPECT_EQ(cut.ForwardB.Y, 0);
  }
}

TEST(RoundDigits, RoundsTheMagnitude) {
  const struct {
    double Value;
    int Digits, Mode;
    double Expected;
  } cases[] = {
      {1.25, 1, 0, 1.2}, {1.25, 1, 2, 1.3}, {-1.25, 1, 2, -1.3}, {1.125, 2, 1, 1.13},
      {2.0625, 0, 1, 2}, {2.0625, 0, 2, 2}, {2.5, 14, 2, 3},     {2.5, -1, 0, 2},
      {0.0, 3, 2, 0},    {-2.7, 0, 0, -2},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(RoundDigits(c.Value, c.Digits, c.Mode), c.Expected)
        << c.Value << " digits " << c.Digits << " mode " << c.Mode;
  }
}

} // namespace

namespace {

TEST(DirectionDegrees, ExactOnTheAxesAndDiagonalsAndInRange) {
  const struct {
    double Dx, Dy, Expected;
  } cases[] = {
      {1, 0, 0},     {0, 1, 90},   {-1, 0, 180}, {0, -1, 270}, {3, 3, 45},      {-3, 3, 135},
      {-3, -3, 225}, {3, -3, 315}, {0, 0, 0},    {-0.0, 0, 0}, {1, -1e-300, 0}, // a hair below the
                                                                                // axis is written
                                                                                // as 0, not 360
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DirectionDegrees(c.Dx, c.Dy), c.Expected) << c.Dx << ", " << c.Dy;
  }
}

// Within a few units in the last place of the C library's atan2, whose last
// bit differs between builds: the digits written are the true ones.
TEST(DirectionDegrees, AgreesWithAtan2) {
  double worst = 0;
  for (int i = 0; i < 20000; ++i) {
    const double a = (i + 0.37) * 2 * Pi / 20000;
    const double dx = std::cos(a) * (1 + i % 7);
    const double dy = std::sin(a) * (1 + i % 7);
    double expected = std::atan2(dy, dx) * 180 / Pi;
    if (expected < 0) expected += 360;
    worst = std::max(worst, std::fabs(DirectionDegrees(dx, dy) - expected) / expected);
  }
  EXPECT_LT(worst, 1e-15);
}

} // namespace
