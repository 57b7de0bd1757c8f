// The table of the own conversion to Windows-1252, set beside Windows' own conversion.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/codepage.h"

namespace {

std::string systemCp1252(const std::u16string& text) {
  const auto* wide = reinterpret_cast<const WCHAR*>(text.data());
  const int units = static_cast<int>(text.size());
  std::string out(text.size() * 2, '\0');
  const int length = WideCharToMultiByte(1252, 0, wide, units, out.data(), int(out.size()), nullptr, nullptr);
  out.resize(length > 0 ? size_t(length) : 0);
  return out;
}

TEST(CodepageWin32Test, EveryCodeUnitConvertsAsWindowsConvertsIt) {
  int differing = 0;
  for (unsigned unit = 1; unit <= 0xFFFF; ++unit) {
    const std::u16string text(1, static_cast<char16_t>(unit));
    if (cp1252FromUtf16(text) != systemCp1252(text) && ++differing <= 10) {
      ADD_FAILURE() << "U+" << std::hex << unit;
    }
  }
  EXPECT_EQ(differing, 0);
}

TEST(CodepageWin32Test, TextsConvertUnitByUnit) {
  const std::u16string lone = {char16_t(0xD800), u'x', char16_t(0xDC00)};
  for (const std::u16string& text : {std::u16string(u"\u0141\u00F3d\u017A \u20AC \U0001F600"), lone,
                                     std::u16string(u"Pr\u00FCf \u4E2D\u0219")}) {
    EXPECT_EQ(cp1252FromUtf16(text), systemCp1252(text));
  }
}

}  // namespace
