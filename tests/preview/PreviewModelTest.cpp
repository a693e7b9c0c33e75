// The preview's model: the lines of the unattended run along the sample
// paths, each in its row's pen, paper units scaled, the picture fitted to a
// window, and presets at the edges (no rows, chamfers too large, huge
// offsets).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "preview/PreviewModel.h"
#include "settings/Dialog.h"
#include "tests/dialog/FakeDialogView.h"
#include "tests/multiline/MultiLineTestSupport.h"

namespace {

using Preview::Picture;
using Settings::LineRow;
using Settings::TLineTable;

LineRow Row(double interval, double chamfer, bool paper = false, int color = 0, int type = 0,
            int width = -1) {
  LineRow row;
  row.Enabled = true;
  row.Interval = interval;
  row.Chamfer = chamfer;
  row.PaperUnit = paper;
  row.Color = color;
  row.LineType = type;
  row.LineWidth = width;
  return row;
}

std::vector<Preview::Stroke> StrokesOf(const Picture& p, std::size_t pen) {
  std::vector<Preview::Stroke> out;
  for (const auto& s : p.Strokes) {
    if (s.Pen == pen) out.push_back(s);
  }
  return out;
}

class PreviewModel : public ::testing::Test {
 protected:
  void SetUp() override { TestWriter::StartRun(); }
};

TEST_F(PreviewModel, DrawsWhatTheUnattendedRunWritesAlongEachSamplePath) {
  TLineTable preset;
  preset.Row(2) = Row(10, 3, false, 8, 2, 50);
  preset.Row(5) = Row(-25, 40, true, 12, 19, -1);
  preset.Row(7) = Row(0, 0);
  const double scale = 2;
  const Picture picture = Preview::BuildPicture(preset, scale);
  ASSERT_EQ(picture.Pens.size(), 3u);
  ASSERT_EQ(picture.Paths.size(), 2u);

  // Each path through the writer, as if the user had picked its points.
  std::vector<TestMultiLine::Record> written;
  for (const auto& path : picture.Paths) {
    std::vector<TestMultiLine::XY> xy;
    for (const auto& p : path) xy.push_back({p.X, p.Y});
    const auto records = TestMultiLine::RecordsOf(
        TestMultiLine::Build(TestMultiLine::PathOf(xy), preset, scale, 98));
    written.insert(written.end(), records.begin(), records.end());
  }
  std::vector<TestMultiLine::Record> drawn;
  for (const auto& s : picture.Strokes) drawn.push_back({s.A.X, s.A.Y, s.B.X, s.B.Y});
  // The writer rounds to 15 digits; the paths are some hundred units long.
  TestMultiLine::ExpectRecords(drawn, written, "preview against the writer", 1e-9);
}

TEST_F(PreviewModel, PensFollowTheWritersMappings) {
  ZizAvodi::Exchange.InitialLineColor = 5;
  ZizAvodi::Exchange.InitialLineType = 3;
  ZizAvodi::Exchange.InitialLineWidth = 70;
  const struct {
    LineRow Line;
    int HostColor, HostType, HostWidth;
    ZizAvodi::ScreenColor Rgb;
    std::size_t Dashes;
  } cases[] = {
      {Row(5, 0, false, 0, 0, -1), 5, 3, 70, {0xd0, 0x00, 0xd0}, 2}, // the host's current pen
      {Row(5, 0, false, 2, 1, 0), 2, 1, 0, {0x00, 0x00, 0x00}, 0},   // black, solid
      {Row(5, 0, false, 10, 5, 100), 101, 5, 100, {0, 0, 0}, 4},     // SXF black, chain
      {Row(5, 0, false, 11, 19, 30000), 102, 31, 30000, {0xff, 0, 0}, 0},
      {Row(5, 0, false, 300, -1, 5), 391, 3, 5, {0x80, 0x80, 0x80}, 2}, // past the list: grey
  };
  for (const auto& c : cases) {
    TLineTable preset;
    preset.Row(3) = c.Line;
    const Picture picture = Preview::BuildPicture(preset, 1);
    ASSERT_EQ(picture.Pens.size(), 1u);
    const Preview::Pen& pen = picture.Pens[0];
    const std::string context = "colour " + std::to_string(c.Line.Color);
    EXPECT_EQ(pen.Row, 3) << context;
    EXPECT_EQ(pen.HostColor, c.HostColor) << context;
    EXPECT_EQ(pen.HostLineType, c.HostType) << context;
    EXPECT_EQ(pen.HostLineWidth, c.HostWidth) << context;
    EXPECT_EQ(pen.Color, c.Rgb) << context;
    EXPECT_EQ(pen.Dash.Count, c.Dashes) << context;
  }
  // Wider host widths draw wider, up to a limit.
  TLineTable preset;
  preset.Row(1) = Row(5, 0, false, 1, 1, 0);
  preset.Row(2) = Row(6, 0, false, 1, 1, 50);
  preset.Row(3) = Row(7, 0, false, 1, 1, 30000);
  const Picture p = Preview::BuildPicture(preset, 1);
  EXPECT_LT(p.Pens[0].WidthPx, p.Pens[1].WidthPx);
  EXPECT_LT(p.Pens[1].WidthPx, p.Pens[2].WidthPx);
  EXPECT_LE(p.Pens[2].WidthPx, 12.0);
}

TEST_F(PreviewModel, PaperUnitsAreScaledByTheLayerGroup) {
  // 1:50: paper 1 and 0.4 are real 50 and 20.
  TLineTable paper;
  paper.Row(1) = Row(1, 0.4, true);
  TLineTable real;
  real.Row(1) = Row(50, 20, false);
  const Picture a = Preview::BuildPicture(paper, 50);
  const Picture b = Preview::BuildPicture(real, 50);
  ASSERT_EQ(a.Strokes.size(), b.Strokes.size());
  for (std::size_t i = 0; i < a.Strokes.size(); ++i) {
    EXPECT_NEAR(a.Strokes[i].A.X, b.Strokes[i].A.X, 1e-9) << i;
    EXPECT_NEAR(a.Strokes[i].B.Y, b.Strokes[i].B.Y, 1e-9) << i;
  }
  EXPECT_EQ(a.Scale, 50);

  // The scale comes from the host's current layer group; none usable is 1.
  const struct {
    double Scale;
    double Expected;
  } scales[] = {{50, 50},
                {0.5, 0.5},
                {0, 1},
                {-20, 1},
                {std::numeric_limits<double>::infinity(), 1},
                {std::numeric_limits<double>::quiet_NaN(), 1}};
  for (const auto& s : scales) {
    ZizAvodi::ResetExchangeState();
    ZizAvodi::Exchange.InitialLayerGroup = 3;
    ZizAvodi::Exchange.LayerGroupScales[3] = s.Scale;
    EXPECT_EQ(Preview::LayerGroupScale(ZizAvodi::Exchange), s.Expected) << s.Scale;
  }
  ZizAvodi::ResetExchangeState();
  EXPECT_EQ(Preview::LayerGroupScale(ZizAvodi::Exchange), 1) << "no exchange file";
}

TEST_F(PreviewModel, ChamferLongerThanTheShortSegmentLeavesItsCornersMitred) {
  // Chamfers alone size the paths so that the short segment is a little
  // shorter than the chamfer: only the acute corner and the rectangle's
  // four corners are cut.
  TLineTable preset;
  preset.Row(1) = Row(0, 25);
  const Picture picture = Preview::BuildPicture(preset, 1);
  const auto strokes = StrokesOf(picture, 0);
  const std::size_t openSegments = picture.Paths[0].size() - 1;
  const std::size_t rectangleSides = picture.Paths[1].size() - 1;
  EXPECT_EQ(strokes.size(), openSegments + 1 + rectangleSides + 4);
  const auto& path = picture.Paths[0];
  EXPECT_LT(MyFunc::PointDistance(path[2].X, path[2].Y, path[3].X, path[3].Y), 25);

  // A small chamfer cuts every corner.
  preset.Row(2) = Row(0, 1);
  const auto small = StrokesOf(Preview::BuildPicture(preset, 1), 1);
  EXPECT_EQ(small.size(), openSegments + (openSegments - 1) + rectangleSides + 4);
}

TEST_F(PreviewModel, EditingAnIntervalMovesItsLineAgainstThePath) {
  // The paths grow in steps, not with every interval: a changed interval
  // must not be fitted away into the same picture.
  const auto offsetOf = [](double interval) {
    TLineTable preset;
    preset.Row(1) = Row(interval, 0);
    const Picture p = Preview::BuildPicture(preset, 1);
    const double size = p.Paths[0][1].X - p.Paths[0][0].X;
    return p.Strokes.at(0).A.Y / size;
  };
  for (const double d : {1.0, 25.0, 30.0, 50.0, 62.5, 100.0, 1e6}) {
    EXPECT_NE(offsetOf(d), offsetOf(d * 1.2)) << d;
    EXPECT_GT(offsetOf(d), 1.0 / 21) << d;
    EXPECT_LE(offsetOf(d), 1.0 / 8) << d;
  }
}

TEST_F(PreviewModel, NoEnabledRowDrawsOnlyThePaths) {
  TLineTable preset;
  preset.Row(4) = Row(10, 2);
  preset.Row(4).Enabled = false;
  const Picture picture = Preview::BuildPicture(preset, 1);
  EXPECT_FALSE(picture.HasRows());
  EXPECT_TRUE(picture.Strokes.empty());
  EXPECT_TRUE(picture.Labels.empty());
  EXPECT_EQ(picture.Paths.size(), 2u);
  EXPECT_FALSE(picture.Extent.Empty);
}

TEST_F(PreviewModel, ExtremeOffsetsStayFiniteAndLabelled) {
  TLineTable preset;
  preset.Row(1) = Row(1e6, 0);
  preset.Row(2) = Row(-1e6, 0);
  preset.Row(3) = Row(0, 0);
  preset.Row(4) = Row(1e308, 1e308, true); // overflows once scaled
  const Picture picture = Preview::BuildPicture(preset, 50);
  ASSERT_EQ(picture.Pens.size(), 4u);
  for (const auto& s : picture.Strokes) {
    ASSERT_TRUE(std::isfinite(s.A.X) && std::isfinite(s.A.Y) && std::isfinite(s.B.X) &&
                std::isfinite(s.B.Y));
  }
  EXPECT_TRUE(StrokesOf(picture, 3).empty()) << "what the writer drops is not drawn";
  // One label per drawn row and path, at the start of its line.
  ASSERT_EQ(picture.Labels.size(), 6u);
  for (const auto& label : picture.Labels) {
    const auto strokes = StrokesOf(picture, label.Pen);
    ASSERT_FALSE(strokes.empty());
  }
  EXPECT_EQ(picture.Labels[2].At.X, picture.Paths[0][0].X) << "interval 0 starts on the path";
  EXPECT_GE(picture.Extent.MaxY - picture.Extent.MinY, 2e6);
  const Preview::Fit fit = Preview::FitTo(picture.Extent, 400, 300, 10);
  EXPECT_GT(fit.PixelsPerUnit, 0);
  EXPECT_LE(fit.X(picture.Extent.MaxX), 390 + 1e-9);
}

// A dialog run started with picked points builds along the path a continuous
// run ("2") takes from them; with fewer than two it shows the sample paths,
// sized by the enabled rows alone.
TEST_F(PreviewModel, DialogBuildsAlongThePathAContinuousRunTakes) {
  std::vector<std::string> zigzag; // a run takes the first 99
  for (int n = 1; n <= 100; ++n)
    zigzag.push_back("hp" + std::to_string(n) + " " + std::to_string(n * 100) + " " +
                     std::to_string(n % 2 * 300));
  const struct {
    const char* Name;
    std::vector<std::string> Points;
    std::size_t Drawn; // points of the path drawn; 0: the sample paths
  } cases[] = {
      {"open L", {"hp1 0 0", "hp2 1000 0", "hp3 1000 800"}, 3},
      {"closed", {"hp1 0 0", "hp2 1000 0", "hp3 1000 900", "hp4 0 900", "hp5 0 0"}, 5},
      {"a gap after point 3", {"hp1 0 0", "hp2 1000 0", "hp3 1000 800", "hp5 0 800"}, 3},
      {"99 points", zigzag, 99},
      {"one point", {"hp1 0 0"}, 0},
      {"no points", {}, 0},
  };
  Settings::PresetTable table;
  table.Preset(1).Row(1) = Row(0.2, 0.1, true); // 10 and 5 at 1:50
  TLineTable enabledOnly = table.Preset(1);
  table.Preset(1).Row(2) = Row(1e6, 0);
  table.Preset(1).Row(2).Enabled = false;
  Settings::FakeDialogView view;
  Settings::PresetDialog(table, view).Open();
  for (const auto& c : cases) {
    ZizAvodi::ResetExchangeState();
    for (const std::string& record : c.Points) ZizAvodi::ParseExchangeLine(record);
    ZizAvodi::Exchange.LayerGroupScales[0] = 50;
    const auto picked = ZizAvodi::Exchange.PickedPoints;
    const Picture picture = Preview::PictureOfDialog(view);
    EXPECT_EQ(Preview::PathCaption(picture), c.Drawn > 0 ? "指示した経路" : "見本の経路") << c.Name;
    ASSERT_EQ(picture.Paths.size(), c.Drawn > 0 ? 1u : 2u) << c.Name;
    if (c.Drawn == 0) {
      EXPECT_EQ(picture.Paths[1][1].X, Preview::SamplePaths(enabledOnly, 50)[1][1].X) << c.Name;
      continue;
    }
    EXPECT_EQ(picture.Paths[0].size(), c.Drawn) << c.Name;
    std::vector<TestMultiLine::Record> drawn;
    for (const auto& s : picture.Strokes) drawn.push_back({s.A.X, s.A.Y, s.B.X, s.B.Y});
    TestMultiLine::ExpectRecords(
        drawn, TestMultiLine::RecordsOf(TestMultiLine::Build(picked, enabledOnly, 50, 98)), c.Name);
  }
}

TEST(PreviewFit, FillsTheWindowLessTheMarginAndKeepsTheAspect) {
  const struct {
    Preview::Bounds Extent;
    double Width, Height, Margin;
    double Scale;
    double Left, Top, Right, Bottom; // pixels of the extent's corners
  } cases[] = {
      // Wide extent in a tall window: width decides, centred vertically.
      {{0, 0, 200, 100, false}, 220, 400, 10, 1, 10, 150, 210, 250},
      // Tall extent in a wide window: height decides, centred horizontally.
      {{-50, -50, 50, 150, false}, 600, 420, 10, 2, 200, 10, 400, 410},
      // A straight horizontal line has no height: its width decides.
      {{0, 5, 100, 5, false}, 120, 60, 10, 1, 10, 30, 110, 30},
  };
  for (const auto& c : cases) {
    const Preview::Fit fit = Preview::FitTo(c.Extent, c.Width, c.Height, c.Margin);
    EXPECT_DOUBLE_EQ(fit.PixelsPerUnit, c.Scale);
    EXPECT_DOUBLE_EQ(fit.X(c.Extent.MinX), c.Left);
    EXPECT_DOUBLE_EQ(fit.Y(c.Extent.MaxY), c.Top) << "y points up";
    EXPECT_DOUBLE_EQ(fit.X(c.Extent.MaxX), c.Right);
    EXPECT_DOUBLE_EQ(fit.Y(c.Extent.MinY), c.Bottom);
  }
  // A window smaller than its margins still maps forwards.
  const Preview::Fit tiny = Preview::FitTo({0, 0, 10, 10, false}, 5, 5, 10);
  EXPECT_GT(tiny.PixelsPerUnit, 0);
}

TEST(PreviewPlace, BesideTheDialogWithinTheWorkArea) {
  using Preview::Box;
  const Box work{0, 0, 1024, 738};
  const struct {
    const char* Name;
    Box Dialog;
    Box Expected;
  } cases[] = {
      {"right of it, tops aligned", {100, 100, 695, 443}, {699, 100, 1009, 443}},
      {"right of it, moved up into the work area", {100, 500, 695, 843}, {699, 395, 1009, 738}},
      {"below it when the right is full", {400, 20, 995, 363}, {400, 367, 710, 710}},
      {"left of it when right and below are full", {650, 300, 1020, 700}, {336, 300, 646, 643}},
      {"over it at the right edge when nothing fits", {20, 300, 1000, 700}, {714, 300, 1024, 643}},
      {"narrower on the roomier side", {150, 300, 820, 700}, {824, 300, 1024, 643}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Preview::PlaceBeside(c.Dialog, 310, 343, work, 4, 120), c.Expected) << c.Name;
  }
}

// The dialog dragged anywhere, past every edge too, at 100% on 1280 x 1024
// and at 150% on 1024 x 768: the preview stays in the work area and off OK
// and Cancel (b, relative to the dialog), whatever else it must cover.
TEST(PreviewPlace, NeverOverTheButtonsWhereverTheDialogMoves) {
  using Preview::Box;
  const struct {
    Box Work, Dialog, B;
    int Width, Height, Gap, MinW, MinH;
  } screens[] = {
      {{0, 0, 1280, 984}, {0, 0, 595, 343}, {403, 266, 588, 331}, 310, 421, 4, 120, 198},
      {{0, 0, 1024, 728}, {0, 0, 890, 505}, {603, 391, 881, 489}, 462, 626, 6, 180, 297},
  };
  for (const auto& s : screens) {
    const int w = s.Work.Right - s.Dialog.Right;
    const int h = s.Work.Bottom - s.Dialog.Bottom;
    for (const int x : {-s.Dialog.Right / 2, 0, 300, w / 2, w, w + s.Dialog.Right / 2}) {
      for (const int y : {-10, 0, 200, h / 2, h, h + s.Dialog.Bottom / 2}) {
        const Box b{x + s.B.Left, y + s.B.Top, x + s.B.Right, y + s.B.Bottom};
        const Box p = Preview::PlaceBeside({x, y, x + s.Dialog.Right, y + s.Dialog.Bottom}, s.Width,
                                           s.Height, s.Work, s.Gap, s.MinW, s.MinH, b);
        EXPECT_FALSE(p.Left < b.Right && b.Left < p.Right && p.Top < b.Bottom && b.Top < p.Bottom)
            << x << "," << y << " on " << s.Work.Right;
        EXPECT_TRUE(p.Left >= 0 && p.Right <= s.Work.Right && p.Top >= 0 &&
                    p.Bottom <= s.Work.Bottom && p.Right > p.Left && p.Bottom > p.Top)
            << x << "," << y << " on " << s.Work.Right;
      }
    }
  }
}

} // namespace
