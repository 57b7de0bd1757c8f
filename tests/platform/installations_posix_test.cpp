#include "platform/installations.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// A home folder with Steam, a second Steam library elsewhere and Wine prefixes of every
// kind, holding the executable where it is to be found and where it is not.
class InstallationsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    steam_ = canonical(home_) / ".local/share/Steam";
    library_ = canonical(elsewhere_) / "SteamLibrary";
    const std::string list = "\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\"\t\t\"" +
                             steam_.string() + "\"\n\t}\n\t\"1\"\n\t{\n\t\t\"path\"\t\t\"" +
                             library_.string() + "\"\n\t}\n}\n";
    fs::create_directories(steam_ / "steamapps");
    writeFile((steam_ / "steamapps/libraryfolders.vdf").string(), list);
    fs::create_directories(home_.path() / ".steam");
    fs::create_directory_symlink(steam_, home_.path() / ".steam/steam");
  }

  static fs::path canonical(const TempDir& dir) { return fs::canonical(dir.path()); }

  // Puts a file `name` (sh3.exe by default) into `folder`, made with its parents.
  static void install(const fs::path& folder, const std::string& name = "sh3.exe") {
    fs::create_directories(folder);
    writeFile((folder / name).string(), "MZ");
  }

  std::vector<std::string> found(const std::string& winePrefix = "") const {
    return findInstallations(home_.path().string(), winePrefix, "sh3.exe");
  }

  TempDir home_, elsewhere_;
  fs::path steam_, library_;
};

std::string folder(const fs::path& path) { return path.string() + "/"; }

TEST_F(InstallationsTest, EveryPlaceInItsOrderEachOnce) {
  const fs::path home = canonical(home_);
  const fs::path common = steam_ / "steamapps/common";
  const fs::path wine = home / ".wine/drive_c";
  install(common / "Silent Hunter III");
  install(common / "Another Game", "game.exe");
  install(library_ / "steamapps/common/SH3", "SH3.EXE");
  install(home / ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/common/SH3");
  install(wine / "Program Files (x86)/Ubisoft/Silent Hunter III", "Sh3.exe");
  install(wine / "Program Files/a/b/c");           // three levels down: found
  install(wine / "Program Files/a/b/c/d");         // four: too deep
  install(wine / "Games/SH3");
  install(wine / "users/skipper/Desktop/SH3");     // not a place games go
  install(home / "Games/silent-hunter-iii/drive_c/Games/Silent Hunter III");
  install(home / ".local/share/bottles/bottles/Ubisoft/drive_c/Program Files/SH3");
  install(home / "Games/no-prefix/Program Files/SH3");
  fs::create_directories(wine / "Program Files/decoy/sh3.exe");  // a folder of that name
  fs::create_directory_symlink(wine / "Games/SH3", wine / "Games/Link to SH3");

  const std::vector<std::string> expected = {
      folder(common / "Silent Hunter III"),
      folder(library_ / "steamapps/common/SH3"),
      folder(home / ".var/app/com.valvesoftware.Steam/.local/share/Steam/steamapps/common/SH3"),
      folder(wine / "Program Files/a/b/c"),
      folder(wine / "Program Files (x86)/Ubisoft/Silent Hunter III"),
      folder(wine / "Games/Link to SH3"),
      folder(home / "Games/silent-hunter-iii/drive_c/Games/Silent Hunter III"),
      folder(home / ".local/share/bottles/bottles/Ubisoft/drive_c/Program Files/SH3"),
  };
  EXPECT_EQ(found(), expected);
  // The prefix named by WINEPREFIX comes first of the prefixes, and is searched once.
  EXPECT_EQ(found((home / ".wine").string()), expected);
  install(home / "prefix/drive_c/Program Files/SH3");
  std::vector<std::string> withPrefix = expected;
  withPrefix.insert(withPrefix.begin() + 3, folder(home / "prefix/drive_c/Program Files/SH3"));
  EXPECT_EQ(found((home / "prefix").string()), withPrefix);
}

TEST_F(InstallationsTest, NothingThereFindsNothing) {
  EXPECT_EQ(found(), std::vector<std::string>());
  EXPECT_EQ(findInstallations("", "", "sh3.exe"), std::vector<std::string>());
  EXPECT_EQ(findInstallations(home_.file("missing"), home_.file("missing"), "sh3.exe"),
            std::vector<std::string>());
}

TEST_F(InstallationsTest, UnreadableOrOddListsStillGiveTheRootsOwnGames) {
  install(steam_ / "steamapps/common/SH3");
  install(library_ / "steamapps/common/SH3");
  const std::string lists[] = {
      "",
      "\"libraryfolders\" { \"0\" { \"path\" \"relative/SteamLibrary\" } }",
      "\"libraryfolders\" { \"0\" { \"path\" \"" + library_.string(),  // cut short
  };
  for (const std::string& list : lists) {
    writeFile((steam_ / "steamapps/libraryfolders.vdf").string(), list);
    EXPECT_EQ(found(), std::vector<std::string>{folder(steam_ / "steamapps/common/SH3")}) << list;
  }
  // The copy in config/ names the library too.
  fs::create_directories(steam_ / "config");
  writeFile((steam_ / "config/libraryfolders.vdf").string(),
            "\"libraryfolders\" { \"1\" { \"path\" \"" + library_.string() + "\" } }");
  EXPECT_EQ(found(), (std::vector<std::string>{folder(steam_ / "steamapps/common/SH3"),
                                               folder(library_ / "steamapps/common/SH3")}));
}

}  // namespace
