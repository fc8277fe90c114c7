// The reports and statistics of the current country and its allies: the
// reports of the world's list one at a time by type and country (a slider
// walks them, newest first shown), the country's statistics on four pages
// and the victory points by alliance and by country; the tables come with a
// bar graph of their values.
#pragma once

#include <list>
#include <vector>

#include "dialogs/dialog.h"
#include "gui/bar_graph.h"
#include "world/report_store.h"

class cCountry;
class cWorld;
class CDXUTEditBox;
class CDXUTListBox;
class CDXUTMemo;
class CDXUTSlider;
class CDXUTStatic;
class CDXUTTabFrame;

class cDialogStatystyk : public cDialog {
 public:
  static constexpr int kId = 810;
  static constexpr int kTitleId = 811;
  static constexpr int kMainTabId = 813;
  static constexpr int kTypeLabelId = 814;
  static constexpr int kTypeListId = 815;
  static constexpr int kCountryLabelId = 816;
  static constexpr int kCountryListId = 817;
  static constexpr int kCounterId = 818;
  static constexpr int kSliderId = 819;
  static constexpr int kTablePagesId = 820;
  static constexpr int kTableId = 821;
  static constexpr int kDateLabelId = 822;
  static constexpr int kDateId = 823;
  static constexpr int kTextId = 824;
  static constexpr int kGraphId = 825;
  static constexpr int kExitId = 826;
  // The type codes with a view of their own; every other code shows the
  // reports of that type. kNoType is the type before a row is picked.
  static constexpr int kNoType = -1;
  static constexpr int kGeneralSummary = 28;
  static constexpr int kVictoryPoints = 29;
  // Pages of the table frame under the victory points.
  enum : int { kVpAlliances = 0, kVpByName = 1, kVpByAlliance = 2, kVpByPoints = 3 };

  // The statistics tab's types with none picked, the country list with its
  // first row selected, and the (empty) report view.
  explicit cDialogStatystyk(cWorld& world);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  // Enter and Escape close the dialog.
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

  // The type rows of a main tab (1 events, any other the statistics); no
  // row selected, the selected type kept.
  void FillTypeList(int mainTab);
  // The current country and its allies that take part, by name; the
  // selected country's row stays selected, else the first.
  void FillCountryList();
  // Shows the view of the selected type; reset puts the slider on the
  // newest report.
  void RefreshContent(bool reset);
  void SetReports(const std::list<sReport>& reports) { shown_reports_ = reports; }

  int SelectedType() const { return selected_type_; }
  const cCountry* SelectedCountry() const { return selected_country_; }
  const std::list<sReport>& ShownReports() const { return shown_reports_; }
  CDXUTListBox* TypeList() const { return types_; }
  CDXUTListBox* CountryList() const { return countries_; }
  CDXUTListBox* Table() const { return table_; }
  CDXUTTabFrame* TablePages() const { return table_pages_; }
  CDXUTTabFrame* MainTabs() const { return main_tabs_; }
  CDXUTSlider* Slider() const { return slider_; }
  CDXUTBarGraph* Graph() const { return graph_; }

 private:
  void ShowReportControls(bool reports);
  void ShowVictoryPoints();
  void ShowCountryStatistics();
  void ShowReports(bool reset);

  cWorld& world_;
  std::list<sReport> shown_reports_;
  cCountry* selected_country_ = nullptr;
  int selected_type_ = kNoType;
  int last_table_kind_ = -1;
  CDXUTTabFrame* main_tabs_ = nullptr;
  CDXUTListBox* types_ = nullptr;
  CDXUTListBox* countries_ = nullptr;
  CDXUTStatic* counter_ = nullptr;
  CDXUTSlider* slider_ = nullptr;
  CDXUTEditBox* date_ = nullptr;
  CDXUTMemo* text_ = nullptr;
  CDXUTTabFrame* table_pages_ = nullptr;
  CDXUTListBox* table_ = nullptr;
  CDXUTBarGraph* graph_ = nullptr;
};
