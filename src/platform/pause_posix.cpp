#include <time.h>

#include <cerrno>

#include "platform/pause.h"

void pauseFor(int32_t milliseconds) {
  timespec left{milliseconds / 1000, (milliseconds % 1000) * 1000000L};
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}
