#include <signal.h>

#include "platform/termination_guard.h"

namespace {

// What a terminal, a shell's job control or `kill` sends to end or stop a program.
constexpr int kHeldSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP};

}  // namespace

// Blocked, not caught: a blocked signal stays pending, and on unblocking it is delivered
// with the disposition the program always had, so it ends or stops the process itself.
TerminationGuard::TerminationGuard() {
  sigset_t block;
  sigset_t before;
  sigemptyset(&block);
  for (int signal : kHeldSignals) sigaddset(&block, signal);
  if (pthread_sigmask(SIG_BLOCK, &block, &before) != 0) return;
  for (int signal : kHeldSignals) {
    if (sigismember(&before, signal) == 0) held_ |= 1u << signal;
  }
}

TerminationGuard::~TerminationGuard() {
  sigset_t release;
  sigemptyset(&release);
  for (int signal : kHeldSignals) {
    if ((held_ & (1u << signal)) != 0) sigaddset(&release, signal);
  }
  pthread_sigmask(SIG_UNBLOCK, &release, nullptr);
}
