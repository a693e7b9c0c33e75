// Times the model of one preview redraw: ten enabled rows (both sides,
// chamfers, paper units, several pens) built along both sample paths, then
// fitted to a window and turned into pixels as the window layer does; and
// the same along a picked zigzag of 99 points.
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

void PreviewRedraw(benchmark::State& state, int points) {
  ZizAvodi::ResetExchangeState();
  const Settings::TLineTable preset = TenRows();
  std::vector<MyFunc::Point> picked;
  for (int i = 0; i < points; ++i) picked.push_back({i * 1200.0, i % 2 * 2725.5 + i % 3 * 450.0});
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
BENCHMARK_CAPTURE(PreviewRedraw, samples, 0)
    ->Name("PreviewRedraw/10rows2paths")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(PreviewRedraw, picked, 99)
    ->Name("PreviewRedraw/10rows99picked")
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
