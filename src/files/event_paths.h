// Where event files may be read from and where their dump goes. The lines
// of "event_files.txt" name files relative to the working folder; only
// files inside the scenario's own folder are read, whatever a line says.
// The dump is written only into the working folder's "dump" folder.
#pragma once

#include <string>
#include <string_view>

// The scenario's folder as the game writes it: "data\scenarios\<name>\".
std::wstring EventScenarioFolder(std::wstring_view scenarioName);

// True when fileName (a line of "event_files.txt", "\" or "/" between
// folders) names a file inside "data/scenarios/<scenarioName>/": relative,
// without "..", below that folder (folder names compared without regard to
// ASCII case, as paths are looked up). When the file exists, the path it
// really reaches (links followed) must lie inside the scenario's folder
// too.
bool IsEventFileInScenario(std::string_view fileName, std::string_view scenarioName);

// The dump folder of the working folder.
inline constexpr const char* kEventDumpFolder = "dump";
// The dump file of a document: "dump/" and the file's base name without its
// last four characters (".xml"); the whole base name when too short for that.
std::string EventDumpPath(std::string_view documentName);
