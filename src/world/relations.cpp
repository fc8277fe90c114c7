#include "world/relations.h"

#include <cfloat>
#include <cstdint>
#include <string>

#include "app/data_rows.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "app/console_log.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace {

// A country id that names no country at all is a fault of the calling code.
[[noreturn]] void BadCountryId(const char* operation, int id) {
  LogLine(L"ERROR: Country ID parameter was %i while %hs", id, operation);
  FatalExit(1);
}

// Id 0 where the operation needs a country: the log line, then the end.
[[noreturn]] void ZeroIdKey(const char* key) {
  g_ConsoleLog.WriteLine(g_StringBase.GetText(key));
  FatalExit(1);
}

[[noreturn]] void EndAfterDataError() { FatalExit(1); }

std::vector<std::wstring> SplitFields(const std::wstring& line) {
  std::vector<std::wstring> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = line.find(L';', start);
    fields.push_back(line.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start));
    if (end == std::wstring::npos) break;
    start = end + 1;
  }
  return fields;
}

// The folder of a path pattern such as "data\scenarios\x\%s".
std::wstring FolderOf(std::wstring_view folderFormat) {
  const std::size_t at = folderFormat.rfind(L"%s");
  std::wstring_view folder = at == std::wstring_view::npos ? folderFormat : folderFormat.substr(0, at);
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.remove_suffix(1);
  return std::wstring(folder);
}

}  // namespace

void cRelationsMatrix::Reset(int count) {
  count_ = count < 0 ? 0 : count;
  const std::size_t cells = static_cast<std::size_t>(count_) * static_cast<std::size_t>(count_);
  cells_.assign(cells, sCell{});
  shares_.assign(cells, 0.0f);
}

std::size_t cRelationsMatrix::Index(int a, int b) const {
  return static_cast<std::size_t>(a - 1) * static_cast<std::size_t>(count_) + static_cast<std::size_t>(b - 1);
}

bool cRelationsMatrix::IsAtWar(int a, int b) const {
  if (a == 0 || b == 0) return false;
  if (!ValidId(a)) BadCountryId("checking relations", a);
  if (!ValidId(b)) BadCountryId("checking relations", b);
  if (a == b) return false;
  return cells_[Index(a, b)].atWar;
}

void cRelationsMatrix::SetAtWar(int a, int b, bool atWar) {
  if (a == 0 || b == 0) ZeroIdKey("country_id_parameter_was_0_while_setting_war.");
  if (!ValidId(a)) BadCountryId("setting war", a);
  if (!ValidId(b)) BadCountryId("setting war", b);
  cells_[Index(a, b)].atWar = atWar;
}

void cRelationsMatrix::AddLosses(int a, int b, float value) {
  if (a == 0 || b == 0) ZeroIdKey("country_id_parameter_was_0_while_changing_losses");
  if (!ValidId(a)) BadCountryId("changing losses", a);
  if (!ValidId(b)) BadCountryId("changing losses", b);
  cells_[Index(a, b)].losses += value;
}

float cRelationsMatrix::GetLosses(int a, int b) const {
  if (a == 0 || b == 0) ZeroIdKey("country_id_parameter_was_0_while_checking_losses");
  if (!ValidId(a)) BadCountryId("checking losses", a);
  if (!ValidId(b)) BadCountryId("checking losses", b);
  return cells_[Index(a, b)].losses;
}

float cRelationsMatrix::GetLossShare(int a, int b) const {
  if (a == 0 || b == 0) ZeroIdKey("country_id_parameter_was_0_while_checking_losses'_share");
  if (!ValidId(a)) BadCountryId("checking losses' share", a);
  if (!ValidId(b)) BadCountryId("checking losses' share", b);
  return shares_[Index(a, b)];
}

float cRelationsMatrix::GetLossesSufferedBy(int b) const {
  if (!ValidId(b)) BadCountryId("checking losses", b);
  float total = 0.0f;
  for (int a = 1; a <= count_; ++a) total += cells_[Index(a, b)].losses;
  return total;
}

void cRelationsMatrix::ComputeLossShares() {
  for (int b = 1; b <= count_; ++b) {
    const float total = GetLossesSufferedBy(b);
    for (int a = 1; a <= count_; ++a) {
      shares_[Index(a, b)] = total == 0.0f ? 0.0f : cells_[Index(a, b)].losses / total;
    }
  }
}

