#include "scenario_build.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "app/console_log.h"
#include "app/ini_file.h"
#include "files/ai_data_file.h"
#include "files/air_reports_file.h"
#include "files/cities_file.h"
#include "files/consts_file.h"
#include "files/countries_file.h"
#include "app/file_text.h"
#include "files/fleet_files.h"
#include "files/matrices_file.h"
#include "files/unit_files.h"
#include "platform/text.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/cities.h"
#include "world/world.h"
#include "common/crlf.h"

namespace fs = std::filesystem;

namespace scen {

namespace {

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size()))) {
    throw std::runtime_error("cannot write " + path.string());
  }
}

void Check(bool ok, const std::string& message) {
  if (!ok) throw std::runtime_error(message);
}

template <typename Parser, typename Out>
void Parse(const fs::path& path, Parser parse, Out& out) {
  std::string error;
  if (!parse(ReadText(path), out, error)) throw std::runtime_error(path.string() + ": " + error);
}

std::wstring Wide(const std::string& s) { return plat::FromUtf8(s); }

// The hit points of a new ship by naval type 40-45: the line of the
// constants that gives each type's strength.
int ShipHitPoints(const ConstsSource& consts, int type) {
  const auto it = consts.find(73);
  if (it == consts.end() || it->second.size() < 6) return 10;
  return static_cast<int>(it->second[static_cast<std::size_t>(type - 40)]);
}

int CountryOf(const sScenario& b, const std::string& code) {
  const auto it = b.countryId.find(code);
  Check(it != b.countryId.end(), "unknown country code " + code);
  return it->second;
}

// Monthly chances (January first) of snow and of mud for a hex, from a
// coarse climate: colder to the north and the east, none in the deserts.
void SetClimate(sHex& h, double lon, double lat) {
  if (h.IsWater()) return;
  const double cold = (lat - 44.0) * 4.0 + (lon - 10.0) * 1.2 + (h.terrain == kTerrainMountain ? 25.0 : 0.0);
  static constexpr double kWinterShape[12] = {1.0, 0.9, 0.5, 0.1, 0, 0, 0, 0, 0, 0.1, 0.45, 0.85};
  static constexpr double kMudShape[12] = {0, 0, 0.5, 0.8, 0.3, 0, 0, 0, 0.2, 0.8, 0.6, 0.1};
  const double mud = (lon - 15.0) * 1.6 + (lat - 45.0) * 1.0;
  for (int m = 0; m < 12; ++m) {
    const double w = std::clamp(cold * kWinterShape[m], 0.0, 95.0);
    const double d = h.terrain == kTerrainDesert ? 0.0 : std::clamp(mud * kMudShape[m], 0.0, 80.0);
    h.winterChance[m] = static_cast<std::uint8_t>(w);
    h.mudChance[m] = static_cast<std::uint8_t>(d);
  }
}

