// The caption of the program's windows and error boxes, and the program's title in the task bar.
#pragma once

inline constexpr char kWindowCaption[] = "Morvo Patcher";
inline constexpr char kApplicationTitle[] = "XAM Patcher..";
