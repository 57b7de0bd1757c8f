#include <windows.h>

#include <new>

#include "platform/version_library.h"
#include "platform/win32_owner.h"

struct VersionLibrary::Loaded {
  Library dll;
  decltype(&::GetFileVersionInfoSizeA) getSize = nullptr;
  decltype(&::GetFileVersionInfoA) getInfo = nullptr;
  decltype(&::VerQueryValueA) queryValue = nullptr;
  decltype(&::VerLanguageNameA) languageName = nullptr;
};

VersionLibrary::VersionLibrary() = default;
VersionLibrary::~VersionLibrary() = default;

bool VersionLibrary::load() {
  std::unique_ptr<Loaded> loaded(new (std::nothrow) Loaded);
  if (!loaded) return false;
  loaded->dll = loadSystemLibrary("Version.dll");
  if (!loaded->dll) return false;
  loaded->getSize =
      procAddress<decltype(&::GetFileVersionInfoSizeA)>(loaded->dll, "GetFileVersionInfoSizeA");
  loaded->getInfo = procAddress<decltype(&::GetFileVersionInfoA)>(loaded->dll, "GetFileVersionInfoA");
  loaded->queryValue = procAddress<decltype(&::VerQueryValueA)>(loaded->dll, "VerQueryValueA");
  loaded->languageName =
      procAddress<decltype(&::VerLanguageNameA)>(loaded->dll, "VerLanguageNameA");
  if (!loaded->getSize || !loaded->getInfo || !loaded->queryValue || !loaded->languageName) {
    return false;
  }
  loaded_ = std::move(loaded);
  return true;
}

uint32_t VersionLibrary::infoSize(const char* path) {
  DWORD ignored = 0;
  return loaded_->getSize(path, &ignored);
}

bool VersionLibrary::copyInfo(const char* path, uint32_t size, void* block) {
  return loaded_->getInfo(path, 0, size, block) != FALSE;
}

bool VersionLibrary::queryValue(const void* block, uint32_t, const char* query, const char** value,
                                uint32_t* length) {
  void* found = nullptr;
  UINT foundLength = 0;
  if (!loaded_->queryValue(block, query, &found, &foundLength)) return false;
  *value = static_cast<const char*>(found);
  *length = foundLength;
  return true;
}

void VersionLibrary::languageName(uint32_t language, char* name, uint32_t capacity) {
  loaded_->languageName(language, name, capacity);
}