void BuildMap(sScenario& b, cWorld& world) {
  cMap& map = world.GetMap();
  map.SetWidth(b.map.width);
  map.SetHeight(b.map.height);
  map.CreateHexes();
  std::map<char, int> zoneOfLetter;
  for (std::size_t i = 0; i < b.sea.zones.size(); ++i) zoneOfLetter[b.sea.zones[i].letter] = static_cast<int>(i) + 1;
  static const std::string kTerrainLetters = "~pfrshmd";
  for (int y = 0; y < b.map.height; ++y) {
    for (int x = 0; x < b.map.width; ++x) {
      sHex& h = map.GetHex(x, y);
      h.terrain = static_cast<std::uint8_t>(kTerrainLetters.find(b.map.terrain[y][x]));
      // A fixed scatter of the terrain pictures' variants.
      h.tileVariant = static_cast<std::uint8_t>((x * 7 + y * 13 + (x * y) % 5) % 6);
      if (h.IsLand()) {
        const auto it = b.letterId.find(b.map.owner[y][x]);
        Check(it != b.letterId.end(), std::string("hex ") + std::to_string(x) + "," + std::to_string(y) +
                                          ": owner letter " + b.map.owner[y][x] + " names no country");
        h.owner = h.controller = h.originalOwner = static_cast<std::uint8_t>(it->second);
      } else {
        const auto it = zoneOfLetter.find(b.map.seazone[y][x]);
        Check(it != zoneOfLetter.end(), std::string("hex ") + std::to_string(x) + "," + std::to_string(y) +
                                            ": sea-zone letter " + b.map.seazone[y][x] + " names no zone");
        h.seaZone = static_cast<std::uint16_t>(it->second);
      }
      const double lon = -10.0 + (x + 0.5) * 0.6;
      const double lat = 65.0 - (y + 0.5 + (x % 2 == 0 ? 0.5 : 0.0)) * (37.0 / 70.0);
      SetClimate(h, lon, lat);
    }
  }
  for (sHex& h : map.Hexes()) {
    if (!h.IsLand()) continue;
    for (int d = 0; d < 6; ++d) {
      const sHex* n = map.GetNeighbour(h.x, h.y, d);
      if (n && n->IsWater()) h.coastal = 1;
    }
  }
  for (const sFortLine& fort : b.map.forts) {
    for (const sHexPos& p : fort.hexes) map.GetHex(p.x, p.y).fortification = static_cast<std::uint8_t>(fort.level);
  }
  // Rivers: every edge on both of its hexes, land hexes only (water hexes
  // take their mouth marks when the map is loaded).
  for (const sRiver& river : b.map.rivers) {
    for (const auto& [pos, side] : RiverSides(river.hexes)) {
      const sHexPos other = Neighbour(pos, side);
      if (map.IsInside(pos.x, pos.y) && map.GetHex(pos.x, pos.y).IsLand()) {
        map.GetHex(pos.x, pos.y).riverMask |= static_cast<std::uint8_t>(1u << side);
      }
      if (map.IsInside(other.x, other.y) && map.GetHex(other.x, other.y).IsLand()) {
        map.GetHex(other.x, other.y).riverMask |= static_cast<std::uint8_t>(1u << ((side + 3) % 6));
      }
    }
  }
}

bool HasSeaNeighbour(const cMap& map, int x, int y) {
  for (int d = 0; d < 6; ++d) {
    const sHex* n = map.GetNeighbour(x, y, d);
    if (n && n->IsWater()) return true;
  }
  return false;
}

void BuildCities(sScenario& b, cWorld& world) {
  cMap& map = world.GetMap();
  std::set<sHexPos> used;
  for (const sCitySource& src : b.cities) {
    const int owner = CountryOf(b, src.code);
    Check(map.IsInside(src.pos.x, src.pos.y), src.name + " lies outside the map");
    const sHex& h = map.GetHex(src.pos.x, src.pos.y);
    Check(h.IsLand(), src.name + " stands on water");
    Check(h.owner == owner, src.name + " stands on a hex of another country");
    Check(used.insert(src.pos).second, src.name + " shares its hex with another city");
    const bool port = src.type == kCitySupplyPort || src.type == kCityPort;
    Check(!port || HasSeaNeighbour(map, src.pos.x, src.pos.y), src.name + " is a port without water beside it");
    auto city = std::make_unique<cCity>();
    city->SetName(Wide(src.name));
    city->x = src.pos.x;
    city->y = src.pos.y;
    city->type = src.type;
    city->victoryPoints = src.victoryPoints;
    city->productionPoints = static_cast<float>(src.productionPoints);
    // Supply sources give the most; resources give none.
    city->supply = src.type == kCityResources ? 0 : (src.type == kCitySupply || src.type == kCitySupplyPort) ? 10 : 5;
    world.AddCity(std::move(city));
    b.cityByName[src.name] = &src;
  }
}

const sCitySource& CityNamed(const sScenario& b, const std::string& name) {
  const auto it = b.cityByName.find(name);
  Check(it != b.cityByName.end(), "no city named " + name);
  return *it->second;
}

