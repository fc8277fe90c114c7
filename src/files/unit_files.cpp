#include "files/unit_files.h"

#include <climits>
#include <cstdint>
#include <cwchar>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/console_log.h"
#include "app/csv_reader.h"
#include "app/data_rows.h"
#include "app/string_base.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/lines.h"
#include "platform/message_box.h"
#include "platform/text.h"
#include "world/commander.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/world.h"

namespace {

constexpr std::size_t kLandColumns = 33;
constexpr std::size_t kAirColumns = 19;
constexpr std::size_t kNavalColumns = 14;

// Levels run 1 to 5; strengths are per cent of the full unit; supply is an
// index of the supply tables (0 to 50).
constexpr int kMaxLevel = 5;
constexpr int kMaxPercent = 100;
constexpr int kMaxSupplyValue = 50;
constexpr int kMaxHitPoints = 100;

// The head of "land_units.csv" in the table's own columns, as a scenario
// holds it (and as saves of earlier games wrote it).
constexpr char kLandUnitsHeader[] =
    "#Land units\n"
    "#ID;Name;Country ID;Hex X;Hex Y;Type;Level (1-5);Current strength (1-100);Action Points;Attacked [0=false "
    "1=true];Was attacked [0=false 1=true];Supply source X;Supply source Y;Starting AP;TransporterID (-1=not on "
    "transporter);CommanderID (-1=no commander assigned);InReserve [0=false 1=true];ShoreBombEffect;Freeze "
    "time;AI - order;AI - targetX;AI - targetY;AI- ultimate target X;AI - ultimate targetY;Supply;EventsEffect;"
    "Number of turns from last paradrop;mulberry remaining time (months);Turns without supply;Trench bonus "
    "multiplier;Last X;Last Y;Available in turns;";
constexpr char kScenarioIdColumn[] = "Scenario ID";

// The head of "land_units.csv" as its writer puts it: a file of no land
// unit holds it alone. A save's adds the scenario id column.
std::string LandUnitsHeader(eUnitFileLayout layout) {
  std::string header(kLandUnitsHeader);
  if (layout == eUnitFileLayout::kSave) header += std::string(kScenarioIdColumn) + ";";
  return header;
}

// "air_units.csv" as its writer puts it: the head, the units on the map
// after their section line, then those in the reserve after theirs. A
// save's head adds the scenario id column.
constexpr char kAirUnitsHeader[] =
    "#Air units\n"
    "#ID;Name;Country ID;Hex X;Hex Y;Type;Level (1-5);Strength;Commander ID (-1 = no commander assigned);"
    "Attacked [0=false 1=true];Was attacked [0=false 1=true];Supply source X;Supply source Y;Action Points;"
    "Starting AP;In reserve [0=false 1=true];Supply;Air recon done? [0=false 1=true];Available in turns";
constexpr char kAirOnMapLine[] = "\n#On map";
constexpr char kAirInReserveLine[] = "\n#In reserve";

std::string AirUnitsHeader(eUnitFileLayout layout) {
  std::string header(kAirUnitsHeader);
  if (layout == eUnitFileLayout::kSave) header += std::string(";") + kScenarioIdColumn;
  return header;
}

// The file as its writer puts it in the layout for no air unit.
std::string NoAirUnitsText(eUnitFileLayout layout) {
  std::string text = AirUnitsHeader(layout);
  text += kAirOnMapLine;
  text += kAirInReserveLine;
  return text;
}

// Whether the file's text holds the lines of table and no others (line
// ends of any kind).
bool HoldsLinesOf(std::string_view fileText, std::string_view table) {
  plat::LineReader file(fileText);
  plat::LineReader wanted(table);
  std::string_view a;
  std::string_view b;
  while (true) {
    const bool more = file.Next(a);
    if (more != wanted.Next(b)) return false;
    if (!more) return true;
    if (a != b) return false;
  }
}

// "naval_units.csv" as its writer puts it: the head with its "#On map"
// line, the ships on the map, the reserve's after their section line.
constexpr char kNavalUnitsHeader[] =
    "#Naval units\n"
    "#ID;Name;Country ID;Type;Fleet ID;HP;Max HP;Commander ID (-1 = no commander assigned);In reserve "
    "[0=false 1=true];Can be bombed? [0=false 1=true];Airstrike done? [0=false 1=true];Available in turns;"
    "Recon done? [0=false 1=true] ;Can be repaired? [0=false 1=true]\n"
    "#On map";
constexpr char kNavalInReserveLine[] = "\n#In reserve";

std::string NoShipsText() {
  std::string text(kNavalUnitsHeader);
  text += kNavalInReserveLine;
  return text;
}

// A saved game's air or ship file ends with the reserve's section line and
// the reserve's rows: one whose rows stop before that line was cut, its
// last rows lost with the rest.
void RefuseWithoutReserveLine(const cWorld& world, const cCsvReader& reader, const files::cRowCheck& row) {
  if (!world.savedGame || row.Rows() == 0) return;
  const std::string_view text = reader.Text();
  const std::string_view line = std::string_view(kNavalInReserveLine).substr(1);
  for (std::size_t at = text.find(line); at != std::string_view::npos; at = text.find(line, at + 1)) {
    const std::size_t end = at + line.size();
    const bool startsLine = at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r';
    if (startsLine && (end == text.size() || text[end] == '\r' || text[end] == '\n')) return;
  }
  row.FileFault(plat::Format(L"the rows end without the line \"%s\" its writer puts after them: the file was cut",
                             plat::WidenAnsi(line)));
}

// A hex coordinate of a row: -1 (no hex) or on the map.
int Coordinate(const files::cRowCheck& row, std::size_t column, const wchar_t* what, int size) {
  return row.Int(column, what, -1, size - 1);
}

// The row's unit id (positive); a repeated one keeps its unit in a
// scenario but is logged with the old line and a WARNING naming the row
// (row.Fault), and ends a saved game's load.
int UnitId(const files::cRowCheck& row) { return row.Int(0, L"unit id", 1, INT_MAX); }

// The columns a row of the file is read from: a saved game's land and air
// rows may hold the scenario id after the table's own (the game writes it
// into its saves; saves of earlier games lack it). A scenario's rows are
// read from the table's columns alone, the fields past them ignored.
std::size_t ReadColumns(const cWorld& world, std::size_t columns) { return world.savedGame ? columns + 1 : columns; }

// The id the unit's scenario gave it: in a scenario the row's id (fields
// past the table's columns are ignored); in a saved game the column after
// the table's where the row has it (a unit the game gave a free id keeps
// its scenario's id there), else the row's id.
int ScenarioId(const cWorld& world, const files::cRowCheck& row, std::size_t column, int id) {
  if (!world.savedGame || row.FieldCount() <= column) return id;
  return row.Int(column, L"scenario id", 1, INT_MAX);
}

// The commander named by a row (none for a negative id; an unknown id is
// logged by the look-up and warned about with the row), who then leads the
// unit.
void LinkCommander(cWorld& world, cUnit& unit, int commanderId, const files::cRowCheck& row) {
  unit.ownCommander = nullptr;
  cCommander* commander = world.FindCommanderById(commanderId);
  if (!commander) {
    if (commanderId >= 0) {
      row.Warn(plat::Format(L"commander %i is not in commanders.csv; the unit has no commander", commanderId));
    }
    return;
  }
  unit.ownCommander = commander;
  commander->ledUnit = &unit;
}

// Forgets every hex link to the units of a list that is about to be freed,
// so no hex keeps a pointer to a deleted unit.
template <typename List>
void ClearHexLinks(cWorld& world, const List& list) {
  cMap& map = world.GetMap();
  for (const auto* unit : list) {
    if (!map.IsInside(unit->x, unit->y)) continue;
    sHex& hex = map.GetHex(unit->x, unit->y);
    if (static_cast<const void*>(hex.unit) == static_cast<const void*>(unit)) hex.unit = nullptr;
  }
}

// A freed unit must not stay the unit of a commander.
void ReleaseCommanderOf(const cUnit* unit) {
  if (unit->ownCommander && unit->ownCommander->ledUnit == unit) unit->ownCommander->ledUnit = nullptr;
}

int CommanderIdOf(const cUnit* unit) { return unit->ownCommander ? unit->ownCommander->id : -1; }

// A save's last field of a land or air row, the unit's scenario id and the
// row's ";"; none in a scenario's layout.
std::wstring ScenarioIdField(const cJednostka* unit, eUnitFileLayout layout) {
  return layout == eUnitFileLayout::kSave ? plat::Format(L"%i;", unit->IdInScenario()) : std::wstring();
}

// A row in the layout: a save's ends with the unit's scenario id.
std::wstring LandRow(cJednostkaLadowa* unit, eUnitFileLayout layout) {
  const auto* harbour = dynamic_cast<const cMulberry*>(unit);
  // A unit aboard a ship has no map position.
  const bool aboard = unit->transport != nullptr;
  return plat::Format(
      L"\n%i;%s;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%f;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%s",
      unit->id, files::CleanFieldText(unit->name), unit->countryId, aboard ? -1 : unit->x, aboard ? -1 : unit->y,
      unit->type, unit->level,
      unit->GetStrength(), unit->actionPoints, unit->attacked ? 1 : 0, unit->wasAttacked ? 1 : 0,
      unit->supplySourceX, unit->supplySourceY, unit->startingActionPoints, unit->transport ? unit->transport->id : -1,
      CommanderIdOf(unit), unit->inReserve ? 1 : 0, static_cast<double>(unit->shoreBombardmentEffect),
      unit->freezeTime, unit->aiOrder, unit->aiTargetX, unit->aiTargetY, unit->aiUltimateTargetX,
      unit->aiUltimateTargetY, unit->supply, unit->eventsEffect, unit->turnsSinceParadrop,
      harbour ? harbour->remainingMonths : -1, unit->turnsWithoutSupply, unit->entrenchment, unit->lastX,
      unit->lastY, unit->availableInTurns, ScenarioIdField(unit, layout));
}

std::wstring AirRow(const cJednostkaLotnicza* unit, eUnitFileLayout layout) {
  return plat::Format(L"\n%i;%s;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%s", unit->id,
                      files::CleanFieldText(unit->name), unit->countryId, unit->x, unit->y, unit->type, unit->level,
                      files::TruncateToInt(unit->strength), CommanderIdOf(unit), unit->attacked ? 1 : 0,
                      unit->wasAttacked ? 1 : 0, unit->supplySourceX, unit->supplySourceY, unit->actionPoints,
                      unit->startingActionPoints, unit->inReserve ? 1 : 0, unit->supply, unit->reconDone ? 1 : 0,
                      unit->availableInTurns, ScenarioIdField(unit, layout));
}

// A ship on the map is written with the fleet it is linked to; a reserve
// ship with none (fleet id -1).
std::wstring NavalRow(const cJednostkaMorska* ship, int fleetId) {
  return plat::Format(L"\n%i;%s;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;%i;", ship->id, files::CleanFieldText(ship->name),
                      ship->countryId, ship->type, fleetId, ship->hitPoints, ship->maxHitPoints,
                      CommanderIdOf(ship), ship->inReserve ? 1 : 0, ship->canBeBombed ? 1 : 0,
                      ship->airstrikeDone ? 1 : 0, ship->availableInTurns, ship->reconDone ? 1 : 0,
                      ship->canBeRepaired ? 1 : 0);
}

// A unit of the file read, with its line.
template <typename Unit>
struct sReadUnit {
  Unit* unit;
  std::uint32_t line;
};

// A row whose id a unit of the file holds already: "<kind> id <n> is given
// twice, on lines <first> and <this>"; an id some unit had before the file
// was read, or a row that made no unit, has no first line to name.
template <typename Unit>
void FaultRepeatedId(const files::cRowCheck& row, const std::vector<sReadUnit<Unit>>& read, int id,
                     const wchar_t* kind, std::wstring_view warnTail) {
  const std::wstring what = plat::Format(L"%s id %i", std::wstring(kind), id);
  for (const sReadUnit<Unit>& r : read) {
    if (r.unit->id == id) {
      row.Repeated(what, r.line, warnTail);
      return;
    }
  }
  row.Fault(what + L" is used twice", warnTail);
}

// A scenario may give two units one id; both load, and each unit but the
// one the id means then takes a free id, greater than any in use (past the
// greatest int the lowest free one), so that the game tells them apart and
// saves them so (a saved game never repeats an id). A land or air unit
// keeps the id it had as its scenario id, by which the scenario's events
// still name it. The id means the first unit of the file that has it, or
// (preferOnMap, ships, whose id a land unit's transporter names) the first
// one not in reserve, which the look-ups find first; an id some unit had
// before the file was read means none of the file's.
template <typename Unit>
void SettleRepeatedIds(const std::vector<sReadUnit<Unit>>& read, const std::unordered_set<int>& usedBefore,
                       std::unordered_set<int> idsInUse, const std::wstring& path, const wchar_t* kind,
                       bool preferOnMap) {
  std::unordered_map<int, Unit*> meant;
  for (const sReadUnit<Unit>& r : read) {
    if (usedBefore.count(r.unit->id) != 0) continue;
    const auto [it, first] = meant.emplace(r.unit->id, r.unit);
    if (!first && preferOnMap && it->second->inReserve && !r.unit->inReserve) it->second = r.unit;
  }
  for (const sReadUnit<Unit>& r : read) {
    const auto it = meant.find(r.unit->id);
    if (it != meant.end() && it->second == r.unit) continue;
    const int repeated = r.unit->id;
    r.unit->id = NewIdBeside(idsInUse);
    idsInUse.insert(r.unit->id);
    LogLine(L"WARNING: %s line %u: %s id %i is used twice; %s takes the free id %i", path, r.line,
            std::wstring(kind), repeated, r.unit->name, r.unit->id);
  }
}

}  // namespace