void cRelationsMatrix::ClearWarsOf(int a) {
  if (a == 0) {
    LogLine(L"ERROR: Country ID parameter was 0 while checking relations");
    FatalExit(1);
  }
  if (!ValidId(a)) BadCountryId("checking relations", a);
  for (int b = 1; b <= count_; ++b) {
    if (b == a || !cells_[Index(a, b)].atWar) continue;
    cells_[Index(a, b)].atWar = false;
    cells_[Index(b, a)].atWar = false;
  }
}

void cRelationsMatrix::Load(std::wstring_view folderFormat, int count) {
  Reset(count);
  ReadFile(folderFormat, L"relations.csv", false);
  ReadFile(folderFormat, L"losses.csv", true);
}

void cRelationsMatrix::ReadFile(std::wstring_view folderFormat, const wchar_t* fileName, bool losses) {
  const std::wstring path = plat::Format(folderFormat, fileName);
  LogLine(losses ? L"Reading the losses between countries from:" : L"Reading the relations between countries from:");
  g_ConsoleLog.WriteLine(path);
  std::string bytes;
  if (!plat::ReadFileBytes(plat::ResolvePath(std::wstring_view(path)), bytes)) {
    LogLine(L"Blad otwarcia pliku! (nie istnieje?)");
    // The game being built is freed by the end of the process; freeing it
    // here would pull the world away from under its own loader.
    EndAfterDataError();
  }
  LogLine(L"Otwarcie OK");

  // Every country has exactly one row of one cell per country: a row left
  // out or cut short would silently make peace (or forget losses).
  files::cRowCheck row(path);
  // The line of each country's row (0: none yet).
  std::vector<std::uint32_t> seen(static_cast<std::size_t>(count_) + 1, 0);
  const std::size_t fieldsNeeded = static_cast<std::size_t>(count_) + 2;
  plat::LineReader reader(bytes);
  std::string_view narrow;
  while (reader.Next(narrow)) {
    const int lineNumber = static_cast<int>(reader.LineNumber());
    // Comments and empty lines.
    if (narrow.empty() || narrow[0] == '#') continue;
    const std::vector<std::wstring> fields = SplitFields(plat::WidenAnsi(narrow));
    row.Start(static_cast<std::uint32_t>(lineNumber), fields);
    int a = 0;
    if (!files::ParseWholeInt(fields[0], a) || a < 1 || a > count_) {
      LogLine(L"Error in file %lS\\%s line no. %i", FolderOf(folderFormat), std::wstring(fileName), lineNumber);
      g_ConsoleLog.WriteLine(g_StringBase.GetText("wrong_country_id"));
      row.RefuseValue(0, L"country id", plat::Format(L"is not one of 1 to %i", count_));
    }
    // The writer ends each row with ';', which makes one empty field more.
    const std::size_t used = fields.size() > fieldsNeeded && fields.back().empty() ? fields.size() - 1 : fields.size();
    if (used < fieldsNeeded) {
      row.Refuse(plat::Format(L"%u fields where %u are needed (the id, the name and one cell for each of %i countries)",
                              static_cast<unsigned>(used), static_cast<unsigned>(fieldsNeeded), count_));
    }
    if (used > fieldsNeeded) {
      row.Warn(plat::Format(L"%u fields where %u are read; the fields from column %u on are ignored",
                            static_cast<unsigned>(used), static_cast<unsigned>(fieldsNeeded),
                            static_cast<unsigned>(fieldsNeeded + 1)));
    }
    if (seen[static_cast<std::size_t>(a)] != 0) {
      row.RefuseRepeated(plat::Format(L"the row of country %i", a), seen[static_cast<std::size_t>(a)]);
    }
    seen[static_cast<std::size_t>(a)] = row.Line();
    for (int b = 1; b <= count_; ++b) {
      sCell& cell = cells_[Index(a, b)];
      const std::size_t column = static_cast<std::size_t>(b) + 1;
      if (losses) {
        cell.losses = files::ToFloat(row.NumberClamped(column, L"losses", 0.0, FLT_MAX));
      } else {
        cell.atWar = row.Flag(column, L"war flag");
        cell.losses = 0.0f;
      }
    }
  }
  for (int a = 1; a <= count_; ++a) {
    if (seen[static_cast<std::size_t>(a)] != 0) continue;
    LogLine(L"ERROR: %s: no row for country %i", path, a);
    EndAfterDataError();
  }
}
