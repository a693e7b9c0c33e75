// Times the model of one preview redraw: ten enabled rows (both sides,
// chamfers, paper units, several pens) built along both sample paths, or
// along a picked path of 99 points, then fitted to a window and turned into
// pixels as the window layer does.
#include <benchmark/benchmark.h>

#include <vector>

#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"
#include "preview/PreviewModel.h"
#include "settings/Presets.h"

namespace {

Settings::TLineTable TenRows() {
  Settings::TLineTable preset;
  for (int r = 1; r <= Settings::RowCount; ++r) {
    Settings::LineRow& row = preset.Row(r);
    row.Enabled = true;
    row.Interval = (r - 5.5) * 30.0;
    row.Chamfer = r % 3 == 0 ? 0.0 : 12.0 * r;
    row.PaperUnit = r % 4 == 0;
    row.Color = r * 7;
    row.LineType = r * 3;
    row.LineWidth = r * 20 - 30;
  }
  return preset;
}

// A wall outline of 99 points as the builder's benchmark picks it: mostly
// right angles, some oblique corners and short jogs.
std::vector<MyFunc::Point> PickedWall() {
  std::vector<MyFunc::Point> path;
  double x = 0.0;
  double y = 0.0;
  for (int i = 1; i <= 99; ++i) {
    path.push_back({x, y});
    switch (i % 4) {
      case 0:
        x += 3600.0;
        break;
      case 1:
        y += 2725.5;
        break;
      case 2:
        x += 450.0;
        y -= 450.0;
        break;
      default:
        y += 910.25 + 0.001 * i;
        break;
    }
  }
  return path;
}

void PreviewRedraw(benchmark::State& state, const std::vector<MyFunc::Point>& picked) {
  ZizAvodi::ResetExchangeState();
  const Settings::TLineTable preset = TenRows();
  std::size_t strokes = 0;
  for (auto _ : state) {
    const Preview::Picture picture = Preview::BuildPicture(preset, 50.0, picked);
    const Preview::Fit fit = Preview::FitTo(picture.Extent, 480, 360, 24);
    double sum = 0;
    for (const auto& s : picture.Strokes) sum += fit.X(s.A.X) + fit.Y(s.A.Y) + fit.X(s.B.X);
    benchmark::DoNotOptimize(sum);
    strokes = picture.Strokes.size();
  }
  state.counters["strokes"] = static_cast<double>(strokes);
}
BENCHMARK_CAPTURE(PreviewRedraw, samples, std::vector<MyFunc::Point>{})
    ->Name("PreviewRedraw/10rows2paths")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PreviewRedraw, picked, PickedWall())
    ->Name("PreviewRedraw/10rows99picked")
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
