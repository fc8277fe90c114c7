// The lines of the game's log file (ConsoleOut.txt: UTF-16 little endian
// with a byte-order mark, CR LF line ends), for the tools that read what a
// run wrote.
#pragma once

#include <algorithm>
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
  std::vector<wchar_t> units(block.size() / 2 + 1);
  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), file);
    if (got == 0) break;
    // The block's characters, the one split by the last block's end first.
    std::size_t count = 0, i = 0;
    if (low >= 0) {
      units[count++] = static_cast<wchar_t>(low | (block[0] << 8));
      low = -1;
      i = 1;
    }
    for (; i + 1 < got; i += 2) units[count++] = static_cast<wchar_t>(block[i] | (block[i + 1] << 8));
    if (i < got) low = block[i];
    const wchar_t* p = units.data();
    const wchar_t* const end = p + count;
    if (first && p < end) {
      first = false;
      if (*p == 0xFEFF) ++p;
    }
    // The runs between CRs go to the line whole; a CR followed by LF ends it.
    while (p < end) {
      if (carriageReturn) {
        carriageReturn = false;
        if (*p == L'\n') {
          take(static_cast<const std::wstring&>(line));
          line.clear();
          ++p;
          continue;
        }
        line += L'\r';
      }
      const wchar_t* const cr = std::find(p, end, L'\r');
      line.append(p, cr);
      if (cr == end) break;
      carriageReturn = true;
      p = cr + 1;
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
