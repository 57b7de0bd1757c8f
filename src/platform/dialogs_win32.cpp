#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>
#include <new>

#include "platform/chooser_path.h"
#include "platform/dialogs.h"
#include "platform/win32_owner.h"

namespace {

// A top-level window changed while a dialog is up, and what to undo afterwards.
struct HeldWindow {
  DWORD threadId;
  HWND window;
  BYTE wasTopmost;
  BYTE disabledHere;
  std::unique_ptr<HeldWindow> next;
};

// Newest first; holds no record of a thread between its dialogs.
std::unique_ptr<HeldWindow> heldWindows;
// The chooser joins COM itself on its first call, whatever start-up did.
bool chooserJoinedCom = false;
// Common controls are no Known DLL, so they are never imported, where a copy beside the
// program would be taken, but loaded from the system folder (the manifest still binds the
// name to version 6). Loaded once and kept: the registered classes live as long as it does.
Library commonControls;

struct PidlTraits {
  using Value = PIDLIST_ABSOLUTE;
  static Value none() { return nullptr; }
  static void release(Value list) { CoTaskMemFree(list); }
};
using ItemIdList = Win32Owner<PidlTraits>;

HWND dialogOwner() {
  const HWND foreground = GetForegroundWindow();
  if (foreground == nullptr) return nullptr;
  DWORD processId = 0;
  GetWindowThreadProcessId(foreground, &processId);
  return processId == GetCurrentProcessId() ? foreground : nullptr;
}

BOOL CALLBACK holdWindow(HWND window, LPARAM) {
  if (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() ||
      !IsWindowVisible(window)) {
    return TRUE;
  }
  // The record is stored before the window is changed: one that cannot be stored is
  // left alone, so nothing is ever changed without a way back.
  std::unique_ptr<HeldWindow> record(
      new (std::nothrow) HeldWindow{GetCurrentThreadId(), window, 0, 0, nullptr});
  if (!record) return TRUE;
  record->next = std::move(heldWindows);
  heldWindows = std::move(record);

  HeldWindow& held = *heldWindows;
  if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) held.wasTopmost = 1;
  if (window != GetForegroundWindow() && IsWindowEnabled(window)) {
    held.disabledHere = 1;
    EnableWindow(window, FALSE);
  }
  return TRUE;
}

void holdThreadWindows(bool hold) {
  const DWORD thread = GetCurrentThreadId();
  if (hold) {
    EnumWindows(holdWindow, 0);
    for (HeldWindow* held = heldWindows.get(); held != nullptr; held = held->next.get()) {
      if (held->threadId == thread && held->wasTopmost) {
        SetWindowPos(held->window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      }
    }
    return;
  }
  std::unique_ptr<HeldWindow>* link = &heldWindows;
  while (*link) {
    HeldWindow& held = **link;
    if (held.threadId != thread) {
      link = &held.next;
      continue;
    }
    if (held.disabledHere) EnableWindow(held.window, TRUE);
    if (held.wasTopmost) {
      SetWindowPos(held.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    *link = std::move(held.next);
  }
}

// Selects the initial folder once the chooser is up. The second, posted request is
// handled after the tree has filled, which the first one may come too early for.
int CALLBACK selectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM initialPath) {
  if (message == BFFM_INITIALIZED) {
    SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, initialPath);
    Sleep(200);
    PostMessageA(dialog, BFFM_SETSELECTIONA, TRUE, initialPath);
  }
  return 0;
}

}  // namespace

void initDialogSupport() {
  if (!commonControls) commonControls = loadSystemLibrary("comctl32.dll");
  const auto initCommonControls =
      procAddress<decltype(&::InitCommonControlsEx)>(commonControls, "InitCommonControlsEx");
  if (initCommonControls != nullptr) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_TAB_CLASSES | ICC_HOTKEY_CLASS | ICC_DATE_CLASSES |
                     ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES;
    initCommonControls(&controls);
  }
  CoInitialize(nullptr);
}

int32_t showMessage(const char* caption, const char* text, MessageStyle style) {
  holdThreadWindows(true);
  const int result = MessageBoxA(dialogOwner(), text, caption, style);
  holdThreadWindows(false);
  return result;
}

std::string chooseFolder(const char* title, const char* initialPath) {
  if (!chooserJoinedCom) {
    CoInitialize(nullptr);
    chooserJoinedCom = true;
  }
  const Library shell32 = loadSystemLibrary("SHELL32.DLL");
  if (!shell32) return {};
  // Under these names shell32 exports the ANSI forms.
  const auto browseForFolder =
      procAddress<decltype(&::SHBrowseForFolderA)>(shell32, "SHBrowseForFolder");
  const auto pathFromIdList =
      procAddress<decltype(&::SHGetPathFromIDListA)>(shell32, "SHGetPathFromIDList");
  if (browseForFolder == nullptr || pathFromIdList == nullptr) return {};

  char startPath[MAX_PATH] = {};
  chooserStartPath(initialPath).copy(startPath, kChooserPathMax);

  BROWSEINFOA browse{};
  browse.hwndOwner = dialogOwner();
  browse.lpszTitle = title;
  browse.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  browse.lpfn = selectInitialFolder;
  browse.lParam = reinterpret_cast<LPARAM>(startPath);

  holdThreadWindows(true);
  const ItemIdList chosen(browseForFolder(&browse));
  holdThreadWindows(false);
  if (!chosen) return {};

  char path[MAX_PATH] = {};
  pathFromIdList(chosen.get(), path);
  return withTrailingSeparator(path, '\\');
}
