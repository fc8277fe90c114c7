#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "platform/text.h"
#include "support/test_support.h"

namespace {

std::wstring Wide(const std::string& path) { return plat::FromUtf8(path); }

bool SameTable(const cIniFile::Table& a, const cIniFile::Table& b) {
  if (a.size() != b.size()) return false;
  for (auto ia = a.begin(), ib = b.begin(); ia != a.end(); ++ia, ++ib) {
    if (ia->first != ib->first || ia->second.comment != ib->second.comment ||
        ia->second.value != ib->second.value) {
      return false;
    }
  }
  return true;
}

class IniFileTest : public ::testing::Test {
 protected:
  // Writes text as Settings.ini in the scratch folder and loads it.
  void LoadText(const std::string& text) {
    path_ = dir_.Write("Settings.ini", text);
    ini_.Load(Wide(path_));
    ASSERT_TRUE(ini_.IsLoaded());
  }
  std::string SaveAndRead() {
    ini_.Save();
    return twtest::ReadFile(path_);
  }

  twtest::TempDir dir_;
  std::string path_;
  cIniFile ini_;
};

TEST_F(IniFileTest, LoadTrimsBlanksAndLogs) {
  twtest::LogCapture log;
  LoadText("[Main]\r\n \t ResolutionX   =   1280  \r\n  Title = Sea  of  Japan \r\nnot a key line\r\n");
  EXPECT_EQ(ini_.GetInt("Main/ResolutionX", 1024), 1280);
  EXPECT_EQ(ini_.GetString("Main/Title", L""), L"Sea  of  Japan");
  EXPECT_EQ(log.Lines(), (std::vector<std::wstring>{L"Loading INI file " + Wide(path_) + L" ...", L"Loaded"}));
}

TEST_F(IniFileTest, BooleansAreExactlyTrueOrYes) {
  LoadText("[B]\na = true\nb = yes\nc = Yes\nd = TRUE\ne = 1\nf = true \n");
  EXPECT_TRUE(ini_.GetBool("B/a", false));
  EXPECT_TRUE(ini_.GetBool("B/b", false));
  EXPECT_TRUE(ini_.GetBool("B/f", false));  // trailing blank trimmed at load
  for (const char* path : {"B/c", "B/d", "B/e"}) EXPECT_FALSE(ini_.GetBool(path, true)) << path;
  EXPECT_TRUE(ini_.GetBool("B/missing", true));
  EXPECT_EQ(ini_.Entries().at("B/missing").value, "true");
}

TEST_F(IniFileTest, GetIntReadsLeadingDigitsAndNeverOverflows) {
  LoadText("[N]\na = -12abc\nb = abc\nc = +7\nd = 99999999999\ne = -2147483648\nf = -99999999999\n");
  EXPECT_EQ(ini_.GetInt("N/a", 5), -12);
  EXPECT_EQ(ini_.GetInt("N/b", 5), 0);
  EXPECT_EQ(ini_.GetInt("N/c", 5), 7);
  EXPECT_EQ(ini_.GetInt("N/d", 5), INT_MAX);
  EXPECT_EQ(ini_.GetInt("N/e", 5), INT_MIN);
  EXPECT_EQ(ini_.GetInt("N/f", 5), INT_MIN);
  ini_.SetInt("N/g", -42);
  EXPECT_EQ(ini_.GetString("N/g", L""), L"-42");
}

TEST_F(IniFileTest, GrammarEdgeCases) {
  // Later duplicate wins, "[Main" names "Mai", last line without LF is read.
  LoadText("[Main\nk = 1\nk = 2\n[Other]\nlast=9");
  EXPECT_EQ(ini_.GetInt("Mai/k", 0), 2);
  EXPECT_EQ(ini_.GetInt("Other/last", 0), 9);
  EXPECT_EQ(ini_.Entries().count("Main"), 0u);
}

TEST_F(IniFileTest, SaveWritesDefaultsCommentsAndCrLf) {
  LoadText("; settings\n[Main]\n; width\nA=1\nB = x = y\n[Zeta]\n# lonely\n");
  EXPECT_EQ(ini_.GetInt("Main/Missing", 5), 5);
  EXPECT_EQ(ini_.GetString("Audio/Name", L"caf\u00E9"), L"caf\u00E9");
  ini_.SetBool("Main/A", false);
  EXPECT_EQ(SaveAndRead(),
            "\r\n[Audio]\r\nName = caf\xE9\r\n"
            "\r\n; settings\r\n[Main]\r\n; width\r\nA = false\r\nB = x = y\r\nMissing = 5\r\n"
            "\r\n[Zeta]\r\n");
}

TEST_F(IniFileTest, BareKeysComeFirstWithoutSectionLine) {
  LoadText("Top = 1\n[S]\nk = 2\n");
  EXPECT_EQ(ini_.GetInt("Top", 0), 1);
  EXPECT_EQ(ini_.GetString("Solo", L"d"), L"d");  // a bare path that was not there
  EXPECT_EQ(SaveAndRead(), "Solo = d\r\nTop = 1\r\n\r\n[S]\r\nk = 2\r\n");
}

// Plain path order would put "Main X" between "Main" and "Main/Width" and
// the bare key Zoom after Main X's keys, so both would move on reload.
TEST_F(IniFileTest, SavedFileLoadsBackIntoTheSameSectionsAndKeys) {
  LoadText("Zoom = 0\n[Main X]\n; upper\nKey = 1\nkey = 2\n[Main]\nWidth = 3\n[Main!]\n[Mai]\nq = 4\n");
  ini_.SetString("Main/Added", L"5");
  const cIniFile::Table before = ini_.Entries();
  EXPECT_EQ(SaveAndRead(),
            "Zoom = 0\r\n\r\n[Mai]\r\nq = 4\r\n\r\n[Main]\r\nAdded = 5\r\nWidth = 3\r\n\r\n[Main X]\r\n; upper\r\n"
            "Key = 1\r\nkey = 2\r\n\r\n[Main!]\r\n");
  cIniFile again;
  again.Load(Wide(path_));
  EXPECT_TRUE(SameTable(again.Entries(), before));
  EXPECT_EQ(again.GetInt("Main X/Key", 0), 1);
  EXPECT_EQ(again.GetInt("Main X/key", 0), 2);
}

TEST_F(IniFileTest, MissingFileYieldsDefaultsAndSaveWritesNothing) {
  twtest::LogCapture log;
  const std::string missing = dir_.File("Nope.ini");
  ini_.Load(Wide(missing));
  EXPECT_FALSE(ini_.IsLoaded());
  EXPECT_TRUE(log.Contains(L"ERROR during opening INI file " + Wide(missing)));
  EXPECT_FALSE(log.Contains(L"Loaded"));
  EXPECT_EQ(ini_.GetInt("Main/ResolutionX", 1024), 1024);
  ini_.Save();
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(IniFileTest, WindowsStylePathFindsTheFileInAnyCase) {
  const std::string real = dir_.Write("data/scenarios/X/Info.ini", "[Info]\nName = Pacific\n");
  const std::wstring asWritten = Wide(dir_.Path().string()) + L"\\DATA\\Scenarios\\x\\info.INI";
  ini_.Load(asWritten);
  ASSERT_TRUE(ini_.IsLoaded());
  EXPECT_EQ(ini_.GetString("Info/Name", L""), L"Pacific");
  ini_.SetInt("Info/Turn", 3);
  ini_.Save();
  EXPECT_EQ(twtest::ReadFile(real), "\r\n[Info]\r\nName = Pacific\r\nTurn = 3\r\n");
}

TEST_F(IniFileTest, SaveFailureIsLoggedAndNewLoadReplacesTable) {
  const std::string inFolder = dir_.Write("sub/Gone.ini", "[A]\nx = 1\n");
  ini_.Load(Wide(inFolder));
  std::filesystem::remove_all(dir_.Path() / "sub");
  twtest::LogCapture log;
  ini_.Save();
  EXPECT_TRUE(log.Contains(L"ERROR during saving INI file " + Wide(inFolder)));

  LoadText("[B]\ny = 2\n");
  EXPECT_EQ(ini_.Entries().count("A/x"), 0u);
  EXPECT_EQ(ini_.FileName(), Wide(path_));
}

TEST_F(IniFileTest, BinaryGarbageLoadsWithoutHarm) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 131 + 7) % 256);
  bytes += std::string("\0[\0=\n[\n=\n;", 11);
  LoadText(bytes);
  ini_.GetInt("Main/ResolutionX", 1);
  ini_.Save();
  cIniFile again;
  again.Load(Wide(path_));
  EXPECT_TRUE(again.IsLoaded());
}

}  // namespace
