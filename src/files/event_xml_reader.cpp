#include "files/event_xml_reader.h"

#include <tinyxml.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "platform/text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// The text of an element: an element without text (<title/>) or whose
// first child is not text is an empty text.
std::wstring ElementText(const TiXmlElement* element) { return element ? EventText(element->GetText()) : L""; }

void ReadParams(const TiXmlElement& element, std::array<double, 10>& params) {
  char name[32];  // room for any index the format could write
  for (std::size_t i = 0; i < params.size(); ++i) {
    std::snprintf(name, sizeof name, "param%zu", i);
    params[i] = ReadEventNumberAttribute(element, name);
  }
}

void RequireInt(const TiXmlElement& element, const char* name, const wchar_t* message, std::int32_t& out) {
  int value = 0;
  if (!ReadEventIntAttribute(element, name, value)) FatalExit(plat::Format(message, element.Row()));
  out = value;
}

// A "beginDate" or "endDate" element, when the event has one.
void ReadDate(const TiXmlElement& event, const char* name, std::int32_t& day, std::int32_t& month,
              std::int32_t& year) {
  const TiXmlElement* date = event.FirstChildElement(name);
  if (!date) return;
  const bool begin = std::strcmp(name, "beginDate") == 0;
  RequireInt(*date, "day",
             begin ? L"ERROR: <beginDate> at line %i has no 'day' attribute or it's not an integer!"
                   : L"ERROR: <endDate> at line %i has no 'day' attribute or it's not an integer!",
             day);
  RequireInt(*date, "month",
             begin ? L"ERROR: <beginDate> at line %i has no 'month' attribute or it's not an integer!"
                   : L"ERROR: <endDate> at line %i has no 'month' attribute or it's not an integer!",
             month);
  RequireInt(*date, "year",
             begin ? L"ERROR: <beginDate> at line %i has no 'year' attribute or it's not an integer!"
                   : L"ERROR: <endDate> at line %i has no 'year' attribute or it's not an integer!",
             year);
  // A date no calendar has would never be reached, or always be past.
  const char* problem = month < 1 || month > 12 ? "month" : day < 1 || day > 31 ? "day" : nullptr;
  if (problem != nullptr) {
    const TiXmlDocument* document = date->GetDocument();
    const std::string file = document != nullptr && document->Value() != nullptr ? document->Value() : "";
    FatalExit(plat::Format(L"ERROR: %S line %i: <%S> has %S %i, outside %i to %i", file, date->Row(), std::string(name),
                           std::string(problem), problem[0] == 'm' ? month : day, 1, problem[0] == 'm' ? 12 : 31));
  }
}

// An "and" (kind 0) or "or" (kind 1) element with its expressions and
// nested nodes in file order.
sEventCondition ReadConditionNode(const TiXmlElement& element) {
  sEventCondition node;
  node.kind = std::strcmp(element.Value(), "or") == 0 ? 1 : 0;
  for (const TiXmlElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement()) {
    const char* name = child->Value();
    if (std::strcmp(name, "expression") == 0) {
      node.expressions.push_back(ReadEventExpression(*child));
    } else if (std::strcmp(name, "and") == 0 || std::strcmp(name, "or") == 0) {
      node.children.push_back(ReadConditionNode(*child));
    }
  }
  return node;
}

sEventOption ReadOption(const TiXmlElement& element) {
  sEventOption option;
  int value = 0;
  if (ReadEventIntAttribute(element, "optionID", value)) option.optionId = value;
  if (ReadEventIntAttribute(element, "chanceAI", value)) option.chanceAI = value;
  option.description = ElementText(element.FirstChildElement("description"));
  option.tooltip = ElementText(element.FirstChildElement("tooltip"));
  if (const TiXmlElement* effects = element.FirstChildElement("effects")) {
    for (const TiXmlElement* effect = effects->FirstChildElement("effect"); effect;
         effect = effect->NextSiblingElement("effect")) {
      option.effects.push_back(ReadEventEffect(*effect));
    }
  }
  return option;
}

}  // namespace

std::wstring EventText(const char* bytes) {
  if (!bytes) return L"";
  if (const std::optional<sStringBaseEntry> entry = g_StringBase.FindEntry(bytes)) {
    // Keys a look-up inserted (id -1) hold the key itself, not a text.
    if (entry->id >= 0) return files::Trim(*entry->text);
  }
  return plat::FromUtf8(bytes);
}

