#include "platform/file_size.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace {

class FileSizeTest : public ::testing::Test {
 protected:
  FileSizeTest() : inside_(dir_.path()) {
    writeFile("empty.bin", "");
    writeFile("five.bin", "12345");
    std::filesystem::create_directory("folder");
  }

  TempDir dir_;
  CurrentDirectory inside_;
};

struct SizeCase {
  const char* name;
  int64_t expected;
};

TEST_F(FileSizeTest, LooksUpNamesInTheCurrentFolder) {
  const SizeCase cases[] = {
      {"missing.bin", kNothingThere},
      {"", kNothingThere},
      {"empty.bin", 0},  // a file of no bytes is there: 0, not -1
      {"five.bin", 5},
      {"folder", kIsDirectory},
      {"folder/", kIsDirectory},
      {"five.bin/", 5},  // trailing separators are ignored
      {"five.bin///", 5},
      {"/", kNothingThere},  // separators only leave nothing to look up
      {"///", kNothingThere},
      {"folder/missing.bin", kNothingThere},
  };
  for (const SizeCase& c : cases) {
    EXPECT_EQ(fileSize(c.name), c.expected) << "name \"" << c.name << "\"";
  }
}

TEST_F(FileSizeTest, NullNameIsNothing) { EXPECT_EQ(fileSize(nullptr), kNothingThere); }

TEST_F(FileSizeTest, OnlyTheFirst260CharactersCount) {
  // The first 260 characters are "five.bin" and trailing separators; what follows would
  // name nothing if it were looked at.
  std::string name = "five.bin" + std::string(252, '/');
  ASSERT_EQ(name.size(), 260u);
  name += "missing-tail";
  EXPECT_EQ(fileSize(name.c_str()), 5);

  std::string cutIntoMissing = "five.bin" + std::string(251, '/') + "x";
  EXPECT_EQ(fileSize(cutIntoMissing.c_str()), kNothingThere);
}

TEST_F(FileSizeTest, SizesBeyond4GiBKeepAll64Bits) {
  // A sparse file: no disk space is used for its 5 GiB.
  const uint64_t size = (5ull << 30) + 7;
  writeFile("big.bin", "");
  std::filesystem::resize_file("big.bin", size);
  EXPECT_EQ(fileSize("big.bin"), static_cast<int64_t>(size));
}

}  // namespace
