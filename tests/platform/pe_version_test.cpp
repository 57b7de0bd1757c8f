#include "platform/pe_version.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/language_names.h"
#include "support/pe_builder.h"

namespace {

const uint8_t* bytesOf(const std::string& text) { return reinterpret_cast<const uint8_t*>(text.data()); }

std::string resourceOf(const std::string& image) {
  const ByteRange range = findVersionResource(bytesOf(image), image.size());
  EXPECT_LE(range.offset + range.size, image.size());
  return image.substr(static_cast<size_t>(range.offset), static_cast<size_t>(range.size));
}

void put32(std::string& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + size_t(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

const std::string kBlock = versionBlockBytes(
    {{{0x0409, 0x04B0}}, {{"040904B0", {{"ProductName", u"SH3"}, {"Comments", u""}}}}});

TEST(PeVersionTest, FindsTheBlockInPe32AndPe32Plus) {
  EXPECT_EQ(resourceOf(peImageBytes(kBlock, PeKind::kPe32)), kBlock);
  EXPECT_EQ(resourceOf(peImageBytes(kBlock, PeKind::kPe32Plus)), kBlock);
  EXPECT_EQ(resourceOf(peImageBytes("")), "");
}

TEST(PeVersionTest, PicksTheLanguageAnEnglishWindowsPicks) {
  const std::string arabic = "arabic", english = "english", neutral = "neutral", german = "german";
  const struct {
    std::vector<LanguageResource> resources;
    std::string picked;
  } cases[] = {
      {{{0x0401, arabic}, {0x0409, english}}, english},
      {{{0x0407, german}, {0x0409, english}, {0x0000, neutral}}, neutral},
      {{{0x0407, german}, {0x0401, arabic}}, german},
  };
  for (const auto& c : cases) EXPECT_EQ(resourceOf(peImageBytes(c.resources, PeKind::kPe32)), c.picked);
}

TEST(PeVersionTest, MalformedImagesFindNothingAndReadNothingOutside) {
  const std::string good = peImageBytes(kBlock);
  const size_t optional = 0x40 + 4 + 20;
  const size_t section = optional + 224;
  const struct {
    const char* fault;
    size_t at;
    uint32_t value;
    bool stillFound;
  } cases[] = {
      {"PE header beyond the file", 0x3C, 0xFFFFFFF0, false},
      {"no PE signature", 0x40, 0x00004551, false},
      {"unknown optional header", optional, 0x0000010C, false},
      {"too few data directories", optional + 92, 2, false},
      {"resources at an address no section holds", optional + 96 + 16, 0x9000, false},
      {"section data beyond the file", section + 20, 0x7FFFFFF0, false},
      {"section data size wraps the address", section + 16, 0xFFFFFFFF, true},
      {"version type missing", 0x200 + 0x10, 3, false},
      {"type entry not a directory", 0x200 + 0x14, 0x18, false},
      {"language entry a directory", 0x200 + 0x44, 0x80000048, false},
      {"data beyond the file", 0x200 + 0x4C, 0x10000, false},
      {"data at an address no section holds", 0x200 + 0x48, 0xFFFFFF00, false},
      // An absurd entry count does no harm: the search stops at the first match or where
      // the bytes end.
      {"65535 type entries", 0x200 + 0x0C, 0xFFFF0000, true},
  };
  for (const auto& c : cases) {
    std::string image = good;
    put32(image, c.at, c.value);
    const ByteRange range = findVersionResource(bytesOf(image), image.size());
    EXPECT_LE(range.offset + range.size, image.size()) << c.fault;
    EXPECT_EQ(range.size != 0, c.stillFound) << c.fault;
  }
  for (size_t length = 0; length < good.size(); length += 7) {
    const ByteRange range = findVersionResource(bytesOf(good), length);
    EXPECT_LE(range.offset + range.size, length) << "cut at " << length;
  }
  EXPECT_EQ(findVersionResource(nullptr, 100).size, 0u);
}

VersionValue query(const std::string& block, const char* path) {
  return queryVersionValue(bytesOf(block), block.size(), path);
}

TEST(PeVersionTest, QueriesFollowKeysWithoutRegardToCaseAndSkipEmptyParts) {
  const struct {
    const char* path;
    bool found;
    std::string value;
  } cases[] = {
      {"\\StringFileInfo\\040904B0\\ProductName", true, std::string("SH3\0", 4)},
      {"\\\\StringFileInfo\\\\040904b0\\\\productname", true, std::string("SH3\0", 4)},
      {"StringFileInfo\\040904B0\\ProductName\\", true, std::string("SH3\0", 4)},
      {"\\StringFileInfo\\040904B0\\Comments", true, std::string("\0", 1)},
      {"\\StringFileInfo\\\\ProductName", false, ""},
      {"\\StringFileInfo\\040904B0\\Product", false, ""},
      {"\\StringFileInfo\\040904B0\\ProductNameX", false, ""},
      {"\\VarFileInfo\\Translation", true, std::string("\x09\x04\xB0\x04", 4)},
  };
  for (const auto& c : cases) {
    const VersionValue value = query(kBlock, c.path);
    EXPECT_EQ(value.found, c.found) << c.path;
    EXPECT_EQ(value.bytes, c.value) << c.path;
  }
  const VersionValue root = query(kBlock, "\\");
  EXPECT_TRUE(root.found);
  EXPECT_FALSE(root.isText);
  EXPECT_EQ(root.length, 52u);
  EXPECT_EQ(query(kBlock, "\\StringFileInfo\\040904B0\\ProductName").length, 4u);
}

TEST(PeVersionTest, MalformedBlocksFindNothingOrLess) {
  // The root's length is the first 16-bit value; the ProductName node sits deeper.
  const size_t product = kBlock.find(std::string("P\0r\0o\0d", 7)) - 6;
  const struct {
    const char* fault;
    size_t at;
    std::string bytes;
    bool found;
  } cases[] = {
      {"root of length 0", 0, std::string("\0\0", 2), false},
      {"root longer than the block", 0, "\xFF\x7F", false},
      {"node shorter than its header", product, std::string("\x04\0", 2), false},
      {"node beyond its parent", product, "\xF0\x0F", false},
      {"value longer than its node", product + 2, "\xFF\x00", true},
  };
  for (const auto& c : cases) {
    std::string block = kBlock;
    block.replace(c.at, c.bytes.size(), c.bytes);
    const VersionValue value = query(block, "\\StringFileInfo\\040904B0\\ProductName");
    EXPECT_EQ(value.found, c.found) << c.fault;
    EXPECT_LE(value.bytes.size(), block.size()) << c.fault;
  }
  for (size_t length = 0; length <= kBlock.size(); ++length) {
    query(kBlock.substr(0, length), "\\StringFileInfo\\040904B0\\Comments");
  }
  EXPECT_FALSE(queryVersionValue(nullptr, 10, "\\").found);
}

// The rule itself is checked against Windows' own library under Wine; here only that a
// huge resource never wraps to a size the report would accept.
TEST(PeVersionTest, InfoSizeOfNoneIsZeroAndOfHugeResourcesNeverWraps) {
  const struct {
    uint64_t resourceSize;
    uint32_t reported;
  } cases[] = {
      {0, 0},
      {0x7FFFFFFD, 0xFFFFFFFE},
      {0x7FFFFFFE, UINT32_MAX},
      {0x80000000, UINT32_MAX},
      {0xFFFFFFFF, UINT32_MAX},
      {uint64_t(1) << 40, UINT32_MAX},
  };
  for (const auto& c : cases) EXPECT_EQ(versionInfoSize(c.resourceSize), c.reported) << c.resourceSize;
}

TEST(LanguageNamesTest, EnglishNamesAndNeutralForTheUnknown) {
  const struct {
    uint16_t id;
    const char* name;
  } cases[] = {
      {0x0000, "Language Neutral"},
      {0x0407, "German (Germany)"},
      {0x0409, "English (United States)"},
      {0x0804, "Chinese (Simplified, China)"},
      {0x0414, "Norwegian Bokm\xE5l (Norway)"},
      {0x0001, "Arabic (Saudi Arabia)"},
      {0x0FFF, "Language Neutral"},
      {0xFFFF, "Language Neutral"},
  };
  for (const auto& c : cases) EXPECT_STREQ(languageNameOf(c.id), c.name) << std::hex << c.id;
}

}  // namespace
