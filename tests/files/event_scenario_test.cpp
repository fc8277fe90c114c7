// A scenario's events through the whole loading: the fixture scenario with
// an event file, its automatic choices seeded for a new game and restored
// for a saved one (whose events still come from the scenario's folder), a
// broken event file ending the load, and the designer's dump.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <list>
#include <string>
#include <vector>

#include "app/fatal_exit.h"
#include "app/music_player.h"
#include "files/event_loader.h"
#include "files/event_paths.h"
#include "files/save_game.h"
#include "files/world_loader.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "support/fixture_scenario.h"
#include "support/test_support.h"
#include "support/world_builders.h"
#include "world/event_manager.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;

// Events 7 (options 1:10, 2:40, 3:40), 3 (no option with a chance) and 9
// (option 5:0).
const char* const kEvents =
    "<?xml version=\"1.0\"?>\r\n"
    "<events>\r\n"
    " <event eventID=\"7\" countryID=\"1\" visibleByPlayer=\"1\" oneTimeChecking=\"1\">\r\n"
    "  <title>Crisis</title>\r\n"
    "  <condition><and><expression><leftOperand method=\"Game.GetCurrentTurn\"/><operator value=\"greater\"/>"
    "<rightOperand constValue=\"0\"/></expression></and></condition>\r\n"
    "  <options>\r\n"
    "   <option optionID=\"1\" chanceAI=\"10\"><description>Wait</description><effects>\r\n"
    "    <effect method=\"Flag.SetValue\" param0=\"5\" param1=\"1\"/>\r\n"
    "   </effects></option>\r\n"
    "   <option optionID=\"2\" chanceAI=\"40\"/>\r\n"
    "   <option optionID=\"3\" chanceAI=\"40\"/>\r\n"
    "  </options>\r\n"
    " </event>\r\n"
    " <event eventID=\"3\" countryID=\"2\" visibleByPlayer=\"0\" oneTimeChecking=\"0\">\r\n"
    "  <options><option optionID=\"4\"/></options>\r\n"
    " </event>\r\n"
    " <event eventID=\"9\" countryID=\"2\" visibleByPlayer=\"0\" oneTimeChecking=\"0\">\r\n"
    "  <options><option optionID=\"5\" chanceAI=\"0\"/></options>\r\n"
    " </event>\r\n"
    "</events>\r\n";

class EventScenario : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR to the source tree";
    settings_ = twtest::CopyFixtureScenario(dir_.Path());
    dir_.Write("data/scenarios/Fixture/event_files.txt",
               "; events of the fixture\r\n\r\ndata\\scenarios\\Fixture\\events\\story.xml\r\n");
    dir_.Write("data/scenarios/Fixture/events/story.xml", kEvents);
  }
  void TearDown() override {
    delete g_pWorld;
    g_pWorld = nullptr;
  }
  static std::vector<int> EventIds(const cWorld& world) {
    std::vector<int> ids;
    for (const sEvent& event : world.eventManager.events) ids.push_back(event.eventId);
    return ids;
  }

  twtest::TempWorkingFolder dir_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  sGameStartSettings settings_;
};

TEST_F(EventScenario, ANewGameLoadsTheEventsAndSeedsTheAutomaticChoices) {
  twtest::LogCapture log;
  LoadWorld(settings_);
  ASSERT_NE(g_pWorld, nullptr);
  const cWorld& w = *g_pWorld;
  EXPECT_EQ(EventIds(w), (std::vector<int>{7, 3, 9}));
  EXPECT_EQ(w.eventManager.events.front().options.front().effects.front().line, 8);
  EXPECT_EQ(w.eventManager.checked.size(), 10u);
  // The greatest chance (the first of equal ones); none: the choice before;
  // a chance of 0 counts.
  const std::list<cAutoEventsRepository::Pair> pairs = {{7, 2}, {3, 2}, {9, 5}};
  EXPECT_EQ(w.autoEvents.Pairs(), pairs);
  // The events are loaded after the id counters and before the computer
  // data, by the second pass.
  const auto lines = log.Lines();
  const auto at = [&](const std::wstring& line) { return std::find(lines.begin(), lines.end(), line) - lines.begin(); };
  EXPECT_LT(at(L"Initializing XML events file"), at(L"*  FINISHED LOADING EVENTS  *"));
  EXPECT_LT(at(L"*  FINISHED LOADING EVENTS  *"), at(L"-- Loading new scenario done!"));
}

