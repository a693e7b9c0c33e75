// jwhost: a stand-in for the host CAD program, for trying the tool without
// it. It writes JWC_TEMP.TXT from a small description the way the host
// would, starts the tool, reads its commands back and draws them as SVG.
//
//   jwhost run <host-desc> --exe <vomurel[.exe]> [--wine | --runner <cmd>]
//          [--presets <preset-desc | file.dat>] [--mode 1|2|select] [--work <dir>]
//          [--svg <out.svg>] [--timeout <seconds>]
//   jwhost exchange <host-desc> <out-file>     writes only the exchange file
//   jwhost render <host-desc> <tool-output> <out.svg>
//                                              draws a file the tool wrote
//   jwhost preset <preset-desc> <out.dat>      writes a settings file (and
//                                              out.ini with options)
//
// The description formats are in HostDescription.h and PresetDescription.h
// and in docs/host-standin.md.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Presets.h"
#include "tools/jwhost/Cat.h"
#include "tools/jwhost/Encoding.h"
#include "tools/jwhost/HostDescription.h"
#include "tools/jwhost/HostRun.h"
#include "tools/jwhost/PresetDescription.h"
#include "tools/jwhost/SvgPicture.h"

namespace {

using JwHost::Cat;
using JwHost::PathFromUtf8;
namespace fs = std::filesystem;

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

constexpr char Usage[] =
    "usage:\n"
    "  jwhost run <host-desc> --exe <vomurel[.exe]> [--wine | --runner <cmd>]\n"
    "         [--presets <preset-desc|file.dat>] [--mode 1|2|select] [--work <dir>]\n"
    "         [--svg <out.svg>] [--timeout <seconds>]\n"
    "  jwhost exchange <host-desc> <out-file>\n"
    "  jwhost render <host-desc> <tool-output> <out.svg>\n"
    "  jwhost preset <preset-desc> <out.dat>\n";

void Print(std::FILE* to, std::string_view text) { std::fwrite(text.data(), 1, text.size(), to); }

int Fail(std::string_view message) {
  Print(stderr, "jwhost: ");
  Print(stderr, message);
  Print(stderr, "\n");
  return ExitFailure;
}

int UsageError(std::string_view message) {
  Print(stderr, "jwhost: ");
  Print(stderr, message);
  Print(stderr, "\n");
  Print(stderr, Usage);
  return ExitUsage;
}

bool LoadScene(const std::string& file, JwHost::HostScene& scene, std::string& error) {
  std::string text;
  if (!JwHost::ReadFileBytes(PathFromUtf8(file), text)) {
    error = Cat("cannot read ", file);
    return false;
  }
  if (JwHost::ParseHostDescription(text, scene, error)) return true;
  error = Cat(file, ": ", error);
  return false;
}

bool WriteSvg(const std::string& file, const JwHost::HostScene& scene,
              const JwHost::ToolOutput& output) {
  return JwHost::WriteFileBytes(PathFromUtf8(file), JwHost::RenderSvg(scene, output));
}

void PrintOutput(const JwHost::ToolOutput& output) {
  for (const std::string& line : output.Lines) {
    Print(stdout, "  ");
    Print(stdout, line);
    Print(stdout, "\n");
  }
  if (!output.NotDrawn.empty()) {
    Print(stdout, Cat("  (", MyFunc::FormatInt(static_cast<std::int64_t>(output.NotDrawn.size())),
                      " records draw no line)\n"));
  }
  if (output.BareLineEnds > 0) {
    Print(stdout,
          Cat("  warning: ", MyFunc::FormatInt(output.BareLineEnds), " line ends are not CR LF\n"));
  }
}

int CommandRun(const std::vector<std::string>& args) {
  if (args.empty()) return UsageError("run: no host description");
  JwHost::RunOptions options;
  std::string svg;
  bool wine = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--wine") {
      wine = true;
      continue;
    }
    if (!hasValue) return UsageError(Cat("run: ", a, " needs a value or is unknown"));
    const std::string& v = args[++i];
    if (a == "--exe") {
      options.Program = PathFromUtf8(v);
    } else if (a == "--runner") {
      options.Runner.push_back(v);
    } else if (a == "--presets") {
      options.Presets = PathFromUtf8(v);
    } else if (a == "--work") {
      options.WorkFolder = PathFromUtf8(v);
    } else if (a == "--svg") {
      svg = v;
    } else if (a == "--mode") {
      if (v != "1" && v != "2" && v != "select")
        return UsageError("run: --mode takes 1, 2 or select");
      options.Mode = v;
    } else if (a == "--timeout") {
      options.TimeoutSeconds = MyFunc::TextToIntSafe(v);
      if (options.TimeoutSeconds <= 0) return UsageError("run: --timeout takes seconds");
    } else {
      return UsageError(Cat("run: unknown option ", a));
    }
  }
  if (options.Program.empty()) return UsageError("run: --exe is required");
  if (wine) {
#ifdef _WIN32
    return UsageError("run: --wine is for the Linux build of jwhost");
#else
    options.Runner = {JWHOST_WINE_RUN};
#endif
  }

  JwHost::HostScene scene;
  std::string error;
  if (!LoadScene(args[0], scene, error)) return Fail(error);
  if (options.Mode) scene.Mode = *options.Mode; // the picture's caption names it too
  Print(stdout,
        Cat(args[0], ": ", JwHost::PathToUtf8(options.Program.filename()), " ", scene.Mode, "\n"));
  const JwHost::RunResult run = JwHost::RunTool(scene, options);
  if (!run.Ok) return Fail(run.Error);
  PrintOutput(run.Output);
  if (!svg.empty()) {
    if (!WriteSvg(svg, scene, run.Output)) return Fail(Cat("cannot write ", svg));
    Print(stdout, Cat("  picture: ", svg, "\n"));
  }
  return 0;
}

