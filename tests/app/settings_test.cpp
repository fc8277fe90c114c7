#include "app/settings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/string_base.h"
#include "platform/text.h"
#include "support/test_support.h"

namespace {

class SettingsTest : public ::testing::Test {
 protected:
  // Writes text as the settings file (none when null) and loads it.
  void Load(const char* text) {
    path_ = text ? dir_.Write("Settings.ini", text) : dir_.File("Settings.ini");
    LoadSettingsFrom(plat::FromUtf8(path_));
  }

  twtest::TempDir dir_;
  std::string path_;
};

TEST_F(SettingsTest, MissingFileGivesEveryDefault) {
  g_Settings.ResolutionX = 5;  // left from an earlier load: must be overwritten
  g_Settings.Windowed = false;
  g_Delays[kDelayAIMoveAfter] = 3.0f;
  twtest::LogCapture log;
  Load(nullptr);
  EXPECT_EQ(log.Lines().front(), L"Loading settings...");
  EXPECT_EQ(g_Settings.ResolutionX, 1024);
  EXPECT_TRUE(g_Settings.Windowed);
  for (int i = 0; i < kDelayCount; ++i) EXPECT_EQ(g_Delays[i].load(), 1000.0f) << i;
  EXPECT_EQ(g_StringBase.GetLanguageCode(), "ENG");
}

TEST_F(SettingsTest, ValuesAreConverted) {
  Load("[Main]\r\nResolutionX=1280\r\nResolutionY=1024\r\nFullscreen=true\r\nFPSLimit=40\r\n"
       "[MapDisplay]\r\nZoom=75\r\nSkin=Winter\r\nShowGrid=no\r\nMode=3\r\n"
       "[Border]\r\nColorA=128\r\nColorR=1\r\nColorG=2\r\nColorB=3\r\n"
       "[InterfaceSettings]\r\nConfirmEndTurn=false\r\n"
       "[Audio]\r\nMusicVolume=50\r\nSFXVolume=150\r\n"
       "[Delay]\r\nAIMoveBefore=250\r\nHumanMoveBetween=0\r\n");
  const sSettings& s = g_Settings;
  EXPECT_FALSE(s.Windowed);
  EXPECT_EQ(s.FrameIntervalMs, 25);
  EXPECT_FLOAT_EQ(s.MapZoom, 0.75f);
  EXPECT_EQ(s.MapSkin, L"Winter");
  EXPECT_FALSE(s.ShowGrid);
  EXPECT_EQ(s.BorderColor, 0x80010203u);
  EXPECT_TRUE(s.SkipEndTurnConfirmation);
  EXPECT_FLOAT_EQ(s.SfxVolume, 1.5f);  // not range-tested
  EXPECT_EQ(g_Delays[kDelayAIMoveBefore].load(), 250.0f);
  EXPECT_EQ(g_Delays[kDelayAIMoveBetween].load(), 1000.0f);
}

TEST_F(SettingsTest, FrameLimitFromOneUpAndBorderColourCarry) {
  for (auto [text, ms] : {std::pair{"0", 0}, {"-5", 0}, {"1", 1000}, {"3", 333}, {"2000", 0}}) {
    Load((std::string("[Main]\nFPSLimit=") + text + "\n").c_str());
    EXPECT_EQ(g_Settings.FrameIntervalMs, ms) << text;
  }

  Load("[Border]\nColorR=256\n");
  EXPECT_EQ(g_Settings.BorderColor, 0x0000FFFFu);
  Load("[Border]\nColorA=0\nColorR=0\nColorG=0\nColorB=-1\n");
  EXPECT_EQ(g_Settings.BorderColor, 0xFFFFFFFFu);  // wraps, no overflow fault
}

TEST_F(SettingsTest, ZoomIsSavedRoundedUpWithoutCreeping) {
  EXPECT_EQ(ZoomToPercent(0.755f), 76);
  EXPECT_EQ(ZoomToPercent(0.751f), 76);
  // Every whole per cent survives a load and a save unchanged.
  for (int p = 1; p <= 1000; ++p) ASSERT_EQ(ZoomToPercent(static_cast<float>(p / 100.0)), p) << p;
}

}  // namespace
