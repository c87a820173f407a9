#include "lists/PatchLists.h"

#include <filesystem>
#include <optional>
#include <set>
#include <string_view>
#include <unordered_set>

#include "engine/OwnFiles.h"
#include "lists/IniFile.h"
#include "platform/AtomicFile.h"
#include "platform/FileSystem.h"
#include "platform/PlainName.h"
#include "text/AsciiText.h"

namespace morvo {

namespace {

// The register is replaced in one step: a kill never leaves it half-written.
void ReplaceRegister(const std::string& path, const std::string& bytes) {
  ReplaceFileAtomically(path, {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

constexpr char kOptions[] = "options";
constexpr char kPatchs[] = "patchs";
constexpr char kSha256[] = "sha256";
constexpr char kRegisterHeader[] = "[patchs]\r\n";
// The longest file name, in bytes, that the file systems the launcher runs on take.
constexpr std::size_t kFileNameLimit = 255;

// Longest value that BuildDownloadList and FindUnfinishedPatches look at.
constexpr std::size_t kOfferValueLength = 1024;
constexpr std::size_t kRegisterValueLength = 8;

std::string_view KeyOf(std::string_view line) { return line.substr(0, line.find('=')); }

}  // namespace

bool ReadPatchLists(PatchRunState& state) {
  const IniFile server = IniFile::Load(state.ServerListPath);
  if (!server.SectionPresent(kOptions)) {
    state.DenyPlay = false;
    return false;
  }
  state.DenyPlay = server.ReadFlag(kOptions, "deny_play");
  if (server.ReadInteger(kOptions, "deny_getpatch", 0) == 1) return false;
  if (!server.SectionPresent(kPatchs)) return false;

  state.ServerEntries = server.ReadSection(kPatchs);
  state.ServerDigests = ReadDigestLines(server.ReadSection(kSha256));
  if (IsRegularFile(state.RegisterPath)) {
    const IniFile installed = IniFile::Load(state.RegisterPath);
    if (installed.SectionPresent(kPatchs)) state.InstalledEntries = installed.ReadSection(kPatchs);
  }
  return BuildDownloadList(state);
}

std::map<std::string, Sha256Digest> ReadDigestLines(const std::vector<std::string>& lines) {
  std::map<std::string, Sha256Digest> digests;
  std::set<std::string> refused;
  for (const std::string& line : lines) {
    const auto equal = line.find('=');
    const std::string name(TrimControlAndBlanks(KeyOf(line)));
    const std::optional<Sha256Digest> digest =
        equal == std::string::npos
            ? std::nullopt
            : ParseHexDigest(TrimControlAndBlanks(std::string_view(line).substr(equal + 1)));
    const auto [at, inserted] = digests.try_emplace(name, digest.value_or(Sha256Digest{}));
    if (!digest || (!inserted && at->second != *digest)) refused.insert(name);
  }
  for (const std::string& name : refused) digests.erase(name);
  return digests;
}

bool BuildDownloadList(PatchRunState& state) {
  if (state.ServerEntries.empty()) return false;
  // Looked up once per offered patch: a list of thousands is matched in linear time.
  const std::unordered_set<std::string_view> installed(state.InstalledEntries.begin(),
                                                       state.InstalledEntries.end());
  for (const std::string& line : state.ServerEntries) {
    const auto equal = line.find('=');
    if (equal == std::string::npos) continue;  // not a key=value line: nothing is offered
    const std::string_view value =
        TrimControlAndBlanks(std::string_view(line).substr(equal + 1, kOfferValueLength));
    if (value != "1") continue;

    const std::string key = line.substr(0, equal);
    if (!installed.contains(FileNameOfUrl(key) + "=1")) {
      state.DownloadUrls.emplace_back(TrimControlAndBlanks(key));
    }
  }
  if (state.DownloadUrls.empty()) return false;
  state.DownloadsStarted = 0;
  state.LastDownloadIndex = static_cast<std::int32_t>(state.DownloadUrls.size()) - 1;
  return true;
}

void WriteInstalledRegister(PatchRunState& state) {
  std::vector<std::string> downloaded;
  for (const std::string& url : state.DownloadUrls) downloaded.push_back(FileNameOfUrl(url));
  const std::unordered_set<std::string_view> rewritten(downloaded.begin(), downloaded.end());

  std::string bytes = kRegisterHeader;
  for (const std::string& line : state.InstalledEntries) {
    const std::string name = FileNameOfUrl(std::string(TrimControlAndBlanks(KeyOf(line))));
    if (!rewritten.contains(name)) bytes += name + "=1\r\n";
  }
  for (const std::string& name : downloaded) bytes += name + "=1\r\n";
  ReplaceRegister(state.RegisterPath, bytes);
}

void FindUnfinishedPatches(PatchRunState& state, const std::string& programDir) {
  if (!IsRegularFile(state.RegisterPath)) return;
  const IniFile installed = IniFile::Load(state.RegisterPath);
  if (!installed.SectionPresent(kPatchs)) return;

  state.ServerEntries = installed.ReadSection(kPatchs);
  for (const std::string& line : state.ServerEntries) {
    const auto equal = line.find('=');
    if (equal == std::string::npos || line.substr(equal + 1, kRegisterValueLength) != "1") continue;
    const std::string key = line.substr(0, equal);
    // A register edited by hand must not point the installer (which deletes what it installs)
    // at a file outside the program's folder, or at one the launcher keeps for itself.
    if (!IsUsablePatchName(key)) continue;
    const std::string path = programDir + kContainerPrefix + key;
    if (IsRegularFile(path)) state.InstallFiles.push_back(path);
  }
}

void RemoveFromRegister(const PatchRunState& state, const std::string& name) {
  if (!IsRegularFile(state.RegisterPath)) return;
  const IniFile installed = IniFile::Load(state.RegisterPath);
  std::string bytes = kRegisterHeader;
  for (const std::string& line : installed.ReadSection(kPatchs)) {
    if (KeyOf(line) != name) bytes += line + "\r\n";
  }
  ReplaceRegister(state.RegisterPath, bytes);
}

bool IsUsablePatchName(std::string_view name) {
  constexpr std::size_t kRoom =
      kFileNameLimit - (sizeof kContainerPrefix - 1) - (sizeof kDownloadPartSuffix - 1);
  if (name.empty()) return true;
  return name.size() <= kRoom && IsPlainName(name) && !IsOtherTemporaryOfTheRun(name);
}

std::string FileNameOfUrl(const std::string& url) {
  const auto slash = url.rfind('/');
  return slash == std::string::npos ? url : url.substr(slash + 1);
}

}  // namespace morvo
