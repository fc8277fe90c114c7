// The scenario's event files: the list "event_files.txt", the XML format
// read into event records, validation with its exact messages, the
// building of the event list and its id limits.
#include "files/event_loader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/fatal_exit.h"
#include "app/string_base.h"
#include "files/event_methods.h"
#include "platform/text.h"
#include "support/test_support.h"
#include "world/event_manager.h"

namespace {

// Lines that report a fault (or a warning) of an event file.
std::vector<std::wstring> FaultLines(const twtest::LogCapture& log) {
  std::vector<std::wstring> out;
  for (const std::wstring& line : log.Lines()) {
    for (const wchar_t* prefix : {L"ERROR", L"nERROR", L"CRITICAL", L"WARNING"}) {
      if (line.rfind(prefix, 0) == 0) {
        out.push_back(line);
        break;
      }
    }
  }
  return out;
}

std::string Doc(const std::string& body) { return "<?xml version=\"1.0\"?>\n<events>\n" + body + "</events>\n"; }

// An event of country 1 with the given inner elements.
std::string Event(int id, const std::string& inner) {
  return "<event eventID=\"" + std::to_string(id) +
         "\" countryID=\"1\" visibleByPlayer=\"0\" oneTimeChecking=\"1\">\n" + inner + "</event>\n";
}

class EventFiles : public ::testing::Test {
 protected:
  // Writes the scenario "S": its list and one file "e.xml".
  void Scenario(const std::string& xml, const std::string& list = "data\\scenarios\\S\\e.xml\r\n") {
    dir_.Write("data/scenarios/S/event_files.txt", list);
    dir_.Write("data/scenarios/S/e.xml", xml);
  }
  void Load() {
    LoadEventFiles(manager_, "S");
    ValidateEvents(manager_);
    LoadAllEvents(manager_);
  }
  // Loads and expects the fatal end with exit code 1; returns the fault lines.
  std::vector<std::wstring> LoadFails() {
    try {
      Load();
    } catch (const sFatalExitError& e) {
      EXPECT_EQ(e.exitCode, 1);
      return FaultLines(log_);
    }
    ADD_FAILURE() << "the load went through";
    return {};
  }

