#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "check/version_report.h"
#include "platform/hex_text.h"

// The report's lines as a version library gives them. Written once for any library with
// the four operations of VersionLibrary, so the system's library and the project's own
// reader can be set side by side on the same files.
template <typename Library>
std::string versionLines(Library& library, const std::string& exePath, uint32_t fieldMask,
                         bool withNames) {
  // Sizes beyond 32,767 are taken as no version block at all.
  constexpr uint32_t kMaxBlock = 32767;
  constexpr uint32_t kLanguageNameSize = 128;
  // The queries double every backslash; the library skips the empty keys between them.
  constexpr char kTranslationQuery[] = "\\\\VarFileInfo\\\\Translation";
  constexpr char kStringQuery[] = "\\\\StringFileInfo\\\\";
  constexpr char kQuerySeparator[] = "\\\\";

  std::string result;
  const uint32_t size = library.infoSize(exePath.c_str());
  if (size < 1 || size > kMaxBlock) return result;
  const std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[size]());
  if (!block || !library.copyInfo(exePath.c_str(), size, block.get())) return result;

  // Only the first translation counts; without one the string queries find nothing.
  std::string translationKey;
  char languageName[kLanguageNameSize];
  std::memset(languageName, ' ', sizeof languageName);
  const char* value = nullptr;
  uint32_t length = 0;
  if (library.queryValue(block.get(), size, kTranslationQuery, &value, &length) &&
      length >= 4) {
    const auto* entry = reinterpret_cast<const uint8_t*>(value);
    const uint32_t language = entry[0] | uint32_t(entry[1]) << 8;
    const uint32_t codePage = entry[2] | uint32_t(entry[3]) << 8;
    translationKey = hexText(language, 4) + hexText(codePage, 4);
    library.languageName(language, languageName, kLanguageNameSize);
  }

  const auto appendLine = [&](const std::string& key, const char* separator, const char* text,
                              size_t textLength) {
    if (!result.empty()) result += '\n';
    if (withNames) result += key + separator;
    result.append(text, strnlen(text, textLength));
  };
  for (uint32_t flag = kFileVersion; flag <= kComments; flag <<= 1) {
    if (!(fieldMask & flag)) continue;
    const std::string key = versionFieldName(flag);
    const std::string query = kStringQuery + translationKey + kQuerySeparator + key;
    if (library.queryValue(block.get(), size, query.c_str(), &value, &length)) {
      appendLine(key, ":\t", value, length);
    }
  }
  if (fieldMask & kLanguage) appendLine("Language", ":   \t", languageName, kLanguageNameSize);
  return result;
}
