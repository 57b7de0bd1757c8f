#pragma once

#include <cstdint>

// A file opened through the platform, owned: closed when the owner goes. Every open
// shares the file for reading only, so while it is open others may read it but not write
// it, and an open is refused while someone else holds the file in a conflicting way.
// Sizes and positions are 64-bit everywhere, whatever the build's pointer size.
class OsFile {
 public:
  enum class Access { kReadOnly, kUpdate };

  // Opens an existing file for reading, or any file for reading and writing (a missing one
  // is created empty). The result is closed (false) when the open fails, also for a
  // directory.
  static OsFile open(const char* name, Access access);

  OsFile() = default;
  ~OsFile();
  OsFile(const OsFile&) = delete;
  OsFile& operator=(const OsFile&) = delete;
  OsFile(OsFile&& other) noexcept;
  OsFile& operator=(OsFile&& other) noexcept;

  explicit operator bool() const { return handle_ != kNoHandle; }

  // Reads up to `count` bytes at the file position and moves past them; returns how many
  // were read: fewer at the end of the file, 0 on failure.
  int32_t read(void* into, int32_t count);
  // Writes `count` bytes at the file position and moves past them; returns how many were
  // written.
  int32_t write(const void* from, int32_t count);
  // Moves the file position to `offset` from the start, or by `delta` from where it is.
  void seekTo(int64_t offset);
  void seekBy(int64_t delta);
  // The size of the file in bytes; -1 when it cannot be had.
  int64_t length() const;
  // Has the system put what was written on stable storage before it returns, so a power
  // cut afterwards cannot bring back older bytes. A failure is not reported, as with writes.
  void flushToDisk();

 private:
  // The platform's handle or descriptor; both platforms use -1 for none.
  static constexpr intptr_t kNoHandle = -1;

  explicit OsFile(intptr_t handle) : handle_(handle) {}
  void close();

  intptr_t handle_ = kNoHandle;
};
