#include "world/turn_state.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "app/console_log.h"
#include "app/framework_lock.h"
#include "app/settings.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/hex_changes.h"
#include "world/jednostka_ladowa.h"
#include "world/land_movement.h"
#include "world/map.h"
#include "world/unit.h"
#include "world/world.h"
#include "world/world_helpers.h"
#include "world/world_view.h"

namespace {

// The groups in the order of moves.
enum eMoveGroup : int { kGroupAxis = 0, kGroupAllies = 1, kGroupComintern = 2, kGroupNeutral = 3, kGroupCount = 4 };

// The group of an alliance code; -1 for a code outside 0..6, which no group
// takes.
int MoveGroupOf(int alliance) {
  switch (alliance) {
    case kAxis:
    case kAxisLeader:
      return kGroupAxis;
    case kAllies:
    case kAlliesLeader:
      return kGroupAllies;
    case kComintern:
    case kCominternLeader:
      return kGroupComintern;
    case kNeutral:
      return kGroupNeutral;
    default:
      return -1;
  }
}

// A strength of this or less never moves.
constexpr int kNeverMovesStrength = -5;

}  // namespace

void cTurnState::SetCurrentCountry(cCountry* country) {
  currentCountry = country;
  showActions = true;
  if (country != nullptr && country->alliance >= kAllies && country->alliance <= kCominternLeader &&
      !g_Settings.ShowAlliesActions) {
    showActions = false;
  }
  // Both threads get here; the bar belongs to the main thread.
  ChangeWorldView([](cWorldView& view) { view.RefreshCounters(); });
}

int cTurnState::CurrentCountryId() const { return currentCountry != nullptr ? currentCountry->id : 0; }

void cTurnState::CenterOnCurrentCountry(cWorld& world, bool glide) {
  if (currentCountry == nullptr) return;
  const cCity* city = currentCountry->FindMainCity(world);
  if (city == nullptr) return;
  world.GetMap().CenterAtHex(city->x, city->y);
  if (glide && world.GetGameState() != kPhaseComputerPlayers) world.SetGameState(kPhaseViewGlide);
}

void cTurnState::Deselect(cWorld& world) {
  {
    const cFrameworkLockGuard lock;
    selectedHex = nullptr;
    selectedUnit = nullptr;
    ClearMapMarks(world.GetMap(), ~0u, true);
  }
  ChangeWorldView([](cWorldView& view) { view.RefreshSelection(); });
}

cCountry* PickCurrentCountry(const std::vector<std::unique_ptr<cCountry>>& countries) {
  LogLine(L"Wyznaczam aktualne panstwo...");
  if (countries.empty()) return nullptr;
  std::array<cCountry*, kGroupCount> candidate{};
  std::array<int, kGroupCount> best;
  best.fill(kNeverMovesStrength);
  for (const auto& country : countries) {
    if (!country || !country->active || country->finishedTurn) continue;
    const int group = MoveGroupOf(country->alliance);
    if (group < 0) continue;
    // Strictly greater: the earlier of equals stays, and a dummy country
    // (-1) comes only after every stronger one of its group.
    if (country->politicalStrength > best[group]) {
      best[group] = country->politicalStrength;
      candidate[group] = country.get();
    }
  }
  static constexpr const wchar_t* kChoiceLines[kGroupCount] = {
      L"Os. Aktualne panstwo = %s",
      L"Alianci. Aktualne panstwo = %s",
      L"Komintern. Aktualne panstwo = %s",
      L"Neutralni. Aktualne panstwo = %s",
  };
  for (int group = 0; group < kGroupCount; ++group) {
    if (candidate[group] != nullptr) {
      LogLine(kChoiceLines[group], candidate[group]->name);
      return candidate[group];
    }
  }
  LogLine(L"--=== KONIEC IMPULSU ===--");
  return nullptr;
}

bool CanCountryEverMove(const cCountry& country) {
  return country.active && MoveGroupOf(country.alliance) >= 0 && country.politicalStrength > kNeverMovesStrength;
}

bool AnyHumanCountryCanMove(const std::vector<std::unique_ptr<cCountry>>& countries) {
  return std::any_of(countries.begin(), countries.end(),
                     [](const auto& c) { return c && c->human && CanCountryEverMove(*c); });
}

bool HumanCountriesStalled(const std::vector<std::unique_ptr<cCountry>>& countries) {
  const bool anyHuman = std::any_of(countries.begin(), countries.end(), [](const auto& c) { return c && c->human; });
  return anyHuman && !AnyHumanCountryCanMove(countries);
}

