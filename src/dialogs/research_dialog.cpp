#include "dialogs/research_dialog.h"

#include <string>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "rules/research.h"
#include "world/country.h"
#include "world/world.h"

namespace {

constexpr int kRowGap = 10;


struct sRowKeys {
  const char* name;
  const char* hint;
};
constexpr sRowKeys kRowKeys[cDialogResearchu::kRows] = {
    {"research_artillery", "research_artillery_hint"},   {"research_tanks", "research_tanks_hint"},
    {"research_aircraft", "research_aircraft_hint"},     {"research_submarines", "research_submarines_hint"},
    {"research_warships", "research_warships_hint"},     {"research_nuclear", "research_nuclear_hint"},
};
constexpr const char* kInvestmentHints[] = {"research_investment_level0_hint", "research_investment_level1_hint",
                                            "research_investment_level2_hint", "research_investment_level3_hint"};

// Row k of a column entry: the entry moved down by k rows of its height
// and the gap.
sLayoutRect RowRect(int columnId, int row) {
  sLayoutRect rect = Layout(columnId);
  rect.b += row * (rect.d + kRowGap);
  return rect;
}

// A read-only field of the table.
CDXUTEditBox* AddField(CDXUTDialog& dialog, int id, int columnId, int row, const wchar_t* text, const wchar_t* hint) {
  const sLayoutRect rect = RowRect(columnId, row);
  CDXUTEditBox* box = nullptr;
  dialog.AddEditBox(id, text, rect.a, rect.b, rect.c, rect.d, false, &box);
  if (box != nullptr) {
    box->SetEnabled(false);
    box->SetHint(hint);
  }
  return box;
}

}  // namespace

cDialogResearchu::cDialogResearchu(cWorld& world)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d),
      world_(world),
      country_id_(world.turnState.CurrentCountryId()) {
  // The dialog stays where it opened.
  if (CDXUTControl* frame = dialog_.GetControl(kId)) frame->SetDraggable(false);
  CDXUTStatic* title = nullptr;
  dialog_.AddStaticFromLayout(kTitleId, Text("research_title"), &title);
  if (title != nullptr) {
    title->m_TextElement = 1;
    title->SetTextFormat(kFormatCentred);
  }
  const sLayoutRect& strip = Layout(kIconStripId);
  for (int row = 0; row < kRows; ++row) {
    const auto r = static_cast<std::size_t>(row);
    AddField(dialog_, kNameId + row, kNameColumnId, row + 1, Text(kRowKeys[r].name), Text(kRowKeys[r].hint));
    level_[r] = AddField(dialog_, kLevelId + row, kLevelColumnId, row + 1, L"-", Text("research_technology_level_hint"));
    const sLayoutRect icon = RowRect(kIconColumnId, row + 1);
    dialog_.AddImage(kIconId + row, dialog_.GetTexture(0), strip.a, strip.b, strip.a + strip.c, strip.b + strip.d,
                     icon.a, icon.b, icon.c, icon.d, 0, false, &icon_[r]);
    if (icon_[r] != nullptr) icon_[r]->SetHint(Text("research_investment_hint"));
    progress_[r] = AddField(dialog_, kProgressId + row, kProgressColumnId, row + 1, L"-", Text("research_progress_hint"));
    price_box_[r] = AddField(dialog_, kPriceId + row, kPriceColumnId, row + 1, L"-", Text("research_price_hint"));
    const sLayoutRect button = RowRect(kInvestColumnId, row);
    dialog_.AddButton(kInvestId + row, Text("research_invest"), button.a, button.b, button.c, button.d, 0, false,
                      &invest_[r]);
    if (invest_[r] != nullptr) invest_[r]->SetHint(Text("research_invest_hint"));
  }
  dialog_.AddButtonFromLayout(kCloseId, Text("research_close"), Text("research_close_hint"));
  Refresh();
}

void cDialogResearchu::Refresh() {
  const cCountry* country = world_.GetCountry(country_id_);
  if (country == nullptr) return;
  const sScenarioConstants& k = world_.constants;
  for (int tech = 0; tech < kTechCount; ++tech) price_[static_cast<std::size_t>(tech)] = ResearchPrice(k, *country, tech);
  const sLayoutRect& strip = Layout(kIconStripId);
  for (int row = 0; row < kRows; ++row) {
    const auto r = static_cast<std::size_t>(row);
    const int tech = TechOfRow(row);
    const auto t = static_cast<std::size_t>(tech);
    if (level_[r] != nullptr) level_[r]->SetText(plat::Format(std::wstring(L"%i"), country->techLevel[t]).c_str());
    const int investment = country->techInvestment[t];
    if (icon_[r] != nullptr && investment >= 0 && investment <= kMaxResearchInvestment) {
      const int top = strip.b + investment * strip.d;
      icon_[r]->m_rcSource = plat::RectI{strip.a, top, strip.a + strip.c, top + strip.d};
      icon_[r]->SetHint(Text(kInvestmentHints[investment]));
    }
    if (progress_[r] != nullptr) {
      progress_[r]->SetText(
          plat::Format(std::wstring(L"%i/%i"), country->techProgress[t], k.researchCost[t]).c_str());
      // With investment the hint adds the months the monthly step expects.
      const int months = country->techLevel[t] < k.researchLimit[t]
                             ? ResearchMonthsLeft(country->techProgress[t], k.researchCost[t], investment)
                             : -1;
      progress_[r]->SetHint(
          months < 0 ? Text("research_progress_hint")
                     : plat::Format(std::wstring(Text("research_progress_hint_months_%i")), months).c_str());
    }
    if (price_box_[r] != nullptr) {
      price_box_[r]->SetText(plat::Format(std::wstring(Text("%.0f_pp")), static_cast<double>(price_[t])).c_str());
    }
    if (invest_[r] == nullptr) continue;
    const char* refusal = ResearchInvestRefusal(k, *country, tech);
    if (refusal == nullptr) {
      invest_[r]->SetEnabled(true);
      invest_[r]->SetHint(Text("research_invest_hint"));
    } else {
      invest_[r]->SetEnabled(false);
      invest_[r]->SetHint(plat::Format(std::wstring(Text(refusal)), static_cast<double>(price_[t])).c_str());
    }
  }
}

void cDialogResearchu::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (event != EVENT_BUTTON_CLICKED) return;
  if (controlId == kCloseId) {
    PopDialogs(1);
    return;
  }
  if (controlId < kInvestId || controlId >= kInvestId + kRows) return;
  cCountry* country = world_.GetCountry(country_id_);
  if (country == nullptr) return;
  const int tech = TechOfRow(controlId - kInvestId);
  const float price = ResearchPrice(world_.constants, *country, tech);
  if (InvestInResearch(world_.constants, *country, tech)) {
    LogLine(L"Player action: Research investment in technology %i for %.2f PP (investment %i)", tech,
            static_cast<double>(price), country->techInvestment[static_cast<std::size_t>(tech)]);
  }
  Refresh();
}

void cDialogResearchu::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (!keyDown) return;
  if (key == plat::kVkReturn || key == plat::kVkEscape) ClickButton(kCloseId);
}
