#include "screens/diplomacy_panel.h"

#include <string>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/string_base.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/orientation_choice_dialog.h"
#include "dialogs/prompt_dialogs.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "rules/diplomacy.h"
#include "screens/screen_helpers.h"
#include "world/country.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/world.h"

namespace {

constexpr int kWarCaptionId = 626;

constexpr int kForeignButtons[3] = {kDiplomacyDeclareWarId, kDiplomacyPressureId, kDiplomacyCoupId};
constexpr int kOwnButtons[4] = {kDiplomacyDelayEntryId, kDiplomacyHastenEntryId, kDiplomacyElectionsId,
                                kDiplomacyOrientationId};
constexpr int kValueIds[8] = {kDiplomacyCountryId, kDiplomacyUnrestId, kDiplomacyWarEconomyId,
                              kDiplomacyAllianceId, kDiplomacyEntryId,  kDiplomacyOrientationNameId,
                              kDiplomacyZoneId,    kDiplomacyStrengthId};


std::wstring Formatted(const char* key, const std::wstring& name) { return plat::Format(Text(key), name); }


const wchar_t* AllianceText(int alliance) {
  static constexpr const char* kKeys[7] = {
      "diplomacy_country_neutral",        "diplomacy_country_allies",      "diplomacy_country_axis",
      "diplomacy_country_comintern",      "diplomacy_country_allies_leader", "diplomacy_country_axis_leader",
      "diplomacy_country_comintern_leader"};
  return alliance >= 0 && alliance <= 6 ? Text(kKeys[alliance]) : L"-";
}

// The declare-war result text for the case the rule returned.
std::wstring DeclareWarText(int outcome, const cCountry& acting, const cCountry& target) {
  std::wstring actingAlliance, targetAlliance, leaned;
  acting.FormatAllianceName(actingAlliance, false);
  target.FormatAllianceName(targetAlliance, false);
  target.FormatTargetAllianceName(leaned, false);
  const std::wstring& v = acting.name;
  const std::wstring& t = target.name;
  switch (outcome) {
    case 0: return plat::Format(Text("diplomacy_country_declare_war_on_country_unknown"), v, t);
    case 1: return plat::Format(Text("diplomacy_country_declare_war_on_country"), v, t);
    case 2: return plat::Format(Text("diplomacy_country_declare_war_on_country_country_join_alliance"), v, t, t, leaned);
    case 3: return plat::Format(Text("diplomacy_country_declare_war_on_alliance"), v, targetAlliance);
    case 4:
      return plat::Format(Text("diplomacy_country_declare_war_on_country_all_alliance_countries_at_war_with_country"),
                          v, t, actingAlliance, t);
    case 5:
      return plat::Format(
          Text("diplomacy_country_declare_war_on_country_country_join_alliance_alliance_at_war_with_alliance"), v, t,
          t, leaned, leaned, actingAlliance);
    case 6:
      return plat::Format(Text("diplomacy_country_declare_war_on_country_alliance_at_war_with_alliance"), v, t, leaned,
                          actingAlliance);
    default: return Text("diplomacy_general_declare_war");
  }
}

}  // namespace

