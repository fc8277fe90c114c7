// The scenario constants file "consts.csv": its reader and writer over the
// world's record of constants (world/scenario_constants.h).
#pragma once

#include <string>
#include <string_view>

#include "world/scenario_constants.h"

// Reads "data\scenarios\<scenarioName>\consts.csv". A file that cannot be
// opened, or a constant that the rules divide by or bound a table or grid
// with that is out of range, ends the process (FatalExit). Data line 179
// without its columns 4 and 5 (damage-doubling and bombardment-bonus weight)
// gives the missing ones the loss-prevention weight of column 3, with one
// log line.
void LoadScenarioConstants(sScenarioConstants& constants, std::wstring_view scenarioName);
// The same for a file named directly.
void LoadScenarioConstantsFile(sScenarioConstants& constants, std::wstring_view path);

// The text of a "consts.csv" holding the record's values: a comment line,
// then the 184 data lines (labels where the line has a label column, "%i"
// integers, "%f" floats), CR LF between lines and none after the last.
std::string FormatConstsText(const sScenarioConstants& constants);
// Writes FormatConstsText to path with the save log lines; an open failure
// ends the process.
void WriteConstsFile(std::wstring_view path, const sScenarioConstants& constants);
