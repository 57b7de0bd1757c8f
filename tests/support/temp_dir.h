#pragma once

#include <filesystem>
#include <string>

// A fresh, empty folder under the system's temporary folder, removed with all it holds
// when the owner goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The path of `name` inside the folder, as the platform's narrow text.
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Makes `folder` the current directory for the owner's lifetime.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const std::filesystem::path& folder);
  ~CurrentDirectory();
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  std::filesystem::path previous_;
};

// Writes `bytes` to `path`, replacing what was there.
void writeFile(const std::string& path, const std::string& bytes);
// The whole content of `path`; empty when it cannot be read.
std::string readFile(const std::string& path);