  twtest::TempWorkingFolder dir_;
  twtest::LogCapture log_;
  cScopedThrowingFatalHook hook_;
  cEventManager manager_;
};

TEST_F(EventFiles, EveryFieldOfAnEventIsRead) {
  Scenario(Doc(
      "<event eventID=\"12\" countryID=\"3\" visibleByPlayer=\"1\" oneTimeChecking=\"0\" enableInPbem=\"0\">\n"  // 3
      "  <title>Straße nach Süden</title>\n"
      "  <description>The text</description>\n"
      "  <image>pic.png</image>\n"
      "  <beginDate day=\"1\" month=\"9\" year=\"1939\"/>\n"
      "  <endDate day=\"31\" month=\"12\" year=\"1941\"/>\n"
      "  <condition>\n"
      "    <and>\n"  // 10
      "      <expression>\n"
      "        <leftOperand method=\"Country.HasWarWithCountry\" param0=\"1\" param1=\"2\"/>\n"
      "        <operator value=\"equals\"/>\n"
      "        <rightOperand constValue=\"1\"/>\n"
      "      </expression>\n"
      "      <or><expression><leftOperand method=\"Game.GetCurrentTurn\"/><operator value=\"greater\"/>"
      "<rightOperand constValue=\"4.5\"/></expression></or>\n"
      "    </and>\n"
      "  </condition>\n"
      "  <options>\n"
      "    <option optionID=\"1\" chanceAI=\"70\"><description>Yes</description><tooltip>Tip</tooltip>\n"  // 20
      "      <effects>\n"
      "        <effect method=\"Country.SetActive\" param0=\"2\" param1=\"1\"/>\n"
      "        <effect method=\"Hex.AddNavalUnit\" param0=\"3\" param1=\"4\" param2=\"-2.75\" "
      "paramString0=\"Ship\" paramString3=\"x\"/>\n"
      "      </effects>\n"
      "    </option>\n"
      "    <option optionID=\"2\" chanceAI=\"30\"/>\n"
      "  </options>\n"
      "</event>\n"));
  Load();
  EXPECT_TRUE(FaultLines(log_).empty());
  ASSERT_EQ(manager_.events.size(), 1u);
  const sEvent& e = manager_.events.front();
  EXPECT_EQ(e.eventId, 12);
  EXPECT_EQ(e.countryId, 3);
  EXPECT_EQ(e.visibleByPlayer, 1);
  EXPECT_EQ(e.oneTimeChecking, 0);
  EXPECT_EQ(e.enableInPbem, 0);
  EXPECT_EQ(e.title, L"Stra\u00dfe nach S\u00fcden");
  EXPECT_EQ(e.description, L"The text");
  EXPECT_EQ(e.image, L"pic.png");
  EXPECT_EQ(std::vector<int>({e.beginDay, e.beginMonth, e.beginYear, e.endDay, e.endMonth, e.endYear}),
            std::vector<int>({1, 9, 1939, 31, 12, 1941}));
  EXPECT_EQ(e.condition.kind, 0);
  ASSERT_EQ(e.condition.expressions.size(), 1u);
  const sEventExpression& x = e.condition.expressions.front();
  EXPECT_EQ(x.left.method, L"Country.HasWarWithCountry");
  EXPECT_EQ(x.left.param[0], 1.0);
  EXPECT_EQ(x.left.param[1], 2.0);
  EXPECT_FALSE(IsEventParamDefined(x.left.param[2]));
  EXPECT_FALSE(IsEventParamDefined(x.left.constValue));
  EXPECT_EQ(x.operatorValue, L"equals");
  EXPECT_EQ(x.right.constValue, 1.0);
  EXPECT_TRUE(x.right.method.empty());
  ASSERT_EQ(e.condition.children.size(), 1u);
  EXPECT_EQ(e.condition.children.front().kind, 1);
  EXPECT_EQ(e.condition.children.front().expressions.front().right.constValue, 4.5);

  ASSERT_EQ(e.options.size(), 2u);
  const sEventOption& o = e.options.front();
  EXPECT_EQ(o.optionId, 1);
  EXPECT_EQ(o.chanceAI, 70);
  EXPECT_EQ(o.description, L"Yes");
  EXPECT_EQ(o.tooltip, L"Tip");
  ASSERT_EQ(o.effects.size(), 2u);
  EXPECT_EQ(o.effects.front().method, L"Country.SetActive");
  EXPECT_EQ(o.effects.front().line, 22);
  const sEventEffect& naval = o.effects.back();
  EXPECT_EQ(naval.line, 23);
  EXPECT_EQ(naval.param[2], -2.75);
  EXPECT_FALSE(IsEventParamDefined(naval.param[3]));
  EXPECT_EQ(naval.paramString[0], L"Ship");
  EXPECT_EQ(naval.paramString[1], L"");
  EXPECT_EQ(naval.paramString[3], L"x");
  EXPECT_EQ(e.options.back().optionId, 2);
  EXPECT_TRUE(e.options.back().effects.empty());
  // The bits of the events check cover ids 0..12.
  EXPECT_EQ(manager_.checked.size(), 13u);
  EXPECT_TRUE(log_.Contains(L"Loading event id=12 at line 3"));
  EXPECT_TRUE(log_.Contains(L"<expression> found at row 11"));
  EXPECT_TRUE(log_.Contains(L"<expression> found at row 16"));
  EXPECT_TRUE(log_.Contains(L"<effect> found at row 23"));
  EXPECT_TRUE(log_.Contains(L"*  FINISHED LOADING EVENTS  *"));
}

TEST_F(EventFiles, DefaultsEmptyElementsAndConditionRoots) {
  Scenario(Doc(Event(1, "<title/><description></description><image/>"
                        "<options><option><description/><tooltip/></option></options>") +
               Event(2, "<condition><expression><leftOperand constValue=\"1\"/><operator value=\"less\"/>"
                        "<rightOperand constValue=\"2\"/></expression></condition>") +
               Event(3, "<condition><or><expression><leftOperand constValue=\"1\"/><operator value=\"less\"/>"
                        "<rightOperand constValue=\"2\"/></expression></or><and/></condition>") +
               Event(4, "<condition><and/><or/></condition><beginDate day=\"1\" month=\"2\" year=\"3\"/>")));
  Load();
  ASSERT_EQ(manager_.events.size(), 4u);
  auto it = manager_.events.begin();
  const sEvent& first = *it++;
  EXPECT_EQ(first.enableInPbem, 1);  // missing: enabled in play by e-mail
  EXPECT_EQ(first.title, L"");
  EXPECT_EQ(first.image, L"");
  EXPECT_EQ(first.beginDay, kEventUnsetInt);
  EXPECT_EQ(first.endYear, kEventUnsetInt);
  ASSERT_EQ(first.options.size(), 1u);
  EXPECT_EQ(first.options.front().optionId, -1);
  EXPECT_EQ(first.options.front().chanceAI, -1);
  EXPECT_EQ(first.options.front().description, L"");
  EXPECT_TRUE(first.condition.expressions.empty());
  EXPECT_TRUE(first.condition.children.empty());
  // A condition without an "and" or "or" child is the empty root (its
  // expression is still validated, but not kept).
  const sEvent& second = *it++;
  EXPECT_TRUE(second.condition.expressions.empty());
  EXPECT_EQ(second.condition.kind, 0);
  // "or" then "and": only the "or" is the root.
  const sEvent& third = *it++;
  EXPECT_EQ(third.condition.kind, 1);
  EXPECT_EQ(third.condition.expressions.size(), 1u);
  EXPECT_TRUE(third.condition.children.empty());
  const sEvent& fourth = *it++;
  EXPECT_EQ(fourth.condition.kind, 0);
  EXPECT_EQ(fourth.beginYear, 3);
  EXPECT_EQ(fourth.endDay, kEventUnsetInt);
}

TEST_F(EventFiles, NumbersThatAreNoNumbersStayUnset) {
  Scenario(Doc(Event(0, "<options><option optionID=\"3abc\" chanceAI=\"99999999999\"><effects>"
                        "<effect method=\"X\" param0=\"nan\" param1=\"inf\" param2=\"-INF\" param3=\"abc\" "
                        "param4=\"1e999\" param5=\" 12.5xyz\" param6=\"-0\" param7=\"\" param8=\"0x10\"/>"
                        "</effects></option></options>")));
  // The effect's method is unknown; the reader alone is looked at here.
  LoadEventFiles(manager_, "S");
  LoadAllEvents(manager_);
  const sEventOption& option = manager_.events.front().options.front();
  EXPECT_EQ(option.optionId, 3);    // an integer read up to its first non-digit
  EXPECT_EQ(option.chanceAI, -1);   // beyond 32 bits: no integer
  const auto& p = option.effects.front().param;
  for (int i : {0, 1, 2, 3, 4, 7, 9}) EXPECT_FALSE(IsEventParamDefined(p[i])) << i;
  EXPECT_EQ(p[5], 12.5);
  EXPECT_EQ(p[6], 0.0);
  EXPECT_EQ(p[8], 16.0);
}

// Every fault validation and loading find, with the exact lines logged and
// exit code 1.
TEST_F(EventFiles, EachFaultEndsTheLoadWithItsLines) {
  const std::string ok = "<leftOperand constValue=\"1\"/><operator value=\"equals\"/><rightOperand constValue=\"1\"/>";
  struct Case {
    const char* what;
    std::string body;  // the events element's content; line 3 is its first line
    std::vector<std::wstring> lines;
    std::string root = "events";
  };
  const std::vector<Case> cases = {
      {"operand with neither method nor constValue",
       "<expression>\n<leftOperand param0=\"1\"/><operator value=\"equals\"/><rightOperand constValue=\"1\"/>"
       "</expression>\n",
       {L"ERROR: operand element at line 4 has neither 'method' nor 'constValue' attribute. It must have one of them "
        L"defined",
        L"CRITICAL: Expression was incorrect. Terminating program. See errors above."}},
      {"operand with both",
       "<expression><leftOperand method=\"Get.MudMove\" constValue=\"1\"/>" + ok.substr(ok.find("<operator")) +
           "</expression>\n",
       {L"nERROR: operand element at line 3 has both 'method' and 'constValue' attributes defined. Only one of them "
        L"can be defined",
        L"CRITICAL: Expression was incorrect. Terminating program. See errors above."}},
      {"a required parameter missing",
       "<expression><leftOperand method=\"Country.GetVP\"/>" + ok.substr(ok.find("<operator")) + "</expression>\n",
       {L"ERROR: param 0 for operand at line 3 must be defined!",
        L"CRITICAL: Expression was incorrect. Terminating program. See errors above."}},
      {"the second of two required parameters missing, outside any condition",
       "<x><y><expression><rightOperand method=\"Hex.Occupied\" param0=\"1\" param2=\"1\"/>"
       "<leftOperand constValue=\"0\"/><operator value=\"less\"/></expression></y></x>\n",
       {L"ERROR: param 1 for operand at line 3 must be defined!",
        L"CRITICAL: Expression was incorrect. Terminating program. See errors above."}},
      {"unknown (case-sensitive) method",
       "<expression><leftOperand method=\"country.GetVP\" param0=\"1\"/>" + ok.substr(ok.find("<operator")) +
           "</expression>\n",
       {L"ERROR: operand element at line 3 has unknown method (country.GetVP)",
        L"CRITICAL: Expression was incorrect. Terminating program. See errors above."}},
      {"operator spelt with a capital",
       "<expression>" + ok.substr(0, ok.find("<operator")) + "\n<operator value=\"Equals\"/>" +
           ok.substr(ok.find("<rightOperand")) + "</expression>\n",
       {L"ERROR: attribute 'value' of <operator> at line 4 has incorrect value (Equals)",
        L"CRITICAL: Expression was incorrect. Terminating program. See errors above."}},
      {"every part of one expression wrong, each logged",
       "<expression><leftOperand/><rightOperand method=\"Nope\"/></expression>\n",
       {L"ERROR: operand element at line 3 has neither 'method' nor 'constValue' attribute. It must have one of them "
        L"defined",
        L"ERROR: operand element at line 3 has unknown method (Nope)",
        L"ERROR: attribute 'value' of <operator> at line -2147483647 has incorrect value ()",
        L"CRITICAL: Expression was incorrect. Terminating program. See errors above."}},
      {"expression without its left operand",
       "<expression><operator value=\"equals\"/><rightOperand constValue=\"1\"/></expression>\n",
       {L"ERROR: operand element at line -2147483647 has neither 'method' nor 'constValue' attribute. It must have "
        L"one of them defined",
        L"CRITICAL: Expression was incorrect. Terminating program. See errors above."}},
      {"unknown effect",
       "<effects>\n\n<effect method=\"Country.Explode\" param0=\"1\"/></effects>\n",
       {L"ERROR: Effect at line 5 has unknown method (Country.Explode)!",
        L"CRITICAL: Effect at line 5 is not correct. See error messages above. Exiting..."}},
      {"effect without its text parameter",
       "<effect method=\"Hex.AddLandUnit\" param0=\"1\" param1=\"2\" param2=\"3\" param3=\"4\" param4=\"5\" "
       "param5=\"6\" paramString1=\"late\"/>\n",
       {L"ERROR: paramString0 for effect at line 3 is not defined!",
        L"CRITICAL: Effect at line 3 is not correct. See error messages above. Exiting..."}},
      {"effect without its second number (an unreadable one)",
       "<effect method=\"Country.SetActive\" param0=\"2\" param1=\"yes\"/>\n",
       {L"ERROR: param1 for effect at line 3 is not defined!",
        L"CRITICAL: Effect at line 3 is not correct. See error messages above. Exiting..."}},
      {"event without eventID", "\n<event countryID=\"1\" visibleByPlayer=\"0\" oneTimeChecking=\"0\"/>\n",
       {L"ERROR: <event> at line 4 has no eventID attribute or it's not an integer!"}},
      {"eventID no integer", "<event eventID=\"x\" countryID=\"1\" visibleByPlayer=\"0\" oneTimeChecking=\"0\"/>\n",
       {L"ERROR: <event> at line 3 has no eventID attribute or it's not an integer!"}},
      {"event without countryID", "<event eventID=\"1\" visibleByPlayer=\"0\" oneTimeChecking=\"0\"/>\n",
       {L"ERROR: <event> at line 3 has no countryID attribute or it's not an integer!"}},
      {"event without visibleByPlayer", "<event eventID=\"1\" countryID=\"1\" oneTimeChecking=\"0\"/>\n",
       {L"ERROR: <event> at line 3 has no visibleByPlayer attribute or it's not an integer!"}},
      {"event without oneTimeChecking", "<event eventID=\"1\" countryID=\"1\" visibleByPlayer=\"0\"/>\n",
       {L"ERROR: <event> at line 3 has no oneTimeChecking attribute or it's not an integer!"}},
      {"begin date without a month", Event(1, "\n<beginDate day=\"1\" year=\"1940\"/>\n"),
       {L"ERROR: <beginDate> at line 5 has no 'month' attribute or it's not an integer!"}},
      {"end date without a year", Event(1, "<endDate day=\"1\" month=\"2\" year=\"y\"/>\n"),
       {L"ERROR: <endDate> at line 4 has no 'year' attribute or it's not an integer!"}},
      {"event id above the maximum", Event(5, "") + Event(40001, "") + Event(7, ""),
       {L"ERROR: maxID = 40001 (have to be >= 0 && <= 40000"}},
      {"negative event id", Event(5, "") + Event(-1, ""),
       {L"ERROR: <event> at line 5 has a negative eventID (-1), it has to be >= 0 && <= 40000"}},
      {"a root named like an expression still has its events' expressions checked",
       "<leftOperand constValue=\"1\"/><rightOperand constValue=\"1\"/><operator value=\"equals\"/>" +
           Event(1, "<condition><and><expression><leftOperand method=\"Bogus\"/><operator value=\"less\"/>"
                    "<rightOperand constValue=\"1\"/></expression></and></condition>"),
       {L"ERROR: operand element at line 4 has unknown method (Bogus)",
        L"CRITICAL: Expression was incorrect. Terminating program. See errors above."},
       "expression"},
      {"a root named like an effect still has its events' effects checked",
       Event(1, "<options><option><effects><effect method=\"Unit.Remove\" param0=\"1\"/></effects></option>"
                "</options>"),
       {L"ERROR: param1 for effect at line 4 is not defined!",
        L"CRITICAL: Effect at line 4 is not correct. See error messages above. Exiting..."},
       "effect method=\"Port.SetSize\" param0=\"1\" param1=\"1\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    twtest::LogCapture log;
    const std::string end = c.root.substr(0, c.root.find(' '));
    Scenario("<?xml version=\"1.0\"?>\n<" + c.root + ">\n" + c.body + "</" + end + ">\n");
    try {
      Load();
      ADD_FAILURE() << "the load went through";
    } catch (const sFatalExitError& e) {
      EXPECT_EQ(e.exitCode, 1);
    }
    std::vector<std::wstring> lines = FaultLines(log);
    // An expression or effect found wrong is named by its file and line
    // just before the end.
    if (lines.size() >= 2 && lines.back().rfind(L"CRITICAL", 0) == 0) {
      const std::wstring& named = lines[lines.size() - 2];
      EXPECT_EQ(named.rfind(L"ERROR: data\\scenarios\\S\\e.xml line ", 0), 0u) << named;
      EXPECT_TRUE(named.ends_with(L" is not correct")) << named;
      lines.erase(lines.end() - 2);
    }
    EXPECT_EQ(lines, c.lines);
  }
}

// The file of a wrong expression or effect is named with the element's
// line; a date no calendar has is refused with file and line.
TEST_F(EventFiles, WrongItemsAndImpossibleDatesNameTheirFile) {
  Scenario(Doc("\n<expression><leftOperand method=\"Nope\"/><operator value=\"less\"/>"
               "<rightOperand constValue=\"1\"/></expression>\n"));
  EXPECT_EQ(LoadFails(), (std::vector<std::wstring>{
                             L"ERROR: operand element at line 4 has unknown method (Nope)",
                             L"ERROR: data\\scenarios\\S\\e.xml line 4: the expression above is not correct",
                             L"CRITICAL: Expression was incorrect. Terminating program. See errors above."}));
  for (const auto& [date, message] :
       {std::pair<std::string, std::wstring>{"<beginDate day=\"1\" month=\"139\" year=\"1940\"/>",
                                             L"<beginDate> has month 139, outside 1 to 12"},
        {"<endDate day=\"32\" month=\"1\" year=\"1940\"/>", L"<endDate> has day 32, outside 1 to 31"},
        {"<endDate day=\"1\" month=\"0\" year=\"1940\"/>", L"<endDate> has month 0, outside 1 to 12"}}) {
    twtest::LogCapture log;
    Scenario(Doc(Event(1, "\n" + date + "\n")));
    EXPECT_THROW(Load(), sFatalExitError);
    EXPECT_EQ(log.Lines().back(), L"ERROR: data\\scenarios\\S\\e.xml line 5: " + message);
  }
}

TEST_F(EventFiles, AConstantWithParametersIsOnlyWarnedAbout) {
  Scenario(Doc("<expression><leftOperand constValue=\"1\" param9=\"0\"/><operator value=\"lessOrEqual\"/>"
               "<rightOperand method=\"Get.WinterMove\"/></expression>\n"));
  Load();
  EXPECT_EQ(FaultLines(log_), std::vector<std::wstring>({L"WARNING: operand element at line 3 has defined "
                                                          L"'constValue' attribute and at least one from "
                                                          L"param0..param9 attributes."}));
  EXPECT_TRUE(manager_.events.empty());
  EXPECT_EQ(manager_.expressions.size(), 1u);
  EXPECT_TRUE(manager_.expressions.front().right.methodKnown);
  EXPECT_TRUE(manager_.checked.empty());
}

TEST_F(EventFiles, IdsAtBothEndsOfTheRangeLoad) {
  Scenario(Doc(Event(40000, "") + Event(0, "")));
  Load();
  ASSERT_EQ(manager_.events.size(), 2u);
  EXPECT_EQ(manager_.checked.size(), 40001u);
  EXPECT_EQ(manager_.events.back().eventId, 0);
}

TEST_F(EventFiles, TheListSkipsCommentsAndEmptyLinesAndKeepsFileOrder) {
  dir_.Write("data/scenarios/S/a.xml", Doc(Event(2, "")));
  dir_.Write("data/scenarios/S/sub/b.xml", "\xEF\xBB\xBF" + Doc(Event(1, "")));  // with a byte-order mark
  dir_.Write("data/scenarios/S/event_files.txt",
             "\xEF\xBB\xBF"  // an editor's mark of UTF-8
             "data\\scenarios\\S\\a.xml\r\n; the scenario's events\n\n;data\\scenarios\\S\\missing.xml\r"
             "Data/Scenarios/s/./sub/b.xml");
  // The folder names of a line may differ in case from the folders on disk.
  std::filesystem::rename(dir_.Path() / "data/scenarios/S", dir_.Path() / "data/scenarios/s");
  LoadEventFiles(manager_, "s");
  ValidateEvents(manager_);
  LoadAllEvents(manager_);
  ASSERT_EQ(manager_.documents.size(), 2u);
  EXPECT_EQ(manager_.documents[0].fileName, "data\\scenarios\\S\\a.xml");
  EXPECT_EQ(manager_.documents[1].fileName, "Data/Scenarios/s/./sub/b.xml");
  ASSERT_EQ(manager_.events.size(), 2u);
  EXPECT_EQ(manager_.events.front().eventId, 2);
  EXPECT_EQ(manager_.events.back().eventId, 1);
  // Loading again replaces the documents.
  LoadEventFiles(manager_, "s");
  EXPECT_EQ(manager_.documents.size(), 2u);
}

TEST_F(EventFiles, WithoutAListTheScenarioHasNoEvents) {
  Load();
  EXPECT_TRUE(manager_.documents.empty());
  EXPECT_TRUE(manager_.events.empty());
  EXPECT_TRUE(manager_.checked.empty());
  EXPECT_TRUE(FaultLines(log_).empty());
}

TEST_F(EventFiles, AFileThatCannotBeParsedEndsTheLoad) {
  // Among them texts that end inside a UTF-8 character, whose lead byte the
  // parser reads past the end of the text.
  for (const std::string& bad :
       {std::string("<events><event>"), std::string(""), std::string("not xml"),
        std::string("<events><title>\xF4/"), std::string("<events><title>ab\xF4\x80"),
        std::string("<events><e a=\"\xF0"), std::string("<events>\xE2"), std::string("<events><t>x\0</t></events>")}) {
    twtest::LogCapture log;
    Scenario(bad);
    EXPECT_THROW(LoadEventFiles(manager_, "S"), sFatalExitError);
    const auto lines = log.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.back(), L"ERROR initializing events from file data\\scenarios\\S\\e.xml. Exiting...");
    // The line before names the file, where the parser stopped and why.
    EXPECT_EQ(lines[lines.size() - 2].rfind(L"ERROR: data\\scenarios\\S\\e.xml line ", 0), 0u) << lines[lines.size() - 2];
    EXPECT_NE(lines[lines.size() - 2].find(L" column "), std::wstring::npos);
  }
  {
    twtest::LogCapture log;
    Scenario("<events>\n <event eventID=\"1\">\n  <title>x</titel>\n </event>\n</events>\n");
    EXPECT_THROW(LoadEventFiles(manager_, "S"), sFatalExitError);
    const auto lines = log.Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], L"ERROR: data\\scenarios\\S\\e.xml line 3 column 11: Error reading end tag.");
  }
  twtest::LogCapture log;
  dir_.Write("data/scenarios/S/event_files.txt", "data\\scenarios\\S\\none.xml\n");
  EXPECT_THROW(LoadEventFiles(manager_, "S"), sFatalExitError);
  EXPECT_TRUE(log.Contains(L"ERROR: data\\scenarios\\S\\none.xml cannot be read (missing or not a readable file)"));
  EXPECT_EQ(log.Lines().back(), L"ERROR initializing events from file data\\scenarios\\S\\none.xml. Exiting...");
}

