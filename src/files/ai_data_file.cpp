#include "files/ai_data_file.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "app/console_log.h"
#include "app/string_base.h"
#include "app/data_rows.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"

namespace {

enum class eKey {
  kNone,
  kMakesSeaInvasions,
  kMaxNumberOfFrontsForSeaInvasion,
  kCurrentSeaInvasionTarget,
  kObligatorySeaInvasionTargets,
  kCurrentTargets,
  kDoNotAttackCities,
  kExtraCitiesToGarrison,
  kSeaZonesToPatrol,
  kPurchaseQueue,
  kFortLevelToHoldAtAllCost,
  kDesiredLandForcesStructure,
  kDesiredTechLevels,
  kDesiredStrategicMovementPoints,
  kNewUnitPurchasePreferences,
  kNewUnitPurchaseData,
  kMultipleSideAttackPreferences,
  kOneSideAttackPreferences,
  kAllianceEntryPolicy,
  kCountriesToPress,
  kTransportsUnitsToFrontsBySea,
  kMinRatioToPatchFront,
  kMaxUnitCountOnFront,
  kMaxCoveringUnitDistance,
  kMaxSafeMoveCost,
  kShoreBombardmentSingleUse,
  kCarrierTargetsPriorities,
  kCountry,
};

struct sKeyName {
  const char* name;
  eKey key;
};

constexpr sKeyName kKeys[] = {
    {"MakesSeaInvasions", eKey::kMakesSeaInvasions},
    {"MaxNumberOfFrontsForSeaInvasion", eKey::kMaxNumberOfFrontsForSeaInvasion},
    {"CurrentSeaInvasionTarget", eKey::kCurrentSeaInvasionTarget},
    {"ObligatorySeaInvasionTargets", eKey::kObligatorySeaInvasionTargets},
    {"CurrentTargets", eKey::kCurrentTargets},
    {"DoNotAttackCities", eKey::kDoNotAttackCities},
    {"ExtraCitiesToGarrison", eKey::kExtraCitiesToGarrison},
    {"SeaZonesToPatrol", eKey::kSeaZonesToPatrol},
    {"PurchaseQueue", eKey::kPurchaseQueue},
    {"FortLevelToHoldAtAllCost", eKey::kFortLevelToHoldAtAllCost},
    {"DesiredLandForcesStructure", eKey::kDesiredLandForcesStructure},
    {"DesiredTechLevels", eKey::kDesiredTechLevels},
    {"DesiredStrategicMovementPoints", eKey::kDesiredStrategicMovementPoints},
    {"NewUnitPurchasePreferences", eKey::kNewUnitPurchasePreferences},
    {"NewUnitPurchaseData", eKey::kNewUnitPurchaseData},
    {"MultipleSideAttackPreferences", eKey::kMultipleSideAttackPreferences},
    {"OneSideAttackPreferences", eKey::kOneSideAttackPreferences},
    {"AllianceEntryPolicy", eKey::kAllianceEntryPolicy},
    {"CountriesToPress", eKey::kCountriesToPress},
    {"TransportsUnitsToFrontsBySea", eKey::kTransportsUnitsToFrontsBySea},
    {"MinRatioToPatchFront", eKey::kMinRatioToPatchFront},
    {"MaxUnitCountOnFront", eKey::kMaxUnitCountOnFront},
    {"MaxCoveringUnitDistance", eKey::kMaxCoveringUnitDistance},
    {"MaxSafeMoveCost", eKey::kMaxSafeMoveCost},
    {"ShoreBombardmentSingleUse", eKey::kShoreBombardmentSingleUse},
    {"CarrierTargetsPriorities", eKey::kCarrierTargetsPriorities},
    {"Country", eKey::kCountry},
};

// The values the game writes on a key's line: at least `least`, in whole
// groups of `group` (a city's two coordinates, a target's three numbers).
struct sValueCount {
  std::size_t least = 1;
  std::size_t group = 1;
};

sValueCount WrittenValues(eKey key) {
  switch (key) {
    case eKey::kObligatorySeaInvasionTargets:
    case eKey::kDoNotAttackCities:
    case eKey::kExtraCitiesToGarrison:
    case eKey::kSeaZonesToPatrol: return {2, 2};
    case eKey::kCurrentTargets: return {3, 3};
    case eKey::kDesiredLandForcesStructure: return {5, 1};
    case eKey::kDesiredTechLevels: return {7, 1};
    case eKey::kNewUnitPurchasePreferences: return {14, 1};
    case eKey::kNewUnitPurchaseData: return {6, 1};
    case eKey::kMultipleSideAttackPreferences:
    case eKey::kOneSideAttackPreferences: return {3, 1};
    case eKey::kShoreBombardmentSingleUse: return {2, 1};
    case eKey::kCarrierTargetsPriorities: return {9, 1};
    default: return {};
  }
}

// Whether a key's line gives as many values as the game writes for it.
bool GivesWrittenValues(eKey key, std::size_t values) {
  const sValueCount written = WrittenValues(key);
  return values >= written.least && values % written.group == 0;
}

// The keys whose values add to a list, line after line; the other keys'
// values take their slots.
bool IsListKey(eKey key) {
  switch (key) {
    case eKey::kObligatorySeaInvasionTargets:
    case eKey::kCurrentTargets:
    case eKey::kDoNotAttackCities:
    case eKey::kExtraCitiesToGarrison:
    case eKey::kSeaZonesToPatrol:
    case eKey::kPurchaseQueue:
    case eKey::kCountriesToPress: return true;
    default: return false;
  }
}

eKey FindKey(std::string_view field) {
  for (const sKeyName& k : kKeys) {
    if (field == k.name) return k.key;
  }
  return eKey::kNone;
}

std::vector<std::string_view> SplitFields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (start <= line.size()) {
    std::size_t end = line.find(';', start);
    if (end == std::string_view::npos) end = line.size();
    if (end > start) fields.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return fields;
}

template <std::size_t N>
void StoreCyclic(std::array<int, N>& slots, int valueNumber, int value) {
  slots[static_cast<std::size_t>(valueNumber - 2) % N] = value;
}

class cAiDataReader {
 public:
  cAiDataReader(cWorld& world, std::wstring path)
      : world_(world), path_(std::move(path)), row_(path_, files::RowLossOf(world.savedGame)) {}

