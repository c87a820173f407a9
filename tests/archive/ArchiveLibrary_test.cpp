// libvka.so as any C caller sees it: loaded by path, the four exports found by name.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "ArchiveTestSupport.h"
#include "vka/vka.h"

namespace vka::test {
namespace {

class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char* path) : handle_(::dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
  ~LoadedLibrary() {
    if (handle_ != nullptr) ::dlclose(handle_);
  }
  void* handle() const { return handle_; }
  template <typename Function>
  Function find(const char* name) const {
    return reinterpret_cast<Function>(::dlsym(handle_, name));
  }

 private:
  void* handle_;
};

TEST(ArchiveLibrary, ExportsAreCallableByName) {
  LoadedLibrary library(VKA_LIBRARY_PATH);
  ASSERT_NE(library.handle(), nullptr) << ::dlerror();
  using Merge = int32_t (*)(const char*, const char*, VKA_Progress);
  using Repack = int32_t (*)(const char*, const char*, VKA_Progress);
  using Query = int32_t (*)(const char*);
  const auto fusion = library.find<Merge>("VKA_Fusion");
  const auto repack = library.find<Repack>("VKA_Repack");
  const auto checkVersion = library.find<Query>("VKA_CheckVersion");
  const auto fileCount = library.find<Query>("VKA_GetFileCount");
  ASSERT_TRUE(fusion && repack && checkVersion && fileCount);
  // Nothing of the library's inside is visible.
  EXPECT_EQ(::dlsym(library.handle(), "_ZN3vka11ArchiveFile4openEPKcS2_"), nullptr);

  ScratchFolder folder;
  const std::string source = folder.path("patch.vka");
  const std::string destination = folder.path("game.vka");
  writeArchive(source, {{"X", "new"}});
  writeArchive(destination, {{"X", "old"}});
  EXPECT_EQ(checkVersion(destination.c_str()), 512);
  progressCalls = 0;
  EXPECT_EQ(fusion(source.c_str(), destination.c_str(), countProgress), VKA_OK);
  EXPECT_EQ(fileCount(destination.c_str()), 4);
  EXPECT_EQ(repack(destination.c_str(), folder.path("temp").c_str(), countProgress), VKA_OK);
  EXPECT_EQ(progressCalls, 2 + 4);
  EXPECT_EQ(fileCount(destination.c_str()), 2);
}

}  // namespace
}  // namespace vka::test
