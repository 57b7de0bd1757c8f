#include "platform/codepage.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

// Code points of the bytes 0x80..0x9F; the rest of the upper half equals Latin-1.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
    0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

// How Windows converts to the code page, best fit included; sorted by code unit.
struct Cp1252Byte {
  uint16_t unit;
  uint8_t byte;
};
constexpr Cp1252Byte kFromUtf16[] = {
#include "platform/cp1252_best_fit_table.inc"
};

uint16_t codePointOf(char c) {
  const auto byte = static_cast<uint8_t>(c);
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

}  // namespace

std::string utf8FromCp1252(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) appendUtf8(out, codePointOf(c));
  return out;
}

std::u16string utf16FromCp1252(const std::string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) {
    const uint16_t unit = codePointOf(c);
    out += static_cast<char16_t>(unit == 0xFFFD ? static_cast<uint8_t>(c) : unit);
  }
  return out;
}

std::string cp1252FromUtf16(const std::u16string& text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t unit : text) {
    if (unit < 0x80) {
      out += static_cast<char>(unit);
      continue;
    }
    const auto found = std::lower_bound(std::begin(kFromUtf16), std::end(kFromUtf16), unit,
                                        [](const Cp1252Byte& row, char16_t u) { return row.unit < u; });
    const bool known = found != std::end(kFromUtf16) && found->unit == unit;
    out += known ? static_cast<char>(found->byte) : '?';
  }
  return out;
}
