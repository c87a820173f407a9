#include "InstallTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ArchiveFile.h"
#include "SettingsBuilder.h"
#include "TempDir.h"
#include "install/PatchContainer.h"
#include "vka/vka.h"

namespace morvo {

std::string ReadFile(const std::string& path) { return ReadFileBytes(path); }

void WriteFile(const std::string& path, const std::string& bytes) { WriteFileBytes(path, bytes); }

bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(std::filesystem::symlink_status(FsPath(path), error));
}

bool WriteFileNamedExactly(const std::string& folder, const std::string& name,
                           const std::string& bytes) {
  WriteFile(folder + name, bytes);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(FsPath(folder), error)) {
    if (Utf8Path(entry.path().filename()) == name) return true;
  }
  std::filesystem::remove(FsPath(folder + name), error);
  return false;
}

ScratchDir::ScratchDir(const std::string& under)
    : path_(MakeUniqueTempFolder("morvo-install-", under)) {}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(FsPath(path_), ignored);
}

GameFolder::GameFolder(const std::string& under)
    : scratch_(under),
      game_(scratch_.path() + "game/"),
      log((std::filesystem::create_directory(FsPath(game_)), game_)),
      state(game_),
      context{settings, log, window, state, game_, game_ + "MorvoPatcher"} {
  settings = SettingsBuilder().NumberedMessages("Msg").Build();
  log.LogOpen();
}

std::string GameFolder::AddDownloaded(const std::string& name, const std::string& bytes) {
  const std::string path = game_ + kContainerPrefix + name;
  WriteFile(path, bytes);
  state.InstallFiles.push_back(path);
  const bool registerExists = FileExists(state.RegisterPath);
  std::ofstream(FsPath(state.RegisterPath), std::ios::binary | std::ios::app)
      << (registerExists ? "" : "[patchs]\r\n") << name << "=1\r\n";
  return path;
}

ContainerBuilder& ContainerBuilder::Add(const std::string& source, const std::string& dest,
                                        const std::string& data) {
  body_ += EncodeEntryHeader(source, dest, static_cast<std::int32_t>(data.size())) + data;
  ++entries_;
  return *this;
}

std::string ContainerBuilder::Bytes() const { return Bytes(entries_); }

std::string ContainerBuilder::Bytes(std::int32_t count) const {
  return EncodeContainerHeader(count) + body_;
}

void WriteArchive(const std::string& path, const ArchiveEntries& files) {
  vka::ArchiveFile archive;
  ASSERT_EQ(archive.open(path.c_str(), "w"), VKA_OK);
  for (const auto& [name, content] : files) {
    vka::ArchiveEntry entry;
    entry.flags = vka::kFileFlag;
    entry.compressedSize = entry.uncompressedSize = static_cast<std::uint32_t>(content.size());
    const auto* data = reinterpret_cast<const std::uint8_t*>(content.data());
    ASSERT_EQ(archive.addEntry(entry, name, data, false), VKA_OK) << name;
  }
  ASSERT_EQ(archive.close(), VKA_OK);
}

ArchiveEntries ArchiveContent(const std::string& path) {
  vka::ArchiveFile archive;
  if (archive.open(path.c_str(), "r") != VKA_OK) return {{"unreadable", ""}};
  ArchiveEntries rows;
  for (const vka::ArchiveEntry& entry : archive.entries()) {
    std::string stored;
    archive.readStored(entry, [&](const std::uint8_t* piece, std::size_t length) {
      stored.append(reinterpret_cast<const char*>(piece), length);
      return true;
    });
    rows.emplace_back(std::string(archive.name(entry)), stored);
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

}  // namespace morvo
