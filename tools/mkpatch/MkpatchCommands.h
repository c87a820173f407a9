// The commands of mkpatch, the tool that builds, inspects and publishes patch containers.
// Each returns the exit status; failures are reported as one line on stderr. Paths and
// texts are UTF-8, as the command line gives them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// The detached signature of a list LIST is the file LIST + this: the 64 bytes r then s.
inline constexpr char kSignatureSuffix[] = ".sig";

// Prints "mkpatch: " + message to stderr and returns kExitFailure.
int Fail(const std::string& message);

inline std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct IndexRequest {
  std::string BaseUrl;
  std::vector<std::string> Patches;
  std::string Output;      // empty: stdout
  std::string SigningKey;  // a NAME.key; empty: no signature
};

int BuildContainer(const std::string& out, const std::vector<std::string>& fileArgs);
int BuildContainerFromDir(const std::string& out, const std::string& dir);
// The server list of the patches, with their digests; written to Output and, with SigningKey,
// signed in Output + ".sig", or printed.
int WriteIndex(const IndexRequest& request);
// NAME.key (owner-only, never replaced) and NAME.pub.
int GenerateKeys(const std::string& name);
// Checks the list's signature with publicKey (a NAME.pub) when given, that every patch the
// list offers has a digest then, and each patch file against its digest; one line per problem.
int VerifyList(const std::string& list, const std::string& publicKey,
               const std::vector<std::string>& patches);
int ListContainer(const std::string& patch);
int ExtractContainer(const std::string& patch, const std::string& outDir);
