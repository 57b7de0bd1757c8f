#include "check/check_run.h"

#include <string>

#include "check/build_id.h"
#include "check/check_state.h"
#include "check/header_flag.h"
#include "check/version_report.h"
#include "platform/dialogs.h"
#include "platform/file_size.h"
#include "platform/hex_text.h"
#include "platform/termination_guard.h"

namespace {

constexpr char kTitle[] = "Brinemark 2015 - by the Brinemark developers";
constexpr char kExeName[] = "sh3.exe";

constexpr char kChooseCaption[] = "Wähle / Choose: SH3.EXE";
constexpr char kChooseText[] =
    "Welche SH3.exe soll geprüft werden?\nWhich SH3.exe should be checked?";
constexpr char kChooserTitle[] = "SilentHunterIII";

constexpr char kErrorCaption[] = "ERROR / FEHLER";
constexpr char kNotFoundText[] =
    "Leider konnte SH3.EXE nicht gefunden werden\nSorry there is no SH3.EXE";

constexpr char kPatchLabel[] = "\n\nSH3 Patchversion:      ";
constexpr char kLargeAddressLabel[] = "\n\n4GB-Patch:                  ";
constexpr char kSizeLabel[] = "\n\nGröße / Size:                ";
constexpr char kSizeUnit[] = " Bytes";

// Tells the user what the header byte must be set to by hand.
std::string lostHeaderByteText(const CheckState& state) {
  const std::string hex = "0x" + hexText(static_cast<uint8_t>(state.headerByte), 2);
  return "Das \"4GB-Patch\"-Byte von SH3.EXE konnte nicht wiederhergestellt werden:\n"
         "an Offset 286 (0x11E) muss der Wert " + hex + " stehen.\n"
         "The \"4GB-Patch\" byte of SH3.EXE could not be restored:\n"
         "offset 286 (0x11E) must hold the value " + hex + ".";
}

// Probe, identification and restore, the span in which the header byte on disk may be
// held cleared. A request to end the program waits until the byte is back, or until the
// user has been told which value it must hold.
RestoreOutcome examineWithByteHeld(CheckState& state, const std::string& exePath) {
  const TerminationGuard holdTermination;
  probeHeaderFlag(state, exePath);
  state.patchStatus = identifyBuild(state, exePath);
  const RestoreOutcome outcome = restoreHeaderByte(state, exePath);
  if (outcome == RestoreOutcome::kLost) {
    showMessage(kErrorCaption, lostHeaderByteText(state).c_str(), kStyleError);
  }
  return outcome;
}

std::string resultText(const CheckState& state) {
  return state.versionText + kPatchLabel + state.patchStatus + kLargeAddressLabel +
         state.largeAddressText + kSizeLabel + state.sizeText + kSizeUnit;
}

}  // namespace

void runCheck() {
  CheckState state;
  initDialogSupport();
  state.title = kTitle;

  // Only "nothing there" sends the user to the chooser: a directory of that name counts
  // as found, and the steps that cannot open it decide what happens next.
  if (fileSize(kExeName) == kNothingThere) {
    showMessage(kChooseCaption, kChooseText, kStyleQuestion);
    state.exeDir = chooseFolder(kChooserTitle, "");
  }
  const std::string exePath = state.exeDir + kExeName;
  if (fileSize(exePath.c_str()) == kNothingThere) {
    showMessage(kErrorCaption, kNotFoundText, kStyleError);
    return;
  }

  switch (examineWithByteHeld(state, exePath)) {
    case RestoreOutcome::kRestored:
      break;
    case RestoreOutcome::kNotOpened:
      return;  // read-only, in use or a directory: nothing to report, nothing was changed
    case RestoreOutcome::kLost:
      return;  // the user has been told which value offset 286 must hold
  }

  state.largeAddressText = state.hasLargeAddressFlag == 1 ? "Yes" : "No";
  state.sizeText = std::to_string(fileSize(exePath.c_str()));
  state.versionText = versionReport(exePath, kAllVersionFields, true);
  showMessage(state.title.c_str(), resultText(state).c_str(), kStyleInformation);
}
