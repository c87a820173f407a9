// The caption of the program's windows and error boxes.
#pragma once

inline constexpr char kWindowCaption[] = "Morvo Patcher";
