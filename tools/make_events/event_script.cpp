#include "make_events/event_script.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

namespace evscript {

namespace {

// The game's query methods with their required leading parameters.
const std::map<std::string, int>& QueryTable() {
  static const std::map<std::string, int> table = {
      {"Country.GetProductionPoints", 1}, {"Country.GetDiplomaticPoints", 1}, {"Country.GetVP", 1},
      {"Country.GetPoliticalStrength", 1}, {"Country.GetAllianceEntry", 1}, {"Country.GetSocialUnrest", 1},
      {"Country.HasWarWithCountry", 2}, {"Country.IsActive", 1}, {"Country.GetZoneOfInfluence", 1},
      {"Country.GetOrientation", 1}, {"Flag.GetValue", 1}, {"Commander.GetLevel", 1},
      {"System.GetRandomNumber", 2}, {"Hex.ControlledByAliance", 3}, {"Hex.Occupied", 2},
      {"Hex.OccupiedAndControlledByAlliance", 3}, {"Country.IsAIControlled", 1}, {"Country.GetWarEconomy", 1},
      {"Country.GetAlliance", 1}, {"Country.GetStrategicMovementPoints", 1}, {"Country.IsAtWar", 1},
      {"Country.GetShipsAmountInSeaZone", 3}, {"Hex.ControlledByCountry", 3}, {"Country.GetTechLevel", 2},
      {"Country.GetSTP", 1}, {"Country.GetAIP", 1}, {"Game.GetCurrentTurn", 0}, {"Country.GetUnitCount", 2},
      {"City.WasBombed", 2}, {"Port.GetSize", 1}, {"Country.GetDifficultyLevel", 1}};
  return table;
}

// The effect methods: required leading numbers and texts.
const std::map<std::string, std::pair<int, int>>& EffectTable() {
  static const std::map<std::string, std::pair<int, int>> table = [] {
    std::map<std::string, std::pair<int, int>> t;
    auto add = [&t](int n, int m, std::initializer_list<const char*> names) {
      for (const char* name : names) t[name] = {n, m};
    };
    add(1, 0, {"Country.UnFreezeAllUnits", "Country.KillAllLandUnits", "Country.KillAllAirUnits",
               "Country.KillAllNavalUnits", "Country.KillAllUnitsInReserve"});
    add(2, 0, {"Country.ChangeDiplomaticPoints", "Country.ChangeProductionPoints", "Country.ChangePoliticalStrength",
               "Country.ChangeAllianceEntry", "Country.ChangeSocialUnrest", "Country.ChangeWarEconomy",
               "Country.SetDiplomaticPoints", "Country.SetProductionPoints", "Country.SetPoliticalStrength",
               "Country.SetAllianceEntry", "Country.SetSocialUnrest", "Country.SetWarEconomy",
               "Country.DeclareWarOnCountry", "Country.SetZoneOfInfluence", "Country.SetOrientation", "Flag.SetValue",
               "Flag.ChangeValue", "Country.ChangeTerritoryControllerOwnerAndOriginalOwner",
               "Country.ChangeOwnershipOfAllNavalUnits", "Country.SetActive", "AI.AddCountryToPress", "Hex.KillUnit",
               "Port.SetSize", "Port.ChangeSize", "Country.ChangeSTP", "Country.ChangeAIP", "Country.MakePeace",
               "Country.ChangeSMP", "Country.SetWinterBattle", "Country.SetWinterMove", "View.CenterAt"});
    add(3, 0, {"Hex.SetFortLevel", "City.SetProductionPoints", "City.ChangeProductionPoints",
               "Country.ChangeEffectivityOfAllUnits", "Country.SetTechLevel", "Country.ChangeTechLevel",
               "Country.ChangeTechResearchProgress", "AI.AddDoNotAttackCity", "Hex.ChangeFortLevel",
               "AI.RemoveInvasionTarget"});
    add(4, 0, {"HexStripe.ChangeControllerAndOwner", "HexStripe.ChangeControllerOwnerAndOriginalOwner",
               "AI.AddInvasionTarget", "Country.DamageRandomShipsInSeaZone"});
    add(5, 0, {"New.StartWinterArea", "New.StartMudArea"});
    add(6, 0, {"Area.ChangeEffectivityOfAllUnits"});
    add(2, 1, {"Hex.AddNavalUnit"});
    add(3, 1, {"Commander.AddNew", "SeaNode.AddNavalUnit"});
    add(6, 1, {"Hex.AddLandUnit", "Hex.AddAirUnit", "City.FirePartisans"});
    return t;
  }();
  return table;
}

// Which parameters of an effect name a country and which a hex (x, y).
struct sParamRoles {
  std::vector<int> countries;
  std::vector<std::pair<int, int>> hexes;
  bool needsLand = false;
  bool needsFree = false;  // a new unit goes there
};

sParamRoles RolesOf(const std::string& method) {
  sParamRoles roles;
  if (method.rfind("Country.", 0) == 0) roles.countries = {0};
  if (method == "Country.DeclareWarOnCountry" || method == "Country.ChangeTerritoryControllerOwnerAndOriginalOwner" ||
      method == "Country.ChangeOwnershipOfAllNavalUnits") {
    roles.countries = {0, 1};
  }
  if (method == "Country.DamageRandomShipsInSeaZone") roles.countries = {};
  if (method.rfind("HexStripe.", 0) == 0) {
    roles.countries = {3};
    roles.hexes = {{0, 1}};
  }
  if (method == "Hex.AddLandUnit" || method == "City.FirePartisans") {
    roles.countries = {2};
    roles.hexes = {{0, 1}};
    roles.needsLand = true;
    roles.needsFree = method == "Hex.AddLandUnit";
  }
  if (method == "Hex.AddAirUnit") {
    roles.countries = {0};
    roles.hexes = {{1, 2}};
    roles.needsLand = true;
    roles.needsFree = true;
  }
  if (method == "Hex.AddNavalUnit" || method == "SeaNode.AddNavalUnit") roles.countries = {method[0] == 'H' ? 0 : 1};
  if (method == "City.ChangeProductionPoints" || method == "City.SetProductionPoints" || method == "Hex.SetFortLevel" ||
      method == "Hex.ChangeFortLevel" || method == "Hex.KillUnit" || method == "View.CenterAt") {
    roles.hexes = {{0, 1}};
    roles.needsLand = true;
  }
  return roles;
}

bool IsWhole(double v) { return std::floor(v) == v; }

std::string Say(const Event& e, const std::string& what) { return "event " + std::to_string(e.id) + ": " + what; }

void CheckCondition(const Condition& node, std::vector<std::string>& errors, const Event& e) {
  for (const Expression& x : node.expressions) {
    for (const Operand* o : {&x.left, &x.right}) {
      if (o->method.empty()) continue;
      const int required = RequiredNumbers(o->method, true);
      if (required < 0) errors.push_back(Say(e, "unknown query " + o->method));
      else if (static_cast<int>(o->params.size()) < required)
        errors.push_back(Say(e, o->method + " needs " + std::to_string(required) + " parameters"));
    }
    static const std::set<std::string> ops = {"equals", "notEquals", "greater", "less", "greaterOrEqual",
                                              "lessOrEqual"};
    if (ops.count(x.op) == 0) errors.push_back(Say(e, "unknown operator " + x.op));
  }
  for (const Condition& child : node.children) CheckCondition(child, errors, e);
}

bool TestsStopFlag(const Condition& root, int flag) {
  if (root.any) return false;
  for (const Expression& x : root.expressions) {
    if (x.left.method == "Flag.GetValue" && x.left.params.size() == 1 && x.left.params[0] == flag &&
        x.op == "equals" && x.right.method.empty() && x.right.constant == 0) {
      return true;
    }
  }
  return false;
}

bool DateIsSane(const Date& d) { return d.day == 0 || (d.day >= 1 && d.day <= 31 && d.month >= 1 && d.month <= 12); }

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Number(double v) {
  char buf[64];
  if (IsWhole(v)) std::snprintf(buf, sizeof buf, "%.0f", v);
  else std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

void WriteOperand(std::string& out, const char* element, const Operand& o) {
  out += std::string("          <") + element;
  if (o.method.empty()) {
    out += " constValue=\"" + Number(o.constant) + "\"";
  } else {
    out += " method=\"" + Escape(o.method) + "\"";
    for (std::size_t i = 0; i < o.params.size(); ++i) out += " param" + std::to_string(i) + "=\"" + Number(o.params[i]) + "\"";
  }
  out += "/>\n";
}

void WriteNode(std::string& out, const Condition& node, const std::string& indent) {
  const char* name = node.any ? "or" : "and";
  out += indent + "<" + name + ">\n";
  for (const Expression& x : node.expressions) {
    out += indent + "  <expression>\n";
    WriteOperand(out, "leftOperand", x.left);
    out += indent + "    <operator value=\"" + x.op + "\"/>\n";
    WriteOperand(out, "rightOperand", x.right);
    out += indent + "  </expression>\n";
  }
  for (const Condition& child : node.children) WriteNode(out, child, indent + "  ");
  out += indent + "</" + name + ">\n";
}

void WriteDate(std::string& out, const char* element, const Date& d) {
  if (d.day == 0) return;
  out += std::string("    <") + element + " day=\"" + std::to_string(d.day) + "\" month=\"" + std::to_string(d.month) +
         "\" year=\"" + std::to_string(d.year) + "\"/>\n";
}

}  // namespace

int RequiredNumbers(const std::string& method, bool query) {
  if (query) {
    const auto found = QueryTable().find(method);
    return found == QueryTable().end() ? -1 : found->second;
  }
  const auto found = EffectTable().find(method);
  return found == EffectTable().end() ? -1 : found->second.first;
}

int RequiredTexts(const std::string& method) {
  const auto found = EffectTable().find(method);
  return found == EffectTable().end() ? -1 : found->second.second;
}

Operand Query(const std::string& method, std::initializer_list<double> params) { return Operand{method, params, 0}; }
Operand Const(double value) { return Operand{{}, {}, value}; }
Expression Compare(Operand left, const std::string& op, Operand right) {
  return Expression{std::move(left), op, std::move(right)};
}
Expression FlagIs(int flag, int value) {
  return Compare(Query("Flag.GetValue", {double(flag)}), "equals", Const(value));
}
Expression AtWar(int a, int b, bool war) {
  return Compare(Query("Country.HasWarWithCountry", {double(a), double(b)}), "equals", Const(war ? 1 : 0));
}
Expression ControlledByAlliance(int x, int y, int allianceCode) {
  return Compare(Query("Hex.ControlledByAliance", {double(x), double(y), double(allianceCode)}), "equals", Const(1));
}
Expression ControlledByCountry(int x, int y, int country) {
  return Compare(Query("Hex.ControlledByCountry", {double(x), double(y), double(country)}), "equals", Const(1));
}
Condition All(std::initializer_list<Expression> expressions, std::initializer_list<Condition> children) {
  return Condition{false, expressions, children};
}
Condition Any(std::initializer_list<Expression> expressions, std::initializer_list<Condition> children) {
  return Condition{true, expressions, children};
}
Effect Do(const std::string& method, std::initializer_list<double> params, std::initializer_list<std::string> texts) {
  return Effect{method, params, texts};
}
Effect SetFlag(int flag, int value) { return Do("Flag.SetValue", {double(flag), double(value)}); }

std::vector<std::string> CheckEvents(const std::vector<Event>& events, int countries, int width, int height,
                                     const std::function<bool(int, int)>& isLand,
                                     const std::function<bool(int, int)>& occupied) {
  std::vector<std::string> errors;
  std::set<int> ids, flags;
  for (const Event& e : events) {
    if (e.id < 0 || e.id > 40000 || !ids.insert(e.id).second) errors.push_back(Say(e, "id missing, repeated or out of range"));
    if (e.country < 1 || e.country > countries) errors.push_back(Say(e, "no such country"));
    if (e.title.empty() || e.description.empty() || e.image.empty()) errors.push_back(Say(e, "title, text and picture"));
    if (e.file.empty()) errors.push_back(Say(e, "no file"));
    if (!DateIsSane(e.begin) || !DateIsSane(e.end)) errors.push_back(Say(e, "bad date"));
    if (e.standing) {
      if (!e.oneTimeChecking) errors.push_back(Say(e, "a standing event is tested once per events check"));
    } else if (e.stopFlag < 0 || e.stopFlag >= 40000 || !flags.insert(e.stopFlag).second) {
      errors.push_back(Say(e, "needs a stop flag of its own"));
    } else if (!TestsStopFlag(e.condition, e.stopFlag)) {
      errors.push_back(Say(e, "its condition must test that its stop flag is 0"));
    }
    if (e.options.empty() || (e.visible && e.options.size() < 2)) errors.push_back(Say(e, "too few options"));
    CheckCondition(e.condition, errors, e);
    int total = 0;
    for (const Option& o : e.options) {
      total += o.chanceAI;
      if (o.chanceAI < 0) errors.push_back(Say(e, "negative chanceAI"));
      if (o.description.empty()) errors.push_back(Say(e, "option without a caption"));
      bool stops = false;
      for (const Effect& f : o.effects) {
        const int numbers = RequiredNumbers(f.method, false);
        if (numbers < 0) {
          errors.push_back(Say(e, "unknown effect " + f.method));
          continue;
        }
        if (static_cast<int>(f.params.size()) < numbers || static_cast<int>(f.texts.size()) < RequiredTexts(f.method)) {
          errors.push_back(Say(e, f.method + " lacks a required parameter"));
          continue;
        }
        for (const std::string& t : f.texts)
          if (t.empty()) errors.push_back(Say(e, f.method + " has an empty text"));
        if (f.method == "Flag.SetValue" && f.params[0] == e.stopFlag && f.params[1] != 0) stops = true;
        const sParamRoles roles = RolesOf(f.method);
        for (int i : roles.countries) {
          if (i >= static_cast<int>(f.params.size()) || f.params[i] < 1 || f.params[i] > countries)
            errors.push_back(Say(e, f.method + " names no country of the scenario"));
        }
        for (auto [ix, iy] : roles.hexes) {
          const int x = static_cast<int>(f.params[ix]), y = static_cast<int>(f.params[iy]);
          const bool reserve = x == -1 && y == -1 && (f.method == "Hex.AddLandUnit" || f.method == "Hex.AddAirUnit");
          if (reserve) continue;
          if (x < 0 || y < 0 || x >= width || y >= height) {
            errors.push_back(Say(e, f.method + " names a hex off the map"));
          } else if (roles.needsLand && !isLand(x, y)) {
            errors.push_back(Say(e, f.method + " names a water hex"));
          } else if (roles.needsFree && occupied(x, y)) {
            errors.push_back(Say(e, f.method + " names a hex a unit holds at the start"));
          }
        }
        if (f.method.rfind("HexStripe.", 0) == 0 && (f.params[2] < 1 || f.params[1] + f.params[2] > height))
          errors.push_back(Say(e, "stripe leaves the map"));
      }
      if (!stops && !e.standing) errors.push_back(Say(e, "an option does not set the stop flag"));
    }
    if (total <= 0) errors.push_back(Say(e, "the computer could never choose"));
  }
  return errors;
}

std::string WriteXml(const std::vector<Event>& events, const std::string& file) {
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<!-- Written by make_events from tools/make_events/europe1939_events.cpp: change the source, not this file. -->\n";
  out += "<events>\n";
  for (const Event& e : events) {
    if (e.file != file) continue;
    out += "  <event eventID=\"" + std::to_string(e.id) + "\" countryID=\"" + std::to_string(e.country) +
           "\" visibleByPlayer=\"" + (e.visible ? "1" : "0") + "\" oneTimeChecking=\"" +
           (e.oneTimeChecking ? "1" : "0") + "\">\n";
    out += "    <title>" + Escape(e.title) + "</title>\n";
    out += "    <description>" + Escape(e.description) + "</description>\n";
    out += "    <image>" + Escape(e.image) + "</image>\n";
    WriteDate(out, "beginDate", e.begin);
    WriteDate(out, "endDate", e.end);
    out += "    <condition>\n";
    WriteNode(out, e.condition, "      ");
    out += "    </condition>\n";
    out += "    <options>\n";
    int number = 1;
    for (const Option& o : e.options) {
      out += "      <option optionID=\"" + std::to_string(number++) + "\" chanceAI=\"" + std::to_string(o.chanceAI) + "\">\n";
      out += "        <description>" + Escape(o.description) + "</description>\n";
      out += "        <tooltip>" + Escape(o.tooltip) + "</tooltip>\n";
      out += "        <effects>\n";
      for (const Effect& f : o.effects) {
        out += "          <effect method=\"" + Escape(f.method) + "\"";
        for (std::size_t i = 0; i < f.params.size(); ++i) out += " param" + std::to_string(i) + "=\"" + Number(f.params[i]) + "\"";
        for (std::size_t i = 0; i < f.texts.size(); ++i) out += " paramString" + std::to_string(i) + "=\"" + Escape(f.texts[i]) + "\"";
        out += "/>\n";
      }
      out += "        </effects>\n";
      out += "      </option>\n";
    }
    out += "    </options>\n";
    out += "  </event>\n";
  }
  out += "</events>\n";
  return out;
}

}  // namespace evscript
