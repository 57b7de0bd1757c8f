#include "failing_buffer_new.h"

#include <new>

bool failNothrowArrayNew = false;

// Replaces the library's nothrow array new for this program; the memory comes from the
// ordinary array new, so the ordinary array delete releases it.
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  if (failNothrowArrayNew) return nullptr;
  return ::operator new[](size);
}
