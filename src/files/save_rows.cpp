#include "files/save_rows.h"

#include <algorithm>
#include <string>
#include <vector>

#include "app/csv_reader.h"
#include "files/ai_data_file.h"
#include "files/reports_file.h"
#include "platform/text.h"

namespace {

bool EndsWith(std::wstring_view text, std::wstring_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsTable(std::wstring_view file) { return EndsWith(file, L".csv") || file == L"flags.txt"; }

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

// How the game ends each row it writes into a table.
enum class eRowEnd {
  kSemicolon,  // "...;" (its line end comes before the next row)
  kLineEnd,    // "...\r\n"
  kNone,       // the last value itself
};

eRowEnd RowEndOf(std::wstring_view file) {
  if (file == L"flags.txt" || file == L"auto_events.csv" || file == L"unit_names.csv") return eRowEnd::kLineEnd;
  if (file == L"ai_data.csv" || file == L"relations.csv") return eRowEnd::kNone;
  return eRowEnd::kSemicolon;
}

// A record as the table readers take it: its first field and its fields.
struct sRecord {
  std::wstring key;
  std::size_t fields = 0;
};

// Whether the last of the records is narrower than the earlier ones of its
// kind: all of them where they are of one width, else those that begin with
// the same field (the cities of a topography, say).
bool NarrowerThanItsKind(const std::vector<sRecord>& records) {
  const sRecord& last = records.back();
  const auto earlier = records.begin(), end = records.end() - 1;
  const bool oneWidth =
      std::all_of(earlier, end, [&](const sRecord& r) { return r.fields == earlier->fields; });
  return std::any_of(earlier, end, [&](const sRecord& r) {
    return (oneWidth || r.key == last.key) && r.fields > last.fields;
  });
}

// Whether the last record of a table the game wrote was cut short: the file
// stops inside its text, before the end the game gives every row, or after
// fewer fields than the game writes. Only the last can be, since a cut
// keeps what comes before it.
bool LastRecordCutShort(std::wstring_view file, std::string_view bytes, const std::vector<sRecord>& records) {
  const eRowEnd rowEnd = RowEndOf(file);
  if (rowEnd == eRowEnd::kLineEnd) return !IsLineEnd(bytes.back());
  std::string_view rest = bytes;
  while (!rest.empty() && IsLineEnd(rest.back())) rest.remove_suffix(1);
  const std::size_t start = rest.find_last_of("\r\n");
  const std::string_view line = start == std::string_view::npos ? rest : rest.substr(start + 1);
  // A comment after the rows (the reserve line of the ships and the air
  // units) kept them whole.
  const std::size_t first = line.find_first_not_of(';');
  if (first == std::string_view::npos || line[first] == '#') return false;
  // The computer's data: each key with the values the game writes for it.
  if (file == L"ai_data.csv") return !IsWholeAiDataLine(line);
  return (rowEnd == eRowEnd::kSemicolon && line.back() != ';') || NarrowerThanItsKind(records);
}

// The records a reader of the table hands out, counted as the readers count
// them (a record with a field), but for a last one cut short.
std::uint32_t TableRecords(std::wstring_view file, std::string_view bytes) {
  cCsvReader reader(std::wstring_view{});
  reader.OpenBytes(bytes);
  std::vector<sRecord> records;
  while (!reader.AtEnd()) {
    const std::size_t fields = reader.ReadRecord(false);
    if (fields > 0) records.push_back(sRecord{reader[0], fields});
  }
  const auto rows = static_cast<std::uint32_t>(records.size());
  return rows > 0 && LastRecordCutShort(file, bytes, records) ? rows - 1 : rows;
}

}  // namespace

bool IsRowCountedFile(std::wstring_view file) { return file == L"reports.dat" || IsTable(file); }

std::optional<std::uint32_t> SaveFileRows(std::wstring_view file, std::string_view bytes) {
  if (file == L"reports.dat") return CountWholeReports(bytes);
  // The airship attacks are written as UTF-16LE text.
  if (file == L"airship_attacks.csv") {
    return TableRecords(file, plat::ToUtf8(plat::FromUtf16LE(bytes.data(), bytes.size() & ~std::size_t{1})));
  }
  if (IsTable(file)) return TableRecords(file, bytes);
  return std::nullopt;
}
