#include "engine/OwnFiles.h"

#include <algorithm>
#include <string>

#include "engine/PatchRunState.h"
#include "engine/RunLock.h"
#include "engine/TemporaryNames.h"
#include "log/Logger.h"
#include "text/AsciiText.h"

namespace morvo {

namespace {

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace

bool IsOwnFileName(std::string_view name) {
  if (StartsWithIgnoringAsciiCase(name, kTemporaryPrefix)) return true;
  if (EndsWithIgnoringAsciiCase(name, kAtomicWriteSuffix)) {
    name.remove_suffix(std::string_view(kAtomicWriteSuffix).size());
  }
  static constexpr std::string_view kFixedNames[] = {kRegisterFileName, kLogFileName,
                                                     kRunLockFileName};
  return std::any_of(std::begin(kFixedNames), std::end(kFixedNames),
                     [&](std::string_view own) { return EqualsIgnoringAsciiCase(name, own); });
}

bool IsPutAsideName(std::string_view name) {
  return StartsWithIgnoringAsciiCase(name, kInUseAsidePrefix);
}

bool IsOtherTemporaryOfTheRun(std::string_view containerName) {
  const std::string file = kContainerPrefix + std::string(containerName);
  const auto named = [&](std::string_view other) { return EqualsIgnoringAsciiCase(file, other); };
  const auto prefixed = [&](std::string_view prefix) {
    return StartsWithIgnoringAsciiCase(file, prefix);
  };
  return std::any_of(std::begin(kRunTemporaryNames), std::end(kRunTemporaryNames), named) ||
         std::any_of(std::begin(kRunTemporaryPrefixes), std::end(kRunTemporaryPrefixes),
                     prefixed) ||
         EndsWithIgnoringAsciiCase(file, kAtomicWriteSuffix);
}

}  // namespace morvo
