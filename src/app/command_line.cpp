#include "app/command_line.h"

#include <cstring>

namespace {

CommandLine only(CommandLine::Action action, const std::string& error = "") {
  CommandLine line;
  line.action = action;
  line.error = error;
  return line;
}

}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine line;
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (!optionsEnded && argument[0] == '-') {
      if (std::strcmp(argument, "--") == 0) {
        optionsEnded = true;
      } else if (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0) {
        return only(CommandLine::Action::kHelp);
      } else if (std::strcmp(argument, "--version") == 0) {
        return only(CommandLine::Action::kVersion);
      } else {
        return only(CommandLine::Action::kUsageError,
                    std::string("unknown option '") + argument + "'");
      }
    } else if (line.folder != nullptr) {
      return only(CommandLine::Action::kUsageError,
                  std::string("one folder only, not also '") + argument + "'");
    } else {
      line.folder = argument;
    }
  }
  return line;
}
