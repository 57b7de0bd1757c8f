#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Action = CommandLine::Action;

TEST(CommandLineTest, ArgumentsGiveOneAction) {
  const struct {
    std::vector<const char*> arguments;
    Action action;
    const char* folder;  // null: none
    std::string error;
  } cases[] = {
      {{}, Action::kCheck, nullptr, ""},
      {{"/games/sh3"}, Action::kCheck, "/games/sh3", ""},
      {{""}, Action::kCheck, "", ""},
      {{"--help"}, Action::kHelp, nullptr, ""},
      {{"-h"}, Action::kHelp, nullptr, ""},
      {{"--version"}, Action::kVersion, nullptr, ""},
      {{"/games", "--help"}, Action::kHelp, nullptr, ""},
      {{"--version", "--help"}, Action::kVersion, nullptr, ""},
      {{"--", "-odd folder"}, Action::kCheck, "-odd folder", ""},
      {{"--", "--help"}, Action::kCheck, "--help", ""},
      {{"--", "--", "x"}, Action::kUsageError, nullptr, "one folder only, not also 'x'"},
      {{"--frobnicate"}, Action::kUsageError, nullptr, "unknown option '--frobnicate'"},
      {{"-"}, Action::kUsageError, nullptr, "unknown option '-'"},
      {{"-hv"}, Action::kUsageError, nullptr, "unknown option '-hv'"},
      {{"--HELP"}, Action::kUsageError, nullptr, "unknown option '--HELP'"},
      {{"--bad", "--help"}, Action::kUsageError, nullptr, "unknown option '--bad'"},
      {{"a", "b"}, Action::kUsageError, nullptr, "one folder only, not also 'b'"},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv = {"brinemark"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    SCOPED_TRACE(c.arguments.empty() ? "(none)" : c.arguments.front());
    const CommandLine line = parseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.error, c.error);
    if (c.folder == nullptr) {
      EXPECT_EQ(line.folder, nullptr);
    } else {
      ASSERT_NE(line.folder, nullptr);
      EXPECT_STREQ(line.folder, c.folder);
    }
  }
}

}  // namespace
