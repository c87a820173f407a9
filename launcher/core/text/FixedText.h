// The program's own fixed texts exist in French and English. The configured Language chooses
// between them as it chooses the About window's lines: 1 is English, any other value French.
#pragma once

#include <cstdint>

namespace morvo {

inline constexpr std::int32_t kEnglishLanguage = 1;

inline const char* FixedText(std::int32_t language, const char* french, const char* english) {
  return language == kEnglishLanguage ? english : french;
}

}  // namespace morvo
