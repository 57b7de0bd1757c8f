#pragma once

#include <windows.h>

#include <string>

// Has the folder chooser `chooser` of another process `process` select `folder`, the way
// the chooser's own program does: BFFM_SETSELECTIONA with a path text in the chooser's
// process. OK returns the tree's selection, not what the edit field holds, so typing a
// path would not do. Repeats the request until the edit field names the folder, waiting
// up to `timeoutMs`, since the tree may still be filling when the chooser first shows.
bool selectFolder(HANDLE process, HWND chooser, const std::string& folder, DWORD timeoutMs);
