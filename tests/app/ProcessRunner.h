#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Runs program with args and waits; returns its exit code, -1 when it could
// not be started. stderr goes to errorFile when one is given.
int RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& errorFile = {});