  // Each country without a section plays with the default settings: said
  // once per country.
  void WarnMissingSections() const {
    for (const auto& country : world_.Countries()) {
      if (std::find(seen_.begin(), seen_.end(), country->id) != seen_.end()) continue;
      LogLine(L"WARNING: %s: no Country;%i section (%s): the country plays with the default computer settings", path_,
              country->id, country->name);
    }
  }

  void ReadLine(int lineNumber, std::string_view line) {
    line_ = lineNumber;
    const std::vector<std::string_view> fields = SplitFields(line);
    if (fields.empty()) return;
    if (fields.size() == 1) {
      // A key without its values, or a key and values run together without
      // the ";" between them: nothing of the line can be read.
      if (fields[0].find_first_not_of(" \t") == std::string_view::npos) return;
      // The game writes every key with its values: in a saved game such a
      // line is the rest of one cut short (as is one of fewer values than
      // the game writes, below).
      if (world_.savedGame) {
        FatalExit(plat::Format(L"ERROR: %s line %i: \"%s\" gives no values; the saved game is damaged", path_, line_,
                               plat::WidenAnsi(fields[0])));
      }
      LogLine(L"WARNING: %s line %i: \"%s\" gives no values (a key and its values are separated by ';'); the "
              L"line is skipped",
              path_, line_, plat::WidenAnsi(fields[0]));
      return;
    }
    const eKey key = FindKey(fields[0]);
    const sValueCount written = WrittenValues(key);
    const std::size_t values = fields.size() - 1;
    if (world_.savedGame && key != eKey::kNone && !GivesWrittenValues(key, values)) {
      FatalExit(plat::Format(L"ERROR: %s line %i: \"%s\" gives %i values where the game writes %i or more in "
                             L"groups of %i; the saved game is damaged",
                             path_, line_, plat::WidenAnsi(fields[0]), static_cast<int>(values),
                             static_cast<int>(written.least), static_cast<int>(written.group)));
    }
    if (key != eKey::kNone) NoteKey(key, fields);
    for (std::size_t i = 1; i < fields.size(); ++i) {
      if (key == eKey::kNone) {
        FatalExit(plat::Format(L"ERROR: line %i in ai_data.csv has incorrect variable name (%s)!", line_,
                                    plat::WidenAnsi(fields[0])));
      }
      Value(key, static_cast<int>(i) + 1, fields[i]);
    }
  }

 private:
  sCountryAiData& Data() {
    if (country_ == nullptr) {
      FatalExit(plat::Format(L"ERROR: line %i in ai_data.csv gives values before a Country line!", line_));
    }
    return country_->aiData;
  }

