// The program's own resources: the two cursors, the click sound, the icon.
#pragma once

#include <QCursor>

inline constexpr char kCursorArrow[] = ":/Cursor_Arrow";
inline constexpr char kCursorHand[] = ":/Cursor_Hand";
inline constexpr char kSoundClick[] = ":/Sound_Click.wav";
inline constexpr char kProgramIcon[] = ":/MorvoPatcher.png";

// Registers the resources compiled into the app library; safe to call more than once.
void InitAppResources();

// A cursor of the resources; its hot spot is the top-left pixel.
QCursor LoadResourceCursor(const char* resource);
