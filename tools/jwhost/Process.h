// Starting the tool the way the host does: a program with arguments in a
// working folder, waited for until it ends.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace JwHost {

struct ProcessResult {
  bool Started = false;
  bool TimedOut = false; // the program was killed after the time limit
  int ExitCode = -1;
  std::string Error; // why it did not start, for the user
};

// command[0] is the program (a path, or a name looked up on PATH), the rest
// its arguments, all UTF-8. Standard input is closed to the program; its
// standard error goes to errorFile when one is given.
ProcessResult RunProcess(const std::vector<std::string>& command,
                         const std::filesystem::path& workFolder, int timeoutSeconds,
                         const std::filesystem::path& errorFile = {});

} // namespace JwHost
