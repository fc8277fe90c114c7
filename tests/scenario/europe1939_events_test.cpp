// The events tool: its checks refuse scripts the game would reject or that
// could fire for ever, its stripes cover exactly the land that changes
// hands, and the committed event files of Europe 1939 are what it writes
// from its source today.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "files/world_loader.h"
#include "make_events/europe1939_events.h"
#include "make_events/event_script.h"
#include "make_events/scenario_geo.h"
#include "platform/message_box.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/event_manager.h"
#include "world/world.h"

namespace fs = std::filesystem;

namespace {

using namespace evscript;

// A sound little event: its own stop flag tested and set by each option.
Event Sound(int id) {
  Event e;
  e.id = id;
  e.country = 1;
  e.visible = true;
  e.stopFlag = id;
  e.title = "Title";
  e.description = "Text";
  e.image = "picture.png";
  e.file = "a.xml";
  e.condition = All({FlagIs(id, 0), AtWar(1, 2, false)});
  for (int n = 1; n <= 2; ++n) {
    Option o;
    o.chanceAI = 50;
    o.description = "Option";
    o.effects = {SetFlag(id, n), Do("Hex.AddLandUnit", {1, 1, 2, 0, 1, 50}, {"Unit"})};
    e.options.push_back(o);
  }
  return e;
}

std::vector<std::string> Check(const std::vector<Event>& events) {
  // A 4 x 3 map whose first column is water.
  return CheckEvents(events, 3, 4, 3, [](int x, int) { return x > 0; }, [](int x, int y) { return x == 3 && y == 2; });
}

TEST(EventScriptChecks, RefuseWhatTheLoaderWouldRejectAndEventsThatNeverStop) {
  EXPECT_TRUE(Check({Sound(1), Sound(2)}).empty());

  struct sCase {
    const char* what;
    void (*spoil)(Event&);
  };
  const sCase cases[] = {
      {"unknown effect", [](Event& e) { e.options[0].effects.push_back(Do("Country.Explode", {1})); }},
      {"missing numeric parameter", [](Event& e) { e.options[0].effects.push_back(Do("Country.ChangeProductionPoints", {1})); }},
      {"missing text parameter", [](Event& e) { e.options[0].effects[1].texts.clear(); }},
      {"unknown query", [](Event& e) { e.condition.expressions.push_back(Compare(Query("Country.GetMood", {1}), "equals", Const(0))); }},
      {"query without its parameters", [](Event& e) { e.condition.expressions.push_back(Compare(Query("Country.HasWarWithCountry", {1}), "equals", Const(0))); }},
      {"operator in the wrong case", [](Event& e) { e.condition.expressions[1].op = "Equals"; }},
      {"an option that does not set the stop flag", [](Event& e) { e.options[1].effects.erase(e.options[1].effects.begin()); }},
      {"an option that sets the stop flag to 0", [](Event& e) { e.options[1].effects[0] = SetFlag(e.id, 0); }},
      {"a condition that does not test the stop flag", [](Event& e) { e.condition.expressions.erase(e.condition.expressions.begin()); }},
      {"the stop flag tested only under an or", [](Event& e) { e.condition.any = true; }},
      {"a visible event without a choice", [](Event& e) { e.options.pop_back(); }},
      {"options the computer can never draw", [](Event& e) { e.options[0].chanceAI = e.options[1].chanceAI = 0; }},
      {"a negative weight", [](Event& e) { e.options[0].chanceAI = -1; }},
      {"a country the scenario lacks", [](Event& e) { e.country = 4; }},
      {"an effect naming a country the scenario lacks", [](Event& e) { e.options[0].effects.push_back(Do("Country.DeclareWarOnCountry", {1, 0})); }},
      {"a unit on water", [](Event& e) { e.options[0].effects[1].params[0] = 0; }},
      {"a unit where another stands at the start", [](Event& e) { e.options[0].effects[1].params = {3, 2, 2, 0, 1, 50}; }},
      {"a standing event tested more than once a check", [](Event& e) { e.standing = true; e.oneTimeChecking = false; }},
      {"a hex off the map", [](Event& e) { e.options[0].effects.push_back(Do("City.ChangeProductionPoints", {1, 3, 1})); }},
      {"a stripe that leaves the map", [](Event& e) { e.options[0].effects.push_back(Do("HexStripe.ChangeControllerAndOwner", {1, 1, 3, 1})); }},
      {"an event id above the maximum", [](Event& e) { e.id = 40001; }},
      {"no picture", [](Event& e) { e.image.clear(); }},
      {"a month 13", [](Event& e) { e.begin = Date{1, 13, 1940}; }},
  };
  for (const sCase& c : cases) {
    Event spoilt = Sound(3);
    c.spoil(spoilt);
    EXPECT_FALSE(Check({Sound(1), spoilt}).empty()) << c.what;
  }
  // A standing event needs no stop flag.
  Event standing = Sound(4);
  standing.standing = true;
  standing.condition.expressions.erase(standing.condition.expressions.begin());
  for (Option& o : standing.options) o.effects.erase(o.effects.begin());
  EXPECT_TRUE(Check({standing}).empty());
  // The unit pool needs no hex; two events may not share an id or a flag.
  Event pool = Sound(3);
  pool.options[0].effects[1].params[0] = pool.options[0].effects[1].params[1] = -1;
  EXPECT_TRUE(Check({pool}).empty());
  EXPECT_FALSE(Check({Sound(1), Sound(1)}).empty());
  Event sharing = Sound(2);
  sharing.stopFlag = 1;
  sharing.condition.expressions[0] = FlagIs(1, 0);
  for (Option& o : sharing.options) o.effects[0].params[0] = 1;
  EXPECT_FALSE(Check({Sound(1), sharing}).empty());
}

TEST(EventScriptXml, EscapesTextsAndWritesOnlyTheEventsOfItsFile) {
  Event e = Sound(7);
  e.title = "Ribbentrop & Molotov <\"secret\">";
  Event other = Sound(8);
  other.file = "b.xml";
  const std::string xml = WriteXml({e, other}, "a.xml");
  EXPECT_NE(xml.find("<title>Ribbentrop &amp; Molotov &lt;&quot;secret&quot;&gt;</title>"), std::string::npos);
  EXPECT_NE(xml.find("eventID=\"7\""), std::string::npos);
  EXPECT_EQ(xml.find("eventID=\"8\""), std::string::npos);
  EXPECT_NE(xml.find("<effect method=\"Hex.AddLandUnit\" param0=\"1\" param1=\"1\" param2=\"2\" param3=\"0\" param4=\"1\" "
                     "param5=\"50\" paramString0=\"Unit\"/>"),
            std::string::npos);
  EXPECT_NE(xml.find("<option optionID=\"2\" chanceAI=\"50\">"), std::string::npos);
}

class Europe1939Script : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = twtest::FindSourceRoot("data/scenarios/Europe1939/Info.ini");
    ASSERT_FALSE(root_.empty()) << "set TW_SOURCE_DIR to the source tree";
  }
  fs::path Sources() const { return root_ / "tools/make_scenario/europe1939"; }
  fs::path Scenario() const { return root_ / "data/scenarios/Europe1939"; }
  fs::path root_;
};

