// Shared by the media tests: a scratch program folder and reading back what landed in it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The folder with a trailing '/', as ProgramDir is given.
  std::string Dir() const { return path_.string() + "/"; }
  std::filesystem::path Path(const std::string& name) const { return path_ / name; }
  void Write(const std::string& name, const std::vector<unsigned char>& bytes) const;
  std::string Read(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

std::vector<unsigned char> ReadFileBytes(const std::filesystem::path& path);
