// The lines of the game's log file (ConsoleOut.txt: UTF-16 little endian
// with a byte-order mark, CR LF line ends), for the tools that read what a
// run wrote.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Hands each line of the log to take, in order, reading the file a block at
// a time (the log of a whole war runs to hundreds of megabytes). False when
// the file cannot be opened.
template <class Take>
bool ForEachLogLine(const std::string& path, Take&& take) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  std::wstring line;
  bool first = true;
  bool carriageReturn = false;  // a CR waits for its LF
  int low = -1;                 // the first byte of a character split by the block end
  std::vector<unsigned char> block(1 << 16);
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), file);
    if (got == 0) break;
    for (std::size_t i = 0; i < got; ++i) {
      if (low < 0) {
        low = block[i];
        continue;
      }
      const wchar_t c = static_cast<wchar_t>(low | (block[i] << 8));
      low = -1;
      if (first) {
        first = false;
        if (c == 0xFEFF) continue;
      }
      if (carriageReturn) {
        carriageReturn = false;
        if (c == L'\n') {
          take(static_cast<const std::wstring&>(line));
          line.clear();
          continue;
        }
        line += L'\r';
      }
      if (c == L'\r') {
        carriageReturn = true;
      } else {
        line += c;
      }
    }
  }
  std::fclose(file);
  if (carriageReturn) line += L'\r';
  if (!line.empty()) take(static_cast<const std::wstring&>(line));
  return true;
}

// Every line of the log at once; empty when the file cannot be read.
inline std::vector<std::wstring> ReadLogLines(const std::string& path) {
  std::vector<std::wstring> lines;
  ForEachLogLine(path, [&lines](const std::wstring& line) { lines.push_back(line); });
  return lines;
}
