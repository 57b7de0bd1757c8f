#include <windows.h>

#include "app/dll_search_win32.h"
#include "check/check_run.h"

// Arguments are ignored: every start performs one complete check.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  limitDllSearchToSystemFolder();
  runCheck();
  return 0;
}
