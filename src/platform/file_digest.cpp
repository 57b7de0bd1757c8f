#include "platform/file_digest.h"

#include <cstdint>
#include <memory>
#include <new>

#include "platform/hex_text.h"
#include "platform/md5.h"
#include "platform/os_file.h"

namespace {

constexpr int32_t kBlockSize = 1 << 20;
// The block starts on a page: the system's copy into a block that does not start on a
// cache line, as an ordinary allocation of this size does not, runs several times slower.
constexpr std::align_val_t kBlockAlignment{4096};

struct AlignedBlockDelete {
  void operator()(uint8_t* block) const { ::operator delete[](block, kBlockAlignment); }
};

}  // namespace

std::string fileDigestMd5(const char* path) {
  if (path == nullptr) return {};
  OsFile file = OsFile::open(path, OsFile::Access::kReadOnly);
  if (!file) return {};
  const std::unique_ptr<uint8_t[], AlignedBlockDelete> block(
      new (kBlockAlignment, std::nothrow) uint8_t[kBlockSize]);
  if (!block) return {};

  Md5 md5;
  for (;;) {
    const int32_t got = file.read(block.get(), kBlockSize);
    md5.update(block.get(), static_cast<size_t>(got));
    if (got != kBlockSize) break;
  }
  const Md5::Digest digest = md5.finish();

  std::string text;
  for (uint8_t byte : digest) text += hexText(byte, 2, HexLetters::kLower);
  return text;
}
