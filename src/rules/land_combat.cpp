// The land battle of an attack set-up.
#include "world/combat_result.h"
#include "world/land_attack.h"
#include "world/world.h"

bool cLandAttack::Resolve(cWorld& world, sBombardmentResult& result) {
  (void)world;
  result.Reset();
  return defender != nullptr && CountAttackingSides() > 0;
}
