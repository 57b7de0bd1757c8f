#include "platform/pe_version.h"

#include <cstring>

#include "platform/codepage.h"

namespace {

// Every read of the image or the block goes through here: offset and length are checked
// against the end in 64-bit arithmetic, so nothing can wrap or read past the bytes.
class Bytes {
 public:
  Bytes(const uint8_t* data, uint64_t size) : data_(data), size_(data == nullptr ? 0 : size) {}

  uint64_t size() const { return size_; }
  bool has(uint64_t offset, uint64_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }
  bool u16(uint64_t offset, uint16_t& value) const {
    if (!has(offset, 2)) return false;
    value = static_cast<uint16_t>(data_[offset] | data_[offset + 1] << 8);
    return true;
  }
  bool u32(uint64_t offset, uint32_t& value) const {
    uint16_t low = 0, high = 0;
    if (!u16(offset, low) || !u16(offset + 2, high)) return false;
    value = uint32_t(low) | uint32_t(high) << 16;
    return true;
  }
  const uint8_t* at(uint64_t offset) const { return data_ + offset; }

 private:
  const uint8_t* data_;
  uint64_t size_;
};

// ---- The PE image: headers, sections and the resource tree ----

constexpr uint16_t kPe32 = 0x10B;
constexpr uint16_t kPe32Plus = 0x20B;
constexpr uint32_t kResourceDirectory = 2;
constexpr uint32_t kVersionType = 16;
constexpr uint32_t kMaxSections = 96;
constexpr uint32_t kSubdirectory = 0x80000000;

struct Sections {
  uint64_t tableOffset = 0;
  uint32_t count = 0;
};

// The file offset of a relative virtual address, when the bytes there are in the file.
bool fileOffsetOf(const Bytes& image, const Sections& sections, uint32_t rva, uint64_t& offset) {
  for (uint32_t i = 0; i < sections.count; ++i) {
    const uint64_t header = sections.tableOffset + uint64_t(i) * 40;
    uint32_t virtualAddress = 0, rawSize = 0, rawOffset = 0;
    if (!image.u32(header + 12, virtualAddress) || !image.u32(header + 16, rawSize) ||
        !image.u32(header + 20, rawOffset)) {
      return false;
    }
    if (rva >= virtualAddress && rva - virtualAddress < rawSize) {
      offset = uint64_t(rawOffset) + (rva - virtualAddress);
      return image.has(offset, 0);
    }
  }
  return false;
}

// The RVA and size of the resource directory, and the section table.
bool readHeaders(const Bytes& image, uint32_t& resourceRva, Sections& sections) {
  uint16_t magic = 0;
  uint32_t peOffset = 0, signature = 0;
  if (!image.u16(0, magic) || magic != 0x5A4D || !image.u32(0x3C, peOffset) ||
      !image.u32(peOffset, signature) || signature != 0x00004550) {
    return false;
  }
  const uint64_t fileHeader = uint64_t(peOffset) + 4;
  const uint64_t optional = fileHeader + 20;
  uint16_t sectionCount = 0, optionalSize = 0, optionalMagic = 0;
  if (!image.u16(fileHeader + 2, sectionCount) || !image.u16(fileHeader + 16, optionalSize) ||
      !image.u16(optional, optionalMagic)) {
    return false;
  }
  uint64_t countField = 0;
  if (optionalMagic == kPe32) {
    countField = 92;
  } else if (optionalMagic == kPe32Plus) {
    countField = 108;
  } else {
    return false;
  }
  uint32_t directoryCount = 0;
  const uint64_t entry = countField + 4 + uint64_t(kResourceDirectory) * 8;
  if (!image.u32(optional + countField, directoryCount) || directoryCount <= kResourceDirectory ||
      entry + 8 > optionalSize || !image.u32(optional + entry, resourceRva)) {
    return false;
  }
  sections.tableOffset = optional + optionalSize;
  sections.count = sectionCount < kMaxSections ? sectionCount : kMaxSections;
  return resourceRva != 0;
}

// One entry of the resource directory at `directoryRva`: the first whose id is `id`, or
// the first of all when `id` is kAnyEntry. Gives its data field.
constexpr uint32_t kAnyEntry = 0xFFFFFFFF;
constexpr uint32_t kNeutralLanguage = 0x0000;
constexpr uint32_t kEnglishUnitedStates = 0x0409;

bool findEntry(const Bytes& image, const Sections& sections, uint32_t directoryRva, uint32_t id,
               uint32_t& data) {
  uint64_t directory = 0;
  uint16_t named = 0, ids = 0;
  if (!fileOffsetOf(image, sections, directoryRva, directory) || !image.u16(directory + 12, named) ||
      !image.u16(directory + 14, ids)) {
    return false;
  }
  const uint32_t entries = uint32_t(named) + ids;
  for (uint32_t i = 0; i < entries; ++i) {
    uint32_t name = 0;
    const uint64_t entry = directory + 16 + uint64_t(i) * 8;
    if (!image.u32(entry, name) || !image.u32(entry + 4, data)) return false;
    if (id == kAnyEntry || name == id) return true;
  }
  return false;
}

// ---- The version block: a tree of nodes ----

constexpr uint16_t kTextValue = 1;
constexpr size_t kMaxQueryComponents = 8;

uint64_t align4(uint64_t offset) { return (offset + 3) & ~uint64_t(3); }

// One node: length, value length, type, zero-terminated UTF-16 key, value and children,
// each part starting on a 32-bit boundary of the block.
struct Node {
  uint64_t keyOffset = 0;
  uint64_t keyUnits = 0;
  uint64_t valueOffset = 0;
  uint64_t valueBytes = 0;
  uint64_t childrenOffset = 0;
  uint64_t end = 0;
  bool isText = false;
  uint16_t valueLength = 0;
};

bool readNode(const Bytes& block, uint64_t start, uint64_t limit, Node& node) {
  uint16_t length = 0, valueLength = 0, type = 0;
  if (!block.u16(start, length) || !block.u16(start + 2, valueLength) || !block.u16(start + 4, type) ||
      length < 6 || start + length > limit) {
    return false;
  }
  node.end = start + length;
  node.keyOffset = start + 6;
  node.keyUnits = 0;
  for (uint16_t unit = 1;; ++node.keyUnits) {
    const uint64_t at = node.keyOffset + node.keyUnits * 2;
    if (at + 2 > node.end || !block.u16(at, unit)) return false;
    if (unit == 0) break;
  }
  node.isText = type == kTextValue;
  node.valueLength = valueLength;
  node.valueOffset = align4(node.keyOffset + (node.keyUnits + 1) * 2);
  const uint64_t wanted = node.isText ? uint64_t(valueLength) * 2 : valueLength;
  const uint64_t room = node.valueOffset < node.end ? node.end - node.valueOffset : 0;
  node.valueBytes = wanted < room ? wanted : room;
  node.childrenOffset = align4(node.valueOffset + node.valueBytes);
  return true;
}

uint16_t foldCase(uint16_t unit) {
  const bool upperAscii = unit >= 'A' && unit <= 'Z';
  const bool upperLatin1 = unit >= 0xC0 && unit <= 0xDE && unit != 0xD7;
  return upperAscii || upperLatin1 ? static_cast<uint16_t>(unit + 0x20) : unit;
}

// Whether the node's key equals `component` (Windows-1252), without regard to case.
bool keyMatches(const Bytes& block, const Node& node, const std::string& component) {
  const std::u16string wanted = utf16FromCp1252(component);
  if (wanted.size() != node.keyUnits) return false;
  for (size_t i = 0; i < wanted.size(); ++i) {
    uint16_t unit = 0;
    block.u16(node.keyOffset + i * 2, unit);
    if (foldCase(unit) != foldCase(wanted[i])) return false;
  }
  return true;
}

bool findChild(const Bytes& block, const Node& parent, const std::string& key, Node& child) {
  for (uint64_t at = parent.childrenOffset; at + 6 <= parent.end;) {
    if (!readNode(block, at, parent.end, child)) return false;
    if (keyMatches(block, child, key)) return true;
    at = align4(child.end);
  }
  return false;
}

}  // namespace

