#pragma once

// The program runs as administrator, often from a folder its user can write, so no DLL may
// ever come from there. Limits the process's DLL search to the system folder, then loads from
// there the DLLs that system components ask for by bare name, so that those requests find
// them already loaded. Called first in WinMain, before anything can load a DLL.
void limitDllSearchToSystemFolder();
