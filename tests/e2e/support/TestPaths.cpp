#include "TestPaths.h"

#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

std::string BinPath(const std::string& name) { return std::string(MORVO_BIN_DIR) + "/" + name; }

std::string HelperPath(const std::string& name) {
  return std::string(MORVO_HELPER_DIR) + "/" + name;
}

std::string DemoPath(const std::string& name) { return std::string(MORVO_DEMO_DIR) + "/" + name; }

std::string FreshWorkDir(const std::string& testName) {
  const fs::path dir = fs::path(MORVO_E2E_WORK_DIR) / testName;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string();
}

bool IsExecutable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }
