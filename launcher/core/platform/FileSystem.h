// Whole-file operations on UTF-8 paths, as this platform's file system does them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace morvo {

// The path object the standard library opens for a UTF-8 path, whatever the platform's narrow
// encoding; and back.
std::filesystem::path FsPath(const std::string& utf8Path);
std::string Utf8Path(const std::filesystem::path& path);

// Deletes the file at path; true when no file is left there (deleted, or none was).
bool RemoveFile(const std::string& path);

// Renames from over to, replacing a file there in one step. With durable, the rename reaches
// the disk before this returns.
bool RenameFile(const std::string& from, const std::string& to, bool durable = false);

// Forces the data of the file at path, already written, to the disk: the one wait for a file
// whose write-back was started when it was written. False when it cannot be opened or flushed.
bool FlushFileAt(const std::string& path);
// Forces the entries of folder (files created, renamed or deleted in it) to the disk.
bool FlushFolder(const std::string& folder);

// True for a regular file, following links.
bool IsRegularFile(const std::string& path);

// True for a regular file (not a link to one) that this platform can run as a program: runnable
// by its owner on POSIX, beginning with "MZ" on Windows.
bool IsRunnableFile(const std::string& path);

// The permission bits of the file at path where the platform has them; nullopt when there is no
// such file.
std::optional<unsigned> PermissionBits(const std::string& path);

// True when both paths name one existing file (not two files of the same name).
bool SameFile(const std::string& a, const std::string& b);

// True when the existing file at path cannot be replaced because a running program holds it: a
// library loaded or a program running from it, or a file another process opened without
// sharing it. A read-only file or a missing permission is not "in use". Never on POSIX, where a
// running or open file is replaced like any other.
bool IsFileInUse(const std::string& path);

}  // namespace morvo
