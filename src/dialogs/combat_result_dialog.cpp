#include "dialogs/combat_result_dialog.h"

#include <iterator>
#include <string>

#include "app/gui_layout.h"
#include "app/string_base.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "gui/dxut_button.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_static.h"
#include "gui/hint_text.h"
#include "platform/format.h"
#include "platform/messages.h"
#include "world/combat_result.h"
#include "world/country.h"
#include "world/world.h"

namespace {

// The outcome icons are cut from the interface sheet: one 60-pixel band
// each, in a column from x 380 to 440.
constexpr int kIconSheetLeft = 380;
constexpr int kIconSheetRight = 440;
constexpr int kIconBand = 60;
constexpr int kAttackerKilledTop = 150;
// The defender's row: the place moves right by this much after the
// "destroyed" icon and after each other icon.
constexpr int kStepAfterKilled = 70;
constexpr int kStepAfterOther = 50;
constexpr int kIconGap = 5;


// The flag of a country the world has; null for any other id (-1 for "no
// country", 0, or an id past the list).
const cCountry* FlagCountry(const cWorld& world, int countryId) {
  return countryId > 0 ? world.GetCountry(countryId) : nullptr;
}

void AddFlag(CDXUTDialog& dialog, int id, const cCountry& country) {
  dialog.AddImageFromLayout(id, country.GetFlagTexture(), 0, 0, kFlagWidth, kFlagHeight, country.name.c_str(),
                            0xFFFFFFFFu);
}

}  // namespace

const char* cDialogWynikuWalki::TitleKey(int kind) {
  static const char* const kTitles[] = {
      "combatresult_land_battle_title",          "combatresult_air_fight_title",
      "combatresult_air_strike_land_title",      "combatresult_air_strike_sea_zone_title",
      "combatresult_nuclear_title",              "combatresult_recon_title",
      "combatresult_interception_title",         "combatresult_shore_bombardment_title",
      "combatresult_carrier_airstrike_land_title", "combatresult_carrier_airstrike_sea_zone_title",
  };
  if (kind >= 0 && kind < static_cast<int>(std::size(kTitles))) return kTitles[kind];
  return "combatresult_unknown_battle_title";
}

