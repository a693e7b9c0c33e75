// The twenty presets, the current preset number and the dialog position,
// and the settings file that keeps them: 1423 lines, one value per line,
// known by position alone.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>

namespace Settings {

struct LineRow {
  bool Enabled = false;
  double Interval = 0.0; // signed offset from the picked path
  double Chamfer = 0.0;
  bool PaperUnit = false;      // Interval and Chamfer are paper millimetres
  std::int32_t Color = 0;      // position in the dialog's colour list
  std::int32_t LineType = 0;   // position in the dialog's line-type list
  std::int32_t LineWidth = -1; // -1: the host's current width; else 0..30000
};

constexpr int RowCount = 10;
constexpr int PresetCount = 20;
constexpr int SettingsFileLines = 1423;
constexpr int MinLineWidth = -1;
constexpr int MaxLineWidth = 30000;

// The readings that every place storing a width or an overhang applies:
// a width outside -1..30000 is the host's current width, an overhang below 0
// (or not a number) is none.
constexpr std::int32_t CheckedWidth(std::int32_t width) {
  return width >= MinLineWidth && width <= MaxLineWidth ? width : MinLineWidth;
}
constexpr double CheckedOverhang(double overhang) { return overhang > 0.0 ? overhang : 0.0; }

// Drawing options of a preset, kept beside the settings file in a file of
// their own (the program's path with ".ini"); the settings file never holds
// them, so its form stays as every earlier version wrote it.
struct DrawOptions {
  bool StartCap = false;          // a cap line across the start of an open path
  bool EndCap = false;            // and across its end
  double CapOverhang = 0.0;       // how far a cap reaches beyond the outermost lines, >= 0
  bool CapPaperUnit = false;      // CapOverhang is paper millimetres
  std::int32_t CapColor = 0;      // position in the colour list, as a row's Color
  std::int32_t CapLineType = 0;   // position in the line-type list
  std::int32_t CapLineWidth = -1; // as a row's LineWidth
  bool RoundCorners = false;      // decided corners are arcs instead of chamfers

  bool operator==(const DrawOptions&) const = default;
};

struct TLineTable {
  std::string Comment;
  std::array<LineRow, RowCount + 1> Rows{}; // rows 1..10 used
  DrawOptions Options;                      // not in the settings file

  LineRow& Row(int r) { return Rows[static_cast<std::size_t>(r)]; }
  const LineRow& Row(int r) const { return Rows[static_cast<std::size_t>(r)]; }
};

// The members of the main form that persist in the settings file.
struct PresetTable {
  std::int32_t WindowLeft = 100;
  std::int32_t WindowTop = 100;
  std::int32_t CurrentPreset = 1;
  std::array<TLineTable, PresetCount + 1> Presets{}; // presets 1..20 used

  TLineTable& Preset(int p) { return Presets[static_cast<std::size_t>(p)]; }
  const TLineTable& Preset(int p) const { return Presets[static_cast<std::size_t>(p)]; }
};

// Defaults, then whatever the file holds; never fails towards the caller.
void LoadSettings(PresetTable& table, const std::filesystem::path& path);
// The same reading from bytes in memory (tests, fuzzing).
void LoadSettingsBytes(PresetTable& table, std::string_view bytes);
// The 1423 lines, CR LF each. Line breaks inside a comment become blanks,
// since they would shift every later value of the file.
std::string RenderSettings(const PresetTable& table);
// Writes a temporary file beside path and replaces path only once it is
// complete: on any failure the previous file stays as it was and no
// temporary file is left. True when the new file is in place.
bool SaveSettings(const PresetTable& table, const std::filesystem::path& path);
// The same, and on failure the system's reason (never empty then).
bool SaveSettings(const PresetTable& table, const std::filesystem::path& path,
                  std::error_code& reason);

// The settings file of a program: its path with the extension ".dat".
std::filesystem::path SettingsPathFor(const std::filesystem::path& programPath);

// The drawing options file of a program: its path with the extension ".ini".
// Sections [1] ... [20], one per preset, with Key=Value lines.
std::filesystem::path OptionsPathFor(const std::filesystem::path& programPath);
// Sets every preset's options to the defaults, then reads what the file
// gives (tolerantly, like the settings file); never fails towards the caller.
void LoadOptions(PresetTable& table, const std::filesystem::path& path);
// The same reading from bytes in memory (tests, fuzzing).
void LoadOptionsBytes(PresetTable& table, std::string_view bytes);
// All 20 sections with all eight keys, CR LF each.
std::string RenderOptions(const PresetTable& table);
// True when an option of some preset differs from its default.
bool HasOptions(const PresetTable& table);

// What OK saves: the settings file always, the options file when an option
// is set or the file exists already. Both are written beside their places
// first and put in place only once both are complete. On failure, failedFile
// names the file that could not be saved and reason says why (never empty).
bool SaveSettingsAndOptions(const PresetTable& table, const std::filesystem::path& settingsPath,
                            const std::filesystem::path& optionsPath,
                            std::filesystem::path& failedFile, std::error_code& reason);

} // namespace Settings
