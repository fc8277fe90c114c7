// The commander weights the unit operations read. No line of the scenario
// constants file carries them, so they live beside that record until one
// does; the scenario loader may set them, and the defaults are neutral (no
// weight, no falloff). Every other value the units read (command range,
// maximum supply, harbour strength, strategic move costs) comes from the
// world's scenario constants.
#pragma once

struct sUnitConstants {
  int skillWeight = 0;
  int experienceWeight = 0;
  int distanceFalloff = 0;
  int lossPreventionWeight = 0;
  int damageDoublingWeight = 0;
  int bombardmentBonusWeight = 0;
};
