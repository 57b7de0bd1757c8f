#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e/child_process.h"
#include "e2e/remote_dialog.h"
#include "fixtures/sample_sh3/sample_version_lines.h"
#include "platform/os_file.h"
#include "support/live_box.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Every wait is bounded; a first start of the folder chooser in a fresh prefix is the slowest.
constexpr DWORD kWaitMs = 30000;

constexpr char kResultCaption[] = "Brinemark 2015 - by the Brinemark developers";
constexpr char kQuestionCaption[] = "W\xE4hle / Choose: SH3.EXE";
constexpr char kQuestionText[] =
    "Welche SH3.exe soll gepr\xFC" "ft werden?\nWhich SH3.exe should be checked?";
constexpr char kChooserTitle[] = "SilentHunterIII";
constexpr char kErrorCaption[] = "ERROR / FEHLER";
constexpr char kErrorText[] =
    "Leider konnte SH3.EXE nicht gefunden werden\nSorry there is no SH3.EXE";

// The string fields of a version block, in the order of the report's lines.
constexpr const char* kFieldKeys[] = {
    "FileVersion",     "FileDescription", "LegalCopyright", "InternalName",
    "OriginalFilename", "ProductName",    "ProductVersion", "CompanyName",
    "LegalTrademarks", "SpecialBuild",    "PrivateBuild",   "Comments"};

// The version block of `path` as the system's own version library reads it.
class SystemVersionBlock {
 public:
  explicit SystemVersionBlock(const std::string& path) {
    DWORD ignored = 0;
    block_.resize(GetFileVersionInfoSizeA(path.c_str(), &ignored));
    if (block_.empty() ||
        !GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(block_.size()), block_.data())) {
      block_.clear();
    }
  }

  // The report's lines of the string fields, each ended by a line feed.
  std::string fieldLines() const {
    const WORD* translation = nullptr;
    std::string lines;
    if (!query("\\VarFileInfo\\Translation", &translation)) return lines;
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", translation[0], translation[1]);
    for (const char* field : kFieldKeys) {
      const char* value = nullptr;
      const std::string path = std::string("\\StringFileInfo\\") + key + "\\" + field;
      if (query(path.c_str(), &value)) lines += std::string(field) + ":\t" + value + "\n";
    }
    return lines;
  }

  // The platform's name of the block's language.
  std::string languageName() const {
    const WORD* translation = nullptr;
    char name[128] = {};
    if (query("\\VarFileInfo\\Translation", &translation)) {
      VerLanguageNameA(translation[0], name, sizeof name);
    }
    return name;
  }

 private:
  template <typename Value>
  bool query(const char* path, const Value** value) const {
    void* found = nullptr;
    UINT length = 0;
    if (block_.empty() || !VerQueryValueA(block_.data(), path, &found, &length)) return false;
    *value = static_cast<const Value*>(found);
    return true;
  }

  std::vector<char> block_;
};

// The version lines of `sample` as the platform's version library gives them: its language,
// 0x0409, is named by the platform (Wine calls it plain "English").
std::string systemVersionLines(const std::string& sample) {
  const SystemVersionBlock block(sample);
  return block.fieldLines() + "Language:   \t" + block.languageName();
}

// The report on a copy of the sample, which is no known build. `largeAddress` is "Yes" or
// "No".
std::string expectedReport(const std::string& sample, uintmax_t size, const char* largeAddress) {
  return systemVersionLines(sample) +
         "\n\nSH3 Patchversion:      ----   QUIRN not possible / nicht m\xF6glich !!"
         "\n\n4GB-Patch:                  " +
         largeAddress + "\n\nGr\xF6\xDF" "e / Size:                " + std::to_string(size) +
         " Bytes";
}

// The byte of sh3.exe that holds the large-address flag (0x20).
constexpr size_t kHeaderByte = 286;

