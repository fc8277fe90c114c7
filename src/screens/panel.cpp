#include "screens/panel.h"

#include "screens/map_screen.h"

#include <vector>

#include "app/gui_layout.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_resource_manager.h"
#include "gui/dxut_static.h"
#include "screens/screen_helpers.h"

namespace {

constexpr int kValueBorder = 2;

}  // namespace

cPanel::cPanel(int id) : cDialog(id) { dialog_.SetCallback(PanelOnGUIEventThunk); }

cPanel::cPanel(int frameId, int x, int y, int width, int height, int blockFirst, int blockLast)
    : cDialog(frameId), block_first_(blockFirst), block_last_(blockLast) {
  if (frameId > 0) dialog_.AddFrame(frameId, x, y, width, height, 1);
  savedMinimized = true;
  dialog_.SetCallback(PanelOnGUIEventThunk);
}

cPanel::~cPanel() = default;

void cPanel::OnRender(float elapsed) {
  if (!dialog_.GetMinimized()) dialog_.OnRender(elapsed);
}

void cPanel::MoveBy(int dx, int dy) {
  for (int id = block_first_; id <= block_last_; ++id) {
    if (id < 0 || id >= kLayoutEntries) continue;
    g_GuiLayout[id].a += dx;
    g_GuiLayout[id].b += dy;
    // The control's own move would record its place again and ask the
    // group service; the layout entry above is already the new place, so
    // the control is placed directly.
    if (CDXUTControl* control = dialog_.GetControl(id)) {
      control->SetLocation(control->GetX() + dx, control->GetY() + dy);
    }
  }
}

void AddLabeledEditBox(CDXUTDialog& dialog, int editId, const wchar_t* text, const wchar_t* hint,
                       int labelId, const wchar_t* label) {
  CDXUTEditBox* edit = nullptr;
  if (SUCCEEDED(dialog.AddEditBoxFromLayout(editId, text, hint, &edit)) && edit != nullptr) {
    edit->m_nBorder = kValueBorder;
    edit->UpdateRects();
    edit->SetTextColor(kWhite);
    edit->m_dwDisabledTextFormat = kCentred;
    edit->SetEnabled(false);
  }
  CDXUTStatic* caption = nullptr;
  if (SUCCEEDED(dialog.AddStaticFromLayout(labelId, label, &caption)) && caption != nullptr) {
    caption->SetTextColor(kWhite);
    caption->SetTextFormat(kVCentred);
  }
}

void SetPanelMinimized(cPanel* panel, bool minimized) {
  if (panel != nullptr) panel->Dialog().SetMinimized(minimized);
}

void RenderDialogOverBackdrops(CDXUTDialog& dialog, std::initializer_list<int> backdropIds, float elapsed) {
  std::vector<CDXUTImage*> hidden;
  plat::SpriteBatch* sprite = GetGlobalDialogResourceManager().GetSprite();
  if (sprite != nullptr && dialog.GetVisible() && !dialog.GetMinimized()) {
    sprite->Begin();
    for (int i = 0; i < dialog.GetControlCount(); ++i) {
      auto* image = dynamic_cast<CDXUTImage*>(dialog.GetControlByIndex(i));
      if (image == nullptr || !image->GetVisible() || image->m_pTexture == nullptr) continue;
      bool listed = false;
      for (int id : backdropIds) listed = listed || image->GetID() == id;
      if (!listed) continue;
      dialog.DrawSpriteTexture(image->m_pTexture, image->m_rcSource, image->GetBoundingBox(), 0.0f, image->m_Color);
      image->SetVisible(false);
      hidden.push_back(image);
    }
    sprite->End();
  }
  dialog.OnRender(elapsed);
  for (CDXUTImage* image : hidden) image->SetVisible(true);
}

void PanelOnGUIEventThunk(unsigned event, int controlId, CDXUTControl* control) {
  if (cMapScreen* screen = LoadedMapScreen()) screen->OnPanelEvent(event, controlId, control);
}
