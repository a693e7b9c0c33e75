// One external-transformation run as the host performs it: the exchange
// file and the settings file beside the program, the program started with
// the mode argument, and the exchange file read back.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "settings/Presets.h"
#include "tools/jwhost/HostDescription.h"
#include "tools/jwhost/ToolOutput.h"

namespace JwHost {

struct RunOptions {
  std::filesystem::path Program; // vomurel or vomurel.exe
  // Put in front of the program (e.g. Wine's launcher); empty: run directly.
  std::vector<std::string> Runner;
  // Preset description, or a settings file when it ends in ".dat" (with
  // the options file beside it, if any); empty: whatever settings the
  // program's folder holds.
  std::filesystem::path Presets;
  // Folder the program runs in (copied there unless it is already its
  // folder); empty: a fresh temporary folder, removed afterwards.
  std::filesystem::path WorkFolder;
  std::optional<std::string> Mode; // "1", "2" or "select"; overrides the description's
  int TimeoutSeconds = 120;
};

struct RunResult {
  bool Ok = false;
  std::string Error;
  std::filesystem::path ExchangeFile; // where the tool's commands were read
  ToolOutput Output;
};

RunResult RunTool(const HostScene& scene, const RunOptions& options);

bool ReadFileBytes(const std::filesystem::path& path, std::string& bytes);
bool WriteFileBytes(const std::filesystem::path& path, std::string_view bytes);

// The settings file at settingsPath, through the tool's own writer, and the
// options file beside it (".ini") when a preset sets options or one is
// there already, as the dialog's OK saves them.
bool SavePresetFiles(const Settings::PresetTable& table, const std::filesystem::path& settingsPath,
                     std::string& error);

// The host's pen as the description states it, before the tool's commands.
Pen StartPen(const HostScene& scene);

} // namespace JwHost