// The byte at kHeaderByte of `path` as it stands on disk, read through a handle that gets
// in no other opener's way; -1 when it cannot be read.
int byteOnDisk(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return -1;
  char byte = 0;
  DWORD got = 0;
  SetFilePointer(file, kHeaderByte, nullptr, FILE_BEGIN);
  const bool read = ReadFile(file, &byte, 1, &got, nullptr) && got == 1;
  CloseHandle(file);
  return read ? byte : -1;
}

// Under Wine the Unix file system is drive Z:.
std::string wineDrivePath(std::string unixPath) {
  std::replace(unixPath.begin(), unixPath.end(), '/', '\\');
  return "Z:" + unixPath;
}

class WineRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The program's texts are Windows-1252 bytes and reach the screen through the ANSI
    // interfaces; only under that code page do they read back as the same bytes.
    ASSERT_EQ(GetACP(), 1252u) << "the Wine session must run with the Windows-1252 code page";
    ASSERT_TRUE(fs::is_regular_file(program_)) << program_;
    ASSERT_TRUE(fs::is_regular_file(sample_)) << sample_;
  }

  // Puts a copy of the sample into `folder` as sh3.exe; its size.
  uintmax_t placeSample(const TempDir& folder) {
    fs::copy_file(sample_, folder.path() / "sh3.exe");
    return fs::file_size(folder.path() / "sh3.exe");
  }

  // The next box of `run`: checks its caption, body and single OK button, then presses OK.
  static void answerMessageBox(const ChildProcess& run, const char* caption,
                               const std::string& text) {
    const HWND box = waitForDialog(run.id(), kWaitMs);
    ASSERT_NE(box, nullptr) << "no box \"" << caption << "\"";
    const MessageBoxReading reading = readMessageBox(box);
    ASSERT_EQ(reading.caption, caption);
    EXPECT_EQ(reading.text, text);
    EXPECT_EQ(reading.buttons, std::vector<int>{IDOK});
    ASSERT_TRUE(pressButton(box, IDOK, kWaitMs));
  }

  // The folder chooser of `run`, with its title line.
  static HWND waitForChooser(const ChildProcess& run) {
    const HWND chooser = waitForDialog(run.id(), kWaitMs);
    if (chooser == nullptr || !isFolderChooser(chooser)) return nullptr;
    const std::vector<std::string> texts = staticTexts(chooser);
    EXPECT_NE(std::find(texts.begin(), texts.end(), kChooserTitle), texts.end());
    return chooser;
  }

  // A run of `program` in a folder without sh3.exe: the question, the chooser answered
  // with `sampleFolder`, which gets a copy of the sample, and the report on that copy.
  void runFromTheChosenFolder(const std::string& program, const TempDir& sampleFolder) {
    const uintmax_t size = placeSample(sampleFolder);
    ChildProcess run(program, emptyFolder_.path().string());
    ASSERT_TRUE(run.started()) << "cannot start " << program << ": error " << run.startError();
    ASSERT_NO_FATAL_FAILURE(answerMessageBox(run, kQuestionCaption, kQuestionText));
    const HWND chooser = waitForChooser(run);
    ASSERT_NE(chooser, nullptr) << "no folder chooser";
    ASSERT_TRUE(selectFolder(run.handle(), chooser, sampleFolder.path().string(), kWaitMs));
    ASSERT_TRUE(pressButton(chooser, IDOK, kWaitMs));
    ASSERT_NO_FATAL_FAILURE(
        answerMessageBox(run, kResultCaption, expectedReport(sample_, size, "No")));
    expectNormalEnd(run);
  }

  static void expectNormalEnd(const ChildProcess& run) {
    DWORD exitCode = 0;
    ASSERT_TRUE(run.waitForExit(kWaitMs, exitCode)) << "the program did not end";
    EXPECT_EQ(exitCode, 0u);
  }

  const std::string program_ = wineDrivePath(BRINEMARK_EXE);
  const std::string sample_ = wineDrivePath(BRINEMARK_SAMPLE_SH3);
  // The current folder of a run that finds no sh3.exe there.
  TempDir emptyFolder_;
};

