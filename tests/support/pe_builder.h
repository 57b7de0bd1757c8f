#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Builds version blocks and small PE files that carry them, byte for byte, so the tests
// need no real executable.

struct StringTable {
  std::string key;  // "040904B0"
  std::vector<std::pair<std::string, std::u16string>> fields;  // key, value
};

struct VersionBlock {
  std::vector<std::pair<uint16_t, uint16_t>> translations;  // language, code page
  std::vector<StringTable> tables;
  bool withVarFileInfo = true;
};

// The VS_VERSIONINFO tree: fixed info, StringFileInfo with the tables, VarFileInfo with the
// translations.
std::string versionBlockBytes(const VersionBlock& block);

enum class PeKind { kPe32, kPe32Plus };

// A PE image whose only section holds a resource tree with `resource` as its RT_VERSION
// resource (id 1, language 0x0409); no resource tree at all when `resource` is empty.
std::string peImageBytes(const std::string& resource, PeKind kind = PeKind::kPe32);

// The same with one RT_VERSION resource per language, in the order given.
using LanguageResource = std::pair<uint16_t, std::string>;
std::string peImageBytes(const std::vector<LanguageResource>& resources, PeKind kind);