void LoadLandUnits(cWorld& world, std::wstring_view folderFormat) {
  const auto file = files::OpenCsvFileOrExit(folderFormat, L"land_units.csv", {L"Wczytywanie jednostek ladowych..."});
  cCsvReader& reader = *file;

  std::list<cJednostkaLadowa*>& list = world.Units().landUnits;
  ClearHexLinks(world, list);
  for (cJednostkaLadowa* unit : list) {
    ReleaseCommanderOf(unit);
    delete unit;
  }
  list.clear();

  // The ids in use before the file, taken once: with each id the reader
  // appends, a row's test for a repeated id (within the file too) is one
  // look-up rather than a walk over every unit.
  const std::unordered_set<int> usedBefore = IdsInUse(world, eIdKind::kLandUnit);
  std::unordered_set<int> idsInUse = usedBefore;
  std::vector<sReadUnit<cJednostkaLadowa>> read;
  const cMap& map = world.GetMap();
  const int width = map.GetWidth();
  const int height = map.GetHeight();
  files::cRowCheck row(files::PathFromPattern(folderFormat, L"land_units.csv"), files::RowLossOf(world.savedGame));
  cJednostkaLadowa templ(&world);
  while (!reader.AtEnd()) {
    if (reader.ReadRecord(false) == 0) continue;  // a comment or an empty line
    row.Start(reader.LineCounter(), reader.Fields());
    if (!row.HasFields(kLandColumns)) continue;
    row.WarnExtraFields(ReadColumns(world, kLandColumns));
    const int id = UnitId(row);
    const int scenarioId = ScenarioId(world, row, kLandColumns, id);
    if (!idsInUse.insert(id).second) {
      LogLine(L"Blad: Numer ID=%i sie powtarza.", id);
      FaultRepeatedId(row, read, id, L"land unit", L"; the unit takes a free id");
    }
    const int type = row.Int(5, L"land unit type", kUnitInfantryDivision, kUnitArtificialHarbour);
    if (CategoryOfUnitType(type) != kCategoryLand) row.RefuseValue(5, L"land unit type", L"names no land unit type");
    const int countryId = row.Int(2, L"country id", 1);
    // The placement check after the file refuses a hex off the map.
    const int x = row.Int(3, L"hex x");
    const int y = row.Int(4, L"hex y");
    const int level = row.Int(6, L"level", 1, kMaxLevel);

    if (type == kUnitArtificialHarbour) {
      auto* harbour = new cMulberry(&world);
      harbour->id = id;
      harbour->scenarioId = scenarioId;
      harbour->SetName(reader[1]);
      harbour->countryId = countryId;
      harbour->x = x;
      harbour->y = y;
      harbour->level = level;
      harbour->wasAttacked = row.Flag(10, L"was attacked");
      harbour->transporterId = row.Int(14, L"transporter id");
      harbour->shoreBombardmentEffect = files::ToFloat(row.Number(17, L"shore bombardment effect", -1e9, 1e9));
      harbour->freezeTime = row.Int(18, L"freeze time");
      harbour->eventsEffect = row.Int(25, L"events effect");
      harbour->turnsSinceParadrop = row.Int(26, L"turns since paradrop");
      const int remaining = row.Int(27, L"harbour months left", -1);
      harbour->remainingMonths =
          remaining == -1 ? files::TruncateToInt(world.constants.mulberryValues[3]) : remaining;
      harbour->category = kCategoryLand;
      harbour->SetStrength(0);
      harbour->SetSupplySourceX(-1);
      harbour->SetSupplySourceY(-1);
      harbour->SetSupply(0);
      harbour->SetStartingActionPoints(0);
      harbour->ownCommander = nullptr;  // a harbour is led by nobody
      harbour->ResetActionPoints();
      harbour->inReserve = false;
      harbour->availableInTurns = 0;
      list.push_back(harbour);
      read.push_back({harbour, reader.LineCounter()});
      LogLine(L"Mulberry %s (ID=%i) added", harbour->name, harbour->id);
      continue;
    }

    templ.id = id;
    templ.scenarioId = scenarioId;
    templ.SetName(reader[1]);
    templ.countryId = countryId;
    templ.x = x;
    templ.y = y;
    templ.SetType(type);
    templ.level = level;
    templ.strength = row.IntClamped(7, L"strength", 0, kMaxPercent);
    templ.actionPoints = row.Int(8, L"action points");
    templ.attacked = row.Flag(9, L"attacked");
    templ.wasAttacked = row.Flag(10, L"was attacked");
    templ.supplySourceX = Coordinate(row, 11, L"supply source x", width);
    templ.supplySourceY = Coordinate(row, 12, L"supply source y", height);
    templ.startingActionPoints = row.Int(13, L"starting action points");
    templ.transporterId = row.Int(14, L"transporter id");
    const int commanderId = row.Int(15, L"commander id");
    templ.inReserve = row.Flag(16, L"in reserve");
    templ.shoreBombardmentEffect = files::ToFloat(row.Number(17, L"shore bombardment effect", -1e9, 1e9));
    templ.freezeTime = row.Int(18, L"freeze time");
    templ.aiOrder = row.Int(19, L"AI order");
    templ.aiTargetX = Coordinate(row, 20, L"AI target x", width);
    templ.aiTargetY = Coordinate(row, 21, L"AI target y", height);
    templ.aiUltimateTargetX = Coordinate(row, 22, L"AI ultimate target x", width);
    templ.aiUltimateTargetY = Coordinate(row, 23, L"AI ultimate target y", height);
    templ.supply = row.IntClamped(24, L"supply", 0, kMaxSupplyValue);
    templ.eventsEffect = row.Int(25, L"events effect");
    templ.turnsSinceParadrop = row.Int(26, L"turns since paradrop");
    templ.turnsWithoutSupply = row.IntClamped(28, L"turns without supply", 0, INT_MAX);
    templ.entrenchment = row.IntClamped(29, L"entrenchment", 0, INT_MAX);
    templ.lastX = Coordinate(row, 30, L"last x", width);
    templ.lastY = Coordinate(row, 31, L"last y", height);
    templ.availableInTurns = row.IntClamped(32, L"available in turns", 0, INT_MAX);
    templ.ownCommander = nullptr;

    auto* unit = new cJednostkaLadowa(templ);
    list.push_back(unit);
    read.push_back({unit, reader.LineCounter()});
    LinkCommander(world, *unit, commanderId, row);
    LogLine(L"Land unit %s (ID=%i CountryID=%i) added", unit->name, unit->id, unit->countryId);
  }
  // A file of no land unit holds its header alone: a scenario's, or a save
  // of an earlier game, the table's own; a save's, with the scenario id.
  const bool tableOwn = HoldsLinesOf(reader.Text(), kLandUnitsHeader);
  row.WarnWhenNoRows(reader.Text(), LandUnitsHeader(tableOwn ? eUnitFileLayout::kScenario : eUnitFileLayout::kSave),
                     L"land unit rows");
  SettleRepeatedIds(read, usedBefore, idsInUse, files::PathFromPattern(folderFormat, L"land_units.csv"), L"land unit",
                    false);
}

