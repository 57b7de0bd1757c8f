#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace {

TEST(CodepageTest, Windows1252BecomesUtf8) {
  const struct {
    std::string cp1252;
    std::string utf8;
  } cases[] = {
      {"Plain ASCII\n\t", "Plain ASCII\n\t"},
      {"Gr\xF6\xDF" "e", "Gr\xC3\xB6\xC3\x9F" "e"},
      {"W\xE4hle gepr\xFC" "ft", "W\xC3\xA4hle gepr\xC3\xBC" "ft"},
      {"\x80", "\xE2\x82\xAC"},   // euro sign
      {"\x9F", "\xC5\xB8"},       // Y with diaeresis
      {"\x81", "\xEF\xBF\xBD"},   // undefined in the code page
      {"\xA0\xFF", "\xC2\xA0\xC3\xBF"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(utf8FromCp1252(c.cp1252), c.utf8);
  }
}

}  // namespace
