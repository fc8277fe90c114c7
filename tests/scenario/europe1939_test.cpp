// The default scenario "Europe, September 1939" as the game loads it: a clean
// load (no error or warning line, no message box), the records in their
// places (ships fitting their ports, ports on the sea graph, straits guarding
// the passages, land routes across the continent), and a save that loads
// back and saves to the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "files/save_game.h"
#include "files/unit_files.h"
#include "files/world_loader.h"
#include "platform/message_box.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

using Files = std::map<std::string, std::string>;

Files ReadFolder(const fs::path& folder) {
  Files files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files[entry.path().filename().string()] = twtest::ReadFile(entry.path().string());
  }
  return files;
}

std::string WithoutSaveDate(const std::string& ini) {
  std::istringstream in(ini);
  std::string out, line;
  while (std::getline(in, line)) out += line.rfind("Date=", 0) == 0 ? "" : line + '\n';
  return out;
}

class Europe1939 : public ::testing::Test {
 protected:
  void SetUp() override {
    const fs::path root = twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini");
    ASSERT_FALSE(root.empty()) << "set TW_SOURCE_DIR to the source tree";
    fs::create_directories("data/scenarios");
    fs::copy(root / "data/scenarios/Europe1939", "data/scenarios/Europe1939", fs::copy_options::recursive);
    // The skins and the music the world loads, as the game finds them beside
    // its scenarios.
    fs::create_directory_symlink(root / "data/gfx", "data/gfx");
    fs::create_directory_symlink(root / "data/Music", "data/Music");
    plat::SetMessageBoxHandler([this](std::wstring_view caption, std::wstring_view) { boxes_.emplace_back(caption); });
    LoadWorld(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
    ASSERT_NE(g_pWorld, nullptr);
  }
  void TearDown() override {
    plat::SetMessageBoxHandler({});
    delete g_pWorld;
    g_pWorld = nullptr;
  }

  // The record of the name among items (a test failure when there is none).
  template <typename Items, typename NameOf>
  static auto Named(Items& items, const std::wstring& name, NameOf nameOf) {
    for (auto& item : items)
      if (nameOf(item) == name) return &item;
    ADD_FAILURE() << "nothing named " << plat::NarrowBytes(name);
    return static_cast<decltype(&*items.begin())>(nullptr);
  }
  cCountry* CountryNamed(const std::wstring& name) {
    return Named(g_pWorld->Countries(), name, [](const auto& c) { return c->name; })->get();
  }
  const cCity* CityNamed(const std::wstring& name) {
    return *Named(g_pWorld->Cities(), name, [](const cCity* c) { return c->GetName(); });
  }
  int ZoneNamed(const std::wstring& name) {
    return Named(g_pWorld->GetSeaGraph().Nodes(), name, [](const sWezelGrafuMorz& n) { return n.name; })->id;
  }
  bool SeaRoute(const wchar_t* from, const wchar_t* to, const wchar_t* country) {
    std::vector<int> path;
    return g_pWorld->GetSeaGraph().FindPath(*g_pWorld, ZoneNamed(from), ZoneNamed(to), CountryNamed(country)->id, false, path);
  }

  twtest::LogCapture log_;  // from before the load in SetUp
  twtest::TempWorkingFolder dir_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  std::vector<std::wstring> boxes_;
};

TEST_F(Europe1939, LoadsCleanlyWithTheCountriesAndForcesOfSeptember1939) {
  EXPECT_TRUE(log_.Contains(L"-- Loading new scenario done!"));
  for (const std::wstring& line : log_.Lines()) {
    const bool bad = line.find(L"ERROR") != std::wstring::npos || line.find(L"WARNING") != std::wstring::npos ||
                     line.find(L"ERR:") != std::wstring::npos || line.find(L"Blad") != std::wstring::npos;
    EXPECT_FALSE(bad) << plat::NarrowBytes(line);
  }
  EXPECT_TRUE(boxes_.empty()) << plat::NarrowBytes(boxes_.empty() ? L"" : boxes_[0]);

  // The countries and alliances of September 1939.
  cWorld& w = *g_pWorld;
  EXPECT_EQ(std::pair(w.GetMap().GetWidth(), w.GetMap().GetHeight()), std::pair(100, 70));
  EXPECT_EQ(std::pair(w.GetDate().month, w.GetDate().year), std::pair(9, 1939));
  for (auto [name, alliance] : {std::pair{L"Germany", 5}, {L"Italy", 2}, {L"United Kingdom", 4}, {L"France", 1},
                                 {L"Poland", 1}, {L"Soviet Union", 6}, {L"Sweden", 0}}) {
    EXPECT_EQ(CountryNamed(name)->alliance, alliance) << plat::NarrowBytes(name);
  }
  for (auto [a, b, war] : {std::tuple{L"Germany", L"Poland", true}, {L"France", L"Germany", true},
                           {L"Germany", L"Soviet Union", false}, {L"Germany", L"Italy", false}}) {
    EXPECT_EQ(w.GetRelations().IsAtWar(CountryNamed(a)->id, CountryNamed(b)->id), war) << plat::NarrowBytes(a);
  }

  // Every country but the dummy holds cities.
  for (const auto& c : w.Countries()) {
    const bool holds = std::any_of(w.Cities().begin(), w.Cities().end(),
                                   [&](const cCity* city) { return city->GetOwnerId() == c->id; });
    EXPECT_EQ(holds, c->politicalStrength != -1) << plat::NarrowBytes(c->name);
  }
  // The borders of 1939: Vienna after the Anschluss, Tirana after April, Bessarabia still Romanian.
  for (auto [city, owner] : {std::pair{L"Berlin", L"Germany"}, {L"Warsaw", L"Poland"}, {L"Vienna", L"Germany"},
                             {L"Tirana", L"Italy"}, {L"Wilno", L"Poland"}, {L"Chisinau", L"Romania"},
                             {L"Viipuri", L"Finland"}}) {
    EXPECT_EQ(CityNamed(city)->GetOwnerId(), CountryNamed(owner)->id) << plat::NarrowBytes(city);
  }
  EXPECT_GE(w.Cities().size(), 150u);

  const sUnitLists& u = w.Units();
  EXPECT_GE(u.landUnits.size(), 100u);
  EXPECT_GE(u.airUnits.size(), 20u);
  EXPECT_GE(u.navalUnits.size(), 40u);
  // Units on their own land and fleets in their own ports are refused by the
  // scenario tool before it writes the files; here the forces, and that the
  // ships fit their ports.
  for (const cFleet* fleet : u.fleets) {
    const sWezelGrafuMorz* node = w.GetSeaGraph().GetNode(fleet->seaNode);
    ASSERT_NE(node, nullptr) << plat::NarrowBytes(fleet->name);
    EXPECT_FALSE(fleet->ships.empty());
    for (const cJednostkaMorska* ship : fleet->ships) {
      EXPECT_GE(node->maxSize, w.constants.minPortSize[static_cast<std::size_t>(ship->type - 40)])
          << plat::NarrowBytes(ship->name) << " in " << plat::NarrowBytes(node->name);
    }
  }
  EXPECT_GE(std::count_if(u.landUnits.begin(), u.landUnits.end(), [](const cUnit* unit) { return unit->ownCommander; }),
            10);
  // Germany's U-boats sail as raiders, out of the sea battles of the fleets
  // until they are found; every other fleet is regular and ready to fight.
  for (const cFleet* fleet : u.fleets) {
    const bool uboats = fleet->name == L"U-boat Arm";
    EXPECT_EQ(fleet->formation, uboats ? kFormationRaiders : kFormationRegular) << plat::NarrowBytes(fleet->name);
    EXPECT_EQ(fleet->active, !uboats) << plat::NarrowBytes(fleet->name);
    if (uboats) {
      EXPECT_EQ(fleet->ships.size(), 2u);
    }
  }
}

TEST_F(Europe1939, SeaPassagesAreGuardedByTheirStraitsAndLandRoutesStopAtTheSea) {
  // Britain holds Gibraltar and the canal: the Atlantic reaches the Levant
  // and the Gulf of Suez, but the Turkish straits stay closed to her.
  EXPECT_TRUE(SeaRoute(L"North Atlantic", L"Levantine Sea", L"United Kingdom"));
  EXPECT_TRUE(SeaRoute(L"Levantine Sea", L"Gulf of Suez", L"United Kingdom"));
  EXPECT_FALSE(SeaRoute(L"Aegean Sea", L"Western Black Sea", L"United Kingdom"));
  EXPECT_TRUE(SeaRoute(L"Aegean Sea", L"Western Black Sea", L"Turkey"));
  // Italy is shut in the Mediterranean by Gibraltar and Suez.
  EXPECT_FALSE(SeaRoute(L"Tyrrhenian Sea", L"Bay of Biscay", L"Italy"));
  EXPECT_FALSE(SeaRoute(L"Levantine Sea", L"Gulf of Suez", L"Italy"));
  // Germany passes the Kiel Canal; Britain can pass neither it nor the
  // Danish straits.
  EXPECT_TRUE(SeaRoute(L"Southern North Sea", L"Central Baltic", L"Germany"));
  EXPECT_FALSE(SeaRoute(L"Southern North Sea", L"Central Baltic", L"United Kingdom"));
  // Every sea zone that is not a lake is reachable from the open Atlantic
  // for a country that holds every strait (each strait is tested above).
  int reachable = 0, zones = 0;
  for (const sWezelGrafuMorz& node : g_pWorld->GetSeaGraph().Nodes()) {
    if (!node.IsSeaZone()) continue;
    ++zones;
    bool found = false;
    for (const auto* country : {L"United Kingdom", L"Turkey", L"Soviet Union", L"Germany"}) {
      for (const auto* from : {L"North Atlantic", L"Western Black Sea"}) found = found || SeaRoute(from, node.name.c_str(), country);
    }
    reachable += found ? 1 : 0;
  }
  // The Caspian has no passage out; Lake Ladoga opens through Leningrad
  // only to its holder (none of the countries above holds every strait on
  // the way); the Persian Gulf is joined to the Red Sea round Arabia.
  EXPECT_EQ(reachable, zones - 2);
  EXPECT_TRUE(SeaRoute(L"Gulf of Finland", L"Lake Ladoga", L"Soviet Union"));
  EXPECT_FALSE(SeaRoute(L"Gulf of Finland", L"Lake Ladoga", L"Germany"));
  EXPECT_TRUE(SeaRoute(L"Levantine Sea", L"Persian Gulf", L"United Kingdom"));
  // Every port lies on the graph beside its sea.
  for (const cCity* city : g_pWorld->Cities()) {
    if (!city->IsPort()) continue;
    const int node = g_pWorld->GetSeaGraph().FindNodeIdByMainHex(city->x, city->y);
    ASSERT_GT(node, 0) << plat::NarrowBytes(city->GetName());
    EXPECT_GT(g_pWorld->GetSeaGraph().GetAdjacentSeaZoneId(node), 0) << plat::NarrowBytes(city->GetName());
  }

  // Land routes cross the continent but not the sea.
  // {from, to, a land route}: Ankara over the Bosporus, Cairo along the
  // African coast.
  for (auto [from, to, route] : {std::tuple{L"Berlin", L"Paris", true}, {L"Berlin", L"Moscow", true},
                                 {L"Berlin", L"Madrid", true}, {L"Berlin", L"Ankara", true}, {L"Berlin", L"London", false},
                                 {L"London", L"Glasgow", true}, {L"Tunis", L"Cairo", true}}) {
    EXPECT_EQ(CityNamed(from)->GetHopsTo(*CityNamed(to)) > 0, route) << plat::NarrowBytes(to);
  }
  const cCity* berlin = CityNamed(L"Berlin");
  // Germany's own road from Berlin to Breslau.
  std::vector<cCity*> route;
  EXPECT_TRUE(g_pWorld->GetCityGraph().FindPath(*g_pWorld, berlin, CityNamed(L"Breslau"), CountryNamed(L"Germany")->id, route));
}

TEST_F(Europe1939, StandingOrdersOfTheMajorPowersNameRealPlacesAndGoToWarOnlyOnNeutrals) {
  cWorld& w = *g_pWorld;
  const cMap& map = w.GetMap();
  // The computer declares war on the holder of a target once its offensive
  // stands ready (its first war comes from the events): a target is held by
  // an enemy or by a neutral it is meant to attack on its own (Germany
  // Belgium, the Soviet Union Finland and Romania), never by itself or an
  // ally; a country fighting from the start aims at no country of the other
  // side it is still at peace with.
  std::map<std::string, std::set<std::string>> ownWars;
  for (const auto& c : w.Countries()) {
    const sCountryAiData& ai = c->aiData;
    const std::string name = plat::NarrowBytes(c->name);
    const bool fights = c->IsAtWarWithAnyone();
    for (const sAiTarget& target : ai.currentTargets) {
      ASSERT_TRUE(map.IsInside(target.a, target.b)) << name;
      const cCity* city = map.GetHex(target.a, target.b).city;
      ASSERT_NE(city, nullptr) << name << " aims at " << target.a << "," << target.b;
      EXPECT_TRUE(target.c == -1 || target.c > 0) << name;
      const cCountry* holder = w.GetCountry(city->GetControllerId());
      ASSERT_NE(holder, nullptr) << name << " -> " << plat::NarrowBytes(city->GetName());
      EXPECT_NE(holder, c.get()) << name;
      EXPECT_FALSE(c->IsAlliedWith(holder->id)) << name << " -> " << plat::NarrowBytes(city->GetName());
      if (w.GetRelations().IsAtWar(c->id, holder->id)) continue;
      if (holder->alliance == 0) ownWars[name].insert(plat::NarrowBytes(holder->name));
      EXPECT_TRUE(holder->alliance == 0 || !fights) << name << " -> " << plat::NarrowBytes(city->GetName());
    }
  }
  EXPECT_EQ(ownWars, (std::map<std::string, std::set<std::string>>{{"Germany", {"Belgium"}},
                                                                    {"Soviet Union", {"Romania", "Finland"}}}));
  for (const auto& c : w.Countries()) {
    const sCountryAiData& ai = c->aiData;
    const std::string name = plat::NarrowBytes(c->name);
    for (const auto& [zone, value] : ai.seaZonesToPatrol) {
      const sWezelGrafuMorz* node = w.GetSeaGraph().GetNode(zone);
      ASSERT_NE(node, nullptr) << name << " patrols " << zone;
      EXPECT_TRUE(node->isSea) << name << " patrols the port " << plat::NarrowBytes(node->name);
      EXPECT_GT(value, 0);
    }
    for (int pressed : ai.countriesToPress) {
      const cCountry* other = w.GetCountry(pressed);
      ASSERT_NE(other, nullptr) << name;
      EXPECT_NE(pressed, c->id);
      EXPECT_EQ(other->alliance, 0) << name << " presses " << plat::NarrowBytes(other->name);
    }
  }
  // What each major power goes for, where its fleets patrol and whom it presses.
  const sCountryAiData& de = CountryNamed(L"Germany")->aiData;
  const cCity* lodz = CityNamed(L"Lodz");
  ASSERT_FALSE(de.currentTargets.empty());
  EXPECT_EQ(std::pair(de.currentTargets[0].a, de.currentTargets[0].b), std::pair(lodz->x, lodz->y));
  EXPECT_TRUE(de.seaZonesToPatrol.Contains(ZoneNamed(L"Western Baltic")));
  std::vector<int> danube;
  for (const wchar_t* n : {L"Hungary", L"Romania", L"Bulgaria"}) danube.push_back(CountryNamed(n)->id);
  EXPECT_EQ(de.countriesToPress, danube);
  const sCountryAiData& uk = CountryNamed(L"United Kingdom")->aiData;
  EXPECT_TRUE(uk.currentTargets.empty()) << "Britain plans its landings from the sea";
  for (const wchar_t* zone : {L"English Channel", L"Southern North Sea", L"North Atlantic"}) {
    EXPECT_TRUE(uk.seaZonesToPatrol.Contains(ZoneNamed(zone))) << plat::NarrowBytes(zone);
  }
  EXPECT_TRUE(CountryNamed(L"Italy")->aiData.seaZonesToPatrol.Contains(ZoneNamed(L"Sicilian Channel")));
  EXPECT_TRUE(CountryNamed(L"France")->aiData.seaZonesToPatrol.Contains(ZoneNamed(L"Western Mediterranean")));
}

TEST_F(Europe1939, SavedGameLoadsBackAndSavesTheSameBytes) {
  const std::size_t landUnits = g_pWorld->Units().landUnits.size();
  ASSERT_TRUE(SaveGame(*g_pWorld, L"Europe First", false).ok);
  LoadWorld(sGameStartSettings{L"data\\save\\Europe First\\%s", 1});
  ASSERT_NE(g_pWorld, nullptr);
  EXPECT_TRUE(g_pWorld->savedGame);
  EXPECT_EQ(g_pWorld->Units().landUnits.size(), landUnits);
  EXPECT_EQ(g_pWorld->scenarioName, L"Europe1939");
  ASSERT_TRUE(SaveGame(*g_pWorld, L"Europe Second", false).ok);

  Files first = ReadFolder("data/save/Europe First");
  Files second = ReadFolder("data/save/Europe Second");
  first["Info.ini"] = WithoutSaveDate(first["Info.ini"]);
  second["Info.ini"] = WithoutSaveDate(second["Info.ini"]);
  EXPECT_EQ(first.size(), second.size());
  for (const auto& [name, bytes] : first) {
    ASSERT_TRUE(second.count(name)) << name;
    EXPECT_TRUE(bytes == second[name]) << name << " differs after a load and a save"
                                       << (name == "Info.ini" ? "\n--- first:\n" + bytes + "--- second:\n" + second[name] : "");
  }
  // The scenario's tables are written in the writers' own formats, so the
  // first save writes them unchanged (the land units and the map change in
  // the first pass of a new game: drop timers, coastal sea zones, ports),
  // but for the scenario id a save's air units add.
  const Files scenario = ReadFolder("data/scenarios/Europe1939");
  for (const char* name : {"cities.csv", "commanders.csv", "countries.csv", "fleets.csv", "naval_units.csv",
                           "sea_nodes.csv", "ai_data.csv", "relations.csv", "losses.csv", "flags.txt",
                           "unit_names.csv", "convoys.csv", "airrecon_units.csv", "airship_attacks.csv"}) {
    EXPECT_TRUE(scenario.at(name) == first.at(name)) << name;
  }
  fs::create_directories("data/layout");
  WriteAirUnits(*g_pWorld, L"data\\layout", eUnitFileLayout::kScenario);
  EXPECT_TRUE(scenario.at("air_units.csv") == twtest::ReadFile("data/layout/air_units.csv"));
}

}  // namespace
