#include "files/topography_file.h"

#include <string>

#include "app/console_log.h"
#include "app/string_base.h"
#include "app/data_rows.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/lines.h"
#include "platform/text.h"
#include "world/cities.h"
#include "world/world.h"

namespace {

cCity* CityOnHex(const cWorld& world, int x, int y) {
  const cMap& map = world.GetMap();
  return map.IsInside(x, y) ? map.GetHex(x, y).city : nullptr;
}

}  // namespace

CountryTopographies LoadTopography(const cWorld& world, std::wstring_view folderFormat) {
  const std::wstring path = files::PathFromPattern(folderFormat, L"topography.csv");
  const std::string bytes = files::ReadDataFileOrExit(
      path, {g_StringBase.GetText("opening_topography_file..."), g_StringBase.GetText("error_opening_file!_(not_exists?)"),
             g_StringBase.GetText("open_ok")});

  CountryTopographies result(static_cast<std::size_t>(world.GetCountryCount()));
  Topography* country = nullptr;
  TopographyGroup* group = nullptr;
  files::cRowCheck row(path, files::RowLossOf(world.savedGame));
  files::cKeyLines<int> countryLines;
  plat::LineReader lines(bytes);
  std::string_view raw;
  while (lines.Next(raw)) {
    const int lineNo = static_cast<int>(lines.LineNumber());
    const std::wstring line = plat::WidenAnsi(raw);
    if (line.empty()) {
      g_ConsoleLog.WriteLine(g_StringBase.GetText("empty_line..."));
      continue;
    }
    if (line[0] == L'#') continue;
    const std::vector<std::wstring> fields = files::Split(line, false);
    if (fields.empty()) continue;
    const std::wstring key = files::Trim(fields[0]);
    row.Start(static_cast<std::uint32_t>(lineNo), fields);
    if (key == L"New Group") {
      if (!country) {
        LogLine(L"ERROR: line %i in %s: a group without its country", lineNo, path);
        row.Skip(L"a group before any valid Country line");
        continue;
      }
      country->emplace_back();
      group = &country->back();
    } else if (key == L"Country") {
      group = nullptr;
      country = nullptr;
      if (!row.HasFields(2)) continue;
      const int id = row.Int(1, L"country id");
      if (id < 1 || id > world.GetCountryCount()) {
        LogLine(L"Error in file %s line no. %i", path, lineNo);
        g_ConsoleLog.WriteLine(g_StringBase.GetText("wrong_country_id"));
        row.Skip(plat::Format(L"country %i is not one of 1 to %i; its groups are skipped too", id,
                              world.GetCountryCount()));
        continue;
      }
      // The game writes one section a country.
      if (const std::uint32_t first = countryLines.Earlier(id, row.Line())) {
        row.Repeated(plat::Format(L"the section of country %i", id), first,
                     L"; its groups are added to those of the earlier section");
      }
      country = &result[static_cast<std::size_t>(id - 1)];
    } else if (key == L"City") {
      if (!row.HasFields(3)) continue;
      const int x = row.Int(1, L"hex x");
      const int y = row.Int(2, L"hex y");
      cCity* city = CityOnHex(world, x, y);
      if (!group || !city) {
        LogLine(L"ERROR: line %i in %s: no group or no city at (%i, %i)", lineNo, path, x, y);
        row.Skip(group ? L"no city on that hex in cities.csv" : L"a city before any New Group line");
        continue;
      }
      group->push_back(city);
    } else if (fields.size() > 1) {
      FatalExit(plat::Format(L"ERROR: line %i in topography.csv has incorrect variable name (%s)!", lineNo, key));
    } else {
      row.Skip(L"\"" + key + L"\" is no key of this file");
    }
  }
  return result;
}

void WriteTopography(const cWorld& world, const CountryTopographies& groups, std::wstring_view folder) {
  std::string text = "#Topography of terrain at the beginning of turn:";
  for (std::size_t i = 0; i < world.Countries().size(); ++i) {
    text += plat::FormatNarrow("\nCountry;%i;", world.Countries()[i]->id);
    if (i >= groups.size()) continue;
    for (const TopographyGroup& group : groups[i]) {
      text += "\nNew Group;";
      for (const cCity* city : group) text += plat::FormatNarrow("\nCity;%i;%i;", city->x, city->y);
    }
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"topography.csv"), text);
}
