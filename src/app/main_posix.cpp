#include "check/check_run.h"

// Arguments are ignored: every start performs one complete check.
int main() {
  runCheck();
  return 0;
}
