// The narrow names handed to the archive library reach the very files the UTF-8 paths name,
// in a folder whose own name the ANSI code page cannot spell.
#include <gtest/gtest.h>
#include <windows.h>

#include "TempDir.h"
#include "platform/ArchiveCallPaths.h"
#include "platform/FileIdentity.h"
#include "platform/UniqueHandle.h"
#include "platform/WideText.h"

using namespace morvo;

namespace {

std::optional<FileIdentity> IdentityOfNarrowName(const std::string& name) {
  const UniqueHandle file(::CreateFileA(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file.IsOpen()) return std::nullopt;
  return IdentityOfHandle(file.Get());
}

TEST(ArchiveCallPaths, NarrowNamesReachTheSameFilesInAUnicodeFolder) {
  TempDir root;
  const std::string folder = root / "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 \xE6\xB8\xB8\xE6\x88\xB2/";
  ASSERT_TRUE(::CreateDirectoryW(Widen(folder).c_str(), nullptr));
  const std::string ascii = folder + "MorvoTMPVKA_data.vka";
  const std::string accented = folder +
                               "donn\xC3\xA9"
                               "es.vka";
  const std::string cjk = folder + "\xE6\x95\xB0\xE6\x8D\xAE.vka";
  for (const std::string& path : {ascii, accented, cjk}) WriteFileBytes(path, "archive");
  wchar_t before[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, before);
  {
    const ArchiveCallPaths paths(folder);
    EXPECT_EQ(paths.Narrow(ascii), "MorvoTMPVKA_data.vka");
    // A file still to be made (the repack's temporary file) is named relative to the folder.
    EXPECT_EQ(paths.Narrow(folder + "MorvoTMPVKA.vka"), "MorvoTMPVKA.vka");
    for (const std::string& path : {ascii, accented, cjk}) {
      SCOPED_TRACE(path);
      const std::string narrow = paths.Narrow(path);
      // Either a name that reaches this very file, or none at all: never another file.
      if (!narrow.empty()) {
        EXPECT_EQ(IdentityOfNarrowName(narrow), IdentityOfPath(Widen(path)));
      }
    }
  }
  wchar_t after[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, after);
  EXPECT_EQ(std::wstring(after), std::wstring(before));
}

TEST(WideText, ConvertsBothWaysAndMarksWhatIsNotUtf8) {
  const std::string text = "a\xC3\xA9\xE6\xB8\xB8\xF0\x9F\x8E\xAE";  // a, é, 游, and one pair
  EXPECT_EQ(Widen(text), std::wstring(L"a\u00E9\u6E38\U0001F3AE"));
  EXPECT_EQ(Utf8OfWide(Widen(text)), text);
  EXPECT_EQ(Widen(""), L"");
  EXPECT_EQ(Widen("\xE9"), std::wstring(L"\uFFFD"));  // a Windows-1252 byte is no UTF-8
}

}  // namespace
