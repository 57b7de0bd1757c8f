// The size the own reader reports for a version block, set beside the one Windows' own
// GetFileVersionInfoSizeA reports for the same file, so the 32,767 limit cuts alike.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/pe_version.h"
#include "support/pe_builder.h"
#include "support/temp_dir.h"

namespace {

std::string withLengthField(std::string block, size_t length) {
  block[0] = static_cast<char>(length & 0xFF);
  block[1] = static_cast<char>(length >> 8);
  return block;
}

// A block of the 16-bit form: ANSI key, no type field, fixed info after it.
std::string ansiBlock() {
  std::string block = std::string(4, '\0') + "VS_VERSION_INFO" + std::string(1, '\0');
  block += std::string(52, '\0');
  block.replace(20, 4, "\xBD\x04\xEF\xFE");
  return withLengthField(block, block.size());
}

TEST(VersionInfoSizeWin32Test, OwnReaderReportsWhatWindowsReports) {
  const auto comments = [](size_t units) {
    const StringTable table = {"040904B0", {{"Comments", std::u16string(units, u'c')}}};
    return versionBlockBytes({{{0x0409, 0x04B0}}, {table}});
  };
  const std::string small = comments(5);
  const struct {
    const char* name;
    std::string resource;
  } cases[] = {
      {"small block", small},
      {"16 KB block", comments(8066)},
      {"18 KB block", comments(9000)},
      {"resource longer than its block", small + std::string(100, '\0')},
      {"length field short", withLengthField(small, small.size() - 40)},
      {"length field long", withLengthField(small, small.size() + 400)},
      {"length field zero", withLengthField(small, 0)},
      {"16-bit block", ansiBlock()},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string image = peImageBytes(c.resource);
    const std::string path = dir.file("sh3.exe");
    writeFile(path, image);
    const ByteRange resource =
        findVersionResource(reinterpret_cast<const uint8_t*>(image.data()), image.size());
    ASSERT_EQ(resource.size, c.resource.size());
    DWORD ignored = 0;
    EXPECT_EQ(GetFileVersionInfoSizeA(path.c_str(), &ignored), versionInfoSize(resource.size));
  }
}

}  // namespace
