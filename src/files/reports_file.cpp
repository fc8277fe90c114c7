#include "files/reports_file.h"

#include <cstring>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/text.h"

namespace {

constexpr char kMagic[5] = {'T', 'd', 'w', 'v', '1'};

void PutInt(std::string& out, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((u >> shift) & 0xFF));
}

// Reads little-endian values from the bytes; every read checks what is left.
class cByteReader {
 public:
  explicit cByteReader(std::string_view bytes) : bytes_(bytes) {}
  bool Int(std::int32_t& out) {
    if (bytes_.size() - pos_ < 4) return false;
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    pos_ += 4;
    out = static_cast<std::int32_t>(u);
    return true;
  }
  bool Take(std::size_t count, std::string_view& out) {
    if (bytes_.size() - pos_ < count) return false;
    out = bytes_.substr(pos_, count);
    pos_ += count;
    return true;
  }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string ReportsToBytes(const cReportStore& store) {
  std::string out(kMagic, sizeof kMagic);
  PutInt(out, static_cast<std::int32_t>(store.Reports().size()));
  for (const sReport& r : store.Reports()) {
    for (std::int32_t v : {r.type, r.year, r.month, r.day, r.impulse, r.extra, r.countryId}) PutInt(out, v);
    const std::string units = plat::ToUtf16LE(r.text);
    PutInt(out, static_cast<std::int32_t>(units.size() / 2));
    out += units;
  }
  return out;
}

eReportsRead ReportsFromBytes(cReportStore& store, std::string_view bytes) {
  store.Reports().clear();
  cByteReader in(bytes);
  std::string_view magic;
  if (!in.Take(sizeof kMagic, magic) || std::memcmp(magic.data(), kMagic, sizeof kMagic) != 0) {
    return eReportsRead::kWrongMagic;
  }
  std::int32_t count = 0;
  if (!in.Int(count)) return eReportsRead::kTruncated;
  std::list<sReport> read;
  for (std::int32_t i = 0; i < count; ++i) {
    sReport r;
    std::int32_t length = 0;
    if (!in.Int(r.type) || !in.Int(r.year) || !in.Int(r.month) || !in.Int(r.day) || !in.Int(r.impulse) ||
        !in.Int(r.extra) || !in.Int(r.countryId) || !in.Int(length)) {
      return eReportsRead::kTruncated;
    }
    if (length > 0) {
      std::string_view units;
      // The length is checked against the bytes left before anything is
      // allocated for it.
      if (!in.Take(static_cast<std::size_t>(length) * 2, units)) return eReportsRead::kTruncated;
      r.text = plat::FromUtf16LE(units.data(), units.size());
    }
    read.push_back(std::move(r));
  }
  store.Reports() = std::move(read);
  return eReportsRead::kOk;
}

std::uint32_t CountWholeReports(std::string_view bytes) {
  cByteReader in(bytes);
  std::string_view skipped;
  if (!in.Take(sizeof kMagic, skipped) || std::memcmp(skipped.data(), kMagic, sizeof kMagic) != 0) return 0;
  std::int32_t count = 0;
  if (!in.Int(count)) return 0;
  std::uint32_t whole = 0;
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t field = 0;
    for (int k = 0; k < 7; ++k) {
      if (!in.Int(field)) return whole;
    }
    std::int32_t length = 0;
    if (!in.Int(length)) return whole;
    if (length > 0 && !in.Take(static_cast<std::size_t>(length) * 2, skipped)) return whole;
    ++whole;
  }
  return whole;
}

void SaveReports(const cReportStore& store, std::wstring_view folder) {
  if (!files::WriteBytes(files::JoinPath(folder, L"reports.dat"), ReportsToBytes(store))) {
    FatalExit(L"ERROR: Opening reports file for writing");
  }
  g_ConsoleLog.WriteLine(L"Reports file opened OK");
}

void LoadReports(cReportStore& store, std::wstring_view folderFormat) {
  const std::wstring path = files::PathFromPattern(folderFormat, L"reports.dat");
  std::string bytes;
  if (!files::ReadBytes(path, bytes)) {
    LogLine(L"ERROR: %s cannot be read", path);
    FatalExit(L"ERROR: Opening reports file for reading");
  }
  const eReportsRead result = ReportsFromBytes(store, bytes);
  if (result == eReportsRead::kWrongMagic) {
    LogLine(L"WARNING: %s does not start with \"Tdwv1\"; the game goes on without its reports", path);
    return;
  }
  g_ConsoleLog.WriteLine(L"Reports file opened OK");
  if (result == eReportsRead::kTruncated) {
    LogLine(L"ERROR: Reports file %s is truncated", path);
    FatalExit(1);
  }
}