void LoadAirUnits(cWorld& world, std::wstring_view folderFormat) {
  const auto file = files::OpenCsvFileOrExit(folderFormat, L"air_units.csv", {L"Wczytywanie jednostek lotniczych..."});
  cCsvReader& reader = *file;

  std::list<cJednostkaLotnicza*>& list = world.Units().airUnits;
  for (cJednostkaLotnicza* unit : list) {
    ReleaseCommanderOf(unit);
    delete unit;
  }
  list.clear();

  std::vector<std::wstring> invalidEntries;
  const std::unordered_set<int> usedBefore = IdsInUse(world, eIdKind::kAirUnit);
  std::unordered_set<int> idsInUse = usedBefore;
  std::vector<sReadUnit<cJednostkaLotnicza>> read;
  const int width = world.GetMap().GetWidth();
  const int height = world.GetMap().GetHeight();
  files::cRowCheck row(files::PathFromPattern(folderFormat, L"air_units.csv"), files::RowLossOf(world.savedGame));
  if (reader.AtEnd()) row.WarnEmptyFile(L"air units");
  cJednostkaLotnicza templ(&world);
  while (!reader.AtEnd()) {
    if (reader.ReadRecord(false) == 0) continue;  // a comment or an empty line
    row.Start(reader.LineCounter(), reader.Fields());
    if (!row.HasFields(kAirColumns)) continue;
    row.WarnExtraFields(ReadColumns(world, kAirColumns));
    const int id = UnitId(row);
    // An invalid row below makes no unit, so its id is not taken yet.
    if (idsInUse.count(id) != 0) {
      LogLine(L"Blad: Numer ID=%i jednostki lotniczej sie powtarza.", id);
      FaultRepeatedId(row, read, id, L"air unit", L"; the unit takes a free id");
    }
    templ.id = id;
    templ.scenarioId = ScenarioId(world, row, kAirColumns, id);
    templ.SetName(reader[1]);
    templ.countryId = row.Int(2, L"country id", 1);
    templ.x = row.Int(3, L"hex x");  // checked by the placement after the file
    templ.y = row.Int(4, L"hex y");
    templ.SetType(row.Int(5, L"air unit type", kUnitFighter, kUnitStrategicBomber));
    templ.level = row.Int(6, L"level", 1, kMaxLevel);
    templ.strength = static_cast<float>(row.IntClamped(7, L"strength", 0, kMaxPercent));
    const int commanderId = row.Int(8, L"commander id");
    templ.attacked = row.Flag(9, L"attacked");
    templ.wasAttacked = row.Flag(10, L"was attacked");
    templ.supplySourceX = Coordinate(row, 11, L"supply source x", width);
    templ.supplySourceY = Coordinate(row, 12, L"supply source y", height);
    templ.actionPoints = row.Int(13, L"action points");
    templ.startingActionPoints = row.Int(14, L"starting action points");
    templ.inReserve = row.Flag(15, L"in reserve");
    templ.supply = row.IntClamped(16, L"supply", 0, kMaxSupplyValue);
    templ.reconDone = row.Flag(17, L"recon done");
    templ.availableInTurns = row.IntClamped(18, L"available in turns", 0, INT_MAX);
    templ.ownCommander = nullptr;
    templ.UpdateEffectiveness();

    const bool offMap = templ.x == -1 && templ.y == -1;
    if (templ.inReserve != offMap) {
      invalidEntries.push_back(
          plat::Format(L"%s;%d;%d;%d", templ.name, templ.x, templ.y, templ.countryId));
      g_ConsoleLog.WriteLine(
          L"Invalid entry in air_units.csv: jednostka moze byc w rezerwie tylko, jesli ma wspolrzedne (-1, -1)");
      row.Skip(L"an air unit is in reserve exactly when its hex is (-1, -1)");
      continue;
    }
    auto* unit = new cJednostkaLotnicza(templ);
    list.push_back(unit);
    idsInUse.insert(unit->id);
    read.push_back({unit, reader.LineCounter()});
    LinkCommander(world, *unit, commanderId, row);
    LogLine(L"Air unit %s (ID=%i CountryID=%i) added", unit->name, unit->id, unit->countryId);
  }
  // A file of either layout cut inside its header was cut.
  if (!row.WarnWhenCutInHeader(reader.Text(), NoAirUnitsText(eUnitFileLayout::kSave), L"air units")) {
    row.WarnWhenCutInHeader(reader.Text(), NoAirUnitsText(eUnitFileLayout::kScenario), L"air units");
  }
  RefuseWithoutReserveLine(world, reader, row);
  SettleRepeatedIds(read, usedBefore, idsInUse, files::PathFromPattern(folderFormat, L"air_units.csv"), L"air unit",
                    false);

  if (!invalidEntries.empty()) {
    g_ConsoleLog.WriteLine(L"Invalid entries from air_units.csv:");
    for (const std::wstring& entry : invalidEntries) g_ConsoleLog.WriteLine(entry);
    plat::ShowMessageBox(L"air_units.csv",
                         L"There where invalid entries in air_units.csv, see ConsoleOut for details. This does not "
                         L"break the game, click OK to continue");
  }
}

