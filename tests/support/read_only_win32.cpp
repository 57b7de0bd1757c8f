#include <windows.h>

#include "support/read_only.h"

bool makeReadOnly(const std::string& path) {
  if (!SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY)) return false;
  const HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (probe == INVALID_HANDLE_VALUE) return true;
  CloseHandle(probe);
  return false;
}
