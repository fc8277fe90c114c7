// The text source of a language base (data/lang/lang_XXX.txt) and the binary
// base made from it (see app/string_base.h for the binary layout).
//
// Source syntax, UTF-8, one text a line (LF or CR LF):
//   key<TAB>text
// - key: 1..255 printable ASCII characters, no spaces; it may not begin with '#'.
// - text: everything after the first TAB up to the line end, kept exactly
//   (leading and trailing spaces included). Escapes: \n line break, \t tab,
//   \\ backslash; any other backslash sequence is an error, and so is a raw
//   control character (a tab inside the text is written \t).
// - Lines beginning with '#' and empty lines are skipped. A UTF-8 byte-order
//   mark at the very start is skipped.
// Errors: a malformed line, a key too long or not printable ASCII, a text
// longer than 65535 UTF-16 units, a key given twice, invalid UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct sLangText {
  std::string key;
  std::wstring text;
  std::size_t line = 0;  // 1-based line of the source
};

struct sLangSourceError {
  std::size_t line = 0;  // 1-based line of the fault
  std::string message;
};

// Parses a whole source into texts, in source order. On the first fault
// returns false with error filled (texts then holds the lines before it).
bool ParseLangSource(std::string_view source, std::vector<sLangText>& texts, sLangSourceError& error);

// The binary base for texts in the given order: byte 0 = 0, the count, the
// records. False (out untouched) when a key is longer than 255 bytes or a text
// longer than 65535 UTF-16 units.
bool BuildLangBase(const std::vector<sLangText>& texts, std::string& out);
