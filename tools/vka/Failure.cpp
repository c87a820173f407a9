#include "ArchiveFile.h"
#include "NarrowPath.h"
#include "ToolConsole.h"
#include "Utf8Path.h"
#include "VkaCommands.h"
#include "vka/vka.h"

int Fail(const std::string& file, const std::string& reason) {
  PrintText(stderr, "vka: %s: %s\n", file.c_str(), reason.c_str());
  return kExitFailure;
}

std::string ResultInWords(int result) {
  switch (result) {
    case VKA_OK:
      return "success";
    case VKA_ERR_VERSION:
      return "other archive format version (not 0x200)";
    case VKA_ERR_NOT_ARCHIVE:
      return "not an archive, or a damaged one";
    case VKA_ERR_ZLIB:
      return "the file table cannot be read or compressed (zlib failure or damaged table)";
    case VKA_ERR_OPEN:
      return "the file cannot be opened, created or written";
    default:
      return "unexpected result " + std::to_string(result);
  }
}

bool OpenOrFail(vka::ArchiveFile& archive, const std::string& path, const char* mode) {
  const int opened = archive.open(NarrowPathOf(path).c_str(), mode);
  if (opened != VKA_OK) Fail(path, ResultInWords(opened));
  return opened == VKA_OK;
}

std::string NarrowPathOf(const std::string& utf8) { return vka::NarrowOf(PathOfUtf8(utf8)); }
