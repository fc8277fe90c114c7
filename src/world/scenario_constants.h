// The scenario constants: every tunable number of the game rules, read once
// from the scenario's "consts.csv" into one plain record of the world.
//
// The file is positional: each data line (a line that is neither a comment
// nor empty) has a fixed meaning by its number, 1 to 184, and each value a
// fixed column (the non-empty ";"-separated fields, counted from 1; many
// lines carry a label in column 1 that is not read). The record keeps the
// values by role; Value(line, column) reaches any of them by position.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "world/calendar.h"

struct sScenarioConstants {
  static constexpr int kDataLines = 184;
  static constexpr int kSupplyEntries = 51;  // supply values 0-50
  using SupplyEffect = std::array<int, kSupplyEntries>;

  // 1: impulses of each month, January first. A world that never read its
  // constants counts one impulse a month.
  sTurnsPerMonth turnsPerMonth{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  // 2-7: by land warfare doctrine level 0-5, then land type 0-6 (cols 2-8).
  std::array<std::array<int, 7>, 6> landActionPoints{};
  std::array<int, 3> airActionPoints{};                     // 8: air types 20-22
  // 9-13: by unit level 1-5, then land type 0-6 (cols 2-8).
  std::array<std::array<float, 7>, 5> landBaseStrength{};
  std::array<int, 3> airBaseStrength{};                     // 14
  // 15, column 1: the air strength per bombing step of a raid on a city (0:
  // no steps). It stands right before the terrain costs, which line 15
  // continues in columns 2-10.
  int bombingStep = 0;
  // 15-17: by row 0-2: terrain types 1-7 (slots 0-6), water (7), the row's
  // addition (8); cols 2-10.
  std::array<std::array<int, 9>, 3> terrainCostRows{};
  int effectivenessBase = 0;                                // 18
  std::array<std::array<int, 7>, 6> combatResultInt{};      // 19-24: die, odds column
  std::array<std::array<float, 7>, 6> combatResultLoss{};   // 25-30: die, odds column
  std::array<float, 13> landCombatFactors{};                // 31
  std::array<float, 9> terrainCombatFactors{};              // 32
  float fixedDefenderStrength = 0.0f;                       // 33
  std::array<int, 6> attackActionPointCost{};               // 34: doctrine level 0-5
  // 35-46: two tables of six dice rows (35-40, 41-46), difference -4..+4.
  std::array<std::array<int, 9>, 12> airCombatTable{};
  std::array<int, 5> airRangeBase{};                        // 47
  int maxSupply = 0;                                        // 48
  int supplyEffectA0 = 0;                                   // 49
  std::array<int, 10> supplyBandBounds{};                   // 50
  // 51-56: the band values of SupplyEffectA to SupplyEffectF.
  std::array<std::array<int, 10>, 6> supplyBandValues{};
  std::array<int, 9> bombardTerrainTable{};                 // 57
  std::array<int, 5> bombardTable58{};                      // 58
  std::array<int, 3> bombardTable59{};                      // 59
  int bombardValue60 = 0;                                   // 60
  std::array<float, 6> bombardFactors{};                    // 61
  std::array<std::array<int, 5>, 6> navalRows{};            // 62-67
  std::array<int, 7> strategicMoveCost{};                   // 68: land type 0-6
  std::array<int, 7> seaTransportCost{};                    // 69
  std::array<int, 7> amphibiousTransportCost{};             // 70
  int fleetReachSteps = 0;                                  // 71
  std::array<int, 8> navalSeaBattleValue{};                 // 72
  std::array<int, 6> navalTypeStrength{};                   // 73: naval types 40-45
  int navalTypeStrengthMax = 1;                             // the largest of 73, at least 1
  std::array<int, 6> navalCombatA{};                        // 74
  std::array<int, 6> navalCombatB{};                        // 75
  std::array<double, 6> navalRepairCost{};                  // 76
  std::array<int, 6> invasionTable{};                       // 77
  std::array<float, 7> replacementFactors{};                // 78
  std::array<float, 7> levelCostFactors{};                  // 79
  std::array<float, 3> airCostFactorsA{};                   // 80
  std::array<float, 3> airCostFactorsB{};                   // 81
  int replacementBase = 0;                                  // 82
  int replacementMultiplier = 0;                            // 83
  int purchaseValue84 = 0;                                  // 84
  std::array<float, 4> purchaseFactors{};                   // 85
  std::array<float, 3> purchaseOffsets{};                   // 86
  std::array<float, 3> purchaseSlopes{};                    // 87
  std::array<int, 7> researchCost{};                        // 88
  std::array<int, 7> researchLimit{};                       // 89
  std::array<float, 7> researchFactors{};                   // 90
  std::array<float, 6> diplomacyFactors91{};                // 91
  std::array<float, 6> diplomacyFactors92{};                // 92
  std::array<float, 3> diplomacyFactors93{};                // 93
  std::array<float, 9> diplomacyFactors94{};                // 94
  std::array<std::array<int, 6>, 9> diplomacyTableA{};      // 95-103
  std::array<std::array<int, 6>, 9> diplomacyTableB{};      // 104-112
  std::array<float, 6> diplomacyFactors113{};               // 113
  std::array<float, 11> coupFactors{};                      // 114
  std::array<float, 7> productionFactors{};                 // 115
  std::array<int, 6> paradropTable{};                       // 116
  std::array<float, 13> effectivenessFactors{};             // 117
  std::array<float, 7> retreatOddsFactors{};                // 118
  std::array<float, 8> retreatTerrainFactors{};             // 119
  std::array<float, 11> convoyFactors{};                    // 120
  std::array<float, 5> convoyRouteFactors{};                // 121
  std::array<int, 6> convoyDamageMin{};                     // 122
  std::array<int, 6> convoyDamageMax{};                     // 123
  std::array<int, 3> nuclearValues{};                       // 124
  std::array<int, 6> strategicBombingA{};                   // 125
  std::array<int, 5> strategicBombingB{};                   // 126
  // 127: the command range within which a unit takes a headquarters
  // commander, then the commanders' distance falloff.
  std::array<int, 2> commanderRange{};
  int seaBattleJoinChance = 0;                              // 128
  std::array<int, 5> seaBattleRoundWeights{};               // 129
  std::array<int, 4> commanderExperienceValues{};           // 130
  std::array<float, 7> siegeFactors{};                      // 131
  std::array<int, 3> airStrategicMoveCost{};                // 132 (floats, whole part)
  std::array<int, 3> intValues133{};                        // 133 (floats, whole part)
  int dropTurnsAtStart = 0;                                 // 134 (float, whole part)
  std::array<float, 4> mulberryValues{};                    // 135
  float upkeepFactor = 0.0f;                                // 136
  int noSupplyTurnsLimit = 0;                               // 137
  float winterBattleFactor = 0.0f;                          // 138
  float winterMoveFactor = 0.0f;                            // 139
  float mudBattleFactor = 0.0f;                             // 140
  float mudMoveFactor = 0.0f;                               // 141
  float repairThreshold = 0.0f;                             // 142
  int entrenchmentMax = 0;                                  // 143
  float entrenchmentFactor = 0.0f;                          // 144
  int bombardmentRange = 0;                                 // 145
  int friendlyShipSpotChance = 0;                           // 146
  int enemyShipSpotChance = 0;                              // 147
  float aiValue148 = 0.0f;                                  // 148
  int retreatBase = 0;                                      // 149
  std::array<float, 5> navyTechFactors{};                   // 150: level 1-5
  std::array<float, 5> aircraftRangeFactors{};              // 151: level 1-5
  int politicalStrengthMargin = 0;                          // 152
  float aiThreshold = 0.0f;                                 // 153
  // 154: kept with columns 11-14 first (slots 0-3), then columns 1-10.
  std::array<int, 14> supplyTypeValues{};
  float seaBattleValue155 = 0.0f;                           // 155
  int carrierMinStrength = 0;                               // 156
  int fleetValue157 = 0;                                    // 157
  // 158 is read and ignored.
  float invasionFactor = 0.0f;                              // 159
  int invasionValue = 0;                                    // 160
  std::array<int, 6> navalReachValue{};                     // 161
  std::array<int, 6> minPortSize{};                         // 162
  int convoyValueStep = 0;                                  // 163
  int convoyValueLimit = 0;                                 // 164
  int navalSpotBase = 0;                                    // 165
  std::array<int, 4> navalSpotFriendly{};                   // 166: threshold, step, bonus, carrier bonus
  std::array<int, 3> navalSpotEnemy{};                      // 167: threshold, step, bonus
  int shipSupplyLimit = 0;                                  // 168
  int coastSearchRange = 0;                                 // 169
  std::array<int, 6> ownShipSupply{};                       // 170
  std::array<int, 6> enemyShipSupply{};                     // 171
  int value172 = 0;                                         // 172
  int value173 = 0;                                         // 173
  int value174 = 0;                                         // 174
  int value175 = 0;                                         // 175
  std::array<int, 2> airNavalBombard{};                     // 176
  std::array<int, 3> airRebaseValues{};                     // 177
  std::array<int, 4> portBombardValues{};                   // 178
  // 179: the commander weights: skill, experience, loss prevention, damage
  // doubling, bombardment bonus. A file whose line has only the first three
  // gives the last two the loss-prevention weight (see the reader).
  std::array<int, 5> commanderBonusValues{};
  std::array<int, 3> convoyAttackValues{};                  // 180
  int aiShipSupply = 0;                                     // 181
  int value182 = 0;                                         // 182
  int value183 = 0;                                         // 183
  int value184 = 0;                                         // 184

  // The shore bombardment's values have no line in "consts.csv": these
  // defaults stand until the file's layout gives them one. Fire of one ship
  // by the die 1-6; the scale of n firing ships is n^(-1/exponent).
  float shoreBombardmentExponent = 2.0f;
  std::array<float, 6> battleshipFire{1.0f, 1.5f, 2.0f, 2.5f, 3.0f, 4.0f};
  std::array<float, 6> cruiserFire{0.5f, 0.75f, 1.0f, 1.25f, 1.5f, 2.0f};

  // Derived from the band table (lines 49-56), by supply value 0-50.
  SupplyEffect supplyEffectA{};
  SupplyEffect supplyEffectB{};
  SupplyEffect supplyEffectC{};
  SupplyEffect supplyEffectD{};
  SupplyEffect supplyEffectE{};
  SupplyEffect supplyEffectF{};

  // The value at a data line (1-184) and file column (from 1), widened to a
  // double; 0 for a position that holds no value.
  double Value(int line, int column) const;
  // Stores a value at a data line and file column as the reader does
  // (converted to the slot's type); false for a position without a slot.
  bool SetValue(int line, int column, double value);
};

// The positional layout of the constants: what each data line (1-184) of
// "consts.csv" holds and where its values sit in the record. The file's
// reader and writer and Value/SetValue share it.
enum class eConstsKind { kInt, kFloat, kDouble, kFloatToInt };
struct sConstsLine {
  const char* name = nullptr;   // the line's label (written in column 1 where it has one)
  eConstsKind kind = eConstsKind::kInt;
  int firstColumn = 1;          // file column of the first value
  int count = 0;                // values on the line
  bool single = false;          // one value from the very start of the line
  std::ptrdiff_t offset = -1;   // byte offset of the first slot; -1: the line holds nothing
};
// The line's description (an empty one outside 1-184).
const sConstsLine& ConstsLine(int line);
// The slot index of a file column, or -1.
int ConstsSlotIndex(int line, int column);
// The address of slot index of the line in the record.
char* ConstsSlotAddress(sScenarioConstants& constants, const sConstsLine& line, int index);
// The value in slot index of the line, read as the line's kind and widened
// to a double.
double ConstsSlotValue(const sScenarioConstants& constants, const sConstsLine& line, int index);
