#include "files/city_rows_file.h"

#include <string>
#include <utility>
#include <vector>

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

void ReadCityRows(cWorld& world, std::wstring_view folderFormat, const wchar_t* fileName, const char* openingKey,
                  bool convoy) {
  const std::wstring path = files::PathFromPattern(folderFormat, fileName);
  const std::string bytes = files::ReadDataFileOrExit(
      path, {g_StringBase.GetText(openingKey), g_StringBase.GetText("error_opening_file!_(not_exists?)"),
             g_StringBase.GetText("open_ok")});

  const cMap& map = world.GetMap();
  files::cRowCheck row(path, files::RowLossOf(world.savedGame));
  files::cKeyLines<std::pair<int, int>> hexLines;
  plat::LineReader lines(bytes);
  std::string_view raw;
  while (lines.Next(raw)) {
    if (raw.empty() || raw[0] == '#') continue;
    const std::vector<std::wstring> fields = files::Split(plat::WidenAnsi(raw), false);
    if (fields.empty()) continue;
    row.Start(static_cast<std::uint32_t>(lines.LineNumber()), fields);
    if (!row.HasFields(2)) continue;
    const int x = row.Int(0, L"hex x");
    const int y = row.Int(1, L"hex y");
    cCity* city = map.IsInside(x, y) ? map.GetHex(x, y).city : nullptr;
    if (!city) row.Skip(plat::Format(L"cities.csv has no city at (%i, %i)", x, y));
    if (const std::uint32_t first = city ? hexLines.Earlier({x, y}, row.Line()) : 0) {
      row.Repeated(plat::Format(L"the city at (%i, %i)", x, y), first,
                   L"; the later row's values replace the earlier's");
    }
    const std::size_t rowSize = city ? (convoy ? city->convoyInfo.size() : city->supplyInfo.size()) : 0;
    if (city && fields.size() != rowSize + 2) {
      row.Fault(plat::Format(L"%u values where the city's row holds %u", static_cast<unsigned>(fields.size() - 2),
                             static_cast<unsigned>(rowSize)),
                fields.size() > rowSize + 2 ? L"; the rest are ignored" : L"; the others keep their start values");
    }
    for (std::size_t k = 2; k < fields.size(); ++k) {
      if (!city) {
        g_ConsoleLog.WriteLine(
            plat::Format(g_StringBase.GetText("error_while_loading_%s:_no_city_at_coords_(%d,_%d)"), path, x, y));
        continue;
      }
      const std::size_t entry = k - 2;
      const int value = row.Int(k, L"value");
      if (convoy) {
        if (entry < city->convoyInfo.size()) city->convoyInfo[entry] = value != 0 ? 1 : 0;
      } else {
        if (entry < city->supplyInfo.size()) city->supplyInfo[entry] = value;
      }
    }
  }
}

}  // namespace

void LoadCitiesSupplyInfo(cWorld& world, std::wstring_view folderFormat) {
  ReadCityRows(world, folderFormat, L"cities_supply_info.csv", "opening_file_with_supply_matrix_for_cities...",
               false);
  ReadCityRows(world, folderFormat, L"cities_convoy_info.csv", "opening_file_with_convoy_info_for_cities...", true);
}

void WriteCitiesSupplyInfo(const cWorld& world, std::wstring_view folder) {
  std::string text = "# cities supply info:";
  for (const cCity* city : world.Cities()) {
    text += plat::FormatNarrow("\n%i;%i;", city->x, city->y);
    for (const auto value : city->supplyInfo) text += plat::FormatNarrow("%i;", value);
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"cities_supply_info.csv"), text);
}

void WriteCitiesConvoyInfo(const cWorld& world, std::wstring_view folder) {
  std::string text = "# cities convoy info:";
  for (const cCity* city : world.Cities()) {
    text += plat::FormatNarrow("\n%i;%i;", city->x, city->y);
    for (const auto flag : city->convoyInfo) text += flag ? "1;" : "0;";
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"cities_convoy_info.csv"), text);
}
