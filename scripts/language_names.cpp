// Prints the English display name of every language identifier that Windows (or Wine)
// knows, as C++ table rows, for src/platform/language_names_table.inc. Run under Wine by
// scripts/make-language-names.
#include <windows.h>

#include <cstdio>

int main() {
  for (unsigned id = 1; id <= 0xFFFF; ++id) {
    const LCID locale = MAKELCID(id, SORT_DEFAULT);
    if (!IsValidLocale(locale, LCID_SUPPORTED)) continue;
    char name[256] = {};
    if (GetLocaleInfoA(locale, LOCALE_SENGLISHDISPLAYNAME, name, sizeof name) <= 1) continue;
    std::printf("    {0x%04X, \"", id);
    for (const char* c = name; *c != '\0'; ++c) {
      const auto byte = static_cast<unsigned char>(*c);
      if (byte == '"' || byte == '\\') {
        std::printf("\\%c", byte);
      } else if (byte < 0x20 || byte >= 0x7F) {
        std::printf("\\x%02X\" \"", byte);  // a new literal, so no digit can join the escape
      } else {
        std::putchar(byte);
      }
    }
    std::printf("\"},\n");
  }
  return 0;
}
