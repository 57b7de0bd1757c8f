#include <windows.h>

#include <cstring>
#include <string>

#include "platform/file_size.h"
#include "platform/win32_owner.h"

namespace {

int64_t driveRootSize(const std::string& root) {
  // DRIVE_UNKNOWN (0) and DRIVE_NO_ROOT_DIR (1) mean there is no such drive.
  return GetDriveTypeA(root.c_str()) > DRIVE_NO_ROOT_DIR ? kIsDirectory : kNothingThere;
}

bool startsWith(const std::string& text, const char* prefix) {
  return text.compare(0, strlen(prefix), prefix) == 0;
}

}  // namespace

int64_t fileSize(const char* name) {
  if (name == nullptr || *name == '\0') return kNothingThere;
  std::string copy(name, strnlen(name, MAX_PATH));

  // "C:" and "C:\" (and any other three characters with a colon second) are drive roots,
  // which FindFirstFileA cannot look up.
  if ((copy.size() == 2 || copy.size() == 3) && copy[1] == ':') {
    if (copy.size() == 2) copy += '\\';
    return driveRootSize(copy);
  }

  while (!copy.empty() && (copy.back() == '\\' || copy.back() == '/')) copy.pop_back();

  WIN32_FIND_DATAA entry;
  if (FindSearch(FindFirstFileA(copy.c_str(), &entry))) {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return kIsDirectory;
    return static_cast<int64_t>((static_cast<uint64_t>(entry.nFileSizeHigh) << 32) |
                                entry.nFileSizeLow);
  }

  // Share roots ("\\server\share") and relative parents ("..") are no directory entries
  // of their own, so FindFirstFileA finds nothing for them.
  if (startsWith(copy, "\\\\") || startsWith(copy, "..")) {
    const DWORD attributes = GetFileAttributesA(copy.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? kIsDirectory : kNothingThere;
    }
    return driveRootSize(copy);
  }
  return kNothingThere;
}
