#include "screens/unit_panel.h"

#include <cmath>
#include <string>

#include "app/gui_layout.h"
#include "app/string_base.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "platform/format.h"
#include "platform/paths.h"
#include "platform/text.h"
#include "rules/sea_transport.h"
#include "screens/screen_helpers.h"
#include "world/cities.h"
#include "world/commander.h"
#include "world/country.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/map.h"
#include "world/world.h"

namespace {

constexpr unsigned kLeftAligned = 0;
// The part of a flag texture that holds the flag, and of a unit picture.
constexpr int kPictureWidth = 256;
constexpr int kPictureHeight = 128;
constexpr const wchar_t* kDefaultPicture = L"data\\gfx\\Units images\\default.png";


// The icons of the panel with the disabled look's place on the interface
// sheet (the normal and mouse-over looks lie below it).
struct sIconSource {
  int id;
  int left;
  int top;
};
constexpr sIconSource kIcons[] = {
    {kUnitRenameIconId, 1240, 105},       {kUnitUpgradeIconId, 1400, 105},   {kUnitLevelUpIconId, 1440, 105},
    {kUnitSupplyIconId, 1360, 105},       {kUnitCommanderIconId, 1280, 105}, {kUnitReplacementsIconId, 1320, 105},
    {kUnitDisbandIconId, 1480, 105},      {kUnitUndoIconId, 1520, 105},      {kUnitStrategicMoveIconId, 1440, 225},
    {kUnitAirborneIconId, 1400, 225},     {kUnitAmphibiousIconId, 1240, 225}, {kUnitSeaTransportIconId, 1320, 225},
    {kUnitAirFightIconId, 1520, 225},     {kUnitBombardIconId, 1480, 225},   {kUnitReconIconId, 1240, 345},
    {kUnitNuclearIconId, 1360, 345},
};
constexpr int kIconSize = 40;

// Labelled value boxes: value id, label id, label key, hint key.
struct sValueRow {
  int value;
  int label;
  const char* labelKey;
  const char* hintKey;
};
constexpr sValueRow kRows[] = {
    {kUnitNameId, kUnitNameLabelId, "unitpanel_name", "unitpanel_name_hint"},
    {kUnitOwnerId, 356, "unitpanel_owner", "unitpanel_owner_hint"},
    {kUnitSizeId, 359, "unitpanel_size", "unitpanel_size_hint"},
    {kUnitLevelId, 362, "unitpanel_level", "unitpanel_level_hint"},
    {kUnitSupplyId, 365, "unitpanel_supply", "unitpanel_supply_hint"},
    {kUnitPointsId, 368, "unitpanel_ap", "unitpanel_ap_hint"},
    {kUnitCommanderId, 370, "unitpanel_commander", "unitpanel_commander_hint"},
    {kUnitStrengthId, 373, "unitpanel_strength", "unitpanel_strength_hint"},
    {kUnitEffectivenessId, 376, "unitpanel_effectiveness", "unitpanel_effectiveness_hint"},
    {kUnitBonusId, 378, "unitpanel_bonus", "unitpanel_bonus_hint"},
};

void SetValue(CDXUTDialog& dialog, int id, const std::wstring& text, const wchar_t* hint) {
  if (auto* edit = dynamic_cast<CDXUTEditBox*>(dialog.GetControl(id))) {
    edit->SetText(text.c_str());
    edit->SetHint(hint);
  }
}

std::wstring CommanderText(const wchar_t* format, const cCommander& commander) {
  return plat::Format(format, commander.name, commander.skill, commander.experience);
}

}  // namespace

std::wstring FindUnitPictureFile(int type, int level, int countryId) {
  const std::wstring candidates[] = {
      plat::Format(L"data\\gfx\\Units images\\%i_%i_%i.png", type, level, countryId),
      plat::Format(L"data\\gfx\\Units images\\%i_%i.png", type, level),
      plat::Format(L"data\\gfx\\Units images\\%i.png", type),
  };
  for (const std::wstring& file : candidates) {
    if (plat::FileExists(plat::ResolvePath(file))) return file;
  }
  return kDefaultPicture;
}

