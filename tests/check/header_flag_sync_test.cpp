// The order of the header flag's file calls, over the recording numbered files: the
// restored byte goes to stable storage before it is read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "check/header_flag.h"
#include "check/recording_numbered_files.h"

namespace {

using Calls = std::vector<std::string>;

TEST(HeaderFlagSyncTest, RestoredByteIsSyncedBeforeItIsReadBack) {
  const struct {
    const char* name;
    std::string bytes;
    Calls restore;
  } cases[] = {
      {"flag set", std::string(286, 'x') + "\x2F",
       {"openForUpdate", "seek 286", "write 0x2F", "sync", "close", "openForRead", "length",
        "seek 286", "read", "close"}},
      {"flag not set, rewritten all the same", std::string(286, 'x') + "\x0F",
       {"openForUpdate", "seek 286", "write 0x0F", "sync", "close", "openForRead", "length",
        "seek 286", "read", "close"}},
      {"no byte at 286: nothing written, nothing synced", std::string(286, 'x'),
       {"openForUpdate", "close"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    numberedFileRecording() = NumberedFileRecording{c.bytes, {}};
    CheckState state;
    probeHeaderFlag(state, "sh3.exe");
    const Calls probe = numberedFileRecording().calls;
    // The probe's write needs no trip to the disk: the restore undoes it.
    EXPECT_EQ(std::count(probe.begin(), probe.end(), "sync"), 0);

    numberedFileRecording().calls.clear();
    EXPECT_EQ(restoreHeaderByte(state, "sh3.exe"), RestoreOutcome::kRestored);
    EXPECT_EQ(numberedFileRecording().calls, c.restore);
    EXPECT_EQ(numberedFileRecording().bytes, c.bytes);
  }
}

}  // namespace
