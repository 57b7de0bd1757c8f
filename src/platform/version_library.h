#pragma once

#include <cstdint>
#include <memory>

// The platform's version library: on Windows the system's "Version.dll", loaded from the
// system folder only; elsewhere the project's own reader of PE files. Each operation has
// the contract of the Windows entry point it is named after. Released with its owner.
class VersionLibrary {
 public:
  VersionLibrary();
  ~VersionLibrary();
  VersionLibrary(const VersionLibrary&) = delete;
  VersionLibrary& operator=(const VersionLibrary&) = delete;

  // Loads the library and resolves its four entry points; false when either fails, and
  // then nothing stays loaded.
  bool load();

  // GetFileVersionInfoSizeA: the size of the version block of `path`; 0 when it has none.
  uint32_t infoSize(const char* path);
  // GetFileVersionInfoA: copies the version block of `path` into `block` of `size` bytes.
  bool copyInfo(const char* path, uint32_t size, void* block);
  // VerQueryValueA: the value that `query` names in the block of `blockSize` bytes, its
  // length in characters for a text and in bytes otherwise. The value stays valid while
  // the block lives and no other query is made.
  bool queryValue(const void* block, uint32_t blockSize, const char* query, const char** value,
                  uint32_t* length);
  // VerLanguageNameA: writes the name of `language` into `name` as a zero-terminated text
  // of at most `capacity` bytes.
  void languageName(uint32_t language, char* name, uint32_t capacity);

 private:
  struct Loaded;
  std::unique_ptr<Loaded> loaded_;
};
