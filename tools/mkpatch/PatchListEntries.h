// What a patch list says of a container file: the name it offers the file under (the last
// part of its URL, which launchers also register it by) and the file's SHA-256.
#pragma once

#include <optional>
#include <string>

#include "platform/Sha256.h"

// The file name of patch (a path on this machine), written as its URL carries it: letters,
// digits and "-._~" as they are, every other byte as %XX.
std::string ListNameOfPatch(const std::string& patch);

// The SHA-256 of the whole file at path; nullopt when it cannot be read.
std::optional<morvo::Sha256Digest> FileDigest(const std::string& path);
