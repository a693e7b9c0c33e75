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

#ifdef _WIN32
// Built with -municode: the C runtime hands over the command line split and
// wide, for the windows subsystem as well.
int wmain(int argc, wchar_t** argv);
int wmain(int argc, wchar_t** argv) {
  return Unit1::ProgramEntry(Platform::ProgramPath(), Platform::CommandLineArguments(argc, argv));
}
#else
int main(int argc, char** argv) {
  return Unit1::ProgramEntry(Platform::ProgramPath(), Platform::CommandLineArguments(argc, argv));
}
#endif
