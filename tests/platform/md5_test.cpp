#include "platform/md5.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string hex(const Md5::Digest& digest) {
  static const char kHex[] = "0123456789abcdef";
  std::string text;
  for (uint8_t byte : digest) {
    text += kHex[byte >> 4];
    text += kHex[byte & 0xF];
  }
  return text;
}

std::string digestOf(const std::string& message) {
  Md5 md5;
  md5.update(message.data(), message.size());
  return hex(md5.finish());
}

struct KnownAnswer {
  std::string message;
  const char* digest;
};

TEST(Md5Test, Rfc1321TestSuite) {
  // From RFC 1321, appendix A.5.
  const KnownAnswer cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const KnownAnswer& c : cases) EXPECT_EQ(digestOf(c.message), c.digest) << c.message;
}

TEST(Md5Test, PaddingAroundTheBlockBoundaries) {
  // Messages of n letters "a"; digests taken once with Python's hashlib.md5.
  const KnownAnswer cases[] = {
      {std::string(55, 'a'), "ef1772b6dff9a122358552954ad0df65"},
      {std::string(56, 'a'), "3b0c8ac703f828b04c6c197006d17218"},
      {std::string(57, 'a'), "652b906d60af96844ebd21b674f35e93"},
      {std::string(63, 'a'), "b06521f39153d618550606be297466d5"},
      {std::string(64, 'a'), "014842d480b571495a4a0363793f7367"},
      {std::string(65, 'a'), "c743a45e0d2e6a95cb859adae0248435"},
      {std::string(119, 'a'), "8a7bd0732ed6a28ce75f6dabc90e1613"},
      {std::string(120, 'a'), "5f61c0ccad4cac44c75ff505e1f1e537"},
      {std::string(128, 'a'), "e510683b3f5ffe4093d021808bc6ff70"},
  };
  for (const KnownAnswer& c : cases) {
    EXPECT_EQ(digestOf(c.message), c.digest) << c.message.size() << " bytes";
  }
}

TEST(Md5Test, PiecesOfAnySizeGiveTheDigestOfTheWhole) {
  std::string message(3000, '\0');
  for (size_t i = 0; i < message.size(); ++i) message[i] = static_cast<char>((i * 131 + 7) & 0xFF);
  const std::string whole = digestOf(message);
  for (size_t piece : {1u, 55u, 56u, 63u, 64u, 65u, 1000u}) {
    Md5 md5;
    for (size_t at = 0; at < message.size(); at += piece) {
      md5.update(message.data() + at, std::min(piece, message.size() - at));
    }
    EXPECT_EQ(hex(md5.finish()), whole) << "pieces of " << piece;
  }
  // Pieces of changing sizes, including empty ones.
  Md5 md5;
  size_t at = 0;
  for (size_t i = 0; at < message.size(); ++i) {
    const size_t piece = std::min<size_t>((i * 37) % 130, message.size() - at);
    md5.update(message.data() + at, piece);
    at += piece;
  }
  EXPECT_EQ(hex(md5.finish()), whole);
}

TEST(Md5Test, FinishStartsANewMessage) {
  Md5 md5;
  md5.update("abc", 3);
  md5.finish();
  EXPECT_EQ(hex(md5.finish()), "d41d8cd98f00b204e9800998ecf8427e");
}

}  // namespace
