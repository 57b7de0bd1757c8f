#include "platform/file_digest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/os_file.h"
#include "support/temp_dir.h"

namespace {

constexpr size_t kBlock = 1 << 20;

// Bytes (i * 7 + 3) & 0xFF: the known digests below were taken once with Python's
// hashlib.md5 over the same bytes.
std::string pattern(size_t length) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return bytes;
}

TEST(FileDigestTest, WholeFilesAcrossTheReadBlocks) {
  TempDir dir;
  const struct {
    std::string content;
    const char* digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {pattern(kBlock), "d8a469bb35fb5fad7156842ba2242434"},  // a second read gives nothing
      {pattern(kBlock) + "\x5A", "af01b1eed92d45bbb31cce5319302432"},
  };
  for (const auto& c : cases) {
    writeFile(dir.file("sh3.exe"), c.content);
    const std::string digest = fileDigestMd5(dir.file("sh3.exe").c_str());
    EXPECT_EQ(digest, c.digest) << c.content.size() << " bytes";
  }
}

TEST(FileDigestTest, NameMatchesWithoutRegardToCase) {
  TempDir dir;
  writeFile(dir.file("SH3.EXE"), "abc");
  EXPECT_EQ(fileDigestMd5(dir.file("sh3.exe").c_str()), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(FileDigestTest, NothingToReadGivesTheEmptyText) {
  TempDir dir;
  std::filesystem::create_directory(dir.file("folder"));
  EXPECT_EQ(fileDigestMd5(nullptr), "");
  EXPECT_EQ(fileDigestMd5(""), "");
  EXPECT_EQ(fileDigestMd5(dir.file("missing.exe").c_str()), "");
  EXPECT_EQ(fileDigestMd5(dir.file("folder").c_str()), "");
}

TEST(FileDigestTest, FileHeldByAWriterGivesTheEmptyText) {
  TempDir dir;
  writeFile(dir.file("sh3.exe"), "abc");
  {
    const OsFile writer = OsFile::open(dir.file("sh3.exe").c_str(), OsFile::Access::kUpdate);
    ASSERT_TRUE(writer);
    EXPECT_EQ(fileDigestMd5(dir.file("sh3.exe").c_str()), "");
  }
  const OsFile reader = OsFile::open(dir.file("sh3.exe").c_str(), OsFile::Access::kReadOnly);
  EXPECT_EQ(fileDigestMd5(dir.file("sh3.exe").c_str()), "900150983cd24fb0d6963f7d28e17f72");
}

TEST(FileDigestTest, FileOver4GiBCountsAllItsBitsInThePadding) {
  // A sparse file of 4 GiB of zeros followed by "tail" (4,294,967,300 bytes). Its digest
  // was taken once with `truncate -s 4294967296 f && printf tail >> f && md5sum f`.
  TempDir dir;
  const std::string path = dir.file("big.bin");
  {
    OsFile file = OsFile::open(path.c_str(), OsFile::Access::kUpdate);
    ASSERT_TRUE(file);
    file.seekTo(int64_t{1} << 32);
    ASSERT_EQ(file.write("tail", 4), 4);
  }
  ASSERT_EQ(std::filesystem::file_size(path), 4294967300u);
  EXPECT_EQ(fileDigestMd5(path.c_str()), "4a1ae8314d38811a82aa7766b3fe9c20");
}

}  // namespace