TEST_F(Europe1939Script, RegionStripesCoverTheOwnersLandAndNothingElse) {
  const ScenarioGeo geo(Sources(), Scenario());
  EXPECT_EQ(geo.Country("DE"), 1);
  EXPECT_EQ(geo.Country("FI"), 18);
  EXPECT_EQ(geo.City("Paris").x, 20);
  EXPECT_EQ(geo.City("Paris").y, 30);
  auto north = [](int, int y) { return y <= 33; };
  std::set<std::pair<int, int>> covered;
  for (const Stripe& s : geo.Region("FR", north)) {
    ASSERT_GT(s.count, 0);
    for (int y = s.y0; y < s.y0 + s.count; ++y) EXPECT_TRUE(covered.insert({s.x, y}).second) << "hex twice";
  }
  int expected = 0;
  for (int y = 0; y < geo.Height(); ++y)
    for (int x = 0; x < geo.Width(); ++x) {
      const bool inside = geo.OwnerIn1939(x, y) == geo.Country("FR") && north(x, y);
      expected += inside;
      EXPECT_EQ(covered.count({x, y}) == 1, inside) << x << "," << y;
    }
  EXPECT_GT(expected, 50);
  EXPECT_TRUE(covered.count({20, 30})) << "Paris lies in the north";
  EXPECT_FALSE(covered.count({24, 35})) << "Lyon does not";
}

