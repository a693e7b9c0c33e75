#include "app/ProcessRunner.h"

#ifdef _WIN32
#include <process.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#endif

#ifdef _WIN32

int RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& /*errorFile*/) {
  // msvcrt joins the arguments with blanks: quote each one so that an empty
  // argument survives as an argument.
  std::vector<std::wstring> quoted;
  quoted.push_back(L"\"" + program.wstring() + L"\"");
  for (const auto& a : args) quoted.push_back(L"\"" + std::filesystem::path(a).wstring() + L"\"");
  std::vector<const wchar_t*> argv;
  for (const auto& q : quoted) argv.push_back(q.c_str());
  argv.push_back(nullptr);
  const auto rc = _wspawnv(_P_WAIT, program.c_str(), argv.data());
  return static_cast<int>(rc);
}

#else

int RunProcess(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& errorFile) {
  std::vector<std::string> all{program.string()};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!errorFile.empty()) {
    posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
  }
  pid_t pid = 0;
  const int started = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif
