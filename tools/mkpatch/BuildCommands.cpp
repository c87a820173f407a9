// mkpatch build and index: containers from files, and the server list that offers them.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <set>

#include "KeyFiles.h"
#include "MkpatchCommands.h"
#include "PatchListEntries.h"
#include "ToolConsole.h"
#include "Utf8Path.h"
#include "install/PatchContainer.h"
#include "platform/AtomicFile.h"
#include "platform/EcdsaP256.h"
#include "platform/FileSystem.h"
#include "platform/GamePath.h"
#include "text/Windows1252.h"

using namespace morvo;

namespace fs = std::filesystem;

namespace {

struct BuildInput {
  std::string file;         // on this file system
  std::string destination;  // UTF-8, '/' or '\' between folders
};

// A name as a container holds it, or nullopt (after reporting) when it cannot be held.
std::optional<std::string> ContainerName(const std::string& utf8, const std::string& what) {
  std::optional<std::string> name = Utf8ToWindows1252(utf8);
  if (!name) {
    Fail(what + ": '" + utf8 + "' has a character that Windows-1252 cannot hold");
  } else if (name->size() > static_cast<std::size_t>(kContainerNameLimit)) {
    Fail(what + ": '" + utf8 + "' is longer than 255 bytes");
    name.reset();
  }
  return name;
}

bool CopyFileInto(const std::string& file, AtomicFileWriter& out) {
  std::ifstream in(PathOfUtf8(file), std::ios::binary);
  char buffer[64 * 1024];
  while (in) {
    in.read(buffer, sizeof buffer);
    if (in.gcount() > 0 && !out.Write(buffer, static_cast<std::size_t>(in.gcount()))) return false;
  }
  return in.eof();
}

int Build(const std::string& out, const std::vector<BuildInput>& inputs) {
  if (inputs.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    return Fail(out + ": too many files");
  }
  AtomicFileWriter writer(out);
  if (!writer.IsOpen()) return Fail(out + ": cannot be created");
  std::string header = EncodeContainerHeader(static_cast<std::int32_t>(inputs.size()));
  writer.Write(header.data(), header.size());

  for (const BuildInput& input : inputs) {
    std::error_code error;
    const fs::path file = PathOfUtf8(input.file);
    const auto size = fs::file_size(file, error);
    if (error || !fs::is_regular_file(file, error)) return Fail(input.file + ": cannot be read");
    if (size > static_cast<std::uintmax_t>(std::numeric_limits<std::int32_t>::max())) {
      return Fail(input.file + ": larger than a container entry can be (2 GiB)");
    }
    std::string destination = input.destination;
    for (char& c : destination) c = c == '/' ? '\\' : c;
    // One line for one refused name, though the destination may be the same name.
    const auto source = ContainerName(Utf8OfPath(file.filename()), input.file);
    if (!source) return kExitFailure;
    const auto dest = ContainerName(destination, input.file);
    if (!dest) return kExitFailure;
    if (!IsSafeDestination(*dest)) {
      return Fail(input.file + ": destination '" + destination + "' would leave the game folder");
    }
    header = EncodeEntryHeader(*source, *dest, static_cast<std::int32_t>(size));
    writer.Write(header.data(), header.size());
    if (!CopyFileInto(input.file, writer)) return Fail(input.file + ": cannot be read");
  }
  if (!writer.Commit()) return Fail(out + ": cannot be written");
  return kExitOk;
}

}  // namespace

int BuildContainer(const std::string& out, const std::vector<std::string>& fileArgs) {
  std::vector<BuildInput> inputs;
  for (const std::string& arg : fileArgs) {
    const auto equal = arg.find('=');
    const std::string file = arg.substr(0, equal);
    inputs.push_back({file, equal == std::string::npos ? Utf8OfPath(PathOfUtf8(file).filename())
                                                       : arg.substr(equal + 1)});
  }
  return Build(out, inputs);
}

int BuildContainerFromDir(const std::string& out, const std::string& dir) {
  std::error_code error;
  const fs::path folder = PathOfUtf8(dir);
  if (!fs::is_directory(folder, error)) return Fail(dir + ": not a folder");
  const fs::path outPath = fs::weakly_canonical(PathOfUtf8(out), error);
  std::vector<BuildInput> inputs;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_regular_file() || fs::weakly_canonical(it->path(), error) == outPath) continue;
    inputs.push_back({Utf8OfPath(it->path()), Utf8OfPath(fs::relative(it->path(), folder))});
  }
  if (error) return Fail(dir + ": cannot be listed");
  std::sort(inputs.begin(), inputs.end(),
            [](const BuildInput& a, const BuildInput& b) { return a.destination < b.destination; });
  return Build(out, inputs);
}

int WriteIndex(const IndexRequest& request) {
  std::string base = request.BaseUrl;
  if (!base.ends_with('/')) base += '/';
  if (base.find('=') != std::string::npos) {
    return Fail(request.BaseUrl + ": a patch list URL cannot hold '='");
  }
  std::string offers;
  std::string digests;
  std::set<std::string> names;
  for (const std::string& patch : request.Patches) {
    auto reader = ContainerReader::Open(patch);
    std::int32_t count = 0;
    if (!reader || !reader->ReadHeader(count)) return Fail(patch + ": not a patch container");
    const std::string name = ListNameOfPatch(patch);
    // Launchers know a patch by its name alone: two of one name would be one to them.
    if (!names.insert(name).second) return Fail(patch + ": a second patch named " + name);
    const std::optional<Sha256Digest> digest = FileDigest(patch);
    if (!digest) return Fail(patch + ": cannot be read");
    offers += base + name + "=1\r\n";
    digests += name + "=" + HexOfDigest(*digest) + "\r\n";
  }
  const std::string list =
      "[options]\r\ndeny_play=0\r\n\r\n[patchs]\r\n" + offers + "\r\n[sha256]\r\n" + digests;
  if (request.Output.empty()) {
    WriteBytesToStdout(list);
    return kExitOk;
  }
  const auto listBytes = AsBytes(list);
  std::optional<P256Signature> signature;
  if (!request.SigningKey.empty()) {
    std::string why;
    const std::optional<P256KeyPair> key = ReadPrivateKeyFile(request.SigningKey, why);
    if (!key) return Fail(request.SigningKey + ": " + why);
    signature = SignP256(*key, listBytes);
    if (!signature) return Fail(request.SigningKey + ": the list could not be signed");
  }
  // The list first: a signature is only ever beside the list it signs once both are written.
  if (!ReplaceFileAtomically(request.Output, listBytes)) {
    return Fail(request.Output + ": cannot be written");
  }
  const std::string signaturePath = request.Output + kSignatureSuffix;
  if (signature && !ReplaceFileAtomically(signaturePath, *signature)) {
    return Fail(signaturePath + ": cannot be written");
  }
  // An unsigned list leaves no signature of the list it replaced beside it: launchers with a
  // key would call that one invalid, which hides that this list was never signed.
  if (!signature && IsRegularFile(signaturePath)) {
    if (!RemoveFile(signaturePath))
      return Fail(signaturePath + ": an old signature cannot be removed");
    PrintText(stdout, "%s: removed, it signed the list this one replaces\n", signaturePath.c_str());
  }
  return kExitOk;
}
