#include "platform/md5.h"

#include <cstring>

// MD5 is one chain of 64 dependent steps per block, so its speed is the latency of a step.
// Each step adds the message word, the constant and the register that is not on the chain
// before the round function of the new value is ready; the empty asm statements keep the
// compiler from folding those additions back into the chain. G is written as
// (d & b) + (~d & c), the term with b last, which is one operation shorter on the chain
// than c ^ (d & (b ^ c)). Rotation counts are template arguments, so they are constants.

namespace {

inline uint32_t load32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

template <int s>
inline uint32_t rotl(uint32_t v) {
  return (v << s) | (v >> (32 - s));
}

// Keeps a value computed where it stands.
inline void settle(uint32_t& value) {
#if defined(__GNUC__)
  __asm__("" : "+r"(value));
#else
  (void)value;
#endif
}

template <int s>
inline void stepF(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t xk) {
  uint32_t t = a + xk;
  settle(t);
  a = b + rotl<s>(t + (d ^ (b & (c ^ d))));
}

template <int s>
inline void stepG(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t xk) {
  uint32_t t = a + xk + (~d & c);
  settle(t);
  a = b + rotl<s>(t + (d & b));
}

template <int s>
inline void stepH(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t xk) {
  uint32_t t = a + xk;
  settle(t);
  a = b + rotl<s>(t + (b ^ c ^ d));
}

template <int s>
inline void stepI(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t xk) {
  uint32_t t = a + xk;
  settle(t);
  a = b + rotl<s>(t + (c ^ (b | ~d)));
}

void transform(uint32_t state[4], const uint8_t* block) {
  uint32_t x[16];
  for (int i = 0; i < 16; ++i) x[i] = load32(block + 4 * i);
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];

  stepF<7>(a, b, c, d, x[0] + 0xd76aa478);
  stepF<12>(d, a, b, c, x[1] + 0xe8c7b756);
  stepF<17>(c, d, a, b, x[2] + 0x242070db);
  stepF<22>(b, c, d, a, x[3] + 0xc1bdceee);
  stepF<7>(a, b, c, d, x[4] + 0xf57c0faf);
  stepF<12>(d, a, b, c, x[5] + 0x4787c62a);
  stepF<17>(c, d, a, b, x[6] + 0xa8304613);
  stepF<22>(b, c, d, a, x[7] + 0xfd469501);
  stepF<7>(a, b, c, d, x[8] + 0x698098d8);
  stepF<12>(d, a, b, c, x[9] + 0x8b44f7af);
  stepF<17>(c, d, a, b, x[10] + 0xffff5bb1);
  stepF<22>(b, c, d, a, x[11] + 0x895cd7be);
  stepF<7>(a, b, c, d, x[12] + 0x6b901122);
  stepF<12>(d, a, b, c, x[13] + 0xfd987193);
  stepF<17>(c, d, a, b, x[14] + 0xa679438e);
  stepF<22>(b, c, d, a, x[15] + 0x49b40821);

  stepG<5>(a, b, c, d, x[1] + 0xf61e2562);
  stepG<9>(d, a, b, c, x[6] + 0xc040b340);
  stepG<14>(c, d, a, b, x[11] + 0x265e5a51);
  stepG<20>(b, c, d, a, x[0] + 0xe9b6c7aa);
  stepG<5>(a, b, c, d, x[5] + 0xd62f105d);
  stepG<9>(d, a, b, c, x[10] + 0x02441453);
  stepG<14>(c, d, a, b, x[15] + 0xd8a1e681);
  stepG<20>(b, c, d, a, x[4] + 0xe7d3fbc8);
  stepG<5>(a, b, c, d, x[9] + 0x21e1cde6);
  stepG<9>(d, a, b, c, x[14] + 0xc33707d6);
  stepG<14>(c, d, a, b, x[3] + 0xf4d50d87);
  stepG<20>(b, c, d, a, x[8] + 0x455a14ed);
  stepG<5>(a, b, c, d, x[13] + 0xa9e3e905);
  stepG<9>(d, a, b, c, x[2] + 0xfcefa3f8);
  stepG<14>(c, d, a, b, x[7] + 0x676f02d9);
  stepG<20>(b, c, d, a, x[12] + 0x8d2a4c8a);

