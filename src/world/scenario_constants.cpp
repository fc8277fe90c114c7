#include "world/scenario_constants.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "app/file_text.h"
#include "world/unit_constants.h"

namespace {

using LineTable = std::vector<sConstsLine>;

const LineTable& Table() {
  static const LineTable table = [] {
    LineTable t(sScenarioConstants::kDataLines + 1);
    static const sScenarioConstants probe;
    auto offset = [](const void* slot) {
      return static_cast<const char*>(slot) - reinterpret_cast<const char*>(&probe);
    };
    auto multi = [&](int line, const char* name, eConstsKind kind, int first, int count, const void* slot) {
      t[line] = {name, kind, first, count, false, offset(slot)};
    };
    auto single = [&](int line, const char* name, eConstsKind kind, const void* slot) {
      t[line] = {name, kind, 1, 1, true, offset(slot)};
    };
    const sScenarioConstants& c = probe;
    using K = eConstsKind;
    multi(1, "TurnsPerMonth", K::kInt, 1, 12, c.turnsPerMonth.data());
    for (int r = 0; r < 6; ++r) multi(2 + r, "LandActionPoints", K::kInt, 2, 7, c.landActionPoints[r].data());
    multi(8, "AirActionPoints", K::kInt, 1, 3, c.airActionPoints.data());
    for (int r = 0; r < 5; ++r) multi(9 + r, "LandBaseStrength", K::kFloat, 2, 7, c.landBaseStrength[r].data());
    multi(14, "AirBaseStrength", K::kInt, 1, 3, c.airBaseStrength.data());
    // Line 15 holds the bombing step in column 1, then the first row of
    // terrain costs, one slot after it.
    static_assert(offsetof(sScenarioConstants, terrainCostRows) == offsetof(sScenarioConstants, bombingStep) + sizeof(int));
    multi(15, "BombingStepAndTerrainCosts", K::kInt, 1, 10, &c.bombingStep);
    for (int r = 1; r < 3; ++r) multi(15 + r, "TerrainCostRows", K::kInt, 2, 9, c.terrainCostRows[r].data());
    single(18, "EffectivenessBase", K::kInt, &c.effectivenessBase);
    for (int r = 0; r < 6; ++r) multi(19 + r, "CombatResultInt", K::kInt, 2, 7, c.combatResultInt[r].data());
    for (int r = 0; r < 6; ++r) multi(25 + r, "CombatResultLoss", K::kFloat, 2, 7, c.combatResultLoss[r].data());
    multi(31, "LandCombatFactors", K::kFloat, 1, 13, c.landCombatFactors.data());
    multi(32, "TerrainCombatFactors", K::kFloat, 1, 9, c.terrainCombatFactors.data());
    single(33, "FixedDefenderStrength", K::kFloat, &c.fixedDefenderStrength);
    multi(34, "AttackActionPointCost", K::kInt, 1, 6, c.attackActionPointCost.data());
    for (int r = 0; r < 12; ++r) multi(35 + r, "AirCombatTable", K::kInt, 2, 9, c.airCombatTable[r].data());
    multi(47, "AirRangeBase", K::kInt, 1, 5, c.airRangeBase.data());
    single(48, "MaxSupply", K::kInt, &c.maxSupply);
    single(49, "SupplyEffectA0", K::kInt, &c.supplyEffectA0);
    multi(50, "SupplyBandBounds", K::kInt, 2, 10, c.supplyBandBounds.data());
    for (int r = 0; r < 6; ++r) multi(51 + r, "SupplyBandValues", K::kInt, 2, 10, c.supplyBandValues[r].data());
    multi(57, "BombardTerrainTable", K::kInt, 1, 9, c.bombardTerrainTable.data());
    multi(58, "BombardTable58", K::kInt, 1, 5, c.bombardTable58.data());
    multi(59, "BombardTable59", K::kInt, 1, 3, c.bombardTable59.data());
    single(60, "BombardValue60", K::kInt, &c.bombardValue60);
    multi(61, "BombardFactors", K::kFloat, 2, 6, c.bombardFactors.data());
    for (int r = 0; r < 6; ++r) multi(62 + r, "NavalRows", K::kInt, 2, 5, c.navalRows[r].data());
    multi(68, "StrategicMoveCost", K::kInt, 2, 7, c.strategicMoveCost.data());
    multi(69, "SeaTransportCost", K::kInt, 2, 7, c.seaTransportCost.data());
    multi(70, "AmphibiousTransportCost", K::kInt, 2, 7, c.amphibiousTransportCost.data());
    single(71, "FleetReachSteps", K::kInt, &c.fleetReachSteps);
    multi(72, "NavalSeaBattleValue", K::kInt, 1, 8, c.navalSeaBattleValue.data());
    multi(73, "NavalTypeStrength", K::kInt, 1, 6, c.navalTypeStrength.data());
    multi(74, "NavalCombatA", K::kInt, 2, 6, c.navalCombatA.data());
    multi(75, "NavalCombatB", K::kInt, 2, 6, c.navalCombatB.data());
    multi(76, "NavalRepairCost", K::kDouble, 2, 6, c.navalRepairCost.data());
    multi(77, "InvasionTable", K::kInt, 2, 6, c.invasionTable.data());
    multi(78, "ReplacementFactors", K::kFloat, 2, 7, c.replacementFactors.data());
    multi(79, "LevelCostFactors", K::kFloat, 2, 7, c.levelCostFactors.data());
    multi(80, "AirCostFactorsA", K::kFloat, 2, 3, c.airCostFactorsA.data());
    multi(81, "AirCostFactorsB", K::kFloat, 2, 3, c.airCostFactorsB.data());
    single(82, "ReplacementBase", K::kInt, &c.replacementBase);
    single(83, "ReplacementMultiplier", K::kInt, &c.replacementMultiplier);
    single(84, "PurchaseValue84", K::kInt, &c.purchaseValue84);
    multi(85, "PurchaseFactors", K::kFloat, 1, 4, c.purchaseFactors.data());
    multi(86, "PurchaseOffsets", K::kFloat, 1, 3, c.purchaseOffsets.data());
    multi(87, "PurchaseSlopes", K::kFloat, 1, 3, c.purchaseSlopes.data());
    multi(88, "ResearchCost", K::kInt, 2, 7, c.researchCost.data());
    multi(89, "ResearchLimit", K::kInt, 2, 7, c.researchLimit.data());
    multi(90, "ResearchFactors", K::kFloat, 2, 7, c.researchFactors.data());
    multi(91, "DiplomacyFactors91", K::kFloat, 2, 6, c.diplomacyFactors91.data());
    multi(92, "DiplomacyFactors92", K::kFloat, 2, 6, c.diplomacyFactors92.data());
    multi(93, "DiplomacyFactors93", K::kFloat, 2, 3, c.diplomacyFactors93.data());
    multi(94, "DiplomacyFactors94", K::kFloat, 2, 9, c.diplomacyFactors94.data());
    for (int r = 0; r < 9; ++r) multi(95 + r, "DiplomacyTableA", K::kInt, 2, 6, c.diplomacyTableA[r].data());
    for (int r = 0; r < 9; ++r) multi(104 + r, "DiplomacyTableB", K::kInt, 2, 6, c.diplomacyTableB[r].data());
    multi(113, "DiplomacyFactors113", K::kFloat, 2, 6, c.diplomacyFactors113.data());
    multi(114, "CoupFactors", K::kFloat, 2, 11, c.coupFactors.data());
    multi(115, "ProductionFactors", K::kFloat, 1, 7, c.productionFactors.data());
    multi(116, "ParadropTable", K::kInt, 2, 6, c.paradropTable.data());
    multi(117, "EffectivenessFactors", K::kFloat, 2, 13, c.effectivenessFactors.data());
    multi(118, "RetreatOddsFactors", K::kFloat, 1, 7, c.retreatOddsFactors.data());
    multi(119, "RetreatTerrainFactors", K::kFloat, 1, 8, c.retreatTerrainFactors.data());
    multi(120, "ConvoyFactors", K::kFloat, 1, 11, c.convoyFactors.data());
    multi(121, "ConvoyRouteFactors", K::kFloat, 1, 5, c.convoyRouteFactors.data());
    multi(122, "ConvoyDamageMin", K::kInt, 2, 6, c.convoyDamageMin.data());
    multi(123, "ConvoyDamageMax", K::kInt, 2, 6, c.convoyDamageMax.data());
    multi(124, "NuclearValues", K::kInt, 1, 3, c.nuclearValues.data());
    multi(125, "StrategicBombingA", K::kInt, 2, 6, c.strategicBombingA.data());
    multi(126, "StrategicBombingB", K::kInt, 2, 5, c.strategicBombingB.data());
    multi(127, "CommanderRange", K::kInt, 1, 2, c.commanderRange.data());
    single(128, "SeaBattleJoinChance", K::kInt, &c.seaBattleJoinChance);
    multi(129, "SeaBattleRoundWeights", K::kInt, 1, 5, c.seaBattleRoundWeights.data());
    multi(130, "CommanderExperienceValues", K::kInt, 1, 4, c.commanderExperienceValues.data());
    multi(131, "SiegeFactors", K::kFloat, 1, 7, c.siegeFactors.data());
    multi(132, "AirStrategicMoveCost", K::kFloatToInt, 1, 3, c.airStrategicMoveCost.data());
    multi(133, "IntValues133", K::kFloatToInt, 1, 3, c.intValues133.data());
    single(134, "DropTurnsAtStart", K::kFloatToInt, &c.dropTurnsAtStart);
    multi(135, "MulberryValues", K::kFloat, 1, 4, c.mulberryValues.data());
    single(136, "UpkeepFactor", K::kFloat, &c.upkeepFactor);
    single(137, "NoSupplyTurnsLimit", K::kInt, &c.noSupplyTurnsLimit);
    single(138, "WinterBattleFactor", K::kFloat, &c.winterBattleFactor);
    single(139, "WinterMoveFactor", K::kFloat, &c.winterMoveFactor);
    single(140, "MudBattleFactor", K::kFloat, &c.mudBattleFactor);
    single(141, "MudMoveFactor", K::kFloat, &c.mudMoveFactor);
    single(142, "RepairThreshold", K::kFloat, &c.repairThreshold);
    single(143, "EntrenchmentMax", K::kInt, &c.entrenchmentMax);
    single(144, "EntrenchmentFactor", K::kFloat, &c.entrenchmentFactor);
    single(145, "BombardmentRange", K::kInt, &c.bombardmentRange);
    single(146, "FriendlyShipSpotChance", K::kInt, &c.friendlyShipSpotChance);
    single(147, "EnemyShipSpotChance", K::kInt, &c.enemyShipSpotChance);
    single(148, "AiValue148", K::kFloat, &c.aiValue148);
    single(149, "RetreatBase", K::kInt, &c.retreatBase);
    multi(150, "NavyTechFactors", K::kFloat, 1, 5, c.navyTechFactors.data());
    multi(151, "AircraftRangeFactors", K::kFloat, 1, 5, c.aircraftRangeFactors.data());
    single(152, "PoliticalStrengthMargin", K::kInt, &c.politicalStrengthMargin);
    single(153, "AiThreshold", K::kFloat, &c.aiThreshold);
    multi(154, "SupplyTypeValues", K::kInt, 1, 14, c.supplyTypeValues.data());
    single(155, "SeaBattleValue155", K::kFloat, &c.seaBattleValue155);
    single(156, "CarrierMinStrength", K::kInt, &c.carrierMinStrength);
    single(157, "FleetValue157", K::kInt, &c.fleetValue157);
    t[158] = {"Unused158", eConstsKind::kInt, 1, 0, true, -1};
    single(159, "InvasionFactor", K::kFloat, &c.invasionFactor);
    single(160, "InvasionValue", K::kInt, &c.invasionValue);
    multi(161, "NavalReachValue", K::kInt, 1, 6, c.navalReachValue.data());
    multi(162, "MinPortSize", K::kInt, 1, 6, c.minPortSize.data());
    single(163, "ConvoyValueStep", K::kInt, &c.convoyValueStep);
    single(164, "ConvoyValueLimit", K::kInt, &c.convoyValueLimit);
    single(165, "NavalSpotBase", K::kInt, &c.navalSpotBase);
    multi(166, "NavalSpotFriendly", K::kInt, 1, 4, c.navalSpotFriendly.data());
    multi(167, "NavalSpotEnemy", K::kInt, 1, 3, c.navalSpotEnemy.data());
    single(168, "ShipSupplyLimit", K::kInt, &c.shipSupplyLimit);
    single(169, "CoastSearchRange", K::kInt, &c.coastSearchRange);
    multi(170, "OwnShipSupply", K::kInt, 1, 6, c.ownShipSupply.data());
    multi(171, "EnemyShipSupply", K::kInt, 1, 6, c.enemyShipSupply.data());
    single(172, "Value172", K::kInt, &c.value172);
    single(173, "Value173", K::kInt, &c.value173);
    single(174, "Value174", K::kInt, &c.value174);
    single(175, "Value175", K::kInt, &c.value175);
    multi(176, "AirNavalBombard", K::kInt, 1, 2, c.airNavalBombard.data());
    multi(177, "AirRebaseValues", K::kInt, 1, 3, c.airRebaseValues.data());
    multi(178, "PortBombardValues", K::kInt, 1, 4, c.portBombardValues.data());
    multi(179, "CommanderBonusValues", K::kInt, 1, 5, c.commanderBonusValues.data());
    multi(180, "ConvoyAttackValues", K::kInt, 1, 3, c.convoyAttackValues.data());
    single(181, "AiShipSupply", K::kInt, &c.aiShipSupply);
    single(182, "Value182", K::kInt, &c.value182);
    single(183, "Value183", K::kInt, &c.value183);
    single(184, "Value184", K::kInt, &c.value184);
    return t;
  }();
  return table;
}

}  // namespace

