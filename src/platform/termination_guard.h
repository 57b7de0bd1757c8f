#pragma once

#include <cstdint>

// Holds back, for the owner's lifetime, the requests that would end or stop the program
// from outside (on POSIX: SIGINT, SIGTERM, SIGHUP, SIGQUIT and SIGTSTP). When the owner
// goes, a request that came meanwhile takes effect as it would have at once: the program
// ends, or stops, by it. Requests that no program can hold back (SIGKILL, a power cut)
// are not covered. Owners are not nested.
class TerminationGuard {
 public:
  TerminationGuard();
  ~TerminationGuard();
  TerminationGuard(const TerminationGuard&) = delete;
  TerminationGuard& operator=(const TerminationGuard&) = delete;

 private:
  // The platform's record of what this owner holds back and must let go of; a request
  // already held back by someone else stays held.
  uint32_t held_ = 0;
};
