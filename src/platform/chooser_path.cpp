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
