// A file system in memory that behaves like a disk behind a write cache, for tests of what a
// power cut leaves: a file's data reach "the disk" only when the file is flushed (fsync), a
// folder's entries only when the folder is flushed. Cutting the power throws away everything
// that was not flushed, as a machine that loses power does, and the file system answers every
// call with an I/O error until the power is restored.
//
//   morvo_power_cut_fs MOUNTPOINT
//
// Controlled through the file ".power" at its root. Writing to it:
//   "sync"      everything reaches the disk, as the sync command does;
//   "count"     starts counting the calls that change something or flush (from 0);
//   "cut-at N"  cuts the power instead of running the Nth such call after "count";
//   "cut"       cuts the power now;
//   "restore"   powers on again, with what the disk held.
// Reading it gives "calls=N power=on|off".
#define FUSE_USE_VERSION 31

#include <fuse.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

constexpr char kControlPath[] = "/.power";
constexpr std::uint64_t kRoot = 1;
constexpr std::uint64_t kControlHandle = 0;

struct Node {
  bool folder = false;
  mode_t mode = 0;
  std::string data;
  std::map<std::string, std::uint64_t> entries;
  // What the disk holds of it.
  std::string diskData;
  mode_t diskMode = 0;
  std::map<std::string, std::uint64_t> diskEntries;
};

struct Disk {
  std::unordered_map<std::uint64_t, Node> nodes;
  std::uint64_t nextId = kRoot + 1;
  bool powered = true;
  long calls = 0;
  long cutAt = -1;  // none

  Disk() {
    Node& root = nodes[kRoot];
    root.folder = true;
    root.mode = root.diskMode = S_IFDIR | 0755;
  }

  void Sync() {
    for (auto& [id, node] : nodes) {
      node.diskData = node.data;
      node.diskMode = node.mode;
      node.diskEntries = node.entries;
    }
  }

  void Cut() {
    for (auto& [id, node] : nodes) {
      node.data = node.diskData;
      node.mode = node.diskMode;
      node.entries = node.diskEntries;
    }
    powered = false;
  }

  // Counts a call that changes or flushes something; false when the power is (now) off.
  bool Changing() {
    if (!powered) return false;
    if (++calls == cutAt) {
      Cut();
      return false;
    }
    return true;
  }
};

Disk gDisk;

std::vector<std::string> PartsOf(const char* path) {
  std::vector<std::string> parts;
  std::string part;
  for (const char* c = path; *c != '\0'; ++c) {
    if (*c == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += *c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// The node at path, or 0.
std::uint64_t Find(const char* path) {
  std::uint64_t id = kRoot;
  for (const std::string& part : PartsOf(path)) {
    const Node& node = gDisk.nodes.at(id);
    const auto entry = node.entries.find(part);
    if (!node.folder || entry == node.entries.end()) return 0;
    id = entry->second;
  }
  return id;
}

// The folder that holds path's last part, and that part; folder 0 when it does not exist.
std::pair<std::uint64_t, std::string> ParentOf(const char* path) {
  std::vector<std::string> parts = PartsOf(path);
  if (parts.empty()) return {0, ""};
  std::string name = parts.back();
  std::string folder = "/";
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) folder += parts[i] + "/";
  const std::uint64_t id = Find(folder.c_str());
  return {id != 0 && gDisk.nodes.at(id).folder ? id : 0, name};
}

bool IsControl(const char* path) { return path != nullptr && std::strcmp(path, kControlPath) == 0; }

std::uint64_t NodeOf(const char* path, const fuse_file_info* fi) {
  if (fi != nullptr && fi->fh != kControlHandle) return fi->fh;
  return path != nullptr ? Find(path) : 0;
}

std::string Status() {
  return "calls=" + std::to_string(gDisk.calls) + " power=" + (gDisk.powered ? "on" : "off") + "\n";
}

void RunCommand(const std::string& text) {
  const std::string command = text.substr(0, text.find_last_not_of("\r\n ") + 1);
  if (command == "sync") {
    gDisk.Sync();
  } else if (command == "count") {
    gDisk.calls = 0;
    gDisk.cutAt = -1;
  } else if (command.rfind("cut-at ", 0) == 0) {
    gDisk.cutAt = std::stol(command.substr(7));
  } else if (command == "cut") {
    gDisk.Cut();
  } else if (command == "restore") {
    gDisk.powered = true;
    gDisk.cutAt = -1;
  }
}

void* Init(fuse_conn_info*, fuse_config* config) {
  // Nothing cached in the kernel: every call reaches this file system, which alone decides
  // what survives a cut.
  config->entry_timeout = 0;
  config->attr_timeout = 0;
  config->negative_timeout = 0;
  config->direct_io = 1;
  config->hard_remove = 1;
  config->nullpath_ok = 1;
  return nullptr;
}

int GetAttr(const char* path, struct stat* out, fuse_file_info* fi) {
  std::memset(out, 0, sizeof *out);
  if (IsControl(path) && (fi == nullptr || fi->fh == kControlHandle)) {
    out->st_mode = S_IFREG | 0666;
    out->st_nlink = 1;
    return 0;
  }
  if (!gDisk.powered) return -EIO;
  const std::uint64_t id = NodeOf(path, fi);
  if (id == 0) return -ENOENT;
  const Node& node = gDisk.nodes.at(id);
  out->st_ino = id;
  out->st_mode = node.mode;
  out->st_nlink = node.folder ? 2 : 1;
  out->st_size = static_cast<off_t>(node.data.size());
  out->st_blocks = static_cast<blkcnt_t>((node.data.size() + 511) / 512);
  out->st_blksize = 4096;
  return 0;
}

// A folder's handle is its node: calls on an open folder come without its path.
int OpenDir(const char* path, fuse_file_info* fi) {
  if (!gDisk.powered) return -EIO;
  const std::uint64_t id = Find(path);
  if (id == 0) return -ENOENT;
  if (!gDisk.nodes.at(id).folder) return -ENOTDIR;
  fi->fh = id;
  return 0;
}

int ReadDir(const char*, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info* fi,
            fuse_readdir_flags) {
  if (!gDisk.powered) return -EIO;
  const std::uint64_t id = fi->fh;
  fill(buffer, ".", nullptr, 0, fuse_fill_dir_flags{});
  fill(buffer, "..", nullptr, 0, fuse_fill_dir_flags{});
  if (id == kRoot) fill(buffer, kControlPath + 1, nullptr, 0, fuse_fill_dir_flags{});
  for (const auto& [name, child] : gDisk.nodes.at(id).entries) {
    fill(buffer, name.c_str(), nullptr, 0, fuse_fill_dir_flags{});
  }
  return 0;
}

int AddNode(const char* path, mode_t mode, bool folder, std::uint64_t* created) {
  if (!gDisk.Changing()) return -EIO;
  const auto [parent, name] = ParentOf(path);
  if (parent == 0) return -ENOENT;
  Node& folderNode = gDisk.nodes.at(parent);
  if (folderNode.entries.count(name) != 0) return -EEXIST;
  const std::uint64_t id = gDisk.nextId++;
  Node& node = gDisk.nodes[id];
  node.folder = folder;
  // What it is goes to the disk with the entry that names it; its data and later permission
  // changes need a flush of their own.
  node.mode = node.diskMode = (folder ? S_IFDIR : S_IFREG) | (mode & 07777);
  folderNode.entries[name] = id;
  if (created != nullptr) *created = id;
  return 0;
}

int MakeDir(const char* path, mode_t mode) { return AddNode(path, mode, true, nullptr); }

int Create(const char* path, mode_t mode, fuse_file_info* fi) {
  if (IsControl(path)) return -EEXIST;
  std::uint64_t id = 0;
  const int result = AddNode(path, mode, false, &id);
  if (result == 0) fi->fh = id;
  return result;
}

int Open(const char* path, fuse_file_info* fi) {
  if (IsControl(path)) {
    fi->fh = kControlHandle;
    return 0;
  }
  if (!gDisk.powered) return -EIO;
  const std::uint64_t id = Find(path);
  if (id == 0) return -ENOENT;
  if ((fi->flags & O_TRUNC) != 0) {
    if (!gDisk.Changing()) return -EIO;
    gDisk.nodes.at(id).data.clear();
  }
  fi->fh = id;
  return 0;
}

int Read(const char* path, char* out, size_t size, off_t offset, fuse_file_info* fi) {
  const bool control = fi->fh == kControlHandle;
  if (!control && !gDisk.powered) return -EIO;
  const std::string data = control ? Status() : gDisk.nodes.at(NodeOf(path, fi)).data;
  if (offset >= static_cast<off_t>(data.size())) return 0;
  const std::size_t count = std::min(size, data.size() - static_cast<std::size_t>(offset));
  std::memcpy(out, data.data() + offset, count);
  return static_cast<int>(count);
}

int Write(const char* path, const char* data, size_t size, off_t offset, fuse_file_info* fi) {
  if (fi->fh == kControlHandle) {
    RunCommand(std::string(data, size));
    return static_cast<int>(size);
  }
  if (!gDisk.Changing()) return -EIO;
  std::string& content = gDisk.nodes.at(NodeOf(path, fi)).data;
  if (content.size() < offset + size) content.resize(offset + size);
  content.replace(static_cast<std::size_t>(offset), size, data, size);
  return static_cast<int>(size);
}

int Truncate(const char* path, off_t size, fuse_file_info* fi) {
  if (IsControl(path) || (fi != nullptr && fi->fh == kControlHandle)) return 0;
  if (!gDisk.Changing()) return -EIO;
  const std::uint64_t id = NodeOf(path, fi);
  if (id == 0) return -ENOENT;
  gDisk.nodes.at(id).data.resize(static_cast<std::size_t>(size));
  return 0;
}

int RemoveEntry(const char* path, bool folder) {
  if (!gDisk.Changing()) return -EIO;
  const auto [parent, name] = ParentOf(path);
  if (parent == 0) return -ENOENT;
  auto& entries = gDisk.nodes.at(parent).entries;
  const auto entry = entries.find(name);
  if (entry == entries.end()) return -ENOENT;
  const Node& node = gDisk.nodes.at(entry->second);
  if (node.folder != folder) return folder ? -ENOTDIR : -EISDIR;
  if (folder && !node.entries.empty()) return -ENOTEMPTY;
  entries.erase(entry);  // the node stays for handles still open on it
  return 0;
}

int Unlink(const char* path) { return RemoveEntry(path, false); }
int RemoveDir(const char* path) { return RemoveEntry(path, true); }

int Rename(const char* from, const char* to, unsigned int flags) {
  if (!gDisk.Changing()) return -EIO;
  if ((flags & ~RENAME_NOREPLACE) != 0) return -EINVAL;
  const auto [fromParent, fromName] = ParentOf(from);
  const auto [toParent, toName] = ParentOf(to);
  if (fromParent == 0 || toParent == 0) return -ENOENT;
  auto& source = gDisk.nodes.at(fromParent).entries;
  auto& target = gDisk.nodes.at(toParent).entries;
  const auto moved = source.find(fromName);
  if (moved == source.end()) return -ENOENT;
  const auto replaced = target.find(toName);
  if (replaced != target.end()) {
    if ((flags & RENAME_NOREPLACE) != 0) return -EEXIST;
    const Node& old = gDisk.nodes.at(replaced->second);
    if (old.folder && !old.entries.empty()) return -ENOTEMPTY;
  }
  const std::uint64_t id = moved->second;
  source.erase(moved);
  target[toName] = id;
  return 0;
}

int ChangeMode(const char* path, mode_t mode, fuse_file_info* fi) {
  if (IsControl(path)) return 0;
  if (!gDisk.Changing()) return -EIO;
  const std::uint64_t id = NodeOf(path, fi);
  if (id == 0) return -ENOENT;
  Node& node = gDisk.nodes.at(id);
  node.mode = (node.mode & S_IFMT) | (mode & 07777);
  return 0;
}

int ChangeOwner(const char*, uid_t, gid_t, fuse_file_info*) { return 0; }
int SetTimes(const char*, const timespec[2], fuse_file_info*) { return 0; }

int FlushFile(const char* path, int, fuse_file_info* fi) {
  if (fi != nullptr && fi->fh == kControlHandle) return 0;
  if (!gDisk.Changing()) return -EIO;
  Node& node = gDisk.nodes.at(NodeOf(path, fi));
  node.diskData = node.data;
  node.diskMode = node.mode;
  return 0;
}

int FlushFolderEntries(const char*, int, fuse_file_info* fi) {
  if (!gDisk.Changing()) return -EIO;
  Node& node = gDisk.nodes.at(fi->fh);
  node.diskEntries = node.entries;
  node.diskMode = node.mode;
  return 0;
}

ssize_t CopyRange(const char* inPath, fuse_file_info* in, off_t inOffset, const char* outPath,
                  fuse_file_info* out, off_t outOffset, size_t size, int) {
  if (in->fh == kControlHandle || out->fh == kControlHandle) return -EINVAL;
  if (!gDisk.Changing()) return -EIO;
  const std::string& source = gDisk.nodes.at(NodeOf(inPath, in)).data;
  if (inOffset >= static_cast<off_t>(source.size())) return 0;
  const std::string piece =
      source.substr(static_cast<std::size_t>(inOffset),
                    std::min(size, source.size() - static_cast<std::size_t>(inOffset)));
  std::string& target = gDisk.nodes.at(NodeOf(outPath, out)).data;
  if (target.size() < outOffset + piece.size()) target.resize(outOffset + piece.size());
  target.replace(static_cast<std::size_t>(outOffset), piece.size(), piece);
  return static_cast<ssize_t>(piece.size());
}

int StatFs(const char*, struct statvfs* out) {
  std::memset(out, 0, sizeof *out);
  out->f_bsize = out->f_frsize = 4096;
  out->f_blocks = out->f_bfree = out->f_bavail = 1u << 22;  // 16 GiB
  out->f_files = out->f_ffree = out->f_favail = 1u << 20;
  out->f_namemax = 255;
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s MOUNTPOINT\n", argv[0]);
    return 2;
  }
  fuse_operations operations{};
  operations.init = Init;
  operations.getattr = GetAttr;
  operations.opendir = OpenDir;
  operations.readdir = ReadDir;
  operations.mkdir = MakeDir;
  operations.create = Create;
  operations.open = Open;
  operations.read = Read;
  operations.write = Write;
  operations.truncate = Truncate;
  operations.unlink = Unlink;
  operations.rmdir = RemoveDir;
  operations.rename = Rename;
  operations.chmod = ChangeMode;
  operations.chown = ChangeOwner;
  operations.utimens = SetTimes;
  operations.fsync = FlushFile;
  operations.fsyncdir = FlushFolderEntries;
  operations.copy_file_range = CopyRange;
  operations.statfs = StatFs;
  // In the foreground, one call at a time: the test owns this process and its order of calls.
  char* arguments[] = {argv[0],
                       const_cast<char*>("-f"),
                       const_cast<char*>("-s"),
                       const_cast<char*>("-o"),
                       const_cast<char*>("fsname=morvo_power_cut"),
                       argv[1],
                       nullptr};
  return fuse_main(6, arguments, &operations, nullptr);
}
