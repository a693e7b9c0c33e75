// The drawing options file, beside the settings file (the program's path
// with ".ini"). Shift-JIS text, one "Key=Value" a line:
//
//   [3]                  a section: the preset number 1..20
//   StartCap=1           keys in any ASCII case, blanks around key and value
//   CapOverhang=0.5      ignored; a later duplicate wins
//
// Lines end at LF, with or without CR; the last may lack one. Unknown
// sections and keys, lines without "=" and keys before the first section
// are skipped. Values are read with the tolerant conversions; an overhang
// below 0 reads as 0 and a width outside -1..30000 as -1.
#include <memory>
#include <string>
#include <string_view>

#include "common/FileLayer.h"
#include "common/MyFunc.h"
#include "settings/Presets.h"

namespace Settings {

namespace {

// A real file holds about 3 KB; reading stops here so that a huge file in
// its place cannot keep the program busy.
constexpr std::size_t MaxOptionsBytes = 1024 * 1024;
// Longer lines cannot hold a key this file knows: only their start is kept.
constexpr std::size_t MaxLineBytes = 4096;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// The preset of a section name "1" ... "20", else 0.
int SectionNumber(std::string_view name) {
  if (name.empty() || name.size() > 2) return 0;
  int number = 0;
  for (const char c : name) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number >= 1 && number <= PresetCount ? number : 0;
}

void ApplyValue(DrawOptions& o, std::string_view key, std::string_view value) {
  if (SameKey(key, "StartCap")) {
    o.StartCap = MyFunc::TextToBool(value);
  } else if (SameKey(key, "EndCap")) {
    o.EndCap = MyFunc::TextToBool(value);
  } else if (SameKey(key, "CapOverhang")) {
    o.CapOverhang = CheckedOverhang(MyFunc::TextToFloatSafe(value));
  } else if (SameKey(key, "CapPaperUnit")) {
    o.CapPaperUnit = MyFunc::TextToBool(value);
  } else if (SameKey(key, "CapColor")) {
    o.CapColor = MyFunc::TextToIntSafe(value);
  } else if (SameKey(key, "CapLineType")) {
    o.CapLineType = MyFunc::TextToIntSafe(value);
  } else if (SameKey(key, "CapLineWidth")) {
    o.CapLineWidth = CheckedWidth(MyFunc::TextToIntSafe(value));
  } else if (SameKey(key, "RoundCorners")) {
    o.RoundCorners = MyFunc::TextToBool(value);
  }
}

class OptionsReader {
 public:
  explicit OptionsReader(PresetTable& table) : table_(table) {
    for (int p = 1; p <= PresetCount; ++p) table_.Preset(p).Options = DrawOptions{};
  }

  void Feed(std::string_view bytes) {
    while (!bytes.empty()) {
      const std::size_t end = bytes.find('\n');
      Append(bytes.substr(0, end));
      if (end == std::string_view::npos) return;
      Line();
      bytes.remove_prefix(end + 1);
    }
  }

  void Finish() {
    if (!line_.empty()) Line();
  }

 private:
  void Append(std::string_view part) {
    if (line_.size() < MaxLineBytes) line_.append(part.substr(0, MaxLineBytes - line_.size()));
  }

  void Line() {
    std::string_view line(line_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line = Trim(line);
    if (!line.empty() && line.front() == '[') {
      section_ = line.size() >= 2 && line.back() == ']'
                     ? SectionNumber(Trim(line.substr(1, line.size() - 2)))
                     : 0;
    } else if (section_ != 0) {
      const std::size_t equals = line.find('=');
      if (equals != std::string_view::npos) {
        ApplyValue(table_.Preset(section_).Options, Trim(line.substr(0, equals)),
                   Trim(line.substr(equals + 1)));
      }
    }
    line_.clear();
  }

  PresetTable& table_;
  std::string line_;
  int section_ = 0; // 0 before the first section and in unknown ones
};

void AppendKey(std::string& out, std::string_view key, std::string_view value) {
  out.append(key);
  out.push_back('=');
  out.append(value);
  out.append("\r\n");
}

} // namespace

std::filesystem::path OptionsPathFor(const std::filesystem::path& programPath) {
  std::filesystem::path options = programPath;
  options.replace_extension(".ini");
  return options;
}

void LoadOptionsBytes(PresetTable& table, std::string_view bytes) {
  OptionsReader reader(table);
  reader.Feed(bytes.substr(0, MaxOptionsBytes));
  reader.Finish();
}

void LoadOptions(PresetTable& table, const std::filesystem::path& path) {
  OptionsReader reader(table);
  Files::FileLayer& files = Files::Current();
  if (!files.Exists(path)) return;
  auto file = files.OpenRead(path);
  if (!file) return;
  constexpr std::size_t BufferSize = 16 * 1024;
  const auto buffer = std::make_unique_for_overwrite<char[]>(BufferSize);
  std::size_t total = 0;
  while (total < MaxOptionsBytes) {
    const long long n = file->Read(buffer.get(), BufferSize);
    // A read error keeps what was read, as the settings file does.
    if (n <= 0) break;
    const std::size_t take = std::min(static_cast<std::size_t>(n), MaxOptionsBytes - total);
    reader.Feed(std::string_view(buffer.get(), take));
    total += take;
  }
  reader.Finish();
}

std::string RenderOptions(const PresetTable& table) {
  std::string out;
  out.reserve(4 * 1024);
  for (int p = 1; p <= PresetCount; ++p) {
    const DrawOptions& o = table.Preset(p).Options;
    out.push_back('[');
    MyFunc::AppendInt(out, p);
    out.append("]\r\n");
    AppendKey(out, "StartCap", MyFunc::BoolToText(o.StartCap));
    AppendKey(out, "EndCap", MyFunc::BoolToText(o.EndCap));
    AppendKey(out, "CapOverhang", MyFunc::FormatReal(o.CapOverhang));
    AppendKey(out, "CapPaperUnit", MyFunc::BoolToText(o.CapPaperUnit));
    AppendKey(out, "CapColor", MyFunc::FormatInt(o.CapColor));
    AppendKey(out, "CapLineType", MyFunc::FormatInt(o.CapLineType));
    AppendKey(out, "CapLineWidth", MyFunc::FormatInt(o.CapLineWidth));
    AppendKey(out, "RoundCorners", MyFunc::BoolToText(o.RoundCorners));
  }
  return out;
}

bool HasOptions(const PresetTable& table) {
  for (int p = 1; p <= PresetCount; ++p) {
    if (!(table.Preset(p).Options == DrawOptions{})) return true;
  }
  return false;
}

} // namespace Settings
