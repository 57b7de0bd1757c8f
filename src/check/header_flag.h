#pragma once

#include <string>

#include "check/check_state.h"

// The large-address-aware flag ("4GB-Patch"): bit 0x20 of the byte at offset 286 of the
// executable. While the build is identified the byte is held on disk with only its low
// four bits, so the digest does not depend on the flag; afterwards it is written back.

// Reads the byte into `state` and, when the flag is set, writes it back cleared. Leaves
// `state` untouched when the file cannot be opened for update or is shorter than 287 bytes.
void probeHeaderFlag(CheckState& state, const std::string& exePath);

enum class RestoreOutcome {
  kRestored,   // the saved byte is on disk again (rewritten even when it never changed)
  kNotOpened,  // the file cannot be opened for update, but nothing of ours is lost
  kLost,       // the byte on disk still differs from the saved one after every try
};

// Writes the saved byte back, has it put on stable storage and reads it back to be sure,
// trying again for about two seconds while the file is held elsewhere or the write does
// not stick.
RestoreOutcome restoreHeaderByte(const CheckState& state, const std::string& exePath);
