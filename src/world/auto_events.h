// The automatic-events repository: for each scripted event, the option taken
// for it automatically. A saved game keeps it in "auto_events.csv"
// (files/auto_events_file.h).
#pragma once

#include <cstdint>
#include <list>
#include <utility>

class cAutoEventsRepository {
 public:
  using Pair = std::pair<std::int32_t, std::int32_t>;  // event id, option id

  // Appends the pair unless one with the same event id is there already.
  bool Add(int eventId, int optionId);

  // Empties the list.
  void Clear() { pairs_.clear(); }
  // Appends the pair as a file holds it, a repeated event id included.
  void Append(int eventId, int optionId) { pairs_.emplace_back(eventId, optionId); }

  const std::list<Pair>& Pairs() const { return pairs_; }

 private:
  std::list<Pair> pairs_;
};
