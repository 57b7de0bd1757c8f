#include "check/check_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "check/recording_dialogs.h"
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

std::string resultText(const std::string& size) {
  return "\n\nSH3 Patchversion:      "
         "\n\n4GB-Patch:                  No"
         "\n\nGr\xF6\xDF" "e / Size:                " + size + " Bytes";
}

DialogCall init() { return {DialogCall::kInit, "", "", MessageStyle{}}; }
DialogCall question() { return {DialogCall::kMessage, kQuestionCaption, kQuestionText, kStyleQuestion}; }
DialogCall chooser() { return {DialogCall::kChooser, kChooserTitle, "", MessageStyle{}}; }
DialogCall notFound() { return {DialogCall::kMessage, kErrorCaption, kErrorText, kStyleError}; }
DialogCall result(const std::string& size) {
  return {DialogCall::kMessage, kTitle, resultText(size), kStyleInformation};
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
  writeFile("sh3.exe", std::string(1234, 'x'));
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
  writeFile(chosen.file("sh3.exe"), std::string(4097, 'y'));
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

TEST_F(CheckRunTest, DirectoryNamedLikeTheExecutableCountsAsFound) {
  fs::create_directory("sh3.exe");
  runCheck();
  const std::vector<DialogCall>& calls = dialogRecording().calls;
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.front().kind, DialogCall::kInit);
  for (const DialogCall& call : calls) {
    EXPECT_NE(call.kind, DialogCall::kChooser);
    EXPECT_NE(call.caption, kQuestionCaption);
    EXPECT_NE(call.caption, kErrorCaption);
  }
}

}  // namespace