  stepH<4>(a, b, c, d, x[5] + 0xfffa3942);
  stepH<11>(d, a, b, c, x[8] + 0x8771f681);
  stepH<16>(c, d, a, b, x[11] + 0x6d9d6122);
  stepH<23>(b, c, d, a, x[14] + 0xfde5380c);
  stepH<4>(a, b, c, d, x[1] + 0xa4beea44);
  stepH<11>(d, a, b, c, x[4] + 0x4bdecfa9);
  stepH<16>(c, d, a, b, x[7] + 0xf6bb4b60);
  stepH<23>(b, c, d, a, x[10] + 0xbebfbc70);
  stepH<4>(a, b, c, d, x[13] + 0x289b7ec6);
  stepH<11>(d, a, b, c, x[0] + 0xeaa127fa);
  stepH<16>(c, d, a, b, x[3] + 0xd4ef3085);
  stepH<23>(b, c, d, a, x[6] + 0x04881d05);
  stepH<4>(a, b, c, d, x[9] + 0xd9d4d039);
  stepH<11>(d, a, b, c, x[12] + 0xe6db99e5);
  stepH<16>(c, d, a, b, x[15] + 0x1fa27cf8);
  stepH<23>(b, c, d, a, x[2] + 0xc4ac5665);

  stepI<6>(a, b, c, d, x[0] + 0xf4292244);
  stepI<10>(d, a, b, c, x[7] + 0x432aff97);
  stepI<15>(c, d, a, b, x[14] + 0xab9423a7);
  stepI<21>(b, c, d, a, x[5] + 0xfc93a039);
  stepI<6>(a, b, c, d, x[12] + 0x655b59c3);
  stepI<10>(d, a, b, c, x[3] + 0x8f0ccc92);
  stepI<15>(c, d, a, b, x[10] + 0xffeff47d);
  stepI<21>(b, c, d, a, x[1] + 0x85845dd1);
  stepI<6>(a, b, c, d, x[8] + 0x6fa87e4f);
  stepI<10>(d, a, b, c, x[15] + 0xfe2ce6e0);
  stepI<15>(c, d, a, b, x[6] + 0xa3014314);
  stepI<21>(b, c, d, a, x[13] + 0x4e0811a1);
  stepI<6>(a, b, c, d, x[4] + 0xf7537e82);
  stepI<10>(d, a, b, c, x[11] + 0xbd3af235);
  stepI<15>(c, d, a, b, x[2] + 0x2ad7d2bb);
  stepI<21>(b, c, d, a, x[9] + 0xeb86d391);

  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

void Md5::reset() {
  state_[0] = 0x67452301;
  state_[1] = 0xefcdab89;
  state_[2] = 0x98badcfe;
  state_[3] = 0x10325476;
  length_ = 0;
  pendingSize_ = 0;
}

void Md5::update(const void* data, size_t size) {
  auto* bytes = static_cast<const uint8_t*>(data);
  length_ += size;
  if (pendingSize_ > 0) {
    const size_t taken = size < 64 - pendingSize_ ? size : 64 - pendingSize_;
    std::memcpy(pending_ + pendingSize_, bytes, taken);
    pendingSize_ += taken;
    bytes += taken;
    size -= taken;
    if (pendingSize_ < 64) return;
    transform(state_, pending_);
    pendingSize_ = 0;
  }
  for (; size >= 64; bytes += 64, size -= 64) transform(state_, bytes);
  std::memcpy(pending_, bytes, size);
  pendingSize_ = size;
}

Md5::Digest Md5::finish() {
  const uint64_t bits = length_ * 8;
  uint8_t padding[64] = {0x80};
  // Pad to 56 bytes past a block boundary, then the length in bits, least significant first.
  const size_t padSize = pendingSize_ < 56 ? 56 - pendingSize_ : 120 - pendingSize_;
  update(padding, padSize);
  uint8_t lengthBytes[8];
  for (int i = 0; i < 8; ++i) lengthBytes[i] = static_cast<uint8_t>(bits >> (8 * i));
  update(lengthBytes, 8);

  Digest digest;
  for (int i = 0; i < 16; ++i) digest[size_t(i)] = static_cast<uint8_t>(state_[i / 4] >> (8 * (i % 4)));
  reset();
  return digest;
}
