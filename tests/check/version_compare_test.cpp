// The system's version library and the project's own reader must give the same report
// lines on real PE files: here the DLLs that Wine installs. Only the language's name may
// differ, since Wine names languages its own way.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

#include "check/version_lines.h"
#include "check/version_report.h"
#include "support/memory_version_library.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Wine's PE libraries as the Windows side sees them: the Unix file system is drive Z:.
const char* const kWineLibraryFolders[] = {
    "Z:\\usr\\lib\\x86_64-linux-gnu\\wine\\x86_64-windows",
    "Z:\\usr\\lib\\wine\\x86_64-windows",
};

std::string withoutLanguageName(const std::string& report) {
  const std::string marker = "Language:   \t";
  const size_t at = report.rfind(marker);
  return at == std::string::npos ? report : report.substr(0, at + marker.size());
}

TEST(VersionCompareTest, SystemLibraryAndOwnReaderAgreeOnWinesDlls) {
  fs::path folder;
  for (const char* candidate : kWineLibraryFolders) {
    std::error_code error;
    if (fs::is_directory(candidate, error)) folder = candidate;
  }
  if (folder.empty()) GTEST_SKIP() << "no folder of Wine's PE libraries on this machine";

  int files = 0, withLines = 0, agreeing = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() != ".dll") continue;
    const std::string path = entry.path().string();
    const std::string system = versionReport(path, kAllVersionFields, true);
    const std::string image = readFile(path);
    MemoryVersionLibrary reader(image.data(), image.size());
    const std::string own = versionLines(reader, path, kAllVersionFields, true);

    ++files;
    if (!system.empty()) ++withLines;
    if (withoutLanguageName(system) == withoutLanguageName(own)) {
      ++agreeing;
    } else {
      ADD_FAILURE() << path << "\nsystem library:\n" << system << "\nown reader:\n" << own;
    }
  }
  std::cout << files << " DLLs in " << folder.string() << ", " << withLines
            << " with version lines, " << agreeing << " agreeing\n";
  EXPECT_GT(withLines, 0);
}

}  // namespace
