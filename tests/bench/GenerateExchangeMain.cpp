// generate_exchange PATH [MEGABYTES]: writes a sample exchange file (100 MB
// unless told otherwise) for timing runs outside the benchmark.
// generate_exchange --plan SEGMENTS PATH: a selection of a plan's centre
// lines, SEGMENTS line records, for timing the select run.
#include <iostream>
#include <memory>
#include <string_view>

#include "GenerateExchange.h"
#include "common/FileLayer.h"
#include "common/MyFunc.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: generate_exchange PATH [MEGABYTES] | --plan SEGMENTS PATH\n";
    return 2;
  }
  if (std::string_view(argv[1]) == "--plan") {
    const std::int32_t segments = argc == 4 ? MyFunc::TextToIntSafe(argv[2]) : 0;
    if (segments <= 0) {
      std::cerr << "usage: generate_exchange --plan SEGMENTS PATH\n";
      return 2;
    }
    const std::string plan = ExchangeBench::PlanExchange(segments, 1);
    const std::unique_ptr<Files::OutFile> file = Files::Current().Create(argv[3]);
    if (file == nullptr || !file->Write(plan.data(), plan.size()) || !file->Close()) {
      std::cerr << "cannot write " << argv[3] << "\n";
      return 1;
    }
    std::cout << plan.size() << " bytes, " << segments << " segments\n";
    return 0;
  }
  std::uint64_t megabytes = 100;
  if (argc > 2) {
    const std::int32_t n = MyFunc::TextToIntSafe(argv[2]);
    if (n <= 0) {
      std::cerr << "MEGABYTES must be a positive whole number\n";
      return 2;
    }
    megabytes = static_cast<std::uint64_t>(n);
  }
  ExchangeBench::GeneratedFile result;
  if (!ExchangeBench::GenerateExchangeFile(argv[1], megabytes << 20, 1, result)) {
    std::cerr << "cannot write " << argv[1] << "\n";
    return 1;
  }
  std::cout << result.Bytes << " bytes, " << result.Records << " records\n";
  return 0;
}
