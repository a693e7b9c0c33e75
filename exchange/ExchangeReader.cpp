#include "exchange/ZizAvodi.h"

namespace ZizAvodi {

void TokenizeExchangeLine(std::string_view, std::string&, TokenizedLine&) {}
void ParseExchangeLine(std::string_view) {}
bool ReadExchangeFile(const std::filesystem::path&) { return false; }
void ReadExchangeBytes(std::string_view) {}

} // namespace ZizAvodi
