// Start of a run as the driver does it, for tests of the writer and of the
// code that emits through it, and a view of what was emitted.
#pragma once

#include <string>
#include <vector>

#include "exchange/ZizAvodi.h"

namespace TestWriter {

// The start of a run without an exchange file: the environment at its
// defaults (host colour 1, line type 1, width 0, no "lw" record unless
// lineWidthSeen), then the writer's caches.
inline void StartRun(bool lineWidthSeen = false) {
  ZizAvodi::ResetExchangeState();
  ZizAvodi::Exchange.LineWidthSeen = lineWidthSeen;
  ZizAvodi::ResetOutputState();
}

// The buffered lines, in emission order.
inline std::vector<std::string> BufferedLines() {
  std::vector<std::string> lines;
  for (std::int32_t i = 0; i < ZizAvodi::OutputBuffer.Count(); ++i) {
    lines.emplace_back(ZizAvodi::OutputBuffer[i].View());
  }
  return lines;
}

// Lines joined with " | " for failure messages.
inline std::string Joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    if (!out.empty()) out += " | ";
    out += line;
  }
  return out;
}

} // namespace TestWriter
