// The line ends of the scenario's text files: every LF becomes CR LF (the
// game's data-file reader ends records at CR).
#pragma once

#include <string>

inline std::string Crlf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}
