// The reports and statistics dialog on the fixture scenario after two real
// ends of an impulse: the start with no report type, the country list, the
// reports walked with the slider (also with an empty range), the victory
// points and statistics tables with their graph data, and the keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/lang_source.h"
#include "app/string_base.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/reports_dialog.h"
#include "files/world_loader.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_scrollbar.h"
#include "gui/dxut_static.h"
#include "gui/gui_fixture.h"
#include "platform/format.h"
#include "rules/end_impulse.h"
#include "rules/world_turn.h"
#include "support/fixture_ids.h"
#include "support/fixture_scenario.h"
#include "world/country.h"
#include "world/unit.h"
#include "world/world.h"

namespace {

constexpr int kProductionRow = 1, kUpkeepRow = 2, kVictoryPointsRow = 5;

class ReportsDialog : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    g_DialogStack.clear();
    g_pActiveDialog = nullptr;
    ASSERT_FALSE(twtest::FixtureScenarioSource().empty()) << "set TW_SOURCE_DIR";
    LoadEnglishTexts();
    LoadWorld(twtest::CopyFixtureScenario(dir_.Path()));
    world_.reset(g_pWorld);
    ASSERT_NE(world_, nullptr);
    ASSERT_EQ(world_->View(), nullptr) << "the ends of the impulses run without a view";
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    world_.reset();
    g_pWorld = nullptr;
    GuiTest::TearDown();
  }
  // The English texts of the report counter and of the upkeep report, so
  // that their numbers can be read; the other keys stay their own texts.
  void LoadEnglishTexts() {
    static const std::set<std::string> kKeys = {
        "reports_count",       "report_upkeep_summary_main_content", "unit_upkeep_summary_for_%s",
        "total_upkeep:_%.2f",  "total_units'_strength:_%.2f",        "pp_after_upkeep_substraction:_%.2f",
        "current_pp:_%.2f"};
    const std::string source = twtest::ReadFile((twtest::FindSourceRoot("data/lang/lang_ENG.txt") / "data/lang/lang_ENG.txt").string());
    std::vector<sLangText> texts;
    sLangSourceError error;
    ASSERT_TRUE(ParseLangSource(source, texts, error)) << error.message;
    std::erase_if(texts, [](const sLangText& t) { return !kKeys.contains(t.key); });
    ASSERT_EQ(texts.size(), kKeys.size());
    std::string base;
    ASSERT_TRUE(BuildLangBase(texts, base));
    dir_.Write("lang_ENG.db", base);
    g_StringBase.Load("lang_LANGID.db", true);
    ASSERT_NE(std::wstring(Text("reports_count")).find(L'%'), std::wstring::npos);
  }
  cDialogStatystyk* Open(int currentCountry) {
    world_->turnState.SetCurrentCountry(world_->GetCountry(currentCountry));
    auto* dialog = new cDialogStatystyk(*world_);
    PushDialog(dialog);
    return dialog;
  }
  template <class T>
  static T* Control(cDialogStatystyk* dialog, int id) {
    return dynamic_cast<T*>(dialog->Dialog().GetControl(id));
  }
  static std::wstring Counter(cDialogStatystyk* d) { return Control<CDXUTStatic>(d, cDialogStatystyk::kCounterId)->GetText(); }
  static std::wstring Date(cDialogStatystyk* d) { return Control<CDXUTEditBox>(d, cDialogStatystyk::kDateId)->GetText(); }
  static std::wstring Memo(cDialogStatystyk* d) { return Control<CDXUTMemo>(d, cDialogStatystyk::kTextId)->GetText(); }
  static bool Visible(cDialogStatystyk* d, int id) { return d->Dialog().GetControl(id)->GetVisible(); }
  static void PickType(cDialogStatystyk* d, int row) {
    d->TypeList()->SelectItem(row, false);
    d->OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogStatystyk::kTypeListId, d->TypeList());
  }
  static void PickCountry(cDialogStatystyk* d, const std::wstring& name) {
    for (int i = 0; i < d->CountryList()->GetSize(); ++i) {
      if (d->CountryList()->GetItem(i)->strText == name) d->CountryList()->SelectItem(i, false);
    }
    d->OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogStatystyk::kCountryListId, d->CountryList());
  }
  static void PickPage(cDialogStatystyk* d, int page) {
    d->TablePages()->SelectTab(page, false);
    d->OnGUIEvent(EVENT_TABFRAME_CHANGED, cDialogStatystyk::kTablePagesId, d->TablePages());
  }
  static void MoveSlider(cDialogStatystyk* d, int value) {
    d->Slider()->SetValueInternal(value, true, false);
    d->OnGUIEvent(EVENT_SLIDER_VALUE_CHANGED, cDialogStatystyk::kSliderId, d->Slider());
  }
  static std::vector<std::wstring> Rows(const CDXUTListBox* list) {
    std::vector<std::wstring> rows;
    for (int i = 0; i < list->GetSize(); ++i) rows.push_back(list->GetItem(i)->strText);
    return rows;
  }
  static std::vector<std::wstring> Tabs(const CDXUTTabFrame* frame) {
    std::vector<std::wstring> tabs;
    for (int i = 0; i < frame->GetTabCount(); ++i) tabs.push_back(frame->GetTab(i)->caption);
    return tabs;
  }
  static const wchar_t* Text(const char* key) { return g_StringBase.GetText(key); }
  void ExpectEmptyReportView(cDialogStatystyk* d) {
    for (int id : {cDialogStatystyk::kCounterId, cDialogStatystyk::kSliderId, cDialogStatystyk::kDateId,
                   cDialogStatystyk::kTextId}) {
      EXPECT_TRUE(Visible(d, id)) << id;
    }
    for (int id : {cDialogStatystyk::kTablePagesId, cDialogStatystyk::kTableId, cDialogStatystyk::kGraphId}) {
      EXPECT_FALSE(Visible(d, id)) << id;
    }
    EXPECT_TRUE(d->ShownReports().empty());
    EXPECT_EQ(Counter(d), Text("reports_count_no_reports"));
    EXPECT_EQ(Date(d), L"-");
    EXPECT_EQ(Memo(d), L"");
    int low = -1, high = -1;
    d->Slider()->GetRange(low, high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 0);
    EXPECT_FALSE(d->Slider()->GetEnabled());
  }
  // Two real ends of an impulse: production and upkeep twice for every
  // country that takes part.
  void PlayTwoImpulses() {
    EndImpulse(*world_, true);
    EndImpulse(*world_, true);
  }

  std::unique_ptr<cWorld> world_;
};

