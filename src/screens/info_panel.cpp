#include "screens/info_panel.h"

#include <cstdint>

#include "app/gui_layout.h"
#include "screens/map_screen.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "gui/dxut_button.h"
#include "gui/dxut_static.h"
#include "platform/clock.h"
#include "platform/format.h"
#include "screens/screen_helpers.h"
#include "world/country.h"
#include "world/world.h"

namespace {

constexpr unsigned kRight = 6;  // right-aligned, vertically centred
constexpr int kBarSourceEntry = 3;
constexpr int kCommandBackSourceEntry = 5;
constexpr int kNameBackSourceEntry = 6;
constexpr int kCommandSheetEntry = 14;
constexpr int kIndicatorPicture = 200;
// The indicator stands where the four handles are while they are hidden.
constexpr int kIndicatorOffsetX = 358;
constexpr int kIndicatorOffsetY = 2;
constexpr int kIndicatorSize = 36;

const plat::Texture* Sheet() { return g_Textures[kGuiSheetSlot].Get(); }

// Layout entries 3..9 hold edges; as a source rectangle they are used as is.
plat::RectI SourceEdges(int entry) {
  const sLayoutRect& r = g_GuiLayout[entry];
  return {r.a, r.b, r.c, r.d};
}

void AddBackground(CDXUTDialog& dialog, int id, int sourceEntry) {
  const plat::RectI src = SourceEdges(sourceEntry);
  dialog.AddImageFromLayout(id, Sheet(), src.left, src.top, src.right, src.bottom, nullptr, 0xFFFFFFFFu);
}

void AddCounter(CDXUTDialog& dialog, int id, const char* hintKey) {
  CDXUTStatic* counter = nullptr;
  if (FAILED(dialog.AddStaticFromLayout(id, L"-", &counter)) || counter == nullptr) return;
  counter->SetTextFormat(kRight);
  counter->SetHint(g_StringBase.GetText(hintKey));
  // Enabled so that it takes the mouse and shows its hint.
  counter->SetEnabled(true);
}

void AddIconFromLayout(CDXUTDialog& dialog, int id, int srcX, int srcY, int w, int h, unsigned hotkey,
                       const char* hintKey, bool draggable) {
  const plat::RectI r = DXUTLayoutRect(id);
  CDXUTIcon* icon = nullptr;
  if (FAILED(dialog.AddIcon(id, srcX, srcY, srcX + w, srcY + h, r.left, r.top, r.right, r.bottom, hotkey,
                            false, &icon)) ||
      icon == nullptr) {
    return;
  }
  icon->SetHint(g_StringBase.GetText(hintKey));
  icon->SetDraggable(draggable);
}

void SetStaticText(CDXUTDialog& dialog, int id, const std::wstring& text) {
  if (auto* s = dynamic_cast<CDXUTStatic*>(dialog.GetControl(id))) s->SetText(text.c_str());
}

void ShowControl(CDXUTDialog& dialog, int id, bool visible) {
  if (CDXUTControl* control = dialog.GetControl(id)) control->SetVisible(visible);
}

}  // namespace

cInfoPanel::cInfoPanel() : cPanel(-1, 0, 0, 0, 0) {
  CDXUTDialog& d = dialog_;
  // Icons draw from the dialog's first texture: the interface sheet.
  d.SetTexture(0, L"data\\gfx\\console.png");

  AddBackground(d, kInfoBarId, kBarSourceEntry);
  CDXUTStatic* status = nullptr;
  if (SUCCEEDED(d.AddStaticFromLayout(kInfoStatusId, L"-", &status)) && status != nullptr) {
    status->SetTextFormat(kCentred);
  }
  CDXUTImage* flag = nullptr;
  d.AddImageFromLayout(kInfoFlagId, nullptr, 0, 0, kFlagWidth, kFlagHeight,
                       g_StringBase.GetText("your_country_flag"), 0xFFFFFFFFu, &flag);
  if (flag != nullptr) flag->SetVisible(false);
  AddBackground(d, kInfoNameBackId, kNameBackSourceEntry);
  CDXUTStatic* name = nullptr;
  if (SUCCEEDED(d.AddStaticFromLayout(kInfoNameId, L"-", &name)) && name != nullptr) {
    name->SetTextFormat(kCentred);
  }
  AddCounter(d, kInfoProductionId, "infopanel_production_points_hint");
  AddCounter(d, kInfoDiplomacyId, "infopanel_diplomacy_points_hint");
  AddCounter(d, kInfoStrategicId, "infopanel_strategic_moves_points_hint");
  AddCounter(d, kInfoSeaTransportId, "infopanel_sea_transport_points_hint");
  AddCounter(d, kInfoSeaInvasionId, "infopanel_sea_invasion_points_hint");
  AddCounter(d, kInfoNuclearId, "infopanel_nuclear_bombs_hint");

  const struct {
    int id;
    unsigned hotkey;
    const char* hint;
  } handles[] = {{kInfoUnitHandleId, 'U', "unitpanel_hint"},
                 {kInfoHexHandleId, 'H', "hexpanel_hint"},
                 {kInfoAttackHandleId, 'A', "attackpanel_hint"},
                 {kInfoDiplomacyHandleId, 'D', "diplomacypanel_hint"}};
  for (int i = 0; i < 4; ++i) {
    AddIconFromLayout(d, handles[i].id, kPanelHandleSheetX + i * kPanelHandleSize, kPanelHandleSheetY,
                      kPanelHandleSize, kPanelHandleSize, handles[i].hotkey, handles[i].hint, true);
  }

  const sLayoutRect& bar = g_GuiLayout[kInfoBarId];
  CDXUTImage* indicator = nullptr;
  d.AddImage(kInfoComputerIndicatorId, Sheet(), 0, kComputerIndicatorSheetY, kIndicatorPicture,
             kComputerIndicatorSheetY + kIndicatorPicture, bar.a + kIndicatorOffsetX, bar.b + kIndicatorOffsetY,
             kIndicatorSize, kIndicatorSize, 0, false, &indicator);
  if (indicator != nullptr) indicator->SetVisible(false);

  AddBackground(d, kInfoCommandBackId, kCommandBackSourceEntry);
  const struct {
    int id;
    const char* hint;
  } commands[] = {{kCmdPurchases, "open_purchase_window"},
                  {kCmdReports, "open_reports_window"},
                  {kCmdOptions, "open_options_screen"},
                  {kCmdUnits, "open_units_management_window"},
                  {kCmdResearch, "open_research_management_window"},
                  {kCmdConvoys, "open_convoys_management_window"},
                  {kCmdEndTurn, "finish_turn"},
                  {kCmdHotkeys, "open_hotkeys_screen"}};
  // One picture per icon, side by side from the sheet's origin.
  const sLayoutRect& sheet = g_GuiLayout[kCommandSheetEntry];
  for (int i = 0; i < 8; ++i) {
    AddIconFromLayout(d, commands[i].id, sheet.a + i * sheet.c, sheet.b, sheet.c, sheet.d, 0, commands[i].hint,
                      false);
  }
  d.SetCallback(WorldOnGUIEventThunk);
}

