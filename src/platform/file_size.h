#pragma once

#include <cstdint>

// Size lookups by name that never open the file.
inline constexpr int64_t kNothingThere = -1;
inline constexpr int64_t kIsDirectory = -2;

// The size in bytes of the file `name`; kNothingThere when nothing of that name exists or
// the name is missing or empty; kIsDirectory for a directory (on Windows also a drive or
// share root). Trailing separators are ignored and only the first 260 bytes of the name
// are looked at.
int64_t fileSize(const char* name);
