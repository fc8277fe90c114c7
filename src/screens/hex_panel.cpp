#include "screens/hex_panel.h"

#include "screens/map_screen.h"

#include <string>

#include "app/gui_layout.h"
#include "app/string_base.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "platform/rand.h"
#include "rules/artificial_harbour.h"
#include "rules/purchases.h"
#include "screens/screen_helpers.h"
#include "world/jednostka_ladowa.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"
#include "world/hex.h"

namespace {

// Frame pieces, fields and labels are cut from the toolkit's sheet, which
// this panel keeps in its second texture slot; the first holds the
// interface sheet for the harbour icon.
constexpr unsigned kToolkitSlot = 1;


void SetField(CDXUTDialog& dialog, int id, const std::wstring& text) {
  CDXUTControl* control = dialog.GetControl(id);
  if (auto* edit = dynamic_cast<CDXUTEditBox*>(control)) {
    edit->SetText(text.c_str());
  } else if (auto* label = dynamic_cast<CDXUTStatic*>(control)) {
    label->SetText(text.c_str());
  }
}

const wchar_t* TerrainKey(int terrain) {
  static const char* const kKeys[] = {
      "hex_panel_additional_info_water",  "hex_panel_additional_info_plain",
      "hex_panel_additional_info_forest", "hex_panel_additional_info_rough",
      "hex_panel_additional_info_swamp",  "hex_panel_additional_info_hill",
      "hex_panel_additional_info_mountain", "hex_panel_additional_info_desert"};
  if (terrain >= 0 && terrain < 8) return Text(kKeys[terrain]);
  return Text("hex_panel_additional_info_unknown");
}

std::wstring CountryName(int id) {
  const cCountry* country = g_pWorld != nullptr ? g_pWorld->GetCountry(id) : nullptr;
  return country != nullptr ? country->name : std::wstring(L"-");
}

double PanelHarbourCost() { return g_pWorld != nullptr ? HarbourCost(*g_pWorld) : 0.0; }
int MainSourceSupply() { return g_pWorld != nullptr ? g_pWorld->constants.maxSupply : 0; }

}  // namespace

cHexPanel::cHexPanel()
    : cPanel(kHexPanelFrameId, g_GuiLayout[kHexPanelFrameId].a, g_GuiLayout[kHexPanelFrameId].b,
             g_GuiLayout[kHexPanelFrameId].c, g_GuiLayout[kHexPanelFrameId].d, kHexPanelFrameId,
             kHexPanelBlockLast) {
  CDXUTDialog& d = dialog_;
  d.SetTexture(0, L"data\\gfx\\console.png");
  d.SetTexture(kToolkitSlot, L"data\\gfx\\GUI.png");
  const struct {
    int label;
    const char* labelKey;
    int value;
    const char* hintKey;
  } rows[] = {
      {402, "hex_panel_name", 403, "hex_panel_name_hint"},
      {404, "hex_panel_additional_info", 405, "hex_panel_additional_info_hint"},
      {406, "hex_panel_supply", 407, "hex_panel_supply_hint"},
      {410, "hex_panel_victory_points", 411, "hex_panel_victory_points_hint"},
      {408, "hex_panel_production_points", 409, "hex_panel_production_points_hint"},
      {412, "hex_panel_controller", 413, "hex_panel_controller_hint"},
      {414, "hex_panel_owner", 415, "hex_panel_owner_hint"},
      {416, "hex_panel_fortification", 417, "hex_panel_fortification_hint"},
      {418, "hex_panel_weather", 419, "hex_panel_weather_hint"},
  };
  for (const auto& row : rows) {
    AddLabeledEditBox(d, row.value, L"-", Text(row.hintKey), row.label, Text(row.labelKey));
  }
  for (int i = 0; i < d.GetControlCount(); ++i) {
    CDXUTControl* control = d.GetControlByIndex(i);
    for (std::size_t e = 0; e < control->GetElementCount(); ++e) {
      control->GetElement(static_cast<unsigned>(e))->iTexture = kToolkitSlot;
    }
  }
  const plat::RectI r = DXUTLayoutRect(kHexHarbourIconId);
  d.AddIcon(kHexHarbourIconId, kHarbourIconSheetX, kHarbourIconSheetY, kHarbourIconSheetX + kHarbourIconSize,
            kHarbourIconSheetY + kHarbourIconSize, r.left, r.top, r.right, r.bottom);
  d.SetControlEnabled(kHexHarbourIconId, false);
}

bool cHexPanel::CanBuildHarbour(const sHex& hex, const cCountry& current, double cost, const char** reason) {
  const eHarbourRefusal refusal = CheckHarbour(hex, current, cost);
  if (reason != nullptr) *reason = HarbourRefusalKey(refusal);
  return refusal == eHarbourRefusal::kNone;
}

void cHexPanel::Refresh() {
  if (g_pWorld == nullptr) {
    RefreshFor(nullptr, nullptr);
    return;
  }
  RefreshFor(g_pWorld->turnState.selectedHex, g_pWorld->turnState.currentCountry);
}

