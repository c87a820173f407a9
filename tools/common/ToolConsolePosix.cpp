#include <unistd.h>

#include "ToolConsole.h"

std::vector<std::string> ToolArguments(int argc, char** argv) {
  return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void WriteText(std::FILE* stream, std::string_view utf8) {
  std::fwrite(utf8.data(), 1, utf8.size(), stream);
}

void WriteBytesToStdout(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
}

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }
