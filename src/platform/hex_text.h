#pragma once

#include <cstdint>
#include <string>

enum class HexLetters { kUpper, kLower };

// `value` as exactly `digits` hexadecimal digits, zero-padded on the left.
std::string hexText(uint64_t value, int digits, HexLetters letters = HexLetters::kUpper);
