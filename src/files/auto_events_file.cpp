#include "files/auto_events_file.h"

#include <algorithm>
#include <vector>

#include "app/console_log.h"
#include "app/string_base.h"
#include "files/fatal.h"
#include "files/file_text.h"
#include "platform/format.h"
#include "platform/lines.h"
#include "platform/text.h"

bool cAutoEventsRepository::Add(int eventId, int optionId) {
  if (Find(eventId) != pairs_.end()) return false;
  pairs_.emplace_back(eventId, optionId);
  return true;
}

std::list<cAutoEventsRepository::Pair>::const_iterator cAutoEventsRepository::Find(int eventId) const {
  return std::find_if(pairs_.begin(), pairs_.end(), [eventId](const Pair& p) { return p.first == eventId; });
}

void cAutoEventsRepository::Save(std::wstring_view folder) const {
  const std::wstring path = files::JoinPath(folder, L"auto_events.csv");
  g_ConsoleLog.WriteLine(g_StringBase.GetText("opening_file_for_writing..."));
  g_ConsoleLog.WriteLine(path);
  std::string text;
  for (const Pair& p : pairs_) text += plat::FormatNarrow("%i;%i\n", p.first, p.second);
  if (!files::WriteBytes(path, plat::ToCrLf(text))) {
    FilesFatalExit(g_StringBase.GetText("error_opening_file_for_writing"));
  }
  g_ConsoleLog.WriteLine(g_StringBase.GetText("file_opened_ok"));
}

void cAutoEventsRepository::Load(std::wstring_view folderFormat) {
  const std::wstring path = files::PathFromPattern(folderFormat, L"auto_events.csv");
  g_ConsoleLog.WriteLine(L"Wczytywanie repozytorium automatycznych zdarzen...");
  g_ConsoleLog.WriteLine(path);
  std::string bytes;
  if (!files::ReadBytes(path, bytes)) FilesFatalExit(L"Blad otwarcia pliku! (nie istnieje?)");
  g_ConsoleLog.WriteLine(L"Otwarcie OK");
  pairs_.clear();
  plat::LineReader lines(bytes);
  std::string_view raw;
  while (lines.Next(raw)) {
    if (raw.empty()) {
      g_ConsoleLog.WriteLine(g_StringBase.GetText("empty_line..."));
      continue;
    }
    if (raw[0] == '#') continue;
    const std::vector<std::wstring> fields = files::Split(plat::WidenAnsi(raw), false);
    if (fields.size() > 2) {
      FilesFatalExit(plat::Format(
          g_StringBase.GetText("error:_cannot_handle_word_from_column_%i_for_auto_events_repository."), 3));
    }
    if (fields.size() < 2) {
      FilesFatalExit(plat::Format(L"ERROR: line %i in %s has no option id", static_cast<int>(lines.LineNumber()), path));
    }
    pairs_.emplace_back(files::ParseInt(fields[0]), files::ParseInt(fields[1]));
  }
}