const sConstsLine& ConstsLine(int line) {
  static const sConstsLine kNone;
  if (line < 1 || line > sScenarioConstants::kDataLines) return kNone;
  return Table()[static_cast<std::size_t>(line)];
}

// The slot index of a file column, or -1. Line 154 keeps columns 11-14
// ahead of columns 1-10.
int ConstsSlotIndex(int line, int column) {
  if (line < 1 || line > sScenarioConstants::kDataLines) return -1;
  const sConstsLine& d = ConstsLine(line);
  if (d.offset < 0) return -1;
  const int index = column - d.firstColumn;
  if (index < 0 || index >= d.count) return -1;
  if (line == 154) return column >= 11 ? column - 11 : column + 3;
  return index;
}

char* ConstsSlotAddress(sScenarioConstants& c, const sConstsLine& d, int index) {
  char* base = reinterpret_cast<char*>(&c) + d.offset;
  const std::size_t size = d.kind == eConstsKind::kDouble ? sizeof(double) : d.kind == eConstsKind::kFloat ? sizeof(float) : sizeof(int);
  return base + static_cast<std::size_t>(index) * size;
}

double ConstsSlotValue(const sScenarioConstants& constants, const sConstsLine& line, int index) {
  const char* slot = ConstsSlotAddress(const_cast<sScenarioConstants&>(constants), line, index);
  switch (line.kind) {
    case eConstsKind::kFloat: return *reinterpret_cast<const float*>(slot);
    case eConstsKind::kDouble: return *reinterpret_cast<const double*>(slot);
    case eConstsKind::kInt:
    case eConstsKind::kFloatToInt: break;
  }
  return *reinterpret_cast<const int*>(slot);
}

