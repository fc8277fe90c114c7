// "auto_events.csv" of a saved game: the automatic-events repository, one
// "<event id>;<option id>" line per pair.
#pragma once

#include <string_view>

#include "world/auto_events.h"

// Writes "<folder>\auto_events.csv"; a file that cannot be written ends the
// process (exit code 1).
void SaveAutoEvents(const cAutoEventsRepository& repository, std::wstring_view folder);
// Empties the repository and reads "auto_events.csv" through the folder
// pattern (one "%s"). A missing file, a third field, a line of one field,
// an event given twice or a last line without its line end ends the
// process after its log line.
void LoadAutoEvents(cAutoEventsRepository& repository, std::wstring_view folderFormat);
