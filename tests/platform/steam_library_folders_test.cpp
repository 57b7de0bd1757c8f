#include "platform/steam_library_folders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Folders = std::vector<std::string>;

// As Steam writes it today, apps and all.
const std::string kCurrentList = R"("libraryfolders"
{
	"0"
	{
		"path"		"/home/skipper/.local/share/Steam"
		"label"		""
		"contentid"		"5012373849170381432"
		"totalsize"		"0"
		"apps"
		{
			"228280"		"1532981372"
		}
	}
	"1"
	{
		"path"		"/mnt/games/SteamLibrary"
		"label"		"games"
		"apps"
		{
			"7040"		"2079232123"
		}
	}
}
)";

std::string deeplyNested(size_t depth) {
  std::string text = "\"libraryfolders\" { \"1\" \"/mnt/before\" ";
  for (size_t i = 0; i < depth; ++i) text += "\"0\" { ";
  text += "\"path\" \"/mnt/deep\" ";
  for (size_t i = 0; i < depth; ++i) text += "} ";
  return text + "\"2\" \"/mnt/after\" }";
}

TEST(SteamLibraryFoldersTest, ListsAsSteamWritesThem) {
  const struct {
    const char* name;
    std::string vdf;
    Folders folders;
  } cases[] = {
      {"current form", kCurrentList, {"/home/skipper/.local/share/Steam", "/mnt/games/SteamLibrary"}},
      {"older form",
       "\"LibraryFolders\"\n{\n\t\"TimeNextStatsReport\"\t\t\"1620000000\"\n"
       "\t\"ContentStatsID\"\t\t\"-42\"\n\t\"1\"\t\t\"/mnt/games/SteamLibrary\"\n"
       "\t\"2\"\t\t\"/media/usb/Steam\"\n}\n",
       {"/mnt/games/SteamLibrary", "/media/usb/Steam"}},
      {"keys in any case", "\"LIBRARYFOLDERS\" { \"0\" { \"PATH\" \"/a\" } }", {"/a"}},
      {"bare words", "libraryfolders { 0 { path /mnt/bare label x } }", {"/mnt/bare"}},
      {"escapes", R"("libraryfolders" { "0" { "path" "D:\\Steam \"x\"\tq\n\z" } })",
       {"D:\\Steam \"x\"\tq\n\\z"}},
      {"comments and conditions",
       "// written by Steam\n\"libraryfolders\" // list\n{ \"0\" { \"path\" \"/a//b\" [$LINUX] } }",
       {"/a//b"}},
      {"paths elsewhere do not count",
       "\"path\" \"/top\" \"libraryfolders\" { \"path\" \"/level1\" \"contentstats\" { \"path\" "
       "\"/named\" } \"0\" { \"apps\" { \"path\" \"/apps\" } \"path\" \"/real\" } \"x1\" \"/old\" }",
       {"/real"}},
      {"another list", "\"otherfolders\" { \"0\" { \"path\" \"/a\" } \"1\" \"/b\" }", {}},
      {"empty paths", "\"libraryfolders\" { \"0\" { \"path\" \"\" } \"1\" \"\" }", {}},
      {"two lists", "\"libraryfolders\" { \"1\" \"/a\" } \"libraryfolders\" { \"1\" \"/b\" }",
       {"/a", "/b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(steamLibraryFolders(c.vdf), c.folders) << c.name;
}

TEST(SteamLibraryFoldersTest, MalformedTextKeepsOnlyWhatCameBefore) {
  const std::string hugeWord(4 << 20, 'x');
  const std::string hugePath = "/" + std::string(1 << 20, 'p');
  const struct {
    const char* name;
    std::string vdf;
    Folders folders;
  } cases[] = {
      {"empty file", "", {}},
      {"spaces only", " \n\t\r\n", {}},
      {"comment only", "// nothing", {}},
      {"unterminated quote",
       "\"libraryfolders\" { \"0\" { \"path\" \"/a\" } \"1\" { \"path\" \"/mnt/b", {"/a"}},
      {"backslash at the end", "\"libraryfolders\" { \"1\" \"/a\" \"2\" \"/b\\", {"/a"}},
      {"unterminated condition", "\"libraryfolders\" { \"1\" \"/a\" [$LINUX \"2\" \"/b\" }", {"/a"}},
      {"key without value", "\"libraryfolders\" { \"1\"", {}},
      {"value is a brace", "\"libraryfolders\" { \"1\" \"/a\" \"2\" } \"3\" \"/c\"", {"/a"}},
      {"closing braces first", "}}} \"libraryfolders\" { \"1\" \"/a\" }", {}},
      {"one brace too many",
       "\"libraryfolders\" { \"1\" \"/a\" } } \"libraryfolders\" { \"1\" \"/b\" }", {"/a"}},
      {"opening brace first", "{ \"libraryfolders\" { \"1\" \"/a\" } }", {}},
      {"unclosed block", "\"libraryfolders\" { \"1\" \"/a\" \"0\" { \"path\" \"/b\"", {"/a", "/b"}},
      {"nesting Steam never writes", deeplyNested(31), {"/mnt/before", "/mnt/after"}},
      {"nesting past any bound", deeplyNested(100000), {"/mnt/before"}},
      {"zero bytes", std::string("\"libraryfolders\" { \"1\" \"/a\0b\" }", 30), {std::string("/a\0b", 4)}},
      {"huge line", hugeWord, {}},
      {"huge path", "\"libraryfolders\" { \"1\" \"" + hugePath + "\" }", {hugePath}},
      {"binary noise", std::string("\x01\xFF{\"\x80\x00}", 7), {}},
  };
  for (const auto& c : cases) EXPECT_EQ(steamLibraryFolders(c.vdf), c.folders) << c.name;
}

}  // namespace
