#include "platform/numbered_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "failing_buffer_new.h"
#include "platform/os_file.h"
#include "support/read_only.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// A sample whose byte at offset i is (i * 7 + 3) & 0xFF, with chosen bytes around 286.
std::string sample(size_t length) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 7 + 3) & 0xFF);
  return bytes;
}

// Every case runs twice: with the 4096-byte buffer, and unbuffered as when the buffer
// cannot be had. Both must give the same results.
class NumberedFilesTest : public ::testing::TestWithParam<bool> {
 protected:
  NumberedFilesTest() : path_(dir_.file("sh3.exe")) {}
  ~NumberedFilesTest() override {
    for (int32_t number = 0; number < 3; ++number) closeFile(number);
    failNothrowArrayNew = false;
  }

  void write(const std::string& bytes) const { writeFile(path_, bytes); }
  std::string onDisk() const { return readFile(path_); }
  bool openRead(int32_t number = 0) const { return open(openForRead, number); }
  bool openUpdate(int32_t number = 0) const { return open(openForUpdate, number); }

  TempDir dir_;
  const std::string path_;

 private:
  bool open(bool (*opener)(int32_t, const char*), int32_t number) const {
    failNothrowArrayNew = GetParam();
    const bool opened = opener(number, path_.c_str());
    failNothrowArrayNew = false;
    return opened;
  }
};

INSTANTIATE_TEST_SUITE_P(BufferedAndUnbuffered, NumberedFilesTest, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& param) {
                           return param.param ? "Unbuffered" : "Buffered";
                         });

TEST_P(NumberedFilesTest, MissingFileIsCreatedOnlyByAnUpdateOpen) {
  EXPECT_FALSE(openRead());
  EXPECT_EQ(fileLength(0), -1);
  EXPECT_FALSE(fs::exists(path_));

  ASSERT_TRUE(openUpdate());
  EXPECT_EQ(fileLength(0), 0);
  closeFile(0);
  EXPECT_TRUE(fs::exists(path_));
  EXPECT_EQ(fs::file_size(path_), 0u);
}

TEST_P(NumberedFilesTest, ReadOnlyFileOpensOnlyForReading) {
  write(sample(300));
  if (!makeReadOnly(path_)) GTEST_SKIP() << kReadOnlyUntestable;
  EXPECT_FALSE(openUpdate());
  EXPECT_EQ(fileLength(0), -1);
  EXPECT_TRUE(openRead());
  EXPECT_EQ(fileLength(0), 300);
}

TEST_P(NumberedFilesTest, DirectoryDoesNotOpen) {
  fs::create_directory(path_);
  EXPECT_FALSE(openRead());
  EXPECT_FALSE(openUpdate());
}

TEST_P(NumberedFilesTest, BytesReadSignExtendedAndZeroAtTheEnd) {
  std::string bytes = sample(290);
  bytes[286] = '\xA0';
  bytes[287] = '\x2F';
  bytes[288] = '\xFF';
  bytes[289] = '\x7F';
  write(bytes);
  ASSERT_TRUE(openRead());
  seekTo(0, 286);
  EXPECT_EQ(readByte(0), -96);
  EXPECT_EQ(readByte(0), 47);
  EXPECT_EQ(readByte(0), -1);
  EXPECT_EQ(readByte(0), 127);
  EXPECT_EQ(readByte(0), 0);  // end of file
  EXPECT_EQ(readByte(0), 0);
}

