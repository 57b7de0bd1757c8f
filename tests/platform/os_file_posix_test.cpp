#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/os_file.h"
#include "support/temp_dir.h"

namespace {

// Whether another process can open `path` with `access` right now.
bool otherProcessOpens(const std::string& path, OsFile::Access access) {
  const pid_t child = fork();
  if (child == 0) _exit(OsFile::open(path.c_str(), access) ? 0 : 1);
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(OsFilePosixTest, AnotherProcessMeetsTheSameShareRules) {
  TempDir dir;
  const std::string path = dir.file("sh3.exe");
  writeFile(path, "content");
  {
    const OsFile reader = OsFile::open(path.c_str(), OsFile::Access::kReadOnly);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(otherProcessOpens(path, OsFile::Access::kReadOnly));
    EXPECT_FALSE(otherProcessOpens(path, OsFile::Access::kUpdate));
  }
  {
    const OsFile writer = OsFile::open(path.c_str(), OsFile::Access::kUpdate);
    ASSERT_TRUE(writer);
    EXPECT_FALSE(otherProcessOpens(path, OsFile::Access::kReadOnly));
    EXPECT_FALSE(otherProcessOpens(path, OsFile::Access::kUpdate));
  }
  EXPECT_TRUE(otherProcessOpens(path, OsFile::Access::kUpdate));  // released with its owner
}

TEST(OsFilePosixTest, NameMatchesWithoutRegardToCaseAndCreatesNoSecondFile) {
  TempDir dir;
  writeFile(dir.file("SH3.EXE"), "abc");
  {
    OsFile file = OsFile::open(dir.file("sh3.exe").c_str(), OsFile::Access::kUpdate);
    ASSERT_TRUE(file);
    EXPECT_EQ(file.write("X", 1), 1);
  }
  EXPECT_EQ(readFile(dir.file("SH3.EXE")), "Xbc");
  struct stat info {};
  EXPECT_NE(lstat(dir.file("sh3.exe").c_str(), &info), 0);
}

TEST(OsFilePosixTest, CreatedFileOpensForUpdateWhateverTheUmask) {
  TempDir dir;
  const mode_t previous = umask(0222);
  const OsFile created = OsFile::open(dir.file("new.bin").c_str(), OsFile::Access::kUpdate);
  umask(previous);
  EXPECT_TRUE(created);
}

TEST(OsFilePosixTest, FifoIsRefusedWithoutWaitingForAWriter) {
  TempDir dir;
  ASSERT_EQ(mkfifo(dir.file("pipe").c_str(), 0600), 0);
  EXPECT_FALSE(OsFile::open(dir.file("pipe").c_str(), OsFile::Access::kReadOnly));
  EXPECT_FALSE(OsFile::open(dir.file("pipe").c_str(), OsFile::Access::kUpdate));
}

}  // namespace
