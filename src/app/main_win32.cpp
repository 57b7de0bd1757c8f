#include <windows.h>

#include "check/check_run.h"

// Arguments are ignored: every start performs one complete check.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  runCheck();
  return 0;
}
