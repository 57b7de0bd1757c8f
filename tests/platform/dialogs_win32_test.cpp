// The real dialogs under the real Windows API: each box is read from its live window and
// answered by a watcher thread while the test's thread is blocked inside the dialog call.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/dialogs.h"
#include "support/live_box.h"

namespace {

// The first chooser of a fresh Wine prefix takes seconds to show its tree.
constexpr DWORD kAppearMs = 20000;
constexpr DWORD kSettleMs = 15000;
constexpr DWORD kCloseMs = 10000;
// After its dialog has closed, a dialog call that has not returned by then never will.
constexpr DWORD kReturnMs = 20000;
constexpr DWORD kForegroundMs = 5000;

void pumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Runs beside a dialog call: waits on its own thread for the dialog of this process and
// hands it to `answer`, which reads what it needs and closes it. A dialog left up is
// closed afterwards, and a dialog call that still does not return ends the program with a
// message, since nothing else can free the blocked thread.
class DialogWatcher {
 public:
  explicit DialogWatcher(std::function<void(HWND)> answer)
      : answer_(std::move(answer)), thread_([this] { watch(); }) {}
  ~DialogWatcher() { finish(); }
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  // Called once the dialog call has returned; waits for the watcher. True when a dialog
  // appeared.
  bool finish() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      returned_ = true;
    }
    returnedChanged_.notify_all();
    if (thread_.joinable()) thread_.join();
    return appeared_;
  }

 private:
  bool callReturned() {
    std::lock_guard<std::mutex> lock(mutex_);
    return returned_;
  }

  void watch() {
    HWND dialog = nullptr;
    const DWORD start = GetTickCount();
    while (dialog == nullptr && !callReturned() && GetTickCount() - start < kAppearMs) {
      dialog = waitForDialog(GetCurrentProcessId(), 100);
    }
    if (dialog != nullptr) {
      appeared_ = true;
      answer_(dialog);
      closeDialog(dialog, kCloseMs);
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (!returnedChanged_.wait_for(lock, std::chrono::milliseconds(kReturnMs),
                                   [this] { return returned_; })) {
      std::fprintf(stderr, "FATAL: the dialog call did not return (%s)\n",
                   dialog == nullptr ? "no dialog appeared" : "its dialog was answered");
      std::fflush(stderr);
      std::_Exit(EXIT_FAILURE);
    }
  }

  std::function<void(HWND)> answer_;
  std::mutex mutex_;
  std::condition_variable returnedChanged_;
  bool returned_ = false;
  bool appeared_ = false;
  std::thread thread_;
};

struct ShownMessage {
  int32_t result = 0;
  bool appeared = false;
  bool pressed = false;
  MessageBoxReading reading;
};

// showMessage with its box read and its OK button pressed by a watcher; `whileUp` runs
// on the watcher's thread before the press, while the box is up.
ShownMessage showWatched(const char* caption, const char* text, MessageStyle style,
                         const std::function<void(HWND)>& whileUp = {}) {
  ShownMessage shown;
  DialogWatcher watcher([&](HWND box) {
    shown.reading = readMessageBox(box);
    if (whileUp) whileUp(box);
    shown.pressed = pressButton(box, IDOK, kCloseMs);
  });
  shown.result = showMessage(caption, text, style);
  shown.appeared = watcher.finish();
  return shown;
}

struct ChosenFolder {
  std::string result;
  bool appeared = false;
  bool settled = false;
  bool pressed = false;
  std::vector<std::string> texts;
  bool editField = false;
  bool resizable = false;
};

