// The air unit record: the fields, the constructors, placement and death.
// Its flying, fighting and panel behaviour comes with the air operations;
// until then the operations that belong to them give neutral answers
// (nothing reachable, nothing allowed, nothing drawn).
#pragma once

#include "world/unit.h"

class cJednostkaLotnicza : public cJednostka {
 public:
  // Takes the next id of the world's air-unit counter (the first unit after
  // a counter value n gets n + 1); category air.
  cJednostkaLotnicza();
  // Member-wise copy (the id is copied too).
  cJednostkaLotnicza(const cJednostkaLotnicza&) = default;
  cJednostkaLotnicza& operator=(const cJednostkaLotnicza&) = default;
  ~cJednostkaLotnicza() override = default;

  void UpdateEffectiveness() override {}
  int MarkDeployHexes(bool) override { return 0; }
  int ComputeMoveRange(bool) override;
  // Removes the unit from the air list (or the reserve pool) and its hex,
  // releases its own commander and deletes it.
  void Kill() override;
  void SetActionPoints(int n) override { actionPoints = n; }
  void ResetActionPoints() override {}
  void GetEffectivenessHint(std::wstring& buffer) override { buffer.clear(); }
  float GetCombatStrength() override { return strength; }
  int GetStrength() override { return static_cast<int>(strength); }
  void AddStrength(float delta) override { strength += delta; }
  float GetBaseStrength() override { return 0.0f; }
  bool IsHexInMoveRange(int, int) override { return false; }
  float GetEffectiveCombatStrength() override { return strength; }
  bool MoveAside() override { return false; }
  void Draw(float, float, float, int) override {}
  void DrawInRect(const plat::RectI&) override {}
  bool CanUpgradeToCorps(std::wstring* hint) override { return Refuse(hint); }
  int GetUpgradeToCorpsCost() override { return 0; }
  void UpgradeToCorps() override {}
  bool CanLevelUp(std::wstring* hint) override { return Refuse(hint); }
  int GetLevelUpCost() override { return 0; }
  void LevelUp() override {}
  bool CanReplenish(std::wstring* hint) override { return Refuse(hint); }
  bool CanStrategicMove(std::wstring* hint) override { return Refuse(hint); }
  bool CanAirborneAssault(std::wstring* hint) override { return Refuse(hint); }
  bool CanSeaTransport(std::wstring* hint) override { return Refuse(hint); }
  bool CanAmphibiousTransport(std::wstring* hint) override { return Refuse(hint); }
  bool CanAirFight(std::wstring* hint) override { return Refuse(hint); }
  bool CanBombard(std::wstring* hint) override { return Refuse(hint); }
  bool CanNuclearAttack(std::wstring* hint) override { return Refuse(hint); }
  bool CanAirRecon(std::wstring* hint) override { return Refuse(hint); }
  // Leaves the map for the reserve pool.
  void MoveToReservePool() override;

  float strength = 0.0f;
  bool reconDone = false;

 private:
  static bool Refuse(std::wstring* hint) {
    if (hint) hint->clear();
    return false;
  }
};
