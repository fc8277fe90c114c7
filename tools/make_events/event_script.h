// The events of a scenario as the tool builds them before writing them as
// XML: conditions over the game's queries, options made of effects, with
// small helpers for the comparisons the scripts use most. The checks refuse
// a script the game would reject at load (unknown method, missing required
// parameter) and one that could fire for ever (an event without its own stop
// flag).
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace evscript {

struct Operand {
  std::string method;  // empty for a constant
  std::vector<double> params;
  double constant = 0;
};

struct Expression {
  Operand left;
  std::string op;  // "equals", "notEquals", "greater", "less", "greaterOrEqual", "lessOrEqual"
  Operand right;
};

struct Condition {
  bool any = false;  // an "or" node; an "and" node otherwise
  std::vector<Expression> expressions;
  std::vector<Condition> children;
};

struct Effect {
  std::string method;
  std::vector<double> params;
  std::vector<std::string> texts;
};

struct Option {
  int chanceAI = 0;
  std::string description;
  std::string tooltip;
  std::vector<Effect> effects;
};

struct Date {
  int day = 0, month = 0, year = 0;  // day 0: no bound
};

struct Event {
  int id = 0;
  int country = 0;
  bool visible = false;
  bool oneTimeChecking = true;
  int stopFlag = -1;  // the flag its options set and its condition tests
  // A standing event fires whenever its condition holds and its option
  // undoes what the condition tests; it needs no stop flag but is tested
  // once per events check.
  bool standing = false;
  Date begin, end;
  std::string title, description, image;
  Condition condition;
  std::vector<Option> options;
  std::string file;  // the XML file (name without folder) the event goes into
};

// Queries and constants.
Operand Query(const std::string& method, std::initializer_list<double> params);
Operand Const(double value);
Expression Compare(Operand left, const std::string& op, Operand right);

// The comparisons the scripts use most.
Expression FlagIs(int flag, int value);
Expression AtWar(int a, int b, bool war);
Expression ControlledByAlliance(int x, int y, int allianceCode);
Expression ControlledByCountry(int x, int y, int country);
Condition All(std::initializer_list<Expression> expressions, std::initializer_list<Condition> children = {});
Condition Any(std::initializer_list<Expression> expressions, std::initializer_list<Condition> children = {});

Effect Do(const std::string& method, std::initializer_list<double> params,
          std::initializer_list<std::string> texts = {});
Effect SetFlag(int flag, int value);

// The reasons a script is refused, one line each; empty when it is sound.
// countries is the number of countries of the scenario, width and height the
// map's size; isLand tells whether a hex is land, occupied whether a unit
// stands on it at the start (a new unit would not be made there).
std::vector<std::string> CheckEvents(const std::vector<Event>& events, int countries, int width, int height,
                                     const std::function<bool(int, int)>& isLand,
                                     const std::function<bool(int, int)>& occupied);

// The XML text of the events that go into one file.
std::string WriteXml(const std::vector<Event>& events, const std::string& file);

// The method tables the checks use: the number of leading numeric and text
// parameters each method requires; -1 when the method is unknown.
int RequiredNumbers(const std::string& method, bool query);
int RequiredTexts(const std::string& method);

}  // namespace evscript
