#include "world/fleet.h"

#include "world/world.h"

sWezelGrafuMorz* cFleet::GetSeaNode() const {
  return g_pWorld ? g_pWorld->GetSeaGraph().GetNode(seaNode) : nullptr;
}
