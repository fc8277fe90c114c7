#include "files/fleet_files.h"

#include <climits>
#include <memory>
#include <string>
#include <unordered_set>

#include "app/console_log.h"
#include "app/csv_reader.h"
#include "app/fatal_exit.h"
#include "app/data_rows.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/text.h"
#include "world/commander.h"
#include "world/convoy.h"
#include "world/id_counters.h"
#include "world/fleet.h"
#include "world/jednostka_ladowa.h"
#include "world/jednostka_lotnicza.h"
#include "world/jednostka_morska.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"

namespace {

// Names are held in fields of 100 characters with the terminator.
constexpr std::size_t kNameMaxLength = 99;

std::wstring CutName(const std::wstring& name) { return name.substr(0, kNameMaxLength); }

// The head of "convoys.csv" as its writer puts it: a file of no convoy
// holds it alone.
constexpr char kConvoysHeader[] =
    "#Convoys\n"
    "#ID;Owner ID;Type [0=supplies 1=PP];Value (PP amount);Departure port ID;Destination port ID;";

// Every unit of the world, for the passes that drop links.
template <typename Fn>
void ForEachUnit(cWorld& world, Fn fn) {
  sUnitLists& units = world.Units();
  for (auto* list : {&units.landUnits, &units.carriedUnitsA, &units.carriedUnitsB}) {
    for (cUnit* unit : *list) fn(*unit);
  }
  for (cUnit* unit : units.airUnits) fn(*unit);
  for (cUnit* unit : units.navalUnits) fn(*unit);
  for (cUnit* unit : units.reservePool) fn(*unit);
  for (cUnit* unit : units.navalReservePool) fn(*unit);
}

// A convoy's sea node read from "convoys.csv" that is no node, or has no
// port city on its main hex, leaves the convoy without a port: the load
// cannot go on. The line of the convoy comes first, then the file's line.
void ConvoyNodeOrExit(const cWorld& world, const files::cRowCheck& row, int convoyId, int nodeId, const wchar_t* end) {
  if (nodeId >= 1 && nodeId <= world.GetSeaGraph().GetNodeCount()) return;
  LogLine(L"ERROR: Convoy with ID=%i has %s sea node with ID=%i, there's no such sea node!", convoyId, end, nodeId);
  row.Refuse(plat::Format(L"%s sea node %i does not exist", end, nodeId));
}

cCity* ConvoyPortOrExit(cWorld& world, const files::cRowCheck& row, int convoyId, int nodeId, const wchar_t* end) {
  cCity* city = ConvoyPortCityOfNode(world, nodeId);
  if (city) return city;
  LogLine(L"ERROR: Convoy with ID=%i has %s sea node with ID=%i, there's no port city for this sea node!", convoyId,
          end, nodeId);
  row.Refuse(plat::Format(L"%s sea node %i has no port city", end, nodeId));
}

// The sea node id of the hex a city stands on (0 when none).
int PortIdOf(const cWorld& world, const cCity* city) {
  if (!city || !world.GetMap().IsInside(city->x, city->y)) return 0;
  return world.GetMap().GetHex(city->x, city->y).seaNode;
}

// The copy of "unit_names.csv" every save writes, made from the scenario's
// bytes: the same rows, which read back to the same patterns, and a last
// line without a line end gains one (the file's own kind), so that a save's
// copy whose last line has none was cut.
void KeepUnitNamesForSaves(std::string& bytes) {
  if (bytes.empty() || bytes.back() == '\n' || bytes.back() == '\r') return;
  const std::size_t end = bytes.find_first_of("\r\n");
  if (end == std::string::npos || bytes.compare(end, 2, "\r\n") == 0) {
    bytes += "\r\n";
  } else {
    bytes += bytes[end];
  }
}

}  // namespace

void LoadFleets(cWorld& world, std::wstring_view folderFormat) {
  const auto file = files::OpenCsvFileOrExit(folderFormat, L"fleets.csv", {L"Wczytywanie flot..."});
  cCsvReader& reader = *file;

  std::list<cFleet*>& fleets = world.Units().fleets;
  // No ship may keep a fleet freed here.
  for (cJednostkaMorska* ship : world.Units().navalUnits) ship->fleet = nullptr;
  for (cJednostkaMorska* ship : world.Units().navalReservePool) ship->fleet = nullptr;
  for (cFleet* fleet : fleets) delete fleet;
  fleets.clear();

  files::cRowCheck row(files::PathFromPattern(folderFormat, L"fleets.csv"), files::RowLossOf(world.savedGame));
  files::cKeyLines<int> idLines;
  cFleet templ;
  while (!reader.AtEnd()) {
    if (reader.ReadRecord(false) == 0) continue;  // a comment or an empty line
    row.Start(reader.LineCounter(), reader.Fields());
    if (!row.HasFields(11)) continue;
    row.WarnExtraFields(11);
    templ.id = row.Int(0, L"fleet id", 1);
    // Ships name their fleet by id: two fleets of one id cannot both be meant.
    if (const std::uint32_t first = idLines.Earlier(templ.id, row.Line())) {
      row.RefuseRepeated(plat::Format(L"fleet id %i", templ.id), first);
    }
    templ.name = CutName(reader[1]);
    templ.country = row.Int(2, L"country id", 1);
    // The sea graph is read later; the node is checked against it then.
    templ.seaNode = row.Int(3, L"sea node id", 1);
    templ.formation = row.Int(4, L"formation", 0, 1);
    templ.moved = row.Flag(5, L"has moved");
    templ.aiOrder = row.Int(6, L"AI order");
    templ.aiDestinationNode = row.Int(7, L"AI destination sea node", -1);
    templ.aiInvasionX = row.Int(8, L"AI invasion x", -1, world.GetMap().GetWidth() - 1);
    templ.aiInvasionY = row.Int(9, L"AI invasion y", -1, world.GetMap().GetHeight() - 1);
    templ.active = row.Flag(10, L"is active");
    fleets.push_back(new cFleet(templ));
    LogLine(L"Added fleet %s (ID=%i CountryID=%i Location=%i)", templ.name, templ.id, templ.country, templ.seaNode);
  }
}

void LoadCommanders(cWorld& world, std::wstring_view folderFormat) {
  const auto file = files::OpenCsvFileOrExit(folderFormat, L"commanders.csv", {L"Wczytywanie dowodcow..."});
  cCsvReader& reader = *file;

  std::vector<cCommander*>& commanders = world.Units().commanders;
  // No unit may keep a commander freed here.
  ForEachUnit(world, [](cUnit& unit) { unit.ownCommander = nullptr; });
  for (cCommander* commander : commanders) delete commander;
  commanders.clear();

  files::cRowCheck row(files::PathFromPattern(folderFormat, L"commanders.csv"), files::RowLossOf(world.savedGame));
  files::cKeyLines<int> idLines;
  while (!reader.AtEnd()) {
    if (reader.ReadRecord(false) == 0) continue;  // a comment or an empty line
    row.Start(reader.LineCounter(), reader.Fields());
    if (!row.HasFields(7)) continue;
    row.WarnExtraFields(7);
    const int id = row.Int(0, L"commander id", 1);
    // Units name their commander by id.
    if (const std::uint32_t first = idLines.Earlier(id, row.Line())) {
      row.RefuseRepeated(plat::Format(L"commander id %i", id), first);
    }
    const int countryId = row.Int(2, L"country id", 1);
    const int type = row.Int(3, L"commander type", 0, 2);
    const int skill = row.IntClamped(4, L"skill", 0, 100);
    const int experience = row.IntClamped(5, L"experience", 0, INT_MAX);
    const int state = row.Int(6, L"commander state", 0, 2);
    auto* commander = new cCommander();
    commander->id = id;
    commander->name = CutName(reader[1]);
    commander->countryId = countryId;
    commander->type = type;
    commander->skill = skill;
    commander->experience = experience;
    commander->state = state;
    commanders.push_back(commander);
    LogLine(L"Added commander %s (ID=%i CountryID=%i)", commander->name, commander->id, commander->countryId);
  }
}

void LoadUnitNameTemplates(cWorld& world, std::wstring_view folderFormat, std::string& keptBytes) {
  const std::wstring path = files::PathFromPattern(folderFormat, L"unit_names.csv");
  const auto file = files::OpenCsvFileOrExit(folderFormat, L"unit_names.csv", {L"Wczytywanie nazw jednostek..."});
  cCsvReader& reader = *file;

  const int countryCount = world.GetCountryCount();
  // The file is the scenario's, kept by every save: its faults are the
  // scenario's, warned about in a saved game too. What the kept copy cannot
  // hold (a last line without its line end) is damage in a saved game's
  // copy.
  files::cRowCheck row(path);
  // The reader holds the file's bytes whole.
  keptBytes.assign(reader.Text());
  // Saves of earlier versions kept the scenario's file byte for byte, with
  // what the copy can no longer hold: a copy the same as the scenario's
  // file is such a save's own writing.
  std::string scenarioBytes;
  const bool earlierCopy =
      world.savedGame &&
      files::ReadBytes(plat::Format(L"data\\scenarios\\%s\\unit_names.csv", world.scenarioName), scenarioBytes) &&
      scenarioBytes == keptBytes;
  files::cRowCheck saved(path, files::RowLossOf(world.savedGame && !earlierCopy));
  // The line of the row each slot was first given by.
  files::cKeyLines<int> slotLines;
  bool headerFound = false;
  std::vector<std::wstring> header;
  while (!reader.AtEnd()) {
    const std::size_t count = reader.ReadRecord(true) == 0 ? 0 : reader.FieldCount();
    if (count == 0) continue;                       // a comment
    if (count == 1 && reader[0].empty()) continue;  // an empty line
    row.Start(reader.LineCounter(), reader.Fields());
    if (!headerFound) {
      if (!reader[0].empty()) {
        row.Skip(L"a row before the header row (the row whose first field is empty)");
        continue;
      }
      header = reader.Fields();
      headerFound = true;
      continue;
    }
    int number = 0;
    if (!files::ParseWholeInt(reader[0], number) || number < 1 || number > kUnitTypeNameSlots) {
      LogLine(L"unit_names.csv: line %i: slot number %i out of range", static_cast<int>(reader.LineCounter()),
              number);
      row.Skip(plat::Format(L"slot number \"%s\" is not one of 1 to %i", reader[0], kUnitTypeNameSlots));
      continue;
    }
    // A later row of a slot names the units of its own columns' countries
    // anew; the other countries keep the names an earlier row gave them.
    if (const std::uint32_t first = slotLines.Earlier(number, row.Line())) {
      LogLine(L"%s line %u: unit name slot %i again (first on line %u): its names replace the earlier ones for the "
              L"countries of its columns",
              path, row.Line(), number, first);
    }
    const std::wstring defaultPattern = count > 1 ? reader[1] : std::wstring();
    for (std::size_t column = 2; column < count; ++column) {
      int countryId = static_cast<int>(column) - 1;
      if (column < header.size() && !header[column].empty() && !files::ParseWholeInt(header[column], countryId)) {
        countryId = 0;
      }
      cCountry* country = countryId <= countryCount ? world.GetCountry(countryId) : nullptr;
      if (!country) {
        LogLine(L"unit_names.csv: wrong country id %i in column %i", countryId, static_cast<int>(column));
        row.Warn(plat::Format(L"column %i: no country %i for this name; the name is ignored",
                              static_cast<int>(column) + 1, countryId));
        continue;
      }
      country->SetUnitTypeName(number - 1, reader[column].empty() ? defaultPattern : reader[column]);
    }
  }

  // The header row alone names no unit type.
  if (row.Rows() <= (headerFound ? 1u : 0u)) {
    LogLine(L"WARNING: %s: no unit type name rows: the file is empty or holds only its header and comments; the units "
            L"are named by their numbers only",
            path);
  }
  saved.RefuseWhenLastLineOpen(keptBytes, reader.LineCounter());
  KeepUnitNamesForSaves(keptBytes);
}

void LoadFlags(std::wstring_view folderFormat, std::vector<int>& flags, files::eRowLoss loss) {
  const std::string bytes = files::ReadDataFileOrExit(files::PathFromPattern(folderFormat, L"flags.txt"),
                                                      {L"Wczytywanie flag...", L"Blad otwarcia pliku (nie istnieje?)"});

  flags.assign(kEventFlagCount, 0);
  files::cRowCheck row(files::PathFromPattern(folderFormat, L"flags.txt"), loss);
  if (bytes.empty()) row.WarnEmptyFile(L"event flags set");
  files::cKeyLines<int> flagLines;
  std::size_t start = 0;
  int lineNumber = 0;
  while (start < bytes.size()) {
    // A line ends at CR LF, LF or CR.
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    std::string_view line(bytes.data() + start, end - start);
    start = end + (bytes.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    ++lineNumber;
    if (line.empty() || line.front() == '#') continue;
    const std::vector<std::wstring> fields = files::Split(plat::WidenAnsi(std::string(line)), false);
    row.Start(static_cast<std::uint32_t>(lineNumber), fields);
    if (!row.HasFields(2)) continue;
    row.WarnExtraFields(2);
    const int number = row.Int(0, L"flag number");
    const int value = row.Int(1, L"flag value");
    if (number < 0 || number >= kEventFlagCount) {
      LogLine(L"flags.txt: line %i: flag number %i out of range", lineNumber, number);
      row.Skip(plat::Format(L"flag number %i is not one of 0 to %i", number, kEventFlagCount - 1));
      continue;
    }
    // The game writes each flag once; a scenario's later line sets it as
    // the game always read it.
    if (const std::uint32_t first = flagLines.Earlier(number, row.Line())) {
      row.Repeated(plat::Format(L"flag %i", number), first, L"; the later value is kept");
    }
    flags[static_cast<std::size_t>(number)] = value;
  }
  row.RefuseWhenLastLineOpen(bytes, static_cast<std::uint32_t>(lineNumber));
}

void LoadConvoys(cWorld& world, std::wstring_view folderFormat) {
  const auto file = files::OpenCsvFileOrExit(folderFormat, L"convoys.csv", {L"Otwieram plik z miastami ze sciezka..."});
  cCsvReader& reader = *file;
  cConvoyStore& store = world.Units().convoys;
  if (store.GetCountryCount() != world.GetCountryCount()) store.Resize(world.GetCountryCount());

  files::cRowCheck row(files::PathFromPattern(folderFormat, L"convoys.csv"), files::RowLossOf(world.savedGame));
  if (reader.AtEnd()) row.WarnEmptyFile(L"convoys");
  files::cKeyLines<int> idLines;
  // A scenario's convoy whose id an earlier row gave: its owner, its place
  // in the owner's list and its line.
  struct sRepeated {
    int owner;
    std::size_t index;
    std::uint32_t line;
  };
  std::vector<sRepeated> repeated;
  while (!reader.AtEnd()) {
    if (reader.ReadRecord(false) == 0) continue;  // a comment or an empty line
    row.Start(reader.LineCounter(), reader.Fields());
    if (!row.HasFields(6)) continue;
    row.WarnExtraFields(6);
    const int line = static_cast<int>(reader.LineCounter());
    cConvoy convoy;
    convoy.id = row.Int(0, L"convoy id", 1);
    convoy.owner = row.Int(1, L"country id");  // an unknown one is skipped below
    convoy.type = row.Int(2, L"convoy type", 0, 1);
    convoy.value = row.IntClamped(3, L"value", 0, INT_MAX);
    const int departurePort = row.Int(4, L"departure port id");
    const int destinationPort = row.Int(5, L"destination port id");
    ConvoyNodeOrExit(world, row, convoy.id, departurePort, L"departure");
    ConvoyNodeOrExit(world, row, convoy.id, destinationPort, L"destination");
    convoy.departure = ConvoyPortOrExit(world, row, convoy.id, departurePort, L"departure");
    convoy.destination = ConvoyPortOrExit(world, row, convoy.id, destinationPort, L"destination");
    if (const sWezelGrafuMorz* node = world.GetSeaGraph().GetNode(departurePort)) {
      convoy.departurePortSize = node->size;
    }
    if (!store.Add(convoy)) {
      LogLine(L"convoys.csv: line %i: wrong country id %i; convoy skipped", line, convoy.owner);
      row.Skip(plat::Format(L"wrong country id %i", convoy.owner));
      continue;
    }
    LogLine(L"Added convoy ID=%i CountryID=%i", convoy.id, convoy.owner);
    // The convoys dialog finds a convoy by its id, and the game gives each
    // its own.
    if (const std::uint32_t first = idLines.Earlier(convoy.id, row.Line())) {
      row.Repeated(plat::Format(L"convoy id %i", convoy.id), first, L"; the later convoy takes a free id");
      repeated.push_back({convoy.owner, store.ConvoysOf(convoy.owner)->size() - 1, row.Line()});
    }
  }
  row.WarnWhenCutInHeader(reader.Text(), kConvoysHeader, L"convoys");
  // Free ids come after the greatest in use (the lowest free one once that
  // is the greatest int), so that the id counter made from them gives new
  // convoys ids of their own too.
  std::unordered_set<int> used = IdsInUse(world, eIdKind::kConvoy);
  for (const sRepeated& r : repeated) {
    cConvoy& convoy = (*store.ConvoysOf(r.owner))[r.index];
    convoy.id = NewIdBeside(used);
    used.insert(convoy.id);
    LogLine(L"Convoy of line %u takes the free ID=%i", r.line, convoy.id);
  }
}

void WriteFleets(const cWorld& world, std::wstring_view folder) {
  std::wstring text =
      L"#Fleets\n"
      L"#ID;Name;Country ID;Sea node ID;Formation [0=regular 1=raiders];Has Moved? [0=false 1=true];Order (AI);"
      L"Destination sea node ID (AI);Invasion hex X(AI);Invasion hex Y (AI);Is active? [0=false 1=true]";
  for (const cFleet* fleet : world.Units().fleets) {
    text += plat::Format(L"\n%i;%s;%i;%i;%i;%i;%i;%i;%i;%i;%i;", fleet->id, files::CleanFieldText(fleet->name),
                         fleet->country, fleet->seaNode, fleet->formation, fleet->moved ? 1 : 0, fleet->aiOrder,
                         fleet->aiDestinationNode, fleet->aiInvasionX, fleet->aiInvasionY, fleet->active ? 1 : 0);
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"fleets.csv"), plat::NarrowAnsi(text));
}

void WriteCommanders(const cWorld& world, std::wstring_view folder) {
  std::wstring text =
      L"#Commanders\n"
      L"#ID;Name;Country ID;Type [0=land 1=air 2=naval];Skill;Experience;State [0=not assigned 1=on his way to HQ "
      L"2=assigned]";
  for (const cCommander* commander : world.Units().commanders) {
    text += plat::Format(L"\n%i;%s;%i;%i;%i;%i;%i;", commander->id, files::CleanFieldText(commander->name),
                         commander->countryId, commander->type, commander->skill, commander->experience,
                         commander->state);
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"commanders.csv"), plat::NarrowAnsi(text));
}

void WriteUnitNames(std::wstring_view folder, std::string_view keptBytes) {
  files::WriteDataFile(files::JoinPath(folder, L"unit_names.csv"), keptBytes);
}

void WriteFlags(std::wstring_view folder, const std::vector<int>& flags) {
  std::string text = "# flag no;flag value\r\n";
  for (std::size_t number = 0; number < flags.size() && number < static_cast<std::size_t>(kEventFlagCount);
       ++number) {
    if (flags[number] != 0) text += plat::FormatNarrow("%i;%i;\r\n", static_cast<int>(number), flags[number]);
  }
  if (!files::WriteBytes(files::JoinPath(folder, L"flags.txt"), text)) {
    FatalExit(L"Blad otwarcia pliku (nie istnieje?)");
  }
  g_ConsoleLog.WriteLine(L"Otwarcie OK");
}

void WriteConvoys(cWorld& world, std::wstring_view folder) {
  std::wstring text = plat::WidenAnsi(kConvoysHeader);
  cConvoyStore& store = world.Units().convoys;
  for (int countryId = 1; countryId <= store.GetCountryCount(); ++countryId) {
    for (const cConvoy& convoy : *store.ConvoysOf(countryId)) {
      text += plat::Format(L"\n%i;%i;%i;%i;%i;%i;", convoy.id, convoy.owner, convoy.type, convoy.value,
                           PortIdOf(world, convoy.departure), PortIdOf(world, convoy.destination));
    }
  }
  files::WriteTextDataFile(files::JoinPath(folder, L"convoys.csv"), plat::NarrowAnsi(text));
}
