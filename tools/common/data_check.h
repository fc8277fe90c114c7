// The data check of a scenario: for each rule whose effect the scenario's
// constants scale, the effect of a typical case worked out with the
// scenario's own numbers, and a warning where the rule can never take
// effect (a strike that always falls to its floor, a chance that is always
// 0, a factor given on a scale of 10 where the rule divides by 100, a
// bombing step no bomber's strength holds, an air range that reaches nothing
// or that the computer's rebasing never finds a city within, an air
// replacement that never raises a unit); a port whose sea node reaches no
// open sea; a sea battle that never starts or a surprise attack that never
// comes; two enemy navies whose fleets never patrol the same sea zone; a
// target of the computer's standing orders that no land route joins to its
// owner. The scenario tool runs it on the world it builds, check_scenario
// on the world it loads.
#pragma once

#include <functional>
#include <string>
#include <vector>

class cWorld;

struct sDataCheckFiles {
  std::string consts = "consts.csv";
  std::string seaEdges = "sea_edges.csv";
  std::string ai = "ai_data.csv";
  // The line of the constants file that holds a data line (1-184); 0 when
  // it is not known.
  std::function<int(int dataLine)> constsFileLine;
};

// The warnings, each a "WARNING: ..." line naming the file, the line and
// the value at fault. None for a sound scenario.
std::vector<std::string> CheckScenarioData(const cWorld& world, const sDataCheckFiles& files);

// The file line of each data line of a constants file in the game's format
// (text: the file's contents): comments ("#" first) and lines of nothing
// but blanks and ";" do not count. Index 0 unused; 0 where the file ends
// first.
std::vector<int> ConstsFileLines(const std::string& text);
