// What the core needs from the operating system and the windowing layer.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "settings/DialogForm.h"

namespace Platform {

// The real full path of the running program file (never the working directory).
std::filesystem::path ProgramPath();

// The command-line arguments after the program name, as Shift-JIS bytes.
#ifdef _WIN32
std::vector<std::string> CommandLineArguments(int argc, wchar_t** argv);
#else
std::vector<std::string> CommandLineArguments(int argc, char** argv);
#endif

// Dialog run: shows the form as the settings dialog and returns when it has
// closed. The form's FormShow runs once the window exists.
void RunDialog(Settings::IDialogForm& form);

} // namespace Platform
