// Hand-built event records for the tests of conditions, firing and the
// events check: constant comparisons, random draws as operands, options
// with weights.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "world/event_records.h"
#include "world/world.h"

namespace twtest {

inline sEventOperand Constant(double value) {
  sEventOperand operand;
  operand.constValue = value;
  return operand;
}

inline sEventOperand Query(const wchar_t* method, std::initializer_list<double> params) {
  sEventOperand operand;
  operand.method = method;
  int i = 0;
  for (double value : params) operand.param[static_cast<std::size_t>(i++)] = value;
  return operand;
}

inline sEventExpression Compare(sEventOperand left, const wchar_t* op, sEventOperand right) {
  sEventExpression expression;
  expression.left = std::move(left);
  expression.right = std::move(right);
  expression.operatorValue = op;
  return expression;
}

// 1 = 1 and 1 = 2.
inline sEventExpression True() { return Compare(Constant(1), L"equals", Constant(1)); }
inline sEventExpression False() { return Compare(Constant(1), L"equals", Constant(2)); }
// A comparison that draws a random number when it is evaluated.
inline sEventExpression Draw() {
  return Compare(Query(L"System.GetRandomNumber", {0, 10}), L"greaterOrEqual", Constant(0));
}

inline sEventCondition Node(int kind, std::initializer_list<sEventExpression> expressions,
                            std::initializer_list<sEventCondition> children = {}) {
  sEventCondition node;
  node.kind = kind;
  node.expressions.assign(expressions);
  node.children.assign(children);
  return node;
}
inline sEventCondition And(std::initializer_list<sEventExpression> expressions,
                           std::initializer_list<sEventCondition> children = {}) {
  return Node(0, expressions, children);
}
inline sEventCondition Or(std::initializer_list<sEventExpression> expressions,
                          std::initializer_list<sEventCondition> children = {}) {
  return Node(1, expressions, children);
}

inline sEventOption Option(const wchar_t* description, int chance) {
  sEventOption option;
  option.description = description;
  option.chanceAI = chance;
  return option;
}

// An event of the country with no dates and no condition (it always holds).
inline sEvent Event(int id, int countryId, bool visible = false, bool oneTime = false,
                    std::initializer_list<sEventOption> options = {}) {
  sEvent event;
  event.eventId = id;
  event.countryId = countryId;
  event.visibleByPlayer = visible ? 1 : 0;
  event.oneTimeChecking = oneTime ? 1 : 0;
  event.title = L"Event" + std::to_wstring(id);
  event.options.assign(options);
  return event;
}

// The world's events become these, each checked bit clear.
inline void SetEvents(cWorld& world, std::initializer_list<sEvent> events) {
  world.eventManager.events.assign(events);
  int highest = -1;
  for (const sEvent& event : events) highest = event.eventId > highest ? event.eventId : highest;
  world.eventManager.ResetChecked(highest);
}

}  // namespace twtest
