// The INI file and the game's settings read from one.
#include "app/ini_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>

#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/string_base.h"
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
  // Writes text as the settings file (none when null) and loads the settings from it.
  void LoadSettings(const char* text) {
    path_ = text ? dir_.Write("Settings.ini", text) : dir_.File("Settings.ini");
    LoadSettingsFrom(Wide(path_));
  }

  twtest::TempDir dir_;
  std::string path_;
  cIniFile ini_;
};
using SettingsTest = IniFileTest;

TEST_F(IniFileTest, LoadTrimsBlanksAndReadsTypedValues) {
  twtest::LogCapture log;
  LoadText("[Main\r\n \t Width   =   1280  \r\n  Title = Sea  of  Japan \r\nnot a key line\r\nk = 1\r\nk = 2\r\n"
           "[B]\na = true\nb = yes\nc = Yes\nd = TRUE\ne = 1\n"
           "[N]\na = -12abc\nb = abc\nc = +7\nd = 99999999999\ne = -2147483648\nf = -99999999999");
  EXPECT_EQ(log.Lines(), (Lines{L"Loading INI file " + Wide(path_) + L" ...", L"Loaded"}));
  // "[Main" names "Mai"; the later duplicate wins.
  EXPECT_EQ(std::tuple(ini_.GetInt("Mai/Width", 1024), ini_.GetString("Mai/Title", L""), ini_.GetInt("Mai/k", 0)),
            std::tuple(1280, std::wstring(L"Sea  of  Japan"), 2));
  // Only "true" and "yes" in lower case are true.
  for (auto [key, value] : {std::pair{"B/a", true}, {"B/b", true}, {"B/c", false}, {"B/d", false}, {"B/e", false}}) {
    EXPECT_EQ(ini_.GetBool(key, !value), value) << key;
  }
  const int ints[] = {-12, 0, 7, INT_MAX, INT_MIN, INT_MIN};  // the last line has no LF
  for (char key = 'a'; key <= 'f'; ++key) EXPECT_EQ(ini_.GetInt(std::string("N/") + key, 5), ints[key - 'a']) << key;
}

TEST_F(IniFileTest, SaveWritesCommentsDefaultsAndCrLf) {
  LoadText("; settings\n[Main]\n; width\nA=1\nB = x = y\n[Zeta]\n# lonely\n");
  // Missing keys give their defaults, which the save writes.
  EXPECT_EQ(std::pair(ini_.GetInt("Main/Missing", 5), ini_.GetBool("Main/Flag", true)), std::pair(5, true));
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
}

