#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "platform/text.h"
#include "support/test_support.h"

// Found by argument lookup when whole tables are compared.
bool operator==(const cIniFile::Entry& a, const cIniFile::Entry& b) {
  return a.comment == b.comment && a.value == b.value;
}

namespace {

using Lines = std::vector<std::wstring>;

std::wstring Wide(const std::string& path) { return plat::FromUtf8(path); }

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

TEST_F(IniFileTest, LoadTrimsBlanksAndReadsTypedValues) {
  twtest::LogCapture log;
  LoadText("[Main\r\n \t Width   =   1280  \r\n  Title = Sea  of  Japan \r\nnot a key line\r\nk = 1\r\nk = 2\r\n"
           "[B]\na = true\nb = yes\nc = Yes\nd = TRUE\ne = 1\n"
           "[N]\na = -12abc\nb = abc\nc = +7\nd = 99999999999\ne = -2147483648\nf = -99999999999");
  EXPECT_EQ(log.Lines(), (Lines{L"Loading INI file " + Wide(path_) + L" ...", L"Loaded"}));
  EXPECT_EQ(ini_.GetInt("Mai/Width", 1024), 1280);  // "[Main" names "Mai"
  EXPECT_EQ(ini_.GetString("Mai/Title", L""), L"Sea  of  Japan");
  EXPECT_EQ(ini_.GetInt("Mai/k", 0), 2);  // the later duplicate wins
  EXPECT_TRUE(ini_.GetBool("B/a", false));
  EXPECT_TRUE(ini_.GetBool("B/b", false));
  for (const char* path : {"B/c", "B/d", "B/e"}) EXPECT_FALSE(ini_.GetBool(path, true)) << path;
  const int ints[] = {-12, 0, 7, INT_MAX, INT_MIN, INT_MIN};  // the last line has no LF
  for (char key = 'a'; key <= 'f'; ++key) EXPECT_EQ(ini_.GetInt(std::string("N/") + key, 5), ints[key - 'a']) << key;
}

TEST_F(IniFileTest, SaveWritesCommentsDefaultsAndCrLf) {
  LoadText("; settings\n[Main]\n; width\nA=1\nB = x = y\n[Zeta]\n# lonely\n");
  EXPECT_EQ(ini_.GetInt("Main/Missing", 5), 5);
  EXPECT_TRUE(ini_.GetBool("Main/Flag", true));
  EXPECT_EQ(ini_.GetString("Audio/Name", L"caf\u00E9"), L"caf\u00E9");
  ini_.SetBool("Main/A", false);
  EXPECT_EQ(SaveAndRead(), "\r\n[Audio]\r\nName = caf\xE9\r\n"
                           "\r\n; settings\r\n[Main]\r\n; width\r\nA = false\r\nB = x = y\r\n"
                           "Flag = true\r\nMissing = 5\r\n"
                           "\r\n[Zeta]\r\n");
}

// Plain path order would put "Main X" between "Main" and "Main/Width" and the
// bare keys after Main X's keys, so both would move on reload.
TEST_F(IniFileTest, SavedFileLoadsBackIntoTheSameSectionsAndKeys) {
  LoadText("Zoom = 0\n[Main X]\n; upper\nKey = 1\nkey = 2\n[Main]\nWidth = 3\n[Main!]\n[Mai]\nq = 4\n");
  EXPECT_EQ(ini_.GetString("Solo", L"d"), L"d");
  ini_.SetString("Main/Added", L"5");
  const cIniFile::Table before = ini_.Entries();
  EXPECT_EQ(SaveAndRead(), "Solo = d\r\nZoom = 0\r\n\r\n[Mai]\r\nq = 4\r\n\r\n[Main]\r\nAdded = 5\r\nWidth = 3\r\n"
                           "\r\n[Main X]\r\n; upper\r\nKey = 1\r\nkey = 2\r\n\r\n[Main!]\r\n");
  cIniFile again;
  again.Load(Wide(path_));
  EXPECT_TRUE(again.Entries() == before);
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

}  // namespace
