#include "check/version_report.h"

#include <gtest/gtest.h>

#include <string>

#include "support/pe_builder.h"
#include "support/temp_dir.h"

namespace {

const StringTable kEnglishTable = {
    "040904B0",
    {{"FileVersion", u"1, 4, 0, 1"},
     {"FileDescription", u"Silent Hunter III"},
     {"LegalCopyright", u"(C) 2005"},
     {"InternalName", u"sh3"},
     {"OriginalFilename", u"sh3.exe"},
     {"ProductName", u"SH3"},
     {"ProductVersion", u"1.4"},
     {"CompanyName", u"Ubi"},
     {"LegalTrademarks", u"TM"},
     {"SpecialBuild", u"special"},
     {"PrivateBuild", u"private"},
     {"Comments", u"comment"}}};

const std::string kAllLines =
    "FileVersion:\t1, 4, 0, 1\nFileDescription:\tSilent Hunter III\nLegalCopyright:\t(C) 2005\n"
    "InternalName:\tsh3\nOriginalFilename:\tsh3.exe\nProductName:\tSH3\nProductVersion:\t1.4\n"
    "CompanyName:\tUbi\nLegalTrademarks:\tTM\nSpecialBuild:\tspecial\nPrivateBuild:\tprivate\n"
    "Comments:\tcomment";

// The report with the language's name cut off its line: Wine names languages its own way,
// and the names are tested where they come from the project's own table.
std::string withoutLanguageName(const std::string& report) {
  const std::string marker = "Language:   \t";
  const size_t at = report.rfind(marker);
  return at == std::string::npos ? report : report.substr(0, at + marker.size());
}

class VersionReportTest : public ::testing::Test {
 protected:
  std::string reportOf(const VersionBlock& block, uint32_t mask = kAllVersionFields,
                       bool withNames = true, PeKind kind = PeKind::kPe32) {
    writeFile(path_, peImageBytes(versionBlockBytes(block), kind));
    return versionReport(path_, mask, withNames);
  }

