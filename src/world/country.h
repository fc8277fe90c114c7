// One country of a loaded game: identity and diplomatic standing, technology,
// points, research, weather modifiers, the computer opponent's settings, the
// play-by-e-mail player and the images drawn for it. The world keeps one
// record per line of "countries.csv"; a country is found by id at index
// id - 1, and a country that surrenders keeps its record so ids stay indices.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "world/country_ai_data.h"

class cCity;
class cTexture;
class cUnit;
class cWorld;

namespace plat {
class Texture;
}

// Technology slots of techLevel, techInvestment and techProgress.
enum eTechnology : int {
  kTechArtillery = 0,
  kTechTanks = 1,
  kTechDoctrine = 2,
  kTechAircraft = 3,
  kTechSubmarines = 4,
  kTechNavy = 5,
  kTechNuclear = 6,
  kTechCount = 7,
};

// Alliance codes: members 1-3, their leaders 4-6; c and c + 3 are one group.
enum eAlliance : int {
  kNeutral = 0,
  kAllies = 1,
  kAxis = 2,
  kComintern = 3,
  kAlliesLeader = 4,
  kAxisLeader = 5,
  kCominternLeader = 6,
};

// Slots of the country's own unit-type names: land types 0-6, air 20-22,
// naval 40-45 and the artificial harbour (60).
constexpr int kUnitTypeNameSlots = 17;

// The unit types a country's statistics count, in their order.
inline constexpr std::array<int, 16> kStatisticsUnitTypes = {0, 1, 2, 3, 4, 5, 6, 20, 21, 22, 40, 41, 42, 43, 44, 45};
// The order of the rows of table a of the unit counts: the air types and the
// first three naval types run the other way.
inline constexpr std::array<int, 16> kUnitCountTableATypes = {
    0, 1, 2, 3, 4, 5, 6, 22, 21, 20, 42, 41, 40, 43, 44, 45};

// A country's units counted by type, in two tables of sixteen rows of (units
// on the map or on board a ship, units in the reserve pools): table a has the
// rows of kUnitCountTableATypes, table b those of kStatisticsUnitTypes
// (the order the statistics show). Each counted unit adds one to its row of
// both.
struct sUnitCountsByType {
  std::array<std::pair<int, int>, 16> a{};
  std::array<std::pair<int, int>, 16> b{};
};

class cCountry {
 public:
  // Map view unset (zoom -100), no unit-type names, no images; every other
  // field is given by the countries file.
  cCountry();
  // A copy shares the images with the record it came from: each image is
  // released when the last record holding it goes.
  cCountry(const cCountry&) = default;
  cCountry& operator=(const cCountry&) = default;
  cCountry(cCountry&&) = default;
  cCountry& operator=(cCountry&&) = default;
  ~cCountry();

  // --- points ---
  void AddDiplomaticPoints(int value);
  void AddProductionPoints(double value);
  void AddStrategicMovementPoints(int value);
  void AddSeaTransportPoints(int value);
  void AddAmphibiousInvasionPoints(int value);
  // Social unrest + amount, kept within 0 .. 100.
  void AddSocialUnrest(float amount);
  // The invasion points bound in the country's loaded amphibious ships (the
  // world's amphibious cost of each carried unit's type) are added to its
  // total (run at the end of an impulse, after the total was set to the free
  // points).
  void AddAmphibiousTransportAip(const cWorld& world);
  // Free sea transport points plus those bound in convoys and in loaded
  // sea transports.
  int GetTotalSeaTransportPoints(const cWorld& world) const;

  // --- unit-type names ---
  // The country's own name of a unit type; null for a type without a slot
  // or a slot without a name.
  const wchar_t* GetUnitTypeName(int unitType) const;
  // Slots outside 0-16 are ignored.
  void SetUnitTypeName(int slot, std::wstring_view text);

  // --- stored map view ---
  void SaveMapView(float x, float y, float zoom);
  void GetMapView(float& x, float& y, float& zoom) const;

  // --- computer-opponent settings ---
  bool IsExtraCityToGarrison(int x, int y) const { return aiData.IsExtraCityToGarrison(x, y); }
  void RemoveDoNotAttackCity(int x, int y) { aiData.RemoveDoNotAttackCity(x, y); }

  // --- cities ---
  // Among the cities whose hex the country controls: the supply city of most
  // production, else the port or normal city of most production (the first
  // of equals in the world's list); null when there is none.
  cCity* FindMainCity(const cWorld& world) const;
  // A dummy country, or one at war with nobody, has lost nothing; otherwise
  // true unless the country both controls and owns the hex of some city of
  // types 0-3 worth at least one victory point.
  bool HasLostAllOwnCities(const cWorld& world) const;

  // --- units ---
  // The country's units by type (the harbour has no row).
  sUnitCountsByType CountUnitsByType(const cWorld& world) const;

