#include "tools/jwhost/PresetDescription.h"

#include <utility>

#include "common/MyFunc.h"
#include "tools/jwhost/Cat.h"
#include "tools/jwhost/DescriptionText.h"
#include "tools/jwhost/Encoding.h"

namespace JwHost {

namespace {

bool ReadFlag(std::string_view t, bool& value) {
  int v = 0;
  if (!ReadInt(t, v) || (v != 0 && v != 1)) return false;
  value = v == 1;
  return true;
}

bool ReadWidth(std::string_view t, std::int32_t& width) {
  int v = 0;
  if (!ReadInt(t, v) || v < Settings::MinLineWidth || v > Settings::MaxLineWidth) return false;
  width = v;
  return true;
}

// A "key=value" argument split at its first "=" (no "=": an empty value).
std::pair<std::string_view, std::string_view> SplitSetting(std::string_view setting) {
  const std::size_t eq = setting.find('=');
  return {setting.substr(0, eq), eq == std::string_view::npos ? "" : setting.substr(eq + 1)};
}

bool ApplyRowSetting(std::string_view setting, Settings::LineRow& row, std::string& problem) {
  const auto [key, value] = SplitSetting(setting);
  bool ok = false;
  if (key == "interval") {
    ok = ReadReal(value, row.Interval);
  } else if (key == "chamfer") {
    ok = ReadReal(value, row.Chamfer);
  } else if (key == "paper") {
    ok = ReadFlag(value, row.PaperUnit);
  } else if (key == "enabled") {
    ok = ReadFlag(value, row.Enabled);
  } else if (key == "color") {
    ok = ReadInt(value, row.Color);
  } else if (key == "type") {
    ok = ReadInt(value, row.LineType);
  } else if (key == "width") {
    ok = ReadWidth(value, row.LineWidth);
  } else {
    problem = Cat("unknown row setting ", Quoted(key));
    return false;
  }
  if (!ok) problem = Cat("bad value in ", Quoted(setting));
  return ok;
}

// The cap's pen keys are named as a row's; the overhang, unlike the tool's
// tolerant reading, must not be negative.
bool ApplyOptionSetting(std::string_view setting, Settings::DrawOptions& options,
                        std::string& problem) {
  const auto [key, value] = SplitSetting(setting);
  bool ok = false;
  if (key == "startcap") {
    ok = ReadFlag(value, options.StartCap);
  } else if (key == "endcap") {
    ok = ReadFlag(value, options.EndCap);
  } else if (key == "overhang") {
    ok = ReadReal(value, options.CapOverhang) && options.CapOverhang >= 0.0;
  } else if (key == "paper") {
    ok = ReadFlag(value, options.CapPaperUnit);
  } else if (key == "color") {
    ok = ReadInt(value, options.CapColor);
  } else if (key == "type") {
    ok = ReadInt(value, options.CapLineType);
  } else if (key == "width") {
    ok = ReadWidth(value, options.CapLineWidth);
  } else if (key == "round") {
    ok = ReadFlag(value, options.RoundCorners);
  } else {
    problem = Cat("unknown option ", Quoted(key));
    return false;
  }
  if (!ok) problem = Cat("bad value in ", Quoted(setting));
  return ok;
}

bool ApplyLine(const DescriptionLine& d, Settings::PresetTable& table, int& preset,
               std::string& problem) {
  const auto& a = d.Args;
  const auto readRange = [&](std::string_view t, int low, int high, int& v) {
    if (ReadInt(t, v) && v >= low && v <= high) return true;
    problem = Cat(Quoted(t), " is not a whole number from ", MyFunc::FormatInt(low), " to ",
                  MyFunc::FormatInt(high));
    return false;
  };
  const auto expect = [&](std::size_t count, const char* usage) {
    if (a.size() == count) return true;
    problem = Cat("expected ", Quoted(usage));
    return false;
  };

  if (d.Keyword == "current") {
    return expect(1, "current <p>") &&
           readRange(a[0], 1, Settings::PresetCount, table.CurrentPreset);
  }
  if (d.Keyword == "window") {
    return expect(2, "window <x> <y>") && readRange(a[0], -100000, 100000, table.WindowLeft) &&
           readRange(a[1], -100000, 100000, table.WindowTop);
  }
  if (d.Keyword == "preset") {
    return expect(1, "preset <p>") && readRange(a[0], 1, Settings::PresetCount, preset);
  }
  if (d.Keyword == "comment") {
    if (Utf8ToCp932(d.Rest, table.Preset(preset).Comment)) return true;
    problem = "the comment holds a character that Shift-JIS cannot represent";
    return false;
  }
  if (d.Keyword == "row") {
    int r = 0;
    if (a.empty()) {
      problem = "expected \"row <r> key=value ...\"";
      return false;
    }
    if (!readRange(a[0], 1, Settings::RowCount, r)) return false;
    Settings::LineRow& row = table.Preset(preset).Row(r);
    row = Settings::LineRow{};
    row.Enabled = true;
    for (std::size_t i = 1; i < a.size(); ++i) {
      if (!ApplyRowSetting(a[i], row, problem)) return false;
    }
    return true;
  }
  if (d.Keyword == "options") {
    Settings::DrawOptions& options = table.Preset(preset).Options;
    options = Settings::DrawOptions{};
    for (const std::string_view setting : a) {
      if (!ApplyOptionSetting(setting, options, problem)) return false;
    }
    return true;
  }
  problem = Cat("unknown record ", Quoted(d.Keyword));
  return false;
}

} // namespace

bool ParsePresetDescription(std::string_view text, Settings::PresetTable& table,
                            std::string& error) {
  table = Settings::PresetTable{};
  int preset = 1;
  for (const DescriptionLine& d : SplitDescription(text)) {
    std::string problem;
    if (!ApplyLine(d, table, preset, problem)) {
      error = LineMessage(d.Number, problem);
      return false;
    }
  }
  return true;
}

} // namespace JwHost
