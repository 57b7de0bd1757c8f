#include <utility>

#include "platform/os_file.h"

OsFile::~OsFile() { close(); }

OsFile::OsFile(OsFile&& other) noexcept : handle_(std::exchange(other.handle_, kNoHandle)) {}

OsFile& OsFile::operator=(OsFile&& other) noexcept {
  if (this != &other) {
    close();
    handle_ = std::exchange(other.handle_, kNoHandle);
  }
  return *this;
}