void cHexPanel::RefreshFor(const sHex* hex, cCountry* current) {
  CDXUTDialog& d = dialog_;
  if (hex == nullptr) {
    for (int id : {402, 403, 405, 407, 409, 411, 413, 415, 417, 419}) SetField(d, id, L"-");
    d.SetControlEnabled(kHexHarbourIconId, false);
    return;
  }
  const cCity* city = hex->city;
  const int supplyMain = MainSourceSupply();
  if (city == nullptr) {
    if (hex->seaZone == 0) {
      SetField(d, kHexKindLabelId, L"-");
      SetField(d, kHexNameId, L"-");
    } else {
      SetField(d, kHexKindLabelId, Text("hex_panel_name_sea_zone"));
      const sWezelGrafuMorz* node = g_pWorld != nullptr ? g_pWorld->GetSeaGraph().GetNode(hex->seaZone) : nullptr;
      SetField(d, kHexNameId, node != nullptr ? node->name : std::wstring(L"-"));
    }
    for (int id : {kHexSupplyId, kHexProductionId, kHexVictoryId}) SetField(d, id, L"-");
  } else if (city->type >= kCitySupply && city->type <= kCityResources) {
    const int type = city->type;
    const bool port = type == kCitySupplyPort || type == kCityPort;
    if (type == kCityResources) {
      SetField(d, kHexKindLabelId, Text("hex_panel_name_resources"));
      SetField(d, kHexNameId, city->name);
      SetField(d, kHexSupplyId, L"-");
      SetField(d, kHexProductionId, plat::Format(L"%.1f", city->productionPoints));
    } else {
      SetField(d, kHexKindLabelId, Text(port ? "hex_panel_name_port" : "hex_panel_name_city"));
      if (port) {
        // The hex names its port node; a port without one shows size 0
        // rather than ending the game over a display.
        const sWezelGrafuMorz* node = nullptr;
        if (g_pWorld != nullptr) {
          const cSeaGraph& graph = g_pWorld->GetSeaGraph();
          node = graph.GetNode(hex->seaNode != 0 ? hex->seaNode : graph.FindNodeIdByMainHex(city->x, city->y));
        }
        SetField(d, kHexNameId, plat::Format(Text("hex_panel_city_name_port"), city->name,
                                             node != nullptr ? node->size : 0));
      } else {
        SetField(d, kHexNameId, city->name);
      }
      if (type == kCitySupply || type == kCitySupplyPort) {
        SetField(d, kHexSupplyId, plat::Format(Text("hex_panel_supply_main_source"), supplyMain));
      } else {
        // What the city gives the current country, then its own figure.
        int given = 0;
        if (current != nullptr && current->id >= 1 &&
            static_cast<std::size_t>(current->id - 1) < city->supplyInfo.size()) {
          given = city->supplyInfo[static_cast<std::size_t>(current->id - 1)];
        }
        SetField(d, kHexSupplyId, plat::Format(L"%i (%i)", given, city->supply));
      }
      // Production now, and as it stood before the bombing losses.
      SetField(d, kHexProductionId,
               plat::Format(L"%.1f/%.1f", city->productionPoints,
                            city->productionPoints + static_cast<float>(city->productionLostToBombing)));
    }
    SetField(d, kHexVictoryId, plat::Format(L"%i", city->victoryPoints));
  }
  SetField(d, kHexControllerId, hex->controller != 0 ? CountryName(hex->controller) : L"-");
  SetField(d, kHexOwnerId, hex->owner != 0 ? CountryName(hex->owner) : L"-");
  SetField(d, kHexFortificationId, hex->fortification != 0 ? plat::Format(L"%i", hex->fortification) : L"-");
  if (hex->terrain == 0) {
    SetField(d, kHexWeatherId, L"-");
  } else {
    static const char* const kWeather[] = {"weather_good", "weather_snow", "weather_mud"};
    SetField(d, kHexWeatherId, hex->weather < 3 ? Text(kWeather[hex->weather]) : L"-");
  }
  SetField(d, kHexInfoId, plat::Format(TerrainKey(hex->terrain), hex->x, hex->y));

  CDXUTControl* icon = d.GetControl(kHexHarbourIconId);
  if (icon == nullptr) return;
  const char* reason = "hexpanel_mulberry_hint_not_friendly_hex";
  const bool allowed = current != nullptr && CanBuildHarbour(*hex, *current, PanelHarbourCost(), &reason);
  icon->SetEnabled(allowed);
  if (std::string_view(reason) == "hexpanel_mulberry_hint_not_enough_pp") {
    icon->SetHint(plat::Format(Text(reason), PanelHarbourCost()).c_str());
  } else {
    icon->SetHint(Text(reason));
  }
}

void cHexPanel::OnGUIEvent(unsigned, int controlId, CDXUTControl*) {
  if (controlId != kHexHarbourIconId || g_pWorld == nullptr) return;
  cWorld& world = *g_pWorld;
  sHex* hex = world.turnState.selectedHex;
  cCountry* current = world.turnState.currentCountry;
  // The icon is disabled whenever a rule fails; the rules are asked again
  // so that a stale event can never put a second unit on a hex.
  if (hex == nullptr || current == nullptr || CheckBuildHarbour(world, *hex, *current) != eHarbourRefusal::kNone) {
    return;
  }
  // Named as a bought unit is: the country's pattern for the type with a
  // number from 10 to 99.
  const std::wstring name = DrawNewUnitName(world, *current, kHarbourUnitType);
  if (BuildHarbour(world, *current, *hex, name) != eHarbourRefusal::kNone) return;
  // The hex now holds a unit: the icon goes off before another click.
  Refresh();
}
