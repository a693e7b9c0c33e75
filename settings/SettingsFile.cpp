// The settings file: 1423 lines, one value per line, each known by its
// position alone: window left, window top, current preset, then for each of
// the 20 presets its comment and ten rows of seven values (enabled,
// interval, chamfer, paper unit, colour, line type, width).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/FileLayer.h"
#include "common/MyFunc.h"
#include "settings/Presets.h"

namespace Settings {

namespace {

constexpr char CtrlZ = '\x1A';

// Lines of a settings file as read: at most SettingsFileLines of them.
// failed: reading broke off on an error, so lines beyond the ones read must
// keep their defaults instead of reading as empty lines.
struct SettingsLines {
  std::vector<std::string> Lines;
  bool Failed = false;
  bool Complete = false; // the line limit or the end of the data was reached

  // Feeds bytes; returns false once no more input is wanted.
  bool Feed(std::string_view bytes) {
    while (!bytes.empty()) {
      const std::size_t lineEnd = bytes.find('\n');
      const std::string_view part = bytes.substr(0, lineEnd);
      const std::size_t ctrlZ = part.find(CtrlZ);
      if (ctrlZ != std::string_view::npos) { // end of file, whatever follows
        current_.append(part.substr(0, ctrlZ));
        Finish();
        return false;
      }
      current_.append(part);
      if (lineEnd == std::string_view::npos) return true;
      if (!current_.empty() && current_.back() == '\r') current_.pop_back();
      Lines.push_back(std::move(current_));
      current_.clear();
      if (Lines.size() >= static_cast<std::size_t>(SettingsFileLines)) {
        Complete = true;
        return false;
      }
      bytes.remove_prefix(lineEnd + 1);
    }
    return true;
  }

  void Finish() {
    if (Complete) return;
    if (!current_.empty()) {
      if (current_.back() == '\r') current_.pop_back();
      Lines.push_back(std::move(current_));
      current_.clear();
    }
    Complete = true;
  }

 private:
  std::string current_;
};

// Hands out the lines in order; past the end of the data every read yields
// an empty line, unless reading failed, in which case values stay untouched.
class LineCursor {
 public:
  explicit LineCursor(const SettingsLines& lines) : lines_(lines) {}

  bool Next(std::string_view& line) {
    if (next_ < lines_.Lines.size()) {
      line = lines_.Lines[next_++];
      return true;
    }
    if (lines_.Failed) return false;
    line = {};
    return true;
  }