// chooseFolder answered with `button` by a watcher once the tree's selection has settled;
// `whileUp` runs on the watcher's thread before that, while the chooser is up.
ChosenFolder chooseWatched(const char* title, const char* initialPath, int button,
                           const std::function<void(HWND)>& whileUp = {}) {
  ChosenFolder chosen;
  DialogWatcher watcher([&](HWND chooser) {
    chosen.texts = staticTexts(chooser);
    const HWND edit = FindWindowExA(chooser, nullptr, "Edit", nullptr);
    chosen.editField = edit != nullptr && IsWindowVisible(edit);
    chosen.resizable = (GetWindowLongA(chooser, GWL_STYLE) & WS_THICKFRAME) != 0;
    chosen.settled = isFolderChooser(chooser) && waitForSettledSelection(chooser, kSettleMs);
    if (whileUp) {
      whileUp(chooser);
      chosen.settled = chosen.settled && waitForSettledSelection(chooser, kSettleMs);
    }
    chosen.pressed = pressButton(chooser, button, kCloseMs);
  });
  chosen.result = chooseFolder(title, initialPath);
  chosen.appeared = watcher.finish();
  return chosen;
}

class DialogsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { initDialogSupport(); }
};

// ---------------------------------------------------------------------------------------
// Message box

TEST_F(DialogsTest, MessageBoxShowsCaptionTextAndIconWithOneOkButton) {
  // The texts are Windows-1252 bytes; they reach the screen unchanged only under that code
  // page, which the Wine session uses.
  ASSERT_EQ(GetACP(), 1252u);
  const struct {
    MessageStyle style;
    LPCSTR icon;
    const char* caption;
    const char* text;
    const wchar_t* textShown;
  } cases[] = {
      {kStyleError, IDI_HAND, "Fehler / Error", "sh3.exe fehlt\nGr\xF6\xDF" "e",
       L"sh3.exe fehlt\nGr\u00F6\u00DFe"},
      {kStyleQuestion, IDI_QUESTION, "Frage / Question", "Ordner w\xE4hlen?\n\nChoose?",
       L"Ordner w\u00E4hlen?\n\nChoose?"},
      {kStyleInformation, IDI_ASTERISK, "Gr\xF6\xDF" "e \x80", "Zeile 1\nZeile 2\tTab",
       L"Zeile 1\nZeile 2\tTab"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "style 0x" << std::hex << c.style);
    const ShownMessage shown = showWatched(c.caption, c.text, c.style);
    ASSERT_TRUE(shown.appeared) << "no box appeared";
    EXPECT_EQ(shown.reading.caption, c.caption);
    EXPECT_EQ(shown.reading.text, c.text);
    EXPECT_EQ(shown.reading.textShown, c.textShown);
    EXPECT_EQ(shown.reading.icon, LoadIcon(nullptr, c.icon));
    EXPECT_EQ(shown.reading.buttons, std::vector<int>{IDOK});
    EXPECT_TRUE(shown.pressed) << "OK did not close the box";
    EXPECT_EQ(shown.result, IDOK);
  }
}

// ---------------------------------------------------------------------------------------
// Window hold and owner

struct WindowState {
  bool enabled;
  bool topmost;
  bool operator==(const WindowState& other) const {
    return enabled == other.enabled && topmost == other.topmost;
  }
};

std::ostream& operator<<(std::ostream& out, const WindowState& state) {
  return out << (state.enabled ? "enabled" : "disabled") << ", "
             << (state.topmost ? "topmost" : "not topmost");
}

