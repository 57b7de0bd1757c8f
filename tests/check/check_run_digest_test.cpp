// The whole run with a stand-in for the file digest that knows one file: the run must
// take the digest while the header byte is held cleared, and put the byte back after.
#include <gtest/gtest.h>

#include <string>

#include "check/check_run.h"
#include "check/recording_dialogs.h"
#include "platform/file_digest.h"
#include "support/temp_dir.h"

namespace {

constexpr char kStdDigest[] = "510b271d14621361386197be6bd8cc0c";

std::string sample(char flagByte) {
  std::string bytes(2000, '\x44');
  bytes[286] = flagByte;
  return bytes;
}

// The bytes that the stand-in digest names as the STD build: the sample held cleared.
const std::string kKnownContent = sample('\x0F');

}  // namespace

std::string fileDigestMd5(const char* path) {
  return readFile(path) == kKnownContent ? kStdDigest : "";
}

namespace {

TEST(CheckRunDigestTest, FlaggedFileIsNamedLikeTheSameFileWithTheFlagCleared) {
  const struct {
    char flagByte;
    bool named;
    const char* flag;
  } cases[] = {
      {'\x0F', true, "No"},  {'\x2F', true, "Yes"}, {'\x3F', true, "Yes"},
      {'\xFF', true, "Yes"}, {'\x1F', false, "No"}, {'\x20', false, "Yes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.flagByte & 0xFF));
    TempDir dir;
    CurrentDirectory inside(dir.path());
    writeFile("sh3.exe", sample(c.flagByte));
    dialogRecording() = DialogRecording{};
    runCheck();
    ASSERT_EQ(dialogRecording().calls.size(), 2u);
    const std::string& text = dialogRecording().calls[1].text;
    const std::string status = c.named ? "STD   QUIRN Patch possible / m\xF6glich"
                                       : "----   QUIRN not possible / nicht m\xF6glich !!";
    EXPECT_EQ(text.rfind("\n\nSH3 Patchversion:      " + status + "\n\n4GB-Patch:                  " +
                             c.flag + "\n\n",
                         0),
              0u)
        << text;
    EXPECT_EQ(readFile("sh3.exe"), sample(c.flagByte));
  }
}

}  // namespace
