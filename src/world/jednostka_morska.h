// The ship record: the fields, the clamped hit-point change, joining a fleet,
// putting its cargo ashore and death. Sea battles, recon and bombardment are
// in the naval operations' files.
#pragma once

#include <string>
#include <vector>

#include "world/unit.h"

class cFleet;
class cJednostkaLadowa;
class cWorld;
struct sBombardmentResult;
struct sWezelGrafuMorz;

// Whether a sea node may take a ship from the reserve: a port (not a sea
// zone) at least the deploy size of the ship's type whose city hex the
// ship's country controls.
enum class eDeployPort { kFits, kNotAPort, kTooSmall, kNotHeld };

class cJednostkaMorska : public cUnit {
 public:
  // A ship of the world (null: of none); category naval; the id comes from
  // the scenario.
  explicit cJednostkaMorska(cWorld* world);
  cJednostkaMorska(const cJednostkaMorska&) = default;
  cJednostkaMorska& operator=(const cJednostkaMorska&) = default;
  ~cJednostkaMorska() override = default;

  // The ports a reserve ship may be placed at (DeployPortFit kFits); with
  // mark the map's marks are cleared and each port's player-marker hex
  // marked (64).
  int MarkDeployHexes(bool mark) override;
  eDeployPort DeployPortFit(const sWezelGrafuMorz& node) const;
  // Ships move with their fleet: no range of their own.
  int ComputeMoveRange(bool) override { return 0; }

  // --- values by type and technology (submarines by the submarine level,
  // every other type by the navy level) ---
  int GetTechLevel() const;
  // The sea transport points this ship destroys in a convoy raid: a draw
  // between the type's two convoy damage values.
  int RollConvoyDamage(const cWorld& world) const;
  // ((A + B) / 2, whole) x (0.5 + 0.1 x (level - 1)).
  float GetCombatValue(const cWorld& world) const;
  // (level + 3) x 10, per cent.
  int GetHitChance() const;
  // 1 when a d100 from 0 lies below (level + 5) x 10, else 0.
  int RollShotDamage() const;
  // Takes part, has not left; carriers at or below the least carrier hit
  // points, cargo and amphibious ships stay out.
  void ResetSeaBattleFlags(const cWorld& world);
  // A carrier's or a raider submarine's attack on one enemy ship of the
  // list at its node before the sea battles; message gets the account.
  // True when an attack was launched (found a target).
  bool TrySurpriseAttack(cWorld& world, const std::vector<cJednostkaMorska*>& ships, std::wstring& message);
  // This ship's (a carrier's) strike is intercepted by a fighter or a
  // carrier: true when the interception succeeded.
  bool ResolveInterception(cUnit* interceptor, sBombardmentResult& result) override;

  // Adds delta truncated toward zero and keeps the result within
  // 0 .. maximum hit points; returns the new hit points.
  int AddHitPoints(float delta);
  // The hit points against the maximum in whole per cent, as the counter
  // and the fleets dialog show them; 0 for a ship without a maximum.
  int GetHitPointPercent() const;
  // Raises the hit points to the interception floor (a percentage of the
  // maximum) when they are lower.
  void ApplyHitPointFloor();
  // An air unit's or a carrier's strike on this ship: one hit point, maybe a
  // second, maybe the whole ship; the attacker may lose a strength point.
  void ResolveAttack(sBombardmentResult& result, cUnit* attacker, sHex* target) override;

  // Under the framework lock: the log line, the sea nodes forget the ship,
  // the carried unit is killed (killCarried) or stays alive, the ship leaves
  // its fleet (the last ship takes the fleet with it), its own commander is
  // released, and the ship leaves the naval list (or the naval reserve pool)
  // and is deleted.
  void Kill(bool killCarried);
  // The kill of the unit tree is empty for ships; they die through the one
  // above.
  using cUnit::Kill;

  // Puts a ship of the naval reserve pool into the last unmoved fleet of its
  // country at the node, or a new fleet there, and onto the naval list.
  void JoinFleetAtSeaNode(int seaNodeId);
  // The scenario scripts' form: any fleet of the country at the node, a new
  // fleet counts as moved; an unknown node is refused with a warning.
  void AssignToFleetAtNode(int seaNodeId);

  // --- the carried land unit ---
  // Where the carried unit can land: from a sea zone (amphibious ships
  // only) every coastal land hex of the zone whose owner is at war with the
  // ship's country and that holds no unit of a country it is not at war
  // with; from a port the port's hex and its six neighbours that are free
  // land held by the ship's country or an ally. With mark each such hex gets
  // mark 64. Returns the count (0 without a fleet or cargo).
  int MarkUnloadHexes(bool mark);
  // Whether (x, y) is one of the hexes MarkUnloadHexes counts.
  bool IsUnloadHex(int x, int y) const;
  // The first of the fleet's node's main hex and its six neighbours (in
  // direction order) that is free land friendly to the current country,
  // into (x, y): where the computer puts the cargo ashore (the unload rule
  // decides whether it may). Without cargo logs an error; false when no
  // such hex exists.
  bool FindCoastUnloadHex(const cWorld& world, int& x, int& y) const;
  // Lands the carried unit on the free hex (x, y), supplied from the port
  // (portX, portY): the points bound in the ship go back to the current
  // country (sea transport points for a cargo ship, amphibious points for
  // an amphibious ship), action points 0, supply and source from the port's
  // city, effectiveness recomputed, the unit on the hex and the map list,
  // the units around it revealed; the ship carries nothing. 1 when landed,
  // 0 without cargo or with the hex off the map or taken. The caller holds
  // the framework lock.
  int UnloadUnitAt(int x, int y, int portX, int portY);

  // Naval reconnaissance of a sea node: the country's sight there without
  // the spotting roll, port fleets shown; recon is then done. The report of
  // the enemy ships seen goes into the result (ReportNodeShips).
  void ReconSeaZone(cWorld& world, int seaNodeId, sBombardmentResult& result);
  // Naval reconnaissance around a hex: every unit within the country's
  // aircraft level in hexes becomes visible and is listed as spotted; the
  // report of the area goes into the result (ReconArea).
  void ReconHex(cWorld& world, int x, int y, sBombardmentResult& result);


  cFleet* fleet = nullptr;  // not owned
  // The id of the fleet the ship belongs to ("Fleet ID"); the loader links
  // fleet from it. -1 for none.
  int fleetId = -1;
  int hitPoints = 0;
  int maxHitPoints = 0;
  cJednostkaLadowa* carriedUnit = nullptr;  // not owned
  bool marked = false;
  bool takesPartInBattle = false;
  bool leftBattle = false;
  bool battleSideMarker = false;
  bool shoreBombardmentDone = false;
  bool reconDone = false;
  int seaZoneAssignment = -1;
  bool canBeBombed = true;     // the ship may be attacked from the air
  bool airstrikeDone = false;  // a carrier has flown its strike this impulse
  bool canBeRepaired = true;

 private:
  void PutIntoFleet(int seaNodeId, bool anyFleet);
};