WindowState stateOf(HWND window) {
  return {IsWindowEnabled(window) != FALSE,
          (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0};
}

// A change of a test window's enabled state, as its window procedure was told of it.
struct EnableEvent {
  HWND window;
  bool enabled;
  bool operator==(const EnableEvent& other) const {
    return window == other.window && enabled == other.enabled;
  }
};

std::ostream& operator<<(std::ostream& out, const EnableEvent& event) {
  return out << event.window << (event.enabled ? " enabled" : " disabled");
}

// Every WM_ENABLE of every test window, of any thread, in the order they came.
std::mutex enableLogMutex;
std::vector<EnableEvent> enableLog;

std::vector<EnableEvent> takeEnableLog() {
  std::lock_guard<std::mutex> lock(enableLogMutex);
  return std::exchange(enableLog, {});
}

LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENABLE) {
    std::lock_guard<std::mutex> lock(enableLogMutex);
    enableLog.push_back({window, wParam != FALSE});
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

const char* windowClass() {
  static const char* const name = [] {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = testWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "BrinemarkDialogsTestWindow";
    RegisterClassA(&windowClass);
    return windowClass.lpszClassName;
  }();
  return name;
}

HWND createWindow(DWORD exStyle, bool visible) {
  static int placed = 0;
  const int offset = 40 * (placed++ % 10);
  const HWND window =
      CreateWindowExA(exStyle, windowClass(), "window", WS_POPUP | WS_BORDER, 50 + offset,
                      50 + offset, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  // Without a caption: Wine waits two seconds for a window manager whenever a captioned
  // window goes. Shown without activation, so only bringToFront decides the foreground.
  if (window != nullptr && visible) ShowWindow(window, SW_SHOWNOACTIVATE);
  pumpMessages();
  return window;
}

// A top-level window of the thread that creates it; gone with its owner.
class TestWindow {
 public:
  explicit TestWindow(DWORD exStyle = 0, bool visible = true)
      : window_(createWindow(exStyle, visible)) {}
  ~TestWindow() {
    DestroyWindow(window_);
    pumpMessages();
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND get() const { return window_; }

 private:
  HWND window_;
};

// A visible top-level window of a second thread, which serves its messages until the
// owner goes.
class OtherThreadWindow {
 public:
  explicit OtherThreadWindow(DWORD exStyle) {
    std::promise<HWND> created;
    std::future<HWND> window = created.get_future();
    thread_ = std::thread([this, exStyle, created = std::move(created)]() mutable {
      threadId_ = GetCurrentThreadId();
      const TestWindow own(exStyle);
      created.set_value(own.get());
      MSG message;
      while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    });
    window_ = window.get();
  }
  ~OtherThreadWindow() {
    PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  OtherThreadWindow(const OtherThreadWindow&) = delete;
  OtherThreadWindow& operator=(const OtherThreadWindow&) = delete;
  HWND get() const { return window_; }

 private:
  std::thread thread_;
  DWORD threadId_ = 0;
  HWND window_ = nullptr;
};

struct ProcessSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK findProcessWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<ProcessSearch*>(context);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search.processId || !IsWindowVisible(window)) return TRUE;
  search.found = window;
  return FALSE;
}

// The main window of a second program (Wine's Notepad), ended with the owner.
class OtherProgramWindow {
 public:
  OtherProgramWindow() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    char commandLine[] = "C:\\windows\\notepad.exe";
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_)) {
      process_ = {};
      return;
    }
    WaitForInputIdle(process_.hProcess, kAppearMs);
    const DWORD start = GetTickCount();
    while (window_ == nullptr && GetTickCount() - start < kAppearMs) {
      ProcessSearch search{process_.dwProcessId, nullptr};
      EnumWindows(findProcessWindow, reinterpret_cast<LPARAM>(&search));
      window_ = search.found;
      if (window_ == nullptr) Sleep(50);
    }
  }
  ~OtherProgramWindow() {
    if (process_.hProcess == nullptr) return;
    TerminateProcess(process_.hProcess, 0);
    WaitForSingleObject(process_.hProcess, kCloseMs);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  OtherProgramWindow(const OtherProgramWindow&) = delete;
  OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;
  HWND get() const { return window_; }

 private:
  PROCESS_INFORMATION process_{};
  HWND window_ = nullptr;
};

// Makes `window` the foreground window; without a window manager Wine activates it on the
// next messages of its thread.
bool bringToFront(HWND window) {
  SetForegroundWindow(window);
  const DWORD start = GetTickCount();
  while (GetForegroundWindow() != window) {
    if (GetTickCount() - start >= kForegroundMs) return false;
    pumpMessages();
    Sleep(10);
  }
  return true;
}

bool foregroundIsOfThisProcess() {
  const HWND foreground = GetForegroundWindow();
  DWORD processId = 0;
  if (foreground != nullptr) GetWindowThreadProcessId(foreground, &processId);
  return foreground != nullptr && processId == GetCurrentProcessId();
}

constexpr WindowState kEnabled{true, false};
constexpr WindowState kDisabled{false, false};
constexpr WindowState kEnabledTopmost{true, true};

