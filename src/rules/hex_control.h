// Changes of control over hexes in bulk: the absorption of cut-off land at
// the end of an impulse, the annexation of a surrendering country, the event
// operations on whole countries and on vertical stripes of hexes, and the
// return of occupied land. A unit left on land of a country its own is not
// allied with goes to its reserve pool; the event operations send such
// fleets out of the ports they hand over.
#pragma once

class cJednostka;
class cWorld;

// Every land hex that no city's controller reaches over its own or allied
// land passes to the enemy next to it (the first side, in side order, whose
// reached neighbour's controller is at war with the hex's), unless a unit
// stands on it or an artificial harbour of its controller or an ally lies
// closer than the harbour range. Owners do not change.
void AbsorbHexesWithoutSupply(cWorld& world);

// The surrender of country a to b: what a controlled and owned becomes b's,
// what a controlled of another owner goes back to its owner, what a owned
// under another controller becomes that controller's; the units found on
// a's land are handled, and ports changing hands are evacuated. Original
// owners stay.
void AnnexCountry(cWorld& world, int annexed, int annexer);
// A unit on annexed land: an ally of the annexed country goes to its reserve
// pool (the result is true); an enemy stays (true). A unit that is neither
// is a broken game: three log lines, then the end (code 1).
bool HandleUnitOnAnnexedHex(cWorld& world, int annexed, cJednostka& unit);

// Every hex the first country controls becomes the second's (controller,
// owner and original owner); units that are not the second's nor allied
// with it go to their reserve pools, such fleets in its ports put to sea.
void TransferCountryTerritory(cWorld& world, int from, int to);

// Every hex whose controller differs from its owner, where one of the two is
// the country, goes back to its owner.
void ReturnOccupiedHexes(cWorld& world, int countryId);

// The hexes (x, y0) to (x, y0 + n - 1) become the country's (controller and
// owner; the second also original owner); units of other countries not
// allied with it go to their reserve pools, such fleets in its ports put to
// sea. Parameters outside the map are logged and change nothing (false).
bool ChangeHexStripeControllerAndOwner(cWorld& world, int x, int y0, int n, int countryId);
bool ChangeHexStripeControllerOwnerAndOriginalOwner(cWorld& world, int x, int y0, int n, int countryId);
