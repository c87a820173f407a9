#include "platform/FolderSpace.h"

#include "platform/FileSystem.h"
#include "platform/NativeFile.h"

namespace morvo {

bool CanWriteInFolder(const std::string& folder, std::string_view probeName) {
  const std::string probe = folder + std::string(probeName);
  RemoveFile(probe);  // what a killed earlier check left
  NativeFile file = NativeFile::CreateNew(probe);
  if (!file.IsOpen()) return false;
  file.Close();
  RemoveFile(probe);
  return true;
}

}  // namespace morvo
