#pragma once

#include <string>
#include <vector>

// A stand-in for the numbered files, linked in their place: every number is the one file
// `bytes`, held in memory, and every call is recorded in order, as "openForUpdate",
// "seek 286", "read", "write 0x2F", "sync", "close" and the like.
struct NumberedFileRecording {
  std::string bytes;
  std::vector<std::string> calls;
};

// The recording of the numbered files; tests reset it before each use.
NumberedFileRecording& numberedFileRecording();