void BuildCountries(sScenario& b, cWorld& world) {
  int id = 0;
  for (const sCountrySource& src : b.countries) {
    auto c = std::make_unique<cCountry>();
    c->id = ++id;
    c->active = true;
    c->SetNameWithDefaultSkin(Wide(src.name));
    const std::uint32_t rgb = src.colour & 0xFFFFFFu;
    auto scale = [&](double f) {
      std::uint32_t out = 0xFF000000u;
      for (int shift : {16, 8, 0}) {
        const double v = std::min(255.0, ((rgb >> shift) & 0xFF) * f);
        out |= static_cast<std::uint32_t>(v) << shift;
      }
      return out;
    };
    c->colour = {src.colour, scale(0.6), scale(1.3), 0xFFFFFFFFu};
    c->alliance = src.alliance;
    c->orientation = src.orientation;
    c->zoneOfInfluence = src.zone;
    c->allianceEntry = src.entry;
    c->politicalStrength = src.strength;
    for (int t = 0; t < kTechCount; ++t)
      c->techLevel[static_cast<std::size_t>(t)] = src.tech[static_cast<std::size_t>(t)];
    c->productionPoints = src.productionPoints;
    c->diplomaticPoints = src.diplomaticPoints;
    c->diplomaticPointsPerMonth = src.power == 1 ? 3 : src.power == 2 ? 2 : 1;
    const int smp = src.power == 1 ? 20 : src.power == 2 ? 10 : 4;
    c->strategicMovementPoints = c->strategicMovementPointsMax = smp;
    c->seaTransportPoints = src.power == 1 ? 10 : 2;
    c->amphibiousInvasionPoints = src.power == 1 ? 4 : 0;
    c->amphibiousInvasionPointsTotal = c->amphibiousInvasionPoints;
    c->power = src.power;
    c->region = src.region;
    c->difficulty = 2;
    c->warEconomy = src.alliance == 0 ? 10.0f : src.power == 1 ? 40.0f : 25.0f;
    c->doctrineMonths = {6, 18, 36, 54, 72};
    c->unitUpkeepModifier = 1.0f;
    // Soviet and Finnish troops were at home in the snow.
    const bool northern = src.code == "SU" || src.code == "FI";
    c->winterBattle = northern ? 50.0f : 100.0f;
    c->winterMove = northern ? 50.0f : 100.0f;
    c->mudBattle = 100.0f;
    c->mudMove = 100.0f;
    // The capital's place on the diplomacy picture: its hex, ten pixels a hex.
    for (const sCitySource& city : b.cities) {
      if (city.code == src.code) {
        c->capitalX = city.pos.x * 10;
        c->capitalY = city.pos.y * 10;
        break;
      }
    }
    // The computer opponent: majors buy a broad army and keep research up,
    // minors mostly infantry; every country buys something.
    sCountryAiData& ai = c->aiData;
    if (src.power == 1) {
      ai.newUnitPurchasePreferences = {10, 8, 6, 4, 4, 3, 1, 5, 4, 2, 2, 2, 2, 1};
      ai.desiredTechLevels = {3, 3, 3, 3, 2, 3, 0};
      ai.desiredStrategicMovementPoints = 20;
      ai.makesSeaInvasions = src.code == "UK" || src.code == "DE" || src.code == "IT";
      ai.transportsUnitsToFrontsBySea = ai.makesSeaInvasions;
    } else {
      ai.newUnitPurchasePreferences = {12, 6, 2, 0, 1, 0, 0, 2, 0, 0, 0, 0, 0, 0};
      ai.desiredTechLevels = {2, 2, 2, 2, 1, 1, 0};
      ai.desiredStrategicMovementPoints = 5;
    }
    ai.allianceEntryPolicy = src.alliance == 0 ? 1 : 0;
    b.countryId[src.code] = c->id;
    if (src.letter != '-') b.letterId[src.letter] = c->id;
    world.AddCountry(std::move(c));
  }
  int dummies = 0;
  for (const auto& c : world.Countries()) dummies += c->politicalStrength == -1 ? 1 : 0;
  Check(dummies == 1, "exactly one country (the dummy) must have political strength -1");
}

