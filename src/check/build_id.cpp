#include "check/build_id.h"

#include <cstdint>

#include "platform/file_digest.h"
#include "platform/numbered_files.h"

namespace {

constexpr int32_t kFile = 0;

// The patch writes "v 1." at a fixed place of an executable of one exact length.
constexpr int64_t kPatchedLength = 1384448;
constexpr int64_t kMarkOffset = 1371136;
constexpr uint32_t kMark = 0x2E312076;

constexpr char kPatchPerformed[] = "QUIRN Patch was performed / wurde ausgeführt";
constexpr char kPatchNotPossible[] = "----   QUIRN not possible / nicht möglich !!";

struct KnownBuild {
  const char* digest;
  const char* status;
};

// Compared in this order; the first match names the build.
constexpr KnownBuild kKnownBuilds[] = {
    {"338fa5c2af43b81a8529eb6aac325813", "EMEA  QUIRN Patch possible / möglich"},
    {"510b271d14621361386197be6bd8cc0c", "STD   QUIRN Patch possible / möglich"},
    {"324bb33ee0494927af58d8ada2476f3f", "STEAM QUIRN Patch possible / möglich"},
    {"4337110ed8e18e7a4b1831b005718514", "SF    QUIRN Patch possible / möglich"},
    {"b7ad5f9d609fc60bf9410ec5ee7692df", "NOSF  QUIRN Patch possible / möglich"},
};

// The first four bytes at the mark offset, little-endian, of a file of the patched
// length; 0 for any other file. The update open on the number closes the read-only one.
uint32_t readPatchMarker(const std::string& exePath) {
  if (!openForRead(kFile, exePath.c_str())) return 0;
  if (!openForUpdate(kFile, exePath.c_str())) return 0;
  uint32_t marker = 0;
  if (fileLength(kFile) == kPatchedLength) {
    seekTo(kFile, kMarkOffset);
    marker = static_cast<uint32_t>(readQuad(kFile));
  }
  closeFile(kFile);
  return marker;
}

}  // namespace

std::string buildStatusForDigest(const std::string& digest) {
  for (const KnownBuild& build : kKnownBuilds) {
    if (digest == build.digest) return build.status;
  }
  return kPatchNotPossible;
}

std::string identifyBuild(CheckState& state, const std::string& exePath) {
  state.patchMarker = readPatchMarker(exePath);
  if (state.patchMarker == kMark) return kPatchPerformed;
  return buildStatusForDigest(fileDigestMd5(exePath.c_str()));
}
