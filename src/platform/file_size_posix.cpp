#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/file_size.h"
#include "platform/name_lookup_posix.h"

namespace {
constexpr size_t kNameMax = 260;
}

int64_t fileSize(const char* name) {
  if (name == nullptr || *name == '\0') return kNothingThere;
  std::string copy(name, strnlen(name, kNameMax));
  while (!copy.empty() && copy.back() == '/') copy.pop_back();
  if (copy.empty()) return kNothingThere;

  struct stat info {};
  if (stat(foundPath(copy).c_str(), &info) != 0) return kNothingThere;
  if (S_ISDIR(info.st_mode)) return kIsDirectory;
  if (S_ISREG(info.st_mode)) return static_cast<int64_t>(info.st_size);
  return kNothingThere;
}
