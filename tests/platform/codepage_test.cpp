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

TEST(CodepageTest, Utf16BecomesWindows1252WithBestFit) {
  const struct {
    char16_t unit;
    char byte;
  } cases[] = {
      {u'A', 'A'},        {u'\0', '\0'},      {u'\u007F', '\x7F'},
      {u'\u00E4', '\xE4'}, {u'\u00DF', '\xDF'}, {u'\u00A0', '\xA0'}, {u'\u00FF', '\xFF'},
      {u'\u20AC', '\x80'}, {u'\u0160', '\x8A'}, {u'\u0178', '\x9F'}, {u'\u2122', '\x99'},
      {u'\u0081', '\x81'}, {u'\u009D', '\x9D'},  // the undefined bytes keep their value
      {u'\u0080', '?'},    {u'\u009F', '?'},     // C1 controls whose bytes are letters
      {u'\u0141', 'L'},    {u'\u017A', 'z'},     {u'\u0100', 'A'},    // best fit
      {u'\u0107', 'c'},    {u'\u0151', 'o'},     {u'\u0131', 'i'},
      {u'\u0219', '?'},    {u'\u4E2D', '?'},     {u'\u0416', '?'},     {u'\uFFFD', '?'},
      {char16_t(0xD800), '?'}, {char16_t(0xDFFF), '?'},     {u'?', '?'},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(cp1252FromUtf16(std::u16string(1, c.unit)), std::string(1, c.byte))
        << "U+" << std::hex << static_cast<unsigned>(c.unit);
  }
  EXPECT_EQ(cp1252FromUtf16(u"\u0141\u00F3d\u017A \u20AC \U0001F600"), "L\xF3" "dz \x80 ??");
}

}  // namespace
