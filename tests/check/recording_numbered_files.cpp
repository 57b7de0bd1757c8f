#include "check/recording_numbered_files.h"

#include "platform/hex_text.h"
#include "platform/numbered_files.h"

namespace {

struct OpenFile {
  bool open = false;
  int64_t position = 0;
};

OpenFile& openFile() {
  static OpenFile file;
  return file;
}

void record(const std::string& call) { numberedFileRecording().calls.push_back(call); }

bool openAs(const char* call) {
  record(call);
  openFile() = OpenFile{true, 0};
  return true;
}

}  // namespace

NumberedFileRecording& numberedFileRecording() {
  static NumberedFileRecording recording;
  return recording;
}

bool openForRead(int32_t, const char*) { return openAs("openForRead"); }

bool openForUpdate(int32_t, const char*) { return openAs("openForUpdate"); }

int64_t fileLength(int32_t) {
  record("length");
  return openFile().open ? static_cast<int64_t>(numberedFileRecording().bytes.size()) : -1;
}

void seekTo(int32_t, int64_t position) {
  record("seek " + std::to_string(position));
  openFile().position = position;
}

int32_t readByte(int32_t) {
  record("read");
  const std::string& bytes = numberedFileRecording().bytes;
  const auto at = static_cast<size_t>(openFile().position++);
  return at < bytes.size() ? static_cast<int8_t>(bytes[at]) : 0;
}

int32_t writeByte(int32_t, int32_t value) {
  record("write 0x" + hexText(static_cast<uint8_t>(value), 2));
  std::string& bytes = numberedFileRecording().bytes;
  const auto at = static_cast<size_t>(openFile().position++);
  if (at >= bytes.size()) bytes.resize(at + 1, '\0');
  bytes[at] = static_cast<char>(value);
  return 1;
}

void syncFile(int32_t) { record("sync"); }

void closeFile(int32_t) {
  record("close");
  openFile() = OpenFile{};
}