TEST_F(IniFileTest, MissingFileYieldsDefaultsAndSaveWritesNothing) {
  twtest::LogCapture log;
  const std::string missing = dir_.File("Nope.ini");
  ini_.Load(Wide(missing));
  EXPECT_EQ(std::pair(ini_.IsLoaded(), ini_.GetInt("Main/ResolutionX", 1024)), std::pair(false, 1024));
  EXPECT_TRUE(log.Contains(L"ERROR during opening INI file " + Wide(missing)));
  EXPECT_FALSE(log.Contains(L"Loaded"));
  ini_.Save();
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(SettingsTest, DefaultsConversionsFrameLimitBorderColourCarryAndZoomWithoutCreeping) {
  // No skin folder in the scratch folder: a skin name is kept as read.
  twtest::ScopedWorkingFolder working(dir_.Path());
  // A missing file gives every default.
  g_Settings.ResolutionX = 5;  // left from an earlier load: must be overwritten
  g_Settings.Windowed = false;
  g_Delays[kDelayAIMoveAfter] = 3.0f;
  twtest::LogCapture log;
  LoadSettings(nullptr);
  EXPECT_EQ(log.Lines().front(), L"Loading settings...");
  EXPECT_EQ(std::tuple(g_Settings.ResolutionX, g_Settings.Windowed, g_StringBase.GetLanguageCode()),
            std::tuple(1024, true, std::string("ENG")));
  for (int i = 0; i < kDelayCount; ++i) EXPECT_EQ(g_Delays[i].load(), 1000.0f) << i;
  // The values are converted.
  LoadSettings("[Main]\r\nResolutionX=1280\r\nResolutionY=1024\r\nFullscreen=true\r\n"
               "[MapDisplay]\r\nZoom=75\r\nSkin=Winter\r\nShowGrid=no\r\nMode=3\r\n"
               "[InterfaceSettings]\r\nConfirmEndTurn=false\r\n[Audio]\r\nMusicVolume=50\r\nSFXVolume=150\r\n"
               "[Delay]\r\nAIMoveBefore=250\r\nHumanMoveBetween=0\r\n");
  const sSettings& s = g_Settings;
  // The volume of 150 is not range-tested.
  EXPECT_EQ(std::tuple(s.Windowed, s.MapZoom, s.MapSkin, s.ShowGrid, s.SkipEndTurnConfirmation, s.SfxVolume),
            std::tuple(false, 0.75f, std::wstring(L"Winter"), false, true, 1.5f));
  EXPECT_EQ(std::pair(g_Delays[kDelayAIMoveBefore].load(), g_Delays[kDelayAIMoveBetween].load()),
            std::pair(250.0f, 1000.0f));
  // The frame limit counts from one up; the border colour's channels carry.
  for (auto [text, ms] : {std::pair{"0", 0}, {"-5", 0}, {"1", 1000}, {"3", 333}, {"40", 25}, {"2000", 0}}) {
    LoadSettings((std::string("[Main]\nFPSLimit=") + text + "\n").c_str());
    EXPECT_EQ(g_Settings.FrameIntervalMs, ms) << text;
  }
  // The last one wraps, without an overflow fault.
  for (auto [text, colour] : {std::pair{"ColorA=128\nColorR=1\nColorG=2\nColorB=3", 0x80010203u},
                              {"ColorR=256", 0x0000FFFFu}, {"ColorA=0\nColorR=0\nColorG=0\nColorB=-1", 0xFFFFFFFFu}}) {
    LoadSettings((std::string("[Border]\n") + text + "\n").c_str());
    EXPECT_EQ(g_Settings.BorderColor, colour) << text;
  }
  // The zoom is saved rounded up.
  EXPECT_EQ(ZoomToPercent(0.755f), 76);
  EXPECT_EQ(ZoomToPercent(0.751f), 76);
  // Every whole per cent survives a load and a save unchanged.
  for (int p = 1; p <= 1000; ++p) ASSERT_EQ(ZoomToPercent(static_cast<float>(p / 100.0)), p) << p;
}

// Settings.ini edited by hand: a delay or a sea battle's countdown beyond
// those the preferences offer is taken as the nearest one they offer, a skin whose folder is missing as the
// default skin, each with a WARNING; what is offered or installed is kept
// without one, and the file keeps its text.
TEST_F(SettingsTest, MistypedDelaysAndSkinsAreTakenAsTheNearestOfferedWithAWarning) {
  twtest::ScopedWorkingFolder working(dir_.Path());
  for (const char* skin : {"[MapSkin]Normal", "[MapSkin]Winter", "[UnitsSkin]Counters"}) {
    dir_.Write(std::string("data/gfx/") + skin + "/appearance.csv", "");
  }
  twtest::LogCapture log;
  LoadSettings("[MapDisplay]\nSkin=Norml\n[UnitsDisplay]\nSkin=Countrs\n[Delay]\nAIMoveBetween=2147483647999\n"
               "AICombatResult=-5000\nHumanCombatResult=-1\nAIMoveBefore=-40\nAIMoveAfter=20001\n"
               "HumanMoveBetween=150\nControlHint=20000\n[InterfaceSettings]\nSeaBattleTimeout=86400\n");
  EXPECT_EQ(std::pair(g_Settings.MapSkin, g_Settings.UnitsSkin), std::pair(std::wstring(L"Normal"), std::wstring(L"Counters")));
  EXPECT_EQ(g_SettingsIni.GetString("MapDisplay/Skin", L""), L"Norml");
  // "Until a click" is any negative delay of a combat report.
  const std::vector<float> delays = {g_Delays[kDelayAIMoveBetween], g_Delays[kDelayAICombatResult],
                                     g_Delays[kDelayHumanCombatResult], g_Delays[kDelayAIMoveBefore],
                                     g_Delays[kDelayAIMoveAfter], g_Delays[kDelayHumanMoveBetween],
                                     g_Delays[kDelayControlHint]};
  EXPECT_EQ(delays, (std::vector<float>{20000, -1000, -1, 0, 20000, 150, 20000}));
  // A sea battle's round would wait a day with its buttons off.
  EXPECT_EQ(g_Settings.SeaBattleTimeout, 20);
  Lines warnings;
  for (const std::wstring& line : log.Lines()) {
    if (line.rfind(L"WARNING: ", 0) == 0) warnings.push_back(line);
  }
  ASSERT_EQ(warnings.size(), 7u);
  EXPECT_EQ(warnings[0], L"WARNING: Settings.ini: UnitsDisplay/Skin=Countrs names no skin folder "
                         L"(data\\gfx\\[UnitsSkin]Countrs is missing); the default skin Counters is taken");
  EXPECT_EQ(warnings[2], L"WARNING: Settings.ini: InterfaceSettings/SeaBattleTimeout=86400 is beyond the values the "
                         L"preferences offer (0 to 20); taken as 20");
  EXPECT_EQ(warnings[3], L"WARNING: Settings.ini: Delay/AICombatResult=-5000 is beyond the values the preferences "
                         L"offer (-1000 to 20000); taken as -1000");
  EXPECT_EQ(warnings[4], L"WARNING: Settings.ini: Delay/AIMoveBefore=-40 is beyond the values the preferences offer "
                         L"(0 to 20000); taken as 0");
  EXPECT_NE(warnings[5].find(L"Delay/AIMoveBetween=2147483647999 is beyond"), std::wstring::npos);
  // An installed skin stays; without the default's folder a missing one
  // stays too (there is nothing better to show).
  LoadSettings("[MapDisplay]\nSkin=Winter\n");
  EXPECT_EQ(g_Settings.MapSkin, L"Winter");
  std::filesystem::remove_all(dir_.Path() / "data/gfx/[MapSkin]Normal");
  LoadSettings("[MapDisplay]\nSkin=Norml\n");
  EXPECT_EQ(g_Settings.MapSkin, L"Norml");
}

// A screen size the game has no layout for would end the game before its
// window: the shipped 1024 x 768 is taken with a WARNING naming the values,
// and its layout loads; a size with a layout is kept without one.
TEST_F(SettingsTest, AResolutionWithoutALayoutStartsAt1024x768) {
  twtest::ScopedWorkingFolder working(dir_.Path());
  dir_.Write("data/GUI_1024x768.csv", "#Rectangles\n12;100;50;200;30\n#Fonts\n");
  dir_.Write("data/GUI_1280x1024.csv", "#Rectangles\n12;1;2;3;4\n#Fonts\n");
  const struct { const char* x; const char* y; } mistyped[] = {
      {"abc", "768"}, {"0", "0"}, {"1280x960", "960"}, {"-1024", "-768"}, {"1280", "960"}};
  for (const auto& m : mistyped) {
    twtest::LogCapture log;
    LoadSettings((std::string("[Main]\nResolutionX=") + m.x + "\nResolutionY=" + m.y + "\n").c_str());
    EXPECT_EQ(std::pair(g_Settings.ResolutionX, g_Settings.ResolutionY), std::pair(1024, 768)) << m.x;
    const Lines lines = log.Lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [&](const std::wstring& line) {
                              return line.rfind(L"WARNING: Settings.ini: Main/ResolutionX=" + Wide(m.x) +
                                                    L", Main/ResolutionY=" + Wide(m.y) +
                                                    L" is no screen size the game has a layout for",
                                                0) == 0;
                            }),
              1)
        << m.x;
    EXPECT_EQ(g_SettingsIni.GetString("Main/ResolutionX", L""), Wide(m.x)) << "the file keeps its text";
    ASSERT_TRUE(LoadGuiLayoutFile(GuiLayoutFileName()));
    EXPECT_EQ(g_GuiLayout[12].a, 100);
  }
  twtest::LogCapture log;
  LoadSettings("[Main]\nResolutionX=1280\nResolutionY=1024\n");
  EXPECT_EQ(std::pair(g_Settings.ResolutionX, g_Settings.ResolutionY), std::pair(1280, 1024));
  for (const std::wstring& line : log.Lines()) EXPECT_EQ(line.find(L"WARNING"), std::wstring::npos) << line;
}

// The end-turn confirmation has one setter: the value the end-turn button
// reads, the key and the file always agree, and a load reads it back.
TEST_F(SettingsTest, EndTurnConfirmationIsOneSettingWrittenThrough) {
  LoadSettings("[InterfaceSettings]\r\nConfirmEndTurn=true\r\n");
  SetEndTurnConfirmation(false);
  EXPECT_TRUE(g_Settings.SkipEndTurnConfirmation);
  EXPECT_FALSE(g_SettingsIni.GetBool("InterfaceSettings/ConfirmEndTurn", true));
  g_Settings.SkipEndTurnConfirmation = false;
  LoadSettingsFrom(Wide(path_));
  EXPECT_TRUE(g_Settings.SkipEndTurnConfirmation);
  SetEndTurnConfirmation(true);
  LoadSettingsFrom(Wide(path_));
  EXPECT_FALSE(g_Settings.SkipEndTurnConfirmation);
}

}  // namespace
