#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/name_lookup_posix.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(NameLookupPosixTest, OnlyTheCaseOfAsciiLettersIsIgnored) {
  const struct {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"sh3.exe", "SH3.EXE", true},
      {"sh3.exe", "Sh3.ExE", true},
      {"sh3.exe", "sh3.exe", true},
      {"", "", true},
      {"sh3.exe", "sh3.ex", false},
      {"sh3.exe", "sh4.exe", false},
      {"sh3.exe", "sh3.exe ", false},
      {"[", "{", false},  // 0x5B and 0x7B are 0x20 apart but no letters
      {"\xE4", "\xC4", false},  // bytes of other scripts keep their case
      {"sh3.exe", "\xC5\xBFh3.exe", false},  // U+017F, the long s, is no ASCII letter
  };
  for (const auto& c : cases) {
    EXPECT_EQ(sameNameIgnoringCase(c.a, c.b), c.same) << c.a << " / " << c.b;
    EXPECT_EQ(sameNameIgnoringCase(c.b, c.a), c.same) << c.b << " / " << c.a;
  }
}

TEST(NameLookupPosixTest, ExactNameFirstThenTheFirstInByteOrder) {
  const struct {
    std::vector<std::string> files;
    std::vector<std::string> folders;
    std::string found;  // empty: the name asked for, unchanged
  } cases[] = {
      {{"sh3.exe"}, {}, "sh3.exe"},
      {{"SH3.EXE"}, {}, "SH3.EXE"},
      {{"Sh3.exe", "other.exe"}, {}, "Sh3.exe"},
      {{"sh3.EXE", "Sh3.exe", "SH3.EXE"}, {}, "SH3.EXE"},
      {{"Sh3.exe", "SH3.EXE", "sh3.exe", "sH3.exe"}, {}, "sh3.exe"},
      {{}, {"SH3.EXE"}, "SH3.EXE"},  // a folder of that name is found as a file would be
      {{"sh3.exe.bak", "sh3.ex", "xsh3.exe"}, {}, ""},
      {{}, {}, ""},
  };
  for (const auto& c : cases) {
    TempDir dir;
    for (const auto& file : c.files) writeFile(dir.file(file), file);
    for (const auto& folder : c.folders) fs::create_directory(dir.path() / folder);
    const std::string wanted = c.found.empty() ? "sh3.exe" : c.found;
    SCOPED_TRACE(wanted);
    EXPECT_EQ(foundPath(dir.file("sh3.exe")), dir.file(wanted));
    // A name without a folder is looked up in the current directory.
    const CurrentDirectory inside(dir.path());
    EXPECT_EQ(foundPath("sh3.exe"), wanted);
  }
}

TEST(NameLookupPosixTest, PathsWithoutAnEntryToMatchStayAsTheyAre) {
  TempDir dir;
  writeFile(dir.file("SH3.EXE"), "x");
  for (const std::string& path : {dir.file("missing/sh3.exe"), dir.file("") + "/", std::string()}) {
    EXPECT_EQ(foundPath(path), path);
  }
}

}  // namespace