cDiplomacyPanel::cDiplomacyPanel(cWorld& world)
    : cPanel(kDiplomacyFrameId, g_GuiLayout[kDiplomacyFrameId].a, g_GuiLayout[kDiplomacyFrameId].b,
             g_GuiLayout[kDiplomacyFrameId].c, g_GuiLayout[kDiplomacyFrameId].d, kDiplomacyFrameId,
             kDiplomacyBlockLast),
      world_(world) {
  CDXUTDialog& d = dialog_;
  AddLabeledEditBox(d, kDiplomacyCountryId, L"-", Text("panel_diplo_country_hint"), 609, Text("panel_diplo_country"));
  d.AddImageFromLayout(kDiplomacyFlagId, nullptr, 0, 0, kFlagWidth, kFlagHeight, Text("panel_diplo_flag_hint"),
                       kWhite);
  const struct {
    int label, value;
    const char *labelKey, *hintKey;
  } rows[] = {
      {612, kDiplomacyUnrestId, "panel_diplo_social_unrest", "panel_diplo_social_unrest_hint"},
      {614, kDiplomacyWarEconomyId, "panel_diplo_war_economy", "panel_diplo_war_economy_hint"},
      {616, kDiplomacyAllianceId, "panel_diplo_alliance", "panel_diplo_alliance_hint"},
      {618, kDiplomacyEntryId, "panel_diplo_alliance_entry", "panel_diplo_alliance_entry_hint"},
      {620, kDiplomacyOrientationNameId, "panel_diplo_orientation", "panel_diplo_orientation_hint"},
      {622, kDiplomacyZoneId, "panel_diplo_zone_of_influence", "panel_diplo_zone_of_influence_hint"},
      {624, kDiplomacyStrengthId, "panel_diplo_political_strength", "panel_diplo_political_strength_hint"},
  };
  for (const auto& row : rows) {
    AddLabeledEditBox(d, row.value, L"-", Text(row.hintKey), row.label, Text(row.labelKey));
  }
  CDXUTStatic* caption = nullptr;
  if (SUCCEEDED(d.AddStaticFromLayout(kWarCaptionId, Text("panel_diplo_war_with"), &caption)) && caption != nullptr) {
    caption->SetTextColor(kWhite);
  }
  d.AddListBoxFromLayout(kDiplomacyWarListId, 0);
  const struct {
    int id;
    const char *key, *hint;
  } buttons[] = {
      {kDiplomacyDeclareWarId, "panel_diplo_declare_war", "panel_diplo_declare_war_hint"},
      {kDiplomacyPressureId, "panel_diplo_extern_pressure", "panel_diplo_extern_pressure_hint"},
      {kDiplomacyCoupId, "panel_diplo_coupdetat", "panel_diplo_coupdetat_hint"},
      {kDiplomacyDelayEntryId, "panel_diplo_lower_war_entry", "panel_diplo_lower_war_entry_hint"},
      {kDiplomacyHastenEntryId, "panel_diplo_rise_war_entry", "panel_diplo_rise_war_entry_hint"},
      {kDiplomacyElectionsId, "panel_diplo_elections", "panel_diplo_elections_hint"},
      {kDiplomacyOrientationId, "panel_diplo_change_orientation", "panel_diplo_change_orientation_hint"},
  };
  for (const auto& button : buttons) d.AddButtonFromLayout(button.id, Text(button.key), Text(button.hint));
  Refresh();
}

