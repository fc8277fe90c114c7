#include "files/event_loader.h"

#include <tinyxml.h>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "files/event_methods.h"
#include "files/event_paths.h"
#include "files/event_xml_reader.h"
#include "platform/lines.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "world/event_manager.h"

namespace {

// The lines of a text file, any line end (CR LF, LF, CR) ending a line.
std::vector<std::string> TextLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(line));
      line.clear();
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

// What to write instead of a list line naming another scenario's folder
// ("data\scenarios\<other>\rest"): the same file in the own folder,
// written with the slashes of the line (its first one where it mixes them).
std::wstring OwnFolderHint(const std::string& line, const std::string& scenarioFolder) {
  const std::size_t first = line.find_first_of("/\\");
  const char slash = first == std::string::npos ? '\\' : line[first];
  std::string path = line;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  const std::string prefix = "data\\scenarios\\";
  const std::size_t other = path.size() > prefix.size() ? path.find('\\', prefix.size()) : std::string::npos;
  if (path.rfind(prefix, 0) == 0 && other != std::string::npos && path.find("..") == std::string::npos) {
    // Only the folder's name changes; the line keeps its own slashes.
    return plat::Format(L"write it as %S", line.substr(0, prefix.size()) + scenarioFolder + line.substr(other));
  }
  return plat::Format(L"name a file below %S",
                      std::string("data") + slash + "scenarios" + slash + scenarioFolder + slash);
}

// The lines of the scenario folder's "event_files.txt"; false when there is
// no list.
bool ReadEventList(const std::wstring& folder, std::vector<std::string>& lines) {
  std::string list;
  if (!files::ReadBytes(folder + L"event_files.txt", list)) return false;
  // A list saved by an editor that marks UTF-8.
  if (list.rfind("\xEF\xBB\xBF", 0) == 0) list.erase(0, 3);
  lines = TextLines(list);
  return true;
}

// A line of the list that names a file: not empty, no comment.
bool NamesAnEventFile(const std::string& line) { return !line.empty() && line.front() != ';'; }

// The ERROR line that refuses the list when lines of it name files outside
// the scenario's own folder: one such line with its file and what to write
// instead; several, each by its number with what to write instead. Most
// often a copied scenario whose list still names the original's folder:
// the message gives each line as it would name the own one.
std::optional<std::wstring> OutsideFolderRefusal(const std::wstring& folder, const std::vector<std::string>& lines,
                                                 const std::string& scenarioFolder) {
  std::vector<std::size_t> outside;
  for (std::size_t number = 1; number <= lines.size(); ++number) {
    const std::string& line = lines[number - 1];
    if (NamesAnEventFile(line) && !IsEventFileInScenario(line, scenarioFolder)) outside.push_back(number);
  }
  if (outside.empty()) return std::nullopt;
  if (outside.size() == 1) {
    const std::string& line = lines[outside.front() - 1];
    return plat::Format(L"ERROR: %sevent_files.txt line %i: event file %S is not inside the scenario folder %s; "
                        L"the events of a scenario are read from its own folder only: %s.",
                        folder, static_cast<int>(outside.front()), line, folder, OwnFolderHint(line, scenarioFolder));
  }
  std::wstring numbers;
  std::wstring each;
  for (const std::size_t number : outside) {
    const std::string& line = lines[number - 1];
    numbers += (numbers.empty() ? L"" : L", ") + std::to_wstring(number);
    each += plat::Format(L"%sline %i: %s", each.empty() ? L"" : L"; ", static_cast<int>(number),
                         OwnFolderHint(line, scenarioFolder));
  }
  return plat::Format(L"ERROR: %sevent_files.txt lines %s: event files not inside the scenario folder %s; the events "
                      L"of a scenario are read from its own folder only: %s.",
                      folder, numbers, folder, each);
}

// Parses the file into document with the parser's own encoding detection.
// A failure logs what went wrong and where before the caller's last line.
bool LoadXmlFile(TiXmlDocument& document, const std::string& fileName) {
  // The document carries its file's name for the messages about it.
  document.SetValue(fileName);
  std::string bytes;
  if (!plat::ReadFileBytes(plat::ResolvePath(fileName), bytes)) {
    LogLine(L"ERROR: %S cannot be read (missing or not a readable file)", fileName);
    return false;
  }
  // Where a text cut short or empty ends, for the parser that gives no place.
  int lastLine = 1;
  int lastColumn = 1;
  for (char c : bytes) {
    if (c == '\0') break;
    if (c == '\n') {
      ++lastLine;
      lastColumn = 1;
    } else if (c != '\r') {
      ++lastColumn;
    }
  }
  if (ParseEventXml(document, std::move(bytes))) return true;
  const std::string reason = document.ErrorDesc() != nullptr ? document.ErrorDesc() : "not XML";
  if (document.ErrorRow() > 0) {
    LogLine(L"ERROR: %S line %i column %i: %S", fileName, document.ErrorRow(), document.ErrorCol(), reason);
  } else {
    LogLine(L"ERROR: %S line %i column %i (the end of the file): %S", fileName, lastLine, lastColumn, reason);
  }
  return false;
}

