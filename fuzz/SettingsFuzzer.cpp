// Whole settings files through the loader, then written and read again. The
// file written from any loaded table must have 1423 lines, keep the ranges
// the loader guarantees, and read back to a table that writes the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzChecks.h"
#include "settings/Presets.h"

namespace {

using namespace Settings;

void CheckTable(const PresetTable& t) {
  FUZZ_CHECK(t.CurrentPreset >= 1 && t.CurrentPreset <= PresetCount, "%d", t.CurrentPreset);
  for (int p = 1; p <= PresetCount; ++p) {
    for (int r = 1; r <= RowCount; ++r) {
      const int w = t.Preset(p).Row(r).LineWidth;
      FUZZ_CHECK(w >= MinLineWidth && w <= MaxLineWidth, "preset %d row %d width %d", p, r, w);
    }
  }
}

// Every line of a rendered file is ended by CR LF, and the values are in
// their written forms; only comment lines are free text.
void CheckRendered(std::string_view file) {
  int line = 0;
  std::size_t start = 0;
  while (start < file.size()) {
    const std::size_t lf = file.find('\n', start);
    FUZZ_CHECK(lf != std::string_view::npos, "line %d has no line end", line + 1);
    FUZZ_CHECK(lf > start && file[lf - 1] == '\r', "line %d is not ended by CR LF", line + 1);
    const std::string_view text = file.substr(start, lf - 1 - start);
    ++line;
    FUZZ_CHECK(
        text.find('\r') == std::string_view::npos && text.find('\x1A') == std::string_view::npos,
        "line %d holds a CR or Ctrl-Z: %s", line, FuzzChecks::Printable(text).c_str());
    const int inPreset = line <= 3 ? -1 : (line - 4) % 71;
    if (inPreset != 0) {
      const int field = inPreset < 0 ? -1 : (inPreset - 1) % 7;
      const bool real = field == 1 || field == 2;
      FUZZ_CHECK(real ? FuzzChecks::IsWrittenReal(text) : FuzzChecks::IsWrittenInt(text),
                 "line %d: %s", line, FuzzChecks::Printable(text).c_str());
    }
    start = lf + 1;
  }
  FUZZ_CHECK(line == SettingsFileLines, "%d lines", line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  PresetTable first;
  LoadSettingsBytes(first, bytes);
  CheckTable(first);
  const std::string written = RenderSettings(first);
  CheckRendered(written);

  PresetTable second;
  LoadSettingsBytes(second, written);
  CheckTable(second);
  const std::string again = RenderSettings(second);
  FUZZ_CHECK(again == written, "the written file does not read back to itself");
  return 0;
}
