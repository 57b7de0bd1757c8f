#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/command_line.h"
#include "check/check_run.h"

// The terminal program: one check, run in the current folder or in the folder named, as
// `cd FOLDER && brinemark` would. Arguments it does not know stop it before anything is
// looked at.

namespace {

constexpr char kUsage[] =
    "Usage: brinemark [FOLDER]\n"
    "Checks sh3.exe, the Silent Hunter III executable, in FOLDER or else in the current\n"
    "folder: its version fields, the QUIRN patch, the 4GB-Patch flag and its size. The\n"
    "name matches in any case (SH3.EXE). Without it there, brinemark lists the Steam and\n"
    "Wine installations it finds and asks for a number or a folder.\n"
    "\n"
    "  -h, --help     show this text and exit\n"
    "      --version  show the version and exit\n";
constexpr char kTryHelp[] = "Try 'brinemark --help' for more information.\n";

constexpr int kBadFolder = 1;
constexpr int kBadUsage = 2;

bool enterFolder(const char* folder) {
  struct stat info {};
  if (stat(folder, &info) != 0 || !S_ISDIR(info.st_mode)) {
    std::fprintf(stderr, "brinemark: '%s' is no folder\n", folder);
    return false;
  }
  if (chdir(folder) != 0) {
    std::fprintf(stderr, "brinemark: cannot enter '%s': %s\n", folder, std::strerror(errno));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const CommandLine line = parseCommandLine(argc, argv);
  switch (line.action) {
    case CommandLine::Action::kHelp:
      std::fputs(kUsage, stdout);
      return 0;
    case CommandLine::Action::kVersion:
      std::printf("brinemark %s\n", BRINEMARK_VERSION);
      return 0;
    case CommandLine::Action::kUsageError:
      std::fprintf(stderr, "brinemark: %s\n%s", line.error.c_str(), kTryHelp);
      return kBadUsage;
    case CommandLine::Action::kCheck:
      break;
  }
  if (line.folder != nullptr && !enterFolder(line.folder)) return kBadFolder;
  runCheck();
  return 0;
}
