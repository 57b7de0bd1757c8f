#include "check/scripted_steps.h"

StepScript& stepScript() {
  static StepScript script;
  return script;
}

void probeHeaderFlag(CheckState& state, const std::string&) {
  state.headerByte = stepScript().probedByte;
  state.headerByteRead = 1;
  state.hasLargeAddressFlag = 1;
}

std::string identifyBuild(CheckState&, const std::string&) { return stepScript().patchStatus; }

RestoreOutcome restoreHeaderByte(const CheckState&, const std::string&) {
  return stepScript().restoreOutcome;
}

std::string versionReport(const std::string&, uint32_t, bool) { return stepScript().versionText; }