cUnitPanel::cUnitPanel(cWorld& world)
    : cPanel(kUnitPanelFrameId, g_GuiLayout[kUnitPanelFrameId].a, g_GuiLayout[kUnitPanelFrameId].b,
             g_GuiLayout[kUnitPanelFrameId].c, g_GuiLayout[kUnitPanelFrameId].d, kUnitPanelFrameId, kUnitPanelBlockLast),
      world_(world) {
  CDXUTDialog& d = dialog_;
  picture_.Load(kDefaultPicture, cTexture::kFromFile, 1);
  picture_file_ = kDefaultPicture;
  CDXUTImage* picture = nullptr;
  d.AddImageFromLayout(kUnitPictureId, picture_.Get(), 0, 0, kPictureWidth, kPictureHeight, L"", 0xFFFFFFFFu, &picture);
  if (picture != nullptr) picture->SetEnabled(true);
  cTexture* flag = GetDefaultFlagTexture();
  d.AddImageFromLayout(kUnitFlagId, flag != nullptr ? flag->Get() : nullptr, 0, 0, kFlagWidth, kFlagHeight, L"",
                       0xFFFFFFFFu);
  for (const sValueRow& row : kRows) {
    AddLabeledEditBox(d, row.value, L"-", Text(row.hintKey), row.label, Text(row.labelKey));
  }
  for (int id : {kUnitNameId, kUnitCommanderId}) {
    if (auto* edit = dynamic_cast<CDXUTEditBox*>(d.GetControl(id))) edit->m_dwDisabledTextFormat = kLeftAligned;
  }
  for (const sIconSource& icon : kIcons) {
    const plat::RectI r = DXUTLayoutRect(icon.id);
    d.AddIcon(icon.id, icon.left, icon.top, icon.left + kIconSize, icon.top + kIconSize, r.left, r.top, r.right,
              r.bottom);
  }
  if (CDXUTControl* flagImage = d.GetControl(kUnitFlagId)) flagImage->SetVisible(false);
}

void cUnitPanel::SetIcon(int id, bool enabled, const std::wstring& hint) {
  dialog_.SetControlEnabled(id, enabled);
  if (CDXUTControl* icon = dialog_.GetControl(id)) icon->SetHint(hint.c_str());
}

