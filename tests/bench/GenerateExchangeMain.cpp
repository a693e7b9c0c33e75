// generate_exchange PATH [MEGABYTES]: writes a sample exchange file (100 MB
// unless told otherwise) for timing runs outside the benchmark.
#include <iostream>

#include "GenerateExchange.h"
#include "common/MyFunc.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: generate_exchange PATH [MEGABYTES]\n";
    return 2;
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
