#pragma once

#include <cstdint>
#include <string>

// The run's single record of intermediate and final results. Each step of the check
// fills only its own fields; a new record is all zeros and empty texts.
struct CheckState {
  std::string title;            // caption of the result box
  std::string exeDir;           // empty (current directory) or a folder ending in a separator
  int8_t headerByte = 0;        // the byte at offset 286, as read
  int headerByteRead = 0;       // 1 once that byte has been read
  int32_t hasLargeAddressFlag = 0;
  uint32_t patchMarker = 0;     // value found at the patch mark offset
  std::string patchStatus;
  std::string largeAddressText; // "Yes" or "No"
  std::string sizeText;         // file size in decimal digits
  std::string versionText;      // version lines of the executable
};
