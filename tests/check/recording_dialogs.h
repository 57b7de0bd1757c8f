#pragma once

#include <string>
#include <vector>

#include "platform/dialogs.h"

// A stand-in for the dialogs, linked in their place: it records every call in order and
// answers the folder chooser from a script.
struct DialogCall {
  enum Kind { kInit, kMessage, kChooser } kind;
  std::string caption;  // the chooser's title line for kChooser
  std::string text;     // the chooser's initial path for kChooser
  MessageStyle style;
};

struct DialogRecording {
  std::vector<DialogCall> calls;
  std::string chooserAnswer;  // what the chooser returns; empty means cancelled
};

// The recording of the dialogs; tests reset it before each run.
DialogRecording& dialogRecording();
