#include "world/reconnaissance.h"

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "platform/format.h"
#include "world/cities.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/map.h"
#include "world/sea_graph.h"
#include "world/unit.h"
#include "world/world.h"
#include "world/world_helpers.h"

namespace {

// The result's kind and sides, and the flight's line on the flyer's side.
void BeginReconReport(sBombardmentResult& result, int countryId, int holderId, const std::wstring& flight) {
  result.kind = kCombatRecon;
  result.attackerCountry = countryId;
  result.defenderCountry = holderId > 0 ? holderId : -1;
  result.attackerText2 += flight + L"\n";
}

// The hex's city by name, else the hex by its column and row.
std::wstring ReconPlaceOf(const sHex& hex, int x, int y) {
  if (hex.city != nullptr && !hex.city->GetName().empty()) return hex.city->GetName();
  return plat::Format(Text("recon_report_hex_%i_%i"), x, y);
}

// A port by its name; open water as "the sea zone <name>", so that the
// report's sentences read right.
std::wstring ReconPlaceOf(const sWezelGrafuMorz& node) {
  return node.IsSeaZone() ? plat::Format(Text("recon_report_sea_zone_%s"), node.name) : node.name;
}

// The enemy units found, each with whether the flight saw it first.
void ReportReconUnits(const cWorld& world, const std::vector<std::pair<const cUnit*, bool>>& found,
                      sBombardmentResult& result) {
  std::wstring& text = result.defenderText2;
  if (found.empty()) {
    text += Text("recon_report_no_enemy_units") + L"\n";
    return;
  }
  int fresh = 0;
  for (const auto& entry : found) fresh += entry.second ? 1 : 0;
  text += plat::Format(Text("recon_report_enemy_units_%i_new_%i"), static_cast<int>(found.size()), fresh) + L"\n";
  for (const auto& [unit, isNew] : found) {
    const cCountry* owner = world.GetCountry(unit->countryId);
    text += plat::Format(Text(isNew ? "recon_report_new_unit_%s_%s_%s" : "recon_report_unit_%s_%s_%s"), unit->name,
                         cUnit::GetSubtypeText(&world, unit->type), owner != nullptr ? owner->name : std::wstring());
    text += L"\n";
  }
}

}  // namespace

void ReconArea(cWorld& world, int countryId, const wchar_t* flyerName, int x, int y, sBombardmentResult& result) {
  cMap& map = world.GetMap();
  if (!map.IsInside(x, y)) return;
  cCountry* own = world.GetCountry(countryId);
  const int reach = own != nullptr ? own->techLevel[kTechAircraft] : 0;
  BeginReconReport(result, countryId, map.GetHex(x, y).controller,
                   plat::Format(Text("recon_report_flight_over_land_%s_%s"), flyerName,
                                ReconPlaceOf(map.GetHex(x, y), x, y)));
  // Breadth first from the hex over its neighbours, within the reach; each
  // enemy unit met is listed, with whether this flight saw it first.
  std::vector<std::pair<const cUnit*, bool>> found;
  std::vector<char> seen(static_cast<std::size_t>(map.GetWidth()) * static_cast<std::size_t>(map.GetHeight()), 0);
  const auto slot = [&](int cx, int cy) -> char& {
    return seen[static_cast<std::size_t>(cy) * static_cast<std::size_t>(map.GetWidth()) + static_cast<std::size_t>(cx)];
  };
  std::deque<std::pair<int, int>> queue{{x, y}};
  slot(x, y) = 1;
  while (!queue.empty()) {
    const auto [cx, cy] = queue.front();
    queue.pop_front();
    if (cUnit* unit = map.GetHex(cx, cy).unit) {
      const bool isNew = !unit->visible;
      if (isNew) {
        unit->visible = true;
        if (own != nullptr) own->reconSpottedUnits.push_back(unit);  // not visible before: not listed yet
      }
      if (own != nullptr && own->IsAtWarWith(unit->countryId)) found.emplace_back(unit, isNew);
    }
    for (int dir = 0; dir < 6; ++dir) {
      int nx = 0, ny = 0;
      HexNeighbourCoords(cx, cy, dir, nx, ny);
      if (!map.IsInside(nx, ny) || slot(nx, ny) || HexDistance(x, y, nx, ny) > reach) continue;
      slot(nx, ny) = 1;
      queue.emplace_back(nx, ny);
    }
  }
  ReportReconUnits(world, found, result);
}

void ReportNodeShips(const cWorld& world, int countryId, const wchar_t* flyerName, const sWezelGrafuMorz& node,
                     const sNavalTypeCounts& seen, sBombardmentResult& result) {
  const std::wstring place = ReconPlaceOf(node);
  // The harbour of a port whose land this flight saw joins that report,
  // a line apart.
  if (result.kind == kCombatRecon) {
    result.defenderText2 += L"\n";
  } else {
    const cMap& map = world.GetMap();
    const int holder = !node.IsSeaZone() && map.IsInside(node.x, node.y) ? map.GetHex(node.x, node.y).controller : -1;
    BeginReconReport(result, countryId, holder,
                     plat::Format(Text("recon_report_flight_over_sea_%s_%s"), flyerName, place));
  }
  std::wstring ships;
  for (int i = 0; i < kNavalTypeCount; ++i) {
    if (seen[static_cast<std::size_t>(i)] <= 0) continue;
    ships += plat::Format(Text("recon_report_ships_of_type_%s_%i"), cUnit::GetSubtypeText(&world, kFirstNavalType + i),
                          seen[static_cast<std::size_t>(i)]);
    ships += L"\n";
  }
  std::wstring& text = result.defenderText2;
  if (ships.empty()) {
    text += plat::Format(Text("recon_report_no_enemy_ships_at_%s"), place) + L"\n";
  } else {
    text += plat::Format(Text("recon_report_enemy_ships_at_%s"), place) + L"\n" + ships;
  }
}
