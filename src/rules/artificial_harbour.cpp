#include "rules/artificial_harbour.h"

#include "app/file_text.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/world.h"

cMulberry* PlaceNewHarbour(cWorld& world, int countryId, const std::wstring& name, sHex& hex) {
  if (hex.unit != nullptr) return nullptr;
  // The land unit's constructor draws its id from the loaded game, which
  // need not be this world: the id is taken here.
  const sIdCounters counters = world.ids;
  auto* harbour = new cMulberry();
  world.ids = counters;
  harbour->id = world.ids.nextLandUnitId++;
  harbour->countryId = countryId;
  harbour->SetName(name);
  harbour->x = hex.x;
  harbour->y = hex.y;
  harbour->level = 1;
  harbour->inReserve = false;
  harbour->SetCommander(nullptr);
  const sScenarioConstants& k = world.constants;
  harbour->SetStrength(files::TruncateToInt(k.mulberryValues[2]));
  harbour->SetSupply(k.maxSupply);
  harbour->UpdateEffectiveness();
  harbour->SetSupplySourceX(-1);
  harbour->SetSupplySourceY(-1);
  harbour->ResetActionPoints();
  harbour->remainingMonths = files::TruncateToInt(k.mulberryValues[3]);
  world.Units().landUnits.push_back(harbour);
  hex.unit = harbour;
  return harbour;
}