TEST_F(EventFiles, FilesOutsideTheScenarioFolderAreRefused) {
  dir_.Write("data/scenarios/Other/e.xml", Doc(Event(1, "")));
  dir_.Write("outside.xml", Doc(Event(1, "")));
  const std::string absolute = (dir_.Path() / "outside.xml").string();
  std::filesystem::create_directories(dir_.Path() / "data/scenarios/S");
  std::filesystem::create_symlink(dir_.Path() / "outside.xml", dir_.Path() / "data/scenarios/S/link.xml");
  for (const std::string& line :
       {absolute, std::string("outside.xml"), std::string("data\\scenarios\\Other\\e.xml"),
        std::string("data\\scenarios\\S\\..\\Other\\e.xml"), std::string("data/scenarios/S/../../../outside.xml"),
        std::string("data\\scenarios\\S"), std::string("data\\scenarios\\S\\link.xml"),
        std::string("data\\scenarios\\Sx\\e.xml")}) {
    SCOPED_TRACE(line);
    twtest::LogCapture log;
    dir_.Write("data/scenarios/S/event_files.txt", line + "\r\n");
    EXPECT_THROW(LoadEventFiles(manager_, "S"), sFatalExitError);
    const std::wstring last = log.Lines().back();
    EXPECT_EQ(last.rfind(L"ERROR: data\\scenarios\\S\\event_files.txt line 1: event file " + plat::FromUtf8(line) +
                             L" is not inside the scenario folder data\\scenarios\\S\\; the events of a scenario are "
                             L"read from its own folder only: ",
                         0),
              0u)
        << last;
    EXPECT_TRUE(manager_.documents.empty());
  }
}

