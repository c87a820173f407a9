// The status lines the launcher itself words (not the configured Messages): French, or English
// when Language is 1, as the About window's fixed lines. Windows-1252 bytes.
#pragma once

#include <cstdint>
#include <string>

namespace morvo {

// At the end of a run in which count patches (1 or more) could not be downloaded or installed.
std::string FailedPatchesNotice(int count, std::int32_t language);

// At the end of a run whose patch list was refused: its signature is missing or does not verify
// with the configured key.
std::string UnverifiedListNotice(std::int32_t language);

// At the end of a run that could not start because the game folder cannot be written.
std::string ReadOnlyFolderNotice(std::int32_t language);

// When a new launcher copy is left for the next start because the program's path cannot be
// handed to it.
std::string SelfUpdateDeferredNotice(std::int32_t language);

}  // namespace morvo
