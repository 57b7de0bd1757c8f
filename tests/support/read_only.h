#pragma once

#include <string>

// Makes the file at `path` read-only. Returns false when the platform still lets this user
// open it for writing, as Wine does for root: then there is nothing read-only to test.
bool makeReadOnly(const std::string& path);

inline constexpr char kReadOnlyUntestable[] =
    "read-only files stay writable for this user here (root under Wine)";
