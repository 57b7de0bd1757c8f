#include "platform/name_lookup_posix.h"

#include <sys/stat.h>

#include "platform/directory_posix.h"

namespace {

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

std::string foundPath(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) == 0) return path;
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string name = path.substr(folder.size());
  if (name.empty()) return path;

  Directory directory(folder);
  std::string best;
  for (DirectoryEntry entry; directory.next(entry);) {
    if (sameNameIgnoringCase(entry.name, name) && (best.empty() || entry.name < best)) {
      best = entry.name;
    }
  }
  return best.empty() ? path : folder + best;
}
