#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Reading and answering the dialogs of another process, as a user at the screen would:
// by what the windows show and by their buttons.

// The first visible top-level dialog (class #32770) of process `processId` that `accept`
// takes, waiting up to `timeoutMs` for one to appear; none when none did.
HWND waitForDialog(DWORD processId, const std::function<bool(HWND)>& accept, DWORD timeoutMs);

// The caption of a top-level window.
std::string windowText(HWND window);

// The text of a control, asked of the control itself (WM_GETTEXT): a control of another
// process keeps its text where the caller cannot read it directly.
std::string controlText(HWND control);

// The body of a message box. A static shows a line break for "\r\n" and for "\n" alike,
// so the pairs are given back as "\n": the text as the user reads it.
std::string messageBoxText(HWND box);

// The texts of the dialog's static controls, in window order.
std::vector<std::string> staticTexts(HWND dialog);

// The control IDs of the dialog's visible buttons, in window order.
std::vector<int> visibleButtons(HWND dialog);

// Presses the button `id` of `dialog` as a click does and waits up to `timeoutMs` for the
// dialog to go; true when it went.
bool pressButton(HWND dialog, int id, DWORD timeoutMs);

// Has the folder chooser `chooser` of `process` select `folder`, the way the chooser's own
// program does: BFFM_SETSELECTIONA with a path text in the chooser's process. OK returns the
// tree's selection, not what the edit field holds, so typing a path would not do. Repeats
// the request until the edit field names the folder, waiting up to `timeoutMs`, since the
// tree may still be filling when the chooser first shows.
bool selectFolder(HANDLE process, HWND chooser, const std::string& folder, DWORD timeoutMs);
