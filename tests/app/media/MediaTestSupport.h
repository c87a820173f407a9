// Shared by the media tests: a program folder of one test and the files in it.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <string>
#include <vector>

class ProgramFolder {
 public:
  // As ProgramDir is given: with a trailing '/'.
  std::string Dir() const { return dir_.path().toStdString() + "/"; }
  std::filesystem::path Path(const std::string& name) const { return Dir() + name; }
  void Write(const std::string& name, const std::vector<unsigned char>& bytes) const;
  std::string Read(const std::string& name) const;

 private:
  QTemporaryDir dir_;
};

std::vector<unsigned char> ReadFileBytes(const std::filesystem::path& path);
