// The commander weights the unit operations read, taken from the scenario
// constants when a game is loaded (CommanderWeightsOf). A world that never
// read its constants keeps the neutral defaults (no weight, no falloff).
// Every other value the units read (command range, maximum supply, harbour
// strength, strategic move costs) comes from the world's scenario constants
// directly.
#pragma once

struct sScenarioConstants;

struct sUnitConstants {
  int skillWeight = 0;
  int experienceWeight = 0;
  int distanceFalloff = 0;
  int lossPreventionWeight = 0;
  int damageDoublingWeight = 0;
  int bombardmentBonusWeight = 0;
};

// The weights of "consts.csv": skill and experience weight from data line
// 179 columns 1 and 2, the distance falloff from line 127 column 2, the
// loss-prevention, damage-doubling and bombardment-bonus weights from line
// 179 columns 3, 4 and 5.
sUnitConstants CommanderWeightsOf(const sScenarioConstants& constants);
