// The lines of the game's log file (ConsoleOut.txt: UTF-16 little endian
// with a byte-order mark, CR LF line ends), for the tools that read what a
// run wrote. Empty when the file cannot be read.
#pragma once

#include <string>
#include <vector>

#include "platform/lines.h"

inline std::vector<std::wstring> ReadLogLines(const std::string& path) {
  std::vector<std::wstring> lines;
  std::string bytes;
  if (!plat::ReadFileBytes(path, bytes)) return lines;
  std::wstring text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                 (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}
