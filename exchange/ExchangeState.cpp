#include "exchange/ZizAvodi.h"

namespace ZizAvodi {

ExchangeState Exchange;
OutputBufferList OutputBuffer;

void ResetExchangeState() {}
void FreeExchangeState() {}
void AppendEntityOrder(std::int32_t, std::int32_t) {}
void CaptureAttributes(TJwwEntAttr&) {}

} // namespace ZizAvodi
