// The real Linux program, started in a folder of the test's making, its terminal dialogs
// driven through standard input and read from standard output and error.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "fixtures/sample_sh3/sample_version_lines.h"
#include "support/read_only.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct Finished {
  int exitCode = -1;
  std::string out;
  std::string err;
};

enum class Input { kText, kNothing, kOpenPipe };

std::string drain(int fd) {
  std::string all;
  char chunk[4096];
  for (ssize_t got; (got = read(fd, chunk, sizeof chunk)) > 0;) all.append(chunk, size_t(got));
  close(fd);
  return all;
}

// The environment of every run: the test's own, but HOME is `home` and WINEPREFIX unset,
// so the installations of the machine's own user never show.
std::vector<std::string> environmentWithHome(const fs::path& home) {
  std::vector<std::string> variables;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    const std::string text = *variable;
    if (text.rfind("HOME=", 0) != 0 && text.rfind("WINEPREFIX=", 0) != 0) variables.push_back(text);
  }
  variables.push_back("HOME=" + home.string());
  return variables;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (auto& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Runs the program in `folder` with `arguments`. kText pipes `text` in and closes the
// pipe; kNothing gives it /dev/null; kOpenPipe gives it a pipe that stays open and never
// delivers anything. HOME is `home`, else `folder` itself.
Finished runProgram(const fs::path& folder, Input input, const std::string& text = "",
                    std::vector<std::string> arguments = {}, const fs::path& home = {}) {
  int in[2], out[2], err[2];
  EXPECT_EQ(pipe(in) | pipe(out) | pipe(err), 0);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input == Input::kNothing) {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  } else {
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  }
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
    posix_spawn_file_actions_addclose(&actions, fd);
  }
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());

  char program[] = BRINEMARK_PROGRAM;
  arguments.insert(arguments.begin(), program);
  std::vector<char*> argv = pointersTo(arguments);
  std::vector<std::string> environment = environmentWithHome(home.empty() ? folder : home);
  std::vector<char*> envp = pointersTo(environment);
  pid_t child = 0;
  const int spawned = posix_spawn(&child, program, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(in[0]);
  close(out[1]);
  close(err[1]);
  Finished finished;
  if (spawned != 0) {
    ADD_FAILURE() << "cannot start " << program;
    for (int fd : {in[1], out[0], err[0]}) close(fd);
    return finished;
  }
  if (input == Input::kText) {
    EXPECT_EQ(write(in[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  if (input != Input::kOpenPipe) close(in[1]);
  finished.out = drain(out[0]);
  finished.err = drain(err[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (input == Input::kOpenPipe) close(in[1]);
  finished.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return finished;
}

const std::string kTitleLine = "[Information] Brinemark 2015 - by the Brinemark developers\n";
const std::string kQuestion =
    "[Question] W\xC3\xA4hle / Choose: SH3.EXE\n"
    "Welche SH3.exe soll gepr\xC3\xBC" "ft werden?\nWhich SH3.exe should be checked?\n\n";
const std::string kNotFound =
    "[Error] ERROR / FEHLER\n"
    "Leider konnte SH3.EXE nicht gefunden werden\nSorry there is no SH3.EXE\n\n";

std::string sampleSize() { return std::to_string(fs::file_size(SAMPLE_SH3)); }

const std::string kNotPossible = "----   QUIRN not possible / nicht m\xC3\xB6glich !!";

const std::string kSampleVersionLines =
    std::string(kSampleFieldLines) + "Language:   \tEnglish (United States)";

std::string report(const std::string& size, const std::string& largeAddress = "No",
                   const std::string& status = kNotPossible) {
  return kTitleLine + kSampleVersionLines + "\n\nSH3 Patchversion:      " + status +
         "\n\n4GB-Patch:                  " + largeAddress +
         "\n\nGr\xC3\xB6\xC3\x9F" "e / Size:                " + size + " Bytes\n\n";
}

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(TerminalRunTest, SampleInTheCurrentFolderIsReportedAtOnce) {
  TempDir folder;
  fs::copy_file(SAMPLE_SH3, folder.path() / "sh3.exe");
  const Finished run = runProgram(folder.path(), Input::kNothing);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, report(sampleSize()));
  EXPECT_EQ(run.err, "");
}

TEST(TerminalRunTest, FlaggedSampleIsReportedAndLeftAsItWas) {
  TempDir folder;
  std::string bytes = readFile(SAMPLE_SH3);
  ASSERT_GT(bytes.size(), 286u);
  bytes[286] = static_cast<char>(bytes[286] | 0x20);
  writeFile(folder.file("sh3.exe"), bytes);
  const Finished run = runProgram(folder.path(), Input::kNothing);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, report(std::to_string(bytes.size()), "Yes"));
  EXPECT_EQ(readFile(folder.file("sh3.exe")), bytes);
}

TEST(TerminalRunTest, PatchedSampleIsReportedAsPerformed) {
  TempDir folder;
  std::string bytes = readFile(SAMPLE_SH3);
  bytes.resize(1384448, '\0');
  bytes.replace(1371136, 4, "v 1.");
  writeFile(folder.file("sh3.exe"), bytes);
  const Finished run = runProgram(folder.path(), Input::kNothing);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, report("1384448", "No", "QUIRN Patch was performed / wurde ausgef\xC3\xBChrt"));
}

TEST(TerminalRunTest, ReadOnlySampleEndsSilentlyAndUnchanged) {
  TempDir folder;
  std::string bytes = readFile(SAMPLE_SH3);
  bytes[286] = static_cast<char>(bytes[286] | 0x20);
  writeFile(folder.file("sh3.exe"), bytes);
  ASSERT_TRUE(makeReadOnly(folder.file("sh3.exe")));
  const Finished run = runProgram(folder.path(), Input::kNothing);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(readFile(folder.file("sh3.exe")), bytes);
}

TEST(TerminalRunTest, ChosenFolderIsExamined) {
  TempDir start, games;
  fs::copy_file(SAMPLE_SH3, games.path() / "sh3.exe");
  const Finished run = runProgram(start.path(), Input::kText, games.path().string() + "\n");
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.out.rfind(kQuestion + "SilentHunterIII\n", 0), 0u) << run.out;
  EXPECT_TRUE(endsWith(run.out, report(sampleSize()))) << run.out;
  EXPECT_EQ(run.err, "");
}

TEST(TerminalRunTest, UnansweredChooserEndsInTheNotFoundError) {
  const struct {
    const char* name;
    Input input;
    std::string text;
  } cases[] = {
      {"empty line", Input::kText, "\n"},
      {"end of input", Input::kNothing, ""},
      {"open pipe with nothing in it", Input::kOpenPipe, ""},
      {"folder without sh3.exe", Input::kText, "/\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir start;
    const Finished run = runProgram(start.path(), c.input, c.text);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind(kQuestion + "SilentHunterIII\n", 0), 0u) << run.out;
    EXPECT_EQ(run.out.find("[Information]"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, kNotFound);
  }
}

TEST(TerminalRunTest, HelpAndVersionAnswerWithoutChecking) {
  const struct {
    const char* argument;
    std::string outStart;
  } cases[] = {
      {"--help", "Usage: brinemark [FOLDER]\nChecks sh3.exe, "},
      {"-h", "Usage: brinemark [FOLDER]\nChecks sh3.exe, "},
      {"--version", "brinemark " BRINEMARK_VERSION "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.argument);
    TempDir folder;
    fs::copy_file(SAMPLE_SH3, folder.path() / "sh3.exe");
    const Finished run = runProgram(folder.path(), Input::kNothing, "", {c.argument});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind(c.outStart, 0), 0u) << run.out;
    EXPECT_EQ(run.out.find("[Information]"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");
  }
  EXPECT_EQ(runProgram(TempDir().path(), Input::kNothing, "", {"--version"}).out,
            "brinemark " BRINEMARK_VERSION "\n");
}

TEST(TerminalRunTest, UsageErrorsStopBeforeAnythingIsChecked) {
  const struct {
    std::vector<std::string> arguments;
    std::string firstLine;
  } cases[] = {
      {{"--frobnicate"}, "brinemark: unknown option '--frobnicate'\n"},
      {{"-x", "."}, "brinemark: unknown option '-x'\n"},
      {{".", ".."}, "brinemark: one folder only, not also '..'\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.arguments.front());
    TempDir folder;
    fs::copy_file(SAMPLE_SH3, folder.path() / "sh3.exe");
    const Finished run = runProgram(folder.path(), Input::kNothing, "", c.arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, c.firstLine + "Try 'brinemark --help' for more information.\n");
  }
}

TEST(TerminalRunTest, FolderArgumentIsCheckedAsIfStartedThere) {
  TempDir start;
  for (const char* folder : {"games/Silent Hunter III", "-odd"}) {
    fs::create_directories(start.path() / folder);
    fs::copy_file(SAMPLE_SH3, start.path() / folder / "sh3.exe");
  }
  const std::vector<std::string> cases[] = {
      {(start.path() / "games" / "Silent Hunter III").string()},
      {"games/Silent Hunter III/"},
      {"--", "-odd"},
  };
  for (const auto& arguments : cases) {
    SCOPED_TRACE(arguments.back());
    const Finished run = runProgram(start.path(), Input::kNothing, "", arguments);
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, report(sampleSize()));
    EXPECT_EQ(run.err, "");
  }
}

TEST(TerminalRunTest, PathThatIsNoFolderIsNamedAndNothingChecked) {
  TempDir start;
  fs::copy_file(SAMPLE_SH3, start.path() / "sh3.exe");
  for (const std::string& path : {start.file("missing"), start.file("sh3.exe"), std::string("")}) {
    SCOPED_TRACE(path);
    const Finished run = runProgram(start.path(), Input::kNothing, "", {path});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "brinemark: '" + path + "' is no folder\n");
  }
}

TEST(TerminalRunTest, NameInAnyCaseIsCheckedByEveryStep) {
  std::string bytes = readFile(SAMPLE_SH3);
  ASSERT_GT(bytes.size(), 286u);
  bytes[286] = static_cast<char>(bytes[286] | 0x20);
  for (const char* name : {"SH3.EXE", "Sh3.exe"}) {
    SCOPED_TRACE(name);
    TempDir folder;
    writeFile(folder.file(name), bytes);
    const Finished run = runProgram(folder.path(), Input::kNothing);
    EXPECT_EQ(run.exitCode, 0);
    // Version lines, the header byte read and restored, and the size: all of that file.
    EXPECT_EQ(run.out, report(std::to_string(bytes.size()), "Yes"));
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(folder.file(name)), bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
        << "no second file made";
  }
}

TEST(TerminalRunTest, ChooserListsSteamAndWineInstallationsAndChecksTheOneAnswered) {
  TempDir home, elsewhere, start;
  const fs::path steam = fs::canonical(home.path()) / ".local/share/Steam";
  const fs::path steamGame = fs::canonical(elsewhere.path()) / "SteamLibrary/steamapps/common/SH3";
  const fs::path wineGame =
      fs::canonical(home.path()) / ".wine/drive_c/Program Files (x86)/Ubisoft/Silent Hunter III";
  fs::create_directories(steam / "steamapps");
  writeFile((steam / "steamapps/libraryfolders.vdf").string(),
            "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" + steam.string() +
                "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
                (fs::canonical(elsewhere.path()) / "SteamLibrary").string() + "\"\n\t}\n}\n");
  std::string flagged = readFile(SAMPLE_SH3);
  ASSERT_GT(flagged.size(), 286u);
  flagged[286] = static_cast<char>(flagged[286] | 0x20);
  fs::create_directories(steamGame);
  writeFile((steamGame / "sh3.exe").string(), flagged);
  fs::create_directories(wineGame);
  fs::copy_file(SAMPLE_SH3, wineGame / "SH3.EXE");

  const std::string listed = kQuestion + "SilentHunterIII\n[1] " + steamGame.string() + "/\n[2] " +
                             wineGame.string() + "/\nNummer oder Ordner / Number or folder ";
  const struct {
    const char* answer;
    std::string reportShown;  // empty: the not-found error
  } cases[] = {
      {"1\n", report(std::to_string(flagged.size()), "Yes")},
      {"2\n", report(sampleSize())},
      {"3\n", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    const Finished run = runProgram(start.path(), Input::kText, c.answer, {}, home.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.rfind(listed, 0), 0u) << run.out;
    if (c.reportShown.empty()) {
      EXPECT_EQ(run.out.find("[Information]"), std::string::npos) << run.out;
      EXPECT_EQ(run.err, kNotFound);
    } else {
      EXPECT_TRUE(endsWith(run.out, c.reportShown)) << run.out;
      EXPECT_EQ(run.err, "");
    }
  }
  EXPECT_EQ(readFile((steamGame / "sh3.exe").string()), flagged);
}

}  // namespace