int CommandExchange(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError("exchange: expected <host-desc> <out-file>");
  JwHost::HostScene scene;
  std::string error, bytes;
  if (!LoadScene(args[0], scene, error)) return Fail(error);
  if (!JwHost::ExchangeBytes(scene, bytes, error)) return Fail(Cat(args[0], ": ", error));
  if (!JwHost::WriteFileBytes(PathFromUtf8(args[1]), bytes))
    return Fail(Cat("cannot write ", args[1]));
  return 0;
}

int CommandRender(const std::vector<std::string>& args) {
  if (args.size() != 3) return UsageError("render: expected <host-desc> <tool-output> <out.svg>");
  JwHost::HostScene scene;
  std::string error, bytes;
  if (!LoadScene(args[0], scene, error)) return Fail(error);
  if (!JwHost::ReadFileBytes(PathFromUtf8(args[1]), bytes))
    return Fail(Cat("cannot read ", args[1]));
  const JwHost::ToolOutput output = JwHost::ReadToolOutput(bytes, JwHost::StartPen(scene));
  PrintOutput(output);
  if (!WriteSvg(args[2], scene, output)) return Fail(Cat("cannot write ", args[2]));
  return 0;
}

int CommandPreset(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError("preset: expected <preset-desc> <out.dat>");
  std::string text, error;
  if (!JwHost::ReadFileBytes(PathFromUtf8(args[0]), text))
    return Fail(Cat("cannot read ", args[0]));
  Settings::PresetTable table;
  if (!JwHost::ParsePresetDescription(text, table, error)) return Fail(Cat(args[0], ": ", error));
  if (!JwHost::SavePresetFiles(table, PathFromUtf8(args[1]), error)) return Fail(error);
  return 0;
}

int Main(std::vector<std::string> args) {
  if (args.empty()) return UsageError("no command");
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "run") return CommandRun(args);
  if (command == "exchange") return CommandExchange(args);
  if (command == "render") return CommandRender(args);
  if (command == "preset") return CommandPreset(args);
  if (command == "--help" || command == "-h") {
    Print(stdout, Usage);
    return 0;
  }
  return UsageError(Cat("unknown command ", command));
}

} // namespace

#ifdef _WIN32
#include <windows.h>

int wmain(int argc, wchar_t** argv); // the entry point under -municode

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(JwHost::PathToUtf8(fs::path(argv[i])));
  // Descriptions may hold Japanese; the console shows UTF-8 when told so.
  SetConsoleOutputCP(CP_UTF8);
  return Main(std::move(args));
}
#else
int main(int argc, char** argv) { return Main(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
