#include "check/version_report.h"

#include "check/version_lines.h"
#include "platform/file_size.h"
#include "platform/version_library.h"

std::string versionFieldName(uint32_t flag) {
  switch (flag) {
    case kFileVersion: return "FileVersion";
    case kFileDescription: return "FileDescription";
    case kLegalCopyright: return "LegalCopyright";
    case kInternalName: return "InternalName";
    case kOriginalFilename: return "OriginalFilename";
    case kProductName: return "ProductName";
    case kProductVersion: return "ProductVersion";
    case kCompanyName: return "CompanyName";
    case kLegalTrademarks: return "LegalTrademarks";
    case kSpecialBuild: return "SpecialBuild";
    case kPrivateBuild: return "PrivateBuild";
    case kComments: return "Comments";
    case kLanguage: return "Language";
    default: return "";
  }
}

std::string versionReport(const std::string& exePath, uint32_t fieldMask, bool withNames) {
  if (fileSize(exePath.c_str()) <= 0) return {};
  VersionLibrary library;
  if (!library.load()) return {};
  return versionLines(library, exePath, fieldMask, withNames);
}