// The sea graph: the zones in source order, then one port node per port
// city in city order, each linked both ways with the zone in front of it.
void BuildSeaGraph(sScenario& b, cWorld& world, std::string& edges) {
  cMap& map = world.GetMap();
  auto& nodes = world.GetSeaGraph().Nodes();
  nodes.clear();
  for (std::size_t i = 0; i < b.sea.zones.size(); ++i) {
    const sZoneSource& z = b.sea.zones[i];
    Check(map.IsInside(z.anchor.x, z.anchor.y), z.name + ": anchor outside the map");
    Check(map.GetHex(z.anchor.x, z.anchor.y).seaZone == i + 1, z.name + ": its anchor hex lies in another zone");
    sWezelGrafuMorz node;
    node.id = static_cast<int>(i) + 1;
    node.name = Wide(z.name);
    node.isSea = 1;
    node.x = z.anchor.x;
    node.y = z.anchor.y;
    // The ships are drawn beside the marker, on hexes of the same zone.
    node.ownShipX = node.enemyShipX = z.anchor.x;
    node.ownShipY = node.enemyShipY = z.anchor.y;
    int found = 0;
    for (int d : {2, 4, 1, 5, 3, 0}) {
      const sHexPos n = Neighbour(z.anchor, d);
      if (!map.IsInside(n.x, n.y) || map.GetHex(n.x, n.y).seaZone != node.id) continue;
      if (found == 0) {
        node.ownShipX = n.x;
        node.ownShipY = n.y;
      } else {
        node.enemyShipX = n.x;
        node.enemyShipY = n.y;
      }
      if (++found == 2) break;
    }
    nodes.push_back(node);
    b.zoneId[z.name] = node.id;
  }
  edges = "#Sea node ID;Linked sea node ID;Strait hex X (-1 = none);Strait hex Y\n";
  auto link = [&](int from, int to, int sx, int sy) {
    edges +=
        std::to_string(from) + ";" + std::to_string(to) + ";" + std::to_string(sx) + ";" + std::to_string(sy) + ";\n";
  };
  for (const sSeaLinkSource& l : b.sea.links) {
    const auto from = b.zoneId.find(l.from);
    const auto to = b.zoneId.find(l.to);
    Check(from != b.zoneId.end() && to != b.zoneId.end(), "sea link names an unknown zone: " + l.from + " | " + l.to);
    int sx = -1;
    int sy = -1;
    if (!l.strait.empty()) {
      const sCitySource& city = CityNamed(b, l.strait);
      sx = city.pos.x;
      sy = city.pos.y;
    }
    link(from->second, to->second, sx, sy);
    link(to->second, from->second, sx, sy);
  }
  for (const sCitySource& city : b.cities) {
    if (city.type != kCitySupplyPort && city.type != kCityPort) continue;
    // The zone in front of the port: the one with the most water beside it.
    std::map<int, int> count;
    for (int d = 0; d < 6; ++d) {
      const sHexPos n = Neighbour(city.pos, d);
      if (map.IsInside(n.x, n.y) && map.GetHex(n.x, n.y).IsWater()) ++count[map.GetHex(n.x, n.y).seaZone];
    }
    int zone = 0;
    for (const auto& [id, n] : count) {
      if (zone == 0 || n > count[zone]) zone = id;
    }
    sWezelGrafuMorz node;
    node.id = static_cast<int>(nodes.size()) + 1;
    node.name = Wide(city.name);
    // Harbour sizes: the great naval bases and trading ports hold the most.
    node.maxSize = node.size = std::clamp(3 + city.victoryPoints + city.productionPoints, 1, 9);
    node.isSea = 0;
    node.x = city.pos.x;
    node.y = city.pos.y;
    // The ships in port are shown on the city itself: a water hex would take
    // the port's id as its sea zone when the nodes are read, and the coast
    // beside it would change zone at the next load of a save.
    node.ownShipX = node.enemyShipX = city.pos.x;
    node.ownShipY = node.enemyShipY = city.pos.y;
    nodes.push_back(node);
    b.portNode[city.name] = node.id;
    link(node.id, zone, -1, -1);
    link(zone, node.id, -1, -1);
  }
}

