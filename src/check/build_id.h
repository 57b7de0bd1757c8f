#pragma once

#include <string>

#include "check/check_state.h"

// Names the build of the executable for the "SH3 Patchversion" line: the QUIRN patch mark
// when it is there, else the known build whose MD5 digest the whole file has, else "not
// possible". Sets `state.patchMarker`; runs while the header byte is held cleared.
std::string identifyBuild(CheckState& state, const std::string& exePath);

// The status text for a digest of the whole file: the text of the first known build with
// exactly that digest, or the "not possible" text (also for an empty digest).
std::string buildStatusForDigest(const std::string& digest);
