#pragma once

#include <cstddef>
#include <string>

// The terminal chooser's answer by number.
// The entry of a list of `count` that `answer` picks by its number (1 for the first), or 0
// when the answer is no number from 1 to `count`.
std::size_t listChoice(const std::string& answer, std::size_t count);
