#pragma once

#include <cstdint>
#include <string>

// The program's whole user interface: modal dialogs on the calling thread. Texts are
// Windows-1252 bytes.

// Icon style of a message box; each box has a single OK button.
enum MessageStyle : uint32_t {
  kStyleError = 0x10,
  kStyleQuestion = 0x20,
  kStyleInformation = 0x40,
};

// Prepares the platform for the dialogs; called once at start-up, before any dialog.
void initDialogSupport();

// Shows `text` under `caption` and blocks until the box is closed; returns the code of
// the button that closed it (1, OK).
int32_t showMessage(const char* caption, const char* text, MessageStyle style);

// Asks for a folder under the line `title`, starting at `initialPath` (empty or null for
// none). Returns the confirmed folder ending in a path separator, or an empty text when
// the user cancelled or confirmed something that is not a file-system folder.
std::string chooseFolder(const char* title, const char* initialPath);
