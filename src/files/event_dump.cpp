// The designer's text dump of the loaded event files: per document one
// file in the working folder's dump folder with every event's header, its
// condition tree (the query methods of the left operands, joined by AND and
// OR) and its options with their effects and lines.
#include <filesystem>
#include <list>
#include <system_error>

#include "app/console_log.h"
#include "app/file_text.h"
#include "app/string_base.h"
#include "files/event_loader.h"
#include "files/event_paths.h"
#include "files/event_xml_reader.h"
#include "platform/format.h"
#include "platform/text.h"
#include "world/country.h"
#include "world/event_manager.h"
#include "world/world.h"

namespace {

// The title as the event dialog shows it: the text of a language key, else
// the title itself.
std::wstring ShownTitle(const std::wstring& title) {
  if (const std::optional<sStringBaseEntry> entry = g_StringBase.FindEntry(plat::ToUtf8(title))) return *entry->text;
  return title;
}

void WriteCondition(std::wstring& out, const sEventCondition& node, const std::wstring& indent) {
  const std::wstring connector = plat::Format(L"\n%s%s\n%s", indent, node.kind == 1 ? L"OR" : L"AND", indent);
  for (const sEventCondition& child : node.children) {
    WriteCondition(out, child, indent + L"  ");
    out += connector;
  }
  bool first = true;
  for (const sEventExpression& expression : node.expressions) {
    if (!first) out += connector;
    out += expression.left.method;
    first = false;
  }
  out += L"\n";
}

void WriteEvent(std::wstring& out, const sEvent& event, const cWorld& world) {
  const cCountry* country = world.GetCountry(event.countryId);
  const std::wstring when = event.beginDay != kEventUnsetInt
                                ? plat::Format(L"%i-%i-%4i to %2i-%2i-%2i", event.beginDay, event.beginMonth,
                                               event.beginYear, event.endDay, event.endMonth, event.endYear)
                                : std::wstring(L"all the time");
  out += plat::Format(
      L"\n-------------------------------------------------\nTitle: %s (%s)\nID: %i\nCountry: %s (ID = %i)\nVisible by "
      L"player: %s\nOne time checking only: %s\nTime of possible occurence: %s\n\nConditions:\n",
      ShownTitle(event.title), event.title, event.eventId, country ? country->name : std::wstring(), event.countryId,
      event.visibleByPlayer ? L"Yes" : L"No", event.oneTimeChecking ? L"Yes" : L"No", when);
  WriteCondition(out, event.condition, L"");
  for (const sEventOption& option : event.options) {
    out += plat::Format(L"\n----------\nOption: %s\nTooltip: %s\nID: %i\nAI chance: %i%%\nEffects:\n",
                        option.description, option.tooltip, option.optionId, option.chanceAI);
    for (const sEventEffect& effect : option.effects) {
      out += effect.method + L"(";
      for (double param : effect.param) {
        if (IsEventParamDefined(param)) out += plat::Format(L"%.0f, ", param);
      }
      for (const std::wstring& text : effect.paramString) {
        if (!text.empty()) out += plat::Format(L"\"%s\", ", text);
      }
      out += plat::Format(L")  #line: %i\n", effect.line);
    }
  }
}

}  // namespace

void DumpAllEvents(const cEventManager& manager, const cWorld& world) {
  std::error_code ec;
  std::filesystem::create_directories(kEventDumpFolder, ec);
  for (const cEventManager::sDocument& document : manager.documents) {
    std::list<sEvent> events;
    ReadDocumentEvents(*document.xml, events);
    std::wstring text;
    for (const sEvent& event : events) WriteEvent(text, event, world);
    const std::string path = EventDumpPath(document.fileName);
    // A text file as the game writes them: CR LF line ends.
    std::string bytes;
    for (char c : plat::ToUtf8(text)) {
      if (c == '\n') bytes += '\r';
      bytes += c;
    }
    if (files::WriteBytes(plat::FromUtf8(path), bytes)) {
      LogLine(L"Events of %S dumped to %S", document.fileName, path);
    } else {
      LogLine(L"ERROR: cannot write the events dump %S", path);
    }
  }
}