bool ReadEventIntAttribute(const TiXmlElement& element, const char* name, int& out) {
  const char* text = element.Attribute(name);
  if (!text) return false;
  while (IsBlank(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  if (*text < '0' || *text > '9') return false;
  long long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) return false;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return false;
  out = static_cast<int>(value);
  return true;
}

double ReadEventNumberAttribute(const TiXmlElement& element, const char* name) {
  const char* text = element.Attribute(name);
  if (!text) return kEventUnsetParam;
  char* end = nullptr;
  const double value = std::strtod(text, &end);
  if (end == text || !std::isfinite(value)) return kEventUnsetParam;
  return value;
}

sEventOperand ReadEventOperand(const TiXmlElement& element) {
  sEventOperand operand;
  operand.line = element.Row();
  operand.method = EventText(element.Attribute("method"));
  operand.constValue = ReadEventNumberAttribute(element, "constValue");
  ReadParams(element, operand.param);
  return operand;
}

sEventExpression ReadEventExpression(const TiXmlElement& element) {
  sEventExpression expression;
  if (const TiXmlElement* left = element.FirstChildElement("leftOperand")) expression.left = ReadEventOperand(*left);
  if (const TiXmlElement* right = element.FirstChildElement("rightOperand")) {
    expression.right = ReadEventOperand(*right);
  }
  if (const TiXmlElement* op = element.FirstChildElement("operator")) {
    expression.operatorLine = op->Row();
    expression.operatorValue = EventText(op->Attribute("value"));
  }
  return expression;
}

sEventEffect ReadEventEffect(const TiXmlElement& element) {
  sEventEffect effect;
  effect.line = element.Row();
  effect.method = EventText(element.Attribute("method"));
  ReadParams(element, effect.param);
  char name[32];  // room for any index the format could write
  for (std::size_t i = 0; i < effect.paramString.size(); ++i) {
    std::snprintf(name, sizeof name, "paramString%zu", i);
    effect.paramString[i] = EventText(element.Attribute(name));
  }
  return effect;
}

sEvent ReadEventElement(const TiXmlElement& element) {
  sEvent event;
  RequireInt(element, "eventID", L"ERROR: <event> at line %i has no eventID attribute or it's not an integer!",
             event.eventId);
  // An id below 0 has no place among the events' marks of a check.
  if (event.eventId < 0) {
    FatalExit(plat::Format(L"ERROR: <event> at line %i has a negative eventID (%i), it has to be >= 0 && <= %d",
                           element.Row(), event.eventId, kMaxEventId));
  }
  LogLine(L"Loading event id=%i at line %i", event.eventId, element.Row());
  RequireInt(element, "countryID", L"ERROR: <event> at line %i has no countryID attribute or it's not an integer!",
             event.countryId);
  RequireInt(element, "visibleByPlayer",
             L"ERROR: <event> at line %i has no visibleByPlayer attribute or it's not an integer!",
             event.visibleByPlayer);
  RequireInt(element, "oneTimeChecking",
             L"ERROR: <event> at line %i has no oneTimeChecking attribute or it's not an integer!",
             event.oneTimeChecking);
  int enable = 1;
  event.enableInPbem = ReadEventIntAttribute(element, "enableInPbem", enable) ? enable : 1;

  event.title = ElementText(element.FirstChildElement("title"));
  event.description = ElementText(element.FirstChildElement("description"));
  event.image = ElementText(element.FirstChildElement("image"));
  ReadDate(element, "beginDate", event.beginDay, event.beginMonth, event.beginYear);
  ReadDate(element, "endDate", event.endDay, event.endMonth, event.endYear);
  if (const TiXmlElement* condition = element.FirstChildElement("condition")) {
    for (const TiXmlElement* child = condition->FirstChildElement(); child; child = child->NextSiblingElement()) {
      if (std::strcmp(child->Value(), "and") == 0 || std::strcmp(child->Value(), "or") == 0) {
        event.condition = ReadConditionNode(*child);
        break;
      }
    }
  }
  if (const TiXmlElement* options = element.FirstChildElement("options")) {
    for (const TiXmlElement* option = options->FirstChildElement("option"); option;
         option = option->NextSiblingElement("option")) {
      event.options.push_back(ReadOption(*option));
    }
  }
  return event;
}

void ReadDocumentEvents(const TiXmlDocument& document, std::list<sEvent>& out) {
  const TiXmlElement* root = document.FirstChildElement();
  if (!root) return;
  for (const TiXmlElement* event = root->FirstChildElement("event"); event;
       event = event->NextSiblingElement("event")) {
    out.push_back(ReadEventElement(*event));
  }
}

std::vector<const TiXmlElement*> FindEventElements(const TiXmlNode& node, const char* name) {
  // An explicit stack: a deeply nested file must not exhaust the call stack.
  std::vector<const TiXmlElement*> found;
  std::vector<const TiXmlNode*> pending{&node};
  while (!pending.empty()) {
    const TiXmlNode* current = pending.back();
    pending.pop_back();
    const TiXmlElement* element = current->ToElement();
    if (element && std::strcmp(element->Value(), name) == 0) {
      found.push_back(element);
      // The root element holds the events whatever its name: a root named
      // like the elements sought is walked into as well, or the events
      // under it would escape the checks.
      const TiXmlNode* parent = element->Parent();
      if (!parent || !parent->ToDocument()) continue;
    }
    // Children pushed last first, so the first child is taken next.
    const TiXmlNode* last = current->LastChild();
    for (const TiXmlNode* child = last; child; child = child->PreviousSibling()) pending.push_back(child);
  }
  return found;
}
