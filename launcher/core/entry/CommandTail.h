// Reading the command line the way the handoff writes it.
#pragma once

#include <string>
#include <vector>

namespace morvo {

inline constexpr char kHandoffStep1Word[] = "UPDATE_1";
inline constexpr char kHandoffStep2Word[] = "UPDATE_2";

enum class EntryMode { Normal, HandoffStep1, HandoffStep2 };

// Parameter 1 compared byte by byte with the mode words; anything else is a normal start.
// parameters[0] is the program itself.
EntryMode ModeOfParameters(const std::vector<std::string>& parameters);

// Parameters 2 to N joined with one blank and trimmed: the handoff passes a path unquoted, so a
// path with blanks arrives in pieces. Empty with fewer than 3 parameters.
std::string GetCommandTail(const std::vector<std::string>& parameters);

}  // namespace morvo
