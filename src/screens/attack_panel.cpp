#include "screens/attack_panel.h"

#include <string>

#include "app/gui_layout.h"
#include "app/string_base.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "screens/screen_helpers.h"
#include "world/country.h"
#include "world/land_attack_plan.h"
#include "world/unit.h"
#include "world/world.h"

namespace {




void SetValueHint(CDXUTDialog& dialog, int id, const std::wstring& hint) {
  if (CDXUTControl* control = dialog.GetControl(id)) control->SetHint(hint.c_str());
}

// Shows the country's flag with its name as the hint, or hides the image.
void ShowFlag(CDXUTDialog& dialog, int id, const cCountry* country) {
  auto* image = dynamic_cast<CDXUTImage*>(dialog.GetControl(id));
  if (image == nullptr) return;
  if (country == nullptr) {
    image->SetVisible(false);
    return;
  }
  image->m_pTexture = country->GetFlagTexture();
  image->SetHint(country->name.c_str());
  image->SetVisible(true);
}

std::wstring Strength(float value) { return plat::Format(L"%.2f", static_cast<double>(value)); }
std::wstring Percent(float factor) { return plat::Format(L"%.0f%%", 100.0 * static_cast<double>(factor)); }

}  // namespace

cAttackPanel::cAttackPanel(cWorld& world)
    : cPanel(kAttackPanelFrameId, g_GuiLayout[kAttackPanelFrameId].a, g_GuiLayout[kAttackPanelFrameId].b,
             g_GuiLayout[kAttackPanelFrameId].c, g_GuiLayout[kAttackPanelFrameId].d, kAttackPanelFrameId,
             kAttackPanelBlockLast),
      world_(world) {
  CDXUTDialog& d = dialog_;
  CDXUTStatic* label = nullptr;
  if (SUCCEEDED(d.AddStaticFromLayout(kAttackAttackersLabelId, Text("attack_panel_att_name"), &label)) &&
      label != nullptr) {
    label->SetTextColor(kWhite);
    label->SetTextFormat(kVCentred);
  }
  CDXUTMemo* names = nullptr;
  if (SUCCEEDED(d.AddMemoFromLayout(kAttackAttackersId, L"", &names)) && names != nullptr) {
    names->SetHint(Text("attack_panel_att_name_hint"));
  }
  d.AddImageFromLayout(kAttackAttackerFlagId, nullptr, 0, 0, kFlagWidth, kFlagHeight, L"", kWhite);
  AddLabeledEditBox(d, kAttackAttackerStrengthId, L"-", Text("attack_panel_att_strength_hint"), 466,
                    Text("attack_panel_att_strength"));
  AddLabeledEditBox(d, kAttackAttackerModifierId, L"-", Text("attack_panel_att_mod_hint"), 468,
                    Text("attack_panel_att_mod"));
  AddLabeledEditBox(d, kAttackAttackerEffectiveId, L"-", Text("attack_panel_att_effective_strength_hint"), 470,
                    Text("attack_panel_att_effective_strength"));
  AddLabeledEditBox(d, kAttackDefenderNameId, L"-", Text("attack_panel_def_name_hint"), kAttackDefenderLabelId,
                    Text("attack_panel_def_name"));
  d.AddImageFromLayout(kAttackDefenderFlagId, nullptr, 0, 0, kFlagWidth, kFlagHeight, L"", kWhite);
  AddLabeledEditBox(d, kAttackDefenderStrengthId, L"-", Text("attack_panel_def_strength_hint"), 456,
                    Text("attack_panel_def_strength"));
  AddLabeledEditBox(d, kAttackDefenderModifierId, L"-", Text("attack_panel_def_mod_hint"), 458,
                    Text("attack_panel_def_mod"));
  AddLabeledEditBox(d, kAttackDefenderEffectiveId, L"-", Text("attack_panel_def_effective_strength_hint"), 460,
                    Text("attack_panel_def_effective_strength"));
  AddLabeledEditBox(d, kAttackColumnId, L"-", Text("attack_panel_def_column_hint"), 472,
                    Text("attack_panel_def_column"));
  // The defender's name reads from the left: it is a name, not a number.
  if (auto* name = dynamic_cast<CDXUTEditBox*>(d.GetControl(kAttackDefenderNameId))) {
    name->m_dwDisabledTextFormat = kVCentred;
  }
  for (int id : {kAttackAttackerFlagId, kAttackDefenderFlagId}) {
    if (CDXUTControl* flag = d.GetControl(id)) flag->SetVisible(false);
  }
}

