// What a play-by-e-mail game keeps of each sea battle fought at the end of
// an impulse, so that the players who were not at the screen can read it:
// where it was fought, the report of its preliminary stage, its log with the
// final report, and the ships of each side as they stood at its start.
#pragma once

#include <string>
#include <vector>

struct sSeaBattleRecord {
  std::wstring seaAreaName;
  std::wstring preliminaryReport;
  std::wstring finalReport;
  std::vector<std::wstring> firstSideShips;   // "name (country)", one per ship
  std::vector<std::wstring> secondSideShips;
};