TEST_F(EventScenario, ASavedGameReadsItsEventsFromTheScenarioAndKeepsItsChoices) {
  LoadWorld(settings_);
  ASSERT_TRUE(SaveGame(*g_pWorld, L"Later", false).ok);
  EXPECT_FALSE(fs::exists(dir_.Path() / "data/save/Later/event_files.txt"));
  // The scenario's events change after the save: the saved game plays the
  // scenario's events as they are now, with the choices it saved.
  std::string changed = kEvents;
  changed.replace(changed.find("eventID=\"9\""), 11, "eventID=\"11\"");
  dir_.Write("data/scenarios/Fixture/events/story.xml", changed);
  LoadWorld(sGameStartSettings{L"data\\save\\Later\\%s", 1});
  ASSERT_NE(g_pWorld, nullptr);
  EXPECT_EQ(EventIds(*g_pWorld), (std::vector<int>{7, 3, 11}));
  const std::list<cAutoEventsRepository::Pair> pairs = {{7, 2}, {3, 2}, {9, 5}};
  EXPECT_EQ(g_pWorld->autoEvents.Pairs(), pairs);
}

TEST_F(EventScenario, ABrokenEventFileEndsTheLoadWithoutAWorld) {
  std::string broken = kEvents;
  broken.replace(broken.find("Flag.SetValue\" param0=\"5\" param1=\"1\""), 36, "Flag.SetValue\" param0=\"5\"");
  dir_.Write("data/scenarios/Fixture/events/story.xml", broken);
  twtest::LogCapture log;
  cScopedThrowingFatalHook hook;
  EXPECT_THROW(LoadWorld(settings_), sFatalExitError);
  EXPECT_EQ(g_pWorld, nullptr);
  EXPECT_TRUE(log.Contains(L"ERROR: param1 for effect at line 8 is not defined!"));
  EXPECT_TRUE(log.Contains(L"CRITICAL: Effect at line 8 is not correct. See error messages above. Exiting..."));
}

// A copy of a scenario under another folder name plays its own events or is
// refused with what to change: its header naming the original folder, or its
// list naming the original's files, never makes it play the original's.
TEST_F(EventScenario, ACopiedScenarioReadsItsOwnEventsOrIsRefusedWithWhatToChange) {
  const fs::path original = dir_.Path() / "data/scenarios/Fixture";
  fs::copy(original, dir_.Path() / "data/scenarios/Copy", fs::copy_options::recursive);
  std::string own = kEvents;
  own.replace(own.find("eventID=\"9\""), 11, "eventID=\"12\"");
  dir_.Write("data/scenarios/Copy/events/story.xml", own);
  const sGameStartSettings copy{L"data\\scenarios\\Copy\\%s", 0};
  std::string info = twtest::ReadFile((dir_.Path() / "data/scenarios/Copy/Info.ini").string());
  ASSERT_NE(info.find("ScenarioName=Fixture"), std::string::npos);
  {
    twtest::LogCapture log;
    cScopedThrowingFatalHook hook;
    EXPECT_THROW(LoadWorld(copy), sFatalExitError);
    EXPECT_EQ(g_pWorld, nullptr);
    EXPECT_TRUE(log.Contains(
        L"ERROR: data\\scenarios\\Copy\\Info.ini: Save/ScenarioName \"Fixture\" is not the scenario's own folder "
        L"\"Copy\": the game would read the events, constants, cities diagram and sea edges of scenario \"Fixture\". "
        L"Set ScenarioName=Copy in the [Save] section, or give the folder the name \"Fixture\". Exiting..."));
  }
  info.replace(info.find("ScenarioName=Fixture"), 20, "ScenarioName=Copy");
  dir_.Write("data/scenarios/Copy/Info.ini", info);
  {
    twtest::LogCapture log;
    cScopedThrowingFatalHook hook;
    EXPECT_THROW(LoadWorld(copy), sFatalExitError);
    EXPECT_TRUE(log.Contains(
        L"ERROR: data\\scenarios\\Copy\\event_files.txt line 3: event file data\\scenarios\\Fixture\\events\\story.xml "
        L"is not inside the scenario folder data\\scenarios\\Copy\\; the events of a scenario are read from its own "
        L"folder only: write it as data\\scenarios\\Copy\\events\\story.xml. Exiting..."));
  }
  dir_.Write("data/scenarios/Copy/event_files.txt", "data\\scenarios\\Copy\\events\\story.xml\r\n");
  LoadWorld(copy);
  ASSERT_NE(g_pWorld, nullptr);
  EXPECT_EQ(EventIds(*g_pWorld), (std::vector<int>{7, 3, 12}));
}

