#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/file_size.h"
#include "support/temp_dir.h"

namespace {

TEST(FileSizePosixTest, OnlyRegularFilesAndDirectoriesAreThere) {
  TempDir dir;
  writeFile(dir.file("target.bin"), "abc");
  ASSERT_EQ(symlink("target.bin", dir.file("link.bin").c_str()), 0);
  ASSERT_EQ(symlink("gone.bin", dir.file("dangling.bin").c_str()), 0);
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);

  EXPECT_EQ(fileSize(dir.file("link.bin").c_str()), 3);  // a link counts as what it names
  EXPECT_EQ(fileSize(dir.file("dangling.bin").c_str()), kNothingThere);
  EXPECT_EQ(fileSize(dir.file("pipe").c_str()), kNothingThere);
  EXPECT_EQ(fileSize("/dev/null"), kNothingThere);
  EXPECT_EQ(fileSize("/"), kNothingThere);  // separators only: nothing is looked up
}

TEST(FileSizePosixTest, NameMatchesWithoutRegardToCase) {
  TempDir dir;
  writeFile(dir.file("SH3.EXE"), "abcd");
  EXPECT_EQ(fileSize(dir.file("sh3.exe").c_str()), 4);
  EXPECT_EQ(fileSize((dir.file("sh3.exe") + "//").c_str()), 4);
  EXPECT_EQ(fileSize(dir.file("sh3.ex").c_str()), kNothingThere);
}

}  // namespace
