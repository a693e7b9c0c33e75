// Times ReadExchangeFile on a generated file of about 100 MB (two million
// records) and reports the peak memory beside the element store's size.
#include <benchmark/benchmark.h>

#include <filesystem>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <fstream>
#include <string>
#include <system_error>

#include "GenerateExchange.h"
#include "common/MyFunc.h"
#include "exchange/ZizAvodi.h"

namespace fs = std::filesystem;
using namespace ZizAvodi;

namespace {

constexpr std::uint64_t FileBytes = 100ull << 20;
constexpr double MiB = 1024.0 * 1024.0;

fs::path SamplePath;
ExchangeBench::GeneratedFile Sample;

// Peak resident memory of the process in bytes (Linux), 0 where unknown.
double PeakResidentBytes() {
  std::ifstream status("/proc/self/status", std::ios::binary);
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) != 0) continue;
    std::string_view number(line);
    number.remove_prefix(6);
    while (!number.empty() && (number.front() == ' ' || number.front() == '\t')) {
      number.remove_prefix(1);
    }
    number = number.substr(0, number.find(' '));
    return static_cast<double>(MyFunc::TextToIntSafe(number)) * 1024.0;
  }
  return 0.0;
}

// Lets the next peak reading start from the present memory, so the
// generator's buffers do not count.
void ResetPeakResident() { std::ofstream("/proc/self/clear_refs", std::ios::binary) << "5"; }

template <typename T>
double ListBytes(const BlockList<T>& list) {
  return static_cast<double>(list.Capacity()) * sizeof(T);
}

double StoreBytes() {
  const ExchangeState& s = Exchange;
  double bytes =
      ListBytes(s.Lines) + ListBytes(s.Circles) + ListBytes(s.Arcs) + ListBytes(s.Texts) +
      ListBytes(s.Points) + ListBytes(s.PointsEx) + ListBytes(s.MsgTexts) + ListBytes(s.Blocks) +
      ListBytes(s.Solids2) + ListBytes(s.Solids3) + ListBytes(s.Solids4) + ListBytes(s.ScList) +
      ListBytes(s.SeList) + ListBytes(s.SoList) + ListBytes(s.SgList) + ListBytes(s.EntityOrder);
  for (int i = 0; i < s.Blocks.Count(); ++i)
    bytes += static_cast<double>(s.Blocks[i].Name.capacity());
  return bytes;
}

void ReadExchangeFileBench(benchmark::State& state) {
  const bool keepMemory = state.range(0) != 0;
#ifdef __GLIBC__
  if (keepMemory) {
    // Keep freed blocks in the process, so that only the reader's own work
    // is timed and not the system's cost of handing out fresh pages.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
  }
#endif
  ResetExchangeState();
  ResetPeakResident();
  bool ok = true;
  for (auto _ : state) {
    state.PauseTiming();
    ResetExchangeState();
    state.ResumeTiming();
    ok = ReadExchangeFile(SamplePath) && ok;
  }
  if (!ok) state.SkipWithError("ReadExchangeFile failed");
  const double store = StoreBytes();
  const double peak = PeakResidentBytes();
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(Sample.Bytes));
  state.counters["records"] = static_cast<double>(Sample.Records);
  state.counters["elements"] = static_cast<double>(Exchange.EntityOrder.Count());
  state.counters["store_MiB"] = store / MiB;
  state.counters["peak_MiB"] = peak / MiB;
  state.counters["peak_limit_MiB"] = (1.5 * store + 32.0 * MiB) / MiB;
  ResetExchangeState();
}

// The first read of the process is what a run of the tool does: the store's
// memory is new and every page of it is faulted in. The repeated reads keep
// the memory and time the reader's own work. Throughput comes from CPU time,
// which a shared machine disturbs less than wall time.
BENCHMARK(ReadExchangeFileBench)
    ->Name("ReadExchangeFile/FirstInProcess")
    ->Arg(0)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ReadExchangeFileBench)
    ->Name("ReadExchangeFile/Repeated")
    ->Arg(1)
    ->MinTime(3.0)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const fs::path folder = fs::temp_directory_path() / "vomurel-bench";
  fs::create_directories(folder);
  SamplePath = folder / "JWC_TEMP.TXT";
  if (!ExchangeBench::GenerateExchangeFile(SamplePath, FileBytes, 1, Sample)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::error_code ec;
  fs::remove_all(folder, ec);
  return 0;
}