void cDiplomacyPanel::Refresh() {
  CDXUTDialog& d = dialog_;
  const sHex* hex = world_.turnState.selectedHex;
  target_ = hex != nullptr && hex->controller != 0 ? world_.GetCountry(hex->controller) : nullptr;
  acting_ = world_.turnState.currentCountry;
  auto* list = dynamic_cast<CDXUTListBox*>(d.GetControl(kDiplomacyWarListId));
  if (list != nullptr) list->RemoveAllItems();
  auto show = [&](int id, bool visible) {
    if (CDXUTControl* control = d.GetControl(id)) control->SetVisible(visible);
  };
  if (target_ == nullptr) {
    for (int id : kForeignButtons) show(id, false);
    for (int id : kOwnButtons) show(id, false);
    show(kDiplomacyFlagId, false);
    for (int id : kValueIds) SetValue(d, id, L"-");
    return;
  }
  const cCountry& t = *target_;
  if (auto* flag = dynamic_cast<CDXUTImage*>(d.GetControl(kDiplomacyFlagId))) {
    flag->m_pTexture = t.GetFlagTexture();
    flag->SetVisible(true);
  }
  SetValue(d, kDiplomacyCountryId, t.name);
  SetValue(d, kDiplomacyUnrestId, plat::Format(L"%.1f%%", static_cast<double>(t.socialUnrest)));
  SetValue(d, kDiplomacyWarEconomyId, plat::Format(L"%.1f%%", static_cast<double>(t.warEconomy)));
  SetValue(d, kDiplomacyAllianceId, AllianceText(t.alliance));
  SetValue(d, kDiplomacyEntryId, plat::Format(L"%i%%", t.allianceEntry));
  std::wstring name;
  t.FormatOrientationName(name, true);
  SetValue(d, kDiplomacyOrientationNameId, name);
  name.clear();
  t.FormatZoneOfInfluenceName(name, true);
  SetValue(d, kDiplomacyZoneId, name);
  SetValue(d, kDiplomacyStrengthId, plat::Format(L"%i", t.politicalStrength));
  if (list != nullptr) {
    const cRelationsMatrix& relations = world_.GetRelations();
    for (int id = 1; id <= world_.GetCountryCount(); ++id) {
      cCountry* other = world_.GetCountry(id);
      if (id == t.id || other == nullptr || !other->active || !relations.IsAtWar(t.id, id)) continue;
      list->AddItem(other->name.c_str(), other);
    }
  }
  // Each button as its rule's check says; the check's text is its hint.
  auto offer = [&](int id, bool possible, const std::wstring& hint) {
    show(id, true);
    d.SetControlEnabled(id, possible);
    if (CDXUTControl* control = d.GetControl(id)) control->SetHint(hint.c_str());
  };
  const bool own = acting_ == target_;
  for (int id : kForeignButtons) show(id, false);
  for (int id : kOwnButtons) show(id, false);
  if (acting_ == nullptr) return;
  std::wstring text;
  if (own) {
    offer(kDiplomacyDelayEntryId, CanDelayAllianceEntry(world_, t.id, text), text);
    offer(kDiplomacyHastenEntryId, CanHastenAllianceEntry(world_, t.id, text), text);
    offer(kDiplomacyElectionsId, CanHoldElections(world_, t.id, text), text);
    // A possible change writes no text: the button keeps its own hint then.
    text = Text("panel_diplo_change_orientation_hint");
    offer(kDiplomacyOrientationId, CanChangeOrientation(world_, t.id, text), text);
  } else {
    offer(kDiplomacyDeclareWarId, CanDeclareWar(world_, acting_->id, t.id, text), text);
    offer(kDiplomacyPressureId, CanExertPressure(world_, acting_->id, t.id, text), text);
    offer(kDiplomacyCoupId, CanStageCoup(world_, acting_->id, t.id, text), text);
  }
}

void cDiplomacyPanel::ShowResult(const std::wstring& text, const std::wstring& title, bool underAnswer) {
  // An answer arrives while its dialog is still the top of the stack and
  // closes it right after: the result goes beneath it, or that closing
  // would take the result away instead.
  PushDialog(new cDialogTekstowy(text.c_str(), title.c_str(), kMessageLayoutEntry), underAnswer ? -1 : 0);
}

void cDiplomacyPanel::OnGUIEvent(unsigned, int controlId, CDXUTControl*) {
  switch (controlId) {
    case kDiplomacyDeclareWarId:
    case kDiplomacyPressureId:
    case kDiplomacyCoupId:
    case kDiplomacyDelayEntryId:
    case kDiplomacyHastenEntryId:
    case kDiplomacyElectionsId:
    case kDiplomacyOrientationId:
      // Orders belong to the human turn; while an answer is awaited the
      // buttons do nothing.
      if (pending_ == kNone && target_ != nullptr && acting_ != nullptr &&
          world_.GetGameState() == kPhaseHumanTurn) {
        OnAction(controlId);
      }
      break;
    case cDialogPotwierdzenia::kYesId:
      if (pending_ == kDeclareWarAnswer && target_ != nullptr && acting_ != nullptr) {
        pending_ = kNone;
        const int outcome = DeclareWar(world_, acting_->id, target_->id, true);
        const std::wstring text = DeclareWarText(outcome, *acting_, *target_);
        if (outcome < 1 || outcome > 6) LogLine(L"%s", text);
        ShowResult(text, Formatted("diplomacy_declare_war_result_title", target_->name), true);
      }
      pending_ = kNone;
      break;
    case cDialogPotwierdzenia::kNoId:
    case cDialogWyborow::kCancelId:
      pending_ = kNone;
      break;
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
      OnChoice(controlId);
      break;
    default:
      return;
  }
  Refresh();
}

