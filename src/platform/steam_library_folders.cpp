#include "platform/steam_library_folders.h"

#include <cstddef>

namespace {

// Deeper nesting than any file of Steam's is taken as malformed.
constexpr size_t kMaxDepth = 32;

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool isDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool sameKey(const std::string& key, const char* lower) {
  size_t i = 0;
  for (; i < key.size() && lower[i] != '\0'; ++i) {
    const char c = key[i] >= 'A' && key[i] <= 'Z' ? static_cast<char>(key[i] + 32) : key[i];
    if (c != lower[i]) return false;
  }
  return i == key.size() && lower[i] == '\0';
}

// The tokens of KeyValues text: quoted texts with Steam's escapes, bare words, braces.
// Comments ("//" to the end of the line) and conditions ("[$WIN32]") are skipped.
class Tokens {
 public:
  enum class Kind { kText, kOpen, kClose, kEnd, kBad };

  explicit Tokens(const std::string& text) : text_(text) {}

  Kind next(std::string& token) {
    for (skipSpaceAndComments(); at_ < text_.size() && text_[at_] == '['; skipSpaceAndComments()) {
      const size_t close = text_.find(']', at_);
      if (close == std::string::npos) return Kind::kBad;
      at_ = close + 1;
    }
    if (at_ >= text_.size()) return Kind::kEnd;
    const char c = text_[at_];
    if (c == '{' || c == '}') {
      ++at_;
      return c == '{' ? Kind::kOpen : Kind::kClose;
    }
    token.clear();
    return c == '"' ? quoted(token) : bare(token);
  }

 private:
  void skipSpaceAndComments() {
    while (at_ < text_.size()) {
      if (isSpace(text_[at_])) {
        ++at_;
      } else if (text_.compare(at_, 2, "//") == 0) {
        const size_t end = text_.find('\n', at_);
        at_ = end == std::string::npos ? text_.size() : end;
      } else {
        return;
      }
    }
  }

  Kind quoted(std::string& token) {
    for (++at_; at_ < text_.size(); ++at_) {
      char c = text_[at_];
      if (c == '"') {
        ++at_;
        return Kind::kText;
      }
      if (c == '\\' && at_ + 1 < text_.size()) {
        const char escaped = text_[++at_];
        c = escaped == 'n' ? '\n' : escaped == 't' ? '\t' : escaped;
        if (escaped != 'n' && escaped != 't' && escaped != '\\' && escaped != '"') token += '\\';
      }
      token += c;
    }
    return Kind::kBad;  // the closing quote is missing
  }

  Kind bare(std::string& token) {
    while (at_ < text_.size() && !isSpace(text_[at_]) && text_[at_] != '"' && text_[at_] != '{' &&
           text_[at_] != '}') {
      token += text_[at_++];
    }
    return Kind::kText;
  }

  const std::string& text_;
  size_t at_ = 0;
};

}  // namespace

std::vector<std::string> steamLibraryFolders(const std::string& vdf) {
  std::vector<std::string> folders;
  Tokens tokens(vdf);
  // The keys of the open blocks, outermost first.
  std::vector<std::string> open;
  std::string key, value;
  for (;;) {
    const Tokens::Kind kind = tokens.next(key);
    if (kind == Tokens::Kind::kClose && !open.empty()) {
      open.pop_back();
      continue;
    }
    if (kind != Tokens::Kind::kText) break;  // the end, or something malformed

    const Tokens::Kind after = tokens.next(value);
    if (after == Tokens::Kind::kOpen) {
      if (open.size() == kMaxDepth) break;
      open.push_back(key);
      continue;
    }
    if (after != Tokens::Kind::kText) break;
    const bool inList = !open.empty() && sameKey(open[0], "libraryfolders");
    const bool oldEntry = inList && open.size() == 1 && isDigits(key);
    const bool newEntry = inList && open.size() == 2 && isDigits(open[1]) && sameKey(key, "path");
    if ((oldEntry || newEntry) && !value.empty()) folders.push_back(value);
  }
  return folders;
}
