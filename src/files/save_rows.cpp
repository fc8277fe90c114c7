#include "files/save_rows.h"

#include "app/csv_reader.h"
#include "files/reports_file.h"
#include "platform/text.h"

namespace {

bool EndsWith(std::wstring_view text, std::wstring_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The records a reader of the table hands out, counted as the readers count
// them: a record with a field.
std::uint32_t TableRecords(std::string_view bytes) {
  cCsvReader reader(std::wstring_view{});
  reader.OpenBytes(bytes);
  std::uint32_t rows = 0;
  while (!reader.AtEnd()) {
    if (reader.ReadRecord(false) > 0) ++rows;
  }
  return rows;
}

}  // namespace

std::optional<std::uint32_t> SaveFileRows(std::wstring_view file, std::string_view bytes) {
  if (file == L"reports.dat") return CountWholeReports(bytes);
  // The airship attacks are written as UTF-16LE text.
  if (file == L"airship_attacks.csv") {
    return TableRecords(plat::ToUtf8(plat::FromUtf16LE(bytes.data(), bytes.size() & ~std::size_t{1})));
  }
  if (EndsWith(file, L".csv") || file == L"flags.txt") return TableRecords(bytes);
  return std::nullopt;
}
