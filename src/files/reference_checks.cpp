#include "files/reference_checks.h"

#include <string>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

[[noreturn]] void Refuse(const cWorld& world, const wchar_t* fileName, const std::wstring& text) {
  LogLine(L"ERROR: %s: %s", files::PathFromPattern(world.folderPattern, fileName), text);
  FatalExit(1);
}

template <typename List>
void CheckUnitCountries(const cWorld& world, const List& list, const wchar_t* fileName, const wchar_t* kind) {
  const int count = world.GetCountryCount();
  for (const auto* unit : list) {
    if (unit->countryId >= 1 && unit->countryId <= count) continue;
    Refuse(world, fileName,
           plat::Format(L"%s %s (ID=%i) belongs to country %i, but countries.csv holds countries 1 to %i", kind,
                        unit->name, unit->id, unit->countryId, count));
  }
}

}  // namespace

void CheckCountryReferences(const cWorld& world) {
  const sUnitLists& units = world.Units();
  const int count = world.GetCountryCount();
  CheckUnitCountries(world, units.landUnits, L"land_units.csv", L"land unit");
  CheckUnitCountries(world, units.airUnits, L"air_units.csv", L"air unit");
  CheckUnitCountries(world, units.navalUnits, L"naval_units.csv", L"ship");
  for (const cFleet* fleet : units.fleets) {
    if (fleet->country >= 1 && fleet->country <= count) continue;
    Refuse(world, L"fleets.csv",
           plat::Format(L"fleet %s (ID=%i) belongs to country %i, but countries.csv holds countries 1 to %i",
                        fleet->name, fleet->id, fleet->country, count));
  }
  for (const cCommander* commander : units.commanders) {
    if (commander->countryId >= 1 && commander->countryId <= count) continue;
    Refuse(world, L"commanders.csv",
           plat::Format(L"commander %s (ID=%i) belongs to country %i, but countries.csv holds countries 1 to %i",
                        commander->name, commander->id, commander->countryId, count));
  }
}

void CheckFleetSeaNodes(const cWorld& world) {
  const int nodes = world.GetSeaGraph().GetNodeCount();
  for (const cFleet* fleet : world.Units().fleets) {
    if (fleet->seaNode >= 1 && fleet->seaNode <= nodes) continue;
    Refuse(world, L"fleets.csv",
           plat::Format(L"fleet %s (ID=%i) stands on sea node %i, but sea_nodes.csv holds nodes 1 to %i", fleet->name,
                        fleet->id, fleet->seaNode, nodes));
  }
}
