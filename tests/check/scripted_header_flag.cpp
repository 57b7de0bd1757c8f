#include "check/scripted_header_flag.h"

HeaderFlagScript& headerFlagScript() {
  static HeaderFlagScript script;
  return script;
}

void probeHeaderFlag(CheckState& state, const std::string&) {
  state.headerByte = headerFlagScript().probedByte;
  state.headerByteRead = 1;
  state.hasLargeAddressFlag = 1;
}

RestoreOutcome restoreHeaderByte(const CheckState&, const std::string&) {
  return headerFlagScript().restoreOutcome;
}