  // The game writes one section a country and each key once in it: a key
  // given again for the same country (the Country line itself for its
  // section) names both lines, with what the values of the later line do.
  void NoteKey(eKey key, const std::vector<std::string_view>& fields) {
    int countryId = 0;
    if (key == eKey::kCountry) {
      if (!files::ParseWholeInt(plat::WidenAnsi(fields.back()), countryId) || !world_.GetCountry(countryId)) return;
    } else if (country_ != nullptr) {
      countryId = country_->id;
    } else {
      return;
    }
    const auto line = static_cast<std::uint32_t>(line_);
    const std::uint32_t first = keyLines_.Earlier({countryId, static_cast<int>(key)}, line);
    if (first == 0) return;
    const std::vector<std::wstring> none;
    row_.Start(line, none);
    if (key == eKey::kCountry) {
      row_.Repeated(plat::Format(L"the section of country %i", countryId), first,
                    L"; the later section's lines go on setting that country's values");
    } else {
      row_.Repeated(plat::Format(L"\"%s\" of country %i", plat::WidenAnsi(fields[0]), countryId), first,
                    IsListKey(key) ? L"; the later values are added to the list" : L"; the later values are kept");
    }
  }

  cCity* CityAt(int x, int y) {
    const cMap& map = world_.GetMap();
    cCity* city = map.IsInside(x, y) ? map.GetHex(x, y).city : nullptr;
    if (city == nullptr) {
      LogLine(L"ERROR: %s line %i: cities.csv has no city at (%i, %i)", path_, line_, x, y);
      FatalExit(plat::Format(L"ERROR (ai_data.csv, line %i): There is no city at coords (%i,%i)", line_, x, y));
    }
    return city;
  }

  // Value n of the line as a whole number, or the end of the load.
  int ParseInt(std::string_view text) const {
    int value = 0;
    if (!files::ParseWholeInt(plat::WidenAnsi(text), value)) Refuse(text, L"a whole number");
    return value;
  }
  float ParseFloat(std::string_view text) const {
    double value = 0.0;
    if (!files::ParseWholeNumber(plat::WidenAnsi(text), value)) Refuse(text, L"a number");
    return files::ToFloat(value);
  }
  [[noreturn]] void Refuse(std::string_view text, const wchar_t* what) const {
    FatalExit(plat::Format(L"ERROR: %s line %i column %i: value \"%s\" is not %s", path_, line_, column_,
                           plat::WidenAnsi(text), std::wstring(what)));
  }