  // --- images ---
  // "data\gfx\[UnitsSkin]<set>\units_<skinName>.png"; no file or a failed
  // load leaves the country without a unit sheet.
  void LoadUnitSkinTexture(std::wstring_view skinSet);
  // The scenario's "Flags" folder first, then "data\gfx\Flags".
  void LoadFlagTexture(std::wstring_view scenario);
  // Name and skin name become text; the unit sheet of the current set is
  // loaded.
  void SetNameWithDefaultSkin(std::wstring_view text);
  void SetSkinName(std::wstring_view text);
  // The flag's texture, or the default flag's when the country has none.
  plat::Texture* GetFlagTexture() const;
  // The holders themselves (null when not loaded), for the device events.
  cTexture* GetUnitSkinTextureHolder() const { return unitSkinTexture.get(); }
  cTexture* GetFlagTextureHolder() const { return flagTexture.get(); }

  // The world the country was added to (cWorld::AddCountry sets it; copies
  // share it).
  void SetWorld(const cWorld* world) { world_ = world; }

  // --- alliances and relations ---
  bool IsInAlliance(int alliance) const;
  // Id 0 (nobody) is allied with nobody. The other country is looked up in
  // the country's world; one that is not there is a fatal data error.
  bool IsAlliedWith(int countryId) const;
  // Id 0 (nobody) is at war with nobody. The wars are those of the
  // country's world (none without one).
  bool IsAtWarWith(int countryId) const;
  bool IsAtWarWithAnyone() const;
  bool SharesOrientationWith(const cCountry& other) const;
  bool IsZoneOfInfluenceMatchingOrientation() const;
  void AdjustOrientationTowards(const cCountry& other);
  void FormatAllianceName(std::wstring& out, bool alt) const;
  void FormatTargetAllianceName(std::wstring& out, bool alt) const;
  void FormatOrientationName(std::wstring& out, bool alt) const;
  void FormatZoneOfInfluenceName(std::wstring& out, bool alt) const;
  void JoinAlliance(cWorld& world, int alliance);
  void DeclareWarOnAlliance(cWorld& world, int alliance);
  int GetDeclareWarTableRow() const;
  int GetDeclareWarTableColumn() const;

  // --- fields (countries.csv columns) ---
  int id = 0;
  bool active = false;
  std::wstring name;
  std::wstring skinName;
  int alliance = kNeutral;
  int orientation = 0;
  int zoneOfInfluence = 0;
  int allianceEntry = 0;
  // -1 marks a dummy country that never plays.
  int politicalStrength = 0;
  bool finishedTurn = false;
  bool human = false;
  std::array<int, kTechCount> techLevel{};
  float socialUnrest = 0.0f;
  std::array<std::optional<std::wstring>, kUnitTypeNameSlots> unitTypeName;
  float mapViewX = 0.0f;
  float mapViewY = 0.0f;
  // -100: no view stored.
  float mapViewZoom = -100.0f;
  std::shared_ptr<cTexture> unitSkinTexture;
  std::shared_ptr<cTexture> flagTexture;
  std::array<std::uint32_t, 4> colour{};
  double productionPoints = 0.0;
  int diplomaticPoints = 0;
  int strategicMovementPoints = 0;
  int seaTransportPoints = 0;
  int amphibiousInvasionPoints = 0;
  int strategicMovementPointsMax = 0;
  int seaTransportPointsInConvoys = 0;
  int amphibiousInvasionPointsTotal = 0;
  // Strategic movement and amphibious invasion points bought so far: each
  // purchase raises the price of the next.
  int strategicMovementPurchases = 0;
  int amphibiousInvasionPurchases = 0;
  // The doctrine entries are not used by research.
  std::array<int, kTechCount> techInvestment{};
  std::array<int, kTechCount> techProgress{};
  int capitalX = 0;
  int capitalY = 0;
  bool doneDelayWarEntry = false;
  bool doneHasteWarEntry = false;
  bool doneParliamentaryElections = false;
  bool doneTurnInOrientation = false;
  bool doneExertPressureAxis = false;
  bool doneExertPressureAllied = false;
  bool doneExertPressureComintern = false;
  float warEconomy = 0.0f;
  // 1 major, 2 minor, 3 other.
  int power = 3;
  // 1 Africa, 2 Asia, 3 Europe, 4 North America, 5 South America.
  int region = 0;
  // 0 very hard ... 4 very easy.
  int difficulty = 2;
  int nuclearBombs = 0;
  int diplomaticPointsPerMonth = 0;
  std::array<int, 5> doctrineMonths{};
  sCountryAiData aiData;
  int pbemPlayerId = 0;
  float unitUpkeepModifier = 1.0f;
  float winterBattle = 0.0f;
  float winterMove = 0.0f;
  float mudBattle = 0.0f;
  float mudMove = 0.0f;
  std::list<std::wstring> attackReports;
  // Enemy units revealed by reconnaissance this impulse (not owned).
  std::list<cUnit*> reconSpottedUnits;
  // 1 keeps the country out of the play-by-e-mail hand-over tests.
  int specialFlags = 0;

 private:
  const cWorld* world_ = nullptr;
};

// The flag drawn for a country without one of its own (null until the
// application has loaded it).
void SetDefaultFlagTexture(cTexture* texture);
cTexture* GetDefaultFlagTexture();
