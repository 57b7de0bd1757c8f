#include "support/live_box.h"

#include <commctrl.h>

namespace {

constexpr DWORD kPollMs = 50;
// How long one window may take to answer one message before it counts as hung.
constexpr DWORD kAnswerMs = 5000;
// A chooser's selection counts as settled when it has not moved for this long.
constexpr DWORD kSettledForMs = 500;

std::string className(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

// A bounded SendMessage; the answer, or 0 when the window did not answer in time.
LRESULT ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kAnswerMs, &answer)) {
    return 0;
  }
  return static_cast<LRESULT>(answer);
}

// Asked with WM_GETTEXT rather than GetWindowText, which does not ask the controls of
// another process.
std::string textOf(HWND window) {
  const LRESULT length = ask(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_NORMAL, kAnswerMs, &copied);
  text.resize(copied);
  return text;
}

std::wstring wideTextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kAnswerMs, &length) ||
      length == 0) {
    return {};
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_NORMAL, kAnswerMs, &copied);
  text.resize(copied);
  return text;
}

BOOL CALLBACK collectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

// All descendants of `parent`, in window order.
std::vector<HWND> descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND firstDescendant(HWND parent, const char* windowClass) {
  for (const HWND child : descendants(parent)) {
    if (className(child) == windowClass) return child;
  }
  return nullptr;
}

bool isIconStatic(HWND control) {
  return (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

struct DialogSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK considerWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<DialogSearch*>(context);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search.processId || !IsWindowVisible(window) ||
      className(window) != "#32770") {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

bool isClosed(HWND dialog) { return !IsWindow(dialog) || !IsWindowVisible(dialog); }

bool waitUntilClosed(HWND dialog, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!isClosed(dialog)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
  return true;
}

}  // namespace

HWND waitForDialog(DWORD processId, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    DialogSearch search{processId, nullptr};
    EnumWindows(considerWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) return search.found;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(kPollMs);
  }
}

bool isFolderChooser(HWND dialog) { return firstDescendant(dialog, WC_TREEVIEWA) != nullptr; }

MessageBoxReading readMessageBox(HWND box) {
  MessageBoxReading reading;
  reading.caption = textOf(box);
  reading.owner = GetWindow(box, GW_OWNER);
  for (const HWND child : descendants(box)) {
    const std::string kind = className(child);
    if (kind == "Static" && isIconStatic(child)) {
      reading.icon = reinterpret_cast<HICON>(ask(child, STM_GETICON, 0, 0));
    } else if (kind == "Static") {
      reading.text = textOf(child);
      reading.textShown = wideTextOf(child);
    } else if (kind == "Button" && IsWindowVisible(child)) {
      reading.buttons.push_back(GetDlgCtrlID(child));
    }
  }
  return reading;
}

std::vector<std::string> staticTexts(HWND dialog) {
  std::vector<std::string> texts;
  for (const HWND child : descendants(dialog)) {
    if (className(child) == "Static" && !isIconStatic(child)) texts.push_back(textOf(child));
  }
  return texts;
}

std::string chooserEditText(HWND chooser) {
  const HWND edit = firstDescendant(chooser, "Edit");
  return edit != nullptr ? textOf(edit) : std::string();
}

bool waitForSettledSelection(HWND chooser, DWORD timeoutMs) {
  const HWND tree = firstDescendant(chooser, WC_TREEVIEWA);
  if (tree == nullptr) return false;
  const DWORD start = GetTickCount();
  LRESULT lastItem = 0;
  std::string lastName;
  DWORD sameSince = start;
  for (;;) {
    const LRESULT item = ask(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
    const std::string name = chooserEditText(chooser);
    const DWORD now = GetTickCount();
    if (item == 0 || item != lastItem || name != lastName) {
      lastItem = item;
      lastName = name;
      sameSince = now;
    } else if (now - sameSince >= kSettledForMs) {
      return true;
    }
    if (now - start >= timeoutMs || isClosed(chooser)) return false;
    Sleep(kPollMs);
  }
}

bool pressButton(HWND dialog, int id, DWORD timeoutMs) {
  const HWND button = GetDlgItem(dialog, id);
  if (button == nullptr || !IsWindowVisible(button) || !IsWindowEnabled(button)) return false;
  ask(button, BM_CLICK, 0, 0);
  return waitUntilClosed(dialog, timeoutMs);
}

bool closeDialog(HWND dialog, DWORD timeoutMs) {
  // Only the standard answers: another button of the chooser makes a new folder.
  for (int id = IDOK; id <= IDCONTINUE && !isClosed(dialog); ++id) {
    const HWND button = GetDlgItem(dialog, id);
    if (button != nullptr && IsWindowVisible(button) && IsWindowEnabled(button)) {
      ask(button, BM_CLICK, 0, 0);
    }
  }
  if (!isClosed(dialog)) ask(dialog, WM_CLOSE, 0, 0);
  return waitUntilClosed(dialog, timeoutMs);
}
