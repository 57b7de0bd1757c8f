#include "check/header_flag.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/os_file.h"
#include "support/read_only.h"
#include "support/temp_dir.h"

namespace {

std::string sample(char flagByte, size_t length = 1000) {
  std::string bytes(length, '\x5A');
  if (length > 286) bytes[286] = flagByte;
  return bytes;
}

class HeaderFlagTest : public ::testing::Test {
 protected:
  HeaderFlagTest() : path_(dir_.file("sh3.exe")) {}

  char byteOnDisk() const { return readFile(path_).at(286); }
  OsFile holdForUpdate() const { return OsFile::open(path_.c_str(), OsFile::Access::kUpdate); }

  TempDir dir_;
  const std::string path_;
  CheckState state_;
};

TEST_F(HeaderFlagTest, FlaggedByteIsHeldWithItsLowFourBitsUntilTheRestore) {
  const struct {
    char onDisk;
    char whileHeld;
    int flag;
  } cases[] = {
      {'\x00', '\x00', 0}, {'\x0F', '\x0F', 0}, {'\xDF', '\xDF', 0}, {'\x20', '\x00', 1},
      {'\x2F', '\x0F', 1}, {'\x3F', '\x0F', 1}, {'\xA0', '\x00', 1}, {'\xFF', '\x0F', 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("byte " + std::to_string(c.onDisk & 0xFF));
    const std::string before = sample(c.onDisk);
    writeFile(path_, before);
    CheckState state;
    probeHeaderFlag(state, path_);
    EXPECT_EQ(state.headerByte, static_cast<int8_t>(c.onDisk));
    EXPECT_EQ(state.headerByteRead, 1);
    EXPECT_EQ(state.hasLargeAddressFlag, c.flag);
    EXPECT_EQ(byteOnDisk(), c.whileHeld);
    EXPECT_EQ(restoreHeaderByte(state, path_), RestoreOutcome::kRestored);
    EXPECT_EQ(readFile(path_), before);
  }
}

TEST_F(HeaderFlagTest, FileWithoutByte286IsNeitherReadNorWritten) {
  const std::string before(286, '\x2F');
  writeFile(path_, before);
  probeHeaderFlag(state_, path_);
  EXPECT_EQ(state_.headerByteRead, 0);
  EXPECT_EQ(state_.headerByte, 0);
  EXPECT_EQ(state_.hasLargeAddressFlag, 0);
  EXPECT_EQ(restoreHeaderByte(state_, path_), RestoreOutcome::kRestored);
  EXPECT_EQ(readFile(path_), before);
}

TEST_F(HeaderFlagTest, ReadOnlyFileIsNotTouchedAndNotRestored) {
  const std::string before = sample('\x2F');
  writeFile(path_, before);
  if (!makeReadOnly(path_)) GTEST_SKIP() << kReadOnlyUntestable;
  probeHeaderFlag(state_, path_);
  EXPECT_EQ(state_.headerByteRead, 0);
  EXPECT_EQ(state_.hasLargeAddressFlag, 0);
  EXPECT_EQ(restoreHeaderByte(state_, path_), RestoreOutcome::kNotOpened);
  EXPECT_EQ(readFile(path_), before);
}

TEST_F(HeaderFlagTest, FileHeldElsewhereAtTheProbeIsLeftAlone) {
  const std::string before = sample('\x2F');
  writeFile(path_, before);
  {
    const OsFile other = holdForUpdate();
    ASSERT_TRUE(other);
    probeHeaderFlag(state_, path_);
    EXPECT_EQ(restoreHeaderByte(state_, path_), RestoreOutcome::kNotOpened);
  }
  EXPECT_EQ(state_.hasLargeAddressFlag, 0);
  EXPECT_EQ(readFile(path_), before);
}

TEST_F(HeaderFlagTest, RestoreWaitsForAFileThatIsReleasedSoon) {
  writeFile(path_, sample('\x2F'));
  probeHeaderFlag(state_, path_);
  ASSERT_EQ(byteOnDisk(), '\x0F');

  OsFile other = holdForUpdate();  // a scanner holds the file just after the probe
  ASSERT_TRUE(other);
  std::thread releaser([&other] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    other = OsFile();
  });
  const RestoreOutcome outcome = restoreHeaderByte(state_, path_);
  releaser.join();
  EXPECT_EQ(outcome, RestoreOutcome::kRestored);
  EXPECT_EQ(byteOnDisk(), '\x2F');
}

TEST_F(HeaderFlagTest, RestoreGivesUpOnAFileHeldForTheWholeTime) {
  writeFile(path_, sample('\x3F'));
  probeHeaderFlag(state_, path_);
  {
    const OsFile other = holdForUpdate();
    ASSERT_TRUE(other);
    EXPECT_EQ(restoreHeaderByte(state_, path_), RestoreOutcome::kLost);
  }
  EXPECT_EQ(byteOnDisk(), '\x0F');  // still cleared: the run tells the user
  EXPECT_EQ(state_.headerByte, 0x3F);
}

}  // namespace