TEST_F(ReportsDialog, OpensWithNoReportTypeAndAnEmptyReportViewAndTheAlliesByName) {
  PlayTwoImpulses();
  cDialogStatystyk* d = Open(kEastmark);
  EXPECT_EQ(d->SelectedType(), cDialogStatystyk::kNoType);
  EXPECT_EQ(d->TypeList()->GetSelectedIndex(), -1) << "no type row is picked";
  EXPECT_EQ(Rows(d->TypeList()),
            (std::vector<std::wstring>{Text("reports_general_summary"), Text("reports_production"),
                                       Text("reports_units_upkeep"), Text("reports_research"),
                                       Text("reports_convoys"), L"Victory points"}));
  // Eastmark leads the Axis with Southia; Westland, the neutral and the
  // dummy are not listed.
  EXPECT_EQ(Rows(d->CountryList()), (std::vector<std::wstring>{L"Eastmark", L"Southia"}));
  EXPECT_EQ(d->CountryList()->GetSelectedIndex(), 0);
  ASSERT_NE(d->SelectedCountry(), nullptr);
  EXPECT_EQ(d->SelectedCountry()->id, kEastmark);
  // Eastmark has production reports, yet nothing is shown before a pick.
  ExpectEmptyReportView(d);

  // The events tab: surrenders come after the other rows; still no type.
  d->MainTabs()->SelectTab(1, false);
  d->OnGUIEvent(EVENT_TABFRAME_CHANGED, cDialogStatystyk::kMainTabId, d->MainTabs());
  ASSERT_EQ(d->TypeList()->GetSize(), 12);
  EXPECT_EQ(d->TypeList()->GetItem(11)->strText, Text("reports_surrenders"));
  EXPECT_EQ(d->TypeList()->GetSelectedIndex(), -1);
  ExpectEmptyReportView(d);
  // An event of the type list without a selected row changes nothing.
  d->OnGUIEvent(EVENT_LISTBOX_SELECTION, cDialogStatystyk::kTypeListId, d->TypeList());
  EXPECT_EQ(d->SelectedType(), cDialogStatystyk::kNoType);
  PopDialogs(1);

  // A neutral has no allies: only itself.
  cDialogStatystyk* neutral = Open(kNeutralia);
  EXPECT_EQ(Rows(neutral->CountryList()), (std::vector<std::wstring>{L"Neutralia"}));
}

