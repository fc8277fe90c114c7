#include "rules/end_human_turn.h"

#include <atomic>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/settings.h"
#include "app/string_base.h"
#include "files/pbem_repository.h"
#include "files/save_game.h"
#include "platform/format.h"
#include "platform/message_box.h"
#include "rules/rule_helpers.h"
#include "rules/worker_thread.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/units_visibility.h"
#include "world/world.h"
#include "world/world_view.h"

namespace {

std::atomic<bool> g_EndTurnRequested{false};

void Warn(const std::wstring& line) {
  LogLine(L"%s", line);
  plat::ShowMessageBox(L"DBG WARNING", line);
}

// The play-by-e-mail player of the id, or null for an id the game does not
// list (a country naming a player the game lacks is a broken header: it is
// logged, never read past the list).
const sPbemPlayer* PbemPlayer(const cWorld& world, int playerId) {
  if (playerId >= 1 && playerId <= static_cast<int>(world.pbemPlayers.size())) {
    return &world.pbemPlayers[static_cast<std::size_t>(playerId - 1)];
  }
  LogLine(L"Play-by-e-mail player %i is not among the game's %i players", playerId,
          static_cast<int>(world.pbemPlayers.size()));
  return nullptr;
}

// The hand-over to another play-by-e-mail player: the repository remembers
// whose turn the game has reached, the game is saved for the next player,
// and the player is told to pass it on.
void HandOverPbemGame(cWorld& world, const cCountry& current, const cCountry& nextHuman) {
  // The game's folder and its record go by the name as the save names its
  // folder, so the two always agree.
  const std::wstring gameName = CleanSaveName(world.playByEmailGameName);
  // The game is written first: a turn whose save failed is not recorded as
  // played, and the player is told so instead of whom to send it to.
  const sSaveResult saved = SaveGame(world, gameName, true);
  if (!saved.ok) {
    LogLine(L"Play-by-e-mail save failed: %s", saved.error);
    if (cWorldView* view = world.View()) {
      view->ShowMessage(plat::Format(g_StringBase.GetText("pbem_save_failed_%s"), saved.error),
                        g_StringBase.GetText("pbem_turn_end_title"));
    }
    return;
  }
  if (current.specialFlags != kEventsOnlyCountry) {
    UpdatePbemRepository(static_cast<std::uint32_t>(current.pbemPlayerId), gameName);
  }
  const sPbemPlayer* player = PbemPlayer(world, nextHuman.pbemPlayerId);
  const std::wstring text =
      plat::Format(g_StringBase.GetText("pbem_turn_end_message"), gameName,
                   player != nullptr ? player->name : std::wstring(L"?"),
                   player != nullptr ? player->email : std::wstring(L"?"), nextHuman.name);
  if (cWorldView* view = world.View()) view->ShowMessage(text, g_StringBase.GetText("pbem_turn_end_title"));
}

// A human country follows on this machine: its view of the units, the
// glide to where it last looked at the map, the greeting and the panels
// back, phase 7 last (as the worker's hand-over does).
void GiveTurnToHuman(cWorld& world, cCountry& next) {
  RecalculateUnitsVisibility(world, next);
  cWorldView* view = world.View();
  if (view == nullptr) {
    world.SetGameState(kPhaseHumanTurn);
    return;
  }
  view->GlideToCountryView(next);
  if (next.human) view->GreetHumanTurn(next.id);
  view->LeaveComputerPhase();
}

}  // namespace

int CheckHexOccupancy(const cWorld& world) {
  const cMap& map = world.GetMap();
  int faults = 0;
  for (int y = 0; y < map.GetHeight(); ++y) {
    for (int x = 0; x < map.GetWidth(); ++x) {
      const sHex& hex = map.GetHex(x, y);
      const cJednostka* unit = hex.unit;
      if (unit == nullptr) continue;
      if (hex.IsWater()) {
        Warn(plat::Format(L"DBGINF: sea hex (%d, %d) is occupied by unit", x, y));
        ++faults;
      } else if (unit->x != x || unit->y != y) {
        const cCountry* owner = world.GetCountry(unit->countryId);
        Warn(plat::Format(
            L"DBGINF: hex (%d, %d) is occupied by unit %s owned by %s which location field is different: (%d, %d)",
            x, y, unit->name, owner != nullptr ? owner->name : std::wstring(L"?"), unit->x, unit->y));
        ++faults;
      }
    }
  }
  return faults;
}

bool Autosave(const cWorld& world) {
  const sSaveResult result = SaveGame(world, g_StringBase.GetText("autosave"), false);
  if (!result.ok) LogLine(L"Autosave failed: %s", result.error);
  return result.ok;
}

eTurnHandOver EndHumanTurn(cWorld& world) {
  CheckHexOccupancy(world);
  world.SetGameState(kPhaseEndOfTurn);
  ChangeWorldView([](cWorldView& view) { view.RefreshMinimapOwnership(); });
  cMap& map = world.GetMap();
  cTurnState& turn = world.turnState;
  cCountry* current = turn.currentCountry;
  if (current != nullptr) current->SaveMapView(map.viewX, map.viewY, g_Settings.MapZoom);
  turn.viewCountry = current;
  g_ConsoleLog.Restart();
  Autosave(world);

  // A unit that spent no action points this turn prepares one more turn for
  // an airborne drop; one that moved starts again.
  const int viewId = turn.viewCountry != nullptr ? turn.viewCountry->id : 0;
  for (cJednostkaLadowa* unit : world.Units().landUnits) {
    if (unit->countryId != viewId) continue;
    unit->turnsSinceParadrop = unit->actionPoints == unit->startingActionPoints ? unit->turnsSinceParadrop + 1 : 0;
  }
  turn.Deselect(world);
  // An attack still being set up ends with the turn that set it up.
  turn.ClearAttack();
  turn.mode = 0;
  if (current != nullptr) current->finishedTurn = true;

  cCountry* next = PickCurrentCountry(world.Countries());
  cCountry* nextHuman = turn.FindNextHumanCountry(world.Countries());
  if (world.playByEmail && current != nullptr && nextHuman != nullptr &&
      nextHuman->pbemPlayerId != current->pbemPlayerId && nextHuman->specialFlags != kEventsOnlyCountry) {
    HandOverPbemGame(world, *current, *nextHuman);
    return eTurnHandOver::kPbemHandOver;
  }
  if (next == nullptr) FatalExit(g_StringBase.GetText("error:_end_of_turn_from_main_thread._no_dummy_country?"));

  turn.SetCurrentCountry(next);
  if (!next->human) {
    if (cWorldView* view = world.View()) {
      view->EnterComputerPhase();
    } else {
      world.SetGameState(kPhaseComputerPlayers);
    }
    return eTurnHandOver::kComputerPhase;
  }
  if (next->specialFlags == kEventsOnlyCountry && world.playByEmail) {
    RequestEventsCheck();
    return eTurnHandOver::kEventsOnly;
  }
  GiveTurnToHuman(world, *next);
  return eTurnHandOver::kNextHuman;
}

void RequestEndOfTurn() { g_EndTurnRequested = true; }

bool TakeEndOfTurnRequest() { return g_EndTurnRequested.exchange(false); }
