// What a headless game leaves, as the runner writes it: per country its
// units, cities and victory points, the holders of named cities, the events
// fired and the speed of the run. One record a line, "key=value" fields
// (texts in double quotes), for people and for the soak script's grep.
#pragma once

#include <string>
#include <vector>

#include "common/log_lines.h"
#include "headless_game/headless_play.h"

class cWorld;

struct sCountrySummary {
  int id = 0;
  std::wstring name;
  int alliance = 0;
  bool active = false;
  int land = 0;     // on the map and aboard ships
  int air = 0;      // on the map
  int naval = 0;    // at sea or in port
  int reserve = 0;  // land, air and ships not yet placed
  int cities = 0;   // cities whose hex it controls
  int victoryPoints = 0;
};

struct sCityHolder {
  std::wstring city;
  int x = 0;
  int y = 0;
  int controllerId = 0;  // 0: nobody
  std::wstring controller;
};

struct sHeadlessSummary {
  std::wstring scenario;
  unsigned seed = 0;
  int impulsesAsked = 0;
  sHeadlessPlay play;
  int month = 0;
  int year = 0;
  std::vector<int> firedEvents;  // event ids in the order they fired
  std::vector<sCountrySummary> countries;
  std::vector<sCityHolder> holders;
};

// The countries of the world and the holders of the named cities (a name the
// scenario has not is left out; the first city of a name counts).
void SummariseWorld(const cWorld& world, const std::vector<std::wstring>& cityNames, sHeadlessSummary& summary);

// The ids of the events fired, from the log's lines: a condition found true
// ("Condition for event with ID=<id> is true. Firing...") or an event
// forced by the developer ("Firing forced event ID=<id>").
std::vector<int> FiredEventsInLog(const std::vector<std::wstring>& lines);

// The summary as the runner prints and writes it.
std::string FormatSummary(const sHeadlessSummary& summary);
