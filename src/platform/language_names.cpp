#include "platform/language_names.h"

#include <algorithm>
#include <iterator>

namespace {

struct LanguageName {
  uint16_t id;
  const char* name;
};

constexpr char kNeutral[] = "Language Neutral";

// Sorted by identifier.
constexpr LanguageName kNames[] = {
    {0x0000, kNeutral},
#include "platform/language_names_table.inc"
};

}  // namespace

const char* languageNameOf(uint16_t language) {
  const auto found = std::lower_bound(std::begin(kNames), std::end(kNames), language,
                                      [](const LanguageName& row, uint16_t id) { return row.id < id; });
  return found != std::end(kNames) && found->id == language ? found->name : kNeutral;
}