 private:
  const SettingsLines& lines_;
  std::size_t next_ = 0;
};

void ApplyLines(PresetTable& table, const SettingsLines& lines) {
  LineCursor cursor(lines);
  std::string_view line;
  if (!cursor.Next(line)) return;
  table.WindowLeft = MyFunc::TextToIntSafe(line);
  if (!cursor.Next(line)) return;
  table.WindowTop = MyFunc::TextToIntSafe(line);
  if (!cursor.Next(line)) return;
  table.CurrentPreset = MyFunc::TextToIntSafe(line);
  if (table.CurrentPreset < 1 || table.CurrentPreset > PresetCount) table.CurrentPreset = 1;
  for (int p = 1; p <= PresetCount; ++p) {
    TLineTable& preset = table.Preset(p);
    if (!cursor.Next(line)) return;
    preset.Comment = std::string(line);
    for (int r = 1; r <= RowCount; ++r) {
      LineRow& row = preset.Row(r);
      if (!cursor.Next(line)) return;
      row.Enabled = MyFunc::TextToBool(line);
      if (!cursor.Next(line)) return;
      row.Interval = MyFunc::TextToFloatSafe(line);
      if (!cursor.Next(line)) return;
      row.Chamfer = MyFunc::TextToFloatSafe(line);
      if (!cursor.Next(line)) return;
      row.PaperUnit = MyFunc::TextToBool(line);
      if (!cursor.Next(line)) return;
      row.Color = MyFunc::TextToIntSafe(line);
      if (!cursor.Next(line)) return;
      row.LineType = MyFunc::TextToIntSafe(line);
      if (!cursor.Next(line)) return;
      row.LineWidth = CheckedWidth(MyFunc::TextToIntSafe(line));
    }
  }
}

void AppendLine(std::string& out, std::string_view value) {
  out.append(value);
  out.append("\r\n");
}

void AppendIntLine(std::string& out, std::int32_t value) {
  MyFunc::AppendInt(out, value);
  out.append("\r\n");
}

void AppendRealLine(std::string& out, double value) {
  MyFunc::AppendReal(out, value);
  out.append("\r\n");
}

// A comment must stay on its one line: a CR or LF would shift every later
// value, and Ctrl-Z would end the file early when it is read back.
std::string OneLineComment(std::string_view comment) {
  std::string out(comment);
  for (char& c : out) {
    if (c == '\r' || c == '\n' || c == CtrlZ) c = ' ';
  }
  return out;
}

} // namespace

void LoadSettingsBytes(PresetTable& table, std::string_view bytes) {
  table = PresetTable{};
  SettingsLines lines;
  if (lines.Feed(bytes)) lines.Finish();
  ApplyLines(table, lines);
}

void LoadSettings(PresetTable& table, const std::filesystem::path& path) {
  table = PresetTable{};
  Files::FileLayer& files = Files::Current();
  if (!files.Exists(path)) return;
  auto file = files.OpenRead(path);
  SettingsLines lines;
  if (!file) {
    lines.Failed = true;
  } else {
    constexpr std::size_t BufferSize = 64 * 1024;
    // Not zero-filled: the file usually fills only a fraction of it.
    const auto buffer = std::make_unique_for_overwrite<char[]>(BufferSize);
    for (;;) {
      const long long n = file->Read(buffer.get(), BufferSize);
      if (n < 0) {
        lines.Failed = true;
        break;
      }
      if (n == 0) {
        lines.Finish();
        break;
      }
      if (!lines.Feed(std::string_view(buffer.get(), static_cast<std::size_t>(n)))) break;
    }
  }
  ApplyLines(table, lines);
}

std::string RenderSettings(const PresetTable& table) {
  std::string out;
  out.reserve(16 * 1024);
  AppendIntLine(out, table.WindowLeft);
  AppendIntLine(out, table.WindowTop);
  AppendIntLine(out, table.CurrentPreset);
  for (int p = 1; p <= PresetCount; ++p) {
    const TLineTable& preset = table.Preset(p);
    AppendLine(out, OneLineComment(preset.Comment));
    for (int r = 1; r <= RowCount; ++r) {
      const LineRow& row = preset.Row(r);
      AppendLine(out, MyFunc::BoolToText(row.Enabled));
      AppendRealLine(out, row.Interval);
      AppendRealLine(out, row.Chamfer);
      AppendLine(out, MyFunc::BoolToText(row.PaperUnit));
      AppendIntLine(out, row.Color);
      AppendIntLine(out, row.LineType);
      AppendIntLine(out, row.LineWidth);
    }
  }
  return out;
}

bool SaveSettings(const PresetTable& table, const std::filesystem::path& path) {
  std::error_code reason;
  return SaveSettings(table, path, reason);
}

namespace {

// The system's reason for the file layer's last failure, or an input/output
// error when the layer does not know one: a failure is never told without.
std::error_code FailureReason(Files::FileLayer& files) {
  std::error_code reason = files.LastError();
  if (!reason) reason = std::make_error_code(std::errc::io_error);
  return reason;
}

std::filesystem::path TempPathFor(const std::filesystem::path& path) {
  std::filesystem::path temp = path;
  temp += ".new";
  return temp;
}

// Writes content beside path (path + ".new"); on failure no temporary file
// is left.
bool WriteTemp(Files::FileLayer& files, const std::filesystem::path& path,
               const std::string& content, std::error_code& reason) {
  const std::filesystem::path temp = TempPathFor(path);
  auto file = files.Create(temp);
  if (!file) {
    reason = FailureReason(files);
    return false;
  }
  const bool written = file->Write(content.data(), content.size());
  const bool closed = file->Close();
  if (!written || !closed) {
    // Taken before the clean-up, which may leave a reason of its own.
    reason = FailureReason(files);
    files.Remove(temp);
    return false;
  }
  return true;
}

bool PutInPlace(Files::FileLayer& files, const std::filesystem::path& path,
                std::error_code& reason) {
  const std::filesystem::path temp = TempPathFor(path);
  if (files.Replace(temp, path)) return true;
  reason = FailureReason(files);
  files.Remove(temp);
  return false;
}

} // namespace

bool SaveSettings(const PresetTable& table, const std::filesystem::path& path,
                  std::error_code& reason) {
  reason.clear();
  // Write beside the old file and swap only once the new one is complete,
  // so that a full disk never costs the user the presets already saved.
  Files::FileLayer& files = Files::Current();
  return WriteTemp(files, path, RenderSettings(table), reason) && PutInPlace(files, path, reason);
}

bool SaveSettingsAndOptions(const PresetTable& table, const std::filesystem::path& settingsPath,
                            const std::filesystem::path& optionsPath,
                            std::filesystem::path& failedFile, std::error_code& reason) {
  reason.clear();
  Files::FileLayer& files = Files::Current();
  // A user who never set an option gets no options file at all.
  const bool withOptions = HasOptions(table) || files.Exists(optionsPath);
  if (!WriteTemp(files, settingsPath, RenderSettings(table), reason)) {
    failedFile = settingsPath;
    return false;
  }
  if (withOptions && !WriteTemp(files, optionsPath, RenderOptions(table), reason)) {
    files.Remove(TempPathFor(settingsPath));
    failedFile = optionsPath;
    return false;
  }
  if (!PutInPlace(files, settingsPath, reason)) {
    if (withOptions) files.Remove(TempPathFor(optionsPath));
    failedFile = settingsPath;
    return false;
  }
  if (withOptions && !PutInPlace(files, optionsPath, reason)) {
    failedFile = optionsPath;
    return false;
  }
  return true;
}

std::filesystem::path SettingsPathFor(const std::filesystem::path& programPath) {
  std::filesystem::path settings = programPath;
  settings.replace_extension(".dat");
  return settings;
}

} // namespace Settings
