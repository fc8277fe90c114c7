#include "files/cities_file.h"

#include <cwchar>
#include <memory>
#include <string>

#include "app/console_log.h"
#include "app/csv_reader.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/text.h"
#include "world/cities.h"
#include "world/world.h"

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

  while (!reader.AtEnd()) {
    if (reader.ReadRecord(false) < 8 || reader.FieldCount() < 8) continue;
    cCity city;
    city.SetName(reader[0]);
    city.x = files::ParseInt(reader[1]);
    city.y = files::ParseInt(reader[2]);
    city.type = files::ParseInt(reader[3]);
    city.victoryPoints = files::ParseInt(reader[4]);
    city.productionPoints = std::wcstof(reader[5].c_str(), nullptr);
    city.supply = files::ParseInt(reader[6]);
    city.productionLostToBombing = files::ParseInt(reader[7]);
    world.AddCity(std::make_unique<cCity>(city));
    LogLine(L"Added city: %s", city.GetName());
  }
}

void WriteCities(const cWorld& world, std::wstring_view folder) {
  std::wstring text =
      L"#Name;Hex X;Hex Y;Type [0=supply 1=normal 2=supply+port 3=port 4=resources];Victory Points;"
      L"Production Points;Supply;Production Points Losses In Strategic Bombardment";
  for (const cCity* city : world.Cities()) {
    text += plat::Format(L"\n%s;%i;%i;%i;%i;%f;%i;%i;", files::CleanFieldText(city->GetName()), city->x, city->y,
                         city->type, city->victoryPoints, static_cast<double>(city->productionPoints),
                         city->supply, city->productionLostToBombing);
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"cities.csv"), plat::NarrowAnsi(text));
}