TEST_F(DialogsTest, WindowsOfTheCallingThreadAreHeldWhileTheBoxIsUpAndRestoredAfter) {
  const struct {
    const char* name;
    DWORD exStyle;
    bool visible;
    bool enabled;
    WindowState whileUp;
    WindowState after;
  } cases[] = {
      {"visible and enabled", 0, true, true, kDisabled, kEnabled},
      {"already disabled", 0, true, false, kDisabled, kDisabled},
      {"topmost", WS_EX_TOPMOST, true, true, kDisabled, kEnabledTopmost},
      {"invisible", 0, false, true, kEnabled, kEnabled},
      {"invisible topmost", WS_EX_TOPMOST, false, true, kEnabledTopmost, kEnabledTopmost},
  };
  const TestWindow front;
  std::vector<std::unique_ptr<TestWindow>> windows;
  for (const auto& c : cases) {
    windows.push_back(std::make_unique<TestWindow>(c.exStyle, c.visible));
    if (!c.enabled) EnableWindow(windows.back()->get(), FALSE);
  }
  ASSERT_TRUE(bringToFront(front.get())) << "cannot make a window of this thread foreground";

  std::vector<WindowState> whileUp(windows.size());
  const ShownMessage shown = showWatched("Hold", "Held", kStyleInformation, [&](HWND) {
    for (size_t i = 0; i < windows.size(); ++i) whileUp[i] = stateOf(windows[i]->get());
  });
  ASSERT_TRUE(shown.appeared) << "no box appeared";
  EXPECT_EQ(shown.result, IDOK);
  for (size_t i = 0; i < windows.size(); ++i) {
    SCOPED_TRACE(cases[i].name);
    EXPECT_EQ(whileUp[i], cases[i].whileUp) << "while the box is up";
    EXPECT_EQ(stateOf(windows[i]->get()), cases[i].after) << "after the box";
  }
}

// True when `upper` lies above `lower` in the z-order.
bool isAbove(HWND upper, HWND lower) {
  for (HWND below = GetWindow(upper, GW_HWNDNEXT); below != nullptr;
       below = GetWindow(below, GW_HWNDNEXT)) {
    if (below == lower) return true;
  }
  return false;
}

TEST_F(DialogsTest, ForegroundWindowIsLeftToItsBoxAndLeavesTheTopmostBandWhileItIsUp) {
  // The foreground window owns the box, and the box disables it while it is up. Under Wine
  // the box also enables it on closing, whatever disabled it, so its states cannot tell
  // whether the hold disabled it too; the order of its WM_ENABLE messages can. The hold
  // disables the thread's windows from the top of the z-order down, all before the box
  // exists, and the box disables its owner after that: a foreground window, on top,
  // disabled by the hold would come first.
  const struct {
    const char* name;
    DWORD exStyle;
    WindowState whileUp;
    WindowState after;
  } cases[] = {
      {"plain", 0, kDisabled, kEnabled},
      {"topmost", WS_EX_TOPMOST, kDisabled, kEnabledTopmost},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TestWindow other;
    const TestWindow front(c.exStyle);
    ASSERT_TRUE(bringToFront(front.get())) << "cannot make a window of this thread foreground";
    ASSERT_TRUE(isAbove(front.get(), other.get()));
    takeEnableLog();

    WindowState whileUp{};
    const ShownMessage shown = showWatched("Front", "Front", kStyleInformation,
                                           [&](HWND) { whileUp = stateOf(front.get()); });
    ASSERT_TRUE(shown.appeared) << "no box appeared";
    EXPECT_EQ(shown.reading.owner, front.get());
    EXPECT_EQ(whileUp, c.whileUp) << "while the box is up";
    EXPECT_EQ(stateOf(front.get()), c.after) << "after the box";
    EXPECT_EQ(GetForegroundWindow(), front.get()) << "after the box";
    const std::vector<EnableEvent> expected = {
        {other.get(), false}, {front.get(), false}, {front.get(), true}, {other.get(), true}};
    EXPECT_EQ(takeEnableLog(), expected)
        << "front " << front.get() << ", other " << other.get();
  }
}