std::string CitiesDiagram(const sScenario& b) {
  std::string text = "#Hex X of city 1;Hex Y of city 1;Hex X of city 2;Hex Y of city 2;Type [0=land 1=other]\n";
  std::set<std::pair<std::string, std::string>> seen;
  for (const sLandLinkSource& l : b.roads) {
    const sCitySource& a = CityNamed(b, l.from);
    const sCitySource& c = CityNamed(b, l.to);
    // A resource city has no node of the graph, so no link may touch it.
    Check(a.type != kCityResources && c.type != kCityResources,
          "a road leads to a resource city: " + l.from + " | " + l.to);
    Check(seen.insert({l.from, l.to}).second && seen.insert({l.to, l.from}).second,
          "link given twice: " + l.from + " | " + l.to);
    const sCitySource* ends[2][2] = {{&a, &c}, {&c, &a}};
    for (const auto& e : ends) {
      text += std::to_string(e[0]->pos.x) + ";" + std::to_string(e[0]->pos.y) + ";" + std::to_string(e[1]->pos.x) +
              ";" + std::to_string(e[1]->pos.y) + ";" + std::to_string(l.type) + "\n";
    }
  }
  return text;
}

void BuildUnits(sScenario& b, cWorld& world) {
  cMap& map = world.GetMap();
  sUnitLists& lists = world.Units();
  std::set<sHexPos> occupied;
  std::map<std::string, cUnit*> byName;  // "<country code>/<unit name>"
  const int maxSupply = b.consts.count(48) ? static_cast<int>(b.consts.at(48)[0]) : 10;
  int landId = 0;
  int airId = 0;
  for (const sLandSource& src : b.units.units) {
    const int country = CountryOf(b, src.code);
    Check(map.IsInside(src.pos.x, src.pos.y), src.name + " stands outside the map");
    const sHex& h = map.GetHex(src.pos.x, src.pos.y);
    Check(h.IsLand() && h.controller == country, src.name + " stands outside its country");
    Check(occupied.insert(src.pos).second, src.name + " shares its hex with another unit");
    Check(byName.count(src.code + "/" + src.name) == 0, "unit name used twice: " + src.name);
    if (src.air) {
      auto* u = new cJednostkaLotnicza(&world);
      u->id = ++airId;
      u->SetName(Wide(src.name));
      u->countryId = country;
      u->x = src.pos.x;
      u->y = src.pos.y;
      u->SetType(src.type);
      u->level = src.level;
      u->strength = static_cast<float>(src.strength);
      u->supply = maxSupply;
      lists.airUnits.push_back(u);
      byName[src.code + "/" + src.name] = u;
    } else {
      auto* u = new cJednostkaLadowa(&world);
      u->id = ++landId;
      u->SetName(Wide(src.name));
      u->countryId = country;
      u->x = u->lastX = src.pos.x;
      u->y = u->lastY = src.pos.y;
      u->SetType(src.type);
      u->level = src.level;
      u->strength = src.strength;
      u->supply = maxSupply;
      lists.landUnits.push_back(u);
      byName[src.code + "/" + src.name] = u;
    }
  }
  int fleetId = 0;
  int shipId = 0;
  for (const sFleetSource& src : b.units.fleets) {
    const int country = CountryOf(b, src.code);
    const auto port = b.portNode.find(src.port);
    Check(port != b.portNode.end(), src.name + ": " + src.port + " is no port");
    Check(CountryOf(b, CityNamed(b, src.port).code) == country, src.name + " lies in a foreign port");
    auto* fleet = new cFleet();
    fleet->id = ++fleetId;
    fleet->name = Wide(src.name);
    fleet->country = country;
    fleet->seaNode = port->second;
    if (src.raiders) {
      fleet->formation = kFormationRaiders;
      fleet->active = false;
    }
    lists.fleets.push_back(fleet);
    for (const sShipSource& s : src.ships) {
      auto* ship = new cJednostkaMorska(&world);
      ship->id = ++shipId;
      ship->SetName(Wide(s.name));
      ship->countryId = country;
      ship->SetType(s.type);
      ship->maxHitPoints = ship->hitPoints = ShipHitPoints(b.consts, s.type);
      ship->fleet = fleet;
      ship->fleetId = fleet->id;
      fleet->ships.push_back(ship);
      lists.navalUnits.push_back(ship);
      Check(byName.count(s.code + "/" + s.name) == 0, "unit name used twice: " + s.name);
      byName[s.code + "/" + s.name] = ship;
    }
  }
  int commanderId = 0;
  for (const sCommanderSource& src : b.units.commanders) {
    // Owned by the list from the start, so that a refused line frees it.
    auto* c = new cCommander();
    lists.commanders.push_back(c);
    c->id = ++commanderId;
    c->name = Wide(src.name);
    c->countryId = CountryOf(b, src.code);
    c->type = src.kind;
    c->skill = src.skill;
    c->experience = src.experience;
    c->state = kCommanderNotAssigned;
    if (!src.unit.empty()) {
      const auto it = byName.find(src.code + "/" + src.unit);
      Check(it != byName.end(), src.name + " leads an unknown unit: " + src.unit);
      cUnit* unit = it->second;
      Check(unit->countryId == c->countryId, src.name + " leads a unit of another country");
      Check(unit->category == src.kind, src.name + " leads a unit of another arm");
      Check(unit->ownCommander == nullptr, src.unit + " has two commanders");
      unit->ownCommander = c;
      c->ledUnit = unit;
      c->state = kCommanderAssigned;
    }
  }
}

