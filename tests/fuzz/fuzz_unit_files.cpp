// Reads arbitrary bytes as one of the unit, fleet, commander, unit-name,
// flag or convoy files (the first byte picks which) into a small world, then
// runs the placement checks and the linking the game's loading does next
// (land units aboard the world's two carrying ships, reserve units into
// their pool). Fatal data errors end the input quietly through the throwing
// hook; a unit or fleet file that loads is written and must load back into
// the same lists with as many records each.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "files/fleet_files.h"
#include "files/unit_files.h"
#include "files/world_loader.h"
#include "platform/lines.h"
#include "platform/text.h"
#include "world/commander.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/world.h"
#include "world/map_text.h"

namespace {

std::unique_ptr<cWorld> SmallWorld() {
  auto world = std::make_unique<cWorld>();
  std::string error;
  BuildMapFromText("size 5 5\nterrain\nppppp\nppppp\nppppp\nppppp\nppppp\n", world->GetMap(), error);
  auto city = std::make_unique<cCity>();
  city->x = 1;
  city->y = 1;
  world->AddCity(std::move(city));
  world->GetSeaGraph().Nodes().resize(2);
  world->GetSeaGraph().Nodes()[0].id = 1;
  world->GetSeaGraph().Nodes()[0].x = 1;
  world->GetSeaGraph().Nodes()[0].y = 1;
  world->GetSeaGraph().Nodes()[1].id = 2;
  world->GetMap().GetHex(1, 1).seaNode = 1;
  for (int id = 1; id <= 3; ++id) {
    auto country = std::make_unique<cCountry>();
    country->id = id;
    world->AddCountry(std::move(country));
  }
  auto* commander = new cCommander();
  commander->id = 1;
  world->Units().commanders.push_back(commander);
  return world;
}

// A cargo ship (id 1) and an amphibious ship (id 2) in a fleet at sea node
// 1, for land units to be aboard.
void AddCarryingShips(cWorld& world) {
  auto* fleet = new cFleet();
  fleet->id = 1;
  fleet->country = 1;
  fleet->seaNode = 1;
  world.Units().fleets.push_back(fleet);
  for (int type : {kUnitCargoShip, kUnitAmphibiousShip}) {
    auto* ship = new cJednostkaMorska(&world);
    ship->id = static_cast<int>(world.Units().navalUnits.size()) + 1;
    ship->countryId = 1;
    ship->SetType(type);
    ship->fleet = fleet;
    ship->fleetId = fleet->id;
    fleet->ships.push_back(ship);
    world.Units().navalUnits.push_back(ship);
  }
}

template <class Unit>
std::size_t PoolCount(const cWorld& world) {
  std::size_t count = 0;
  for (const cJednostka* unit : world.Units().reservePool) count += dynamic_cast<const Unit*>(unit) != nullptr;
  return count;
}

const wchar_t* const kFiles[] = {L"land_units.csv", L"air_units.csv", L"naval_units.csv", L"fleets.csv",
                                 L"commanders.csv", L"unit_names.csv", L"flags.txt", L"convoys.csv"};

// Loads the file of kind into the world as the game's loading does; the
// record counts of the lists it fills (none for the kinds without one).
std::vector<std::size_t> Load(int kind, cWorld& world, const std::wstring& pattern) {
  std::string kept;
  std::vector<int> flags;
  sUnitLists& units = world.Units();
  switch (kind) {
    case 0:
      AddCarryingShips(world);
      LoadLandUnits(world, pattern);
      PlaceLoadedLandUnits(world);
      LinkLandUnitsToTransports(world);
      MoveReserveUnitsToPool(world);
      return {units.landUnits.size(), units.carriedUnitsA.size(), units.carriedUnitsB.size(),
              PoolCount<cJednostkaLadowa>(world)};
    case 1:
      LoadAirUnits(world, pattern);
      PlaceLoadedAirUnits(world);
      MoveReserveUnitsToPool(world);
      return {units.airUnits.size(), PoolCount<cJednostkaLotnicza>(world)};
    case 2:
      LoadNavalUnits(world, pattern);
      return {units.navalUnits.size()};
    case 3:
      LoadFleets(world, pattern);
      return {units.fleets.size()};
    case 4:
      LoadCommanders(world, pattern);
      return {units.commanders.size()};
    case 5:
      LoadUnitNameTemplates(world, pattern, kept);
      return {};
    case 6:
      LoadFlags(pattern, flags, files::eRowLoss::kWarn);
      return {};
    default:
      LoadConvoys(world, pattern);
      return {units.convoys.ConvoysOf(1)->size(), units.convoys.ConvoysOf(2)->size(),
              units.convoys.ConvoysOf(3)->size()};
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::filesystem::path folder = [] {
    auto dir = std::filesystem::temp_directory_path() / ("tw_fuzz_unit_files_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    g_ConsoleLog.SetEnabled(false);
    return dir;
  }();
  if (size == 0) return 0;
  const int kind = data[0] % 8;
  const std::string file = (folder / plat::NarrowAnsi(kFiles[kind])).string();
  if (!plat::WriteFileBytes(file, std::string(reinterpret_cast<const char*>(data + 1), size - 1))) return 0;
  const std::wstring folderText = plat::WidenAnsi(folder.string());
  const std::wstring pattern = folderText + L"/%s";
  cScopedThrowingFatalHook hook;
  std::unique_ptr<cWorld> world = SmallWorld();
  cWorld* const previous = g_pWorld;
  g_pWorld = world.get();
  std::vector<std::size_t> counts;
  try {
    counts = Load(kind, *world, pattern);
  } catch (const sFatalExitError&) {
    g_pWorld = previous;
    return 0;
  }
  // What the writers make must load back whole.
  switch (kind) {
    case 0: WriteLandUnits(*world, folderText); break;
    case 1: WriteAirUnits(*world, folderText); break;
    case 2: WriteNavalUnits(*world, folderText); break;
    case 3: WriteFleets(*world, folderText); break;
    case 4: WriteCommanders(*world, folderText); break;
    case 7: WriteConvoys(*world, folderText); break;
    default: g_pWorld = previous; return 0;
  }
  std::unique_ptr<cWorld> again = SmallWorld();
  g_pWorld = again.get();
  try {
    if (Load(kind, *again, pattern) != counts) __builtin_trap();
  } catch (const sFatalExitError&) {
    __builtin_trap();
  }
  g_pWorld = previous;
  return 0;
}
