// Texts live in memory as UTF-8 and on disk as single-byte Windows-1252; these two
// conversions are the only place that knows the code page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvex {

// Every byte maps to one character; the five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same value, so
// that any byte string survives a round trip unchanged.
std::string Win1252ToUtf8(std::string_view bytes);

// Characters the code page cannot hold become "?"; malformed UTF-8 bytes become "?" too.
std::string Utf8ToWin1252(std::string_view utf8);

// Number of characters (code points) of a UTF-8 text.
std::size_t Utf8Length(std::string_view utf8);

// The first maxCharacters characters of a UTF-8 text, never splitting a character.
std::string Utf8Left(std::string_view utf8, std::size_t maxCharacters);

}  // namespace quorvex
