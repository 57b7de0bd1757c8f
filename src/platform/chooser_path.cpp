#include "platform/chooser_path.h"

#include <cstring>

std::string chooserStartPath(const char* initialPath) {
  if (initialPath == nullptr) return {};
  std::string path(initialPath, strnlen(initialPath, kChooserPathMax));
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

std::string withTrailingSeparator(std::string path, char separator) {
  if (!path.empty() && path.back() != separator) path += separator;
  return path;
}

std::size_t listChoice(const std::string& answer, std::size_t count) {
  std::size_t number = 0;
  for (char c : answer) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + std::size_t(c - '0');
    if (number > count) return 0;  // also before the number could overflow
  }
  return number;
}
