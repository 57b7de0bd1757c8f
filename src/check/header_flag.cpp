#include "check/header_flag.h"

#include <cstdint>

#include "platform/numbered_files.h"
#include "platform/pause.h"

namespace {

constexpr int32_t kFile = 0;
constexpr int64_t kHeaderOffset = 286;
constexpr int32_t kLargeAddressFlag = 0x20;
// Clears bits 4 to 7, not only the flag: 0x3F is held as 0x0F too.
constexpr int32_t kClearedMask = 0x0F;

// Virus scanners and indexers often hold a file for a moment just after it was written.
constexpr int kRestoreTries = 10;
constexpr int32_t kPauseStepMs = 40;  // pauses grow by this much: 1.8 s over all tries

constexpr int kUnreadable = -1;

// The plain restore: false when the file cannot be opened for update.
bool writeSavedByte(const CheckState& state, const std::string& exePath) {
  if (!openForUpdate(kFile, exePath.c_str())) return false;
  if (state.headerByteRead == 1) {
    seekTo(kFile, kHeaderOffset);
    writeByte(kFile, state.headerByte);
    // On stable storage before it is read back and reported: a power cut after the
    // report cannot bring back the cleared byte.
    syncFile(kFile);
  }
  closeFile(kFile);
  return true;
}

// The byte at offset 286 as it now stands on disk, 0..255, or kUnreadable.
int byteOnDisk(const std::string& exePath) {
  if (!openForRead(kFile, exePath.c_str())) return kUnreadable;
  int value = kUnreadable;
  if (fileLength(kFile) > kHeaderOffset) {
    seekTo(kFile, kHeaderOffset);
    value = readByte(kFile) & 0xFF;
  }
  closeFile(kFile);
  return value;
}

// Whether the disk may hold something other than the saved byte. A byte that cannot be
// read back is taken as changed when the probe cleared it.
bool byteAtStake(const CheckState& state, const std::string& exePath) {
  if (state.headerByteRead != 1) return false;
  const int onDisk = byteOnDisk(exePath);
  if (onDisk == kUnreadable) return state.hasLargeAddressFlag == 1;
  return onDisk != (state.headerByte & 0xFF);
}

}  // namespace

void probeHeaderFlag(CheckState& state, const std::string& exePath) {
  // Opened read-only first to see that the file is there; the update open on the same
  // number then closes that handle.
  if (!openForRead(kFile, exePath.c_str())) return;
  if (!openForUpdate(kFile, exePath.c_str())) return;
  if (fileLength(kFile) > kHeaderOffset) {
    seekTo(kFile, kHeaderOffset);
    state.headerByte = static_cast<int8_t>(readByte(kFile));
    state.headerByteRead = 1;
    if ((state.headerByte & kLargeAddressFlag) == kLargeAddressFlag) {
      state.hasLargeAddressFlag = 1;
      seekTo(kFile, kHeaderOffset);
      writeByte(kFile, state.headerByte & kClearedMask);
    }
  }
  closeFile(kFile);
}

RestoreOutcome restoreHeaderByte(const CheckState& state, const std::string& exePath) {
  for (int attempt = 0; attempt < kRestoreTries; ++attempt) {
    if (attempt > 0) pauseFor(kPauseStepMs * attempt);
    const bool opened = writeSavedByte(state, exePath);
    // Platform writes report nothing, so only the byte read back tells that it stuck.
    if (!byteAtStake(state, exePath)) {
      return opened ? RestoreOutcome::kRestored : RestoreOutcome::kNotOpened;
    }
  }
  return RestoreOutcome::kLost;
}
