#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/child_process.h"
#include "e2e/remote_dialog.h"
#include "fixtures/sample_sh3/sample_version_lines.h"
#include "support/live_box.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Every wait is bounded; a first start of the folder chooser in a fresh prefix is the slowest.
constexpr DWORD kWaitMs = 30000;

constexpr char kResultCaption[] = "Brinemark 2015 - by the Brinemark developers";
constexpr char kQuestionCaption[] = "W\xE4hle / Choose: SH3.EXE";
constexpr char kQuestionText[] =
    "Welche SH3.exe soll gepr\xFC" "ft werden?\nWhich SH3.exe should be checked?";
constexpr char kChooserTitle[] = "SilentHunterIII";
constexpr char kErrorCaption[] = "ERROR / FEHLER";
constexpr char kErrorText[] =
    "Leider konnte SH3.EXE nicht gefunden werden\nSorry there is no SH3.EXE";

// The platform's name of a language, as the version library gives it.
std::string languageName(DWORD language) {
  char name[128] = {};
  VerLanguageNameA(language, name, sizeof name);
  return name;
}

// The version lines of the sample. Its language, 0x0409, is named by the platform: Wine
// calls it plain "English".
std::string sampleVersionLines() {
  return kSampleFieldLines + ("Language:   \t" + languageName(0x0409));
}

// The report on a copy of the sample, which is no known build. `largeAddress` is "Yes" or
// "No".
std::string expectedReport(uintmax_t size, const char* largeAddress) {
  return sampleVersionLines() +
         "\n\nSH3 Patchversion:      ----   QUIRN not possible / nicht m\xF6glich !!"
         "\n\n4GB-Patch:                  " +
         largeAddress + "\n\nGr\xF6\xDF" "e / Size:                " + std::to_string(size) +
         " Bytes";
}

// Under Wine the Unix file system is drive Z:.
std::string wineDrivePath(std::string unixPath) {
  std::replace(unixPath.begin(), unixPath.end(), '/', '\\');
  return "Z:" + unixPath;
}

class WineRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program's texts are Windows-1252 bytes and reach the screen through the ANSI
    // interfaces; only under that code page do they read back as the same bytes.
    ASSERT_EQ(GetACP(), 1252u) << "the Wine session must run with the Windows-1252 code page";
    ASSERT_TRUE(fs::is_regular_file(program_)) << program_;
    ASSERT_TRUE(fs::is_regular_file(sample_)) << sample_;
  }

  // Puts a copy of the sample into `folder` as sh3.exe; its size.
  uintmax_t placeSample(const TempDir& folder) {
    fs::copy_file(sample_, folder.path() / "sh3.exe");
    return fs::file_size(folder.path() / "sh3.exe");
  }

  // The next box of `run`: checks its caption, body and single OK button, then presses OK.
  static void answerMessageBox(const ChildProcess& run, const char* caption,
                               const std::string& text) {
    const HWND box = waitForDialog(run.id(), kWaitMs);
    ASSERT_NE(box, nullptr) << "no box \"" << caption << "\"";
    const MessageBoxReading reading = readMessageBox(box);
    ASSERT_EQ(reading.caption, caption);
    EXPECT_EQ(reading.text, text);
    EXPECT_EQ(reading.buttons, std::vector<int>{IDOK});
    ASSERT_TRUE(pressButton(box, IDOK, kWaitMs));
  }

  // The folder chooser of `run`, with its title line.
  static HWND waitForChooser(const ChildProcess& run) {
    const HWND chooser = waitForDialog(run.id(), kWaitMs);
    if (chooser == nullptr || !isFolderChooser(chooser)) return nullptr;
    const std::vector<std::string> texts = staticTexts(chooser);
    EXPECT_NE(std::find(texts.begin(), texts.end(), kChooserTitle), texts.end());
    return chooser;
  }

  static void expectNormalEnd(const ChildProcess& run) {
    DWORD exitCode = 0;
    ASSERT_TRUE(run.waitForExit(kWaitMs, exitCode)) << "the program did not end";
    EXPECT_EQ(exitCode, 0u);
  }

  const std::string program_ = wineDrivePath(BRINEMARK_EXE);
  const std::string sample_ = wineDrivePath(BRINEMARK_SAMPLE_SH3);
  // The current folder of a run that finds no sh3.exe there.
  TempDir emptyFolder_;
};

TEST_F(WineRunTest, SampleInTheCurrentFolderIsReportedAtOnceAndLeftAsItWas) {
  // The byte at offset 286 holds the large-address flag (0x20). The run clears it on disk
  // while it takes the digest and must put it back before it reports.
  constexpr size_t kHeaderByte = 286;
  const struct {
    const char* name;
    bool flagged;
    const char* largeAddress;
  } cases[] = {
      {"as built", false, "No"},
      {"large-address flag set", true, "Yes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir folder;
    const uintmax_t size = placeSample(folder);
    std::string bytes = readFile(folder.file("sh3.exe"));
    ASSERT_GT(bytes.size(), kHeaderByte);
    ASSERT_EQ(bytes[kHeaderByte] & 0x20, 0) << "the sample itself has no large-address flag";
    if (c.flagged) {
      bytes[kHeaderByte] = static_cast<char>(bytes[kHeaderByte] | 0x20);
      writeFile(folder.file("sh3.exe"), bytes);
    }

    ChildProcess run(program_, folder.path().string());
    ASSERT_TRUE(run.started()) << "cannot start " << program_ << ": error " << run.startError();
    ASSERT_NO_FATAL_FAILURE(
        answerMessageBox(run, kResultCaption, expectedReport(size, c.largeAddress)));
    expectNormalEnd(run);
    EXPECT_EQ(readFile(folder.file("sh3.exe")), bytes) << "the file must be left as it was";
  }
}

TEST_F(WineRunTest, MissingSampleIsAskedForAndReportedFromTheChosenFolder) {
  TempDir sampleFolder;
  const uintmax_t size = placeSample(sampleFolder);

  ChildProcess run(program_, emptyFolder_.path().string());
  ASSERT_TRUE(run.started()) << "cannot start " << program_ << ": error " << run.startError();
  ASSERT_NO_FATAL_FAILURE(answerMessageBox(run, kQuestionCaption, kQuestionText));
  const HWND chooser = waitForChooser(run);
  ASSERT_NE(chooser, nullptr) << "no folder chooser";
  ASSERT_TRUE(selectFolder(run.handle(), chooser, sampleFolder.path().string(), kWaitMs));
  ASSERT_TRUE(pressButton(chooser, IDOK, kWaitMs));
  ASSERT_NO_FATAL_FAILURE(answerMessageBox(run, kResultCaption, expectedReport(size, "No")));
  expectNormalEnd(run);
}

TEST_F(WineRunTest, CancelledChooserEndsWithTheNotFoundError) {
  ChildProcess run(program_, emptyFolder_.path().string());
  ASSERT_TRUE(run.started()) << "cannot start " << program_ << ": error " << run.startError();
  ASSERT_NO_FATAL_FAILURE(answerMessageBox(run, kQuestionCaption, kQuestionText));
  const HWND chooser = waitForChooser(run);
  ASSERT_NE(chooser, nullptr) << "no folder chooser";
  ASSERT_TRUE(pressButton(chooser, IDCANCEL, kWaitMs));
  ASSERT_NO_FATAL_FAILURE(answerMessageBox(run, kErrorCaption, kErrorText));
  expectNormalEnd(run);
}

}  // namespace
