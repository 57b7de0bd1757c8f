#include "platform/chooser_path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(ChooserPathTest, StartPathKeepsDriveRootsAndDropsOneTrailingBackslash) {
  const std::string longPath(300, 'a');
  const struct {
    const char* initial;
    std::string expected;
  } cases[] = {
      {nullptr, ""},
      {"", ""},
      {"C:\\", "C:\\"},
      {"D:\\Games\\", "D:\\Games"},
      {"D:\\Games", "D:\\Games"},
      {"D:\\Games\\\\", "D:\\Games\\"},  // only one backslash goes
      {"ab\\", "ab\\"},                  // three characters or fewer are kept whole
      {"abcd/", "abcd/"},
      {longPath.c_str(), std::string(259, 'a')},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(chooserStartPath(c.initial), c.expected)
        << "initial \"" << (c.initial ? c.initial : "(null)") << "\"";
  }
}

TEST(ChooserPathTest, LongStartPathEndingInBackslashAfterTheCut) {
  // The cut comes first: a backslash at position 259 then ends the path and goes.
  const std::string initial = std::string(258, 'a') + "\\tail";
  EXPECT_EQ(chooserStartPath(initial.c_str()), std::string(258, 'a'));
}

TEST(ChooserPathTest, TrailingSeparatorIsAppendedOnce) {
  EXPECT_EQ(withTrailingSeparator("D:\\Data", '\\'), "D:\\Data\\");
  EXPECT_EQ(withTrailingSeparator("D:\\", '\\'), "D:\\");
  EXPECT_EQ(withTrailingSeparator("", '\\'), "");
  EXPECT_EQ(withTrailingSeparator("/home/x", '/'), "/home/x/");
  EXPECT_EQ(withTrailingSeparator("/", '/'), "/");
}

}  // namespace
