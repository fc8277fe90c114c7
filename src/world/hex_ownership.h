// The small ownership questions many rules ask of a hex, answered from the
// world given (its countries' alliances and the war flags). Country id 0
// stands for nobody: allied with no one, at war with no one.
#pragma once

class cWorld;
struct sHex;

// Both countries exist and belong to the same alliance (a neutral country
// is allied with no one, not even itself).
bool AreAllied(const cWorld& world, int a, int b);
// The war flag of a towards b.
bool AreAtWar(const cWorld& world, int a, int b);

// Land whose controller is the country, an ally or an enemy of it (not a
// neutral at peace); a hex without controller gives false.
bool IsHexLandNotNeutralFor(const cWorld& world, const sHex& hex, int countryId);
// False when a visible unit stands on the hex; otherwise land that is not
// mountain, whose controller is nobody, the country, an ally or an enemy.
bool IsHexAirborneDropTarget(const cWorld& world, const sHex& hex, int countryId);
// The hex has an owner other than the country and that owner is at war
// with it.
bool IsHexOwnerAtWarWith(const cWorld& world, const sHex& hex, int countryId);
// The controller is the country, or (when there is one) allied with it.
bool IsHexControllerFriendly(const cWorld& world, const sHex& hex, int countryId);
// Controller and owner are both the country; otherwise, when both exist,
// both are allied with it.
bool IsHexFullyFriendly(const cWorld& world, const sHex& hex, int countryId);
