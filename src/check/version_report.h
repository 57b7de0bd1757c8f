#pragma once

#include <cstdint>
#include <string>

// The lines that open the report: one per string field of the executable's version
// resource, in this order, then the language of the resource.
enum VersionField : uint32_t {
  kFileVersion = 1,
  kFileDescription = 2,
  kLegalCopyright = 4,
  kInternalName = 8,
  kOriginalFilename = 16,
  kProductName = 32,
  kProductVersion = 64,
  kCompanyName = 128,
  kLegalTrademarks = 256,
  kSpecialBuild = 512,
  kPrivateBuild = 1024,
  kComments = 2048,
  kLanguage = 4096,
};
inline constexpr uint32_t kAllVersionFields = 0x1FFF;

// The key of one field ("FileVersion" for kFileVersion); empty for any other value.
std::string versionFieldName(uint32_t flag);

// The lines of the fields in `fieldMask` that the resource has, separated by line feeds,
// each "key:\tvalue" (the language "Language:   \tname") or, without names, the value
// alone. Empty when there is nothing to report.
std::string versionReport(const std::string& exePath, uint32_t fieldMask, bool withNames);