  void Value(eKey key, int n, std::string_view text) {
    column_ = n;
    if (key == eKey::kCountry) {
      const int id = ParseInt(text);
      country_ = world_.GetCountry(id);
      if (country_ != nullptr) seen_.push_back(id);
      if (country_ == nullptr) {
        LogLine(L"ERROR: %s line %i: country %i is not one of the %i countries of countries.csv", path_, line_, id,
                world_.GetCountryCount());
        FatalExit(plat::Format(L"ERROR: line %i in ai_data.csv names country ID %i, which does not exist!", line_, id));
      }
      return;
    }
    sCountryAiData& d = Data();
    const bool even = n % 2 == 0;
    switch (key) {
      case eKey::kMakesSeaInvasions: d.makesSeaInvasions = ParseInt(text) != 0; break;
      case eKey::kMaxNumberOfFrontsForSeaInvasion: d.maxNumberOfFrontsForSeaInvasion = ParseInt(text); break;
      case eKey::kCurrentSeaInvasionTarget: d.currentSeaInvasionTarget = ParseInt(text); break;
      case eKey::kObligatorySeaInvasionTargets:
      case eKey::kDoNotAttackCities:
      case eKey::kExtraCitiesToGarrison:
        if (even) {
          pending_[0] = ParseInt(text);
          break;
        }
        {
          const int x = pending_[0];
          const int y = ParseInt(text);
          cCity* city = CityAt(x, y);
          if (key == eKey::kObligatorySeaInvasionTargets) {
            if (!city->IsPort()) {
              FatalExit(plat::Format(L"ERROR(ai_data.csv, line %i): City at coords (%i, %i) is not a port", line_, x, y));
            }
            d.obligatorySeaInvasionTargets.push_back(city);
          } else if (key == eKey::kDoNotAttackCities) {
            d.doNotAttackCities.push_back(city);
          } else {
            d.extraCitiesToGarrison.push_back(city);
          }
        }
        break;
      case eKey::kSeaZonesToPatrol:
        if (even) {
          pending_[0] = ParseInt(text);
        } else {
          d.seaZonesToPatrol.Append(pending_[0], ParseInt(text));
        }
        break;
      case eKey::kCurrentTargets: {
        const int slot = (n - 2) % 3;
        pending_[slot] = ParseInt(text);
        if (slot == 2) d.currentTargets.push_back({pending_[0], pending_[1], pending_[2]});
        break;
      }
      case eKey::kPurchaseQueue: d.purchaseQueue.push_back(ParseInt(text)); break;
      case eKey::kCountriesToPress: d.countriesToPress.push_back(ParseInt(text)); break;
      case eKey::kFortLevelToHoldAtAllCost: d.fortLevelToHoldAtAllCost = ParseInt(text); break;
      case eKey::kDesiredLandForcesStructure: StoreCyclic(d.desiredLandForcesStructure, n, ParseInt(text)); break;
      case eKey::kDesiredTechLevels: StoreCyclic(d.desiredTechLevels, n, ParseInt(text)); break;
      case eKey::kDesiredStrategicMovementPoints: d.desiredStrategicMovementPoints = ParseInt(text); break;
      case eKey::kNewUnitPurchasePreferences: StoreCyclic(d.newUnitPurchasePreferences, n, ParseInt(text)); break;
      case eKey::kNewUnitPurchaseData:
        if (n <= 7) {
          const auto pair = static_cast<std::size_t>((n - 2) / 2);
          if (even) {
            d.newUnitPurchaseCounts[pair] = ParseInt(text);
          } else {
            d.newUnitPurchaseWeights[pair] = ParseFloat(text);
          }
        }
        break;
      case eKey::kMultipleSideAttackPreferences: StoreCyclic(d.multipleSideAttackPreferences, n, ParseInt(text)); break;
      case eKey::kOneSideAttackPreferences: StoreCyclic(d.oneSideAttackPreferences, n, ParseInt(text)); break;
      case eKey::kAllianceEntryPolicy: d.allianceEntryPolicy = ParseInt(text); break;
      case eKey::kTransportsUnitsToFrontsBySea: d.transportsUnitsToFrontsBySea = ParseInt(text) != 0; break;
      case eKey::kMinRatioToPatchFront: d.minRatioToPatchFront = ParseFloat(text); break;
      case eKey::kMaxUnitCountOnFront: d.maxUnitCountOnFront = ParseInt(text); break;
      case eKey::kMaxCoveringUnitDistance: d.maxCoveringUnitDistance = ParseInt(text); break;
      case eKey::kMaxSafeMoveCost: d.maxSafeMoveCost = ParseInt(text); break;
      case eKey::kShoreBombardmentSingleUse:
        if (n <= 3) d.shoreBombardmentSingleUse[static_cast<std::size_t>(n - 2)] = ParseFloat(text) * 0.01f;
        break;
      case eKey::kCarrierTargetsPriorities:
        // Nine values; later ones never spill into other fields.
        if (n <= 10) d.carrierTargetsPriorities[static_cast<std::size_t>(n - 2)] = ParseInt(text);
        break;
      case eKey::kCountry:
      case eKey::kNone: break;
    }
  }

  cWorld& world_;
  std::wstring path_;
  files::cRowCheck row_;
  // The line of each key given, by country id and key.
  files::cKeyLines<std::pair<int, int>> keyLines_;
  cCountry* country_ = nullptr;
  // The countries that have a section, in the file's order.
  std::vector<int> seen_;
  int line_ = 0;
  int column_ = 0;
  std::array<int, 3> pending_{};
};

}  // namespace

bool IsWholeAiDataLine(std::string_view line) {
  const std::vector<std::string_view> fields = SplitFields(line);
  if (fields.size() < 2) return false;
  const eKey key = FindKey(fields[0]);
  return key != eKey::kNone && GivesWrittenValues(key, fields.size() - 1);
}

void LoadAiData(cWorld& world, std::wstring_view folderPattern) {
  const std::wstring path = files::PathFromPattern(folderPattern, L"ai_data.csv");
  const std::string bytes = files::ReadDataFileOrExit(path, {L"Wczytywanie danych AI z pliku:"});

  cAiDataReader reader(world, path);
  plat::LineReader lines(bytes);
  std::string_view line;
  int lineNumber = 0;
  while (lines.Next(line)) {
    ++lineNumber;
    if (!line.empty() && line[0] == '#') continue;
    reader.ReadLine(lineNumber, line);
  }
  reader.WarnMissingSections();
  // A file that ends with a line break (or is empty) has one more, empty
  // read at its end, which the log notes.
  if (bytes.empty() || bytes.back() == '\n') LogLine(g_StringBase.GetText("empty_line..."));
}

