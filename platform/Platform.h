// What the core needs from the operating system and the windowing layer.
#pragma once

#include <filesystem>

namespace Unit1 {
class TForm1;
}

namespace Platform {

// The real full path of the running program file (never the working directory).
std::filesystem::path ProgramPath();

// Dialog run: shows the form as the settings dialog and returns when it has
// closed. The form's FormShow runs once the window exists.
void RunDialog(Unit1::TForm1& form);

} // namespace Platform
