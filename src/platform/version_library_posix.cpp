#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <new>
#include <string>

#include "platform/language_names.h"
#include "platform/name_lookup_posix.h"
#include "platform/pe_version.h"
#include "platform/version_library.h"

namespace {

// A whole file mapped read-only for the life of the owner; empty when it cannot be.
class MappedFile {
 public:
  explicit MappedFile(const char* path) {
    const int fd = open(foundPath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
      void* mapped = mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
      if (mapped != MAP_FAILED) {
        data_ = static_cast<const uint8_t*>(mapped);
        size_ = uint64_t(info.st_size);
      }
    }
    close(fd);
  }
  ~MappedFile() {
    if (data_ != nullptr) munmap(const_cast<uint8_t*>(data_), size_t(size_));
  }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  const uint8_t* data() const { return data_; }
  uint64_t size() const { return size_; }

 private:
  const uint8_t* data_ = nullptr;
  uint64_t size_ = 0;
};

}  // namespace

// The reader keeps the last value it found, converted, for the caller to read.
struct VersionLibrary::Loaded {
  std::string lastValue;
};

VersionLibrary::VersionLibrary() = default;
VersionLibrary::~VersionLibrary() = default;

bool VersionLibrary::load() {
  loaded_.reset(new (std::nothrow) Loaded);
  return loaded_ != nullptr;
}

uint32_t VersionLibrary::infoSize(const char* path) {
  const MappedFile file(path);
  const ByteRange resource = findVersionResource(file.data(), file.size());
  return versionInfoSize(resource.size);
}

bool VersionLibrary::copyInfo(const char* path, uint32_t size, void* block) {
  const MappedFile file(path);
  const ByteRange resource = findVersionResource(file.data(), file.size());
  if (resource.size == 0) return false;
  std::memcpy(block, file.data() + resource.offset, resource.size < size ? size_t(resource.size) : size);
  return true;
}

bool VersionLibrary::queryValue(const void* block, uint32_t blockSize, const char* query,
                                const char** value, uint32_t* length) {
  VersionValue found = queryVersionValue(static_cast<const uint8_t*>(block), blockSize, query);
  if (!found.found) return false;
  loaded_->lastValue = std::move(found.bytes);
  *value = loaded_->lastValue.c_str();
  *length = found.length;
  return true;
}

void VersionLibrary::languageName(uint32_t language, char* name, uint32_t capacity) {
  if (capacity == 0) return;
  const char* english = languageNameOf(static_cast<uint16_t>(language));
  const size_t copied = std::min<size_t>(std::strlen(english), capacity - 1);
  std::memcpy(name, english, copied);
  name[copied] = '\0';
}
