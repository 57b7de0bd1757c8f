#pragma once

#include <string>

// File names as Windows (and Wine) match them: without regard to the case of the letters
// A to Z, so a game installed as "SH3.EXE" is found as "sh3.exe".

// Whether `a` and `b` differ at most in the case of the letters A to Z.
bool sameNameIgnoringCase(const std::string& a, const std::string& b);

// The path to use for `path`: itself when something of that exact name exists; else its
// folder's entry whose name differs from the last component only in case, the first in
// byte order of the names when several do; else `path` unchanged.
std::string foundPath(const std::string& path);
