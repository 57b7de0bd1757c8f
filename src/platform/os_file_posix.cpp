#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/name_lookup_posix.h"
#include "platform/os_file.h"

namespace {

// Reading shared, writing exclusive: an open-file-description lock on the whole file,
// taken without waiting, gives the same conflicts as a Windows open that shares reading
// only. Our own descriptors conflict with each other too, as separate Windows handles do.
// Only a lock held elsewhere refuses the open; a file system without these locks (an
// older kernel, NFS without its lock service) opens without them.
bool lockLikeShareRead(int fd, bool update) {
  struct flock lock {};
  lock.l_type = update ? F_WRLCK : F_RDLCK;
  lock.l_whence = SEEK_SET;
  if (fcntl(fd, F_OFD_SETLK, &lock) == 0) return true;
  return errno != EAGAIN && errno != EACCES;
}

// Only regular files open. A file without any write permission is read-only for an
// update open even to root, as the read-only attribute is to a Windows administrator.
bool opensAs(int fd, bool update) {
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return !update || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
}

}  // namespace

OsFile OsFile::open(const char* name, Access access) {
  const bool update = access == Access::kUpdate;
  // Without waiting: a FIFO of that name must fail the checks below, not block the open.
  const int flags = (update ? O_RDWR : O_RDONLY) | O_CLOEXEC | O_NONBLOCK;
  const std::string path = foundPath(name);
  int fd = ::open(path.c_str(), flags);
  bool created = false;
  if (fd < 0 && update && errno == ENOENT) {
    // A file created here is ours to write, whatever write bits the umask left it.
    fd = ::open(path.c_str(), flags | O_CREAT | O_EXCL, 0666);
    created = fd >= 0;
  }
  if (fd < 0) return OsFile();
  OsFile file(fd);
  if (!opensAs(fd, update && !created) || !lockLikeShareRead(fd, update)) return OsFile();
  return file;
}

void OsFile::close() {
  if (handle_ != kNoHandle) ::close(static_cast<int>(handle_));
  handle_ = kNoHandle;
}

int32_t OsFile::read(void* into, int32_t count) {
  auto* bytes = static_cast<char*>(into);
  int32_t got = 0;
  while (got < count) {
    const ssize_t n = ::read(static_cast<int>(handle_), bytes + got, size_t(count - got));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<int32_t>(n);
  }
  return got;
}

int32_t OsFile::write(const void* from, int32_t count) {
  const auto* bytes = static_cast<const char*>(from);
  int32_t put = 0;
  while (put < count) {
    const ssize_t n = ::write(static_cast<int>(handle_), bytes + put, size_t(count - put));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    put += static_cast<int32_t>(n);
  }
  return put;
}

void OsFile::seekTo(int64_t offset) { lseek(static_cast<int>(handle_), offset, SEEK_SET); }

void OsFile::seekBy(int64_t delta) { lseek(static_cast<int>(handle_), delta, SEEK_CUR); }

int64_t OsFile::length() const {
  struct stat info {};
  if (fstat(static_cast<int>(handle_), &info) != 0) return -1;
  return static_cast<int64_t>(info.st_size);
}

// The data, and the size when it changed; a new last-write time alone may wait.
void OsFile::flushToDisk() { fdatasync(static_cast<int>(handle_)); }
