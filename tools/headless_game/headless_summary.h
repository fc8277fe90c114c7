// What a headless game leaves, as the runner writes it: per country its
// units, cities and victory points and the impulse at which it fell, the
// holders of named cities, the events fired, what the war was made of (from
// the log) and the speed of the run. One record a line, "key=value" fields
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
  int fell = -1;  // impulse of the run at which it lost its last city or
                  // surrendered; -1 never
};

struct sCityHolder {
  std::wstring city;
  int x = 0;
  int y = 0;
  int controllerId = 0;  // 0: nobody
  std::wstring controller;
};

// What the war was made of, counted over the log's lines (the convoy raids
// over the world's reports, by SummariseWorld).
struct sWarShape {
  int landBattles = 0;
  int airFights = 0;
  int airStrikes = 0;      // strikes on land units (by air and from the sea)
  int flooredStrikes = 0;  // of them, those at the floor strength of 1
  int cityRaids = 0;
  int cityRaidsHurting = 0;  // of them, those that destroyed production
  int seaBattles = 0;             // fleets that met enemy formations
  int raiderHunts = 0;            // enemy raiders found and fought
  int convoyRaids = 0;           // attacks that cost a convoy STP (from the world's reports)
  int landings = 0;              // landings from the sea the computer made
  int airReplacements = 0;       // air units the computer replenished
  int computerWars = 0;          // declarations of war by the computer (not by the events)
  int pathRefusals = 0;          // orders refused for want of a path
  int fleetPathWarnings = 0;     // fleets sent where the sea graph has no path
  std::vector<int> firedEvents;  // event ids in the order they fired
};

// Adds one line of the log to the counts.
void CountWarLine(const std::wstring& line, sWarShape& shape);
// The counts of a log file, read as a stream; false when it cannot be read.
bool CountWarLog(const std::string& path, sWarShape& shape);

struct sHeadlessSummary {
  std::wstring scenario;
  unsigned seed = 0;
  int impulsesAsked = 0;
  sHeadlessPlay play;
  int month = 0;
  int year = 0;
  std::vector<int> firedEvents;  // event ids in the order they fired
  sWarShape war;
  std::vector<sCountrySummary> countries;
  std::vector<sCityHolder> holders;
};

// The countries of the world and the holders of the named cities (a name the
// scenario has not is left out; the first city of a name counts).
// The impulses at which countries fell come from the play record.
void SummariseWorld(const cWorld& world, const std::vector<std::wstring>& cityNames, sHeadlessSummary& summary);

// The ids of the events fired, from the log's lines: a condition found true
// ("Condition for event with ID=<id> is true. Firing...") or an event
// forced by the developer ("Firing forced event ID=<id>").
std::vector<int> FiredEventsInLog(const std::vector<std::wstring>& lines);

// The summary as the runner prints and writes it.
std::string FormatSummary(const sHeadlessSummary& summary);
