#include "platform/directory_posix.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

Directory::Directory(const std::string& path)
    : dir_(opendir(path.empty() ? "." : path.c_str())) {}

Directory::~Directory() {
  if (dir_ != nullptr) closedir(dir_);
}

bool Directory::next(DirectoryEntry& entry) {
  if (dir_ == nullptr) return false;
  for (const dirent* found; (found = readdir(dir_)) != nullptr;) {
    if (std::strcmp(found->d_name, ".") == 0 || std::strcmp(found->d_name, "..") == 0) continue;
    entry.name = found->d_name;
    entry.isFolder = found->d_type == DT_DIR;
    // Only links and file systems that do not give the type cost a look-up.
    if (found->d_type == DT_LNK || found->d_type == DT_UNKNOWN) {
      struct stat info {};
      entry.isFolder = fstatat(dirfd(dir_), found->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
    }
    return true;
  }
  return false;
}
