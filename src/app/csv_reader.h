// The reader of the semicolon-separated data files (skin tables, scenario and
// save tables). The whole file is read into memory at once; each ReadRecord
// hands out the next record as wide fields (Windows-1252 widened).
//
// Fields end at ';' and records at a line end: CR LF, LF or CR, so files
// written on Windows, on Linux or with mixed line ends keep their rows. The
// line counter is then the line number of the record last read. A '#' as the first byte of a
// record (after any ';' passed over) makes the record a comment with no
// fields. Blanks are kept and there is no quoting.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class cCsvReader {
 public:
  explicit cCsvReader(std::wstring_view fileName);

  // Reads the whole file (the name may use backslashes and any letter
  // case). IsOpened() tells whether every byte of it was read.
  void Open(std::wstring_view fileName);
  // Reads bytes already in memory (a copy is kept) as a file's content.
  void OpenBytes(std::string_view bytes);
  // True when every byte has been handed out (at once for a file that could
  // not be opened).
  bool AtEnd() const { return position_ >= size_; }
  // Reads the next record into Fields() and returns the number of fields
  // (0 for a comment line; at most 65535 even when the vector holds more).
  // Without keepEmptyFields, empty fields and runs of ';' are passed over.
  std::uint16_t ReadRecord(bool keepEmptyFields);
  // Frees the file's bytes and clears position, size, line counter and the
  // opened flag. The fields of the last record stay.
  void Close();

  bool IsOpened() const { return opened_; }
  // The number of records read so far: the line number of the last one.
  std::uint32_t LineCounter() const { return lineCounter_; }

  // The file's bytes as read (empty once closed).
  std::string_view Text() const { return {buffer_.get(), static_cast<std::size_t>(size_)}; }

  const std::vector<std::wstring>& Fields() const { return fields_; }
  std::size_t FieldCount() const { return fields_.size(); }
  // The field at index (which must be below FieldCount()).
  const std::wstring& operator[](std::size_t index) const { return fields_[index]; }

 private:
  bool opened_ = false;
  std::uint64_t position_ = 0;
  std::uint64_t size_ = 0;
  std::uint32_t lineCounter_ = 0;
  std::vector<std::wstring> fields_;
  std::unique_ptr<char[]> buffer_;  // exactly the file's bytes, no terminator
};