void LoadNavalUnits(cWorld& world, std::wstring_view folderFormat) {
  const auto file = files::OpenCsvFileOrExit(folderFormat, L"naval_units.csv", {L"Wczytywanie jednostek morskich..."});
  cCsvReader& reader = *file;

  std::list<cJednostkaMorska*>& list = world.Units().navalUnits;
  for (cJednostkaMorska* ship : list) {
    if (ship->fleet) ship->fleet->RemoveShip(ship);
    ReleaseCommanderOf(ship);
    delete ship;
  }
  list.clear();

  files::cRowCheck row(files::PathFromPattern(folderFormat, L"naval_units.csv"), files::RowLossOf(world.savedGame));
  if (reader.AtEnd()) row.WarnEmptyFile(L"ships");
  std::unordered_set<int> idsInUse;
  std::vector<sReadUnit<cJednostkaMorska>> read;
  cJednostkaMorska templ(&world);
  while (!reader.AtEnd()) {
    if (reader.ReadRecord(false) == 0) continue;  // a comment or an empty line
    row.Start(reader.LineCounter(), reader.Fields());
    if (!row.HasFields(kNavalColumns)) continue;
    row.WarnExtraFields(kNavalColumns);
    templ.id = UnitId(row);
    if (!idsInUse.insert(templ.id).second) {
      FaultRepeatedId(row, read, templ.id, L"ship", L"; one of the ships takes a free id");
    }
    templ.SetName(reader[1]);
    templ.countryId = row.Int(2, L"country id", 1);
    templ.SetType(row.Int(3, L"ship type", kUnitAircraftCarrier, kUnitAmphibiousShip));
    templ.fleetId = row.Int(4, L"fleet id", -1);
    templ.maxHitPoints = row.IntClamped(6, L"maximum hit points", 0, kMaxHitPoints);
    templ.hitPoints = row.IntClamped(5, L"hit points", 0, templ.maxHitPoints);
    const int commanderId = row.Int(7, L"commander id");
    templ.inReserve = row.Flag(8, L"in reserve");
    templ.canBeBombed = row.Flag(9, L"can be bombed");
    templ.airstrikeDone = row.Flag(10, L"airstrike done");
    templ.availableInTurns = row.IntClamped(11, L"available in turns", 0, INT_MAX);
    templ.reconDone = row.Flag(12, L"recon done");
    templ.canBeRepaired = row.Flag(13, L"can be repaired");
    templ.fleet = nullptr;
    templ.ownCommander = nullptr;

    auto* ship = new cJednostkaMorska(templ);
    list.push_back(ship);
    read.push_back({ship, reader.LineCounter()});
    LinkCommander(world, *ship, commanderId, row);
    LogLine(L"Naval unit %s (ID=%i CountryID=%i) added", ship->name, ship->id, ship->countryId);
  }
  row.WarnWhenCutInHeader(reader.Text(), NoShipsText(), L"ships");
  RefuseWithoutReserveLine(world, reader, row);
  SettleRepeatedIds(read, {}, idsInUse, files::PathFromPattern(folderFormat, L"naval_units.csv"), L"ship", true);
}

namespace {

// A land unit aboard a ship has no map position: its ship carries it.
bool Aboard(const cJednostkaLadowa* unit) { return unit->transporterId != -1 || unit->transport != nullptr; }
bool Aboard(const cJednostkaLotnicza*) { return false; }

// Enters every unit of a list that has a position into its hex, but none
// aboard a ship. A unit on a
// hex outside the map or on an occupied hex is logged and left out; after
// the whole list any such unit ends the process.
template <typename List>
void PlaceLoadedUnits(cWorld& world, const List& list, const wchar_t* kindTitle, const wchar_t* kind) {
  cMap& map = world.GetMap();
  bool conflict = false;
  for (auto* unit : list) {
    if (unit->x == -1 || unit->y == -1 || Aboard(unit)) continue;
    if (!map.IsInside(unit->x, unit->y)) {
      LogLine(L"ERROR: %s unit %s (ID=%i) stands on hex (%i, %i) outside the map", kindTitle, unit->name, unit->id,
              unit->x, unit->y);
      conflict = true;
      continue;
    }
    const cJednostka* occupant = map.GetHex(unit->x, unit->y).unit;
    if (occupant == unit) continue;
    if (occupant || !unit->PlaceOnHex(world, unit->x, unit->y)) {
      LogLine(L"ERROR: Trying to place %s unit %s (ID=%i) to hex (%i, %i) occupied by %s (ID=%i)",
              kind, unit->name, unit->id, unit->x, unit->y,
              occupant ? occupant->name : std::wstring(), occupant ? occupant->id : -1);
      conflict = true;
    }
  }
  if (conflict) {
    LogLine(L"ERROR: %s: %s units that cannot be placed (the lines above)",
            files::PathFromPattern(world.folderPattern, std::wstring(kind) + L"_units.csv"), kindTitle);
    FatalExit(1);
  }
}

}  // namespace

