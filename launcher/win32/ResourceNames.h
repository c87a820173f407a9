// Names of the program's own resources (MorvoPatcher.rc), its private window messages and
// timers.
#pragma once

#include <windows.h>

inline constexpr wchar_t kArrowCursorName[] = L"Cursor_Arrow";
inline constexpr wchar_t kHandCursorName[] = L"Cursor_Hand";
inline constexpr wchar_t kProgramIconName[] = L"MorvoPatcher";

// A step queued by RunAfterCurrentEvent is waiting.
inline constexpr UINT kRunQueuedStepMessage = WM_APP + 1;
// The window was activated, or shown: its first activation is due even where no window manager
// activates it.
inline constexpr UINT kActivatedMessage = WM_APP + 2;

// The news page's time limit.
inline constexpr UINT_PTR kNewsTimeoutTimer = 0x4E57;
