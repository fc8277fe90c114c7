#include "files/world_loader.h"

#include "app/console_log.h"
#include "app/file_text.h"
#include "app/ini_file.h"
#include "app/settings.h"
#include "files/air_reports_file.h"
#include "files/cities_file.h"
#include "files/consts_file.h"
#include "files/countries_file.h"
#include "files/event_loader.h"
#include "files/fleet_files.h"
#include "files/info_ini_file.h"
#include "files/reference_checks.h"
#include "files/save_folders.h"
#include "files/unit_files.h"
#include "files/world_skins.h"
#include "files/reports_file.h"
#include "files/auto_events_file.h"
#include "files/city_rows_file.h"
#include "files/topography_file.h"
#include "world/jednostka_ladowa.h"
#include "world/unit_constants.h"
#include "world/event_manager.h"
#include "world/world.h"
#include "world/game_phase.h"
#include "platform/text.h"

namespace {

void Progress(int percent) {
  if (g_OnWorldLoadingProgress) g_OnWorldLoadingProgress(percent);
}

// The readers of the first pass, in their fixed order: later readers look
// up what earlier ones made (units their commanders, ships their fleets,
// unit names the countries).
void LoadFolder(cWorld& world, const sWorldLoadHooks& hooks) {
  Progress(5);
  const sInfoHeader header = LoadInfoHeader(world.folderPattern);
  if (!world.savedGame) CheckScenarioNamesItsFolder(world.folderPattern, header);
  ApplyInfoHeader(header, world);
  world.turnNumber = header.turn;
  world.turnsLeft = header.turnsLeft;
  // The shown date of the header: the date line names it on the first turn.
  // A save holds the date its game showed; a scenario's own keys are not
  // looked at, so a scenario starts as it always did.
  const bool saved = world.savedGame;
  world.startDay = saved ? header.displayedDay : header.gameDay;
  world.startMonth = saved ? header.displayedMonth : header.gameMonth;
  world.startYear = saved ? header.displayedYear : header.gameYear;
  world.pbemPlayers = header.pbemPlayers;
  Progress(10);
  // The constants always come from the scenario's own folder, also for a
  // saved game. The impulse within the month needs their impulses per month.
  LoadScenarioConstants(world.constants, world.scenarioName);
  // The land units read their action points, strengths and move costs from
  // them; a new unit takes its paradrop preparation turns when it is made.
  ApplyScenarioConstants(world.constants);
  world.unitConstants = CommanderWeightsOf(world.constants);
  RestoreDateFromHeader(header, world);
  Progress(15);
  world.LoadMap(world.folderPattern);
  Progress(20);
  LoadFlags(world.folderPattern, world.eventFlags, files::RowLossOf(world.savedGame));
  LoadCities(world, world.folderPattern);
  Progress(25);
  LoadCommanders(world, world.folderPattern);
  LoadLandUnits(world, world.folderPattern);
  PlaceLoadedLandUnits(world);
  LoadAirUnits(world, world.folderPattern);
  PlaceLoadedAirUnits(world);
  LoadFleets(world, world.folderPattern);
  LoadNavalUnits(world, world.folderPattern);
  Progress(35);
  LoadCountries(world, world.folderPattern);
  CheckCountryReferences(world);
  LoadUnitNameTemplates(world, world.folderPattern, world.unitNamesBytes);
  Progress(40);
  LoadAirshipAttackReports(world, world.folderPattern);
  LoadAirReconHexes(world, world.folderPattern);
  Progress(45);
  world.CreateAiPlayers(hooks.makeComputerPlayer);
  // Relations and losses need the countries: without any there is nothing
  // to relate.
  if (world.GetCountryCount() > 0) world.GetRelations().Load(world.folderPattern, world.GetCountryCount());
  Progress(50);
  // The convoy store is filled by the second pass; the event list stays
  // empty until events are loaded there.
  world.Units().convoys.Resize(world.GetCountryCount());
  Progress(55);
  Progress(60);
  world.CreateMusicPlayer();
  if (hooks.makeView) world.SetView(hooks.makeView(world));
  Progress(65);
  LoadWorldMapSkin(world, g_Settings.MapSkin);
  Progress(70);
  LoadWorldUnitsSkin(world, g_Settings.UnitsSkin);
  Progress(75);
}

// What the automatic choice needs of the loaded events.
std::vector<sEventOptionChances> OptionChancesOf(const std::list<sEvent>& events) {
  std::vector<sEventOptionChances> chances;
  chances.reserve(events.size());
  for (const sEvent& event : events) {
    sEventOptionChances& entry = chances.emplace_back();
    entry.eventId = event.eventId;
    for (const sEventOption& option : event.options) entry.options.push_back({option.optionId, option.chanceAI});
  }
  return chances;
}

// The first pass of a scenario started from its beginning.
void StartNewScenario(cWorld& world, const sWorldLoadHooks& hooks) {
  world.ResetCitySupplyRows();
  if (hooks.endImpulse) hooks.endImpulse(world);
  Progress(90);
  SeedAutoEventsFromEvents(world, OptionChancesOf(world.eventManager.events));
  Progress(95);
  // Airborne units may drop at once.
  for (cJednostkaLadowa* unit : world.Units().landUnits) unit->turnsSinceParadrop = world.constants.dropTurnsAtStart;
}

// The state a saved game keeps beyond the scenario's files.
void ContinueSavedGame(cWorld& world) {
  world.ResetCitySupplyRows();
  LoadCitiesSupplyInfo(world, world.folderPattern);
  Progress(90);
  world.topographies = LoadTopography(world, world.folderPattern);
  for (cJednostkaLadowa* unit : world.Units().landUnits) unit->UpdateEffectiveness();
  Progress(95);
  LoadReports(world.reports, world.folderPattern);
  LoadAutoEvents(world.autoEvents, world.folderPattern);
}

}  // namespace

