// The air unit: fighters (20), tactical bombers (21) and strategic bombers
// (22). Air units have no movement range: they rebase to free friendly land
// hexes within a flight range that grows with their country's aircraft
// research, and they act through missions (air fight, bombardment, nuclear
// strike, reconnaissance). The orders that change the world go through
// rules/air_orders.h, which runs each check first.
#pragma once

#include <set>

#include "world/unit.h"

class cWorld;

class cJednostkaLotnicza : public cJednostka {
 public:
  // An air unit of the world (null: of none); takes the next id of the
  // world's air-unit counter (the first unit after a counter value n gets
  // n + 1); category air.
  explicit cJednostkaLotnicza(cWorld* world);
  // Member-wise copy (the id is copied too).
  cJednostkaLotnicza(const cJednostkaLotnicza&) = default;
  cJednostkaLotnicza& operator=(const cJednostkaLotnicza&) = default;
  ~cJednostkaLotnicza() override = default;

  // --- Virtual operations ---
  // This unit (on a mission) is intercepted by a fighter or a carrier; true
  // when the mission is stopped. Killed interceptors are removed here; this
  // unit, when it falls below 0.1, is only flagged (the caller removes it).
  bool ResolveInterception(cUnit* interceptor, sBombardmentResult& result) override;
  // Air units are always at 100.
  void UpdateEffectiveness() override { effectiveness = 100; }
  // The free hexes on and next to the current country's supplied cities
  // where a reserve air unit may be placed (mark 64 when marking).
  int MarkDeployHexes(bool mark) override;
  // The rebase hexes (CountRebaseHexes with mark = not countOnly).
  int ComputeMoveRange(bool countOnly) override;
  // An aircraft carrier's strike on this unit is an air fight; nothing else.
  void ResolveAttack(sBombardmentResult& result, cUnit* attacker, sHex* target) override;
  // Under the framework lock: the selection and move records forget the
  // unit, it leaves the air list (or the reserve pool) and its hex, no
  // country keeps it as recon-spotted, its own commander is released, and it
  // is deleted.
  void Kill() override;
  void SetActionPoints(int n) override { actionPoints = n; }
  // Action points of its type from the scenario; 0 without supply.
  void ResetActionPoints() override;
  void GetEffectivenessHint(std::wstring& buffer) override;
  float GetCombatStrength() override { return strength; }
  int GetStrength() override { return static_cast<int>(strength); }
  void AddStrength(float delta) override { strength += delta; }
  // The full strength of its type.
  float GetBaseStrength() override;
  bool IsHexInMoveRange(int, int) override { return false; }
  float GetEffectiveCombatStrength() override { return strength; }
  // Air units have no corps form: the check refuses with its hint; the cost
  // and the upgrade log the refusal and change nothing.
  bool CanUpgradeToCorps(std::wstring* hint) override;
  float GetUpgradeToCorpsCost() override;
  void UpgradeToCorps() override;
  bool CanLevelUp(std::wstring* hint) override;
  // P(level) - P(level - 1), P(L) = B + B x level price percent x L / 100,
  // B = full strength x unit price of the type.
  float GetLevelUpCost() override;
  // Pays the cost; level + 1; action points 0 (the check is the caller's).
  void LevelUp() override;
  bool CanReplenish(std::wstring* hint) override;
  bool CanStrategicMove(std::wstring* hint) override;
  bool CanAirborneAssault(std::wstring* hint) override;
  bool CanSeaTransport(std::wstring* hint) override;
  bool CanAmphibiousTransport(std::wstring* hint) override;
  bool CanAirFight(std::wstring* hint) override;
  bool CanBombard(std::wstring* hint) override;
  bool CanNuclearAttack(std::wstring* hint) override;
  bool CanAirRecon(std::wstring* hint) override;

