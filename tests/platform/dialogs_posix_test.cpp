#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/dialogs.h"
#include "support/temp_dir.h"

namespace {

using ::testing::internal::CaptureStderr;
using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStderr;
using ::testing::internal::GetCapturedStdout;

TEST(DialogsPosixTest, MessagesGoToTheirStreamAsUtf8) {
  const struct {
    MessageStyle style;
    bool toStderr;
    std::string expected;
  } cases[] = {
      {kStyleInformation, false, "[Information] Gr\xC3\xB6\xC3\x9F" "e\nA\nB\n\n"},
      {kStyleQuestion, false, "[Question] Gr\xC3\xB6\xC3\x9F" "e\nA\nB\n\n"},
      {kStyleError, true, "[Error] Gr\xC3\xB6\xC3\x9F" "e\nA\nB\n\n"},
  };
  for (const auto& c : cases) {
    CaptureStdout();
    CaptureStderr();
    EXPECT_EQ(showMessage("Gr\xF6\xDF" "e", "A\nB", c.style), 1);
    const std::string out = GetCapturedStdout();
    const std::string err = GetCapturedStderr();
    EXPECT_EQ(c.toStderr ? err : out, c.expected);
    EXPECT_EQ(c.toStderr ? out : err, "");
  }
}

// Runs the chooser with `input` as standard input, the writing end closed afterwards
// unless `keepOpen`; standard output is captured and returned in `shown`.
std::string chooseWithInput(const std::string& input, std::string* shown = nullptr,
                            bool keepOpen = false) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return "pipe failed";
  const ssize_t written = write(pipeEnds[1], input.data(), input.size());
  EXPECT_EQ(written, static_cast<ssize_t>(input.size()));
  if (!keepOpen) close(pipeEnds[1]);
  const int savedStdin = dup(STDIN_FILENO);
  dup2(pipeEnds[0], STDIN_FILENO);
  close(pipeEnds[0]);

  CaptureStdout();
  std::string chosen = chooseFolder("SilentHunterIII", "");
  const std::string out = GetCapturedStdout();
  if (shown != nullptr) *shown = out;

  dup2(savedStdin, STDIN_FILENO);
  close(savedStdin);
  if (keepOpen) close(pipeEnds[1]);
  return chosen;
}

TEST(DialogsPosixTest, ChooserShowsItsTitleLine) {
  std::string shown;
  chooseWithInput("\n", &shown);
  EXPECT_EQ(shown.rfind("SilentHunterIII\n", 0), 0u) << shown;
}

TEST(DialogsPosixTest, ChooserAnswersEndInOneSlash) {
  setenv("HOME", "/home/skipper", 1);
  const std::string longAnswer(300, 'd');
  const struct {
    std::string input;
    std::string expected;
  } cases[] = {
      {"/games/sh3\n", "/games/sh3/"},
      {"/games/sh3/\n", "/games/sh3/"},
      {"/\n", "/"},
      {"relative dir\n", "relative dir/"},
      {"/games/sh3\r\n", "/games/sh3/"},
      {"/games/sh3", "/games/sh3/"},  // the last line needs no line end
      {"~/sh3\n", "/home/skipper/sh3/"},
      {"~\n", "/home/skipper/"},
      {"a~/b\n", "a~/b/"},
      {"/first\n/second\n", "/first/"},
      {longAnswer + "\n", std::string(259, 'd') + "/"},
      {"\n", ""},  // an empty line cancels
      {"", ""},    // so does the end of input
  };
  for (const auto& c : cases) {
    EXPECT_EQ(chooseWithInput(c.input), c.expected) << "input \"" << c.input << "\"";
  }
}

TEST(DialogsPosixTest, ChooserOffersTheInstallationsItFindsByNumber) {
  TempDir home;
  const std::string prefix = std::filesystem::canonical(home.path()).string() + "/.wine/drive_c/";
  for (const char* game : {"Games/SH3", "Program Files/Ubisoft/SH3"}) {
    std::filesystem::create_directories(prefix + game);
    writeFile(prefix + game + "/SH3.EXE", "MZ");
  }
  setenv("HOME", home.path().c_str(), 1);
  unsetenv("WINEPREFIX");
  const std::string first = prefix + "Program Files/Ubisoft/SH3/";
  const std::string second = prefix + "Games/SH3/";
  const struct {
    std::string input;
    std::string expected;
  } cases[] = {
      {"1\n", first},
      {"2\n", second},
      {"3\n", "3/"},  // no entry of the list: a folder of that name
      {"0\n", "0/"},
      {"/games/sh3\n", "/games/sh3/"},
      {"\n", ""},
  };
  for (const auto& c : cases) {
    std::string shown;
    EXPECT_EQ(chooseWithInput(c.input, &shown), c.expected) << "input \"" << c.input << "\"";
    EXPECT_EQ(shown.rfind("SilentHunterIII\n[1] " + first + "\n[2] " + second +
                              "\nNummer oder Ordner / Number or folder ",
                          0),
              0u)
        << shown;
  }
  setenv("HOME", "/home/skipper", 1);
}

TEST(DialogsPosixTest, ChooserDoesNotHangWhenNothingIsPipedIn) {
  // A pipe that stays open and never delivers: the chooser gives up and counts it as
  // cancel instead of waiting for ever.
  EXPECT_EQ(chooseWithInput("", nullptr, true), "");
}

}  // namespace
