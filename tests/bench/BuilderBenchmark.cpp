// Times BuildMultiLines as a path run calls it: 99 picked points (98
// segments) and a preset of ten enabled rows, into an output buffer that is
// empty as at the start of a run. The emitted records, formatting included,
// are part of the time; a second benchmark times that share alone.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"
#include "multiline/MultiLine.h"
#include "settings/Presets.h"

namespace {

using Points = std::array<ZizAvodi::TPickedPoint, ZizAvodi::PickedPointSlots>;

// A wall outline as users pick it: mostly right angles, some oblique
// corners and short jogs, so that most corners are chamfered and some are
// too short for it. Coordinates in millimetres, some off the whole grid.
Points PickedPath(int count) {
  Points points{};
  double x = 0.0;
  double y = 0.0;
  for (int i = 1; i <= count; ++i) {
    points[static_cast<std::size_t>(i)] = {true, x, y, 0};
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
  return points;
}

Settings::TLineTable TenRows() {
  Settings::TLineTable preset;
  for (int r = 1; r <= Settings::RowCount; ++r) {
    Settings::LineRow& row = preset.Row(r);
    row.Enabled = true;
    row.Interval = (r - 5.5) * 30.0;
    row.Chamfer = r % 3 == 0 ? 0.0 : 20.0 * r;
    row.PaperUnit = r % 4 == 0;
    row.Color = r;
    row.LineType = r % 2 == 0 ? 19 : 1;
    row.LineWidth = -1;
  }
  return preset;
}

void StartRun() {
  ZizAvodi::ResetExchangeState();
  ZizAvodi::Exchange.LineWidthSeen = true;
  ZizAvodi::ResetOutputState();
  ZizAvodi::EmitLayerGroup(0);
  ZizAvodi::EmitLayer(0);
}

// Arg 1: keep freed memory in the process from here on, so that the output
// buffer's blocks are not new pages each time. A run of the tool always gets
// new pages; on a virtual machine their first touch can cost more than the
// work itself, and the two numbers tell the one from the other.
void KeepFreedMemory(const benchmark::State& state) {
#ifdef __GLIBC__
  if (state.range(0) != 0) {
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
  }
#else
  (void)state;
#endif
}

void BuildMultiLinesBench(benchmark::State& state) {
  KeepFreedMemory(state);
  const Points path = PickedPath(99);
  const Settings::TLineTable preset = TenRows();
  std::int64_t records = 0;
  for (auto _ : state) {
    state.PauseTiming();
    StartRun();
    state.ResumeTiming();
    MultiLine::BuildMultiLines(path, preset, 100.0, 98);
    benchmark::DoNotOptimize(ZizAvodi::OutputBuffer.Count());
    records = ZizAvodi::OutputBuffer.Count();
  }
  state.counters["lines"] = static_cast<double>(records);
  ZizAvodi::ResetExchangeState();
}

// The same line records emitted directly: the writer's share of the time
// above (formatting the numbers), so that the rest is the builder's geometry.
void EmitSameLinesBench(benchmark::State& state) {
  KeepFreedMemory(state);
  StartRun();
  MultiLine::BuildMultiLines(PickedPath(99), TenRows(), 100.0, 98);
  std::vector<std::array<double, 4>> records;
  for (std::int32_t i = 0; i < ZizAvodi::OutputBuffer.Count(); ++i) {
    const std::string_view line = ZizAvodi::OutputBuffer[i].View();
    if (line.find(' ') == std::string_view::npos) continue; // a command
    std::array<double, 4> r{};
    std::size_t from = 0;
    for (double& v : r) {
      const std::size_t blank = line.find(' ', from);
      v = MyFunc::TextToFloatSafe(line.substr(from, blank - from));
      from = blank + 1;
    }
    records.push_back(r);
  }
  for (auto _ : state) {
    state.PauseTiming();
    StartRun();
    state.ResumeTiming();
    for (const auto& r : records) ZizAvodi::EmitLine(r[0], r[1], r[2], r[3]);
    benchmark::DoNotOptimize(ZizAvodi::OutputBuffer.Count());
  }
  state.counters["lines"] = static_cast<double>(records.size());
  ZizAvodi::ResetExchangeState();
}

// Registered in this order: the runs with new memory come first, before the
// first KeepFreedMemory changes the process for good.
BENCHMARK(BuildMultiLinesBench)
    ->Name("BuildMultiLines/99points10rows/NewMemory")
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(EmitSameLinesBench)
    ->Name("EmitLine/sameRecords/NewMemory")
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildMultiLinesBench)
    ->Name("BuildMultiLines/99points10rows/MemoryKept")
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(EmitSameLinesBench)
    ->Name("EmitLine/sameRecords/MemoryKept")
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
