#include <windows.h>

#include "common/MyFunc.h"
#include "tools/jwhost/Cat.h"
#include "tools/jwhost/Encoding.h"
#include "tools/jwhost/Process.h"

namespace JwHost {

namespace {

// Quotes one argument so that the C runtime's parser gives it back unchanged.
void AppendQuoted(std::wstring& line, const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) {
    line += arg;
    return;
  }
  line += L'"';
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote is escaped.
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

} // namespace

ProcessResult RunProcess(const std::vector<std::string>& command,
                         const std::filesystem::path& workFolder, int timeoutSeconds,
                         const std::filesystem::path& errorFile) {
  ProcessResult result;
  if (command.empty()) {
    result.Error = "no program to run";
    return result;
  }
  std::wstring line;
  for (std::size_t i = 0; i < command.size(); ++i) {
    if (i > 0) line += L' ';
    AppendQuoted(line, PathFromUtf8(command[i]).native());
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  HANDLE errorHandle = INVALID_HANDLE_VALUE;
  if (!errorFile.empty()) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    errorHandle = CreateFileW(errorFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (errorHandle != INVALID_HANDLE_VALUE) {
      startup.dwFlags = STARTF_USESTDHANDLES;
      startup.hStdError = errorHandle;
    }
  }
  PROCESS_INFORMATION info{};
  const BOOL started =
      CreateProcessW(nullptr, line.data(), nullptr, nullptr, errorHandle != INVALID_HANDLE_VALUE, 0,
                     nullptr, workFolder.c_str(), &startup, &info);
  if (errorHandle != INVALID_HANDLE_VALUE) CloseHandle(errorHandle);
  if (!started) {
    result.Error =
        Cat("cannot start ", command[0], " (error ", MyFunc::FormatInt(GetLastError()), ")");
    return result;
  }
  result.Started = true;
  CloseHandle(info.hThread);
  const DWORD wait = WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeoutSeconds) * 1000);
  if (wait == WAIT_TIMEOUT) {
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, INFINITE);
    result.TimedOut = true;
  } else {
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    result.ExitCode = static_cast<int>(code);
  }
  CloseHandle(info.hProcess);
  return result;
}

} // namespace JwHost
