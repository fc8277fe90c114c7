// Reads arbitrary bytes as a data file, with and without empty fields kept.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "app/csv_reader.h"
#include "platform/lines.h"
#include "platform/text.h"

namespace {

std::string ScratchFile() {
  return (std::filesystem::temp_directory_path() / ("tw_fuzz_csv_" + std::to_string(::getpid()) + ".csv")).string();
}

void ReadAll(const std::wstring& name, bool keepEmptyFields) {
  cCsvReader reader(name);
  if (!reader.IsOpened()) __builtin_trap();
  std::size_t records = 0;
  while (!reader.AtEnd()) {
    const std::size_t count = reader.ReadRecord(keepEmptyFields);
    if (count != (reader.FieldCount() > 0xFFFF ? 0xFFFF : reader.FieldCount())) __builtin_trap();
    for (const std::wstring& field : reader.Fields()) {
      // Separators never reach a field, and without kept empties no field is empty.
      if (field.find_first_of(L"\r\n;") != std::wstring::npos) __builtin_trap();
      if (!keepEmptyFields && field.empty()) __builtin_trap();
    }
    ++records;
  }
  if (reader.LineCounter() != records) __builtin_trap();
  reader.Close();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = ScratchFile();
  static const std::wstring name = plat::FromUtf8(path);
  if (!plat::WriteFileBytes(path, std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  ReadAll(name, false);
  ReadAll(name, true);
  return 0;
}
