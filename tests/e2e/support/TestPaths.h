// Where the end-to-end tests find the built programs, the demo's files and their scratch space.
#pragma once

#include <string>

// build/bin/<name>: the launcher, libvka.so and the tools.
std::string BinPath(const std::string& name);
// The helper programs built beside these tests.
std::string HelperPath(const std::string& name);
// demo/<name> in the source tree.
std::string DemoPath(const std::string& name);
// The Windows build's tests name its programs, and what runs them under Wine, through the
// environment; empty when the variable is unset.
std::string EnvironmentValue(const char* name);
// What that runner answers when this machine cannot run the program (32-bit Wine).
constexpr int kWineCannotRun = 77;
// A Linux path as a program under Wine names it: drive Z: is the root.
std::string WinePath(const std::string& path);
// An empty folder for one test, under the build folder (emptied when it exists).
std::string FreshWorkDir(const std::string& testName);
// True when the file exists and may be executed.
bool IsExecutable(const std::string& path);
// The whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
