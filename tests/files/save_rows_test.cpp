// The rows the record of a save's files keeps of each table: every table
// of a saved game counts one row fewer when it is cut inside its last row,
// as when it is cut before it, whatever ends the game's rows in it.
#include "files/save_rows.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "files/save_folders.h"
#include "files/save_game.h"
#include "files/world_loader.h"
#include "files_fixture.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"

namespace {

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Where the table's last record begins (after the last line end that has
// text other than a comment after it).
std::size_t LastRecordStart(const std::string& text) {
  std::size_t end = text.size();
  while (end > 0) {
    while (end > 0 && IsLineEnd(text[end - 1])) --end;
    const std::size_t start = text.find_last_of("\r\n", end == 0 ? 0 : end - 1);
    const std::size_t begin = start == std::string::npos ? 0 : start + 1;
    const std::size_t first = text.find_first_not_of(';', begin);
    if (first < end && text[first] != '#') return begin;
    end = begin;
  }
  return std::string::npos;
}

TEST(SaveRows, ATableCutInsideItsLastRowCountsItsWholeRowsOnly) {
  twtest::TempWorkingFolder dir;
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame{&renderer};
  LoadWorld(twtest::CopyFixtureScenario(dir.Path()));
  ASSERT_NE(g_pWorld, nullptr);
  ASSERT_TRUE(SaveGame(*g_pWorld, L"Saved", false).ok);
  delete g_pWorld;
  g_pWorld = nullptr;

  // The save holds the files every save writes, and its record.
  std::set<std::string> names;
  for (const wchar_t* file : kSavedGameFiles) names.insert(plat::ToUtf8(file));
  names.insert("save_complete.txt");
  std::set<std::string> written;
  int cutTables = 0;
  for (const auto& [name, bytes] : filestest::ReadFolder("data/save/Saved")) {
    written.insert(name);
    const std::wstring file = plat::FromUtf8(name);
    if (!IsRowCountedFile(file) || name == "reports.dat") continue;
    // The airship attacks are cut as text, then written back in UTF-16LE.
    const bool wide = name == "airship_attacks.csv";
    const std::string text = wide ? plat::ToUtf8(plat::FromUtf16LE(bytes.data(), bytes.size())) : bytes;
    const auto rowsOf = [&](const std::string& part) {
      return SaveFileRows(file, wide ? plat::ToUtf16LE(plat::FromUtf8(part)) : part).value_or(999);
    };
    const std::size_t last = LastRecordStart(text);
    if (last == std::string::npos) continue;
    const std::size_t length = text.find_first_of("\r\n", last) == std::string::npos
                                   ? text.size() - last
                                   : text.find_first_of("\r\n", last) - last;
    const std::uint32_t rows = rowsOf(text);
    ++cutTables;
    // Cut before the row, inside a field, after one of its fields (told by
    // the width of the rows before it), or before its end. A row of the
    // computer's data ends in its last value: one cut inside that value
    // cannot be told from a whole one.
    std::vector<std::size_t> keeps{0, 1};
    const std::size_t afterField = text.find(';', last + length / 2);
    const std::size_t inField = text.find_first_not_of(';', last + length / 2);
    // A lone row has no width to go by.
    if (afterField < last + length - 1 && rows > 1) keeps.push_back(afterField + 1 - last);
    if (inField < last + length - 1) keeps.push_back(inField + 1 - last);
    if (name != "ai_data.csv") keeps.push_back(length - 1);
    for (const std::size_t keep : keeps) {
      EXPECT_EQ(rowsOf(text.substr(0, last + keep)), rows - 1) << name << " cut after " << keep << " bytes of its last row";
    }
  }
  EXPECT_EQ(written, names);
  EXPECT_GE(cutTables, 15);
}

}  // namespace
