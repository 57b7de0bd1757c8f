// The real Linux program under the signals that end or stop a program from a terminal:
// held back while the header byte is cleared on disk, obeyed at once everywhere else.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Every wait ends after this, so a program that never reacts fails its case, not the run.
constexpr auto kPatience = std::chrono::seconds(60);
constexpr auto kPollStep = std::chrono::milliseconds(1);

// Large enough that the digest takes a good part of a second; sparse, so it costs no disk.
constexpr uint64_t kBigSize = uint64_t(512) << 20;
constexpr off_t kHeaderOffset = 286;
constexpr char kFolderPrompt[] = "Ordner / Folder";
constexpr char kFlagLine[] = "4GB-Patch:                  Yes";

struct SignalCase {
  const char* name;
  int signal;
  bool stops;  // a stop signal; the others end the program
};

const SignalCase kSignals[] = {
    {"SIGINT", SIGINT, false},  {"SIGTERM", SIGTERM, false}, {"SIGHUP", SIGHUP, false},
    {"SIGQUIT", SIGQUIT, false}, {"SIGTSTP", SIGTSTP, true},
};

std::string describe(int status) {
  if (WIFEXITED(status)) return "exited with " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return std::string("ended by ") + strsignal(WTERMSIG(status));
  if (WIFSTOPPED(status)) return std::string("stopped by ") + strsignal(WSTOPSIG(status));
  return "status " + std::to_string(status);
}

