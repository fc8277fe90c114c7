#include "files/auto_events_file.h"

#include <algorithm>
#include <vector>

#include "app/console_log.h"
#include "app/string_base.h"
#include "app/data_rows.h"
#include "app/fatal_exit.h"
#include "app/file_text.h"
#include "platform/format.h"
#include "platform/lines.h"
#include "platform/text.h"

void SaveAutoEvents(const cAutoEventsRepository& repository, std::wstring_view folder) {
  const std::wstring path = files::JoinPath(folder, L"auto_events.csv");
  g_ConsoleLog.WriteLine(g_StringBase.GetText("opening_file_for_writing..."));
  g_ConsoleLog.WriteLine(path);
  std::string text;
  for (const cAutoEventsRepository::Pair& p : repository.Pairs()) text += plat::FormatNarrow("%i;%i\n", p.first, p.second);
  if (!files::WriteBytes(path, plat::ToCrLf(text))) {
    FatalExit(g_StringBase.GetText("error_opening_file_for_writing"));
  }
  g_ConsoleLog.WriteLine(g_StringBase.GetText("file_opened_ok"));
}

void LoadAutoEvents(cAutoEventsRepository& repository, std::wstring_view folderFormat) {
  const std::wstring path = files::PathFromPattern(folderFormat, L"auto_events.csv");
  const std::string bytes =
      files::ReadDataFileOrExit(path, {L"Wczytywanie repozytorium automatycznych zdarzen..."});
  repository.Clear();
  // Only a saved game has this file, written by the game itself.
  files::cRowCheck row(path, files::eRowLoss::kRefuse);
  files::cKeyLines<int> eventLines;
  plat::LineReader lines(bytes);
  std::string_view raw;
  while (lines.Next(raw)) {
    if (raw.empty()) {
      g_ConsoleLog.WriteLine(g_StringBase.GetText("empty_line..."));
      continue;
    }
    if (raw[0] == '#') continue;
    const std::vector<std::wstring> fields = files::Split(plat::WidenAnsi(raw), false);
    row.Start(static_cast<std::uint32_t>(lines.LineNumber()), fields);
    if (fields.size() > 2) {
      LogLine(L"ERROR: %s line %i: %i fields where 2 are read", path, static_cast<int>(lines.LineNumber()),
              static_cast<int>(fields.size()));
      FatalExit(plat::Format(
          g_StringBase.GetText("error:_cannot_handle_word_from_column_%i_for_auto_events_repository."), 3));
    }
    if (fields.size() < 2) {
      FatalExit(plat::Format(L"ERROR: line %i in %s has no option id", static_cast<int>(lines.LineNumber()), path));
    }
    const int eventId = row.Int(0, L"event id");
    // The repository holds one option an event.
    if (const std::uint32_t first = eventLines.Earlier(eventId, row.Line())) {
      row.Repeated(plat::Format(L"event %i", eventId), first, {});
    }
    repository.Append(eventId, row.Int(1, L"option id"));
  }
  row.RefuseWhenLastLineOpen(bytes, static_cast<std::uint32_t>(lines.LineNumber()));
}