std::function<void(int percent)> g_OnWorldLoadingProgress;

std::optional<std::wstring> CopiedScenarioRefusal(std::wstring_view folderPattern) {
  cIniFile ini;
  ini.Load(files::PathFromPattern(folderPattern, L"Info.ini"));
  if (!ini.IsLoaded() || !NamesScenarioFolder(ini)) return std::nullopt;
  const sInfoHeader header = ReadInfoHeader(ini);
  if (std::optional<std::wstring> refusal = ScenarioFolderRefusal(folderPattern, header)) return refusal;
  // The list is the one of the folder the header names, as the loading
  // reads it.
  return EventListRefusal(plat::ToUtf8(header.scenarioName));
}

void LoadWorld(const sGameStartSettings& settings, const sWorldLoadHooks& hooks) {
  delete g_pWorld;
  g_pWorld = nullptr;
  // A save whose folder a killed save left under a copy's name is taken
  // back before its files are read.
  if (settings.isSavedGame != 0) RecoverSaveFolderOf(settings.folderPattern);
  // The world is the loaded game from its first reader on; a load that
  // fails frees what it had read and leaves none.
  auto* world = new cWorld();
  world->savedGame = settings.isSavedGame != 0;
  world->folderPattern = settings.folderPattern;
  g_pWorld = world;
  try {
    LoadFolder(*world, hooks);
    Progress(80);
    FinishLoading(*world);
    Progress(85);
    world->GetMap().RefreshBorderFlags(*world);
    if (settings.isSavedGame == 0) {
      StartNewScenario(*world, hooks);
    } else {
      ContinueSavedGame(*world);
    }
  } catch (...) {
    // A fatal data error throws here through the hook of the game start or
    // of a test.
    delete world;
    g_pWorld = nullptr;
    throw;
  }
  Progress(100);
  LogLine(L"-- Loading new scenario done!");
  world->SetGameState(kPhaseScenarioLoaded);
}
