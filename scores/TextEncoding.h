// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brightsum {

// The two encodings "hiscore.dat" may be in. Text inside the program is always UTF-8.

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

// Windows-1252 to UTF-8. Every byte maps to a character; the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same number,
// so that any file reads and writes back unchanged.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; nothing when a character has no place in the code page or the text
// is not valid UTF-8.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// Replaces each invalid UTF-8 sequence by U+FFFD, the replacement character.
std::string RepairUtf8(std::string_view bytes);

}  // namespace brightsum
