#pragma once

#include <dirent.h>

#include <string>

// One entry of a folder: its name and whether it is a folder itself (a link counts as
// what it names).
struct DirectoryEntry {
  std::string name;
  bool isFolder = false;
};

// A folder opened for listing, closed when the owner goes. Lists every entry but "." and
// "..", in the order the file system gives them.
class Directory {
 public:
  explicit Directory(const std::string& path);
  ~Directory();
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;

  explicit operator bool() const { return dir_ != nullptr; }

  // The next entry; false when there is none left or the folder could not be opened.
  bool next(DirectoryEntry& entry);

 private:
  DIR* dir_;
};