TEST_F(EventFiles, TitlesThatAreLanguageKeysShowTheirText) {
  // A language file of one record: "evload_test_title" -> "  Invasion!\t".
  const std::string key = "evload_test_title";
  const std::u16string text = u"  Invasion!\t";
  std::string bytes(1, '\0');
  for (int i = 0; i < 8; ++i) bytes += static_cast<char>(i == 0 ? 1 : 0);
  bytes += static_cast<char>(key.size()) + key;
  bytes += static_cast<char>(text.size());
  bytes += '\0';
  for (char16_t unit : text) bytes += std::string{static_cast<char>(unit), '\0'};
  g_StringBase.Load(dir_.Write("lang_EVT.db", bytes), true);

  Scenario(Doc(Event(1, "<title>evload_test_title</title><description>evload_test_title again</description>") +
               Event(2, "<title>evload_unknown_key</title>")));
  Load();
  EXPECT_EQ(manager_.events.front().title, L"Invasion!");
  EXPECT_EQ(manager_.events.front().description, L"evload_test_title again");  // no key
  EXPECT_EQ(manager_.events.back().title, L"evload_unknown_key");
  // The look-up inserted nothing.
  EXPECT_FALSE(g_StringBase.FindEntry("evload_unknown_key").has_value());
}

TEST_F(EventFiles, LinesCountWithEveryLineEnd) {
  for (const std::string& end : {std::string("\r\n"), std::string("\r"), std::string("\n")}) {
    SCOPED_TRACE(end.size());
    std::string xml = "<events>" + end + "<event eventID=\"1\" countryID=\"1\" visibleByPlayer=\"0\" "
                      "oneTimeChecking=\"0\">" + end + "<options>" + end + "<option><effects>" + end + end +
                      "<effect method=\"Port.SetSize\" param0=\"1\" param1=\"2\"/>" + end +
                      "</effects></option></options></event></events>";
    Scenario(xml);
    Load();
    EXPECT_EQ(manager_.events.front().options.front().effects.front().line, 6);
  }
}

