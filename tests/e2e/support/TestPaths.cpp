#include "TestPaths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::string BinPath(const std::string& name) { return std::string(MORVO_BIN_DIR) + "/" + name; }

std::string HelperPath(const std::string& name) {
  return std::string(MORVO_HELPER_DIR) + "/" + name;
}

std::string DemoPath(const std::string& name) { return std::string(MORVO_DEMO_DIR) + "/" + name; }

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string WinePath(const std::string& path) {
  std::string windows = "Z:" + path;
  for (char& c : windows) c = c == '/' ? '\\' : c;
  return windows;
}

std::string FreshWorkDir(const std::string& testName) {
  const fs::path dir = fs::path(MORVO_E2E_WORK_DIR) / testName;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

bool IsExecutable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

std::string ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}