cDialogWynikuWalki::cDialogWynikuWalki(const cWorld& world, const sBombardmentResult& result, float displayMs)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d) {
  if (CDXUTControl* frame = dialog_.GetControl(kId)) frame->SetDraggable(false);

  CDXUTStatic* title = nullptr;
  dialog_.AddStaticFromLayout(kTitleId, Text(TitleKey(result.kind)), &title);
  if (title != nullptr) {
    title->m_TextElement = 1;
    title->SetTextFormat(kFormatCentred);
  }
  if (const cCountry* attacker = FlagCountry(world, result.attackerCountry)) AddFlag(dialog_, kAttackerFlagId, *attacker);
  if (const cCountry* defender = FlagCountry(world, result.defenderCountry)) AddFlag(dialog_, kDefenderFlagId, *defender);

  const wchar_t* main = Text("combat_result_main");
  const std::wstring attackerText =
      plat::Format(main, result.attackerLosses, result.attackerText1, result.attackerText2);
  const std::wstring defenderText =
      plat::Format(main, result.defenderLosses, result.defenderText1, result.defenderText2);
  dialog_.AddMemoFromLayout(kAttackerTextId, attackerText.c_str());
  dialog_.AddMemoFromLayout(kDefenderTextId, defenderText.c_str());

  // The outcome icons, each only when its flag is set: the attacker's under
  // its text, the defender's in a row under the other text, closed up from
  // the left.
  const plat::Texture* sheet = dialog_.GetTexture(0);
  const auto addIcon = [&](int index, int sheetTop, const char* hintKey, int x, int y) {
    CDXUTImage* icon = nullptr;
    dialog_.AddImage(kFirstIconId + index, sheet, kIconSheetLeft, sheetTop, kIconSheetRight, sheetTop + kIconBand, x,
                     y, kIconSize, kIconSize, 0, false, &icon);
    if (icon != nullptr) {
      icon->SetHint(Text(hintKey));
      icon->SetEnabled(true);  // an enabled image shows its hint
    }
  };
  const sLayoutRect& attackerBox = Layout(kAttackerTextId);
  const sLayoutRect& defenderBox = Layout(kDefenderTextId);
  if (result.Flag(kFlagAttackerDestroyed)) {
    addIcon(0, kAttackerKilledTop, "combatresult_att_killed_hint", attackerBox.a,
            attackerBox.b + attackerBox.d + kIconGap);
  }
  static const struct {
    eCombatFlag flag;
    int sheetTop;
    const char* hint;
  } kDefenderIcons[] = {
      {kFlagDefenderDestroyed, 150, "combatresult_def_killed_hint"},
      {kFlagDefenderSurrendered, 210, "combatresult_def_surrenders_hint"},
      {kFlagDefenderRetreated, 270, "combatresult_def_retreats_hint"},
      {kFlagCityAffected, 330, "combatresult_def_city_affected_hint"},
      {kFlagPortAffected, 390, "combatresult_defport_affected_hint"},
      {kFlagNavalDefenceDestroyed, 450, "combatresult_def_naval_def_killed_hint"},
  };
  int x = defenderBox.a;
  const int y = defenderBox.b + defenderBox.d + kIconGap;
  for (int i = 0; i < static_cast<int>(std::size(kDefenderIcons)); ++i) {
    if (!result.Flag(kDefenderIcons[i].flag)) continue;
    addIcon(i + 1, kDefenderIcons[i].sheetTop, kDefenderIcons[i].hint, x, y);
    x += kDefenderIcons[i].flag == kFlagDefenderDestroyed ? kStepAfterKilled : kStepAfterOther;
  }

  CDXUTStatic* countdown = nullptr;
  dialog_.AddStaticFromLayout(kCountdownId, Text("combatresult_waiting_for_click"), &countdown);
  if (countdown != nullptr) countdown->SetTextFormat(kFormatCentred);
  dialog_.AddButtonFromLayout(kPauseId, Text("combat_result_pause"), Text("combat_result_pause_hint"));
  dialog_.AddButtonFromLayout(kCloseId, Text("combat_result_close"), Text("combat_result_close_hint"));

  StartCountdown(displayMs / 1000.0f, kExpiryClose);
  // A negative time: the report waits for the player.
  if (countdown_ < 0.0f) SetTimerStopped(true);
}

void cDialogWynikuWalki::TogglePause() {
  // The button's hint changes with its text; the hint shows it when the
  // mouse is over the button (Space pauses from anywhere).
  auto* button = dynamic_cast<CDXUTButton*>(dialog_.GetControl(kPauseId));
  if (!IsTimerStopped()) {
    SetTimerStopped(true);
    if (button != nullptr) {
      button->SetText(Text("combat_result_resume"));
      button->SetHint(Text("combat_result_resume_hint"));
    }
  } else {
    SetTimerStopped(false);
    if (button != nullptr) {
      button->SetText(Text("combat_result_pause"));
      button->SetHint(Text("combat_result_pause_hint"));
    }
  }
}

void cDialogWynikuWalki::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (!keyDown) return;
  if (key == plat::kVkReturn || key == plat::kVkEscape) {
    PopDialogs(1);
  } else if (key == plat::kVkSpace) {
    TogglePause();
  }
}

void cDialogWynikuWalki::OnMouse(bool, bool, bool, bool, bool, int, int x, int y) {
  if (!g_HintText.LeftReleasedNow()) return;
  // The frame is the dialog's background, not one of its controls.
  const CDXUTControl* under = dialog_.GetControlAtPoint(POINT{x, y});
  if (under != nullptr && under->GetID() != kId) return;
  countdown_ = -1.0f;
  SetTimerStopped(true);
  PopDialogs(1);
}

void cDialogWynikuWalki::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (event != EVENT_BUTTON_CLICKED) return;
  if (controlId == kPauseId) {
    TogglePause();
  } else if (controlId == kCloseId) {
    PopDialogs(1);
  }
}

void cDialogWynikuWalki::OnTimerTick(float) {
  if (auto* countdown = dynamic_cast<CDXUTStatic*>(dialog_.GetControl(kCountdownId))) {
    const float left = countdown_ > 0.0f ? countdown_ : 0.0f;
    countdown->SetText(plat::Format(Text("combatresult_timeout"), left).c_str());
  }
}
