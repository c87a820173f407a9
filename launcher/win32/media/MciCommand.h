// The command strings of the platform's media devices (MCI), one at a time.
#pragma once

#include <windows.h>
// clang-format off
#include <mmsystem.h>  // after windows.h, which it needs
// clang-format on

#include <functional>
#include <string>

// Sends one command; reply receives the device's answer (a length, a mode). Returns 0 or the
// MCI error code.
using MciCommand = std::function<MCIERROR(const std::wstring& command, std::wstring& reply)>;

// mciSendStringW itself.
MCIERROR SendMciCommand(const std::wstring& command, std::wstring& reply);

// The device's own words for an error code.
std::wstring MciErrorText(MCIERROR error);
