#include "screens/unit_panel.h"

#include <string_view>

#include "app/gui_layout.h"
#include "app/string_base.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "rules/land_move.h"
#include "world/game_phase.h"
#include "world/hex.h"
#include "world/jednostka_ladowa.h"
#include "world/units_visibility.h"
#include "world/world.h"

namespace {

// The undo icon on the interface sheet.
constexpr int kUndoSheetX = 1520;
constexpr int kUndoSheetY = 105;
constexpr int kIconSize = 40;

const wchar_t* Text(const char* key) { return g_StringBase.GetText(key); }

}  // namespace

cUnitPanel::cUnitPanel(cWorld& world)
    : cPanel(kUnitPanelFrameId, g_GuiLayout[kUnitPanelFrameId].a, g_GuiLayout[kUnitPanelFrameId].b,
             g_GuiLayout[kUnitPanelFrameId].c, g_GuiLayout[kUnitPanelFrameId].d, kUnitPanelFrameId, kUnitPanelBlockLast),
      world_(world) {
  CDXUTDialog& d = dialog_;
  AddLabeledEditBox(d, kUnitNameId, L"-", Text("unitpanel_name_hint"), kUnitNameLabelId, Text("unitpanel_name"));
  if (auto* name = dynamic_cast<CDXUTEditBox*>(d.GetControl(kUnitNameId))) name->m_dwDisabledTextFormat = 4;  // left
  const plat::RectI r = DXUTLayoutRect(kUnitUndoIconId);
  d.AddIcon(kUnitUndoIconId, kUndoSheetX, kUndoSheetY, kUndoSheetX + kIconSize, kUndoSheetY + kIconSize, r.left, r.top,
            r.right, r.bottom);
  d.SetControlEnabled(kUnitUndoIconId, false);
  if (CDXUTControl* undo = d.GetControl(kUnitUndoIconId)) undo->SetHint(Text("unitpanel_undo_move_icon_hint_no_undo_possible"));
}

void cUnitPanel::Refresh() {
  const sHex* hex = world_.turnState.selectedHex;
  shown_ = hex != nullptr ? hex->unit : nullptr;
  CDXUTDialog& d = dialog_;
  if (auto* name = dynamic_cast<CDXUTEditBox*>(d.GetControl(kUnitNameId))) {
    name->SetText(shown_ != nullptr ? shown_->name.c_str() : L"-");
  }
  const cMoveUndo& undo = world_.turnState.undo;
  const char* hint = "unitpanel_undo_move_icon_hint";
  if (undo.unit == nullptr) {
    hint = "unitpanel_undo_move_icon_hint_no_undo_possible";
  } else if (undo.unit != shown_) {
    hint = "unitpanel_undo_move_icon_hint_wrong_unit_selected";
  } else if (undo.unit->newEnemyContact) {
    hint = "unitpanel_undo_move_icon_hint_enemy_unit_discovered";
  }
  d.SetControlEnabled(kUnitUndoIconId, hint == std::string_view("unitpanel_undo_move_icon_hint"));
  if (CDXUTControl* icon = d.GetControl(kUnitUndoIconId)) icon->SetHint(Text(hint));
}

void cUnitPanel::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (event != EVENT_BUTTON_CLICKED || controlId != kUnitUndoIconId) return;
  // An order: only in the human turn.
  if (world_.GetGameState() != kPhaseHumanTurn) return;
  auto* unit = dynamic_cast<cJednostkaLadowa*>(shown_);
  if (UndoLandMove(world_, unit) != eUndoRefusal::kNone) return;
  if (const cCountry* current = world_.turnState.currentCountry) RecalculateUnitsVisibility(world_, *current);
  Refresh();
}
