#include "platform/numbered_files.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <new>

#include "platform/os_file.h"

namespace {

constexpr int32_t kBufferSize = 4096;
// The check needs number 0 only; a few more cost nothing.
constexpr int32_t kNumbers = 8;

// One open file. In reading mode the buffer holds read-ahead, of which `remaining` bytes
// are not yet delivered; in writing mode it holds bufferSize - remaining pending bytes.
struct FileHandle {
  OsFile osHandle;
  std::unique_ptr<char[]> buffer;  // none when it could not be had: then unbuffered
  int32_t bufferSize = kBufferSize;
  int32_t remaining = 0;
  int32_t filled = 0;
  bool reading = true;
};

void flushPending(FileHandle& file) {
  if (file.reading) return;
  file.osHandle.write(file.buffer.get(), file.bufferSize - file.remaining);
  file.remaining = file.bufferSize;
}

void close(FileHandle& file) {
  if (file.buffer) flushPending(file);
  file = FileHandle();
}

// Owns the open files; at program end they are closed with their pending bytes written,
// so no caller has to remember it.
class FileTable {
 public:
  ~FileTable() {
    for (FileHandle& file : files_) close(file);
  }
  // The record of `number`, or null for a number out of range.
  FileHandle* record(int32_t number) {
    return number >= 0 && number < kNumbers ? &files_[static_cast<size_t>(number)] : nullptr;
  }
  // The record of `number` when a file is open on it, else null.
  FileHandle* open(int32_t number) {
    FileHandle* file = record(number);
    return file != nullptr && file->osHandle ? file : nullptr;
  }

 private:
  std::array<FileHandle, kNumbers> files_;
};

FileTable table;

bool openNumber(int32_t number, const char* name, OsFile::Access access) {
  FileHandle* file = table.record(number);
  if (file == nullptr) return false;
  // What was open on the number is closed before the new open is tried, also when that
  // open then fails.
  close(*file);
  file->osHandle = OsFile::open(name, access);
  if (!file->osHandle) return false;
  file->buffer.reset(new (std::nothrow) char[kBufferSize]);
  return true;
}

// Reads n bytes into `into`, which the caller has cleared: bytes not read keep their zero.
void readBytes(FileHandle& file, char* into, int32_t n) {
  if (!file.buffer) {
    file.osHandle.read(into, n);
    return;
  }
  if (!file.reading) {
    flushPending(file);
    file.reading = true;
    file.remaining = 0;
  }
  const char* undelivered = file.buffer.get() + (file.filled - file.remaining);
  if (file.remaining >= n) {
    std::memcpy(into, undelivered, static_cast<size_t>(n));
    file.remaining -= n;
    return;
  }
  const int32_t had = file.remaining;
  std::memcpy(into, undelivered, static_cast<size_t>(had));
  file.remaining = 0;
  const int32_t need = n - had;
  if (need >= file.bufferSize) {
    file.osHandle.read(into + had, need);
    return;
  }
  const int32_t got = file.osHandle.read(file.buffer.get(), file.bufferSize);
  file.filled = got;
  const int32_t taken = std::min(need, got);
  std::memcpy(into + had, file.buffer.get(), static_cast<size_t>(taken));
  file.remaining = got - taken;
}

int32_t writeBytes(FileHandle& file, const char* from, int32_t n) {
  if (!file.buffer) return file.osHandle.write(from, n);
  if (file.reading) {
    // The platform position stands after the read-ahead: move back over what was not
    // delivered, so the write lands where the caller's reading stopped.
    file.osHandle.seekBy(-static_cast<int64_t>(file.remaining));
    file.reading = false;
    file.remaining = file.bufferSize;
  }
  if (file.remaining > n) {
    std::memcpy(file.buffer.get() + (file.bufferSize - file.remaining), from, static_cast<size_t>(n));
    file.remaining -= n;
    return n;
  }
  flushPending(file);
  if (n >= file.bufferSize) return file.osHandle.write(from, n);
  std::memcpy(file.buffer.get(), from, static_cast<size_t>(n));
  file.remaining -= n;
  return n;
}

}  // namespace

bool openForRead(int32_t number, const char* name) {
  return openNumber(number, name, OsFile::Access::kReadOnly);
}

bool openForUpdate(int32_t number, const char* name) {
  return openNumber(number, name, OsFile::Access::kUpdate);
}

int64_t fileLength(int32_t number) {
  FileHandle* file = table.open(number);
  if (file == nullptr) return -1;
  if (file->buffer) flushPending(*file);
  return file->osHandle.length();
}

void seekTo(int32_t number, int64_t position) {
  FileHandle* file = table.open(number);
  if (file == nullptr) return;
  if (file->buffer) {
    flushPending(*file);
    file->reading = true;
    file->remaining = 0;
  }
  file->osHandle.seekTo(position);
}

int32_t readByte(int32_t number) {
  FileHandle* file = table.open(number);
  if (file == nullptr) return 0;
  char byte = 0;
  readBytes(*file, &byte, 1);
  return static_cast<int8_t>(byte);
}

uint64_t readQuad(int32_t number) {
  FileHandle* file = table.open(number);
  if (file == nullptr) return 0;
  unsigned char bytes[8] = {};
  readBytes(*file, reinterpret_cast<char*>(bytes), 8);
  uint64_t quad = 0;
  for (int i = 7; i >= 0; --i) quad = (quad << 8) | bytes[i];
  return quad;
}

int32_t writeByte(int32_t number, int32_t value) {
  FileHandle* file = table.open(number);
  if (file == nullptr) return 0;
  const char byte = static_cast<char>(value & 0xFF);
  return writeBytes(*file, &byte, 1);
}

void syncFile(int32_t number) {
  FileHandle* file = table.open(number);
  if (file == nullptr) return;
  if (file->buffer) flushPending(*file);
  file->osHandle.flushToDisk();
}

void closeFile(int32_t number) {
  FileHandle* file = table.open(number);
  if (file != nullptr) close(*file);
}
