#pragma once
// The classes of wide characters the text readers test: digits and blanks
// (space, tab, the line ends, vertical tab and form feed).

inline bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
inline bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f';
}
