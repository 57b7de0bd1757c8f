#include "check/recording_dialogs.h"

DialogRecording& dialogRecording() {
  static DialogRecording recording;
  return recording;
}

void initDialogSupport() {
  dialogRecording().calls.push_back({DialogCall::kInit, "", "", MessageStyle{}});
}

int32_t showMessage(const char* caption, const char* text, MessageStyle style) {
  dialogRecording().calls.push_back({DialogCall::kMessage, caption, text, style});
  return 1;
}

std::string chooseFolder(const char* title, const char* initialPath) {
  dialogRecording().calls.push_back({DialogCall::kChooser, title, initialPath, MessageStyle{}});
  return dialogRecording().chooserAnswer;
}