TEST_P(NumberedFilesTest, QuadsAreLittleEndianAndZeroFilledPastTheEnd) {
  write(std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0A\xFB", 11));
  ASSERT_TRUE(openRead());
  EXPECT_EQ(readQuad(0), 0x0807060504030201u);
  seekTo(0, 8);  // three bytes before the end
  EXPECT_EQ(readQuad(0), 0xFB0A09u);
  EXPECT_EQ(readQuad(0), 0u);
}

TEST_P(NumberedFilesTest, ReadsAcrossTheBufferBoundaryDeliverEveryByte) {
  const std::string bytes = sample(3 * 4096 + 5);
  write(bytes);
  ASSERT_TRUE(openRead());
  seekTo(0, 4090);
  for (size_t i = 4090; i < 4094; ++i) {
    ASSERT_EQ(readByte(0), static_cast<int8_t>(bytes[i])) << "offset " << i;
  }
  uint64_t expected = 0;
  for (int i = 7; i >= 0; --i) expected = (expected << 8) | static_cast<uint8_t>(bytes[4094 + size_t(i)]);
  EXPECT_EQ(readQuad(0), expected);  // six bytes of the first fill, two of the next
  seekTo(0, int64_t(bytes.size()) - 1);
  EXPECT_EQ(readByte(0), static_cast<int8_t>(bytes.back()));
}

TEST_P(NumberedFilesTest, ByteAt286IsReplacedAndNothingElse) {
  std::string bytes = sample(5000);
  bytes[286] = '\x2F';
  write(bytes);
  ASSERT_TRUE(openUpdate());
  seekTo(0, 286);
  const int32_t saved = readByte(0);
  seekTo(0, 286);
  EXPECT_EQ(writeByte(0, saved & 0x0F), 1);
  closeFile(0);
  bytes[286] = '\x0F';
  EXPECT_EQ(onDisk(), bytes);
}

TEST_P(NumberedFilesTest, WriteAfterReadLandsAfterTheByteRead) {
  // The read fetched 4096 bytes ahead; the write still goes to offset 287.
  std::string bytes = sample(5000);
  write(bytes);
  ASSERT_TRUE(openUpdate());
  seekTo(0, 286);
  readByte(0);
  writeByte(0, 0x55);
  EXPECT_EQ(readByte(0), static_cast<int8_t>(bytes[288]));
  closeFile(0);
  bytes[287] = 0x55;
  EXPECT_EQ(onDisk(), bytes);
}

TEST_P(NumberedFilesTest, OnlyTheLowEightBitsAreWritten) {
  write(sample(10));
  ASSERT_TRUE(openUpdate());
  seekTo(0, 4);
  writeByte(0, 0x12F);
  writeByte(0, -1);
  closeFile(0);
  EXPECT_EQ(onDisk()[4], '\x2F');
  EXPECT_EQ(onDisk()[5], '\xFF');
}

TEST_P(NumberedFilesTest, LengthCountsPendingBytes) {
  write(sample(287));
  ASSERT_TRUE(openUpdate());
  seekTo(0, 287);
  writeByte(0, 0x41);
  EXPECT_EQ(fileLength(0), 288);
  writeByte(0, 0x42);  // the mode stays writing after the length
  closeFile(0);
  EXPECT_EQ(onDisk(), sample(287) + "AB");
}

TEST_P(NumberedFilesTest, PendingBytesAreWrittenWhenTheNumberIsOpenedAgain) {
  write(sample(100));
  ASSERT_TRUE(openUpdate());
  seekTo(0, 10);
  writeByte(0, 0x61);
  // The new open fails, but what was open on the number is closed first.
  EXPECT_FALSE(openForRead(0, dir_.file("missing.bin").c_str()));
  EXPECT_EQ(fileLength(0), -1);
  EXPECT_EQ(onDisk()[10], 'a');
}

TEST_P(NumberedFilesTest, BufferHoldsAtMost4095PendingBytes) {
  ASSERT_TRUE(openUpdate());
  for (int i = 0; i < 4095; ++i) writeByte(0, 'x');
  EXPECT_EQ(fs::file_size(path_), GetParam() ? 4095u : 0u);
  writeByte(0, 'y');  // would fill the buffer: the 4095 go out, 'y' waits
  EXPECT_EQ(fs::file_size(path_), GetParam() ? 4096u : 4095u);
  closeFile(0);
  EXPECT_EQ(onDisk(), std::string(4095, 'x') + "y");
}

TEST_P(NumberedFilesTest, SyncWritesPendingBytesAndWritingGoesOnAfterThem) {
  write(sample(100));
  ASSERT_TRUE(openUpdate());
  seekTo(0, 10);
  writeByte(0, 0x61);
  syncFile(0);
  EXPECT_EQ(onDisk()[10], 'a');  // out of the buffer with the file still open
  writeByte(0, 0x62);
  closeFile(0);
  std::string expected = sample(100);
  expected.replace(10, 2, "ab");
  EXPECT_EQ(onDisk(), expected);
}

TEST_P(NumberedFilesTest, UpdateOpenAfterReadOpenLeavesOneFileOpen) {
  write(sample(300));
  ASSERT_TRUE(openRead());
  // Succeeds only because the read-only handle on the number was closed first: it would
  // refuse a writer.
  ASSERT_TRUE(openUpdate());
  EXPECT_FALSE(openRead(1));
  closeFile(0);
  EXPECT_TRUE(openRead(1));
}

TEST_P(NumberedFilesTest, SharingAllowsReadersOnlyBesideReaders) {
  write(sample(300));
  ASSERT_TRUE(openRead(0));
  EXPECT_TRUE(openRead(1));     // readers share
  EXPECT_FALSE(openUpdate(2));  // a writer is refused while a reader has it
  closeFile(0);
  closeFile(1);
  ASSERT_TRUE(openUpdate(0));
  EXPECT_FALSE(openRead(1));  // a reader is refused while a writer has it
  EXPECT_FALSE(openUpdate(2));
  EXPECT_FALSE(OsFile::open(path_.c_str(), OsFile::Access::kReadOnly));
}

TEST(NumberedFilesNoFileTest, NumbersWithoutAFileGiveTheirNeutralValues) {
  for (int32_t number : {0, 1, 7, 8, -1, 1000}) {
    SCOPED_TRACE(number);
    EXPECT_EQ(fileLength(number), -1);
    EXPECT_EQ(readByte(number), 0);
    EXPECT_EQ(readQuad(number), 0u);
    EXPECT_EQ(writeByte(number, 0x20), 0);
    seekTo(number, 5);
    syncFile(number);
    closeFile(number);
  }
  TempDir dir;
  EXPECT_FALSE(openForUpdate(-1, dir.file("x").c_str()));
  EXPECT_FALSE(fs::exists(dir.file("x")));
}

TEST_P(NumberedFilesTest, PositionsAndLengthsPast4GiBKeepAll64Bits) {
  // A sparse file just past 4 GiB, whose length and the offsets below are what a 32-bit
  // build must not cut to their low halves: 0x1'0015'2000 would read as the 1,384,448 bytes
  // of the patched build, and 0x1'0000'011E as offset 286.
  constexpr int64_t k4GiB = int64_t{1} << 32;
  constexpr int64_t kLength = k4GiB + 1384448;
  constexpr int64_t kFar = k4GiB + 286;
  write(sample(300));
  fs::resize_file(path_, static_cast<uintmax_t>(kLength));

  ASSERT_TRUE(openUpdate());
  EXPECT_EQ(fileLength(0), kLength);
  seekTo(0, kFar);
  EXPECT_EQ(readByte(0), 0) << "the far byte is still a hole";
  seekTo(0, kFar);
  writeByte(0, 0x5A);
  seekTo(0, kLength - 3);
  EXPECT_EQ(readQuad(0), 0u);
  closeFile(0);

  ASSERT_TRUE(openRead());
  seekTo(0, kFar);
  EXPECT_EQ(readByte(0), 0x5A);
  seekTo(0, 286);
  EXPECT_EQ(readByte(0), static_cast<int8_t>(sample(300)[286])) << "the near byte is untouched";
  EXPECT_EQ(fileLength(0), kLength);
}

}  // namespace
