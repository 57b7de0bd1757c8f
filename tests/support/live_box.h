#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Reading and closing a dialog box while it is up, from outside its modal loop: from a
// second thread of the box's process or from another process. Everything is asked of the
// windows themselves with bounded sends, so a hung box can delay a caller but never stop
// it.

// What a message box shows.
struct MessageBoxReading {
  std::string caption;       // title bar, in the ANSI code page
  std::string text;          // body, in the ANSI code page
  std::wstring textShown;    // body as the control holds it, in UTF-16
  HICON icon = nullptr;      // the icon shown (icon statics are shared handles); none without
  std::vector<int> buttons;  // control IDs of the visible buttons, in window order
  HWND owner = nullptr;      // the window the box belongs to; none for an unowned box
};

// The first visible top-level dialog (class #32770) of process `processId` that appears
// within `timeoutMs`; none when none did.
HWND waitForDialog(DWORD processId, DWORD timeoutMs);

// True when the dialog shows a folder tree, as the folder chooser does and a message box
// does not.
bool isFolderChooser(HWND dialog);

MessageBoxReading readMessageBox(HWND box);

// The texts of the dialog's static controls, in window order.
std::vector<std::string> staticTexts(HWND dialog);

// The text of the folder chooser's edit field: the name of the selected item.
std::string chooserEditText(HWND chooser);

// Waits until the folder chooser's selection has stopped moving: the tree's selected item
// and the edit field stay the same for half a second. The tree may still be filling when
// the chooser first shows, and a confirmation before it settles returns the wrong folder.
// False when it did not settle within `timeoutMs`.
bool waitForSettledSelection(HWND chooser, DWORD timeoutMs);

// Presses the button `id` of `dialog` as a click does and waits up to `timeoutMs` for the
// dialog to close (hidden or gone); true when it closed. False at once when the dialog has
// no such visible, enabled button.
bool pressButton(HWND dialog, int id, DWORD timeoutMs);

// Closes `dialog` with whichever standard answer button it has (OK, Cancel, Yes, No...),
// else with its close box. For clean-up after a reading went wrong; true when it closed.
bool closeDialog(HWND dialog, DWORD timeoutMs);
