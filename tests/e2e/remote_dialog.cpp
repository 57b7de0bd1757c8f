#include "e2e/remote_dialog.h"

#include <shlobj.h>

namespace {

constexpr DWORD kPollMs = 100;
// How long a window of the other process may take to answer one message.
constexpr DWORD kAnswerMs = 5000;
// Pause between selection requests while the chooser's tree fills.
constexpr DWORD kSettleMs = 500;
// The static that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;

std::string className(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

struct DialogSearch {
  DWORD processId;
  const std::function<bool(HWND)>* accept;
  HWND found;
};

BOOL CALLBACK considerWindow(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<DialogSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || !IsWindowVisible(window) || className(window) != "#32770" ||
      (*search.accept && !(*search.accept)(window))) {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

BOOL CALLBACK collectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

std::vector<HWND> children(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Memory in another process that holds a copy of a text, freed when the owner goes.
class RemoteText {
 public:
  RemoteText(HANDLE process, const std::string& text)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, text.size() + 1, MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE)) {
    if (address_ != nullptr &&
        !WriteProcessMemory(process, address_, text.c_str(), text.size() + 1, nullptr)) {
      release();
    }
  }
  ~RemoteText() { release(); }
  RemoteText(const RemoteText&) = delete;
  RemoteText& operator=(const RemoteText&) = delete;

  LPARAM address() const { return reinterpret_cast<LPARAM>(address_); }
  explicit operator bool() const { return address_ != nullptr; }

 private:
  void release() {
    if (address_ != nullptr) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    address_ = nullptr;
  }

  HANDLE process_;
  void* address_;
};

}  // namespace

HWND waitForDialog(DWORD processId, const std::function<bool(HWND)>& accept, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    DialogSearch search{processId, &accept, nullptr};
    EnumWindows(considerWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr || GetTickCount64() >= deadline) return search.found;
    Sleep(kPollMs);
  }
}

std::string windowText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
  return text;
}

std::string controlText(HWND control) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(control, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerMs, &length)) {
    return {};
  }
  std::string text(length + 1, '\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                           SMTO_ABORTIFHUNG, kAnswerMs, &copied)) {
    return {};
  }
  text.resize(copied);
  return text;
}

std::string messageBoxText(HWND box) {
  std::string text = controlText(GetDlgItem(box, kMessageTextId));
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
    text.erase(at, 1);
  }
  return text;
}

std::vector<std::string> staticTexts(HWND dialog) {
  std::vector<std::string> texts;
  for (HWND child : children(dialog)) {
    if (className(child) == "Static") texts.push_back(controlText(child));
  }
  return texts;
}

std::vector<int> visibleButtons(HWND dialog) {
  std::vector<int> ids;
  for (HWND child : children(dialog)) {
    if (className(child) == "Button" && IsWindowVisible(child)) ids.push_back(GetDlgCtrlID(child));
  }
  return ids;
}

bool pressButton(HWND dialog, int id, DWORD timeoutMs) {
  const HWND button = GetDlgItem(dialog, id);
  if (button == nullptr) return false;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (IsWindow(dialog)) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
  return true;
}

bool selectFolder(HANDLE process, HWND chooser, const std::string& folder, DWORD timeoutMs) {
  const RemoteText path(process, folder);
  if (!path) return false;
  // The edit field shows the name of the selected folder, the last part of its path.
  const std::string name = folder.substr(folder.find_last_of('\\') + 1);
  HWND edit = nullptr;
  for (HWND child : children(chooser)) {
    if (className(child) == "Edit") edit = child;
  }
  if (edit == nullptr) return false;
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(chooser, BFFM_SETSELECTIONA, TRUE, path.address(), SMTO_ABORTIFHUNG,
                        kAnswerMs, &ignored);
    Sleep(kSettleMs);
    if (controlText(edit) == name) return true;
    if (GetTickCount64() >= deadline) return false;
  }
}
