#include "platform/installations.h"

#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <set>

#include "platform/directory_posix.h"
#include "platform/name_lookup_posix.h"
#include "platform/os_file.h"
#include "platform/steam_library_folders.h"

namespace {

constexpr const char* kSteamRoots[] = {
    ".steam/steam",
    ".local/share/Steam",
    ".var/app/com.valvesoftware.Steam/.local/share/Steam",
};
// Steam keeps the list in steamapps/; versions since 2021 keep a copy in config/.
constexpr const char* kLibraryLists[] = {"steamapps/libraryfolders.vdf", "config/libraryfolders.vdf"};
constexpr char kGameFolders[] = "steamapps/common/";

// Folders whose every subfolder is a Wine prefix, as Lutris and Bottles keep them.
constexpr const char* kPrefixFolders[] = {"Games", ".local/share/bottles/bottles"};
constexpr const char* kProgramFolders[] = {
    "drive_c/Program Files/",
    "drive_c/Program Files (x86)/",
    "drive_c/Games/",
};
constexpr int kProgramLevels = 3;

// A list of libraries is a few hundred bytes; more than this is not one.
constexpr int32_t kMaxListBytes = 1 << 20;

// The absolute path of `path` with every link resolved; empty when it does not exist.
std::string canonical(const std::string& path) {
  const std::unique_ptr<char, decltype(&free)> resolved(realpath(path.c_str(), nullptr), &free);
  return resolved ? std::string(resolved.get()) : std::string();
}

std::string fileText(const std::string& path) {
  OsFile file = OsFile::open(path.c_str(), OsFile::Access::kReadOnly);
  const int64_t length = file ? file.length() : 0;
  std::string text(static_cast<size_t>(std::clamp<int64_t>(length, 0, kMaxListBytes)), '\0');
  text.resize(static_cast<size_t>(file ? file.read(text.data(), int32_t(text.size())) : 0));
  return text;
}

class Finder {
 public:
  explicit Finder(const std::string& exeName) : exeName_(exeName) {}

  // Searches the game folders of the Steam library at `path`.
  void searchSteamLibrary(const std::string& path) {
    const std::string library = firstVisit(path);
    if (!library.empty()) below(library + "/" + kGameFolders, 1);
  }

  // Searches the Steam root at `path` and the libraries its lists name.
  void searchSteamRoot(const std::string& path) {
    const std::string root = canonical(path);
    if (root.empty()) return;
    searchSteamLibrary(root);
    for (const char* list : kLibraryLists) {
      for (const std::string& library : steamLibraryFolders(fileText(root + "/" + list))) {
        if (library[0] == '/') searchSteamLibrary(library);
      }
    }
  }

  void searchWinePrefix(const std::string& path) {
    const std::string prefix = firstVisit(path);
    if (prefix.empty()) return;
    for (const char* folder : kProgramFolders) below(prefix + "/" + folder, kProgramLevels);
  }

  // Searches every folder in `path` as a Wine prefix.
  void searchWinePrefixesIn(const std::string& path) {
    for (const std::string& prefix : subfolders(path + "/")) searchWinePrefix(path + "/" + prefix);
  }

  std::vector<std::string> found() && { return std::move(found_); }

 private:
  // The resolved `path` when it is a place not searched before; else empty.
  std::string firstVisit(const std::string& path) {
    std::string resolved = canonical(path);
    if (resolved.empty() || !visited_.insert(resolved).second) return {};
    return resolved;
  }

  // The subfolders of `folder` in byte order; `holds` tells whether it holds the file.
  std::vector<std::string> list(const std::string& folder, bool& holds) const {
    std::vector<std::string> folders;
    holds = false;
    Directory directory(folder);
    for (DirectoryEntry entry; directory.next(entry);) {
      if (entry.isFolder) {
        folders.push_back(entry.name);
      } else if (sameNameIgnoringCase(entry.name, exeName_)) {
        holds = true;
      }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
  }

  std::vector<std::string> subfolders(const std::string& folder) const {
    bool holds = false;
    return list(folder, holds);
  }

  // Looks at the folders 1 to `levels` levels below `folder` (which ends in '/').
  void below(const std::string& folder, int levels) {
    for (const std::string& name : subfolders(folder)) visit(folder + name + "/", levels);
  }

  void visit(const std::string& folder, int levels) {
    bool holds = false;
    const std::vector<std::string> folders = list(folder, holds);
    if (holds && reported_.insert(canonical(folder)).second) found_.push_back(folder);
    if (levels > 1) {
      for (const std::string& name : folders) visit(folder + name + "/", levels - 1);
    }
  }

  const std::string& exeName_;
  std::set<std::string> visited_;   // resolved libraries and prefixes
  std::set<std::string> reported_;  // resolved folders found
  std::vector<std::string> found_;
};

}  // namespace

std::vector<std::string> findInstallations(const std::string& home, const std::string& winePrefix,
                                           const std::string& exeName) {
  Finder finder(exeName);
  if (!home.empty()) {
    for (const char* root : kSteamRoots) finder.searchSteamRoot(home + "/" + root);
  }
  if (!winePrefix.empty()) finder.searchWinePrefix(winePrefix);
  if (!home.empty()) {
    finder.searchWinePrefix(home + "/.wine");
    for (const char* folder : kPrefixFolders) finder.searchWinePrefixesIn(home + "/" + folder);
  }
  return std::move(finder).found();
}