TEST_F(ReportsDialog, ProductionAndUpkeepReportsOfTwoImpulsesAreWalkedWithTheSlider) {
  // The fixture's units cost nothing to keep; here they do.
  world_->constants.upkeepFactor = 0.05f;
  const double before = world_->GetCountry(kEastmark)->productionPoints;
  PlayTwoImpulses();
  const double after = world_->GetCountry(kEastmark)->productionPoints;
  cDialogStatystyk* d = Open(kEastmark);
  PickType(d, kProductionRow);
  EXPECT_EQ(d->SelectedType(), kReportProduction);
  ASSERT_EQ(d->ShownReports().size(), 2u);
  for (const sReport& report : d->ShownReports()) {
    EXPECT_EQ(report.type, kReportProduction);
    EXPECT_EQ(report.countryId, kEastmark);
  }
  const sReport& first = d->ShownReports().front();
  const sReport& second = d->ShownReports().back();
  EXPECT_LT(first.impulse, second.impulse);
  // The newest first, the slider over both.
  int low = -1, high = -1;
  d->Slider()->GetRange(low, high);
  EXPECT_EQ(high, 1);
  EXPECT_EQ(d->Slider()->GetValue(), 1);
  EXPECT_TRUE(d->Slider()->GetEnabled());
  EXPECT_EQ(Counter(d), plat::Format(std::wstring(Text("reports_count")), 2, 2));
  EXPECT_EQ(Memo(d), second.text);
  EXPECT_EQ(Date(d), plat::Format(L"%i/%i/%i - turn %i", second.day, second.month, second.year, second.impulse));
  MoveSlider(d, 0);
  EXPECT_EQ(Counter(d), plat::Format(std::wstring(Text("reports_count")), 1, 2));
  EXPECT_EQ(Memo(d), first.text);

  // What the two reports collected, less the two upkeeps, is what Eastmark
  // gained.
  auto number = [](const std::wstring& text, const std::wstring& label) {
    const std::size_t at = text.find(label);
    EXPECT_NE(at, std::wstring::npos) << label;
    return at == std::wstring::npos ? 0.0 : std::stod(text.substr(at + label.size()));
  };
  double collected = 0.0;
  for (const sReport& report : d->ShownReports()) collected += number(report.text, L"Collected: ");
  PickType(d, kUpkeepRow);
  ASSERT_EQ(d->ShownReports().size(), 2u);
  // The upkeep's line up to its number, whichever language wrote it.
  const std::wstring upkeepFormat = Text("total_upkeep:_%.2f");
  const std::wstring upkeepLabel = upkeepFormat.substr(0, upkeepFormat.find(L'%'));
  ASSERT_FALSE(upkeepLabel.empty());
  double upkeep = 0.0;
  for (const sReport& report : d->ShownReports()) upkeep += number(report.text, upkeepLabel);
  EXPECT_GT(collected, 0.0);
  EXPECT_GT(upkeep, 0.0);
  EXPECT_NEAR(after - before, collected - upkeep, 0.2);

  // Southia's own reports, once its row is picked.
  PickCountry(d, L"Southia");
  ASSERT_EQ(d->ShownReports().size(), 2u);
  EXPECT_EQ(d->ShownReports().front().countryId, kSouthia);
  EXPECT_EQ(d->Slider()->GetValue(), 1) << "a new country starts at its newest report";
}

