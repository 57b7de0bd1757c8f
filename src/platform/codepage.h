#pragma once

#include <string>

// The UTF-8 form of a Windows-1252 text; the five bytes that code page leaves undefined
// become U+FFFD.
std::string utf8FromCp1252(const std::string& text);
