#pragma once

#include <windows.h>

#include <string>

#include "platform/win32_owner.h"

struct KernelHandleTraits {
  using Value = HANDLE;
  static Value none() { return nullptr; }
  static void release(Value handle) { CloseHandle(handle); }
};
using KernelHandle = Win32Owner<KernelHandleTraits>;

// A program started by a test. If it is still running when its owner goes, it is ended
// by force, so a test that fails half-way leaves nothing running behind it.
class ChildProcess {
 public:
  // Starts `program` without arguments in the current directory `folder`.
  ChildProcess(const std::string& program, const std::string& folder);
  ~ChildProcess();

  bool started() const { return static_cast<bool>(process_); }
  // Why the start failed (GetLastError right after CreateProcessA); 0 once started.
  DWORD startError() const { return startError_; }
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_.get(); }

  // Waits up to `timeoutMs` for the program to end; true, with its exit code, if it did.
  bool waitForExit(DWORD timeoutMs, DWORD& exitCode) const;

 private:
  KernelHandle process_;
  KernelHandle thread_;
  DWORD id_ = 0;
  DWORD startError_ = 0;
};
