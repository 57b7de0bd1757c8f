#include "platform/termination_guard.h"

// The GUI program has no console, so no console control event (Ctrl+C, a closed console)
// reaches it, and Windows sends a program no signals; what else ends it (End task,
// TerminateProcess) no program can hold back. There is nothing to hold.
TerminationGuard::TerminationGuard() = default;
TerminationGuard::~TerminationGuard() = default;
