// Text conversions at the boundaries of the program.
//
// In memory every text for the player and every log line is a std::wstring
// (wchar_t is 32 bits here). Files hold UTF-16LE (log, language base, names in
// binary records), 8-bit text read byte by byte (INI files, language keys),
// Windows-1252 (the semicolon-separated data files) or UTF-8 (paths).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

// Each byte becomes one character of the same value (0..255).
std::wstring WidenBytes(std::string_view bytes);
// Each byte becomes one character taking the byte as a signed 8-bit number:
// bytes 0x80..0xFF become U+FF80..U+FFFF.
std::wstring WidenBytesSigned(std::string_view bytes);
// Each character keeps its low byte.
std::string NarrowBytes(std::wstring_view text);

// Windows-1252 ("ANSI") to wide and back. Characters with no 1252 form
// narrow to '?'.
std::wstring WidenAnsi(std::string_view bytes);
std::string NarrowAnsi(std::wstring_view text);

// Code page 437 ("OEM") to wide.
std::wstring WidenOem(std::string_view bytes);

// UTF-16LE bytes to wide text: surrogate pairs join into one character, a
// lone surrogate is kept as it is, an odd last byte is ignored.
std::wstring FromUtf16LE(const void* data, std::size_t byteCount);
// Wide text to UTF-16LE bytes; characters above U+FFFF become surrogate pairs.
std::string ToUtf16LE(std::wstring_view text);
// Appends the UTF-16LE bytes of text to out (no allocation when out has room).
void AppendUtf16LE(std::string& out, std::wstring_view text);

// Decodes one strictly valid UTF-8 sequence at s[i] (i < s.size()) and
// advances i past it. False, with i unchanged, on an invalid, overlong, cut
// or surrogate sequence or a value past U+10FFFF.
bool DecodeUtf8(std::string_view s, std::size_t& i, char32_t& out);

// UTF-8 to wide and back (file names, the clipboard, tool sources).
// Invalid UTF-8 bytes become U+FFFD.
std::wstring FromUtf8(std::string_view utf8);
std::string ToUtf8(std::wstring_view text);

}  // namespace plat
