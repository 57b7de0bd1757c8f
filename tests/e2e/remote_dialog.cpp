#include "e2e/remote_dialog.h"

#include <shlobj.h>

#include "support/live_box.h"

namespace {

// How long the chooser may take to answer one request.
constexpr DWORD kAnswerMs = 5000;
// Pause between selection requests while the chooser's tree fills.
constexpr DWORD kSettleMs = 500;

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

bool selectFolder(HANDLE process, HWND chooser, const std::string& folder, DWORD timeoutMs) {
  const RemoteText path(process, folder);
  if (!path) return false;
  // The edit field shows the name of the selected folder, the last part of its path.
  const std::string name = folder.substr(folder.find_last_of('\\') + 1);
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(chooser, BFFM_SETSELECTIONA, TRUE, path.address(), SMTO_ABORTIFHUNG,
                        kAnswerMs, &ignored);
    Sleep(kSettleMs);
    if (chooserEditText(chooser) == name) return true;
    if (GetTickCount64() >= deadline) return false;
  }
}
