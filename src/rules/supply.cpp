#include "rules/supply.h"

// Interim: supply is not computed yet; units keep the supply they have.
void CalculateSupply(cWorld&) {}
void PullSupplyFromMulberries(cWorld&) {}
void PullSupplyFromShips(cWorld&) {}
