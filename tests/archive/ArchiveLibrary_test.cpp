// The shipped library (libvka.so, VKA.dll) as any C caller sees it: loaded by path, the four
// exports found by their plain names.
#include <gtest/gtest.h>

#include "ArchiveTestSupport.h"
#include "LoadedLibrary.h"
#include "vka/vka.h"

namespace vka::test {
namespace {

TEST(ArchiveLibrary, ExportsAreCallableByName) {
  LoadedLibrary library(VKA_LIBRARY_PATH);
  ASSERT_TRUE(library.loaded()) << library.error();
  // The declared types carry the calling convention (__stdcall on 32-bit Windows).
  const auto fusion = library.find<decltype(&VKA_Fusion)>("VKA_Fusion");
  const auto repack = library.find<decltype(&VKA_Repack)>("VKA_Repack");
  const auto checkVersion = library.find<decltype(&VKA_CheckVersion)>("VKA_CheckVersion");
  const auto fileCount = library.find<decltype(&VKA_GetFileCount)>("VKA_GetFileCount");
  ASSERT_TRUE(fusion && repack && checkVersion && fileCount);
  // Nothing of the library's inside is visible.
  EXPECT_EQ(library.find<void*>("_ZN3vka11ArchiveFile4openEPKcS2_"), nullptr);

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
