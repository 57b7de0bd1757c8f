#pragma once

#include <cstdint>
#include <string>

// The project's own reader of version resources, for platforms without a version library.
// It reads hostile input: every offset and length is checked against the image or the
// block before use, in 64-bit arithmetic, and anything malformed simply finds nothing.

// Where the version resource of a PE image (PE32 or PE32+) lies: the first name under
// resource type 16, in the language an English Windows picks. Empty (size 0) when there is
// none.
struct ByteRange {
  uint64_t offset = 0;
  uint64_t size = 0;
};
ByteRange findVersionResource(const uint8_t* image, uint64_t imageSize);

// What GetFileVersionInfoSizeA reports for a version resource of `resourceSize` bytes:
// twice that and 4 more, the room Windows takes to keep ANSI copies of the texts beside the
// block. Measured under Wine: the same for 16-bit blocks and whatever the block's own length
// field says. 0 for none; a size past the 32-bit range gives UINT32_MAX, never a wrap.
uint32_t versionInfoSize(uint64_t resourceSize);

// A value of a version block, found as VerQueryValue finds it: `query` is a path of keys
// separated by backslashes, such as "\VarFileInfo\Translation" or
// "\StringFileInfo\040704B0\FileVersion"; keys compare without regard to case, and
// empty components are skipped. A text value
// comes converted to Windows-1252 with its length in characters; any other value as its
// bytes with its length in bytes.
struct VersionValue {
  bool found = false;
  bool isText = false;
  std::string bytes;  // the value; a text without its terminating zero
  uint32_t length = 0;
};
VersionValue queryVersionValue(const uint8_t* block, uint64_t blockSize, const char* query);
