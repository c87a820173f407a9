#include "lists/IniFile.h"

#include <gtest/gtest.h>

#include "InstallTestSupport.h"

using namespace morvo;

namespace {

using Lines = std::vector<std::string>;

TEST(IniFile, SectionsMatchWithoutCaseAndCountOnlyWithAnEntry) {
  const IniFile ini = IniFile::Parse(
      "[Options]\r\n"
      "[empty]\r\n"
      "; a comment=1\r\n"
      "[PATCHS]\n"
      "  http://h/a.pak  =  1  \r\n"
      "no equal sign here\n"
      "http://h/b.pak=0\n"
      "[options]\n"
      "deny_play=1\n");
  EXPECT_TRUE(ini.SectionPresent("options"));  // named twice: continues
  EXPECT_FALSE(ini.SectionPresent("empty"));
  EXPECT_FALSE(ini.SectionPresent("missing"));
  EXPECT_EQ(ini.ReadSection("patchs"), (Lines{"http://h/a.pak=1", "http://h/b.pak=0"}));
  EXPECT_EQ(ini.ReadSection("OPTIONS"), (Lines{"deny_play=1"}));
  EXPECT_EQ(ini.ReadSection("empty"), Lines{});
}

TEST(IniFile, EntriesOutsideASectionAndOddHeadersAreHandled) {
  const IniFile ini = IniFile::Parse("orphan=1\n[ spaced ]\nk=v\n[unclosed\nx=1\n[]\ny=2\n");
  EXPECT_EQ(ini.ReadSection("spaced"), Lines{"k=v"});
  EXPECT_EQ(ini.ReadSection("unclosed"), Lines{"x=1"});
  EXPECT_EQ(ini.ReadSection(""), Lines{"y=2"});
  EXPECT_EQ(ini.ReadString("spaced", "K", "none"), "v");
  EXPECT_EQ(ini.ReadString("spaced", "absent", "none"), "none");
}

TEST(IniFile, IntegersAndFlags) {
  struct Case {
    const char* value;
    std::int32_t integer;  // with default 7
    bool flag;
  };
  const Case cases[] = {
      {"0", 0, false},
      {"1", 1, true},
      {"-1", -1, true},
      {"0x10", 16, true},
      {"0X1f", 31, true},
      {"true", 7, false},
      {"12abc", 7, false},
      {"", 7, false},
      {"2147483647", 2147483647, true},
      {"2147483648", 7, false},
      {"-2147483648", -2147483647 - 1, true},
      {"0xFFFFFFFF", -1, true},
      {"0x100000000", 7, false},
      {"0x", 7, false},
      {"+5", 5, true},
      {"1 2", 7, false},
  };
  for (const Case& c : cases) {
    const IniFile ini = IniFile::Parse(std::string("[o]\nv=") + c.value + "\n");
    EXPECT_EQ(ini.ReadInteger("o", "v", 7), c.integer) << c.value;
    EXPECT_EQ(ini.ReadFlag("o", "v"), c.flag) << c.value;
  }
  EXPECT_EQ(IniFile::Parse("[o]\n").ReadInteger("o", "v", 9), 9);
}

TEST(IniFile, FirstOfRepeatedKeysIsReadAndAllAreListed) {
  const IniFile ini = IniFile::Parse("[o]\nk=1\nK=2\n");
  EXPECT_EQ(ini.ReadInteger("o", "k", 0), 1);
  EXPECT_EQ(ini.ReadSection("o"), (Lines{"k=1", "K=2"}));
}

TEST(IniFile, MissingFileReadsAsEmptyAndBytesStayBytes) {
  EXPECT_FALSE(IniFile::Load("/nonexistent/folder/list.ini").SectionPresent("patchs"));
  ScratchDir dir;
  WriteFile(dir.path() + "l.ini", "\xEF\xBB\xBF[patchs]\r\nhttp://h/\xE9t\xE9.pak=1\r\n");
  EXPECT_EQ(IniFile::Load(dir.path() + "l.ini").ReadSection("patchs"),
            Lines{"http://h/\xE9t\xE9.pak=1"});
}

}  // namespace
