// Strikes from the air (and from ships) on what a hex holds: the strike of a
// cell with its interception, the bombardment of a port or a sea zone, the
// strategic bombardment of a city, the nuclear strike on a city and its port,
// and the searches for the interceptor that defends a cell. The results go
// into the strike's record (sBombardmentResult) and the world's reports.
#pragma once

class cCity;
class cJednostkaLotnicza;
class cJednostkaMorska;
class cUnit;
class cWorld;
struct sBombardmentResult;
struct sWezelGrafuMorz;

// The strike of the cell (x, y) by an air unit or a ship: the defender's
// interceptor first (a fighter over land, a carrier at sea), then the land
// unit, the city (strategic bombers and carriers), the port, or the ships of
// the sea zone. An attacker destroyed on the way is killed here. Returns
// false when an interception stopped the strike.
bool ResolveHexAirBombardment(cWorld& world, int x, int y, cUnit& attacker, sBombardmentResult& result);

// The enemy fighter that defends the land cell (x, y) against the attacking
// country: a fighter at war with it whose range reaches the cell and whose
// strength is above half the least interceptor strength, with the highest
// interception bonus + level + strength (the first of equal ones). Land with
// no controller is nobody's: it never makes a country an enemy.
cJednostkaLotnicza* FindBestInterceptor(const cWorld& world, int x, int y, int attackingCountry);
// The fighter of the defending country or an ally that defends the land
// cell (x, y) (whose range reaches it and whose strength is above half the
// least interceptor strength) with the highest interception bonus + level +
// strength (the first of equal ones); null when none.
cJednostkaLotnicza* FindCountryInterceptor(const cWorld& world, int defendingCountry, int x, int y);
// The strongest carrier at the sea node of a country at war with the
// attacking country, with at least the least carrier hit points; null none.
cJednostkaMorska* FindBestCarrierInterceptor(const cWorld& world, int seaNodeId, int attackingCountry);

// Friendly to enemy air power of the country within reach of (x, y); -1 when
// the enemy has none there.
float GetAirSuperiorityRatio(const cWorld& world, int countryId, int x, int y);

// The bombardment of the ships (and, for a port, the harbour) at the node by
// the air unit or ship on the hex (hx, hy).
void ResolveSeaNodeAirBombardment(cWorld& world, sWezelGrafuMorz& node, cUnit& attacker, int hx, int hy,
                                  sBombardmentResult& result);
// A nuclear strike on the port: size 1, every ship there sunk on a d100
// below 50.
void ResolveSeaNodeNuclearStrike(cWorld& world, sWezelGrafuMorz& node, sBombardmentResult& result);

// The strategic bombardment of the city by the unit on its hex (hx, hy):
// production lost by dice and the attacker's loss by the air superiority.
void StrategicBombardment(cWorld& world, cCity& city, cUnit& attacker, int hx, int hy,
                          sBombardmentResult& result);
// A nuclear strike on the city: production lost, and its port struck.
void ApplyNuclearStrike(cWorld& world, cCity& city, sBombardmentResult& result);
