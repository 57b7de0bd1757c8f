#include "app/dll_search_win32.h"

#include <windows.h>

#include <array>

#include "platform/win32_owner.h"

namespace {

// DLLs that the system's own DLLs load by bare name, some through delay loads that do not
// honour the process's search directories. Loaded first from the system folder, a later
// request by name finds the loaded module and searches nothing.
constexpr std::array<const char*, 11> kLoadedByName = {
    "uxtheme.dll",    // common controls and the message box, for visual styles
    "msimg32.dll",    // a delay load of the themed drawing (AlphaBlend), seen under Wine
    "dwmapi.dll",     // visual styles and the shell, for desktop composition
    "propsys.dll",    // shell32's folder chooser, for item properties
    "userenv.dll",    // shell32, for the user's profile folders
    "setupapi.dll",   // shell32, for the drives listed in the folder chooser
    "apphelp.dll",    // the loader's compatibility layer (Windows 7 and 8)
    "cryptbase.dll",  // advapi32 on Windows 7
    "oleacc.dll",     // common controls, for accessibility
    "clbcatq.dll",    // ole32, for the COM catalogue when the chooser creates shell objects
    "version.dll",    // shell and compatibility components; the version report loads it too
};

// Kept for the life of the process.
std::array<Library, kLoadedByName.size()> loadedByName;

}  // namespace

void limitDllSearchToSystemFolder() {
  // kernel32 is loaded into every process, so its handle needs no owner.
  const auto setDefaultDllDirectories = procAddress<decltype(&::SetDefaultDllDirectories)>(
      GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
  // Windows 7 without update KB2533623 lacks it: there at least the current folder goes.
  if (setDefaultDllDirectories == nullptr ||
      !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    SetDllDirectoryA("");
  }
  for (size_t i = 0; i < kLoadedByName.size(); ++i) {
    loadedByName[i] = loadSystemLibrary(kLoadedByName[i]);
  }
}
