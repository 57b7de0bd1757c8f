#pragma once

#include "check/header_flag.h"

// A stand-in for the header flag steps, linked in their place: the probe reports a set
// flag with the byte `probedByte`, and the restore answers `restoreOutcome`.
struct HeaderFlagScript {
  int8_t probedByte = 0x2F;
  RestoreOutcome restoreOutcome = RestoreOutcome::kRestored;
};

HeaderFlagScript& headerFlagScript();