  // --- Ranges ---
  // The aircraft range multiplier of its country's aircraft level (the
  // table is bounded: levels outside 1..5 take the nearest end).
  float RangeMultiplier(const cWorld& world) const;
  // Mission range: base fighter range x multiplier (strategic bombers: the
  // strategic attack range), truncated.
  int GetRange(const cWorld& world) const;
  // Rebase range: rebase range x multiplier (strategic bombers: the
  // strategic rebase range), truncated.
  int GetRebaseRange(const cWorld& world) const;
  // Reconnaissance range: base fighter range x multiplier, every type.
  int GetReconRange(const cWorld& world) const;
  // Whether (hx, hy) lies on the map within r hexes of the unit.
  bool IsWithin(const cWorld& world, int hx, int hy, int r) const;
  // Whether the unit may rebase at all now: all action points unspent and
  // supply at least the rebase minimum of its type.
  bool CanRebaseNow(const cWorld& world) const;
  // Whether (hx, hy) is a rebase target: a free land hex, controlled by the
  // current country or an ally, within the rebase range.
  bool IsRebaseHex(const cWorld& world, int hx, int hy) const;
  // Counts (and with mark, marks 128 over a dimmed map) the rebase hexes.
  int CountRebaseHexes(cWorld& world, bool mark);
  // Moves the unit: the sound (unless told not to: the computer's rebase
  // plays it only when shown, before its delays), the hex links, the
  // position, action points 0.
  void Rebase(cWorld& world, int hx, int hy, bool sound = true);
  // The sound of a flight (played by the main thread).
  void PlayFlyingSound() const;

  // --- Target searches (mark false only counts) ---
  int MarkReconHexes(cWorld& world, bool mark);
  int MarkBombardmentTargets(cWorld& world, bool mark);
  int MarkAirFightTargets(cWorld& world, bool mark);
  int MarkNuclearTargets(cWorld& world, bool mark);
  // Single-hex forms of the searches, for the order checks. What is seen
  // of the units: with sight null what the map shows (the units' visible
  // flags, the player's view); else what that country's side sees
  // (SideSeesUnit), the computer deciding in its own sight, and at sea the
  // ships of a country at war at the node rather than those the map's
  // viewer spotted.
  bool IsReconTarget(const cWorld& world, int hx, int hy) const;
  bool IsBombardmentTarget(const cWorld& world, int hx, int hy, const cCountry* sight = nullptr) const;
  bool IsAirFightTarget(const cWorld& world, int hx, int hy, const cCountry* sight = nullptr) const;
  bool IsNuclearTarget(const cWorld& world, int hx, int hy) const;
  // Among the enemy air units of that type within range that this unit may
  // fight (IsAirFightTarget: on the map and seen in that sight), the one
  // with the lowest interception bonus + strength + level; the first on a
  // tie.
  cJednostkaLotnicza* FindWeakestEnemyAirInRange(const cWorld& world, int airType,
                                                 const cCountry* sight = nullptr) const;

  // --- Missions ---
  // This unit is attacked by a fighter (which spends an action point) or an
  // aircraft carrier. A killed defender is removed here; a killed attacker
  // is only flagged.
  void AirFight(cWorld& world, sBombardmentResult& result, cUnit* attacker);
  // Reconnaissance of the land around (hx, hy), or of a sea zone: one action
  // point and the recon flag are spent, an interception may stop it.
  void ReconHex(cWorld& world, int hx, int hy, sBombardmentResult& result);
  void ReconSeaZone(cWorld& world, int seaNodeId, sBombardmentResult& result);
  // Nuclear strike on (hx, hy).
  void NuclearStrike(cWorld& world, int hx, int hy, sBombardmentResult& result);

  // --- Fields ---
  float strength = 0.0f;
  bool reconDone = false;
};

// The interception bonus of a supply level (the table is bounded).
int InterceptionBonus(const cWorld& world, int supplyLevel);
// The air combat tables by die (1..6) and column (-4..4, clamped).
int AirAttackerLoss(const cWorld& world, int die, int column);
int AirDefenderLoss(const cWorld& world, int die, int column);