void RemoveFinishedOrComputerCountries(std::vector<cCountry*>& countries) {
  std::erase_if(countries, [](const cCountry* c) { return c == nullptr || c->finishedTurn || !c->human; });
}

cCountry* cTurnState::FindNextHumanCountry(const std::vector<std::unique_ptr<cCountry>>& countries) const {
  std::array<std::vector<cCountry*>, kGroupCount> groups;
  for (const auto& country : countries) {
    if (!country || !country->active) continue;
    const int group = MoveGroupOf(country->alliance);
    if (group >= 0) groups[group].push_back(country.get());
  }
  for (auto& group : groups) {
    std::stable_sort(group.begin(), group.end(), [](const cCountry* a, const cCountry* b) {
      return a->politicalStrength > b->politicalStrength;
    });
  }
  // Someone still to move this impulse comes first.
  for (const auto& group : groups) {
    std::vector<cCountry*> waiting = group;
    RemoveFinishedOrComputerCountries(waiting);
    if (!waiting.empty()) return waiting.front();
  }
  // Every human country has finished: the next human one after the current
  // country in the order of moves, wrapping round, never the current one.
  std::vector<cCountry*> merged;
  for (const auto& group : groups) merged.insert(merged.end(), group.begin(), group.end());
  const auto at = std::find(merged.begin(), merged.end(), currentCountry);
  const auto isOtherHuman = [this](const cCountry* c) { return c->human && c != currentCountry; };
  if (at != merged.end()) {
    const auto after = std::find_if(at + 1, merged.end(), isOtherHuman);
    if (after != merged.end()) return *after;
    const auto before = std::find_if(merged.begin(), at, isOtherHuman);
    return before != at ? *before : nullptr;
  }
  const auto any = std::find_if(merged.begin(), merged.end(), isOtherHuman);
  return any != merged.end() ? *any : nullptr;
}

void ShowStatusText(std::wstring_view text) {
  std::wstring line(text);
  std::replace(line.begin(), line.end(), L'\n', L' ');
  ChangeWorldView([line](cWorldView& view) { view.ShowStatusText(line); });
}

// --- Selection, hover, attack set-up ---

namespace {

constexpr std::uint32_t kMarkSelection = 1;

}  // namespace

void cTurnState::SelectHex(cWorld& world, int x, int y) {
  cMap& map = world.GetMap();
  {
    const cFrameworkLockGuard lock;
    selectedHex = nullptr;
    selectedUnit = nullptr;
    map.ClearHexMarks(~0u, true);
    if (map.IsInside(x, y)) {
      sHex& hex = map.GetHex(x, y);
      selectedHex = &hex;
      if (hex.IsLand() || hex.seaZone == 0) {
        SetHexMark(map, hex, kMarkSelection, -1);
        selectedUnit = hex.unit;
      } else {
        map.MarkSeaZoneHexes(hex.seaZone, kMarkSeaZone);
      }
    }
  }
  ChangeWorldView([](cWorldView& view) { view.RefreshSelection(); });
}

cLandAttack& cTurnState::SetAttack(cJednostka* defender, int defenderX, int defenderY, cJednostka* side0,
                                   cJednostka* side1, cJednostka* side2, cJednostka* side3, cJednostka* side4,
                                   cJednostka* side5) {
  auto made = std::make_unique<cLandAttack>();
  made->defender = defender;
  made->defenderX = defenderX;
  made->defenderY = defenderY;
  made->attackers = {side0, side1, side2, side3, side4, side5};
  attack = std::move(made);
  return *attack;
}

void cTurnState::ClearAttack() { attack.reset(); }

void cTurnState::DropInvalidAttack() {
  if (!attack || attack->CountAttackingSides() < 2) return;
  bool invalid = attack->defender != nullptr && attack->defender->wasAttacked;
  for (const cJednostka* unit : attack->attackers) {
    if (unit && unit->attacked) invalid = true;
  }
  if (invalid) attack.reset();
}

void cTurnState::ForgetUnit(const cUnit* unit) {
  if (!unit) return;
  bool changed = false;
  if (selectedUnit == unit) {
    selectedUnit = nullptr;
    changed = true;
  }
  if (move.unit == unit) {
    move.Clear();
    changed = true;
  }
  if (undo.unit == unit) {
    undo.unit = nullptr;
    undo.changedHexes.clear();
    changed = true;
  }
  if (attack) {
    const auto* hexUnit = dynamic_cast<const cJednostka*>(unit);
    if (hexUnit && attack->Forget(hexUnit)) changed = true;
  }
  if (changed) ChangeWorldView([](cWorldView& view) { view.RefreshSelection(); });
}
