#include "check/build_id.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/os_file.h"
#include "support/temp_dir.h"

namespace {

const std::string kPerformed = "QUIRN Patch was performed / wurde ausgef\xFChrt";
const std::string kNotPossible = "----   QUIRN not possible / nicht m\xF6glich !!";

TEST(BuildIdTest, EachKnownDigestNamesItsBuild) {
  const struct {
    const char* digest;
    std::string status;
  } cases[] = {
      {"338fa5c2af43b81a8529eb6aac325813", "EMEA  QUIRN Patch possible / m\xF6glich"},
      {"510b271d14621361386197be6bd8cc0c", "STD   QUIRN Patch possible / m\xF6glich"},
      {"324bb33ee0494927af58d8ada2476f3f", "STEAM QUIRN Patch possible / m\xF6glich"},
      {"4337110ed8e18e7a4b1831b005718514", "SF    QUIRN Patch possible / m\xF6glich"},
      {"b7ad5f9d609fc60bf9410ec5ee7692df", "NOSF  QUIRN Patch possible / m\xF6glich"},
      // Digests compare byte for byte: case, length and emptiness all count.
      {"", kNotPossible},
      {"338FA5C2AF43B81A8529EB6AAC325813", kNotPossible},
      {"338fa5c2af43b81a8529eb6aac32581", kNotPossible},
      {"338fa5c2af43b81a8529eb6aac3258130", kNotPossible},
      {"d41d8cd98f00b204e9800998ecf8427e", kNotPossible},
  };
  for (const auto& c : cases) EXPECT_EQ(buildStatusForDigest(c.digest), c.status) << c.digest;
}

constexpr size_t kPatchedLength = 1384448;
constexpr size_t kMarkOffset = 1371136;

std::string withMark(size_t length) {
  std::string bytes(length, '\x33');
  bytes.replace(kMarkOffset, 8, "v 1.2.3x");
  return bytes;
}

TEST(BuildIdTest, MarkCountsOnlyInAFileOfThePatchedLength) {
  TempDir dir;
  const std::string path = dir.file("sh3.exe");
  const struct {
    size_t length;
    std::string status;
    uint32_t marker;
  } cases[] = {
      {kPatchedLength, kPerformed, 0x2E312076},
      {kPatchedLength - 1, kNotPossible, 0},
      {kPatchedLength + 1, kNotPossible, 0},
      {kMarkOffset + 4, kNotPossible, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.length);
    writeFile(path, withMark(c.length));
    CheckState state;
    EXPECT_EQ(identifyBuild(state, path), c.status);
    EXPECT_EQ(state.patchMarker, c.marker);
  }
}

TEST(BuildIdTest, OtherBytesAtTheMarkAreReadButNoMark) {
  TempDir dir;
  std::string bytes(kPatchedLength, '\0');
  bytes.replace(kMarkOffset, 4, "v 2.");
  writeFile(dir.file("sh3.exe"), bytes);
  CheckState state;
  EXPECT_EQ(identifyBuild(state, dir.file("sh3.exe")), kNotPossible);
  EXPECT_EQ(state.patchMarker, 0x2E322076u);
}

TEST(BuildIdTest, FileThatCannotBeOpenedIsNotPossible) {
  TempDir dir;
  CheckState state;
  EXPECT_EQ(identifyBuild(state, dir.file("missing.exe")), kNotPossible);
  EXPECT_EQ(state.patchMarker, 0u);

  // Held by a writer: neither the mark nor the digest can be read.
  writeFile(dir.file("sh3.exe"), withMark(kPatchedLength));
  const OsFile writer = OsFile::open(dir.file("sh3.exe").c_str(), OsFile::Access::kUpdate);
  ASSERT_TRUE(writer);
  EXPECT_EQ(identifyBuild(state, dir.file("sh3.exe")), kNotPossible);
  EXPECT_EQ(state.patchMarker, 0u);
}

}  // namespace
