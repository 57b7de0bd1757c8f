#include "e2e/child_process.h"

#include <vector>

ChildProcess::ChildProcess(const std::string& program, const std::string& folder) {
  // The command line is writable memory of ours: CreateProcessA may change it.
  std::string quoted = "\"" + program + "\"";
  std::vector<char> commandLine(quoted.begin(), quoted.end());
  commandLine.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     folder.c_str(), &startup, &info)) {
    process_ = KernelHandle(info.hProcess);
    thread_ = KernelHandle(info.hThread);
    id_ = info.dwProcessId;
  } else {
    startError_ = GetLastError();
  }
}

ChildProcess::~ChildProcess() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

bool ChildProcess::waitForExit(DWORD timeoutMs, DWORD& exitCode) const {
  if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(process_.get(), &exitCode) != 0;
}