// One operand's checks; known tells whether the method is a known query
// whose required parameters are given.
bool CheckOperand(const sEventOperand& operand, bool& known) {
  known = false;
  const bool hasConst = IsEventParamDefined(operand.constValue);
  if (operand.method.empty() && !hasConst) {
    LogLine(L"ERROR: operand element at line %i has neither 'method' nor 'constValue' attribute. It must have one of "
            L"them defined",
            operand.line);
    return false;
  }
  if (!operand.method.empty() && hasConst) {
    LogLine(L"nERROR: operand element at line %i has both 'method' and 'constValue' attributes defined. Only one of "
            L"them can be defined",
            operand.line);
    return false;
  }
  bool valid = true;
  for (const sEventMethod& method : EventQueryMethods()) {
    if (method.name != operand.method) continue;
    for (int i = 0; i < method.numeric; ++i) {
      if (!IsEventParamDefined(operand.param[static_cast<std::size_t>(i)])) {
        LogLine(L"ERROR: param %i for operand at line %i must be defined!", i, operand.line);
        valid = false;
        break;
      }
    }
    known = valid;
    break;
  }
  if (!known && !hasConst) {
    // A known method without its parameters has said so already.
    if (valid) LogLine(L"ERROR: operand element at line %i has unknown method (%s)", operand.line, operand.method);
    return false;
  }
  if (hasConst) {
    for (double param : operand.param) {
      if (!IsEventParamDefined(param)) continue;
      LogLine(L"WARNING: operand element at line %i has defined 'constValue' attribute and at least one from "
              L"param0..param9 attributes.",
              operand.line);
      break;
    }
  }
  return valid;
}

bool CheckOperator(const sEventExpression& expression) {
  static const wchar_t* const kOperators[] = {L"equals", L"notEquals", L"greater",
                                              L"less",   L"greaterOrEqual", L"lessOrEqual"};
  for (const wchar_t* op : kOperators) {
    if (expression.operatorValue == op) return true;
  }
  LogLine(L"ERROR: attribute 'value' of <operator> at line %i has incorrect value (%s)", expression.operatorLine,
          expression.operatorValue);
  return false;
}

// Whether each operand's method is known comes back in knownLeft and
// knownRight (validation keeps it on its scratch records).
bool CheckExpression(const sEventExpression& expression, bool& knownLeft, bool& knownRight) {
  // All three parts are checked, so every fault of the expression is logged.
  const bool left = CheckOperand(expression.left, knownLeft);
  const bool right = CheckOperand(expression.right, knownRight);
  const bool op = CheckOperator(expression);
  return left && right && op;
}

bool CheckEffect(const sEventEffect& effect) {
  for (const sEventMethod& method : EventEffectMethods()) {
    if (method.name != effect.method) continue;
    for (int i = 0; i < method.numeric; ++i) {
      if (!IsEventParamDefined(effect.param[static_cast<std::size_t>(i)])) {
        LogLine(L"ERROR: param%i for effect at line %i is not defined!", i, effect.line);
        return false;
      }
    }
    for (int i = 0; i < method.text; ++i) {
      if (effect.paramString[static_cast<std::size_t>(i)].empty()) {
        LogLine(L"ERROR: paramString%i for effect at line %i is not defined!", i, effect.line);
        return false;
      }
    }
    return true;
  }
  LogLine(L"ERROR: Effect at line %i has unknown method (%s)!", effect.line, effect.method);
  return false;
}

}  // namespace