// The name patterns of the unit types, one row per slot (land types 0-6, air
// 20-22, naval 40-45, the artificial harbour), the same for every country.
std::string UnitNames(int countryCount) {
  static const char* kNames[17] = {"Infantry Division",
                                   "Infantry Corps",
                                   "Mechanized Division",
                                   "Mechanized Corps",
                                   "Armoured Division",
                                   "Armoured Corps",
                                   "Airborne Division",
                                   "Fighter Group",
                                   "Tactical Bomber Group",
                                   "Strategic Bomber Group",
                                   "Aircraft Carrier",
                                   "Battleship",
                                   "Cruiser",
                                   "Submarine Flotilla",
                                   "Transport Squadron",
                                   "Amphibious Squadron",
                                   "Artificial Harbour"};
  std::string text = "#Unit type names: slot;default;one column per country (empty = default)\n;";
  for (int c = 1; c <= countryCount; ++c) {
    text += ';';
    text += std::to_string(c);
  }
  text += "\n";
  for (int slot = 1; slot <= 17; ++slot) {
    text += std::to_string(slot);
    text += ';';
    text += kNames[slot - 1];
    for (int c = 1; c <= countryCount; ++c) text += ";";
    text += "\n";
  }
  return Crlf(text);
}

void WriteConsts(const ConstsSource& source, const fs::path& path) {
  sScenarioConstants constants;
  for (int line = 1; line <= sScenarioConstants::kDataLines; ++line) {
    const auto it = source.find(line);
    Check(it != source.end(), "consts.txt: data line " + std::to_string(line) + " is missing");
    if (line == 158) continue;  // read and ignored by the game
    std::size_t next = 0;
    for (int column = 1; column <= 20; ++column) {
      if (!constants.SetValue(line, column, 0.0)) continue;
      Check(next < it->second.size(), "consts.txt: data line " + std::to_string(line) + " has too few values");
      constants.SetValue(line, column, it->second[next++]);
    }
    Check(next == it->second.size(), "consts.txt: data line " + std::to_string(line) + " has too many values");
  }
  WriteConstsFile(Wide(path.string()), constants);
}

