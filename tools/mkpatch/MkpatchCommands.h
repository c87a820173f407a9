// The commands of mkpatch, the tool that builds, inspects and publishes patch containers.
// Each returns the exit status; failures are reported as one line on stderr. Paths and
// texts are UTF-8, as the command line gives them.
#pragma once

#include <string>
#include <vector>

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// Prints "mkpatch: " + message to stderr and returns kExitFailure.
int Fail(const std::string& message);

int BuildContainer(const std::string& out, const std::vector<std::string>& fileArgs);
int BuildContainerFromDir(const std::string& out, const std::string& dir);
int PrintIndex(const std::string& baseUrl, const std::vector<std::string>& patches);
int ListContainer(const std::string& patch);
int ExtractContainer(const std::string& patch, const std::string& outDir);
