#pragma once

#include <string>

#include "check/build_id.h"
#include "check/header_flag.h"
#include "check/version_report.h"

// A stand-in for the steps of the check, linked in their place: the probe reports a set
// flag with the byte `probedByte`, the identification answers `patchStatus`, the restore
// `restoreOutcome` and the version report `versionText`.
struct StepScript {
  int8_t probedByte = 0x2F;
  RestoreOutcome restoreOutcome = RestoreOutcome::kRestored;
  std::string patchStatus = "scripted status";
  std::string versionText;
};

StepScript& stepScript();