void cAttackPanel::ShowAttack() {
  CDXUTDialog& d = dialog_;
  const cLandAttack* attack = world_.turnState.attack.get();
  const bool attackers = attack != nullptr && attack->CountAttackingSides() >= 1;
  const bool defender = attack != nullptr && attack->defender != nullptr;

  auto* names = dynamic_cast<CDXUTMemo*>(d.GetControl(kAttackAttackersId));
  if (attackers) {
    std::wstring list;
    for (const cJednostka* unit : attack->attackers) {
      if (unit == nullptr) continue;
      if (!list.empty()) list += L",\n";
      list += unit->name;
    }
    if (names != nullptr) names->SetText(list.c_str());
    ShowFlag(d, kAttackAttackerFlagId, attack->GetAttackerCountry(world_));
    const float strength = attack->GetAttackerStrength(world_);
    const float factor = attack->GetAttackerFactor(world_);
    SetValue(d, kAttackAttackerStrengthId, Strength(strength));
    SetValue(d, kAttackAttackerModifierId, Percent(factor));
    SetValueHint(d, kAttackAttackerModifierId,
                 plat::Format(L"Armour: %.0f%%\nDirections: %.0f%%\nWeather: %.0f%%\nFortification: %.0f%%",
                              100.0 * attack->GetArmourFactor(world_), 100.0 * attack->GetDirectionsFactor(world_),
                              100.0 * attack->GetAttackerWeatherFactor(world_),
                              100.0 * attack->GetFortificationFactor(world_)));
    SetValue(d, kAttackAttackerEffectiveId, Strength(strength * factor));
  } else {
    if (names != nullptr) names->SetText(L"");
    ShowFlag(d, kAttackAttackerFlagId, nullptr);
    SetValue(d, kAttackAttackerStrengthId, L"-");
    SetValue(d, kAttackAttackerModifierId, L"-");
    SetValueHint(d, kAttackAttackerModifierId, L"");
    SetValue(d, kAttackAttackerEffectiveId, L"-");
  }

  if (defender) {
    SetValue(d, kAttackDefenderNameId, attack->defender->name);
    ShowFlag(d, kAttackDefenderFlagId, world_.GetCountry(attack->defender->countryId));
    const float strength = attack->GetDefenderStrength(world_);
    const float factor = attack->GetDefenderFactor(world_);
    SetValue(d, kAttackDefenderStrengthId, Strength(strength));
    SetValue(d, kAttackDefenderModifierId, Percent(factor));
    SetValueHint(d, kAttackDefenderModifierId,
                 plat::Format(L"Terrain: %.0f%%\nCity: %.0f%%\nWeather: %.0f%%\nEntrenchment: %.0f%%",
                              100.0 * attack->GetTerrainFactor(world_), 100.0 * attack->GetCityFactor(world_),
                              100.0 * attack->GetDefenderWeatherFactor(world_),
                              100.0 * attack->GetEntrenchmentFactor(world_)));
    SetValue(d, kAttackDefenderEffectiveId, Strength(strength * factor));
  } else {
    SetValue(d, kAttackDefenderNameId, L"");
    ShowFlag(d, kAttackDefenderFlagId, nullptr);
    SetValue(d, kAttackDefenderStrengthId, L"-");
    SetValue(d, kAttackDefenderModifierId, L"-");
    SetValueHint(d, kAttackDefenderModifierId, L"");
    SetValue(d, kAttackDefenderEffectiveId, L"-");
  }

  SetValue(d, kAttackColumnId,
           attackers && defender ? plat::Format(L"%i : 1", attack->EstimateOddsColumn(world_)) : std::wstring(L"-"));
}
