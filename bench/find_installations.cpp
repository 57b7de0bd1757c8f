// Times the chooser's search for installations on a fake home folder of a few thousand
// entries, made in the temporary folder and removed afterwards:
//   find_installations [ROUNDS]
// Prints the number of entries and the median and slowest time of one search.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/installations.h"

namespace fs = std::filesystem;

namespace {

size_t entries = 0;

void makeFile(const fs::path& path) {
  std::ofstream(path) << "MZ";
  ++entries;
}

void makeFolder(const fs::path& path) {
  fs::create_directories(path);
  ++entries;
}

// A game folder as installers leave them: files and a few subfolders of data.
void makeGame(const fs::path& folder, const char* exe) {
  makeFolder(folder);
  for (int i = 0; i < 8; ++i) makeFile(folder / ("data" + std::to_string(i) + ".dat"));
  for (int i = 0; i < 3; ++i) {
    makeFolder(folder / ("sub" + std::to_string(i)));
    for (int j = 0; j < 5; ++j) makeFile(folder / ("sub" + std::to_string(i)) / std::to_string(j));
  }
  if (exe != nullptr) makeFile(folder / exe);
}

void makeHome(const fs::path& home, const fs::path& library) {
  const fs::path steam = home / ".local/share/Steam";
  makeFolder(steam / "steamapps");
  std::ofstream(steam / "steamapps/libraryfolders.vdf")
      << "\"libraryfolders\" { \"0\" { \"path\" \"" << steam.string() << "\" } \"1\" { \"path\" \""
      << library.string() << "\" } }";
  fs::create_directories(home / ".steam");
  fs::create_directory_symlink(steam, home / ".steam/steam");
  for (int i = 0; i < 60; ++i) {
    makeGame(steam / "steamapps/common" / ("Game " + std::to_string(i)), nullptr);
    makeGame(library / "steamapps/common" / ("Game " + std::to_string(i)), nullptr);
  }
  makeGame(library / "steamapps/common/Silent Hunter III", "sh3.exe");
  for (const char* prefix : {".wine", "Games/sh3", ".local/share/bottles/bottles/Games"}) {
    const fs::path programs = home / prefix / "drive_c/Program Files (x86)";
    for (int vendor = 0; vendor < 10; ++vendor) {
      for (int product = 0; product < 4; ++product) {
        makeGame(programs / ("Vendor " + std::to_string(vendor)) / ("Product " + std::to_string(product)),
                 nullptr);
      }
    }
    makeGame(programs / "Ubisoft/Silent Hunter III", "SH3.EXE");
    for (int i = 0; i < 200; ++i) makeFile(home / prefix / "drive_c/windows" / std::to_string(i));
  }
  // The rest of a home folder, which the search never enters.
  for (int i = 0; i < 1000; ++i) makeFile(home / "Documents" / ("note" + std::to_string(i)));
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50;
  std::string pattern = (fs::temp_directory_path() / "brinemark-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) return 1;
  const fs::path root = pattern;
  fs::create_directories(root / "home/Documents");
  for (const char* prefix : {".wine", "Games/sh3", ".local/share/bottles/bottles/Games"}) {
    fs::create_directories(root / "home" / prefix / "drive_c/windows");
  }
  makeHome(root / "home", root / "disk2/SteamLibrary");

  std::vector<double> times;
  size_t found = 0;
  for (int i = 0; i < rounds; ++i) {
    const auto began = std::chrono::steady_clock::now();
    found = findInstallations((root / "home").string(), "", "sh3.exe").size();
    times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count());
  }
  std::sort(times.begin(), times.end());
  std::printf("%zu entries, %zu installations found; one search over %d rounds: median %.2f ms, "
              "slowest %.2f ms\n",
              entries, found, rounds, times[times.size() / 2], times.back());
  fs::remove_all(root);
  return found == 4 ? 0 : 1;
}
