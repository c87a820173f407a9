#include "platform/PlainName.h"

#include <gtest/gtest.h>

using namespace morvo;

namespace {

TEST(PlainName, NamesWindowsReadsAsSomethingElseAreNotPlain) {
  const char* const names[] = {
      "", ".", "..", "...",
      // a path, a stream or a drive
      "a\\b", "a/b", "c:x", "file.txt:stream",
      // characters Windows does not allow in a name
      "a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", "tab\tname", "bell\x07", "del\x7F",
      // a trailing dot or blank is dropped
      "data.vka.", "Cartes ", "x. ",
      // devices, in any case, with or without an extension, blanks before it dropped
      "CON", "con", "Prn", "aux", "NUL", "nul.txt", "NUL.tar.gz", "con .log", "COM1", "com9.bin",
      "Lpt1", "lpt9.log", "COM0", "LPT0.x", "COM\xB9",
      "lpt\xB3.txt",                     // superscript digits, Windows-1252
      "com\xC2\xB2", "LPT\xC2\xB9.dat",  // the same in UTF-8
  };
  for (const char* name : names) EXPECT_FALSE(IsPlainName(name)) << name;
}

TEST(PlainName, OrdinaryNamesArePlain) {
  const char* const names[] = {
      "readme.txt", "a..b",  ".hidden",       " leading blank", "console.txt", "connect",
      "nul_.txt",   "aux2",  "COM10",         "com1a.txt",      "lpt",         "LPT1x",
      "conx.con",   "x.con", "\xE9t\xE9.vka", "p0001.pak",      "a%20b.pak",   "100%.txt",
      "a=b",        "[x]",
  };
  for (const char* name : names) EXPECT_TRUE(IsPlainName(name)) << name;
}

}  // namespace
