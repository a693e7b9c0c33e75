#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "tools/jwhost/Cat.h"
#include "tools/jwhost/Process.h"

namespace JwHost {

ProcessResult RunProcess(const std::vector<std::string>& command,
                         const std::filesystem::path& workFolder, int timeoutSeconds,
                         const std::filesystem::path& errorFile) {
  ProcessResult result;
  if (command.empty()) {
    result.Error = "no program to run";
    return result;
  }
  std::vector<std::string> storage(command);
  std::vector<char*> argv;
  argv.reserve(storage.size() + 1);
  for (auto& arg : storage) argv.push_back(arg.data());
  argv.push_back(nullptr);

  // Errors of the child before exec travel back through this pipe.
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) {
    result.Error = Cat("pipe: ", std::strerror(errno));
    return result;
  }
  const pid_t pid = fork();
  if (pid < 0) {
    result.Error = Cat("fork: ", std::strerror(errno));
    close(pipeFds[0]);
    close(pipeFds[1]);
    return result;
  }
  if (pid == 0) {
    // Own process group, so that a timeout also ends what the program started
    // (Wine's loader and the Windows process).
    setpgid(0, 0);
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull >= 0) dup2(devNull, 0);
    if (!errorFile.empty()) {
      const int err = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (err >= 0) dup2(err, 2);
    }
    int err = 0;
    if (chdir(workFolder.c_str()) != 0) {
      err = errno;
    } else {
      execvp(argv[0], argv.data());
      err = errno;
    }
    [[maybe_unused]] const auto n = write(pipeFds[1], &err, sizeof err);
    _exit(127);
  }
  close(pipeFds[1]);
  int childErr = 0;
  const auto n = read(pipeFds[0], &childErr, sizeof childErr);
  close(pipeFds[0]);
  if (n == static_cast<ssize_t>(sizeof childErr)) {
    waitpid(pid, nullptr, 0);
    result.Error = Cat("cannot start ", command[0], ": ", std::strerror(childErr));
    return result;
  }
  result.Started = true;

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  int status = 0;
  for (;;) {
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) break;
    if (r < 0 && errno != EINTR) {
      result.Error = Cat("waitpid: ", std::strerror(errno));
      return result;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(-pid, SIGKILL);
      waitpid(pid, &status, 0);
      result.TimedOut = true;
      return result;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (WIFEXITED(status)) {
    result.ExitCode = WEXITSTATUS(status);
  } else if (WIFSIGNALED(status)) {
    result.ExitCode = 128 + WTERMSIG(status);
  }
  return result;
}

} // namespace JwHost
