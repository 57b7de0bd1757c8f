#include <windows.h>

#include <string>

#include "platform/win32_owner.h"

Library loadSystemLibrary(const char* name) {
  Library library(LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!library && GetLastError() == ERROR_INVALID_PARAMETER) return loadFromSystemFolder(name);
  return library;
}

Library loadFromSystemFolder(const char* name) {
  char folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return Library();
  return Library(LoadLibraryA((std::string(folder) + "\\" + name).c_str()));
}