double sScenarioConstants::Value(int line, int column) const {
  const int index = ConstsSlotIndex(line, column);
  if (index < 0) return 0.0;
  return ConstsSlotValue(*this, ConstsLine(line), index);
}

bool sScenarioConstants::SetValue(int line, int column, double value) {
  const int index = ConstsSlotIndex(line, column);
  if (index < 0) return false;
  const sConstsLine& d = ConstsLine(line);
  char* slot = ConstsSlotAddress(*this, d, index);
  switch (d.kind) {
    case eConstsKind::kFloat: *reinterpret_cast<float*>(slot) = files::ToFloat(value); break;
    case eConstsKind::kDouble: *reinterpret_cast<double*>(slot) = std::isfinite(value) ? value : 0.0; break;
    case eConstsKind::kInt:
    case eConstsKind::kFloatToInt: *reinterpret_cast<int*>(slot) = files::TruncateToInt(value); break;
  }
  return true;
}


sUnitConstants CommanderWeightsOf(const sScenarioConstants& c) {
  sUnitConstants weights;
  weights.skillWeight = c.commanderBonusValues[0];
  weights.experienceWeight = c.commanderBonusValues[1];
  weights.distanceFalloff = c.commanderRange[1];
  weights.lossPreventionWeight = c.commanderBonusValues[2];
  weights.damageDoublingWeight = c.commanderBonusValues[3];
  weights.bombardmentBonusWeight = c.commanderBonusValues[4];
  return weights;
}
