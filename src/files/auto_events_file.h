// The automatic-events repository: for each scripted event, the option taken
// for it automatically; a saved game keeps it in "auto_events.csv", one
// "<event id>;<option id>" line per pair.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <string_view>
#include <utility>

class cAutoEventsRepository {
 public:
  using Pair = std::pair<std::int32_t, std::int32_t>;  // event id, option id

  // Appends the pair unless one with the same event id is there already.
  bool Add(int eventId, int optionId);
  // The first pair of that event id, or end().
  std::list<Pair>::const_iterator Find(int eventId) const;
  std::list<Pair>::const_iterator end() const { return pairs_.end(); }

  // Writes "<folder>\auto_events.csv"; a file that cannot be written ends
  // the process (exit code 1).
  void Save(std::wstring_view folder) const;
  // Empties the list and reads "auto_events.csv" through the folder pattern
  // (one "%s"). A missing file, a third field or a line of one field ends
  // the process after its log line.
  void Load(std::wstring_view folderFormat);

  const std::list<Pair>& Pairs() const { return pairs_; }

 private:
  std::list<Pair> pairs_;
};