  TempDir dir_;
  const std::string path_ = dir_.file("sh3.exe");
};

TEST_F(VersionReportTest, EveryFieldInOrderThenTheLanguage) {
  for (PeKind kind : {PeKind::kPe32, PeKind::kPe32Plus}) {
    const std::string report = reportOf({{{0x0409, 0x04B0}}, {kEnglishTable}}, kAllVersionFields, true, kind);
    EXPECT_EQ(withoutLanguageName(report), kAllLines + "\nLanguage:   \t");
    EXPECT_GT(report.size(), withoutLanguageName(report).size()) << "the language has a name";
  }
}

TEST_F(VersionReportTest, ChosenFieldsOnlyAndMissingOnesLeaveNoLine) {
  StringTable sparse = {"040904b0", {{"ProductName", u"SH3"}, {"FileVersion", u"1.4"}, {"Comments", u""}}};
  const VersionBlock block = {{{0x0409, 0x04B0}}, {sparse}};
  const struct {
    uint32_t mask;
    bool withNames;
    std::string expected;
  } cases[] = {
      // A present empty value still gives its line; absent fields give none.
      {kAllVersionFields & ~kLanguage, true, "FileVersion:\t1.4\nProductName:\tSH3\nComments:\t"},
      {kFileVersion | kComments, true, "FileVersion:\t1.4\nComments:\t"},
      {kProductName | kFileVersion, false, "1.4\nSH3"},
      {kCompanyName | kLegalTrademarks, true, ""},
      {0, true, ""},
      {0x4000, true, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(reportOf(block, c.mask, c.withNames), c.expected) << "mask " << c.mask;
  }
}

TEST_F(VersionReportTest, WithoutTranslationOnlyTheLanguageLineOfSpaces) {
  VersionBlock block = {{}, {kEnglishTable}};
  block.withVarFileInfo = false;
  EXPECT_EQ(reportOf(block), "Language:   \t" + std::string(128, ' '));
  EXPECT_EQ(reportOf(block, kLanguage, false), std::string(128, ' '));
  EXPECT_EQ(reportOf(block, kAllVersionFields & ~kLanguage), "");

  // A translation entry shorter than four bytes counts as none.
  block = {{}, {kEnglishTable}};
  EXPECT_EQ(reportOf(block), "Language:   \t" + std::string(128, ' '));
}

TEST_F(VersionReportTest, OnlyTheFirstTranslationCounts) {
  const StringTable german = {"040704B0", {{"FileVersion", u"deutsch"}}};
  const VersionBlock block = {{{0x0407, 0x04B0}, {0x0409, 0x04B0}}, {kEnglishTable, german}};
  EXPECT_EQ(withoutLanguageName(reportOf(block)), "FileVersion:\tdeutsch\nLanguage:   \t");
}

TEST_F(VersionReportTest, CodePageAbove0x7FFFIsAnUnsignedKey) {
  const StringTable utf8 = {"0407FDE9", {{"ProductName", u"utf-8 table"}}};
  const VersionBlock block = {{{0x0407, 0xFDE9}}, {utf8}};
  EXPECT_EQ(reportOf(block, kProductName), "ProductName:\tutf-8 table");
}

TEST_F(VersionReportTest, TextsArriveInWindows1252) {
  const StringTable table = {"040904B0", {{"CompanyName", u"Pr\u00FCf \u20AC \u4E2D"}}};
  EXPECT_EQ(reportOf({{{0x0409, 0x04B0}}, {table}}, kCompanyName), "CompanyName:\tPr\xFC" "f \x80 ?");
}

TEST_F(VersionReportTest, NothingToReport) {
  EXPECT_EQ(versionReport(dir_.file("missing.exe"), kAllVersionFields, true), "");
  writeFile(path_, "");
  EXPECT_EQ(versionReport(path_, kAllVersionFields, true), "");
  writeFile(path_, peImageBytes(""));  // a PE file without resources
  EXPECT_EQ(versionReport(path_, kAllVersionFields, true), "");
  writeFile(path_, std::string(5000, 'x'));  // no PE file at all
  EXPECT_EQ(versionReport(path_, kAllVersionFields, true), "");
}

// The library reports twice the block and 4 more: a block of 16,380 bytes (32,764) still
// gives its lines, one of 16,384 (32,772) none, as one of 18 KB (36,500) none.
TEST_F(VersionReportTest, BlockReportedOver32767BytesGivesNoLines) {
  const struct {
    size_t commentUnits;
    size_t blockSize;
    bool lines;
  } cases[] = {{8066, 16380, true}, {8068, 16384, false}, {9000, 18248, false}};
  for (const auto& c : cases) {
    const StringTable table = {"040904B0", {{"Comments", std::u16string(c.commentUnits, u'c')}}};
    const VersionBlock block = {{{0x0409, 0x04B0}}, {table}};
    ASSERT_EQ(versionBlockBytes(block).size(), c.blockSize);
    EXPECT_EQ(reportOf(block, kComments).empty(), !c.lines) << c.blockSize;
  }
}

TEST_F(VersionReportTest, NameMatchesWithoutRegardToCase) {
  writeFile(dir_.file("SH3.EXE"), peImageBytes(versionBlockBytes({{{0x0409, 0x04B0}}, {kEnglishTable}})));
  EXPECT_EQ(withoutLanguageName(versionReport(path_, kAllVersionFields, true)),
            kAllLines + "\nLanguage:   \t");
}

TEST(VersionFieldNameTest, NamesTheThirteenFlagsOnly) {
  const struct {
    uint32_t flag;
    const char* name;
  } cases[] = {
      {1, "FileVersion"}, {2, "FileDescription"}, {4, "LegalCopyright"}, {8, "InternalName"},
      {16, "OriginalFilename"}, {32, "ProductName"}, {64, "ProductVersion"}, {128, "CompanyName"},
      {256, "LegalTrademarks"}, {512, "SpecialBuild"}, {1024, "PrivateBuild"}, {2048, "Comments"},
      {4096, "Language"}, {0, ""}, {3, ""}, {8192, ""}, {0x1FFF, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(versionFieldName(c.flag), c.name) << c.flag;
}

}  // namespace
