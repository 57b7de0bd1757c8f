#pragma once

#include <string>
#include <vector>

// The library folders that Steam's libraryfolders.vdf names, in the order of the file.
// Both forms Steam has written are read: "libraryfolders" { "0" { "path" "..." ... } } and
// the older "LibraryFolders" { "1" "..." }. The text is read as untrusted: anything
// malformed ends the reading, and only the folders named before it count.
std::vector<std::string> steamLibraryFolders(const std::string& vdf);