void cInfoPanel::RefreshCounters() {
  RefreshCountersFor(g_pWorld != nullptr ? g_pWorld->turnState.currentCountry : nullptr);
}

void cInfoPanel::RefreshCountersFor(const cCountry* country) {
  if (country == nullptr) return;
  CDXUTDialog& d = dialog_;
  if (auto* flag = dynamic_cast<CDXUTImage*>(d.GetControl(kInfoFlagId))) {
    flag->SetVisible(true);
    flag->m_pTexture = country->GetFlagTexture();
  }
  SetStaticText(d, kInfoNameId, country->name);
  if (!country->human) return;
  const wchar_t* pair = g_StringBase.GetText("%i/%i");
  SetStaticText(d, kInfoProductionId, plat::Format(L"%.0f", country->productionPoints));
  SetStaticText(d, kInfoDiplomacyId, plat::Format(L"%i", country->diplomaticPoints));
  SetStaticText(d, kInfoStrategicId,
                plat::Format(pair, country->strategicMovementPoints, country->strategicMovementPointsMax));
  SetStaticText(d, kInfoSeaTransportId, plat::Format(L"%i", country->seaTransportPoints));
  SetStaticText(d, kInfoSeaInvasionId,
                plat::Format(pair, country->amphibiousInvasionPoints, country->amphibiousInvasionPointsTotal));
  SetStaticText(d, kInfoNuclearId, plat::Format(L"%i", country->nuclearBombs));
}

void cInfoPanel::SetStatusText(std::wstring_view text) {
  // Main thread only (the worker's texts come through the world's view),
  // inside the frame, which holds the framework lock.
  SetStaticText(dialog_, kInfoStatusId, std::wstring(text));
}

void cInfoPanel::LockForComputerPhase() {
  dialog_.EnableNonUserEvents(false);
  dialog_.EnableKeyboardInput(false);
  dialog_.EnableMouseInput(false);
  for (int id : {kInfoUnitHandleId, kInfoHexHandleId, kInfoDiplomacyHandleId, kInfoAttackHandleId}) {
    ShowControl(dialog_, id, false);
  }
  ShowControl(dialog_, kInfoComputerIndicatorId, true);
}

void cInfoPanel::UnlockAfterComputerPhase() {
  dialog_.EnableMouseInput(true);
  for (int id : {kInfoUnitHandleId, kInfoHexHandleId, kInfoDiplomacyHandleId, kInfoAttackHandleId}) {
    ShowControl(dialog_, id, true);
  }
  ShowControl(dialog_, kInfoComputerIndicatorId, false);
}

void cInfoPanel::OnRender(float elapsed) {
  auto* indicator = dynamic_cast<CDXUTImage*>(dialog_.GetControl(kInfoComputerIndicatorId));
  if (indicator != nullptr && indicator->GetVisible()) {
    const std::uint32_t frame = (plat::GetTickCount() / 200u) % 2u;
    const int x = static_cast<int>(frame) * kIndicatorPicture;
    indicator->m_rcSource = {x, kComputerIndicatorSheetY, x + kIndicatorPicture,
                             kComputerIndicatorSheetY + kIndicatorPicture};
  }
  RenderDialogOverBackdrops(dialog_, {kInfoBarId, kInfoNameBackId, kInfoCommandBackId}, elapsed);
}
