#include "tools/jwhost/HostRun.h"

#include <chrono>
#include <fstream>
#include <random>
#include <system_error>
#include <utility>

#include "settings/Presets.h"
#include "tools/jwhost/Cat.h"
#include "tools/jwhost/Encoding.h"
#include "tools/jwhost/PresetDescription.h"
#include "tools/jwhost/Process.h"

namespace JwHost {

namespace fs = std::filesystem;

namespace {

constexpr char ExchangeFileName[] = "JWC_TEMP.TXT";

bool MakeTempFolder(fs::path& folder, std::string& error) {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) {
    error = Cat("no temporary folder: ", ec.message());
    return false;
  }
  std::mt19937_64 random(
      std::random_device{}() ^
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  for (int attempt = 0; attempt < 100; ++attempt) {
    folder = base / Cat("jwhost-", MyFunc::FormatInt(static_cast<std::int64_t>(random() >> 2)));
    if (fs::create_directory(folder, ec)) return true;
  }
  error = Cat("cannot create a folder in ", PathToUtf8(base));
  return false;
}

bool PlaceSettings(const fs::path& source, const fs::path& target, std::string& error) {
  if (source.extension() == ".dat") {
    // The options file travels with its settings file, when there is one.
    for (const auto& [from, to] :
         {std::pair{source, target},
          std::pair{Settings::OptionsPathFor(source), Settings::OptionsPathFor(target)}}) {
      if (from != source && !fs::exists(from)) continue;
      std::error_code ec;
      fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
      if (ec) {
        error = Cat("cannot copy ", PathToUtf8(from), ": ", ec.message());
        return false;
      }
    }
    return true;
  }
  std::string text;
  if (!ReadFileBytes(source, text)) {
    error = Cat("cannot read ", PathToUtf8(source));
    return false;
  }
  Settings::PresetTable table;
  if (!ParsePresetDescription(text, table, error)) {
    error = Cat(PathToUtf8(source), ": ", error);
    return false;
  }
  return SavePresetFiles(table, target, error);
}

RunResult RunIn(const fs::path& folder, const HostScene& scene, const RunOptions& options) {
  RunResult result;
  std::error_code ec;
  fs::path program = options.Program;
  if (!fs::equivalent(program.parent_path().empty() ? fs::path(".") : program.parent_path(), folder,
                      ec)) {
    program = folder / options.Program.filename();
    fs::copy_file(options.Program, program, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      result.Error = Cat("cannot copy ", PathToUtf8(options.Program), ": ", ec.message());
      return result;
    }
  }
  program = fs::absolute(program, ec);

  if (!options.Presets.empty() &&
      !PlaceSettings(options.Presets, Settings::SettingsPathFor(program), result.Error)) {
    return result;
  }

  std::string written;
  if (!ExchangeBytes(scene, written, result.Error)) return result;
  result.ExchangeFile = folder / ExchangeFileName;
  if (!WriteFileBytes(result.ExchangeFile, written)) {
    result.Error = Cat("cannot write ", PathToUtf8(result.ExchangeFile));
    return result;
  }

  std::vector<std::string> command = options.Runner;
  command.push_back(PathToUtf8(program));
  command.push_back(options.Mode.value_or(scene.Mode));
  const ProcessResult run = RunProcess(command, folder, options.TimeoutSeconds);
  if (!run.Started) {
    result.Error = run.Error;
    return result;
  }
  if (run.TimedOut) {
    result.Error = Cat("the tool did not end within ", MyFunc::FormatInt(options.TimeoutSeconds),
                       " s (is it waiting in its dialog?)");
    return result;
  }
  if (run.ExitCode != 0) {
    result.Error = Cat("the tool ended with exit code ", MyFunc::FormatInt(run.ExitCode));
    return result;
  }

  std::string back;
  if (!ReadFileBytes(result.ExchangeFile, back)) {
    result.Error = Cat("the tool left no ", ExchangeFileName);
    return result;
  }
  if (back == written) {
    result.Error = Cat("the tool left ", ExchangeFileName, " as the host wrote it");
    return result;
  }
  result.Output = ReadToolOutput(back, StartPen(scene));
  result.Ok = true;
  return result;
}

} // namespace

bool ReadFileBytes(const fs::path& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteFileBytes(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}

bool SavePresetFiles(const Settings::PresetTable& table, const fs::path& settingsPath,
                     std::string& error) {
  fs::path failed;
  std::error_code reason;
  if (Settings::SaveSettingsAndOptions(table, settingsPath, Settings::OptionsPathFor(settingsPath),
                                       failed, reason)) {
    return true;
  }
  error = Cat("cannot write ", PathToUtf8(failed), ": ", reason.message());
  return false;
}

Pen StartPen(const HostScene& scene) {
  Pen pen;
  pen.Color = scene.LineColor;
  pen.LineType = scene.LineType;
  pen.LineWidth = scene.LineWidth.value_or(0);
  pen.LayerGroup = scene.LayerGroup;
  pen.Layer = scene.Layer;
  return pen;
}

RunResult RunTool(const HostScene& scene, const RunOptions& options) {
  if (!options.WorkFolder.empty()) {
    std::error_code ec;
    fs::create_directories(options.WorkFolder, ec);
    return RunIn(options.WorkFolder, scene, options);
  }
  fs::path folder;
  RunResult result;
  if (!MakeTempFolder(folder, result.Error)) return result;
  result = RunIn(folder, scene, options);
  std::error_code ec;
  fs::remove_all(folder, ec);
  result.ExchangeFile.clear(); // gone with the folder
  return result;
}

} // namespace JwHost
