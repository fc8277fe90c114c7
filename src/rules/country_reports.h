// A country's own steps of the end of an impulse: surrender, production,
// unit upkeep, research and the land warfare doctrine. Each writes what it
// did into a report of a title and a body. The caller holds the framework
// lock.
#pragma once

#include <string>
#include <vector>

class cCountry;
class cWorld;

struct sCountryReport {
  std::wstring title;
  std::wstring body;
};

// The country surrenders: the victors' shares of its losses are reported,
// its forces leave the game, its land passes to the victor with the largest
// share, its cities lose their supply role, its wars end and it becomes
// inactive. With no victor (nobody dealt it losses or is at war with it)
// its land stays as it is. Returns the victor, or null.
cCountry* Surrender(cWorld& world, cCountry& country, sCountryReport& report);

// Production of the country's cities, resources and shares of annexed
// land, by civil order, war economy and difficulty.
void CalculateCountryProduction(cWorld& world, cCountry& country, sCountryReport& report);
// Upkeep of the country's land and air units, on the map and in reserve,
// paid from its production points; report may be null.
void PayUnitUpkeep(cWorld& world, cCountry& country, sCountryReport* report);
// A month of research in every technology the country invests in.
void ResearchMonthly(cWorld& world, cCountry& country, sCountryReport& report);
// A month less for every doctrine stage; the doctrine rises while its
// stage's months have run out. Returns the messages of each level reached
// by a human country (the caller shows them outside the lock).
std::vector<std::wstring> UpdateLandWarfareDoctrine(cCountry& country);
// One level more when the months of the current level's stage have run
// out (level below 5); the message of a human country's new level is
// appended. False when the level stays.
bool RaiseDoctrineIfStageDone(cCountry& country, std::vector<std::wstring>& messages);