TEST_F(EventFiles, TheExpressionCheckAnswersWithoutEnding) {
  sEventExpression expression;
  expression.left.method = L"Country.GetVP";
  expression.left.param[0] = 3;
  expression.right.constValue = 10;
  expression.operatorValue = L"greaterOrEqual";
  EXPECT_TRUE(ValidateExpression(expression));
  EXPECT_FALSE(expression.left.methodKnown);  // the caller's record is left as it was
  expression.operatorValue = L"greaterorequal";
  EXPECT_FALSE(ValidateExpression(expression));
}

TEST(EventMethods, TablesHoldEachNameOnceWithItsRequirements) {
  const auto find = [](const std::vector<sEventMethod>& table, std::wstring_view name) {
    for (const sEventMethod& method : table) {
      if (method.name == name) return method;
    }
    return sEventMethod{L"", -1, -1};
  };
  EXPECT_EQ(EventQueryMethods().size(), 52u);
  EXPECT_EQ(EventEffectMethods().size(), 106u);
  EXPECT_EQ(EventQueryMethods().front().name, L"Country.GetProductionPoints");
  EXPECT_EQ(EventQueryMethods().back().name, L"Country.GetDifficultyLevel");
  EXPECT_EQ(find(EventQueryMethods(), L"Hex.OccupiedAndControlledByAlliance").numeric, 3);
  EXPECT_EQ(find(EventQueryMethods(), L"Game.GetCurrentTurn").numeric, 0);
  EXPECT_EQ(find(EventEffectMethods(), L"SeaNode.AddLandingLandUnit").numeric, 8);
  EXPECT_EQ(find(EventEffectMethods(), L"SeaNode.AddLandingLandUnit").text, 1);
  EXPECT_EQ(find(EventEffectMethods(), L"Country.AddConvoy").numeric, 7);
  EXPECT_EQ(find(EventEffectMethods(), L"View.CenterAt").numeric, 2);
  for (const auto* table : {&EventQueryMethods(), &EventEffectMethods()}) {
    for (std::size_t i = 0; i < table->size(); ++i) {
      for (std::size_t j = i + 1; j < table->size(); ++j) EXPECT_NE((*table)[i].name, (*table)[j].name);
    }
  }
}

}  // namespace
