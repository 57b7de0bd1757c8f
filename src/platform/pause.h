#pragma once

#include <cstdint>

// Blocks the calling thread for about `milliseconds`.
void pauseFor(int32_t milliseconds);
