#include "support/pe_builder.h"

namespace {

void put16(std::string& bytes, size_t at, uint32_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& bytes, size_t at, uint32_t value) {
  put16(bytes, at, value & 0xFFFF);
  put16(bytes, at + 2, value >> 16);
}

void padTo4(std::string& bytes) {
  while (bytes.size() % 4 != 0) bytes += '\0';
}

std::string utf16Bytes(const std::u16string& text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::u16string widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// One node: length, value length, type, key, value, children, each part 32-bit aligned
// from the start of the node (nodes themselves start aligned).
std::string node(const std::string& key, const std::string& value, uint16_t valueLength,
                 bool isText, const std::vector<std::string>& children) {
  std::string bytes(6, '\0');
  bytes += utf16Bytes(widen(key) + u'\0');
  padTo4(bytes);
  bytes += value;
  for (const std::string& child : children) {
    padTo4(bytes);
    bytes += child;
  }
  put16(bytes, 0, static_cast<uint32_t>(bytes.size()));
  put16(bytes, 2, valueLength);
  put16(bytes, 4, isText ? 1 : 0);
  return bytes;
}

}  // namespace

std::string versionBlockBytes(const VersionBlock& block) {
  std::string fixed(52, '\0');
  put32(fixed, 0, 0xFEEF04BD);
  put32(fixed, 4, 0x00010000);

  std::vector<std::string> tables;
  for (const StringTable& table : block.tables) {
    std::vector<std::string> fields;
    for (const auto& [key, value] : table.fields) {
      const std::u16string text = value + u'\0';
      fields.push_back(node(key, utf16Bytes(text), static_cast<uint16_t>(text.size()), true, {}));
    }
    tables.push_back(node(table.key, "", 0, true, fields));
  }
  std::vector<std::string> parts = {node("StringFileInfo", "", 0, true, tables)};
  if (block.withVarFileInfo) {
    std::string pairs;
    for (const auto& [language, codePage] : block.translations) {
      std::string entry(4, '\0');
      put16(entry, 0, language);
      put16(entry, 2, codePage);
      pairs += entry;
    }
    parts.push_back(node("VarFileInfo", "", 0, true,
                         {node("Translation", pairs, static_cast<uint16_t>(pairs.size()), false, {})}));
  }
  return node("VS_VERSION_INFO", fixed, 52, false, parts);
}

std::string peImageBytes(const std::string& resource, PeKind kind) {
  if (resource.empty()) return peImageBytes(std::vector<LanguageResource>{}, kind);
  return peImageBytes({{0x0409, resource}}, kind);
}

std::string peImageBytes(const std::vector<LanguageResource>& resources, PeKind kind) {
  constexpr uint32_t kPeOffset = 0x40;
  constexpr uint32_t kSectionRva = 0x1000;
  constexpr uint32_t kSectionOffset = 0x200;
  const bool plus = kind == PeKind::kPe32Plus;
  const uint32_t optionalSize = plus ? 240 : 224;

  // The resource tree: type 16, name 1, one entry per language, then the data entries and
  // the data of each language.
  std::string section;
  if (!resources.empty()) {
    const uint32_t languages = static_cast<uint32_t>(resources.size());
    const uint32_t dataEntries = 0x40 + 8 * languages;
    section.assign(dataEntries + 16 * languages, '\0');
    put16(section, 0x0E, 1);
    put32(section, 0x10, 16);
    put32(section, 0x14, 0x80000018);
    put16(section, 0x18 + 0x0E, 1);
    put32(section, 0x28, 1);
    put32(section, 0x2C, 0x80000030);
    put16(section, 0x30 + 0x0E, languages);
    for (uint32_t i = 0; i < languages; ++i) {
      const auto& [language, data] = resources[i];
      put32(section, 0x40 + 8 * i, language);
      put32(section, 0x44 + 8 * i, dataEntries + 16 * i);
      padTo4(section);
      put32(section, dataEntries + 16 * i, kSectionRva + static_cast<uint32_t>(section.size()));
      put32(section, dataEntries + 16 * i + 4, static_cast<uint32_t>(data.size()));
      section += data;
    }
  }
  const uint32_t virtualSize = static_cast<uint32_t>(section.size());
  while (section.size() % 0x200 != 0) section += '\0';

  std::string image(kSectionOffset, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  put32(image, 0x3C, kPeOffset);
  image.replace(kPeOffset, 4, std::string("PE\0\0", 4));
  const size_t fileHeader = kPeOffset + 4;
  put16(image, fileHeader, plus ? 0x8664 : 0x14C);
  put16(image, fileHeader + 2, 1);
  put16(image, fileHeader + 16, optionalSize);
  put16(image, fileHeader + 18, plus ? 0x0022 : 0x0102);
  const size_t optional = fileHeader + 20;
  put16(image, optional, plus ? 0x20B : 0x10B);
  put32(image, optional + 16, kSectionRva);  // entry point
  if (!plus) put32(image, optional + 28, 0x400000);
  else put32(image, optional + 24, 0x400000);
  put32(image, optional + 32, 0x1000);  // section alignment
  put32(image, optional + 36, 0x200);   // file alignment
  put16(image, optional + 40, 4);       // operating system version
  put16(image, optional + 48, 4);       // subsystem version
  put32(image, optional + 56, kSectionRva + ((virtualSize + 0xFFF) & ~0xFFFu));  // image size
  put32(image, optional + 60, kSectionOffset);  // header size
  put16(image, optional + 68, 2);               // GUI subsystem
  const size_t directories = optional + (plus ? 112 : 96);
  put32(image, directories - 4, 16);
  if (!resources.empty()) {
    put32(image, directories + 2 * 8, kSectionRva);
    put32(image, directories + 2 * 8 + 4, virtualSize);
  }
  const size_t header = optional + optionalSize;
  image.replace(header, 8, std::string(".rsrc\0\0\0", 8));
  put32(image, header + 8, virtualSize);
  put32(image, header + 12, kSectionRva);
  put32(image, header + 16, static_cast<uint32_t>(section.size()));
  put32(image, header + 20, kSectionOffset);
  put32(image, header + 36, 0x40000040);  // initialised data, readable
  return image + section;
}