TEST(EventDump, WritesEachDocumentIntoTheDumpFolderOnly) {
  twtest::TempWorkingFolder dir;
  dir.Write("data/scenarios/S/event_files.txt", "data\\scenarios\\S\\deep\\story.xml\n");
  dir.Write("data/scenarios/S/deep/story.xml",
            "<events>\n"
            "<event eventID=\"4\" countryID=\"2\" visibleByPlayer=\"1\" oneTimeChecking=\"0\">\n"
            "<title>Pact</title>\n"
            "<beginDate day=\"1\" month=\"9\" year=\"1939\"/><endDate day=\"2\" month=\"3\" year=\"41\"/>\n"
            "<condition><or>\n"
            "<and><expression><leftOperand method=\"Get.MudMove\"/><operator value=\"less\"/>"
            "<rightOperand constValue=\"1\"/></expression></and>\n"
            "<expression><leftOperand method=\"Country.IsActive\" param0=\"1\"/><operator value=\"less\"/>"
            "<rightOperand constValue=\"1\"/></expression>\n"
            "<expression><leftOperand method=\"Get.WinterMove\"/><operator value=\"less\"/>"
            "<rightOperand constValue=\"1\"/></expression>\n"
            "</or></condition>\n"
            "<options><option optionID=\"1\" chanceAI=\"60\"><description>Sign</description><tooltip>T</tooltip>"
            "<effects>\n"
            "<effect method=\"Hex.AddNavalUnit\" param0=\"2.6\" param1=\"3\" paramString0=\"HMS X\"/>\n"
            "</effects></option></options>\n"
            "</event>\n"
            "<event eventID=\"5\" countryID=\"9\" visibleByPlayer=\"0\" oneTimeChecking=\"1\"/>\n"
            "</events>\n");
  cEventManager manager;
  LoadEventFiles(manager, "S");
  ValidateEvents(manager);
  LoadAllEvents(manager);
  cWorld world;
  twtest::AddCountry(world, 0, L"Westland");
  twtest::AddCountry(world, 0, L"Eastmark");
  DumpAllEvents(manager, world);

  const std::string expected =
      "\n-------------------------------------------------\nTitle: Pact (Pact)\nID: 4\nCountry: Eastmark (ID = 2)\n"
      "Visible by player: Yes\nOne time checking only: No\nTime of possible occurence: 1-9-1939 to  2- 3-41\n\n"
      "Conditions:\n"
      "Get.MudMove\n"
      "\nOR\n"
      "Country.IsActive\nOR\nGet.WinterMove\n"
      "\n----------\nOption: Sign\nTooltip: T\nID: 1\nAI chance: 60%\nEffects:\n"
      "Hex.AddNavalUnit(3, 3, \"HMS X\", )  #line: 11\n"
      "\n-------------------------------------------------\nTitle:  ()\nID: 5\nCountry:  (ID = 9)\n"
      "Visible by player: No\nOne time checking only: Yes\nTime of possible occurence: all the time\n\n"
      "Conditions:\n\n";
  std::string crlf;
  for (char c : expected) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(twtest::ReadFile(dir.File("dump/story")), crlf);
  // Nothing beside the scenario's own files.
  std::vector<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(dir.Path() / "data")) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"S", "deep", "event_files.txt", "scenarios", "story.xml"}));
}

TEST(EventDump, FileNamesAreReducedToTheirBaseName) {
  EXPECT_EQ(EventDumpPath("data\\scenarios\\S\\events_1939.xml"), "dump/events_1939");
  EXPECT_EQ(EventDumpPath("data/scenarios/S/a/b.XML"), "dump/b");
  EXPECT_EQ(EventDumpPath("data/scenarios/S/abc"), "dump/abc");
  EXPECT_EQ(EventDumpPath("data/scenarios/S/.xml"), "dump/.xml");
  EXPECT_EQ(EventDumpPath("data/scenarios/S/...xml"), "dump/events");
}

}  // namespace