bool ParseEventXml(TiXmlDocument& document, std::string bytes) {
  // The line ends as the parser's own file reading leaves them: CR LF and a
  // lone CR become LF, and the text ends at its first NUL byte.
  std::size_t out = 0;
  for (std::size_t in = 0; in < bytes.size() && bytes[in] != '\0'; ++in) {
    if (bytes[in] == '\r') {
      bytes[out++] = '\n';
      if (in + 1 < bytes.size() && bytes[in + 1] == '\n') ++in;
    } else {
      bytes[out++] = bytes[in];
    }
  }
  // The parser takes the lead byte of a UTF-8 character for the whole
  // character and steps over up to three bytes more, past the end of a text
  // cut short: the zeros after the end stop it there.
  constexpr std::size_t kRoomAfterTheEnd = 8;
  bytes.resize(out);
  bytes.append(kRoomAfterTheEnd, '\0');
  document.Parse(bytes.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
  return !document.Error();
}

void LoadEventFiles(cEventManager& manager, const std::string& scenarioFolder) {
  LogLine(L"Initializing XML events file");
  const std::wstring folder = EventScenarioFolder(plat::FromUtf8(scenarioFolder));
  manager.documents.clear();
  std::vector<std::string> lines;
  // Without the list the scenario simply has no events.
  if (!ReadEventList(folder, lines)) return;
  if (const std::optional<std::wstring> refusal = OutsideFolderRefusal(folder, lines, scenarioFolder)) {
    FatalExit(*refusal + L" Exiting...");
  }
  for (const std::string& line : lines) {
    if (!NamesAnEventFile(line)) continue;
    manager.documents.push_back({line, std::make_unique<TiXmlDocument>()});
    if (!LoadXmlFile(*manager.documents.back().xml, line)) {
      FatalExit(plat::Format(L"ERROR initializing events from file %S. Exiting...", line));
    }
  }
}

std::optional<std::wstring> EventListRefusal(const std::string& scenarioFolder) {
  const std::wstring folder = EventScenarioFolder(plat::FromUtf8(scenarioFolder));
  std::vector<std::string> lines;
  if (!ReadEventList(folder, lines)) return std::nullopt;
  return OutsideFolderRefusal(folder, lines, scenarioFolder);
}

void ValidateEvents(cEventManager& manager) {
  manager.expressions.clear();
  manager.effects.clear();
  LogLine(L"Validation of events XML file. Searching for expressions...");
  // The file and line of each collected item, for the line that names it.
  std::vector<std::pair<const std::string*, int>> places;
  for (const cEventManager::sDocument& document : manager.documents) {
    for (const TiXmlElement* element : FindEventElements(*document.xml, "expression")) {
      manager.expressions.push_back(ReadEventExpression(*element));
      places.emplace_back(&document.fileName, element->Row());
      LogLine(L"<expression> found at row %i", element->Row());
    }
  }
  std::size_t index = 0;
  for (sEventExpression& expression : manager.expressions) {
    const auto& [file, row] = places[index++];
    if (!CheckExpression(expression, expression.left.methodKnown, expression.right.methodKnown)) {
      LogLine(L"ERROR: %S line %i: the expression above is not correct", *file, row);
      FatalExit(L"CRITICAL: Expression was incorrect. Terminating program. See errors above.");
    }
  }
  places.clear();
  LogLine(L"Validation of events XML file. Searching for effects...");
  for (const cEventManager::sDocument& document : manager.documents) {
    for (const TiXmlElement* element : FindEventElements(*document.xml, "effect")) {
      manager.effects.push_back(ReadEventEffect(*element));
      places.emplace_back(&document.fileName, element->Row());
      LogLine(L"<effect> found at row %i", element->Row());
    }
  }
  index = 0;
  for (sEventEffect& effect : manager.effects) {
    const std::string* file = places[index++].first;
    effect.methodKnown = CheckEffect(effect);
    if (!effect.methodKnown) {
      LogLine(L"ERROR: %S line %i: the effect above is not correct", *file, effect.line);
      FatalExit(plat::Format(L"CRITICAL: Effect at line %i is not correct. See error messages above. Exiting...",
                             effect.line));
    }
  }
}

void LoadAllEvents(cEventManager& manager) {
  LogLine(L"*****************************");
  LogLine(L"*LOADING ALL EVENTS FROM DOM*");
  LogLine(L"*****************************");
  manager.events.clear();
  int highest = -1;
  for (const cEventManager::sDocument& document : manager.documents) {
    std::list<sEvent> read;
    ReadDocumentEvents(*document.xml, read);
    for (const sEvent& event : read) {
      if (event.eventId > highest) highest = event.eventId;
    }
    manager.events.splice(manager.events.end(), read);
  }
  LogLine(L"Reserving memory for event bool vector... Max no. of events is %d, event with ID higher than %d will "
          L"crash...",
          kMaxEventId, kMaxEventId);
  if (highest != -1 && (highest < 0 || highest > kMaxEventId)) {
    FatalExit(plat::Format(L"ERROR: maxID = %d (have to be >= 0 && <= %d", highest, kMaxEventId));
  }
  manager.ResetChecked(highest);
  LogLine(L"*****************************");
  LogLine(L"*  FINISHED LOADING EVENTS  *");
  LogLine(L"*****************************");
}

bool ValidateExpression(const sEventExpression& expression) {
  bool knownLeft = false;
  bool knownRight = false;
  return CheckExpression(expression, knownLeft, knownRight);
}