void cDiplomacyPanel::OnAction(int controlId) {
  cCountry& t = *target_;
  cCountry& a = *acting_;
  static constexpr const wchar_t* kActions[7] = {L"Declare war",   L"Exert pressure", L"Coup d'etat",
                                                 L"Delay alliance entry", L"Hasten alliance entry",
                                                 L"Elections",     L"Change orientation"};
  LogLine(L"Player action: Diplomacy / %s / %s on %s", kActions[controlId - kDiplomacyDeclareWarId], a.name, t.name);
  std::wstring text;
  // The check again: a button is clicked as the last refresh saw the world.
  switch (controlId) {
    case kDiplomacyDeclareWarId: {
      if (!CanDeclareWar(world_, a.id, t.id, text)) return;
      pending_ = kDeclareWarAnswer;
      const std::wstring question = Formatted("diplomacy_declare_war_on_country_question", t.name);
      auto* prompt = new cDialogPotwierdzenia(Text("diplomacy_declare_war_title"), question.c_str(),
                                              Text("diplomacy_declare_war_yes"), Text("diplomacy_declare_war_yes_hint"),
                                              Text("diplomacy_declare_war_no"), Text("diplomacy_declare_war_no_hint"));
      PushDialog(prompt, 0);
      prompt->SetListener(this);
      return;
    }
    case kDiplomacyPressureId:
      if (!CanExertPressure(world_, a.id, t.id, text)) return;
      ExertPressure(world_, a.id, t.id, text);
      ShowResult(text, Text("diplomacy_extern_pressure_result_title"));
      return;
    case kDiplomacyCoupId:
      if (!CanStageCoup(world_, a.id, t.id, text)) return;
      StageCoup(world_, a.id, t.id, text);
      ShowResult(text, Text("diplomacy_coup_detat_result_title"));
      return;
    case kDiplomacyDelayEntryId:
      if (!CanDelayAllianceEntry(world_, t.id, text)) return;
      DelayAllianceEntry(world_, t.id, text);
      ShowResult(text, Text("diplomacy_delay_entry_result_title"));
      return;
    case kDiplomacyHastenEntryId:
      if (!CanHastenAllianceEntry(world_, t.id, text)) return;
      HastenAllianceEntry(world_, t.id, text);
      ShowResult(text, Text("diplomacy_delay_entry_result_title"));
      return;
    case kDiplomacyElectionsId:
      if (!CanHoldElections(world_, t.id, text)) return;
      if (t.orientation == 0) {
        // A firm democracy can only turn pro-allied: no choice to make.
        HoldElections(world_, t.id, 3, text);
        ShowResult(text, Text("diplomacy_elections_result_title"));
      } else {
        pending_ = kElectionsChoice;
        auto* choice = new cDialogWyborow(t, true);
        PushDialog(choice, 0);
        choice->SetListener(this);
      }
      return;
    case kDiplomacyOrientationId:
      if (!CanChangeOrientation(world_, t.id, text)) return;
      if (t.orientation <= 2) {
        // A regime always becomes its own side's "pro" orientation.
        ChangeOrientation(world_, t.id, t.orientation + 3, text);
        ShowResult(text, Formatted("diplomacy_change_orientation_of_country_title", t.name));
      } else {
        pending_ = kOrientationChoice;
        auto* choice = new cDialogWyborow(t, false);
        PushDialog(choice, 0);
        choice->SetListener(this);
      }
      return;
    default: return;
  }
}

void cDiplomacyPanel::OnChoice(int orientation) {
  const int pending = pending_;
  pending_ = kNone;
  if (target_ == nullptr) return;
  if (pending == kElectionsChoice || pending == kOrientationChoice) {
    LogLine(L"Player action: Diplomacy / orientation %i chosen for %s", orientation, target_->name);
  }
  std::wstring text;
  if (pending == kElectionsChoice) {
    HoldElections(world_, target_->id, orientation, text);
    ShowResult(text, Formatted("diplomacy_elections_in_country_title", target_->name), true);
  } else if (pending == kOrientationChoice) {
    ChangeOrientation(world_, target_->id, orientation, text);
    ShowResult(text, Formatted("diplomacy_change_orientation_of_country_title", target_->name), true);
  }
}
