#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/chooser_path.h"
#include "platform/codepage.h"
#include "platform/dialogs.h"
#include "platform/installations.h"
#include "platform/list_choice.h"

// The dialogs as terminal output: the texts are Windows-1252 and printed as UTF-8. A
// message is not waited on: printing it is its whole life.

namespace {

constexpr int kOk = 1;
// When standard input is no terminal, an answer that does not come within this time
// counts as cancel, so a run with nothing piped in never hangs.
constexpr int kPipedAnswerWaitMs = 5000;
// The chooser offers the folders that hold the game's executable.
constexpr char kGameExecutable[] = "sh3.exe";
constexpr char kFolderPrompt[] =
    "Ordner / Folder (leere Zeile bricht ab / empty line cancels): ";
constexpr char kListPrompt[] =
    "Nummer oder Ordner / Number or folder (leere Zeile bricht ab / empty line cancels): ";

const char* styleName(MessageStyle style) {
  switch (style) {
    case kStyleError:
      return "Error";
    case kStyleQuestion:
      return "Question";
    case kStyleInformation:
      return "Information";
  }
  return "Message";
}

bool answerArrives() {
  if (isatty(STDIN_FILENO)) return true;
  pollfd input{STDIN_FILENO, POLLIN, 0};
  return poll(&input, 1, kPipedAnswerWaitMs) > 0 && (input.revents & (POLLIN | POLLHUP));
}

// One line of standard input without its line end; empty at end of input. Read a byte at
// a time, so nothing after the line is taken from whoever reads standard input next.
std::string readAnswerLine() {
  std::string line;
  if (!answerArrives()) return line;
  char c = 0;
  for (;;) {
    const ssize_t got = read(STDIN_FILENO, &c, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got != 1 || c == '\n') break;
    line += c;
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string environmentText(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string expandHome(const std::string& path) {
  const std::string home = environmentText("HOME");
  if (home.empty() || (path != "~" && path.compare(0, 2, "~/") != 0)) return path;
  return withTrailingSeparator(home, '/') + path.substr(path.size() > 1 ? 2 : 1);
}

}  // namespace

// The terminal needs no preparation.
void initDialogSupport() {}

int32_t showMessage(const char* caption, const char* text, MessageStyle style) {
  FILE* out = style == kStyleError ? stderr : stdout;
  std::fprintf(out, "[%s] %s\n%s\n\n", styleName(style), utf8FromCp1252(caption).c_str(),
               utf8FromCp1252(text).c_str());
  std::fflush(out);
  return kOk;
}

// The installations found are offered by number before the input line; a typed path is
// used as the user's own bytes: file names here are not Windows-1252.
std::string chooseFolder(const char* title, const char* initialPath) {
  std::printf("%s\n", utf8FromCp1252(title).c_str());
  const std::string start = chooserStartPath(initialPath);
  if (!start.empty()) std::printf("(starting at %s)\n", start.c_str());
  std::vector<std::string> found;
  for (std::string& folder :
       findInstallations(environmentText("HOME"), environmentText("WINEPREFIX"), kGameExecutable)) {
    // Only what the chooser could also give for a typed path.
    if (folder.size() <= kChooserPathMax + 1) found.push_back(std::move(folder));
  }
  for (size_t i = 0; i < found.size(); ++i) std::printf("[%zu] %s\n", i + 1, found[i].c_str());
  std::printf("%s", found.empty() ? kFolderPrompt : kListPrompt);
  std::fflush(stdout);

  const std::string answer = readAnswerLine();
  if (!isatty(STDIN_FILENO)) std::printf("\n");  // a terminal has echoed the line end
  if (answer.empty()) return {};
  if (const size_t choice = listChoice(answer, found.size())) return found[choice - 1];
  return withTrailingSeparator(expandHome(answer).substr(0, kChooserPathMax), '/');
}