// Whether `status` is what `signal` does to a program that obeys it.
bool actedOn(int status, const SignalCase& signal) {
  return signal.stops ? WIFSTOPPED(status) && WSTOPSIG(status) == signal.signal
                      : WIFSIGNALED(status) && WTERMSIG(status) == signal.signal;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// The real program, started as a shell starts a job: in a process group of its own, so a
// stop is not discarded as in an orphaned group, with every signal at its default and
// none blocked. Its standard output and error go to one pipe that the test reads. A
// program still there when its owner goes is killed and reaped.
class Program {
 public:
  Program(const fs::path& folder, const char* input) {
    int out[2];
    if (pipe2(out, O_CLOEXEC) != 0) return;
    out_ = out[0];
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input, O_RDWR | O_NOCTTY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (const SignalCase& c : kSignals) sigaddset(&defaults, c.signal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    // SIGQUIT dumps core; none is wanted.
    rlimit core{};
    getrlimit(RLIMIT_CORE, &core);
    core.rlim_cur = 0;
    setrlimit(RLIMIT_CORE, &core);

    char program[] = BRINEMARK_PROGRAM;
    char* argv[] = {program, nullptr};
    if (posix_spawn(&pid_, program, &actions, &attributes, argv, environ) != 0) pid_ = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
  }

  ~Program() {
    if (pid_ > 0 && !ended_) {
      kill(pid_, SIGKILL);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
    if (out_ >= 0) close(out_);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool started() const { return pid_ > 0; }
  void signal(int signal) const { kill(pid_, signal); }

  // Reads the program's output until it holds `text`; false when it does not come.
  bool waitForOutput(const std::string& text) {
    const auto deadline = Clock::now() + kPatience;
    while (output_.find(text) == std::string::npos) {
      if (Clock::now() > deadline) return false;
      pollfd ready{out_, POLLIN, 0};
      if (poll(&ready, 1, 100) <= 0) continue;
      char chunk[4096];
      const ssize_t got = read(out_, chunk, sizeof chunk);
      if (got == 0) return false;  // every writer gone: the text never comes
      if (got > 0) output_.append(chunk, size_t(got));
    }
    return true;
  }

  // Waits until the program ends or stops; false when neither happens in time.
  bool waitForChange(int& status) {
    const auto deadline = Clock::now() + kPatience;
    while (Clock::now() < deadline) {
      if (waitpid(pid_, &status, WNOHANG | WUNTRACED) == pid_) {
        ended_ = WIFEXITED(status) || WIFSIGNALED(status);
        return true;
      }
      std::this_thread::sleep_for(kPollStep);
    }
    return false;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string output_;
  bool ended_ = false;
};

// A pseudo-terminal for standard input: the folder prompt then waits for a line for as
// long as it takes, as at a real terminal, with no time limit for piped input.
class PseudoTerminal {
 public:
  PseudoTerminal() : leader_(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (leader_.get() >= 0 && grantpt(leader_.get()) == 0 && unlockpt(leader_.get()) == 0) {
      const char* name = ptsname(leader_.get());
      if (name != nullptr) followerName_ = name;
    }
  }
  // Empty when no pseudo-terminal could be had.
  const std::string& followerName() const { return followerName_; }

 private:
  Descriptor leader_;
  std::string followerName_;
};

// The sample executable with its flag set, followed by zeros up to kBigSize bytes.
class HeldByteTest : public ::testing::Test {
 protected:
  HeldByteTest() : path_(dir_.file("sh3.exe")), head_(readFile(SAMPLE_SH3)) {
    head_.at(kHeaderOffset) = static_cast<char>(head_[kHeaderOffset] | 0x20);
    flagged_ = head_[kHeaderOffset];
    cleared_ = static_cast<char>(flagged_ & 0x0F);
  }

  // Starts the program on a fresh sample and sends `signal` once the byte is seen cleared
  // on disk. kill() makes the signal pending before it returns, so a byte still cleared
  // after it proves the signal came before the restore; a signal that came later proves
  // nothing, and the run is made again. Null when no run could prove it.
  std::unique_ptr<Program> startAndSignalWhileCleared(int signal) const {
    for (int attempt = 0; attempt < 3; ++attempt) {
      writeFile(path_, head_);
      fs::resize_file(path_, kBigSize);
      const Descriptor watched(open(path_.c_str(), O_RDONLY | O_CLOEXEC));
      auto program = std::make_unique<Program>(dir_.path(), "/dev/null");
      if (watched.get() < 0 || !program->started()) {
        ADD_FAILURE() << "cannot watch the sample or start " << BRINEMARK_PROGRAM;
        return nullptr;
      }
      if (!waitForByte(watched.get(), cleared_)) {
        ADD_FAILURE() << "the byte at offset 286 was never seen cleared";
        return nullptr;
      }
      program->signal(signal);
      if (byteAt(watched.get()) == cleared_) return program;
    }
    ADD_FAILURE() << "no signal came while the byte was cleared";
    return nullptr;
  }

  // The offset of the first byte in which the file differs from the sample, or -1 when it
  // is the sample byte for byte.
  int64_t firstDifference() const {
    std::ifstream in(path_, std::ios::binary);
    std::vector<char> chunk(1 << 20);
    uint64_t offset = 0;
    while (in.read(chunk.data(), std::streamsize(chunk.size())) || in.gcount() > 0) {
      const auto got = size_t(in.gcount());
      for (size_t i = 0; i < got; ++i, ++offset) {
        const char expected = offset < head_.size() ? head_[size_t(offset)] : '\0';
        if (offset >= kBigSize || chunk[i] != expected) return int64_t(offset);
      }
    }
    return offset == kBigSize ? -1 : int64_t(offset);
  }

  TempDir dir_;
  const std::string path_;
  std::string head_;
  char flagged_ = 0;
  char cleared_ = 0;

 private:
  static int byteAt(int fd) {
    char byte = 0;
    return pread(fd, &byte, 1, kHeaderOffset) == 1 ? byte : -1;
  }

  static bool waitForByte(int fd, char value) {
    const auto deadline = Clock::now() + kPatience;
    while (byteAt(fd) != value) {
      if (Clock::now() > deadline) return false;
      std::this_thread::sleep_for(kPollStep);
    }
    return true;
  }
};

TEST_F(HeldByteTest, SignalWhileTheByteIsClearedActsOnlyAfterTheRestore) {
  for (const SignalCase& c : kSignals) {
    SCOPED_TRACE(c.name);
    const std::unique_ptr<Program> program = startAndSignalWhileCleared(c.signal);
    ASSERT_TRUE(program);
    int status = 0;
    ASSERT_TRUE(program->waitForChange(status));
    EXPECT_TRUE(actedOn(status, c)) << describe(status);
    EXPECT_EQ(firstDifference(), -1);
    if (c.stops) {
      // Stopped with the byte back; continued, the run goes on to its report.
      program->signal(SIGCONT);
      EXPECT_TRUE(program->waitForOutput(kFlagLine));
      ASSERT_TRUE(program->waitForChange(status));
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << describe(status);
      EXPECT_EQ(firstDifference(), -1);
    }
  }
}

TEST(ChooserSignalTest, SignalAtTheFolderPromptActsAtOnce) {
  for (const SignalCase& c : kSignals) {
    SCOPED_TRACE(c.name);
    TempDir start;  // no sh3.exe here: the program asks for the folder
    const PseudoTerminal terminal;
    ASSERT_FALSE(terminal.followerName().empty());
    Program program(start.path(), terminal.followerName().c_str());
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(program.waitForOutput(kFolderPrompt));
    program.signal(c.signal);
    int status = 0;
    ASSERT_TRUE(program.waitForChange(status));
    EXPECT_TRUE(actedOn(status, c)) << describe(status);
  }
}

}  // namespace
