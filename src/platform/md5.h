#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The MD5 message digest of RFC 1321, fed in pieces of any size.
class Md5 {
 public:
  using Digest = std::array<uint8_t, 16>;

  Md5() { reset(); }
  // Starts a new message.
  void reset();
  // Adds `size` bytes to the message.
  void update(const void* data, size_t size);
  // Pads the message, gives its digest and starts a new message.
  Digest finish();

 private:
  uint32_t state_[4];
  uint64_t length_;         // bytes so far; the padding holds it as a count of bits
  uint8_t pending_[64];     // the start of a block not yet complete
  size_t pendingSize_;
};
