#include "ToolConsole.h"

#include <cstdarg>

namespace {

// Characters, not bytes: UTF-8 continuation bytes take no column of their own.
std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (unsigned char c : utf8) count += (c & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

}  // namespace

void PrintText(std::FILE* stream, const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (length > 0) {
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, again);
    text.pop_back();
    WriteText(stream, text);
  }
  va_end(again);
}

void InPlaceLine::Draw(std::string_view utf8) {
  const std::size_t width = CharacterCount(utf8);
  std::string line = "\r";
  line.append(utf8);
  if (width < width_) {
    line.append(width_ - width, ' ');
    line.append("\r").append(utf8);
  }
  WriteText(stream_, line);
  std::fflush(stream_);
  width_ = width;
}

void InPlaceLine::Keep() {
  if (!IsDrawn()) return;
  WriteText(stream_, "\n");
  std::fflush(stream_);
  width_ = 0;
}

void InPlaceLine::Erase() {
  if (!IsDrawn()) return;
  WriteText(stream_, "\r" + std::string(width_, ' ') + "\r");
  std::fflush(stream_);
  width_ = 0;
}
