#include "dialogs/reports_dialog.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/gui_layout.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_scrollbar.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "world/country.h"
#include "world/unit.h"
#include "world/world.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr int kDateBorder = 2;
// The table kinds whose tabs the table frame holds.
constexpr int kStatisticsTable = cDialogStatystyk::kGeneralSummary;
constexpr int kVictoryPointsTable = cDialogStatystyk::kVictoryPoints;
// Pages of the country statistics.
enum : int { kPageGeneral = 0, kPageResources = 1, kPageUnits = 2, kPageTechnology = 3 };
// Bar colours: the alliances (Allies, Axis, Comintern) and the statistics.
constexpr std::uint32_t kAllianceColours[] = {0xFF3C78C8u, 0xFF8C8C8Cu, 0xFFC83C3Cu};
constexpr std::uint32_t kStatisticsColour = 0xFFD6A040u;
constexpr double kPercentScale = 100.0;

struct sTypeRow {
  const char* key;  // null: the literal victory points text
  int type;
};
constexpr sTypeRow kStatisticsTypes[] = {
    {"reports_general_summary", 28}, {"reports_production", 22}, {"reports_units_upkeep", 26},
    {"reports_research", 23},        {"reports_convoys", 24},    {nullptr, 29},
};
// Surrenders (27) come last: the other rows keep their order.
constexpr sTypeRow kEventTypes[] = {
    {"reports_raider_activity", 18},       {"reports_battles_at_seas", 20},
    {"reports_sea_zone_attacks", 16},      {"reports_land_combat_(attack)", 0},
    {"reports_land_combat_(defence)", 1},  {"reports_air_strikes", 8},
    {"reports_air_to_air_combat", 2},      {"reports_shore_bombardment", 14},
    {"reports_strategic_bombardment", 12}, {"reports_sieges", 21},
    {"reports_event_results", 25},         {"reports_surrenders", 27},
};

void* IntData(int value) { return reinterpret_cast<void*>(static_cast<std::intptr_t>(value)); }
int DataInt(void* data) { return static_cast<int>(reinterpret_cast<std::intptr_t>(data)); }

void Show(CDXUTControl* control, bool visible) {
  if (control != nullptr) control->SetVisible(visible);
}

// The text after the first cell of a list box's column captions ("Unit;On
// the map;In reserve" gives "On the map").
std::wstring Caption(const wchar_t* captions, std::size_t index) {
  std::vector<std::wstring_view> cells;
  CDXUTListBox::SplitCells(captions != nullptr ? captions : L"", cells);
  return index < cells.size() ? std::wstring(cells[index]) : std::wstring();
}

}  // namespace

cDialogStatystyk::cDialogStatystyk(cWorld& world)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world) {
  CDXUTStatic* title = nullptr;
  dialog_.AddStaticFromLayout(kTitleId, Text("reports_title"), &title);
  if (title != nullptr) {
    title->m_TextElement = 1;
    title->SetTextFormat(kFormatCentred);
  }
  dialog_.AddTabFrameFromLayout(kMainTabId, &main_tabs_);
  if (main_tabs_ != nullptr) {
    main_tabs_->AddTab(Text("reports_main_type_tab_statistics"), 0, 0, -1);
    main_tabs_->AddTab(Text("reports_main_type_tab_events"), 0, 0, -1);
  }
  dialog_.AddStaticFromLayout(kTypeLabelId, Text("reports_type"));
  dialog_.AddListBoxFromLayout(kTypeListId, 0, &types_);
  dialog_.AddStaticFromLayout(kCountryLabelId, Text("reports_country"));
  dialog_.AddListBoxFromLayout(kCountryListId, 0, &countries_);
  dialog_.AddMemoFromLayout(kTextId, L"", &text_);
  dialog_.AddStaticFromLayout(kCounterId, L"", &counter_);
  dialog_.AddSliderFromLayout(kSliderId, 0, 0, 0, &slider_);
  dialog_.AddStaticFromLayout(kDateLabelId, Text("reports_date"));
  if (SUCCEEDED(dialog_.AddEditBoxFromLayout(kDateId, L"", Text("reports_date_hint"), &date_)) && date_ != nullptr) {
    date_->m_nBorder = kDateBorder;
    date_->UpdateRects();
    date_->SetTextColor(kWhite);
    date_->m_dwDisabledTextFormat = kFormatCentred;
    date_->SetEnabled(false);
  }
  dialog_.AddTabFrameFromLayout(kTablePagesId, &table_pages_);
  if (table_pages_ != nullptr) {
    for (const char* key : {"scenario_settings_tab_stats_general", "scenario_settings_tab_stats_resources",
                            "scenario_settings_tab_stats_units", "scenario_settings_tab_stats_technology"}) {
      table_pages_->AddTab(Text(key), 0, 0, -1);
    }
  }
  dialog_.AddListBoxFromLayout(kTableId, 0, &table_);
  const sLayoutRect& graph = Layout(kGraphId);
  if (CDXUTControl* added = dialog_.AddControl(std::make_unique<CDXUTBarGraph>(&dialog_))) {
    graph_ = static_cast<CDXUTBarGraph*>(added);
    graph_->SetID(kGraphId);
    graph_->SetLocation(graph.a, graph.b);
    graph_->SetSize(graph.c, graph.d);
    graph_->SetEnabled(false);
  }
  dialog_.AddButtonFromLayout(kExitId, Text("reports_exit"), Text("reports_exit_hint"));
  FillTypeList(0);
  FillCountryList();
  RefreshContent(true);
}

void cDialogStatystyk::OnGUIEvent(unsigned, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kMainTabId:
      FillTypeList(main_tabs_ != nullptr ? main_tabs_->GetSelectedTab() : 0);
      // The type picked on the other tab is not in this tab's list: its page
      // goes, and the empty report view waits for a pick here.
      selected_type_ = kNoType;
      RefreshContent(true);
      return;
    case kTypeListId: {
      const DXUTListBoxItem* row = types_ != nullptr ? types_->GetSelectedItem() : nullptr;
      if (row == nullptr) return;
      selected_type_ = DataInt(row->pData);
      FillCountryList();
      RefreshContent(true);
      return;
    }
    case kCountryListId: {
      const DXUTListBoxItem* row = countries_ != nullptr ? countries_->GetSelectedItem() : nullptr;
      if (row == nullptr) return;
      selected_country_ = static_cast<cCountry*>(row->pData);
      RefreshContent(true);
      return;
    }
    case kSliderId:
    case kTablePagesId: RefreshContent(false); return;
    case kExitId: PopDialogs(1); return;
    default: return;
  }
}

void cDialogStatystyk::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (keyDown && (key == 13 || key == 27)) ClickButton(kExitId);
}

void cDialogStatystyk::FillTypeList(int mainTab) {
  if (types_ == nullptr) return;
  types_->RemoveAllItems();
  auto add = [this](const auto& rows) {
    for (const sTypeRow& row : rows) {
      types_->AddItem(row.key != nullptr ? Text(row.key) : L"Victory points", IntData(row.type));
    }
  };
  if (mainTab == 1) {
    add(kEventTypes);
  } else {
    add(kStatisticsTypes);
  }
}

void cDialogStatystyk::FillCountryList() {
  if (countries_ == nullptr) return;
  const cCountry* current = world_.GetCountry(world_.turnState.CurrentCountryId());
  std::vector<cCountry*> listed;
  for (const auto& country : world_.Countries()) {
    if (!country->active || country->politicalStrength < 0 || country->specialFlags == 1) continue;
    if (current == nullptr || (country.get() != current && !country->IsAlliedWith(current->id))) continue;
    listed.push_back(country.get());
  }
  std::stable_sort(listed.begin(), listed.end(),
                   [](const cCountry* a, const cCountry* b) { return a->name < b->name; });
  countries_->RemoveAllItems();
  int row = 0;
  for (std::size_t i = 0; i < listed.size(); ++i) {
    countries_->AddItem(listed[i]->name.c_str(), listed[i]);
    if (listed[i] == selected_country_) row = static_cast<int>(i);
  }
  if (listed.empty()) {
    selected_country_ = nullptr;
    return;
  }
  // The selection is taken over here rather than through the list's event:
  // while the dialog is built it is not yet the active dialog.
  countries_->SelectItem(row, false);
  selected_country_ = static_cast<cCountry*>(countries_->GetSelectedData());
}

void cDialogStatystyk::ShowReportControls(bool reports) {
  for (CDXUTControl* control : std::initializer_list<CDXUTControl*>{counter_, slider_, date_, text_}) {
    Show(control, reports);
  }
  Show(dialog_.GetControl(kDateLabelId), reports);
  Show(table_pages_, !reports);
  Show(table_, !reports);
  Show(graph_, !reports);
}

void cDialogStatystyk::RefreshContent(bool reset) {
  switch (selected_type_) {
    case kVictoryPoints: ShowVictoryPoints(); return;
    case kGeneralSummary: ShowCountryStatistics(); return;
    default: ShowReports(reset); return;
  }
}

void cDialogStatystyk::ShowVictoryPoints() {
  if (table_pages_ != nullptr && last_table_kind_ != kVictoryPointsTable) {
    table_pages_->RemoveAllTabs();
    for (const wchar_t* tab : {L"Alliances", L"Countries by name", L"Countries by alliance", L"Countries by VP"}) {
      table_pages_->AddTab(tab, 0, 0, -1);
    }
    last_table_kind_ = kVictoryPointsTable;
  }
  ShowReportControls(false);
  if (table_ == nullptr || graph_ == nullptr) return;
  table_->RemoveAllItems();
  graph_->Clear();
  graph_->SetCaption(L"Victory points");
  const int page = table_pages_ != nullptr ? table_pages_->GetSelectedTab() : kVpAlliances;
  std::vector<sGraphBar> bars;
  if (page == kVpAlliances) {
    table_->SetColumns(2, L"Alliance|Victory points", 50, 50);
    static constexpr struct {
      const wchar_t* name;
      int alliance;
    } kAlliances[] = {{L"Allies", kAllies}, {L"Axis", kAxis}, {L"Comintern", kComintern}};
    for (const auto& alliance : kAlliances) {
      const int points = world_.CountAllianceVictoryPoints(alliance.alliance);
      table_->AddItem(plat::Format(L"%s|%d", alliance.name, points).c_str(), nullptr);
      bars.push_back({alliance.name, static_cast<double>(points), 0.0,
                      kAllianceColours[alliance.alliance - kAllies], std::to_wstring(points)});
    }
    graph_->SetBars(std::move(bars));
    return;
  }
  if (page != kVpByName && page != kVpByAlliance && page != kVpByPoints) return;
  table_->SetColumns(3, L"Country|Alliance|Victory points", 50, 30, 20);
  struct sRow {
    std::wstring key;
    std::wstring text;
    sGraphBar bar;
  };
  std::vector<sRow> rows;
  for (const auto& country : world_.Countries()) {
    if (!country->active || country->specialFlags != 0 || country->id == world_.GetCountryCount()) continue;
    std::wstring alliance;
    country->FormatAllianceName(alliance, true);
    const int points = world_.CountCountryVictoryPoints(country->id);
    sRow row;
    row.text = plat::Format(L"%s;%s;%d", country->name, alliance, points);
    row.key = page == kVpByName ? country->name
              : page == kVpByAlliance ? alliance
                                      : plat::Format(L"%d", INT_MAX - points);
    row.bar = {country->name, static_cast<double>(points), 0.0, country->colour[0] | 0xFF000000u,
               std::to_wstring(points)};
    rows.push_back(std::move(row));
  }
  // Equal keys keep the countries' order.
  std::stable_sort(rows.begin(), rows.end(), [](const sRow& a, const sRow& b) { return a.key < b.key; });
  for (sRow& row : rows) {
    table_->AddItem(row.text.c_str(), nullptr);
    bars.push_back(std::move(row.bar));
  }
  graph_->SetBars(std::move(bars));
}

void cDialogStatystyk::ShowCountryStatistics() {
  if (table_pages_ != nullptr && last_table_kind_ != kStatisticsTable) {
    table_pages_->RemoveAllTabs();
    for (const char* key : {"scenario_settings_tab_stats_general", "scenario_settings_tab_stats_resources",
                            "scenario_settings_tab_stats_units", "scenario_settings_tab_stats_technology"}) {
      table_pages_->AddTab(Text(key), 0, 0, -1);
    }
    last_table_kind_ = kStatisticsTable;
  }
  ShowReportControls(false);
  if (table_ == nullptr || graph_ == nullptr) return;
  // Without a country the controls stand empty: no rows of another view.
  table_->RemoveAllItems();
  graph_->Clear();
  if (selected_country_ == nullptr) return;
  const cCountry& c = *selected_country_;
  const int page = table_pages_ != nullptr ? table_pages_->GetSelectedTab() : kPageGeneral;
  auto row = [this](const std::wstring& text) { table_->AddItem(text.c_str(), nullptr); };
  auto intRow = [&](const char* key, int value) { row(plat::Format(L"%s;%i", Text(key), value)); };
  std::vector<sGraphBar> bars;
  auto bar = [&bars](const char* key, double value, const std::wstring& text) {
    bars.push_back({Text(key), value, 0.0, kStatisticsColour, text});
  };
  auto intBar = [&](const char* key, int value) { bar(key, value, std::to_wstring(value)); };
  switch (page) {
    case kPageGeneral: {
      table_->SetColumns(2, Text("scenario_settings_country_stats_general_columns"), 50, 50);
      std::wstring text;
      if (c.alliance == kNeutral) {
        row(plat::Format(L"%s;%i%%", Text("country_stats_alliance_entry"), c.allianceEntry));
        bar("country_stats_alliance_entry", c.allianceEntry, plat::Format(L"%i%%", c.allianceEntry));
      } else {
        c.FormatAllianceName(text, true);
        row(plat::Format(L"%s;%s", Text("country_stats_alliance"), text));
      }
      text.clear();
      c.FormatOrientationName(text, true);
      row(plat::Format(L"%s;%s", Text("country_stats_political_orientation"), text));
      text.clear();
      c.FormatZoneOfInfluenceName(text, true);
      row(plat::Format(L"%s;%s", Text("country_stats_zone_of_influence"), text));
      intRow("country_stats_political_strength", c.politicalStrength);
      row(plat::Format(L"%s;%.0f%%", Text("country_stats_social_unrest"), c.socialUnrest));
      row(plat::Format(L"%s;%.0f%%", Text("country_stats_war_economy"), c.warEconomy));
      intRow("country_stats_land_warfare_doctrine_level", c.techLevel[kTechDoctrine]);
      intRow("country_stats_nuclear_bombs", c.nuclearBombs);
      // The shares of a hundred per cent.
      bar("country_stats_social_unrest", c.socialUnrest, plat::Format(L"%.0f%%", c.socialUnrest));
      bar("country_stats_war_economy", c.warEconomy, plat::Format(L"%.0f%%", c.warEconomy));
      graph_->SetCaption(Caption(Text("scenario_settings_country_stats_general_columns"), 1));
      graph_->SetBars(std::move(bars), kPercentScale);
      return;
    }
    case kPageResources:
      table_->SetColumns(2, Text("scenario_settings_country_stats_resources_columns"), 50, 50);
      row(plat::Format(L"%s;%.0f", Text("country_stats_production_points"), c.productionPoints));
      row(plat::Format(L"%s;%s", Text("country_stats_diplomacy_points"),
                       plat::Format(std::wstring(Text("reports_diplomacy_points_value")), c.diplomaticPoints,
                                    c.diplomaticPointsPerMonth)));
      intRow("country_stats_strategic_movement_points", c.strategicMovementPoints);
      intRow("country_stats_sea_transport_points", c.seaTransportPoints);
      intRow("country_stats_amphibious_invasion_points", c.amphibiousInvasionPoints);
      bar("country_stats_production_points", c.productionPoints, plat::Format(L"%.0f", c.productionPoints));
      intBar("country_stats_diplomacy_points", c.diplomaticPoints);
      intBar("country_stats_strategic_movement_points", c.strategicMovementPoints);
      intBar("country_stats_sea_transport_points", c.seaTransportPoints);
      intBar("country_stats_amphibious_invasion_points", c.amphibiousInvasionPoints);
      graph_->SetCaption(Caption(Text("scenario_settings_country_stats_resources_columns"), 1));
      graph_->SetBars(std::move(bars));
      return;
    case kPageUnits: {
      const wchar_t* columns = Text("scenario_settings_country_stats_units_columns");
      table_->SetColumns(3, columns, 60, 20, 20);
      const auto counts = c.CountUnitsByType(world_).b;
      for (std::size_t i = 0; i < kStatisticsUnitTypes.size(); ++i) {
        const std::wstring name = cUnit::GetSubtypeText(&world_, kStatisticsUnitTypes[i]);
        const auto [onMap, inReserve] = counts[i];
        row(plat::Format(L"%s;%i;%i", name, onMap, inReserve));
        // Only the types the country has: sixteen rows would crowd the graph.
        if (onMap + inReserve > 0) {
          bars.push_back({name, static_cast<double>(onMap), static_cast<double>(inReserve), kStatisticsColour,
                          plat::Format(L"%i + %i", onMap, inReserve)});
        }
      }
      graph_->SetLegend(Caption(columns, 1), Caption(columns, 2));
      graph_->SetBars(std::move(bars));
      return;
    }
    case kPageTechnology: {
      table_->SetColumns(2, Text("scenario_settings_country_stats_technology_columns"), 50, 50);
      static constexpr struct {
        const char* key;
        int tech;
      } kTechnologies[] = {{"country_stats_technology_artillery", kTechArtillery},
                           {"country_stats_technology_tanks", kTechTanks},
                           {"country_stats_technology_aircrafts", kTechAircraft},
                           {"country_stats_technology_submarines", kTechSubmarines},
                           {"country_stats_technology_warships", kTechNavy},
                           {"country_stats_technology_nuclear_bomb", kTechNuclear}};
      for (const auto& tech : kTechnologies) {
        const int level = c.techLevel[static_cast<std::size_t>(tech.tech)];
        intRow(tech.key, level);
        intBar(tech.key, level);
      }
      graph_->SetCaption(Caption(Text("scenario_settings_country_stats_technology_columns"), 1));
      graph_->SetBars(std::move(bars));
      return;
    }
    default: return;
  }
}

