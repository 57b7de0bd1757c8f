#pragma once

#include <cstddef>
#include <string>

// Rules the folder choosers share for the paths they take and give.

// The longest path a chooser takes or gives, without the separator it appends.
inline constexpr std::size_t kChooserPathMax = 259;

// The folder a chooser starts at: the first 259 characters of `initialPath` (null counts
// as empty), without one trailing backslash unless that leaves a drive root such as "C:\".
std::string chooserStartPath(const char* initialPath);

// `path` ending in `separator`: appended unless the path is empty or already ends in it.
std::string withTrailingSeparator(std::string path, char separator);
