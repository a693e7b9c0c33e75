// The native build has no windowing layer: unattended runs work as on
// Windows, the settings dialog needs the Windows build.
#include <cstdio>
#include <system_error>

#include "app/Unit1.h"
#include "platform/Platform.h"

namespace Platform {

std::filesystem::path ProgramPath() {
  std::error_code ec;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::path("vomurel");
  return self;
}

void RunDialog(Unit1::TForm1& /*form*/) {
  std::fputs("vomurel: the settings dialog needs the Windows build (vomurel.exe)\n", stderr);
}

} // namespace Platform