void cDialogStatystyk::ShowReports(bool reset) {
  ShowReportControls(true);
  if (selected_country_ == nullptr) return;
  std::list<sReport> found;
  world_.reports.Filter(found, selected_country_->id, selected_type_);
  SetReports(found);
  if (slider_ == nullptr || counter_ == nullptr || date_ == nullptr || text_ == nullptr) return;
  const int count = static_cast<int>(std::min<std::size_t>(shown_reports_.size(), INT_MAX));
  if (count == 0) {
    slider_->SetRange(0, 0);
    slider_->SetEnabled(false);
    counter_->SetText(Text("reports_count_no_reports"));
    date_->SetText(L"-");
    text_->ClearText();
    return;
  }
  slider_->SetEnabled(count > 1);
  if (reset) {
    slider_->SetRange(0, count - 1);
    slider_->SetValueInternal(count - 1, false, true);
  }
  // A slider whose range was set for fewer or more reports (a refresh
  // without reset) shows the nearest report there is.
  const int index = std::clamp(slider_->GetValue(), 0, count - 1);
  const sReport& report = *std::next(shown_reports_.begin(), index);
  counter_->SetText(plat::Format(std::wstring(Text("reports_count")), index + 1, count).c_str());
  text_->SetText(report.text.c_str());
  date_->SetText(plat::Format(L"%i/%i/%i - turn %i", report.day, report.month, report.year, report.impulse).c_str());
}
