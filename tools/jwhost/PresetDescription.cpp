#include "tools/jwhost/PresetDescription.h"

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

bool ApplyRowSetting(std::string_view setting, Settings::LineRow& row, std::string& problem) {
  const std::size_t eq = setting.find('=');
  const std::string_view key = setting.substr(0, eq);
  const std::string_view value = eq == std::string_view::npos ? "" : setting.substr(eq + 1);
  bool ok = false;
  int i = 0;
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
    ok = ReadInt(value, i) && i >= Settings::MinLineWidth && i <= Settings::MaxLineWidth;
    if (ok) row.LineWidth = i;
  } else {
    problem = Cat("unknown row setting ", Quoted(key));
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