TEST_F(Europe1939Script, CommittedEventFilesAreWhatTheToolWritesAndPassItsChecks) {
  const ScenarioGeo geo(Sources(), Scenario());
  const std::vector<Event> events = Europe1939Events(geo);
  const std::vector<std::string> errors = CheckEvents(events, geo.CountryCount(), geo.Width(), geo.Height(),
                                                      [&geo](int x, int y) { return geo.IsLand(x, y); },
                                                      [&geo](int x, int y) { return geo.OccupiedAtStart(x, y); });
  EXPECT_TRUE(errors.empty()) << (errors.empty() ? "" : errors.front());
  EXPECT_GE(events.size(), 15u);
  EXPECT_LE(events.size(), 35u);

  std::vector<std::string> listed;
  std::ifstream list(Scenario() / "event_files.txt");
  for (std::string line; std::getline(list, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line[0] != ';') listed.push_back(line);
  }
  const std::vector<std::string> files = Europe1939EventFiles();
  ASSERT_EQ(listed.size(), files.size());
  for (std::size_t i = 0; i < listed.size(); ++i) {
    const std::string& file = files[i];
    EXPECT_EQ(listed[i], "data/scenarios/Europe1939/events/" + file);
    EXPECT_TRUE(twtest::ReadFile((root_ / listed[i]).string()) == WriteXml(events, file))
        << file << " is stale: build the target europe1939_events_data";
  }
  // Every picture an event names is drawn.
  for (const Event& e : events) EXPECT_TRUE(fs::is_regular_file(root_ / "data/events" / e.image)) << e.image;
}

TEST_F(Europe1939Script, TheFirstEventsCheckOffersGermanyThePact) {
  const ScenarioGeo geo(Sources(), Scenario());
  const std::vector<Event> events = Europe1939Events(geo);
  // On 1 September 1939 with every flag 0: the events whose date range holds
  // and whose condition reads nothing but their own flag.
  std::vector<int> due;
  for (const Event& e : events) {
    const bool begun = e.begin.day == 0 || (e.begin.year == 1939 && e.begin.month == 9 && e.begin.day == 1);
    if (begun && e.condition.expressions.size() == 1 && e.condition.children.empty()) due.push_back(e.id);
  }
  ASSERT_FALSE(due.empty());
  const Event& pact = events.front();
  EXPECT_EQ(due.front(), pact.id);
  EXPECT_EQ(pact.country, geo.Country("DE"));
  EXPECT_TRUE(pact.visible);
  EXPECT_GE(pact.options.size(), 2u);
}

TEST_F(Europe1939Script, TheGameLoadsEveryEventWithoutAnErrorLine) {
  const ScenarioGeo geo(Sources(), Scenario());
  const std::vector<Event> script = Europe1939Events(geo);
  const twtest::LogCapture log;
  const twtest::TempWorkingFolder dir;
  fs::create_directories("data/scenarios");
  fs::copy(Scenario(), "data/scenarios/Europe1939", fs::copy_options::recursive);
  fs::create_directory_symlink(root_ / "data/gfx", "data/gfx");
  fs::create_directory_symlink(root_ / "data/Music", "data/Music");
  std::vector<std::wstring> boxes;
  plat::SetMessageBoxHandler([&boxes](std::wstring_view caption, std::wstring_view) { boxes.emplace_back(caption); });
  plat::RecordingRenderer renderer;
  twtest::FakeFramework frame{&renderer};
  LoadWorld(sGameStartSettings{L"data\\scenarios\\Europe1939\\%s", 0});
  plat::SetMessageBoxHandler({});
  ASSERT_NE(g_pWorld, nullptr);
  std::vector<int> loaded;
  for (const sEvent& e : g_pWorld->eventManager.events) loaded.push_back(e.eventId);
  std::vector<int> written;
  for (const std::string& file : Europe1939EventFiles())
    for (const Event& e : script)
      if (e.file == file) written.push_back(e.id);
  EXPECT_EQ(loaded, written);
  for (const std::wstring& line : log.Lines()) {
    const bool bad = line.find(L"ERROR") != std::wstring::npos || line.find(L"ERR:") != std::wstring::npos ||
                     line.find(L"WARNING") != std::wstring::npos || line.find(L"CRITICAL") != std::wstring::npos;
    EXPECT_FALSE(bad) << plat::NarrowBytes(line);
  }
  EXPECT_TRUE(boxes.empty());
  delete g_pWorld;
  g_pWorld = nullptr;
}

}  // namespace
