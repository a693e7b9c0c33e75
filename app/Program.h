#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace Unit1 {

// The program entry: runs one unattended run or the settings dialog and
// returns the exit code (always 0).
int ProgramEntry(const std::filesystem::path& programPath, const std::vector<std::string>& args);

} // namespace Unit1
