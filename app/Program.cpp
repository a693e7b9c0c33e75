#include "app/Program.h"

#include "app/Unit1.h"
#include "platform/Platform.h"

namespace Unit1 {

int ProgramEntry(const std::filesystem::path& programPath, const std::vector<std::string>& args) {
  TForm1 form(programPath, args);
  if (RunModeFromArguments(args) == DialogRun) {
    Platform::RunDialog(form);
  } else {
    // Unattended: no window is created at all.
    form.FormShow(nullptr);
    form.FormClose();
  }
  return 0;
}

} // namespace Unit1

#ifndef _WIN32
int main(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return Unit1::ProgramEntry(Platform::ProgramPath(), args);
}
#endif
