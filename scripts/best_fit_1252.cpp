// Prints, as C++ table rows for src/platform/cp1252_best_fit_table.inc, every UTF-16 code
// unit from 0x80 up that Windows converts to Windows-1252 as something other than "?":
// its own byte, or the closest letter (best fit) where the code page has none. Run under
// Wine by scripts/make-best-fit.
#include <windows.h>

#include <cstdio>

int main() {
  for (unsigned unit = 0x80; unit <= 0xFFFF; ++unit) {
    const WCHAR text = static_cast<WCHAR>(unit);
    char converted[4] = {};
    // The flags VerQueryValueA converts with: none, so best fit is on.
    const int length = WideCharToMultiByte(1252, 0, &text, 1, converted, sizeof converted, nullptr, nullptr);
    if (length != 1 || converted[0] == '?') continue;
    std::printf("    {0x%04X, 0x%02X},\n", unit, static_cast<unsigned char>(converted[0]));
  }
  return 0;
}
