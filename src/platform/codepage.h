#pragma once

#include <string>

// Conversions of Windows-1252 texts, the code page of every text the program shows.

// The UTF-8 form of a Windows-1252 text; the five bytes that code page leaves undefined
// become U+FFFD.
std::string utf8FromCp1252(const std::string& text);

// The UTF-16 form of a Windows-1252 text; the undefined bytes keep their own value, as on
// Windows.
std::u16string utf16FromCp1252(const std::string& text);

// The Windows-1252 form of a UTF-16 text, as the ANSI entry points of Windows give it,
// unit by unit: a letter the code page lacks becomes its closest one where Windows has one
// (best fit: U+0141 "L", U+0100 "A"), any other code unit "?".
std::string cp1252FromUtf16(const std::u16string& text);
