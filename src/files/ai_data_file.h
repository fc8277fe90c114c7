// The computer opponent's data file "ai_data.csv": per country (selected by
// a "Country;<id>" line) one line per key with its values, read into the
// sCountryAiData of each country and written back by the save driver.
#pragma once

#include <string>
#include <string_view>

class cWorld;

// Reads "ai_data.csv" from the folder pattern ("%s" stands for the file
// name) into the countries of the world, whose map and cities must be
// loaded. A file that cannot be opened, an unknown key, a "Country" id
// outside the world's countries, values before the first "Country" line,
// city coordinates without a city and sea-invasion targets that are not
// ports end the process (FatalExit) after their log line. A key without
// values is skipped with a WARNING, or in a saved game (world.savedGame),
// whose writer never leaves one, ends the load as damaged; so does there a
// line of fewer values than the game writes for its key (a line cut short).
void LoadAiData(cWorld& world, std::wstring_view folderPattern);

// Whether a line of the file holds a known key with as many values as the
// game writes for it: false for the rest of a line cut short.
bool IsWholeAiDataLine(std::string_view line);

// The file's text for every country of the world, in order.
std::string FormatAiDataText(const cWorld& world);
// Writes "<folder>\ai_data.csv" with the save log lines.
void WriteAiData(const cWorld& world, std::wstring_view folder);
