// Feeds arbitrary bytes to the PE version reader and the report built on it: as a whole
// file (headers, sections, resource tree, version block) and as a version block alone.
#include <cstddef>
#include <cstdint>

#include "check/version_lines.h"
#include "platform/pe_version.h"
#include "support/memory_version_library.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  MemoryVersionLibrary library(data, size);
  versionLines(library, "sh3.exe", kAllVersionFields, true);

  // The same bytes as a version block on their own.
  for (const char* query : {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904B0\\FileVersion",
                            "\\\\StringFileInfo\\\\\\\\ProductName"}) {
    queryVersionValue(data, size, query);
  }
  return 0;
}
