#include <windows.h>

#include "platform/pause.h"

void pauseFor(int32_t milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }
