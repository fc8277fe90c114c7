#include "files/countries_file.h"

#include <cfloat>
#include <climits>
#include <cstdint>
#include <vector>

#include "app/console_log.h"
#include "app/csv_reader.h"
#include "app/data_rows.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/text.h"
#include "world/country.h"
#include "world/world.h"
#include "platform/lines.h"

namespace {

constexpr int kFieldsWithoutSkin = 69;

constexpr const wchar_t* kHeaderLine1 =
    L"#Important! Ids must follow sequence (1,2,3...etc);;;;;;;;;;;;;;Tech levels;;;;;;;Points;;;;;Points "
    L"max/used;;;Tech investments;;;;;;Tech research progress;;;;;;Capital coordinates on diplomacy bmp "
    L"image;;DoneDelayWarEntry;DoneHasteWarEntry;DoneParliamentaryElections;DoneTurnInOrientation;;;Data for "
    L"settings screen only;Data for settings screen only;;Nuclear;;Months to reach new level of land warfare "
    L"doctrine "
    L"(cumulated);;;;;DoneExertPressureAxis;DoneExertPressureAllied;DoneExertPressureComintern;;;Weather "
    L"modifiers;;;;";

constexpr const wchar_t* kHeaderLine2 =
    L"#ID;IsActive?;Name;Color1;Color2;Color3;Color4;Alliance;Orientation;Zone of Influence;Alliance "
    L"entry;Polit. Str.;Finished turn?;Human controlled?;Artillery;Tanks;Land warfer doctrine "
    L"(0-5);Aircraft;Subs;Navy;Nukes;PPs;DPs;SMPs;STPs;AIPs;SMP;STP used by "
    L"convoys;AIP;Artillery;Tanks;Aircraft;Subs;Navy;Nukes;Artillery;Tanks;Aircraft;Subs;Navy;Nukes;X;Y;0/1;0/"
    L"1;0/1;0/1;Social unrest;WarEconomy(%);Power (1-major, 2-minor, 3-other);Region (1-africa, 2-asia, "
    L"3-europe, 4-n. America, 5-s.america);Difficulty level (0-v.hard, 1-hard, 2-normal, 3-easy, "
    L"4-v.easy);Nuclear bombs;DP growth per month;Lev 1;Lev 2;Lev 3;Lev 4;Lev 5;0/1;0/1;0/1;PBEM Player "
    L"ID;Unit upkeep cost modifier;Winter battle;Winter move;Mud battle;Mud move;Country type special "
    L"flags;Skins name [optional]";

// The six researched technologies in file order (the doctrine has none).
constexpr int kResearched[6] = {kTechArtillery, kTechTanks, kTechAircraft, kTechSubmarines, kTechNavy, kTechNuclear};

// Fills a country from the fields of one row (at least 69). Every number
// field must hold a number; the levels, shares and codes that index the
// rules' tables must lie in their ranges (fatal data errors), others are
// clamped with a WARNING.
void FillCountry(cCountry& country, const std::vector<std::wstring>& f, const files::cRowCheck& row) {
  auto col = [&](int c) -> const std::wstring& { return f[static_cast<std::size_t>(c - 1)]; };
  auto i = [&](int c) { return row.Int(static_cast<std::size_t>(c - 1), L"value"); };
  auto b = [&](int c) { return row.Flag(static_cast<std::size_t>(c - 1), L"flag"); };
  auto fl = [&](int c) { return files::ToFloat(row.Number(static_cast<std::size_t>(c - 1), L"value", -FLT_MAX, FLT_MAX)); };
  country.id = row.Int(0, L"country id", 1);
  country.active = b(2);
  country.SetNameWithDefaultSkin(col(3));
  // Colours are hexadecimal (at most eight digits, "0x" allowed).
  for (int k = 0; k < 4; ++k) {
    const std::wstring text = files::Trim(col(4 + k));
    const std::size_t digits = text.rfind(L"0x", 0) == 0 || text.rfind(L"0X", 0) == 0 ? 2 : 0;
    if (text.size() == digits || text.size() - digits > 8 ||
        text.find_first_not_of(L"0123456789abcdefABCDEF", digits) != std::wstring::npos) {
      row.RefuseValue(static_cast<std::size_t>(3 + k), L"colour", L"is not a hexadecimal number of up to 8 digits");
    }
    country.colour[static_cast<std::size_t>(k)] = files::ParseHex(text);
  }
  // The diplomacy rules index their tables by these codes: a code outside
  // the known ones is refused here rather than met in the middle of a game.
  country.alliance = row.Int(7, L"alliance code", kNeutral, kCominternLeader);
  country.orientation = row.Int(8, L"orientation", 0, 5);
  country.zoneOfInfluence = row.Int(9, L"zone of influence", 0, 3);
  // Shares: brought into range (political strength -1 marks a dummy).
  country.allianceEntry = row.IntClamped(10, L"alliance entry", 0, 100);
  country.politicalStrength = row.IntClamped(11, L"political strength", -1, 100);
  country.finishedTurn = b(13);
  country.human = b(14);
  // The doctrine level (column 17) indexes tables of levels 0 to 5.
  for (int t = 0; t < kTechCount; ++t) {
    const std::size_t column = static_cast<std::size_t>(14 + t);
    country.techLevel[static_cast<std::size_t>(t)] =
        column == 16 ? row.IntClamped(column, L"doctrine level", 0, 5) : row.IntClamped(column, L"tech level", 0, INT_MAX);
  }
  country.productionPoints = row.Number(21, L"production points", -FLT_MAX, FLT_MAX);
  country.diplomaticPoints = i(23);
  country.strategicMovementPoints = i(24);
  country.seaTransportPoints = i(25);
  country.amphibiousInvasionPoints = i(26);
  country.strategicMovementPointsMax = i(27);
  country.seaTransportPointsInConvoys = i(28);
  country.amphibiousInvasionPointsTotal = i(29);
  for (int k = 0; k < 6; ++k) {
    country.techInvestment[static_cast<std::size_t>(kResearched[k])] = i(30 + k);
    country.techProgress[static_cast<std::size_t>(kResearched[k])] = i(36 + k);
  }
  country.capitalX = i(42);
  country.capitalY = i(43);
  country.doneDelayWarEntry = b(44);
  country.doneHasteWarEntry = b(45);
  country.doneParliamentaryElections = b(46);
  country.doneTurnInOrientation = b(47);
  country.socialUnrest = files::ToFloat(row.NumberClamped(47, L"social unrest per cent", 0.0, 100.0));
  country.warEconomy = files::ToFloat(row.NumberClamped(48, L"war economy per cent", 0.0, 100.0));
  // Codes of the settings screen; 0 is "none" for power and region.
  country.power = row.IntClamped(49, L"power", 0, 3);
  country.region = row.IntClamped(50, L"region", 0, 5);
  country.difficulty = row.IntClamped(51, L"difficulty level", 0, 4);
  country.nuclearBombs = i(53);
  country.diplomaticPointsPerMonth = i(54);
  for (int k = 0; k < 5; ++k) country.doctrineMonths[static_cast<std::size_t>(k)] = i(55 + k);
  country.doneExertPressureAxis = b(60);
  country.doneExertPressureAllied = b(61);
  country.doneExertPressureComintern = b(62);
  country.pbemPlayerId = i(63);
  country.unitUpkeepModifier = fl(64);
  country.winterBattle = fl(65);
  country.winterMove = fl(66);
  country.mudBattle = fl(67);
  country.mudMove = fl(68);
  country.specialFlags = i(69);
  if (f.size() > static_cast<std::size_t>(kFieldsWithoutSkin)) country.SetSkinName(col(70));
  // The doctrine advances by the months of columns 55-59, not by research.
  country.techInvestment[kTechDoctrine] = -1;
  country.techProgress[kTechDoctrine] = -1;
}

std::wstring FormatCountryRow(const cCountry& c) {
  auto n = [](bool v) { return v ? 1 : 0; };
  std::wstring row = plat::Format(L"\n%i;%i;%s;%X;%X;%X;%X;%i;%i;%i;%i;%i;%i;%i;", c.id, n(c.active),
                                  files::CleanFieldText(c.name), c.colour[0], c.colour[1], c.colour[2], c.colour[3],
                                  c.alliance, c.orientation, c.zoneOfInfluence, c.allianceEntry, c.politicalStrength,
                                  n(c.finishedTurn), n(c.human));
  for (int t = 0; t < kTechCount; ++t) row += plat::Format(L"%i;", c.techLevel[static_cast<std::size_t>(t)]);
  row += plat::Format(L"%f;%i;%i;%i;%i;%i;%i;%i;", c.productionPoints, c.diplomaticPoints,
                      c.strategicMovementPoints, c.seaTransportPoints, c.amphibiousInvasionPoints,
                      c.strategicMovementPointsMax, c.seaTransportPointsInConvoys, c.amphibiousInvasionPointsTotal);
  for (int k = 0; k < 6; ++k) row += plat::Format(L"%i;", c.techInvestment[static_cast<std::size_t>(kResearched[k])]);
  for (int k = 0; k < 6; ++k) row += plat::Format(L"%i;", c.techProgress[static_cast<std::size_t>(kResearched[k])]);
  row += plat::Format(L"%i;%i;%i;%i;%i;%i;%f;%f;%i;%i;%i;%i;%i;", c.capitalX, c.capitalY, n(c.doneDelayWarEntry),
                      n(c.doneHasteWarEntry), n(c.doneParliamentaryElections), n(c.doneTurnInOrientation),
                      static_cast<double>(c.socialUnrest), static_cast<double>(c.warEconomy), c.power, c.region,
                      c.difficulty, c.nuclearBombs, c.diplomaticPointsPerMonth);
  for (int k = 0; k < 5; ++k) row += plat::Format(L"%i;", c.doctrineMonths[static_cast<std::size_t>(k)]);
  row += plat::Format(L"%i;%i;%i;%i;%f;%f;%f;%f;%f;%i;", n(c.doneExertPressureAxis), n(c.doneExertPressureAllied),
                      n(c.doneExertPressureComintern), c.pbemPlayerId, static_cast<double>(c.unitUpkeepModifier),
                      static_cast<double>(c.winterBattle), static_cast<double>(c.winterMove),
                      static_cast<double>(c.mudBattle), static_cast<double>(c.mudMove), c.specialFlags);
  // An empty skin name is left out: the reader then takes the country's name.
  if (!c.skinName.empty()) row += files::CleanFieldText(c.skinName);
  row += L';';
  return row;
}

}  // namespace

