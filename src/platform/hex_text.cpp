#include "platform/hex_text.h"

std::string hexText(uint64_t value, int digits, HexLetters letters) {
  const char* alphabet = letters == HexLetters::kUpper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string text(static_cast<size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i, value >>= 4) text[static_cast<size_t>(i)] = alphabet[value & 0xF];
  return text;
}
