#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/language_names.h"
#include "platform/pe_version.h"

// The project's own reader with the four operations of VersionLibrary, over an image in
// memory: for running the report on the reader where the platform has its own library,
// and for fuzzing. The path arguments are ignored.
class MemoryVersionLibrary {
 public:
  MemoryVersionLibrary(const void* image, size_t size)
      : image_(static_cast<const uint8_t*>(image), static_cast<const uint8_t*>(image) + size) {}

  uint32_t infoSize(const char*) {
    const ByteRange resource = findVersionResource(bytes(), image_.size());
    return versionInfoSize(resource.size);
  }
  bool copyInfo(const char*, uint32_t size, void* block) {
    const ByteRange resource = findVersionResource(bytes(), image_.size());
    if (resource.size == 0) return false;
    std::memcpy(block, bytes() + resource.offset, resource.size < size ? size_t(resource.size) : size);
    return true;
  }
  bool queryValue(const void* block, uint32_t blockSize, const char* query, const char** value,
                  uint32_t* length) {
    VersionValue found = queryVersionValue(static_cast<const uint8_t*>(block), blockSize, query);
    if (!found.found) return false;
    last_ = std::move(found.bytes);
    *value = last_.c_str();
    *length = found.length;
    return true;
  }
  void languageName(uint32_t language, char* name, uint32_t capacity) {
    std::strncpy(name, languageNameOf(static_cast<uint16_t>(language)), capacity - 1);
    name[capacity - 1] = '\0';
  }

 private:
  const uint8_t* bytes() const { return image_.data(); }

  std::vector<uint8_t> image_;  // exactly the image's bytes, so a read past them is caught
  std::string last_;
};