ByteRange findVersionResource(const uint8_t* data, uint64_t size) {
  const Bytes image(data, size);
  uint32_t resourceRva = 0;
  Sections sections;
  if (!readHeaders(image, resourceRva, sections)) return {};

  // Type, then name, then language; offsets below the top are relative to the top.
  uint32_t typeData = 0, nameData = 0, languageData = 0;
  if (!findEntry(image, sections, resourceRva, kVersionType, typeData) ||
      !(typeData & kSubdirectory) ||
      !findEntry(image, sections, resourceRva + (typeData & ~kSubdirectory), kAnyEntry, nameData) ||
      !(nameData & kSubdirectory)) {
    return {};
  }
  // Of several languages, the one an English Windows picks: neutral, else English (United
  // States), else the first.
  const uint32_t languages = resourceRva + (nameData & ~kSubdirectory);
  if (!findEntry(image, sections, languages, kNeutralLanguage, languageData) &&
      !findEntry(image, sections, languages, kEnglishUnitedStates, languageData) &&
      !findEntry(image, sections, languages, kAnyEntry, languageData)) {
    return {};
  }
  if (languageData & kSubdirectory) return {};
  uint64_t dataEntry = 0, offset = 0;
  uint32_t dataRva = 0, dataSize = 0;
  if (!fileOffsetOf(image, sections, resourceRva + languageData, dataEntry) ||
      !image.u32(dataEntry, dataRva) || !image.u32(dataEntry + 4, dataSize) ||
      !fileOffsetOf(image, sections, dataRva, offset) || !image.has(offset, dataSize)) {
    return {};
  }
  return {offset, dataSize};
}

uint32_t versionInfoSize(uint64_t resourceSize) {
  if (resourceSize == 0) return 0;
  if (resourceSize > (UINT32_MAX - 4) / 2) return UINT32_MAX;
  return static_cast<uint32_t>(resourceSize * 2 + 4);
}

VersionValue queryVersionValue(const uint8_t* data, uint64_t size, const char* query) {
  const Bytes block(data, size);
  Node node;
  if (query == nullptr || !readNode(block, 0, block.size(), node)) return {};

  size_t components = 0;
  for (const char* at = query; *at != '\0';) {
    if (*at == '\\') {
      ++at;
      continue;
    }
    const char* end = std::strchr(at, '\\');
    if (end == nullptr) end = at + std::strlen(at);
    Node child;
    if (++components > kMaxQueryComponents ||
        !findChild(block, node, std::string(at, size_t(end - at)), child)) {
      return {};
    }
    node = child;
    at = end;
  }

  VersionValue value;
  value.found = true;
  value.isText = node.isText;
  if (node.isText) {
    std::u16string text(static_cast<size_t>(node.valueBytes / 2), u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
      uint16_t unit = 0;
      block.u16(node.valueOffset + i * 2, unit);
      text[i] = unit;
    }
    value.bytes = cp1252FromUtf16(text);
    value.length = static_cast<uint32_t>(text.size());
  } else if (node.valueBytes > 0) {
    value.bytes.assign(reinterpret_cast<const char*>(block.at(node.valueOffset)),
                       static_cast<size_t>(node.valueBytes));
    value.length = static_cast<uint32_t>(node.valueBytes);
  }
  return value;
}
