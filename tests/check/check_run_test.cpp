#include "check/check_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "check/recording_dialogs.h"
#include "support/read_only.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// The texts of the boxes, byte for byte as Windows-1252.
const std::string kTitle = "Brinemark 2015 - by the Brinemark developers";
const std::string kQuestionCaption = "W\xE4hle / Choose: SH3.EXE";
const std::string kQuestionText =
    "Welche SH3.exe soll gepr\xFC" "ft werden?\nWhich SH3.exe should be checked?";
const std::string kChooserTitle = "SilentHunterIII";
const std::string kErrorCaption = "ERROR / FEHLER";
const std::string kErrorText =
    "Leider konnte SH3.EXE nicht gefunden werden\nSorry there is no SH3.EXE";

const std::string kNotPossible = "----   QUIRN not possible / nicht m\xF6glich !!";

std::string resultText(const std::string& size, const std::string& largeAddress) {
  return "\n\nSH3 Patchversion:      " + kNotPossible +
         "\n\n4GB-Patch:                  " + largeAddress +
         "\n\nGr\xF6\xDF" "e / Size:                " + size + " Bytes";
}

DialogCall init() { return {DialogCall::kInit, "", "", MessageStyle{}}; }
DialogCall question() { return {DialogCall::kMessage, kQuestionCaption, kQuestionText, kStyleQuestion}; }
DialogCall chooser() { return {DialogCall::kChooser, kChooserTitle, "", MessageStyle{}}; }
DialogCall notFound() { return {DialogCall::kMessage, kErrorCaption, kErrorText, kStyleError}; }
DialogCall result(const std::string& size, const std::string& largeAddress = "No") {
  return {DialogCall::kMessage, kTitle, resultText(size, largeAddress), kStyleInformation};
}

void expectCalls(const std::vector<DialogCall>& expected) {
  const std::vector<DialogCall>& actual = dialogRecording().calls;
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("dialog call " + std::to_string(i));
    EXPECT_EQ(actual[i].kind, expected[i].kind);
    EXPECT_EQ(actual[i].caption, expected[i].caption);
    EXPECT_EQ(actual[i].text, expected[i].text);
    if (expected[i].kind == DialogCall::kMessage) {
      EXPECT_EQ(actual[i].style, expected[i].style);
    }
  }
}

class CheckRunTest : public ::testing::Test {
 protected:
  CheckRunTest() : inside_(start_.path()) { dialogRecording() = DialogRecording{}; }

  // The chooser's answer for a folder: its path with the platform's separator at the end.
  static std::string folderAnswer(const TempDir& folder) { return (folder.path() / "").string(); }

  TempDir start_;  // the current folder of the run
  CurrentDirectory inside_;
};

TEST_F(CheckRunTest, ExecutableInTheCurrentFolderIsReportedWithoutAsking) {
  writeFile("sh3.exe", std::string(1234, '\0'));
  runCheck();
  expectCalls({init(), result("1234")});
}

TEST_F(CheckRunTest, EmptyExecutableIsFoundAndReportedWithSizeZero) {
  writeFile("sh3.exe", "");
  runCheck();
  expectCalls({init(), result("0")});
}

TEST_F(CheckRunTest, MissingExecutableIsLookedForInTheChosenFolder) {
  TempDir chosen;
  writeFile(chosen.file("sh3.exe"), std::string(4097, '\0'));
  dialogRecording().chooserAnswer = folderAnswer(chosen);
  runCheck();
  expectCalls({init(), question(), chooser(), result("4097")});
}

TEST_F(CheckRunTest, CancelledChooserEndsInTheNotFoundError) {
  dialogRecording().chooserAnswer = "";
  runCheck();
  expectCalls({init(), question(), chooser(), notFound()});
}

TEST_F(CheckRunTest, ChosenFolderWithoutTheExecutableEndsInTheNotFoundError) {
  TempDir chosen;
  writeFile(chosen.file("SH3.EXE.bak"), "x");
  dialogRecording().chooserAnswer = folderAnswer(chosen);
  runCheck();
  expectCalls({init(), question(), chooser(), notFound()});
}

TEST_F(CheckRunTest, DirectoryNamedLikeTheExecutableEndsWithoutAnyBox) {
  // Found (size -2), so nothing is asked; it cannot be opened for update, so nothing is
  // reported either.
  fs::create_directory("sh3.exe");
  runCheck();
  expectCalls({init()});
}

TEST_F(CheckRunTest, ReadOnlyExecutableEndsWithoutAnyBoxAndUnchanged) {
  std::string bytes(5000, '\x11');
  bytes[286] = '\x2F';
  writeFile("sh3.exe", bytes);
  if (!makeReadOnly("sh3.exe")) GTEST_SKIP() << kReadOnlyUntestable;
  runCheck();
  expectCalls({init()});
  EXPECT_EQ(readFile("sh3.exe"), bytes);
}

// A sample of `length` bytes, not all alike, with `flagByte` at offset 286 if it has one.
std::string sample(size_t length, char flagByte) {
  std::string bytes(length, '\0');
  for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<char>((i * 131 + 7) & 0xFF);
  if (length > 286) bytes[286] = flagByte;
  return bytes;
}

TEST_F(CheckRunTest, EveryRunLeavesTheExecutableAsItWasAndReportsItsFlag) {
  const size_t lengths[] = {0, 286, 287, 4096, 4097, 1384448};
  const char flagBytes[] = {'\x00', '\x0F', '\x20', '\x2F', '\x3F', '\xA0', '\xFF'};
  for (size_t length : lengths) {
    for (char flagByte : flagBytes) {
      SCOPED_TRACE("length " + std::to_string(length) + ", byte " +
                   std::to_string(flagByte & 0xFF));
      const std::string before = sample(length, flagByte);
      writeFile("sh3.exe", before);
      dialogRecording() = DialogRecording{};
      runCheck();
      const bool flagSet = length > 286 && (flagByte & 0x20) != 0;
      expectCalls({init(), result(std::to_string(length), flagSet ? "Yes" : "No")});
      ASSERT_EQ(readFile("sh3.exe"), before);
    }
  }
}

}  // namespace