void cUnitPanel::Refresh() {
  CDXUTDialog& d = dialog_;
  cJednostka* const previous = shown_;
  const sHex* hex = world_.turnState.selectedHex;
  shown_ = hex != nullptr ? hex->unit : nullptr;

  // Everything back to "nothing shown".
  for (int id : {kUnitPictureId, kUnitFlagId}) {
    if (CDXUTControl* image = d.GetControl(id)) image->SetVisible(false);
  }
  const std::wstring noUnit = Text("unitpanel_no_unit_selected");
  for (const sValueRow& row : kRows) SetValue(d, row.value, L"-", noUnit.c_str());
  for (const sIconSource& icon : kIcons) SetIcon(icon.id, false, noUnit);
  supply_hex_ = nullptr;

  if (shown_ == nullptr || !shown_->visible) return;
  cJednostka& unit = *shown_;
  const bool owned = unit.countryId == world_.turnState.CurrentCountryId();
  auto* land = dynamic_cast<cJednostkaLadowa*>(&unit);

  if (shown_ != previous) ShowPicture(unit);
  if (CDXUTControl* picture = d.GetControl(kUnitPictureId)) picture->SetVisible(true);

  SetValue(d, kUnitNameId, unit.name, Text("unitpanel_name_hint"));
  SetIcon(kUnitRenameIconId, owned, Text(owned ? "unitpanel_rename_hint_allowed" : "unitpanel_rename_hint_not_owned"));

  const cCountry* country = world_.GetCountry(unit.countryId);
  SetValue(d, kUnitOwnerId, country != nullptr ? country->name : std::wstring(L"-"), Text("unitpanel_owner_hint"));
  if (auto* flag = dynamic_cast<CDXUTImage*>(d.GetControl(kUnitFlagId))) {
    if (country != nullptr) flag->m_pTexture = country->GetFlagTexture();
    flag->SetVisible(flag->m_pTexture != nullptr);
  }

  std::wstring hint;
  SetValue(d, kUnitSizeId, cUnit::GetSubtypeText(&world_, unit.type), Text("unitpanel_size_hint"));
  const bool canUpgrade = unit.CanUpgradeToCorps(&hint);
  SetIcon(kUnitUpgradeIconId, canUpgrade, hint);

  SetValue(d, kUnitLevelId, plat::Format(L"%i", unit.level), Text("unitpanel_level_hint"));
  const bool canLevelUp = unit.CanLevelUp(&hint);
  SetIcon(kUnitLevelUpIconId, canLevelUp, hint);

  FillSupply(unit);

  std::wstring points = plat::Format(L"%i", unit.actionPoints);
  if (land != nullptr && land->freezeTime > 0) points = Text("unitpanel_ap_frozen");
  SetValue(d, kUnitPointsId, points, Text("unitpanel_ap_hint"));

  std::wstring bonus = L"-";
  if (land != nullptr) {
    bonus = plat::Format(L"%i%%", static_cast<int>(static_cast<float>(land->entrenchment) *
                                                   world_.constants.entrenchmentFactor));
  }
  SetValue(d, kUnitBonusId, bonus, Text("unitpanel_bonus_hint"));

  std::wstring commander = L"-";
  if (unit.ownCommander != nullptr) {
    commander = CommanderText(L"%s (%i/%i)", *unit.ownCommander);
  } else if (unit.hqCommanderId > 0) {
    if (const cCommander* hq = unit.GetCommander()) commander = CommanderText(L"[ %s (%i/%i) ]", *hq);
  }
  SetValue(d, kUnitCommanderId, commander, Text("unitpanel_commander_hint"));
  SetIcon(kUnitCommanderIconId, true, Text("unitpanel_commander_icon_hint"));

  SetValue(d, kUnitStrengthId,
           plat::Format(L"%.1f (%.1f)", unit.GetCombatStrength(), unit.GetEffectiveCombatStrength()),
           Text("unitpanel_strength_hint"));
  const bool canReplenish = unit.CanReplenish(&hint);
  SetIcon(kUnitReplacementsIconId, canReplenish, hint);

  unit.GetEffectivenessHint(hint);
  SetValue(d, kUnitEffectivenessId, plat::Format(L"%i%%", unit.effectiveness), hint.c_str());

  const char* undoKey = "unitpanel_undo_move_icon_hint";
  const cMoveUndo& undo = world_.turnState.undo;
  if (undo.unit == nullptr) {
    undoKey = "unitpanel_undo_move_icon_hint_no_undo_possible";
  } else if (undo.unit != shown_) {
    undoKey = "unitpanel_undo_move_icon_hint_wrong_unit_selected";
  } else if (unit.newEnemyContact) {
    undoKey = "unitpanel_undo_move_icon_hint_enemy_unit_discovered";
  }
  SetIcon(kUnitUndoIconId, undoKey == std::string_view("unitpanel_undo_move_icon_hint"), Text(undoKey));

  FillOrderIcons(unit);
  SetIcon(kUnitDisbandIconId, true, Text("unitpanel_disband_icon_hint"));

  if (!owned) {
    const std::wstring notOwned = Text("unitpanel_not_owned_unit");
    for (const sIconSource& icon : kIcons) SetIcon(icon.id, false, notOwned);
  }
}

void cUnitPanel::ShowPicture(const cJednostka& unit) {
  const std::wstring file = FindUnitPictureFile(unit.type, unit.level, unit.countryId);
  if (file != picture_file_) {
    if (picture_.Load(file.c_str(), cTexture::kFromFile, 1) != 0 && file != kDefaultPicture) {
      picture_.Load(kDefaultPicture, cTexture::kFromFile, 1);
    }
    picture_file_ = file;
  }
  if (auto* picture = dynamic_cast<CDXUTImage*>(dialog_.GetControl(kUnitPictureId))) picture->m_pTexture = picture_.Get();
}

