// The command line and the console of the tools, alike on every platform: arguments arrive
// as UTF-8 text and output leaves as UTF-8 text, shown on a console as its user reads it.
// ToolConsolePosix.cpp and ToolConsoleWin32.cpp; the build picks one.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

// The program's arguments after its name, in UTF-8: argv as it stands on POSIX systems; on
// Windows the wide command line, which holds every character whatever the ANSI code page.
std::vector<std::string> ToolArguments(int argc, char** argv);

// Writes UTF-8 text to stream. A Windows console receives it as UTF-16 (WriteConsoleW), so
// that every character shows whatever its code page; a file or a pipe receives the bytes.
void WriteText(std::FILE* stream, std::string_view utf8);

// Writes bytes to stdout as they are: on Windows not in text mode, which would turn each
// "\n" into "\r\n" (a file format that ends its lines with "\r\n" already has them).
void WriteBytesToStdout(std::string_view bytes);

// The formats that the C library's vsnprintf reads: on MinGW-w64 its own C99 one (%zu, %llu),
// not the one that the compiler's plain printf checks stand for there.
#ifdef __MINGW_PRINTF_FORMAT
#define TOOL_PRINTF_FORMAT __MINGW_PRINTF_FORMAT
#else
#define TOOL_PRINTF_FORMAT printf
#endif

// WriteText of a printf-formatted text.
void PrintText(std::FILE* stream, const char* format, ...)
    __attribute__((format(TOOL_PRINTF_FORMAT, 2, 3)));

// True when stream is an interactive terminal or console, where a line may be redrawn.
bool IsTerminal(std::FILE* stream);

// A line redrawn in place on a terminal (a progress line): each text overwrites the one
// before it, blanks covering what a longer one showed.
class InPlaceLine {
 public:
  explicit InPlaceLine(std::FILE* stream) : stream_(stream) {}

  void Draw(std::string_view utf8);
  // Leaves the last text standing and moves to the next line.
  void Keep();
  // Blanks the line and returns to its start.
  void Erase();
  bool IsDrawn() const { return width_ > 0; }

 private:
  std::FILE* stream_;
  std::size_t width_ = 0;  // characters on the line now
};