TEST_F(ReportsDialog, SliderWithAnEmptyRangeOrAStaleRangeShowsAReportThereIs) {
  EndImpulse(*world_, true);
  cDialogStatystyk* d = Open(kEastmark);
  PickType(d, kProductionRow);
  ASSERT_EQ(d->ShownReports().size(), 1u);
  // One report: a range of one value, nothing to slide.
  int low = -1, high = -1;
  d->Slider()->GetRange(low, high);
  EXPECT_EQ(low, 0);
  EXPECT_EQ(high, 0);
  EXPECT_FALSE(d->Slider()->GetEnabled());
  EXPECT_EQ(Counter(d), plat::Format(std::wstring(Text("reports_count")), 1, 1));
  // Dragging the thumb of the empty range, and asking it for the value of
  // any point, stays at its only value.
  d->Slider()->SetEnabled(true);
  EXPECT_EQ(d->Slider()->ValueFromPos(d->Slider()->GetX() + d->Slider()->GetWidth() - 1), 0);
  MoveSlider(d, 5);
  EXPECT_EQ(d->Slider()->GetValue(), 0);
  EXPECT_EQ(Memo(d), d->ShownReports().front().text);
  // A range left from more reports (a refresh that keeps the position)
  // shows the newest report there is, never one past the list.
  d->Slider()->SetRange(0, 9);
  d->Slider()->SetValueInternal(9, false, false);
  d->RefreshContent(false);
  EXPECT_EQ(Counter(d), plat::Format(std::wstring(Text("reports_count")), 1, 1));
  EXPECT_EQ(Memo(d), d->ShownReports().front().text);
  // A type without reports: the empty state again.
  d->MainTabs()->SelectTab(1, false);
  d->OnGUIEvent(EVENT_TABFRAME_CHANGED, cDialogStatystyk::kMainTabId, d->MainTabs());
  PickType(d, 10);  // event results: no event has run
  EXPECT_EQ(d->SelectedType(), 25);
  ExpectEmptyReportView(d);
  // The graph's scale of nothing draws nothing.
  EXPECT_EQ(CDXUTBarGraph::BarLength(5.0, 0.0, 300), 0);
  EXPECT_EQ(CDXUTBarGraph::BarLength(0.0, 0.0, 300), 0);
  EXPECT_EQ(CDXUTBarGraph::BarLength(5.0, 10.0, 300), 150);
}

TEST_F(ReportsDialog, VictoryPointsTablesAndTheirGraphs) {
  PlayTwoImpulses();
  cDialogStatystyk* d = Open(kWestland);
  PickType(d, kVictoryPointsRow);
  EXPECT_EQ(Tabs(d->TablePages()),
            (std::vector<std::wstring>{L"Alliances", L"Countries by name", L"Countries by alliance", L"Countries by VP"}));
  EXPECT_TRUE(Visible(d, cDialogStatystyk::kTableId));
  EXPECT_TRUE(Visible(d, cDialogStatystyk::kGraphId));
  EXPECT_FALSE(Visible(d, cDialogStatystyk::kTextId));
  const int allies = world_->CountAllianceVictoryPoints(kAllies);
  const int axis = world_->CountAllianceVictoryPoints(kAxis);
  EXPECT_EQ(Rows(d->Table()), (std::vector<std::wstring>{plat::Format(L"Allies|%d", allies), plat::Format(L"Axis|%d", axis),
                                                          plat::Format(L"Comintern|%d", 0)}));
  const auto& alliances = d->Graph()->Bars();
  ASSERT_EQ(alliances.size(), 3u);
  EXPECT_EQ(alliances[0].label, L"Allies");
  EXPECT_EQ(alliances[0].value, allies);
  EXPECT_EQ(alliances[1].value, axis);
  EXPECT_NE(alliances[0].colour, alliances[1].colour);

  PickPage(d, cDialogStatystyk::kVpByPoints);
  std::vector<std::pair<int, int>> expected;  // (points, id) of the listed countries
  for (int id : {kWestland, kEastmark, kSouthia, kNeutralia}) {
    expected.push_back({world_->CountCountryVictoryPoints(id), id});
  }
  std::stable_sort(expected.begin(), expected.end(), [](auto a, auto b) { return a.first > b.first; });
  const std::vector<std::wstring> rows = Rows(d->Table());
  ASSERT_EQ(rows.size(), 4u) << "the dummy, whose id is the number of countries, is left out";
  const auto& bars = d->Graph()->Bars();
  ASSERT_EQ(bars.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const cCountry& c = *world_->GetCountry(expected[i].second);
    std::wstring alliance;
    c.FormatAllianceName(alliance, true);
    EXPECT_EQ(rows[i], plat::Format(L"%s;%s;%d", c.name, alliance, expected[i].first));
    EXPECT_EQ(bars[i].label, c.name);
    EXPECT_EQ(bars[i].value, expected[i].first);
  }
  EXPECT_GE(bars.front().value, bars.back().value);

  // The statistics replace the four literal tabs; a report type keeps them.
  PickType(d, 0);
  EXPECT_EQ(Tabs(d->TablePages()).front(), Text("scenario_settings_tab_stats_general"));
  PickType(d, kProductionRow);
  EXPECT_EQ(Tabs(d->TablePages()).front(), Text("scenario_settings_tab_stats_general"));
  EXPECT_FALSE(Visible(d, cDialogStatystyk::kGraphId));
}

