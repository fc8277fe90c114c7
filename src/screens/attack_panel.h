// The attack panel: the odds of the land attack the player is setting up on
// the map, before it is fought. Who attacks and who defends, each side's
// strength, the product of its modifiers (the breakdown in the hint), its
// effective strength and the odds column. Every number comes from the
// world's pending attack set-up, so the preview is what the battle will
// use; the panel computes nothing and has no controls that act.
#pragma once

#include "screens/panel.h"

class cWorld;

constexpr int kAttackPanelFrameId = 451;
constexpr int kAttackPanelBlockLast = 473;
constexpr int kAttackDefenderLabelId = 453;
constexpr int kAttackDefenderNameId = 454;
constexpr int kAttackDefenderFlagId = 455;
constexpr int kAttackDefenderStrengthId = 457;
constexpr int kAttackDefenderModifierId = 459;
constexpr int kAttackDefenderEffectiveId = 461;
constexpr int kAttackAttackersLabelId = 463;
constexpr int kAttackAttackersId = 464;
constexpr int kAttackAttackerFlagId = 465;
constexpr int kAttackAttackerStrengthId = 467;
constexpr int kAttackAttackerModifierId = 469;
constexpr int kAttackAttackerEffectiveId = 471;
constexpr int kAttackColumnId = 473;

class cAttackPanel : public cPanel {
 public:
  // The controls in the order attacker names, flag, strength, modifier,
  // effective strength, then the defender's, then the column; every value
  // reads "-" and both flags are hidden.
  explicit cAttackPanel(cWorld& world);

  // Shows the world's pending attack set-up (or "-" everywhere without
  // one): the attackers' side when at least one side attacks, the
  // defender's side when there is a defender, the column when both.
  void ShowAttack();

 private:
  cWorld& world_;
};