TEST_F(DialogsTest, WindowsOfOtherThreadsAreLeftAlone) {
  const TestWindow front;
  const OtherThreadWindow plain(0);
  const OtherThreadWindow topmost(WS_EX_TOPMOST);
  ASSERT_TRUE(bringToFront(front.get())) << "cannot make a window of this thread foreground";
  WindowState plainWhileUp{};
  WindowState topmostWhileUp{};
  const ShownMessage shown = showWatched("Other", "Other", kStyleInformation, [&](HWND) {
    plainWhileUp = stateOf(plain.get());
    topmostWhileUp = stateOf(topmost.get());
  });
  ASSERT_TRUE(shown.appeared) << "no box appeared";
  EXPECT_EQ(plainWhileUp, kEnabled);
  EXPECT_EQ(topmostWhileUp, kEnabledTopmost);
  EXPECT_EQ(stateOf(plain.get()), kEnabled);
  EXPECT_EQ(stateOf(topmost.get()), kEnabledTopmost);
}

TEST_F(DialogsTest, WindowDisabledBetweenTwoBoxesStaysDisabled) {
  // Each box releases what it held; a record left over from the first would enable the
  // window again after the second.
  const TestWindow front;
  const TestWindow window;
  ASSERT_TRUE(bringToFront(front.get())) << "cannot make a window of this thread foreground";
  ASSERT_TRUE(showWatched("First", "First", kStyleInformation).appeared);
  ASSERT_EQ(stateOf(window.get()), kEnabled);
  EnableWindow(window.get(), FALSE);
  ASSERT_TRUE(bringToFront(front.get()));
  ASSERT_TRUE(showWatched("Second", "Second", kStyleInformation).appeared);
  EXPECT_EQ(stateOf(window.get()), kDisabled);
}

TEST_F(DialogsTest, BoxBelongsToTheForegroundWindowOnlyWhenThatIsOfThisProcess) {
  {
    SCOPED_TRACE("foreground window of the calling thread");
    const TestWindow front;
    ASSERT_TRUE(bringToFront(front.get()));
    EXPECT_EQ(showWatched("Owner", "Owner", kStyleQuestion).reading.owner, front.get());
  }
  {
    SCOPED_TRACE("foreground window of another thread of this process");
    const OtherThreadWindow front(0);
    ASSERT_TRUE(bringToFront(front.get()));
    EXPECT_EQ(showWatched("Owner", "Owner", kStyleQuestion).reading.owner, front.get());
  }
  {
    SCOPED_TRACE("foreground window of another program");
    const OtherProgramWindow front;
    ASSERT_NE(front.get(), nullptr) << "Notepad did not start";
    ASSERT_TRUE(bringToFront(front.get()));
    const ShownMessage shown = showWatched("Owner", "Owner", kStyleQuestion);
    ASSERT_TRUE(shown.appeared);
    EXPECT_EQ(shown.reading.owner, nullptr);
  }
  {
    SCOPED_TRACE("no visible window in this process");
    ASSERT_FALSE(foregroundIsOfThisProcess());
    const ShownMessage shown = showWatched("Owner", "Owner", kStyleQuestion);
    ASSERT_TRUE(shown.appeared);
    EXPECT_EQ(shown.reading.owner, nullptr);
  }
}

// ---------------------------------------------------------------------------------------
// Folder chooser

namespace fs = std::filesystem;

constexpr char kTitle[] = "W\xE4hle den Ordner / Choose the folder";

class ChooserTest : public DialogsTest {
 protected:
  void SetUp() override {
    std::error_code ignored;
    fs::remove_all(kRoot, ignored);
    ASSERT_TRUE(fs::create_directories(games_));
    // Nested so that exactly the first 259 characters of a longer path name a folder.
    longFolder_ = std::string(kRoot) + "\\" + std::string(200, 'L');
    longFolder_ += "\\" + std::string(258 - longFolder_.size(), 'M');
    ASSERT_EQ(longFolder_.size(), 259u);
    ASSERT_TRUE(fs::create_directories(longFolder_));
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(kRoot, ignored);
  }

  static constexpr char kRoot[] = "C:\\brinemark-chooser";
  const std::string games_ = std::string(kRoot) + "\\Games";
  std::string longFolder_;
};

