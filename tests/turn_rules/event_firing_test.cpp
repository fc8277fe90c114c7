// Event conditions, the search for the next event to fire, options and the
// events check on a small world of three countries (A human, B and C
// computer), with hand-built events.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "rules/end_human_turn.h"
#include "rules/event_firing.h"
#include "rules/world_turn.h"
#include "support/fake_platform_framework.h"
#include "support/test_support.h"
#include "turn_rules/event_test_events.h"
#include "turn_rules/turn_world.h"

namespace {

using namespace twtest;

constexpr int kReportEventOption = 25;

struct EventWorld : TurnWorld {
  EventWorld() : TurnWorld({"~~~~~", "~ppp~", "~~~~~"}, {kAlliesLeader, kAxisLeader, kAxis}) {
    // September has four impulses: the second shows the 9th.
    world->GetDate() = sGameDate{2, 9, 1939, {}};
  }
  cWorld& World() { return *world; }
  cEventManager& Manager() { return world->eventManager; }
};

int CountLines(const LogCapture& log, const std::wstring& text) {
  const std::vector<std::wstring> lines = log.Lines();
  return static_cast<int>(std::count(lines.begin(), lines.end(), text));
}

// The lines from the first one equal to first on, as many as expected has.
std::vector<std::wstring> LinesFrom(const LogCapture& log, const std::wstring& first, std::size_t count) {
  const std::vector<std::wstring> lines = log.Lines();
  auto start = std::find(lines.begin(), lines.end(), first);
  std::vector<std::wstring> out;
  for (; start != lines.end() && out.size() < count; ++start) out.push_back(*start);
  return out;
}

TEST(EventDateRange, BoundsAreInclusiveAndAnUnsetDayMeansNoBound) {
  EventWorld w;  // 9 September 1939
  struct Case {
    int begin[3];
    int end[3];
    bool expected;
  };
  constexpr int kNone = kEventUnsetInt;
  const Case cases[] = {
      {{kNone, kNone, kNone}, {kNone, kNone, kNone}, true},
      {{9, 9, 1939}, {kNone, kNone, kNone}, true},
      {{8, 9, 1939}, {kNone, kNone, kNone}, true},
      {{10, 9, 1939}, {kNone, kNone, kNone}, false},
      {{1, 1, 1940}, {kNone, kNone, kNone}, false},
      {{kNone, kNone, kNone}, {9, 9, 1939}, true},
      {{kNone, kNone, kNone}, {8, 9, 1939}, false},
      {{kNone, kNone, kNone}, {1, 10, 1939}, true},
      {{9, 9, 1939}, {9, 9, 1939}, true},
      {{8, 9, 1939}, {10, 9, 1939}, true},
      {{1, 12, 1938}, {1, 1, 1940}, true},
      {{10, 9, 1939}, {20, 9, 1939}, false},
      {{1, 8, 1939}, {8, 9, 1939}, false},
  };
  for (const Case& c : cases) {
    sEvent event;
    event.beginDay = c.begin[0];
    event.beginMonth = c.begin[1];
    event.beginYear = c.begin[2];
    event.endDay = c.end[0];
    event.endMonth = c.end[1];
    event.endYear = c.end[2];
    EXPECT_EQ(IsInDateRange(w.World(), event), c.expected)
        << c.begin[0] << "/" << c.begin[1] << "/" << c.begin[2] << " - " << c.end[0] << "/" << c.end[1];
  }
  // A range of one day holds on that day only: the third impulse shows the
  // 16th.
  sEvent oneDay;
  oneDay.beginDay = oneDay.endDay = 9;
  oneDay.beginMonth = oneDay.endMonth = 9;
  oneDay.beginYear = oneDay.endYear = 1939;
  w.World().GetDate().turn = 3;
  EXPECT_FALSE(IsInDateRange(w.World(), oneDay));
}

TEST(EventCondition, EmptyNodesHoldAndAndOrStopAtTheDecidingPart) {
  EventWorld w;
  cWorld& world = w.World();
  EXPECT_TRUE(EvaluateCondition(world, And({}), 1));
  EXPECT_TRUE(EvaluateCondition(world, Or({}), 1));
  EXPECT_FALSE(EvaluateCondition(world, Or({}, {And({False()})}), 1));
  EXPECT_TRUE(EvaluateCondition(world, Or({}, {And({})}), 1));
  EXPECT_TRUE(EvaluateCondition(world, And({True(), True()}, {Or({False(), True()})}), 1));
  EXPECT_FALSE(EvaluateCondition(world, And({True()}, {Or({False(), False()})}), 1));
  {
    // No draw may be made: the parts after the deciding one are never
    // evaluated, and the expressions come before the children.
    const RandSequence none({});
    EXPECT_FALSE(EvaluateCondition(world, And({False(), Draw()}), 1));
    EXPECT_TRUE(EvaluateCondition(world, Or({True(), Draw()}), 1));
    EXPECT_FALSE(EvaluateCondition(world, And({False()}, {And({Draw()})}), 1));
    EXPECT_TRUE(EvaluateCondition(world, Or({True()}, {And({Draw()})}), 1));
    EXPECT_FALSE(EvaluateCondition(world, And({}, {And({False()}), And({Draw()})}), 1));
  }
  const RandSequence one({RandFor(0, 10, 3)});
  EXPECT_TRUE(EvaluateCondition(world, And({True(), Draw()}), 1));
}

TEST(EventExpression, ComparesTheValuesExactlyWithTheLeftOperandFirst) {
  EventWorld w;
  cWorld& world = w.World();
  struct Case {
    double left;
    const wchar_t* op;
    double right;
    bool expected;
  };
  const Case cases[] = {
      {2, L"equals", 3, false},        {3, L"equals", 3, true},          {2, L"notEquals", 3, true},
      {3, L"notEquals", 3, false},     {3, L"greater", 2, true},         {3, L"greater", 3, false},
      {2, L"less", 3, true},           {3, L"less", 3, false},           {3, L"greaterOrEqual", 3, true},
      {2, L"greaterOrEqual", 3, false}, {3, L"lessOrEqual", 3, true},    {3.0000001, L"lessOrEqual", 3, false},
      {0.1 + 0.2, L"equals", 0.3, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EvaluateExpression(world, Compare(Constant(c.left), c.op, Constant(c.right)), 1), c.expected)
        << c.left << " " << std::string(c.op, c.op + std::wcslen(c.op)) << " " << c.right;
  }
  // The left operand draws first: 7 then 3.
  const LogCapture log;
  const RandSequence draws({RandFor(0, 10, 7), RandFor(0, 10, 3)});
  const sEventOperand draw = Query(L"System.GetRandomNumber", {0, 10});
  EXPECT_TRUE(EvaluateExpression(world, Compare(draw, L"greater", draw), 1));
  EXPECT_TRUE(log.Contains(L"Expression OK, starting resolving it..."));
}

TEST(EventSearch, FiresTheFirstEventWhoseDateAndConditionHoldAndLogsEachTest) {
  EventWorld w;
  sEvent outside = Event(1, 2);
  outside.endDay = 1;
  outside.endMonth = 9;
  outside.endYear = 1939;
  sEvent unmet = Event(2, 2);
  unmet.condition = And({False()});
  SetEvents(w.World(), {outside, unmet, Event(3, 3), Event(4, 3)});
  const LogCapture log;
  ASSERT_TRUE(FindEventToFire(w.World()));
  EXPECT_EQ(w.Manager().firedEvent.eventId, 3);
  EXPECT_EQ(w.Manager().firedEvent.title, L"Event3");
  const std::vector<std::wstring> expected = {L"NEW ITERATION FOR EVENTS...",
                                              L"Checking event 1",
                                              L"Event 1: Current date is outside date range for event",
                                              L"Event checked with no luck",
                                              L"Checking event 2",
                                              L"Expression OK, starting resolving it...",
                                              L"Condition for event with ID=2 is false.",
                                              L"Event checked with no luck",
                                              L"Checking event 3",
                                              L"Condition for event with ID=3 is true. Firing..."};
  EXPECT_EQ(LinesFrom(log, expected.front(), expected.size() + 1), expected) << "nothing after the firing";
  EXPECT_TRUE(w.Manager().IsChecked(1));
  EXPECT_TRUE(w.Manager().IsChecked(3));
  EXPECT_FALSE(w.Manager().IsChecked(4));

  SetEvents(w.World(), {unmet});
  EXPECT_FALSE(FindEventToFire(w.World()));
  EXPECT_TRUE(log.Contains(L"New event search iteration ended with no results"));
}

TEST(EventSearch, EventsOfInactiveOrUnknownCountriesAreNeverTestedNorLogged) {
  EventWorld w;
  w.Country(2).active = false;
  SetEvents(w.World(), {Event(5, 2), Event(6, 9), Event(7, 0)});
  const LogCapture log;
  EXPECT_FALSE(FindEventToFire(w.World()));
  EXPECT_EQ(CountLines(log, L"Checking event 5") + CountLines(log, L"Checking event 6") +
                CountLines(log, L"Checking event 7"),
            0);
  EXPECT_FALSE(w.Manager().IsChecked(5));
}

TEST(EventSearch, OneTimeCheckingTestsAnEventOncePerCheckAndSameIdsShareTheirBit) {
  EventWorld w;
  sEvent once = Event(3, 2, false, true);
  SetEvents(w.World(), {once});
  EXPECT_TRUE(FindEventToFire(w.World()));
  EXPECT_FALSE(FindEventToFire(w.World())) << "tested already in this check";
  w.Manager().ClearCheckedFlags();
  EXPECT_TRUE(FindEventToFire(w.World()));

  // The first event with id 4 is tested (and found false); the second,
  // tested only once per check, is then left out.
  sEvent first = Event(4, 2);
  first.condition = And({False()});
  SetEvents(w.World(), {first, Event(4, 3, false, true)});
  EXPECT_FALSE(FindEventToFire(w.World()));
  // An event without oneTimeChecking is tested again.
  SetEvents(w.World(), {Event(5, 2)});
  EXPECT_TRUE(FindEventToFire(w.World()));
  EXPECT_TRUE(FindEventToFire(w.World()));
  // A negative id has no bit: never marked as tested.
  SetEvents(w.World(), {Event(-3, 2, false, true)});
  EXPECT_TRUE(FindEventToFire(w.World()));
  EXPECT_FALSE(w.Manager().IsChecked(-3));
}

TEST(EventSearch, EventsDisabledInPlayByEmailSkipCountriesOfAPlayer) {
  EventWorld w;
  sEvent event = Event(8, 2);
  event.enableInPbem = 0;
  SetEvents(w.World(), {event});
  w.Country(2).pbemPlayerId = 1;
  EXPECT_TRUE(FindEventToFire(w.World())) << "not a play-by-e-mail game";
  w.World().playByEmail = true;
  EXPECT_FALSE(FindEventToFire(w.World()));
  w.Country(2).pbemPlayerId = 0;
  EXPECT_TRUE(FindEventToFire(w.World())) << "a country without a player";
  w.Country(2).pbemPlayerId = 1;
  w.Manager().events.front().enableInPbem = 1;
  EXPECT_TRUE(FindEventToFire(w.World()));
}

TEST(EventSearch, SpentEventsAreLeftOutWithoutATest) {
  EventWorld w;
  SetEvents(w.World(), {Event(1, 2), Event(2, 2)});
  const LogCapture log;
  ASSERT_TRUE(FindEventToFire(w.World(), {1}));
  EXPECT_EQ(w.Manager().firedEvent.eventId, 2);
  EXPECT_FALSE(log.Contains(L"Checking event 1"));
  EXPECT_FALSE(FindEventToFire(w.World(), {1, 2}));
}

TEST(EventOptions, ApplyOptionRefusesNumbersOutsideTheOptionsAndClearsTheMessagesOtherwise) {
  EventWorld w;
  const sEvent event = Event(1, 2, false, false, {Option(L"One", 50), Option(L"Two", 50)});
  w.Manager().messages = {L"earlier"};
  EXPECT_FALSE(ApplyOption(w.World(), event, 0));
  EXPECT_FALSE(ApplyOption(w.World(), event, 3));
  EXPECT_FALSE(ApplyOption(w.World(), event, -1));
  EXPECT_EQ(w.Manager().messages.size(), 1u) << "nothing was run";
  EXPECT_TRUE(ApplyOption(w.World(), event, 2));
  EXPECT_TRUE(w.Manager().messages.empty());
  EXPECT_FALSE(ApplyOption(w.World(), Event(2, 2), 1)) << "no options at all";
}

// The draw r picks the first option k with c(k-1) < r <= c(k) over the
// running sums of the weights (negative weights count as 0); r = 0 and an
// event without options give no option.
TEST(EventOptions, TheComputersDrawFallsInTheShareOfOneOptionOrInNone) {
  const sEvent event = Event(1, 2, false, false, {Option(L"A", 0), Option(L"B", 30), Option(L"C", -1), Option(L"D", 70)});
  const std::vector<std::pair<int, int>> drawToOption = {{0, -1}, {1, 2}, {30, 2}, {31, 4}, {100, 4}, {101, -1}};
  for (const auto& [draw, option] : drawToOption) EXPECT_EQ(event.PickOptionForComputer(draw), option) << draw;
  EXPECT_EQ(Event(2, 2).PickOptionForComputer(0), -1);
  const sEvent zeros = Event(3, 2, false, false, {Option(L"A", 0), Option(L"B", 0)});
  EXPECT_EQ(zeros.PickOptionForComputer(0), -1);
}

TEST(EventsCheck, AComputerCountrysVisibleChoiceIsReportedToEveryCountry) {
  EventWorld w;
  // Weights 0, 100 and 0: a draw of 0 takes no option (the event is tested
  // again at the next check); any other draw takes the second.
  SetEvents(w.World(), {Event(1, 2, true, true, {Option(L"First", 0), Option(L"Second", 100), Option(L"Third", 0)})});
  {
    const LogCapture log;
    const RandSequence draw({RandFor(0, 100, 0)});
    CheckEvents(w.World());
    EXPECT_TRUE(log.Contains(L"Event 1: no option could be drawn, none applied"));
  }
  EXPECT_TRUE(w.Reports(kReportEventOption).empty());
  {
    const RandSequence draw({RandFor(0, 100, 1)});
    CheckEvents(w.World());
  }
  std::vector<sReport> reports = w.Reports(kReportEventOption);
  ASSERT_EQ(reports.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(reports[static_cast<std::size_t>(i)].countryId, i + 1);
    EXPECT_EQ(reports[static_cast<std::size_t>(i)].text, L"B in Event1 went with option Second");
  }

  // Weights 30 and 70: a draw up to 30 takes the first.
  SetEvents(w.World(), {Event(2, 3, true, true, {Option(L"Left", 30), Option(L"Right", 70)})});
  {
    const RandSequence draws({RandFor(0, 100, 30), RandFor(0, 100, 31)});
    CheckEvents(w.World());
    CheckEvents(w.World());
  }
  reports = w.Reports(kReportEventOption);
  ASSERT_EQ(reports.size(), 9u);
  EXPECT_EQ(reports[3].text, L"C in Event2 went with option Left");
  EXPECT_EQ(reports[6].text, L"C in Event2 went with option Right");
}

TEST(EventsCheck, InvisibleEventsAreDrawnWithoutAReportOrADialog) {
  EventWorld w;
  SetEvents(w.World(), {Event(1, 1, false, true, {Option(L"Only", 10)}), Event(2, 2, false, true, {Option(L"Only", 10)})});
  const LogCapture log;
  CheckEvents(w.World());
  EXPECT_TRUE(w.Reports(kReportEventOption).empty());
  EXPECT_EQ(CountLines(log, L"Condition for event with ID=1 is true. Firing..."), 1);
  EXPECT_EQ(CountLines(log, L"Condition for event with ID=2 is true. Firing..."), 1);
  EXPECT_FALSE(log.Contains(L"Event fired (ID=1 / Title=\"Event1\")"));
}

TEST(EventsCheck, AHumanCountrysEventWithoutADialogToWaitForIsDrawnSoTheGameGoesOn) {
  EventWorld w;
  SetEvents(w.World(), {Event(4, 1, true, true, {Option(L"Accept", 10)})});
  const LogCapture log;
  const RandSequence draw({RandFor(0, 10, 5)});  // in the option's share
  CheckEvents(w.World());  // on the main thread: no dialog can be waited for
  EXPECT_TRUE(log.Contains(L"Event fired (ID=4 / Title=\"Event4\")"));
  EXPECT_TRUE(log.Contains(L"Event 4: no event dialog could be shown, the option is drawn"));
  ASSERT_EQ(w.Reports(kReportEventOption).size(), 3u);
  EXPECT_EQ(w.Reports(kReportEventOption).front().text, L"A in Event4 went with option Accept");
}

TEST(EventsCheck, AnEventThatStaysTrueFiresAtMostABoundedNumberOfTimesAndTheCheckGoesOn) {
  EventWorld w;
  // Event 1 always holds and changes nothing; event 2 comes after it.
  SetEvents(w.World(), {Event(1, 2, true, false, {Option(L"Again", 1)}), Event(2, 3, false, true)});
  const LogCapture log;
  CheckEvents(w.World());
  EXPECT_EQ(CountLines(log, L"Condition for event with ID=1 is true. Firing..."), 100);
  EXPECT_EQ(CountLines(log, L"Event 1 has fired 100 times in this events check: it is not checked again until the "
                            L"next one"),
            1);
  EXPECT_EQ(CountLines(log, L"Condition for event with ID=2 is true. Firing..."), 1);
  EXPECT_TRUE(log.Contains(L"CHECKING EVENTS FINISHED"));
  // Every firing whose draw fell in the option's share told all three
  // countries; a draw of 0 took no option.
  const int drawnNone = CountLines(log, L"Event 1: no option could be drawn, none applied");
  EXPECT_EQ(w.Reports(kReportEventOption).size(), static_cast<std::size_t>(3 * (100 - drawnNone)));
  // The next check starts afresh.
  CheckEvents(w.World());
  EXPECT_EQ(CountLines(log, L"Condition for event with ID=1 is true. Firing..."), 200);
  EXPECT_EQ(CountLines(log, L"Condition for event with ID=2 is true. Firing..."), 2);
}

TEST(EventsCheck, ACheckStartsAndEndsWithItsLinesAndEndsAPlayByEmailTurn) {
  EventWorld w;
  SetEvents(w.World(), {Event(1, 2, false, true, {Option(L"Only", 10)})});
  TakeEndOfTurnRequest();
  const LogCapture log;
  // A save-and-exit asked in an earlier check is forgotten.
  w.World().eventSaveAndExitRequested = true;
  CheckEvents(w.World());
  EXPECT_EQ(LinesFrom(log, L"CHECKING EVENTS...", 1), std::vector<std::wstring>{L"CHECKING EVENTS..."});
  EXPECT_EQ(CountLines(log, L"Condition for event with ID=1 is true. Firing..."), 1);
  EXPECT_EQ(log.Lines().back(), L"CHECKING EVENTS FINISHED");
  EXPECT_FALSE(w.World().eventSaveAndExitRequested.load());
  EXPECT_FALSE(TakeEndOfTurnRequest()) << "not a play-by-e-mail game";
  w.World().playByEmail = true;
  CheckEvents(w.World());
  EXPECT_TRUE(TakeEndOfTurnRequest());
}

}  // namespace

