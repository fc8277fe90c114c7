// The records of a scenario's scripted events as the XML event files give
// them (files/event_loader.h reads them): an event belongs to one country,
// may be limited to a range of dates, holds a tree of comparisons over the
// game's queries and offers options, each a list of effects. Plain values,
// copied freely; lists keep the file's order.
#pragma once

#include <array>
#include <cstdint>
#include <list>
#include <string>

// The marks of a number the file did not give.
constexpr double kEventUnsetParam = -2147483647.0;
constexpr std::int32_t kEventUnsetInt = static_cast<std::int32_t>(0x80000001u);
// Event ids lie in 0..kMaxEventId; flags are indexed 0..kEventFlagCount-1.
constexpr int kMaxEventId = 40000;
constexpr int kEventFlagCount = 40000;

// A numeric parameter counts as given when it is not the unset mark.
inline bool IsEventParamDefined(double value) { return value != kEventUnsetParam; }

struct sEventOperand {
  bool methodKnown = false;  // set by validation on its own copies
  std::int32_t line = kEventUnsetInt;
  std::wstring method;  // empty for a constant
  double constValue = kEventUnsetParam;
  std::array<double, 10> param{kEventUnsetParam, kEventUnsetParam, kEventUnsetParam, kEventUnsetParam,
                               kEventUnsetParam, kEventUnsetParam, kEventUnsetParam, kEventUnsetParam,
                               kEventUnsetParam, kEventUnsetParam};
};

struct sEventExpression {
  sEventOperand left;
  sEventOperand right;
  std::int32_t operatorLine = kEventUnsetInt;
  // "equals", "notEquals", "greater", "less", "greaterOrEqual" or
  // "lessOrEqual".
  std::wstring operatorValue;
};

// An "and" (kind 0) or "or" (kind 1) node; an empty node holds.
struct sEventCondition {
  std::list<sEventExpression> expressions;
  std::list<sEventCondition> children;
  std::int32_t kind = 0;
};

struct sEventEffect {
  bool methodKnown = false;  // set by validation on its own copies
  std::int32_t line = kEventUnsetInt;
  std::wstring method;
  std::array<double, 10> param{kEventUnsetParam, kEventUnsetParam, kEventUnsetParam, kEventUnsetParam,
                               kEventUnsetParam, kEventUnsetParam, kEventUnsetParam, kEventUnsetParam,
                               kEventUnsetParam, kEventUnsetParam};
  std::array<std::wstring, 4> paramString;
};

struct sEventOption {
  std::int32_t optionId = -1;
  std::int32_t chanceAI = -1;  // weight of the computer's draw
  std::wstring description;    // the option's caption
  std::wstring tooltip;
  std::list<sEventEffect> effects;
};

struct sEvent {
  std::int32_t eventId = 0;
  std::int32_t countryId = 0;
  std::int32_t visibleByPlayer = 0;
  std::int32_t oneTimeChecking = 0;
  std::int32_t enableInPbem = 1;
  std::int32_t beginDay = kEventUnsetInt, beginMonth = kEventUnsetInt, beginYear = kEventUnsetInt;
  std::int32_t endDay = kEventUnsetInt, endMonth = kEventUnsetInt, endYear = kEventUnsetInt;
  std::wstring title;
  std::wstring description;
  std::wstring image;  // picture of the event dialog, under "data/events/"
  sEventCondition condition;
  std::list<sEventOption> options;

  // The computer's weighted choice of an option (1-based), -1 for none.
  int PickOptionForComputer() const;
  // The same with the draw given (0 .. the sum of the weights).
  int PickOptionForComputer(int draw) const;
  // The option's caption and tooltip; both untouched when number is not an
  // option's.
  void GetOptionTexts(int number, std::wstring& description, std::wstring& tooltip) const;
};
