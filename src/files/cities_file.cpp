#include "files/cities_file.h"

#include <cfloat>
#include <climits>
#include <memory>
#include <string>
#include <utility>

#include "app/console_log.h"
#include "app/csv_reader.h"
#include "app/data_rows.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/text.h"
#include "world/cities.h"
#include "world/world.h"

namespace {

// The head of "cities.csv" as its writer puts it: a file of no city holds
// it alone.
constexpr char kCitiesHeader[] =
    "#Name;Hex X;Hex Y;Type [0=supply 1=normal 2=supply+port 3=port 4=resources];Victory Points;"
    "Production Points;Supply;Production Points Losses In Strategic Bombardment";

}  // namespace

void LoadCities(cWorld& world, std::wstring_view folderFormat) {
  const auto file = files::OpenCsvFileOrExit(folderFormat, L"cities.csv",
                                             {L"Otwieranie pliku z miastami..."});
  cCsvReader& reader = *file;

  // The hexes must not keep pointers to the cities freed here.
  cMap& map = world.GetMap();
  for (cCity* city : world.Cities()) {
    if (map.IsInside(city->x, city->y) && map.GetHex(city->x, city->y).city == city) {
      map.GetHex(city->x, city->y).city = nullptr;
    }
    delete city;
  }
  world.Cities().clear();

  files::cRowCheck row(files::PathFromPattern(folderFormat, L"cities.csv"), files::RowLossOf(world.savedGame));
  files::cKeyLines<std::pair<int, int>> hexLines;
  while (!reader.AtEnd()) {
    if (reader.ReadRecord(false) == 0) continue;  // a comment or an empty line
    row.Start(reader.LineCounter(), reader.Fields());
    if (!row.HasFields(8)) continue;
    row.WarnExtraFields(8);
    cCity city;
    city.SetName(reader[0]);
    city.x = row.Int(1, L"hex x", 0, map.GetWidth() - 1);
    city.y = row.Int(2, L"hex y", 0, map.GetHeight() - 1);
    // Cities are found by their hex: one hex holds one city.
    if (const std::uint32_t first = hexLines.Earlier({city.x, city.y}, row.Line())) {
      row.RefuseRepeated(plat::Format(L"the city hex (%i, %i)", city.x, city.y), first);
    }
    city.type = row.Int(3, L"city type", 0, 4);
    city.victoryPoints = row.IntClamped(4, L"victory points", 0, INT_MAX);
    city.productionPoints = files::ToFloat(row.NumberClamped(5, L"production points", 0.0, FLT_MAX));
    city.supply = row.IntClamped(6, L"supply", 0, 50);
    city.productionLostToBombing = row.IntClamped(7, L"production lost to bombing", 0, INT_MAX);
    world.AddCity(std::make_unique<cCity>(city));
    LogLine(L"Added city: %s", city.GetName());
  }
  row.WarnWhenNoRows(reader.Text(), kCitiesHeader, L"city rows");
}

void WriteCities(const cWorld& world, std::wstring_view folder) {
  std::wstring text = plat::WidenAnsi(kCitiesHeader);
  for (const cCity* city : world.Cities()) {
    text += plat::Format(L"\n%s;%i;%i;%i;%i;%f;%i;%i;", files::CleanFieldText(city->GetName()), city->x, city->y,
                         city->type, city->victoryPoints, static_cast<double>(city->productionPoints),
                         city->supply, city->productionLostToBombing);
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"cities.csv"), plat::NarrowAnsi(text));
}
