// The native build has no windowing layer: unattended runs work as on
// Windows, the settings dialog needs the Windows build.
#include <cstdio>
#include <system_error>

#include "platform/Platform.h"

namespace Platform {

std::filesystem::path ProgramPath() {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::path("vomurel");
  return self;
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return args;
}

void RunDialog(Settings::IDialogForm& /*form*/) {
  std::fputs("vomurel: the settings dialog needs the Windows build (vomurel.exe)\n", stderr);
}

} // namespace Platform