TEST_F(ReportsDialog, CountryStatisticsPagesAndTheirGraphs) {
  PlayTwoImpulses();
  cDialogStatystyk* d = Open(kEastmark);
  PickType(d, 0);
  PickCountry(d, L"Southia");
  const cCountry& southia = *world_->GetCountry(kSouthia);
  // A member of an alliance starts with the alliance row.
  std::vector<std::wstring> rows = Rows(d->Table());
  ASSERT_EQ(rows.size(), 8u);
  std::wstring alliance;
  southia.FormatAllianceName(alliance, true);
  EXPECT_EQ(rows[0], plat::Format(L"%s;%s", Text("country_stats_alliance"), alliance));
  EXPECT_EQ(rows[5], plat::Format(L"%s;%.0f%%", Text("country_stats_war_economy"), southia.warEconomy));
  EXPECT_EQ(d->Graph()->ScaleTop(), 100.0) << "per cent bars on a scale of a hundred";

  PickPage(d, 1);
  rows = Rows(d->Table());
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], plat::Format(L"%s;%.0f", Text("country_stats_production_points"), southia.productionPoints));
  EXPECT_EQ(rows[1], plat::Format(L"%s;%s", Text("country_stats_diplomacy_points"),
                                  plat::Format(std::wstring(Text("reports_diplomacy_points_value")),
                                               southia.diplomaticPoints, southia.diplomaticPointsPerMonth)));
  ASSERT_EQ(d->Graph()->Bars().size(), 5u);
  EXPECT_DOUBLE_EQ(d->Graph()->Bars()[0].value, southia.productionPoints);
  EXPECT_EQ(d->Graph()->ScaleTop(), southia.productionPoints);

  PickPage(d, 2);
  rows = Rows(d->Table());
  ASSERT_EQ(rows.size(), kStatisticsUnitTypes.size());
  const auto counts = southia.CountUnitsByType(*world_).b;
  std::size_t held = 0;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    EXPECT_EQ(rows[i], plat::Format(L"%s;%i;%i", cUnit::GetSubtypeText(world_.get(), kStatisticsUnitTypes[i]), counts[i].first,
                                    counts[i].second));
    if (counts[i].first + counts[i].second > 0) {
      ASSERT_LT(held, d->Graph()->Bars().size());
      EXPECT_EQ(d->Graph()->Bars()[held].value, counts[i].first);
      EXPECT_EQ(d->Graph()->Bars()[held].second, counts[i].second);
      ++held;
    }
  }
  EXPECT_GT(held, 0u);
  EXPECT_EQ(d->Graph()->Bars().size(), held) << "only the types the country has";
  // The events tab takes the statistics page away at once: the empty report
  // view waits for a type of its own.
  d->MainTabs()->SelectTab(1, false);
  d->OnGUIEvent(EVENT_TABFRAME_CHANGED, cDialogStatystyk::kMainTabId, d->MainTabs());
  EXPECT_EQ(d->SelectedType(), cDialogStatystyk::kNoType);
  ExpectEmptyReportView(d);
  PopDialogs(1);

  // A neutral starts with its alliance entry.
  cDialogStatystyk* neutral = Open(kNeutralia);
  PickType(neutral, 0);
  ASSERT_FALSE(Rows(neutral->Table()).empty());
  EXPECT_EQ(Rows(neutral->Table())[0],
            plat::Format(L"%s;%i%%", Text("country_stats_alliance_entry"), world_->GetCountry(kNeutralia)->allianceEntry));
}

TEST_F(ReportsDialog, EnterAndEscapeCloseAKeyReleaseDoesNot) {
  for (unsigned key : {13u, 27u}) {
    cDialogStatystyk* d = Open(kEastmark);
    d->OnKeyboard(key, false, false);
    EXPECT_EQ(FindDialogById(cDialogStatystyk::kId), d) << key;
    d->OnKeyboard('A', true, false);
    EXPECT_EQ(FindDialogById(cDialogStatystyk::kId), d);
    d->OnKeyboard(key, true, false);
    EXPECT_EQ(FindDialogById(cDialogStatystyk::kId), nullptr) << key;
    DeleteRetiredDialogs();
  }
}

}  // namespace
