// Loading a scenario's event files: the list "event_files.txt" in the
// scenario's folder names the XML files (TinyXML documents); every
// expression and effect is validated, then the events are built in testing
// order. A file that cannot be used ends the program with exit code 1 after
// its log lines; a missing list means a scenario without events.
#pragma once

#include <optional>
#include <string>

class TiXmlDocument;
class cEventManager;
class cWorld;
struct sEventExpression;

void LoadEventFiles(cEventManager& manager, const std::string& scenarioFolder);
// The ERROR line with which the loading refuses the scenario's list: every
// line that names a file outside the scenario's own folder (a copied
// scenario whose list still names the original's folder, most often), each
// with the line to write instead; none when every file is inside or there
// is no list.
std::optional<std::wstring> EventListRefusal(const std::string& scenarioFolder);
// Parses an event file's bytes into the document as the parser reads a file
// (line ends made LF, the text ending at a NUL byte); false when the parser
// found an error.
bool ParseEventXml(TiXmlDocument& document, std::string bytes);
void ValidateEvents(cEventManager& manager);
void LoadAllEvents(cEventManager& manager);
// The designer's text dump of every document's events.
void DumpAllEvents(const cEventManager& manager, const cWorld& world);
// The checks of one expression (both operands and the operator), writing
// its error lines; true when valid.
bool ValidateExpression(const sEventExpression& expression);
