// Texts of the settings (Windows-1252 bytes) as the wide-character calls take them.
#pragma once

#include <string>
#include <string_view>

std::wstring WideFrom1252(std::string_view windows1252);