namespace {

TEST(EventsCheck, AForcedEventFiresOnceAtTheNextCheckWhateverItsDate) {
  EventWorld w;
  sEvent past = Event(7, 2, true, false, {Option(L"Only", 10)});
  past.endDay = 1;
  past.endMonth = 1;
  past.endYear = 1900;
  SetEvents(w.World(), {past});
  CheckEvents(w.World());
  EXPECT_TRUE(w.Reports(kReportEventOption).empty());

  EXPECT_FALSE(w.Manager().ForceFireEvent(99));
  EXPECT_TRUE(w.Manager().forcedEvents.empty());
  ASSERT_TRUE(w.Manager().ForceFireEvent(7));
  const LogCapture log;
  const RandSequence draw({RandFor(0, 10, 5)});  // in the option's share
  CheckEvents(w.World());
  EXPECT_TRUE(log.Contains(L"Firing forced event ID=7"));
  ASSERT_EQ(w.Reports(kReportEventOption).size(), 3u);
  EXPECT_EQ(w.Reports(kReportEventOption).front().text, L"B in Event7 went with option Only");
  // Fired once: the next check finds it out of date again.
  CheckEvents(w.World());
  EXPECT_EQ(w.Reports(kReportEventOption).size(), 3u);
}

}  // namespace
