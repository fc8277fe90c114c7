#include "units/fleet.h"

#include "world/gra.h"

sWezelGrafuMorz* cFleet::GetSeaNode() const {
  return g_pWorld ? g_pWorld->GetSeaGraph().GetNode(seaNode) : nullptr;
}
