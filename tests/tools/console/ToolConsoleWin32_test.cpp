// On a Windows console the tools' UTF-8 text arrives as the characters themselves, whatever
// the console's code page; redirected, the bytes pass unchanged.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ToolConsole.h"

namespace {

// The console's characters on the cursor's row, from its first column, blanks trimmed.
std::wstring RowOfCursor(HANDLE console) {
  CONSOLE_SCREEN_BUFFER_INFO info{};
  EXPECT_NE(GetConsoleScreenBufferInfo(console, &info), 0);
  std::wstring row(static_cast<std::size_t>(info.dwSize.X), L' ');
  DWORD read = 0;
  ReadConsoleOutputCharacterW(console, row.data(), static_cast<DWORD>(row.size()),
                              COORD{0, info.dwCursorPosition.Y}, &read);
  row.resize(read);
  return row.substr(0, row.find_last_not_of(L' ') + 1);
}

class ConsoleOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeConsole();
    if (AllocConsole() == 0) GTEST_SKIP() << "no console can be made here";
    console_ =
        CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, CONSOLE_TEXTMODE_BUFFER, nullptr);
    ASSERT_NE(console_, INVALID_HANDLE_VALUE);
    // Wine without a terminal makes a console that keeps no screen to read back.
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (GetConsoleScreenBufferInfo(console_, &info) == 0) {
      GTEST_SKIP() << "this console keeps no screen buffer to read back";
    }
    saved_ = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, console_);
    // A code page that holds none of the test's characters but "é".
    SetConsoleOutputCP(1252);
  }
  void TearDown() override {
    if (console_ == nullptr) return;
    SetStdHandle(STD_OUTPUT_HANDLE, saved_);
    CloseHandle(console_);
    FreeConsole();
  }

  HANDLE console_ = nullptr;
  HANDLE saved_ = nullptr;
};

TEST_F(ConsoleOutput, EveryCharacterShowsWhateverTheCodePage) {
  EXPECT_TRUE(IsTerminal(stdout));
  WriteText(
      stdout,
      "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 caf\xC3\xA9 \xE4\xB8\x96\xE7\x95\x8C");
  EXPECT_EQ(RowOfCursor(console_), L"\u041f\u0440\u0438\u0432\u0435\u0442 caf\u00e9 \u4e16\u754c");
}

TEST_F(ConsoleOutput, BytesThatAreNoUtf8ShowAsReplacementCharacters) {
  WriteText(stdout, "a\xE9z");
  EXPECT_EQ(RowOfCursor(console_), L"a\ufffdz");
}

TEST_F(ConsoleOutput, AProgressLineIsRedrawnOnTheConsole) {
  InPlaceLine line(stdout);
  line.Draw("\xD0\xB7\xD0\xB0\xD0\xB3\xD1\x80\xD1\x83\xD0\xB7\xD0\xBA\xD0\xB0 1/9");
  line.Draw("ok");
  EXPECT_EQ(RowOfCursor(console_), L"ok");
}

TEST(RedirectedOutput, AFileIsNoTerminalAndGetsTheBytes) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  EXPECT_FALSE(IsTerminal(file));
  WriteText(file, "\xD0\x9F caf\xC3\xA9");
  std::rewind(file);
  char bytes[16] = {};
  EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, file), 8u);
  EXPECT_EQ(std::string(bytes), "\xD0\x9F caf\xC3\xA9");
  std::fclose(file);
}

}  // namespace