TEST_F(WineRunTest, SystemVersionLibraryReadsTheSampleAsItWasBuilt) {
  EXPECT_EQ(SystemVersionBlock(sample_).fieldLines(), kSampleFieldLines);
}

TEST_F(WineRunTest, SampleInTheCurrentFolderIsReportedAtOnceAndLeftAsItWas) {
  // The byte at offset 286 holds the large-address flag (0x20). The run clears it on disk
  // while it takes the digest and must put it back before it reports.
  const struct {
    const char* name;
    bool flagged;
    const char* largeAddress;
  } cases[] = {
      {"as built", false, "No"},
      {"large-address flag set", true, "Yes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir folder;
    const uintmax_t size = placeSample(folder);
    std::string bytes = readFile(folder.file("sh3.exe"));
    ASSERT_GT(bytes.size(), kHeaderByte);
    ASSERT_EQ(bytes[kHeaderByte] & 0x20, 0) << "the sample itself has no large-address flag";
    if (c.flagged) {
      bytes[kHeaderByte] = static_cast<char>(bytes[kHeaderByte] | 0x20);
      writeFile(folder.file("sh3.exe"), bytes);
    }

    ChildProcess run(program_, folder.path().string());
    ASSERT_TRUE(run.started()) << "cannot start " << program_ << ": error " << run.startError();
    ASSERT_NO_FATAL_FAILURE(
        answerMessageBox(run, kResultCaption, expectedReport(sample_, size, c.largeAddress)));
    expectNormalEnd(run);
    EXPECT_EQ(readFile(folder.file("sh3.exe")), bytes) << "the file must be left as it was";
  }
}

TEST_F(WineRunTest, MissingSampleIsAskedForAndReportedFromTheChosenFolder) {
  TempDir sampleFolder;
  ASSERT_NO_FATAL_FAILURE(runFromTheChosenFolder(program_, sampleFolder));
}

TEST_F(WineRunTest, CancelledChooserEndsWithTheNotFoundError) {
  ChildProcess run(program_, emptyFolder_.path().string());
  ASSERT_TRUE(run.started()) << "cannot start " << program_ << ": error " << run.startError();
  ASSERT_NO_FATAL_FAILURE(answerMessageBox(run, kQuestionCaption, kQuestionText));
  const HWND chooser = waitForChooser(run);
  ASSERT_NE(chooser, nullptr) << "no folder chooser";
  ASSERT_TRUE(pressButton(chooser, IDCANCEL, kWaitMs));
  ASSERT_NO_FATAL_FAILURE(answerMessageBox(run, kErrorCaption, kErrorText));
  expectNormalEnd(run);
}

TEST_F(WineRunTest, DirectoryNamedLikeTheExecutableEndsTheRunWithoutABox) {
  TempDir folder;
  fs::create_directory(folder.path() / "sh3.exe");

  ChildProcess run(program_, folder.path().string());
  ASSERT_TRUE(run.started()) << "cannot start " << program_ << ": error " << run.startError();
  // Any box would hold the program up until it is answered.
  expectNormalEnd(run);
  EXPECT_TRUE(fs::is_directory(folder.path() / "sh3.exe"));
  EXPECT_TRUE(fs::is_empty(folder.path() / "sh3.exe"));
}

TEST_F(WineRunTest, FileHeldElsewhereThroughTheRestoreGetsTheWarningBox) {
  // A flagged copy of the sample, made long with zeros so that its digest takes long enough
  // for this test to take hold of the file while the byte is cleared.
  constexpr uintmax_t kLength = 128u << 20;
  TempDir folder;
  placeSample(folder);
  const std::string exe = folder.file("sh3.exe");
  std::string sample = readFile(exe);
  sample[kHeaderByte] = static_cast<char>(sample[kHeaderByte] | 0x20);
  writeFile(exe, sample);
  fs::resize_file(exe, kLength);

  ChildProcess run(program_, folder.path().string());
  ASSERT_TRUE(run.started()) << "cannot start " << program_ << ": error " << run.startError();
  // Watched through a handle that shares reading and writing, so the probe's own opens
  // are never refused; once the cleared byte is on disk, a read-only open that shares
  // reading only, as a virus scanner's may, takes hold: it succeeds as soon as the program
  // has closed its write handle and refuses every write open after it.
  const char cleared = static_cast<char>(sample[kHeaderByte] & 0x0F);
  OsFile holder;
  const DWORD start = GetTickCount();
  while (!holder && GetTickCount() - start < kWaitMs) {
    if (byteOnDisk(exe) == cleared) {
      while (!holder && GetTickCount() - start < kWaitMs) {
        holder = OsFile::open(exe.c_str(), OsFile::Access::kReadOnly);
      }
    }
  }
  ASSERT_TRUE(holder) << "the cleared byte was never seen on disk";
  char held = 0;
  holder.seekTo(kHeaderByte);
  ASSERT_EQ(holder.read(&held, 1), 1);
  ASSERT_EQ(held, cleared) << "the byte was restored before the file was held";

  char saved[5];
  std::snprintf(saved, sizeof saved, "0x%02X", sample[kHeaderByte] & 0xFF);
  ASSERT_NO_FATAL_FAILURE(answerMessageBox(
      run, kErrorCaption,
      std::string("Das \"4GB-Patch\"-Byte von SH3.EXE konnte nicht wiederhergestellt werden:\n"
                  "an Offset 286 (0x11E) muss der Wert ") + saved + " stehen.\n"
      "The \"4GB-Patch\" byte of SH3.EXE could not be restored:\n"
      "offset 286 (0x11E) must hold the value " + saved + "."));
  expectNormalEnd(run);
  holder = OsFile();

  // The program could not write the byte back; nothing else of the file changed.
  const std::string after = readFile(exe);
  ASSERT_EQ(after.size(), kLength);
  std::string expected = sample;
  expected[kHeaderByte] = cleared;
  EXPECT_EQ(after.compare(0, expected.size(), expected), 0);
  EXPECT_EQ(after.find_first_not_of('\0', expected.size()), std::string::npos);
}

// DLLs that a run through the question, the chooser and the result box loads after its
// start-up, each planted beside the program. To refresh the list: run the program under
// WINEDEBUG=+loaddll through the three boxes and take every DLL it loads that a program
// importing only KERNEL32, msvcrt, ole32 and USER32 does not load before its first
// instruction. version.dll cannot be here: Wine's own user32 imports it before the program
// starts, which Windows does not (planted_dll_test covers the version report's own load).
constexpr const char* kPlantedNames[] = {
    "apphelp", "comctl32", "dwmapi", "msimg32", "oleacc",  "oleaut32", "propsys",
    "setupapi", "shcore",  "shell32", "shlwapi", "userenv", "uxtheme",
};

// Empty DLLs under every planted name in `folder`, and the WINEDLLOVERRIDES value that makes
// Wine take a DLL beside the program before its own, as Windows does.
std::string plantDlls(const TempDir& folder) {
  std::string overrides;
  for (const char* name : kPlantedNames) {
    fs::copy_file(wineDrivePath(BRINEMARK_PLANTED_EMPTY),
                  folder.path() / (std::string(name) + ".dll"));
    overrides += std::string(overrides.empty() ? "" : ",") + name;
  }
  return overrides + "=n,b";
}

// Sets an environment variable for the programs this test starts, and takes it back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    SetEnvironmentVariableA(name, value.c_str());
  }
  ~ScopedEnvironment() { SetEnvironmentVariableA(name_, nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const char* name_;
};

// Wine's debug channels write to the standard error that a started program inherits from
// this test, not to a handle it is given; wine-run sends this test's standard error to the
// file named here. Reads what was added to it since the owner was made.
class LoadLog {
 public:
  LoadLog() : path_(logPath()), start_(readFile(path_).size()) {}
  std::string added() const { return readFile(path_).substr(start_); }

 private:
  static std::string logPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("BRINEMARK_STDERR_FILE", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? wineDrivePath(path) : std::string();
  }
  std::string path_;
  size_t start_;
};

// The paths of the modules that Wine's load log says were loaded, in lower case.
std::vector<std::string> loadedModules(const std::string& log) {
  std::vector<std::string> modules;
  const std::string marker = "Loaded L\"";
  for (size_t at = log.find(marker); at != std::string::npos; at = log.find(marker, at)) {
    at += marker.size();
    std::string path = log.substr(at, log.find('"', at) - at);
    for (size_t slash; (slash = path.find("\\\\")) != std::string::npos;) path.erase(slash, 1);
    std::transform(path.begin(), path.end(), path.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    modules.push_back(path);
  }
  return modules;
}

// The modules of `log` that came from `folder`, other than `program`.
std::vector<std::string> plantsLoaded(const std::string& log, const TempDir& folder,
                                      const std::string& program) {
  std::string prefix = folder.path().string() + "\\";
  std::string own = prefix + program;
  for (std::string* text : {&prefix, &own}) {
    std::transform(text->begin(), text->end(), text->begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  }
  std::vector<std::string> plants;
  for (const std::string& module : loadedModules(log)) {
    if (module.compare(0, prefix.size(), prefix) == 0 && module != own) plants.push_back(module);
  }
  return plants;
}

TEST_F(WineRunTest, DllsPlantedBesideTheProgramAreNeverLoaded) {
  TempDir gameFolder;
  TempDir sampleFolder;
  fs::copy_file(program_, gameFolder.path() / "brinemark.exe");
  const ScopedEnvironment overrides("WINEDLLOVERRIDES", plantDlls(gameFolder));
  const ScopedEnvironment loadLog("WINEDEBUG", "+loaddll");
  const LoadLog log;
  ASSERT_NO_FATAL_FAILURE(runFromTheChosenFolder(gameFolder.file("brinemark.exe"), sampleFolder));
  const std::string loads = log.added();
  ASSERT_FALSE(loadedModules(loads).empty()) << "the load log is empty";
  EXPECT_EQ(plantsLoaded(loads, gameFolder, "brinemark.exe"), std::vector<std::string>{});
}

TEST_F(WineRunTest, ProgramWithoutTheMeasuresLoadsAPlantedDll) {
  // Proves that the plants are real: a program that imports common controls and takes no
  // measure loads at least one of them.
  TempDir gameFolder;
  fs::copy_file(wineDrivePath(BRINEMARK_UNGUARDED_PROGRAM), gameFolder.path() / "unguarded.exe");
  const ScopedEnvironment overrides("WINEDLLOVERRIDES", plantDlls(gameFolder));
  const ScopedEnvironment loadLog("WINEDEBUG", "+loaddll");
  const LoadLog log;
  {
    ChildProcess run(gameFolder.file("unguarded.exe"), emptyFolder_.path().string());
    ASSERT_TRUE(run.started()) << "error " << run.startError();
    // The program may not get as far as its box with a plant in place of a system DLL.
    const HWND box = waitForDialog(run.id(), 5000);
    if (box != nullptr) closeDialog(box, kWaitMs);
    DWORD exitCode = 0;
    run.waitForExit(kWaitMs, exitCode);
  }
  const std::string loads = log.added();
  ASSERT_FALSE(loadedModules(loads).empty()) << "the load log is empty";
  EXPECT_NE(plantsLoaded(loads, gameFolder, "unguarded.exe"), std::vector<std::string>{});
}

}  // namespace
