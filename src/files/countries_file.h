// The countries file "countries.csv": one ";"-separated row of 69 (or 70)
// fields per country, read into the world's vector of countries (index =
// id - 1) and written back by the save driver.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class cCountry;
class cWorld;

// Reads "countries.csv" from the folder pattern ("%s" stands for the file
// name) into the world's countries, replacing any it had. Country flags are
// looked for in the folder of world.scenarioName. A file that cannot be
// opened, a row with fewer than 69 fields, or an id that does not follow
// 1, 2, 3, ... ends the process (FatalExit) after its log line.
void LoadCountries(cWorld& world, std::wstring_view folderPattern);

// The file's text: the two header lines, then one row per country.
std::string FormatCountriesText(const std::vector<std::unique_ptr<cCountry>>& countries);
// Writes "<folder>\countries.csv" with the save log lines.
void WriteCountries(const cWorld& world, std::wstring_view folder);
