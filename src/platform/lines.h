// Text lines: readers accept CR LF, LF and CR line ends; writers of the files
// the Windows game wrote in text mode write CR LF.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

// Splits a buffer into lines at CR LF, LF or CR (the line end is left out). A
// last line without a line end counts; an empty buffer has no lines.
class LineReader {
 public:
  explicit LineReader(std::string_view data) : data_(data) {}
  // Gives the next line and returns true, or returns false at the end.
  bool Next(std::string_view& line);
  // Number of lines handed out so far.
  std::size_t LineNumber() const { return line_number_; }

 private:
  std::string_view data_;
  std::size_t pos_ = 0;
  std::size_t line_number_ = 0;
};

// Every LF that is not already preceded by CR becomes CR LF.
std::string ToCrLf(std::string_view text);

// Reads a whole file as bytes; false when it cannot be opened or read whole.
bool ReadFileBytes(const std::string& path, std::string& out);
// Writes bytes to a file (created or emptied); false on any failure.
bool WriteFileBytes(const std::string& path, std::string_view bytes);
// Replaces a file whole: the bytes go to a temporary file beside it, are
// flushed to the disk and only then renamed over it, so the file holds either
// its former content (or stays absent) or all the new bytes, never a part.
// False on any failure, with no temporary file left behind. The temporary
// files that writers killed before their rename left beside it go first.
bool ReplaceFileBytes(const std::string& path, std::string_view bytes);

}  // namespace plat
