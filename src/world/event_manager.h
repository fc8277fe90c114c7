// The event scripting of one world: the parsed event files, the events
// built from them in testing order, which events the current events check
// has tested, the event that fired last and the texts its effects queued
// for the player. Loading and validation: files/event_loader.h; conditions,
// firing and effects: rules/event_firing.h and rules/event_effects.h.
#pragma once

#include <memory>
#include <string>
#include <vector>
#include <list>

#include "world/event_records.h"

class TiXmlDocument;

class cEventManager {
 public:
  cEventManager();
  ~cEventManager();
  cEventManager(const cEventManager&) = delete;
  cEventManager& operator=(const cEventManager&) = delete;

  // One parsed document per line of "event_files.txt", in file order, with
  // the file name as the line gave it.
  struct sDocument {
    std::string fileName;
    std::unique_ptr<TiXmlDocument> xml;
  };

  // Clears every event's "tested in this check" bit.
  void ClearCheckedFlags();
  // The bit of an event id; ids outside 0..highest have none (false, and
  // setting them does nothing).
  bool IsChecked(int eventId) const;
  void SetChecked(int eventId);
  // Sizes the bits to highest id + 1, all clear.
  void ResetChecked(int highestId);

  // Copies the first event with the id into firedEvent and queues it to be
  // fired by the next events check whatever its date and condition; false
  // when there is none. Logs the search.
  bool ForceFireEvent(int eventId);

  std::vector<bool> checked;
  std::vector<sDocument> documents;
  // Scratch lists of validation.
  std::list<sEventExpression> expressions;
  std::list<sEventEffect> effects;
  std::list<sEvent> events;
  sEvent firedEvent;
  // Events forced by the developer, fired first by the next events check.
  std::list<sEvent> forcedEvents;
  std::list<std::wstring> messages;
};