TEST_F(ChooserTest, ConfirmedFolderComesBackEndingInOneBackslash) {
  const std::string tooLong = longFolder_ + "\\" + std::string(40, 'x');
  ASSERT_EQ(tooLong.size(), 300u);
  const struct {
    std::string initial;
    std::string expected;
  } cases[] = {
      {"C:\\", "C:\\"},
      {games_ + "\\", games_ + "\\"},
      {games_, games_ + "\\"},
      {tooLong, longFolder_ + "\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("initial path " + c.initial);
    const ChosenFolder chosen = chooseWatched(kTitle, c.initial.c_str(), IDOK);
    ASSERT_TRUE(chosen.appeared) << "no chooser appeared";
    EXPECT_TRUE(chosen.settled) << "the selection did not settle";
    EXPECT_TRUE(chosen.pressed) << "OK did not close the chooser";
    EXPECT_EQ(chosen.result, c.expected);
  }
}

TEST_F(ChooserTest, IsTheResizableChooserWithTitleAndEditField) {
  const ChosenFolder chosen = chooseWatched(kTitle, "C:\\", IDCANCEL);
  ASSERT_TRUE(chosen.appeared) << "no chooser appeared";
  EXPECT_NE(std::find(chosen.texts.begin(), chosen.texts.end(), kTitle), chosen.texts.end())
      << "the title is not among the texts shown: " << testing::PrintToString(chosen.texts);
  EXPECT_TRUE(chosen.editField) << "no edit field to type a folder in";
  EXPECT_TRUE(chosen.resizable) << "not the new, resizable chooser";
}

TEST_F(ChooserTest, CancelGivesAnEmptyText) {
  const char* const initialPaths[] = {"C:\\", "", nullptr};
  for (const char* initial : initialPaths) {
    SCOPED_TRACE(initial == nullptr ? "no initial path" : initial);
    const ChosenFolder chosen = chooseWatched(kTitle, initial, IDCANCEL);
    ASSERT_TRUE(chosen.appeared) << "no chooser appeared";
    EXPECT_TRUE(chosen.pressed) << "Cancel did not close the chooser";
    EXPECT_EQ(chosen.result, "");
  }
}

TEST_F(ChooserTest, ItemWithoutAFileSystemPathGivesAnEmptyText) {
  // "My Computer" is an item of the shell namespace, not a folder on disk.
  PIDLIST_ABSOLUTE item = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &item), S_OK);
  const std::unique_ptr<ITEMIDLIST, decltype(&CoTaskMemFree)> computer(item, CoTaskMemFree);
  const ChosenFolder chosen = chooseWatched(kTitle, "C:\\", IDOK, [&](HWND chooser) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(chooser, BFFM_SETSELECTIONA, FALSE,
                        reinterpret_cast<LPARAM>(computer.get()), SMTO_NORMAL, kCloseMs,
                        &ignored);
  });
  ASSERT_TRUE(chosen.appeared) << "no chooser appeared";
  EXPECT_TRUE(chosen.settled) << "the selection did not settle";
  EXPECT_TRUE(chosen.pressed) << "OK did not close the chooser";
  EXPECT_EQ(chosen.result, "");
}

TEST_F(ChooserTest, ChooserHoldsTheWindowsOfTheCallingThreadAndBelongsToTheForeground) {
  const TestWindow front;
  const TestWindow window;
  ASSERT_TRUE(bringToFront(front.get())) << "cannot make a window of this thread foreground";
  WindowState whileUp{};
  HWND owner = nullptr;
  const ChosenFolder chosen = chooseWatched(kTitle, "C:\\", IDCANCEL, [&](HWND chooser) {
    whileUp = stateOf(window.get());
    owner = GetWindow(chooser, GW_OWNER);
  });
  ASSERT_TRUE(chosen.appeared) << "no chooser appeared";
  EXPECT_EQ(owner, front.get());
  EXPECT_EQ(whileUp, kDisabled);
  EXPECT_EQ(stateOf(window.get()), kEnabled);
}

}  // namespace