void PlaceLoadedLandUnits(cWorld& world) { PlaceLoadedUnits(world, world.Units().landUnits, L"Land", L"land"); }

void PlaceLoadedAirUnits(cWorld& world) { PlaceLoadedUnits(world, world.Units().airUnits, L"Air", L"air"); }

void WriteLandUnits(const cWorld& world, std::wstring_view folder, eUnitFileLayout layout) {
  std::wstring text = plat::WidenAnsi(LandUnitsHeader(layout));
  const sUnitLists& units = world.Units();
  for (const auto* list : {&units.landUnits, &units.carriedUnitsA, &units.carriedUnitsB}) {
    for (cJednostkaLadowa* unit : *list) text += LandRow(unit, layout);
  }
  for (cJednostka* unit : units.reservePool) {
    if (auto* land = dynamic_cast<cJednostkaLadowa*>(unit)) text += LandRow(land, layout);
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"land_units.csv"), plat::NarrowAnsi(text));
}

void WriteAirUnits(const cWorld& world, std::wstring_view folder, eUnitFileLayout layout) {
  std::wstring text = plat::WidenAnsi(AirUnitsHeader(layout));
  text += plat::WidenAnsi(kAirOnMapLine);
  const sUnitLists& units = world.Units();
  for (const cJednostkaLotnicza* unit : units.airUnits) text += AirRow(unit, layout);
  text += plat::WidenAnsi(kAirInReserveLine);
  for (const cJednostka* unit : units.reservePool) {
    if (const auto* air = dynamic_cast<const cJednostkaLotnicza*>(unit)) text += AirRow(air, layout);
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"air_units.csv"), plat::NarrowAnsi(text));
}

void WriteNavalUnits(const cWorld& world, std::wstring_view folder) {
  std::wstring text = plat::WidenAnsi(kNavalUnitsHeader);
  const sUnitLists& units = world.Units();
  for (const cJednostkaMorska* ship : units.navalUnits) text += NavalRow(ship, ship->fleet ? ship->fleet->id : -1);
  text += plat::WidenAnsi(kNavalInReserveLine);
  // A reserve ship belongs to no fleet; its commander stays with it.
  for (const cJednostkaMorska* ship : units.navalReservePool) text += NavalRow(ship, -1);
  files::WriteTextDataFile(files::JoinPath(folder, L"naval_units.csv"), plat::NarrowAnsi(text));
}
