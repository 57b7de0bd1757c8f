#pragma once

#include <string>

// What the terminal program's arguments ask for: the check (in the current folder or in
// the one folder named), the usage text, the version, or nothing but a usage error.
struct CommandLine {
  enum class Action { kCheck, kHelp, kVersion, kUsageError };
  Action action = Action::kCheck;
  const char* folder = nullptr;  // kCheck: the folder to check in; null for the current one
  std::string error;             // kUsageError: what was wrong, as one line
};

// Reads argv[1..argc-1]. "--help" or "-h" and "--version" win over everything but an
// earlier error; "--" makes the next argument a folder even if it starts with "-".
CommandLine parseCommandLine(int argc, const char* const* argv);
