#include "screens/minimap_panel.h"

#include "app/gui_layout.h"
#include "screens/map_screen.h"
#include "app/string_base.h"
#include "app/texture.h"
#include "gui/dxut_button.h"
#include "gui/dxut_static.h"
#include "platform/format.h"
#include "screens/screen_helpers.h"
#include "world/world.h"

namespace {

constexpr int kBackgroundSourceEntry = 4;
constexpr int kMinimapIconSize = 25;
constexpr int kIconSheetY = 375;
// The date line takes the small print of the layout's fonts: in the labels'
// font the line of the second impulse of September is wider than the
// panel at 1024 x 768, and its ends were cut off.
constexpr unsigned kDateFont = 5;

void AddIcon(CDXUTDialog& dialog, int id, int srcX, const char* hintKey) {
  const plat::RectI r = DXUTLayoutRect(id);
  CDXUTIcon* icon = nullptr;
  dialog.AddIcon(id, srcX, kIconSheetY, srcX + kMinimapIconSize, kIconSheetY + kMinimapIconSize, r.left, r.top, r.right,
                 r.bottom, 0, false, &icon);
  if (icon != nullptr) icon->SetHint(g_StringBase.GetText(hintKey));
}

}  // namespace

cMinimapPanel::cMinimapPanel() : cPanel(-1, 0, 0, 0, 0) {
  CDXUTDialog& d = dialog_;
  d.SetTexture(0, L"data\\gfx\\console.png");
  const sLayoutRect& src = g_GuiLayout[kBackgroundSourceEntry];  // edges
  d.AddImageFromLayout(kMinimapPanelId, g_Textures[kGuiSheetSlot].Get(), src.a, src.b, src.c, src.d, nullptr,
                       0xFFFFFFFFu);
  // Takes the mouse over the background so that clicks there stay off the map.
  CDXUTStatic* catcher = nullptr;
  if (SUCCEEDED(d.AddStaticFromLayout(kMinimapPanelId, L"", &catcher)) && catcher != nullptr) {
    catcher->SetEnabled(true);
  }
  CDXUTStatic* date = nullptr;
  if (SUCCEEDED(d.AddStaticFromLayout(kMinimapDateId, g_StringBase.GetText("-"), &date)) && date != nullptr) {
    date->SetTextFormat(kCentred);
    if (CDXUTElement* element = date->GetElement(0)) element->iFont = kDateFont;
  }
  AddIcon(d, kMinimapZoomInId, 560, "zoom_in");
  AddIcon(d, kMinimapZoomOutId, 590, "zoom_out");
  AddIcon(d, kMinimapOwnershipModeId, 620, "change_ownership_draw_mode");
  AddIcon(d, kMinimapBorderModeId, 650, "change_border_draw_mode");
  AddIcon(d, kMinimapMapModeId, 680, "change_map_draw_mode");
  d.SetCallback(WorldOnGUIEventThunk);
}

void cMinimapPanel::SetMinimapRect(int x, int y, int width, int height) {
  minimap_rect_ = {x, y, width, height};
  dialog_.RemoveControl(kMinimapPictureId);
  const plat::Texture* texture = nullptr;
  int tw = 0, th = 0;
  if (g_pWorld != nullptr) {
    texture = g_pWorld->GetMap().MinimapTexture().Get();
    if (texture != nullptr) {
      tw = texture->Width();
      th = texture->Height();
    }
  }
  CDXUTImage* picture = nullptr;
  dialog_.AddImage(kMinimapPictureId, texture, 0, 0, tw, th, x, y, width, height, 0, false, &picture);
  if (picture != nullptr) picture->SetEnabled(true);
}

bool cMinimapPanel::IsOnMinimap(int x, int y) const {
  const sRect& r = minimap_rect_;
  return x >= r.x && x <= r.x + r.width && y >= r.y && y <= r.y + r.height;
}

void cMinimapPanel::OnRender(float elapsed) {
  if (dialog_.GetMinimized()) return;
  RenderDialogOverBackdrops(dialog_, {kMinimapPanelId}, elapsed);
  if (g_pWorld != nullptr) g_pWorld->GetMap().DrawMinimapViewRect();
}

void cMinimapPanel::OnMouse(bool, bool, bool, bool, bool, int, int x, int y) {
  if (IsOnMinimap(x, y)) CenterMapAt(x, y);
}

void cMinimapPanel::CenterMapAt(int x, int y) const {
  if (g_pWorld == nullptr) return;
  const sRect& r = minimap_rect_;
  // The right and bottom edges belong to the picture, but read as one column
  // or row past the map: they count as its last pixel.
  if (r.width > 0 && x >= r.x + r.width) x = r.x + r.width - 1;
  if (r.height > 0 && y >= r.y + r.height) y = r.y + r.height - 1;
  g_pWorld->GetMap().CenterAtMinimapCursor(x, y);
}

std::wstring cMinimapPanel::DateLine(cWorld& world) {
  static const char* const kMonths[] = {"january", "february", "march",     "april",   "may",      "june",
                                        "july",    "august",   "september", "october", "november", "december"};
  std::wstring date;
  if (world.turnNumber == 1 && world.startDay > 0) {
    // A start month without a name shows its number.
    const bool named = world.startMonth >= 1 && world.startMonth <= 12;
    date = named ? plat::Format(L"%i-%lS-%i", world.startDay, g_StringBase.GetText(kMonths[world.startMonth - 1]),
                                world.startYear)
                 : plat::Format(L"%i-%i-%i", world.startDay, world.startMonth, world.startYear);
  } else {
    date = world.GetDate().Format(world.TurnsPerMonth());
  }
  return plat::Format(g_StringBase.GetText("%s_(turn_%i/%i)"), date, world.turnNumber,
                      world.turnNumber + world.turnsLeft);
}

void cMinimapPanel::RefreshDate() {
  if (g_pWorld == nullptr) return;
  const std::wstring line = DateLine(*g_pWorld);
  if (auto* date = dynamic_cast<CDXUTStatic*>(dialog_.GetControl(kMinimapDateId))) date->SetText(line.c_str());
}
