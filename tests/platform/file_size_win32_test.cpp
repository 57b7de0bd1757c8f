#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_size.h"
#include "support/temp_dir.h"

namespace {

// Under Wine, C: and Z: exist; no other drive letter is mapped.
constexpr char kMissingDrive = 'Q';

TEST(FileSizeWin32Test, DriveRootsAreAnsweredByTheDriveCheckAlone) {
  ASSERT_EQ(GetDriveTypeA("Q:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR)) << "Q: must not exist";
  const std::string missing(1, kMissingDrive);
  const struct {
    std::string name;
    int64_t expected;
  } cases[] = {
      {"Z:", kIsDirectory},
      {"Z:\\", kIsDirectory},
      {"z:/", kIsDirectory},
      {"C:", kIsDirectory},
      {missing + ":", kNothingThere},
      {missing + ":\\", kNothingThere},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fileSize(c.name.c_str()), c.expected) << "name \"" << c.name << "\"";
  }
}

TEST(FileSizeWin32Test, ThreeCharactersWithAColonAreNeverLookedUpAsAFile) {
  // "C:x" names the file x in the current folder of drive C:, but such a name is taken
  // as a drive root, and "C:x" is none.
  TempDir dir;
  CurrentDirectory inside(dir.path());
  writeFile("x", "1234");
  const std::string drive = dir.path().string().substr(0, 2);
  ASSERT_EQ(drive[1], ':');
  EXPECT_EQ(fileSize((drive + "x").c_str()), kNothingThere);
}

TEST(FileSizeWin32Test, BackslashesAreSeparatorsToo) {
  TempDir dir;
  CurrentDirectory inside(dir.path());
  writeFile("five.bin", "12345");
  std::filesystem::create_directory("folder");

  EXPECT_EQ(fileSize("five.bin\\"), 5);
  EXPECT_EQ(fileSize("five.bin\\/\\"), 5);
  EXPECT_EQ(fileSize("folder\\"), kIsDirectory);
  EXPECT_EQ(fileSize("\\"), kNothingThere);
  EXPECT_EQ(fileSize("\\/\\\\"), kNothingThere);
  EXPECT_EQ(fileSize(".."), kIsDirectory);
}

TEST(FileSizeWin32Test, WildcardsMatchTheFirstEntry) {
  TempDir dir;
  CurrentDirectory inside(dir.path());
  writeFile("only.bin", "1234567");
  std::filesystem::create_directory("sub");
  writeFile("sub\\d.txt", "");

  EXPECT_EQ(fileSize("*.bin"), 7);
  EXPECT_EQ(fileSize("onl?.bin"), 7);
  EXPECT_EQ(fileSize("s?b"), kIsDirectory);
  EXPECT_EQ(fileSize("*.none"), kNothingThere);
}

}  // namespace
