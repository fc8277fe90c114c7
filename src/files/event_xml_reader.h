// Reading event records out of a parsed event file (a TinyXML document).
// Names of elements and attributes are compared exactly; elements the
// format does not name are skipped at every level. Line numbers are the
// parser's 1-based rows.
//
// The format: the root element's "event" children are the events. An event
// has the integer attributes "eventID", "countryID", "visibleByPlayer",
// "oneTimeChecking" (required) and "enableInPbem" (1 when missing), and the
// children "title", "description", "image" (texts), "beginDate" and
// "endDate" ("day", "month", "year"), "condition" (its first "and" or "or"
// child is the root node; nodes hold "expression" elements and nested
// nodes) and "options" ("option" elements with "optionID", "chanceAI",
// "description", "tooltip" and "effects" of "effect" elements). An
// expression holds "leftOperand", "rightOperand" (attributes "method",
// "param0".."param9" or "constValue") and "operator" ("value").
#pragma once

#include <list>
#include <string>
#include <vector>

#include "world/event_records.h"

class TiXmlDocument;
class TiXmlElement;
class TiXmlNode;

// A text of an event file: a key of the language base gives its text there,
// trimmed of white space at both ends; any other text is UTF-8. Null gives
// an empty text.
std::wstring EventText(const char* bytes);

// An integer attribute as the format reads it: white space, a sign and
// digits, anything after them ignored. False when the attribute is missing,
// holds no digits or lies beyond the 32-bit range.
bool ReadEventIntAttribute(const TiXmlElement& element, const char* name, int& out);
// A number attribute; kEventUnsetParam when missing, not a number, or not
// finite ("nan", "inf", an overflowing exponent).
double ReadEventNumberAttribute(const TiXmlElement& element, const char* name);

// One "leftOperand"/"rightOperand", "expression" or "effect" element, with
// the lines of the elements read.
sEventOperand ReadEventOperand(const TiXmlElement& element);
sEventExpression ReadEventExpression(const TiXmlElement& element);
sEventEffect ReadEventEffect(const TiXmlElement& element);

// One "event" element. A missing or non-integer required attribute, a date
// without its three integers or a negative event id ends the program
// (FatalExit) after its log line. Logs "Loading event id=%i at line %i".
sEvent ReadEventElement(const TiXmlElement& element);
// Every event of the document in file order (none without a root element).
void ReadDocumentEvents(const TiXmlDocument& document, std::list<sEvent>& out);

// The elements named name under node (node itself included), depth first in
// document order; the walk does not go into an element it has taken, except
// a document's top element (the root, which holds the events).
std::vector<const TiXmlElement*> FindEventElements(const TiXmlNode& node, const char* name);
