// Where the end-to-end tests find the built programs, the demo's files and their scratch space.
#pragma once

#include <string>

// build/bin/<name>: the launcher, libvka.so and the tools.
std::string BinPath(const std::string& name);
// The helper programs built beside these tests.
std::string HelperPath(const std::string& name);
// demo/<name> in the source tree.
std::string DemoPath(const std::string& name);
// An empty folder for one test, under the build folder (emptied when it exists).
std::string FreshWorkDir(const std::string& testName);
// True when the file exists and may be executed.
bool IsExecutable(const std::string& path);
// The whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
