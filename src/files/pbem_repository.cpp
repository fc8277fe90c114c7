#include "files/pbem_repository.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/string_base.h"
#include "app/fatal_exit.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace {

std::wstring g_RepositoryPath = L"data\\pbem\\repo.dat";

std::string StoredNameBytes(std::wstring_view gameName) {
  std::string bytes = plat::ToUtf16LE(gameName);
  // Never past the terminator's place; a surrogate pair cut in half stays
  // half, as the name would have been cut on writing anyway.
  if (bytes.size() > kPbemRecordNameUnits * 2) bytes.resize(kPbemRecordNameUnits * 2);
  return bytes;
}

// The name field of a record, up to its terminator.
std::string RecordNameBytes(const char* record) {
  std::size_t units = 0;
  while (units < kPbemRecordNameUnits + 1 &&
         (record[units * 2] != 0 || record[units * 2 + 1] != 0)) {
    ++units;
  }
  return std::string(record, units * 2);
}

std::vector<char> ReadAll(const std::string& path, bool& exists) {
  std::ifstream in(path, std::ios::binary);
  exists = static_cast<bool>(in);
  if (!in) return {};
  return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The byte offset of the first record named so, or -1.
long FindRecord(const std::vector<char>& data, const std::string& name) {
  // A partial record at the end holds nothing.
  const std::size_t records = data.size() / kPbemRecordSize;
  for (std::size_t i = 0; i < records; ++i) {
    if (RecordNameBytes(data.data() + i * kPbemRecordSize) == name) {
      return static_cast<long>(i * kPbemRecordSize);
    }
  }
  return -1;
}

[[noreturn]] void FailOpen(const char* key) { FatalExit(g_StringBase.GetText(key)); }

}  // namespace

void SetPbemRepositoryPath(std::wstring path) { g_RepositoryPath = std::move(path); }

void UpdatePbemRepository(std::uint32_t playerId, std::wstring_view gameName) {
  char record[kPbemRecordSize] = {};
  const std::string name = StoredNameBytes(gameName);
  std::memcpy(record, name.data(), name.size());
  for (int i = 0; i < 4; ++i) record[500 + i] = static_cast<char>((playerId >> (8 * i)) & 0xFF);

  const std::string path = plat::ResolvePath(std::wstring_view(g_RepositoryPath));
  bool exists = false;
  const std::vector<char> data = ReadAll(path, exists);
  long offset = FindRecord(data, name);
  // A new record follows the last whole one (a torn tail is overwritten).
  if (offset < 0) offset = static_cast<long>(data.size() / kPbemRecordSize * kPbemRecordSize);

  std::fstream file;
  if (exists) {
    file.open(path, std::ios::in | std::ios::out | std::ios::binary);
  } else {
    file.open(path, std::ios::out | std::ios::binary);
  }
  if (!file) FailOpen("error_while_opening_repo.dat_file._exiting.");
  file.seekp(offset);
  file.write(record, sizeof(record));
  file.flush();
  if (!file) FailOpen("error_while_opening_repo.dat_file._exiting.");
}

std::uint32_t GetPbemRepositoryValue(std::wstring_view gameName,
                                     const std::function<std::uint32_t()>& nextPlayerId) {
  const std::string path = plat::ResolvePath(std::wstring_view(g_RepositoryPath));
  bool exists = false;
  const std::vector<char> data = ReadAll(path, exists);
  const long offset = FindRecord(data, StoredNameBytes(gameName));
  if (offset >= 0) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(data.data() + offset + 500);
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
  }
  const std::uint32_t value = nextPlayerId ? nextPlayerId() : 0;
  UpdatePbemRepository(value, gameName);
  return value;
}
