// Whole options files through the loader, then written and read again. The
// file written from any loaded table must have 20 sections of the eight keys
// in their written forms, keep the ranges the loader guarantees, and read
// back to a table that writes the same bytes.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzChecks.h"
#include "settings/Presets.h"

namespace {

using namespace Settings;

constexpr const char* Keys[] = {"StartCap", "EndCap",      "CapOverhang",  "CapPaperUnit",
                                "CapColor", "CapLineType", "CapLineWidth", "RoundCorners"};
constexpr int KeyCount = sizeof(Keys) / sizeof(Keys[0]);

void CheckTable(const PresetTable& t) {
  for (int p = 1; p <= PresetCount; ++p) {
    const DrawOptions& o = t.Preset(p).Options;
    FUZZ_CHECK(std::isfinite(o.CapOverhang) && o.CapOverhang >= 0.0, "preset %d overhang %g", p,
               o.CapOverhang);
    FUZZ_CHECK(o.CapLineWidth >= MinLineWidth && o.CapLineWidth <= MaxLineWidth,
               "preset %d cap width %d", p, o.CapLineWidth);
  }
}

void CheckRendered(std::string_view file) {
  int line = 0;
  std::size_t start = 0;
  while (start < file.size()) {
    const std::size_t lf = file.find('\n', start);
    FUZZ_CHECK(lf != std::string_view::npos && lf > start && file[lf - 1] == '\r',
               "line %d is not ended by CR LF", line + 1);
    const std::string_view text = file.substr(start, lf - 1 - start);
    const int section = line / (KeyCount + 1) + 1;
    const int key = line % (KeyCount + 1) - 1;
    ++line;
    if (key < 0) {
      FUZZ_CHECK(text == "[" + std::to_string(section) + "]", "line %d: %s", line,
                 FuzzChecks::Printable(text).c_str());
    } else {
      const std::string_view name = Keys[key];
      FUZZ_CHECK(text.substr(0, name.size()) == name && text.size() > name.size() &&
                     text[name.size()] == '=',
                 "line %d: %s", line, FuzzChecks::Printable(text).c_str());
      const std::string_view value = text.substr(name.size() + 1);
      FUZZ_CHECK(key == 2 ? FuzzChecks::IsWrittenReal(value) : FuzzChecks::IsWrittenInt(value),
                 "line %d: %s", line, FuzzChecks::Printable(text).c_str());
    }
    start = lf + 1;
  }
  FUZZ_CHECK(line == PresetCount * (KeyCount + 1), "%d lines", line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  PresetTable first;
  LoadOptionsBytes(first, bytes);
  CheckTable(first);
  const std::string written = RenderOptions(first);
  CheckRendered(written);

  PresetTable second;
  LoadOptionsBytes(second, written);
  CheckTable(second);
  FUZZ_CHECK(RenderOptions(second) == written, "the written file does not read back to itself");
  FUZZ_CHECK(HasOptions(second) == HasOptions(first), "options appear or vanish when read back");
  return 0;
}