void LoadCountries(cWorld& world, std::wstring_view folderPattern) {
  const std::wstring path = files::PathFromPattern(folderPattern, L"countries.csv");
  const auto file = files::OpenCsvFileOrExit(path, {L"Wczytywanie panstw z pliku:"});
  cCsvReader& reader = *file;

  world.Countries().clear();
  files::cRowCheck row(path);
  // The line of each country read, by id.
  std::vector<std::uint32_t> lines;
  while (!reader.AtEnd()) {
    reader.ReadRecord(false);
    const std::size_t n = reader.FieldCount();
    if (n == 0) continue;  // comments and lines without fields
    if (n < static_cast<std::size_t>(kFieldsWithoutSkin)) {
      // A short row would leave its country out and every later id off its
      // index, so the file is refused.
      FatalExit(plat::Format(L"WARNING: wrong tokens (columns/values) amount (%i) in %s at line %i (counting from 1)",
                                  static_cast<int>(n), path, static_cast<int>(reader.LineCounter())));
    }
    auto country = std::make_unique<cCountry>();
    row.Start(reader.LineCounter(), reader.Fields());
    FillCountry(*country, reader.Fields(), row);
    const int expected = world.GetCountryCount() + 1;
    if (country->id >= 1 && country->id < expected) {
      row.RefuseRepeated(plat::Format(L"country id %i", country->id), lines[static_cast<std::size_t>(country->id - 1)]);
    }
    if (country->id != expected) {
      FatalExit(plat::Format(L"ERROR: country ID %i in %s at line %i (counting from 1) breaks the sequence of ids (expected %i)",
                                  country->id, path, static_cast<int>(reader.LineCounter()), expected));
    }
    country->LoadFlagTexture(world.scenarioName);
    LogLine(L"Added country %s (ID: %i, AllianceID: %i)", country->name, country->id, country->alliance);
    world.AddCountry(std::move(country));
    lines.push_back(row.Line());
  }
  reader.Close();
  // Without a country nobody can play, and every file after this one names
  // countries.
  if (world.GetCountryCount() == 0) {
    FatalExit(plat::Format(L"ERROR: %s: no country rows: the file is empty or holds only its header and comments",
                           path));
  }
}

std::string FormatCountriesText(const std::vector<std::unique_ptr<cCountry>>& countries) {
  std::wstring text = kHeaderLine1;
  text += L'\n';
  text += kHeaderLine2;
  for (const auto& country : countries) text += FormatCountryRow(*country);
  return plat::ToCrLf(plat::NarrowAnsi(text));
}

void WriteCountries(const cWorld& world, std::wstring_view folder) {
  files::WriteDataFile(plat::Format(L"%s\\countries.csv", std::wstring(folder)), FormatCountriesText(world.Countries()));
}
