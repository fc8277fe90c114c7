#include "app/csv_reader.h"

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <cstring>

#include "platform/paths.h"
#include "platform/text.h"

namespace {

// Windows-1252 maps every byte to exactly one character, so the widening is
// taken once per byte value and fields are widened run by run.
const std::array<wchar_t, 256>& AnsiTable() {
  static const std::array<wchar_t, 256> table = [] {
    std::string bytes(256, '\0');
    for (int b = 0; b < 256; ++b) bytes[b] = static_cast<char>(b);
    const std::wstring wide = plat::WidenAnsi(bytes);
    std::array<wchar_t, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = b < static_cast<int>(wide.size()) ? wide[b] : L'?';
    return t;
  }();
  return table;
}

// The bytes that end a run of field text: LF, CR and ';'.
constexpr std::array<bool, 256> kStops = [] {
  std::array<bool, 256> t{};
  t['\n'] = t['\r'] = t[';'] = true;
  return t;
}();

// The position after the line end at pos (CR LF, LF or CR).
std::size_t SkipLineEnd(const unsigned char* data, std::size_t size, std::size_t pos) {
  if (data[pos] == '\r' && pos + 1 < size && data[pos + 1] == '\n') return pos + 2;
  return pos + 1;
}

void AppendWidened(std::wstring& field, const unsigned char* bytes, std::size_t count) {
  const auto& table = AnsiTable();
  const std::size_t old = field.size();
  field.resize(old + count);
  wchar_t* out = field.data() + old;
  for (std::size_t i = 0; i < count; ++i) out[i] = table[bytes[i]];
}

}  // namespace

cCsvReader::cCsvReader(std::wstring_view fileName) { Open(fileName); }

void cCsvReader::Open(std::wstring_view fileName) {
  // A reader opened again starts over on the new file.
  buffer_.reset();
  opened_ = false;
  position_ = 0;
  size_ = 0;
  lineCounter_ = 0;

  const std::string path = plat::ResolvePath(plat::ToUtf8(fileName));
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return;
  struct stat info {};
  if (::fstat(::fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
    std::fclose(file);
    return;
  }
  const auto size = static_cast<std::size_t>(info.st_size);
  auto buffer = std::make_unique_for_overwrite<char[]>(size);
  const std::size_t read = size > 0 ? std::fread(buffer.get(), 1, size, file) : 0;
  std::fclose(file);
  // A short read leaves nothing to parse rather than bytes that were never read.
  if (read != size) return;
  buffer_ = std::move(buffer);
  size_ = size;
  opened_ = true;
}

void cCsvReader::OpenBytes(std::string_view bytes) {
  buffer_ = std::make_unique_for_overwrite<char[]>(bytes.size());
  if (!bytes.empty()) std::memcpy(buffer_.get(), bytes.data(), bytes.size());
  size_ = bytes.size();
  position_ = 0;
  lineCounter_ = 0;
  opened_ = true;
}

void cCsvReader::Close() {
  if (!buffer_) return;
  buffer_.reset();
  position_ = 0;
  size_ = 0;
  lineCounter_ = 0;
  opened_ = false;
}

// Byte by byte this is: take a byte; a byte other than LF, CR and ';' goes to
// the accumulator (a '#' that starts the accumulator of the record's first
// field marks a comment, after which nothing more is gathered up to the line
// end); while the accumulator is empty and empty fields are not kept, a line
// end ends the record and ';' is passed over; otherwise a line end, ';' or
// the end of the data completes the field; a line end or the end of the data
// ends the record. A line end is CR LF, LF or CR (the LF of a CR LF is taken
// with its CR). Runs of ordinary bytes are taken at once, and the field
// strings of the previous record are reused, so a record of short fields
// costs no allocation.
std::uint16_t cCsvReader::ReadRecord(bool keepEmptyFields) {
  if (position_ >= size_) {
    fields_.clear();
    return 0;
  }
  const auto* data = reinterpret_cast<const unsigned char*>(buffer_.get());
  const std::size_t size = size_;
  std::size_t pos = position_;
  std::size_t used = 0;              // completed fields, in fields_[0, used)
  std::wstring* field = nullptr;     // the field gathered, while it has text
  auto nextSlot = [this, &used]() -> std::wstring& {
    if (used < fields_.size()) {
      fields_[used].clear();
      return fields_[used];
    }
    return fields_.emplace_back();
  };

  for (;;) {
    const std::size_t start = pos;
    while (pos < size && !kStops[data[pos]]) ++pos;
    if (pos > start) {
      if (!field) {
        if (data[start] == '#' && used == 0) {
          // A comment: everything up to the line end is passed over.
          while (pos < size && data[pos] != '\r' && data[pos] != '\n') ++pos;
          if (pos < size) pos = SkipLineEnd(data, size, pos);
          break;
        }
        field = &nextSlot();
      }
      AppendWidened(*field, data + start, pos - start);
      if (pos >= size) {  // the last field is complete without a final CR
        ++used;
        break;
      }
    }
    const unsigned char byte = data[pos];
    const bool lineEnd = byte == '\r' || byte == '\n';
    pos = lineEnd ? SkipLineEnd(data, size, pos) : pos + 1;
    const bool atEnd = pos >= size;
    if (!field && !keepEmptyFields) {
      if (lineEnd || atEnd) break;
      continue;
    }
    // A line end, ';' or the end of the data completes the field.
    if (!field) nextSlot();  // an empty field that is kept
    ++used;
    field = nullptr;
    if (lineEnd || atEnd) break;
  }

  position_ = pos;
  fields_.resize(used);
  ++lineCounter_;
  return static_cast<std::uint16_t>(used > 0xFFFF ? 0xFFFF : used);
}