// The standing orders of ai.txt on the countries' computer data: each
// target the hex of a city to take (never a resources city), each attack
// line the odds its attacks need, each patrol a
// sea zone of the sea graph, each pressed country another country.
void ApplyAiOrders(const sScenario& b, cWorld& world) {
  for (const sAiTargetSource& t : b.ai.targets) {
    const sCitySource& city = CityNamed(b, t.city);
    Check(city.type != kCityResources, "ai.txt: target " + t.city + " is a resources city");
    sCountryAiData& ai = world.GetCountry(CountryOf(b, t.code))->aiData;
    ai.currentTargets.push_back({city.pos.x, city.pos.y, t.strength});
  }
  for (const sAiAttackSource& a : b.ai.attacks) {
    sCountryAiData& ai = world.GetCountry(CountryOf(b, a.code))->aiData;
    ai.multipleSideAttackPreferences = a.multipleSide;
    ai.oneSideAttackPreferences[0] = a.oneSide;
  }
  for (const sAiPatrolSource& p : b.ai.patrols) {
    const auto zone = b.zoneId.find(p.zone);
    Check(zone != b.zoneId.end(), "ai.txt: no sea zone named " + p.zone);
    sCountryAiData& ai = world.GetCountry(CountryOf(b, p.code))->aiData;
    Check(!ai.seaZonesToPatrol.Contains(zone->second), "ai.txt: " + p.code + " patrols " + p.zone + " twice");
    ai.seaZonesToPatrol.Append(zone->second, p.value);
  }
  for (const sAiPressSource& p : b.ai.presses) {
    const int id = CountryOf(b, p.code);
    for (const std::string& code : p.countries) {
      const int target = CountryOf(b, code);
      Check(target != id, "ai.txt: " + p.code + " cannot press itself");
      world.GetCountry(id)->aiData.countriesToPress.push_back(target);
    }
  }
}

}  // namespace

void ReadScenarioSources(const fs::path& src, sScenario& b) {
  Parse(src / "map.txt", ParseMap, b.map);
  Parse(src / "countries.txt", ParseCountries, b.countries);
  Parse(src / "countries.txt", ParseWars, b.wars);
  Parse(src / "cities.txt", ParseCities, b.cities);
  Parse(src / "roads.txt", ParseLandLinks, b.roads);
  Parse(src / "units.txt", ParseUnits, b.units);
  Parse(src / "sea.txt", ParseSea, b.sea);
  Parse(src / "consts.txt", ParseConsts, b.consts);
  if (fs::exists(src / "ai.txt")) Parse(src / "ai.txt", ParseAiOrders, b.ai);
  b.info = ReadText(src / "Info.ini");
}

void BuildScenarioWorld(sScenario& b, cWorld& world) {
  BuildCountries(b, world);
  BuildMap(b, world);
  BuildCities(b, world);
  BuildSeaGraph(b, world, b.seaEdges);
  BuildUnits(b, world);
  b.citiesDiagram = CitiesDiagram(b);
  world.GetRelations().Reset(world.GetCountryCount());
  for (const auto& [a, c] : b.wars) {
    world.GetRelations().SetAtWar(CountryOf(b, a), CountryOf(b, c), true);
    world.GetRelations().SetAtWar(CountryOf(b, c), CountryOf(b, a), true);
  }
  world.Units().convoys.Resize(world.GetCountryCount());
  ApplyAiOrders(b, world);
}

void WriteScenarioFiles(const sScenario& b, cWorld& world, const fs::path& out) {
  fs::create_directories(out);
  const std::wstring folder = Wide(out.string());
  WriteConsts(b.consts, out / "consts.csv");
  files::WriteDataFile(Wide((out / "map.tdw").string()), world.GetMap().MapFileBytes());
  WriteFlags(folder, std::vector<int>(kEventFlagCount, 0));
  WriteCities(world, folder);
  WriteCommanders(world, folder);
  WriteLandUnits(world, folder, eUnitFileLayout::kScenario);
  WriteAirUnits(world, folder, eUnitFileLayout::kScenario);
  WriteFleets(world, folder);
  WriteNavalUnits(world, folder);
  WriteCountries(world, folder);
  WriteUnitNames(folder, UnitNames(world.GetCountryCount()));
  WriteRelations(world, folder);
  WriteLosses(world, folder);
  WriteSeaNodes(world, folder);
  WriteConvoys(world, folder);
  WriteAiData(world, folder);
  // Nobody has spotted or bombed anything yet; the empty files spare the
  // loader its notes about missing ones.
  WriteAirReconUnits(world, folder);
  WriteAirshipAttacks(world, folder);
  WriteText(out / "sea_edges.csv", Crlf(b.seaEdges));
  WriteText(out / "cities_diagram.csv", Crlf(b.citiesDiagram));
  // event_files.txt and the events are make_events' (europe1939_data runs it next).
  WriteText(out / "eyecandies.csv", Crlf("# The scenario places no eye candies yet.\n"));
  WriteText(out / "Info.ini", Crlf(b.info));
}

}  // namespace scen