void cUnitPanel::FillSupply(const cJednostka& unit) {
  std::wstring text;
  std::wstring hint;
  const int cutOff = world_.constants.noSupplyTurnsLimit;
  bool iconOn = false;
  if (unit.supply == 0) {
    text = plat::Format(Text("unitpanel_supply_out_of_supply_more"), cutOff);
    hint = plat::Format(Text("unitpanel_supply_out_of_supply_more_hint"), cutOff);
  } else if (unit.turnsWithoutSupply > 0) {
    text = plat::Format(Text("unitpanel_supply_out_of_supply"), unit.turnsWithoutSupply);
    hint = plat::Format(Text("unitpanel_supply_out_of_supply_hint"), unit.turnsWithoutSupply);
  } else if (unit.supplySourceX == -1 || unit.supplySourceY == -1) {
    text = plat::Format(Text("unitpanel_supply_peace_time"), unit.supply);
    hint = plat::Format(Text("unitpanel_supply_peace_time_hint"), unit.supply);
  } else {
    cMap& map = world_.GetMap();
    sHex* source = map.IsInside(unit.supplySourceX, unit.supplySourceY)
                       ? &map.GetHex(unit.supplySourceX, unit.supplySourceY)
                       : nullptr;
    if (source == nullptr || source->city == nullptr) {
      text = L"-! BUG !-";
      hint = plat::Format(L"No city at given coordinates (%i, %i)", unit.supplySourceX, unit.supplySourceY);
    } else {
      iconOn = true;
      supply_hex_ = source;
      text = plat::Format(Text("unitpanel_supply_value_from_city"), unit.supply, source->city->name);
      hint = plat::Format(Text("unitpanel_supply_value_from_city_hint"), unit.supply, source->city->name);
    }
  }
  SetValue(dialog_, kUnitSupplyId, text, hint.c_str());
  if (iconOn) {
    SetIcon(kUnitSupplyIconId, true, Text("unitpanel_supply_icon_hint"));
  } else {
    SetIcon(kUnitSupplyIconId, false, hint);
  }
}

void cUnitPanel::FillOrderIcons(cJednostka& unit) {
  std::wstring hint;
  bool possible = unit.CanStrategicMove(&hint);
  SetIcon(kUnitStrategicMoveIconId, possible, hint);
  possible = unit.CanAirborneAssault(&hint);
  SetIcon(kUnitAirborneIconId, possible, hint);
  // Loading: the unit's own check, then the rule's (a port with a sea node).
  const auto loading = [&](int id, int shipType, bool allowed) {
    auto* land = dynamic_cast<cJednostkaLadowa*>(&unit);
    if (allowed && land != nullptr) {
      const eTransportRefusal refusal = CheckLoadOntoShip(world_, *land, shipType);
      if (const char* key = TransportRefusalKey(refusal)) {
        allowed = false;
        hint = Text(key);
      }
    }
    SetIcon(id, allowed, hint);
  };
  loading(kUnitSeaTransportIconId, kUnitCargoShip, unit.CanSeaTransport(&hint));
  loading(kUnitAmphibiousIconId, kUnitAmphibiousShip, unit.CanAmphibiousTransport(&hint));
  possible = unit.CanAirFight(&hint);
  SetIcon(kUnitAirFightIconId, possible, hint);
  possible = unit.CanBombard(&hint);
  SetIcon(kUnitBombardIconId, possible, hint);
  possible = unit.CanNuclearAttack(&hint);
  SetIcon(kUnitNuclearIconId, possible, hint);
  possible = unit.CanAirRecon(&hint);
  SetIcon(kUnitReconIconId, possible, hint);
}

void cUnitPanel::OnRender(float elapsed) {
  const sHex* hex = world_.turnState.selectedHex;
  if (shown_ != (hex != nullptr ? hex->unit : nullptr)) Refresh();
  cPanel::OnRender(elapsed);
}

cJednostka* cUnitPanel::LiveShownUnit() {
  const sHex* hex = world_.turnState.selectedHex;
  cJednostka* onHex = hex != nullptr ? hex->unit : nullptr;
  // The hex link of a unit is cleared when it dies or moves away, so a match
  // means the shown unit is alive and still there.
  if (shown_ == nullptr || onHex != shown_) {
    Refresh();
    return nullptr;
  }
  return shown_;
}
