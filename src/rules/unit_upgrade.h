// Upgrading a land division to the corps of its kind and raising a land or
// air unit's level, as the unit panel and the computer opponent order them.
// The checks and costs are the unit's own (CanUpgradeToCorps,
// GetUpgradeToCorpsCost, CanLevelUp, GetLevelUpCost); these actions run the
// check and the change in one step under the framework lock.
#pragma once

class cJednostka;
class cWorld;

// Why an upgrade or a level-up is refused. The player is told by the unit's
// own check (CanUpgradeToCorps, CanLevelUp), which writes the formatted
// hint of the greyed icon.
enum class eUpgradeRefusal {
  kNone = 0,
  kNotOnMap,              // the unit does not stand on the map
  kNotOwnUnit,            // the unit does not belong to the country whose turn it is
  kAirUnit,               // air units have no corps form
  kMulberry,              // an artificial harbour is neither upgraded nor levelled up
  kAirborne,              // an airborne division has no corps form
  kAlreadyCorps,          // the unit is a corps already
  kNoCorpsForm,           // a type whose corps cost cannot be worked out (logged)
  kNotInOwnedHex,         // the unit's hex is not owned by its country
  kNotFullActionPoints,   // the unit has acted in this impulse (or is not frozen without points)
  kMaxLevel,              // level 5 already
  kNoTechnology,          // the country's research does not allow the next level
  kNotEnoughProduction,   // the country cannot pay the cost
};

// The corps upgrade: type + 1, the strength that keeps the combat strength,
// the cost paid, action points 0, the range and the map marks cleared.
eUpgradeRefusal CheckUpgradeToCorps(const cWorld& world, cJednostka& unit);
eUpgradeRefusal UpgradeToCorps(cWorld& world, cJednostka& unit);

// The level-up: level + 1 (a land unit's strength is rescaled to the new
// base strength), the cost paid, action points 0.
eUpgradeRefusal CheckLevelUp(const cWorld& world, cJednostka& unit);
eUpgradeRefusal LevelUp(cWorld& world, cJednostka& unit);

// The computer opponent's level-up (worker thread): the same check, the log
// line "[AI]: <country> - upgrading <unit> (level up)", the view following
// the unit when it is shown, the replacement delays around one locked step
// that asks the check again before it changes the unit.
eUpgradeRefusal AiLevelUp(cWorld& world, cJednostka& unit);
