#include <windows.h>

#include "platform/os_file.h"

namespace {
HANDLE asHandle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
}  // namespace

OsFile OsFile::open(const char* name, Access access) {
  const bool update = access == Access::kUpdate;
  const HANDLE file = CreateFileA(name, update ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                                  FILE_SHARE_READ, nullptr, update ? OPEN_ALWAYS : OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) return OsFile();
  return OsFile(reinterpret_cast<intptr_t>(file));
}

void OsFile::close() {
  if (handle_ != kNoHandle) CloseHandle(asHandle(handle_));
  handle_ = kNoHandle;
}

int32_t OsFile::read(void* into, int32_t count) {
  DWORD got = 0;
  if (!ReadFile(asHandle(handle_), into, static_cast<DWORD>(count), &got, nullptr)) return 0;
  return static_cast<int32_t>(got);
}

int32_t OsFile::write(const void* from, int32_t count) {
  DWORD put = 0;
  if (!WriteFile(asHandle(handle_), from, static_cast<DWORD>(count), &put, nullptr)) return 0;
  return static_cast<int32_t>(put);
}

void OsFile::seekTo(int64_t offset) {
  LONG high = static_cast<LONG>(offset >> 32);
  SetFilePointer(asHandle(handle_), static_cast<LONG>(offset & 0xFFFFFFFF), &high, FILE_BEGIN);
}

void OsFile::seekBy(int64_t delta) {
  LONG high = static_cast<LONG>(delta >> 32);
  SetFilePointer(asHandle(handle_), static_cast<LONG>(delta & 0xFFFFFFFF), &high, FILE_CURRENT);
}

int64_t OsFile::length() const {
  DWORD high = 0;
  const DWORD low = GetFileSize(asHandle(handle_), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return -1;
  return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}

void OsFile::flushToDisk() { FlushFileBuffers(asHandle(handle_)); }