std::string FormatAiDataText(const cWorld& world) {
  std::wstring t = L"# ai data";
  for (const auto& country : world.Countries()) {
    const sCountryAiData& d = country->aiData;
    auto cities = [&t](const wchar_t* key, const std::vector<cCity*>& list) {
      if (list.empty()) return;
      t += plat::Format(L"\n%s", std::wstring(key));
      for (const cCity* c : list) t += plat::Format(L";%i;%i", c->x, c->y);
    };
    auto ints = [&t](const wchar_t* key, const auto& values) {
      t += plat::Format(L"\n%s", std::wstring(key));
      for (int v : values) t += plat::Format(L";%i", v);
    };
    t += plat::Format(L"\nCountry;%i", country->id);
    t += plat::Format(L"\nMakesSeaInvasions;%i", d.makesSeaInvasions ? 1 : 0);
    t += plat::Format(L"\nMaxNumberOfFrontsForSeaInvasion;%i", d.maxNumberOfFrontsForSeaInvasion);
    cities(L"DoNotAttackCities", d.doNotAttackCities);
    t += plat::Format(L"\nFortLevelToHoldAtAllCost;%i", d.fortLevelToHoldAtAllCost);
    cities(L"ExtraCitiesToGarrison", d.extraCitiesToGarrison);
    if (!d.currentTargets.empty()) {
      t += L"\nCurrentTargets";
      for (const sAiTarget& target : d.currentTargets) t += plat::Format(L";%i;%i;%i", target.a, target.b, target.c);
    }
    cities(L"ObligatorySeaInvasionTargets", d.obligatorySeaInvasionTargets);
    if (!d.seaZonesToPatrol.empty()) {
      t += L"\nSeaZonesToPatrol";
      for (const auto& [zone, value] : d.seaZonesToPatrol) t += plat::Format(L";%i;%i", zone, value);
    }
    ints(L"DesiredLandForcesStructure", d.desiredLandForcesStructure);
    ints(L"DesiredTechLevels", d.desiredTechLevels);
    t += plat::Format(L"\nDesiredStrategicMovementPoints;%i", d.desiredStrategicMovementPoints);
    ints(L"NewUnitPurchasePreferences", d.newUnitPurchasePreferences);
    t += plat::Format(L"\nCurrentSeaInvasionTarget;%i", d.currentSeaInvasionTarget);
    ints(L"MultipleSideAttackPreferences", d.multipleSideAttackPreferences);
    ints(L"OneSideAttackPreferences", d.oneSideAttackPreferences);
    t += plat::Format(L"\nAllianceEntryPolicy;%i", d.allianceEntryPolicy);
    if (!d.countriesToPress.empty()) ints(L"CountriesToPress", d.countriesToPress);
    t += plat::Format(L"\nTransportsUnitsToFrontsBySea;%i", d.transportsUnitsToFrontsBySea ? 1 : 0);
    if (!d.purchaseQueue.empty()) ints(L"PurchaseQueue", d.purchaseQueue);
    t += plat::Format(L"\nNewUnitPurchaseData;%i;%f;%i;%f;%i;%f", d.newUnitPurchaseCounts[0],
                      static_cast<double>(d.newUnitPurchaseWeights[0]), d.newUnitPurchaseCounts[1],
                      static_cast<double>(d.newUnitPurchaseWeights[1]), d.newUnitPurchaseCounts[2],
                      static_cast<double>(d.newUnitPurchaseWeights[2]));
    t += plat::Format(L"\nMinRatioToPatchFront;%f", static_cast<double>(d.minRatioToPatchFront));
    t += plat::Format(L"\nMaxUnitCountOnFront;%i", d.maxUnitCountOnFront);
    t += plat::Format(L"\nMaxCoveringUnitDistance;%i", d.maxCoveringUnitDistance);
    t += plat::Format(L"\nMaxSafeMoveCost;%i", d.maxSafeMoveCost);
    t += plat::Format(L"\nShoreBombardmentSingleUse;%f;%f", static_cast<double>(d.shoreBombardmentSingleUse[0]) * 100.0,
                      static_cast<double>(d.shoreBombardmentSingleUse[1]) * 100.0);
    ints(L"CarrierTargetsPriorities", d.carrierTargetsPriorities);
  }
  return plat::ToCrLf(plat::NarrowAnsi(t));
}

void WriteAiData(const cWorld& world, std::wstring_view folder) {
  files::WriteDataFile(plat::Format(L"%s\\ai_data.csv", std::wstring(folder)), FormatAiDataText(world));
}
