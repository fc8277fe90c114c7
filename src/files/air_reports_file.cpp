#include "files/air_reports_file.h"

#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/data_rows.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/lines.h"
#include "platform/text.h"
#include "world/jednostka_ladowa.h"
#include "world/unit.h"
#include "world/world.h"

void LoadAirReconHexes(cWorld& world, std::wstring_view folderFormat, const UnitAtHexFn& unitAt) {
  const std::wstring path = files::PathFromPattern(folderFormat, L"airrecon_units.csv");
  std::string bytes;
  if (!files::ReadBytes(path, bytes)) {
    g_ConsoleLog.WriteLine(
        L"Nie uda?o si? otworzy? pliku - mo?e nie istnie? (zadnych odkrytych jednostek)");
    return;
  }
  g_ConsoleLog.WriteLine(L"Otwarcie OK");
  files::cRowCheck row(path, files::RowLossOf(world.savedGame));
  files::cKeyLines<int> countryLines;
  plat::LineReader lines(bytes);
  std::string_view raw;
  cCountry* country = nullptr;
  while (lines.Next(raw)) {
    const std::wstring line = files::Trim(plat::WidenAnsi(raw));
    if (line.empty() || line[0] == L'#') continue;
    const std::vector<std::wstring> fields = files::Split(line, true);
    row.Start(static_cast<std::uint32_t>(lines.LineNumber()), fields);
    int a = 0, b = 0;
    if (fields[0] == L"Country") {
      if (fields.size() < 2 || !files::StrictInt(fields[1], a) || !world.GetCountry(a)) {
        row.Skip(L"a wrong country id; its hexes are skipped too: " + line);
        country = nullptr;
        continue;
      }
      // The game writes one section a country.
      if (const std::uint32_t first = countryLines.Earlier(a, row.Line())) {
        row.Repeated(plat::Format(L"the section of country %i", a), first,
                     L"; its hexes are added to those of the earlier section");
      }
      country = world.GetCountry(a);
      continue;
    }
    if (fields.size() < 2 || !files::StrictInt(fields[0], a) || !files::StrictInt(fields[1], b)) {
      row.Skip(L"not a hex: " + line);
      continue;
    }
    if (!country) {
      row.Skip(L"a hex before any valid Country line");
      continue;
    }
    cUnit* unit = unitAt ? unitAt(a, b) : nullptr;
    // The game may write such a row itself (a spotted unit gone aboard a
    // ship since stands on no hex): the row is left out, a save loads.
    if (!unit) {
      row.Warn(plat::Format(L"no unit stands on hex (%i, %i); the row is skipped", a, b));
      continue;
    }
    country->reconSpottedUnits.push_back(unit);
  }
}

void LoadAirReconHexes(cWorld& world, std::wstring_view folderFormat) {
  const cMap& map = world.GetMap();
  LoadAirReconHexes(world, folderFormat, [&map](int x, int y) -> cUnit* {
    return map.IsInside(x, y) ? map.GetHex(x, y).unit : nullptr;
  });
}

void LoadAirshipAttackReports(cWorld& world, std::wstring_view folderFormat) {
  const std::wstring path = files::PathFromPattern(folderFormat, L"airship_attacks.csv");
  std::string bytes;
  if (!files::ReadBytes(path, bytes)) {
    g_ConsoleLog.WriteLine(
        L"Nie uda?o si? otworzy? pliku - mo?e nie istnie? (zadnych raportow do wyswietlenia)");
    return;
  }
  g_ConsoleLog.WriteLine(L"Otwarcie OK");
  // An odd last byte is no whole character and is dropped.
  const std::wstring text = plat::FromUtf16LE(bytes.data(), bytes.size() & ~static_cast<std::size_t>(1));
  files::cRowCheck row(path, files::RowLossOf(world.savedGame));
  std::size_t start = 0;
  int lineNo = 0;
  while (start <= text.size()) {
    // A line ends at CR LF, LF or CR.
    std::size_t end = text.find_first_of(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    const std::wstring line = files::Trim(std::wstring_view(text).substr(start, end - start));
    start = end + (text.compare(end, 2, L"\r\n") == 0 ? 2 : 1);
    ++lineNo;
    if (line.empty() || line[0] == L'#') continue;
    const std::vector<std::wstring> fields = files::Split(line, true);
    row.Start(static_cast<std::uint32_t>(lineNo), fields);
    int id = 0;
    cCountry* country = files::StrictInt(fields[0], id) ? world.GetCountry(id) : nullptr;
    if (!country || fields.size() < 2) {
      row.Skip(L"a wrong country id or no report: " + line);
      continue;
    }
    // The game ends every report with ";" (its text never holds one): in a
    // saved game a row without it was cut inside its text.
    if (world.savedGame && (fields.size() < 3 || !fields.back().empty())) {
      row.Skip(L"the row ends before the \";\" the game writes after the report: it was cut inside its text");
      continue;
    }
    country->attackReports.push_back(fields[1]);
  }
}

void WriteAirReconUnits(const cWorld& world, std::wstring_view folder) {
  std::string text = "#Hexes with units spoted with air recon";
  for (const auto& country : world.Countries()) {
    if (country->reconSpottedUnits.empty()) continue;
    text += plat::FormatNarrow("\nCountry;%i;", country->id);
    for (const cUnit* unit : country->reconSpottedUnits) {
      text += plat::FormatNarrow("\n%i;%i;", unit->x, unit->y);
    }
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"airrecon_units.csv"), text);
}

void WriteAirshipAttacks(const cWorld& world, std::wstring_view folder) {
  std::wstring text = L"#Defender country ID;report";
  for (const auto& country : world.Countries()) {
    for (const std::wstring& report : country->attackReports) {
      text += plat::Format(L"\n%i;%s;", country->id, files::CleanFieldText(report));
    }
  }
  files::WriteDataFile(files::JoinPath(folder, L"airship_attacks.csv"), plat::ToUtf16LE(text));
}
