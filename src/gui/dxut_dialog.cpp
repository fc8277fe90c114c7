#include "gui/dxut_dialog.h"

#include <algorithm>
#include <new>

#include "app/console_log.h"
#include "app/gui_layout.h"
#include "app/gui_sound.h"
#include "gui/hint_text.h"
#include "gui/dxut_resource_manager.h"
#include "gui/gui_helpers.h"
#include "platform/framework.h"
#include "platform/input_state.h"

CDXUTControl* CDXUTDialog::s_pControlFocus = nullptr;
CDXUTControl* CDXUTDialog::s_pControlPressed = nullptr;
bool CDXUTDialog::s_bCaptionDrag = false;
double CDXUTDialog::s_fTimeRefresh = 0;

namespace {

DXUTPanelDrag g_PanelDrag;
constexpr int kDragStep = 5;

bool IsEditType(const CDXUTControl* control) {
  return control != nullptr &&
         (control->GetType() == DXUT_CONTROL_EDITBOX || control->GetType() == DXUT_CONTROL_IMEEDITBOX);
}

}  // namespace

plat::RectI DXUTLayoutRect(int id) {
  if (id < 0 || id >= kLayoutEntries) {
    LogLine(L"GUI layout id %i is outside the layout table", id);
    return {};
  }
  const sLayoutRect& r = g_GuiLayout[id];
  return {r.a, r.b, r.c, r.d};  // x, y, width, height
}

CDXUTDialog::CDXUTDialog() : m_pNextDialog(this), m_pPrevDialog(this) {
  m_Fonts.reserve(5);
  InitDefaultElements();
}

CDXUTDialog::~CDXUTDialog() {
  RemoveAllControls();
  // Leave the focus ring so that no dialog points at this one.
  if (m_pNextDialog != this) {
    m_pPrevDialog->m_pNextDialog = m_pNextDialog;
    m_pNextDialog->m_pPrevDialog = m_pPrevDialog;
  }
}

DXUTPanelDrag& CDXUTDialog::PanelDrag() { return g_PanelDrag; }
void CDXUTDialog::ResetDrag() { g_PanelDrag = {}; }

void CDXUTDialog::ClearHintIfShown(CDXUTControl* control) {
  if (control != nullptr && g_HintText.GetControl() == control) g_HintText.SetControl(nullptr);
}

void CDXUTDialog::SetVisible(bool visible) {
  if (m_bVisible && !visible && m_pControlMouseOver != nullptr) ClearHintIfShown(m_pControlMouseOver);
  m_bVisible = visible;
}

void CDXUTDialog::EnableMouseInput(bool enable) {
  m_bMouseInput = enable;
  if (!enable) g_HintText.SetControl(nullptr);
}

void CDXUTDialog::SetMinimized(bool minimized) {
  m_bMinimized = minimized;
  if (minimized) m_pControlMouseOver = nullptr;
}

void CDXUTDialog::SetCaptionText(const wchar_t* text) { m_wszCaption = text != nullptr ? std::wstring(text).substr(0, 255) : L""; }

void CDXUTDialog::SetBackgroundColors(std::uint32_t topLeft, std::uint32_t topRight, std::uint32_t bottomLeft,
                                      std::uint32_t bottomRight) {
  m_colorTopLeft = topLeft;
  m_colorTopRight = topRight;
  m_colorBottomLeft = bottomLeft;
  m_colorBottomRight = bottomRight;
}

// --- controls -------------------------------------------------------------

HRESULT CDXUTDialog::InitControl(CDXUTControl* control) {
  if (control == nullptr) return E_INVALIDARG;
  control->m_Index = static_cast<unsigned>(m_Controls.size());
  for (const auto& holder : m_DefaultElements) {
    if (holder->nControlType == control->GetType()) control->SetElement(holder->iElement, &holder->Element);
  }
  return control->OnInit();
}

HRESULT CDXUTDialog::AppendControl(CDXUTControl* control) {
  try {
    m_Controls.push_back(control);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

CDXUTControl* CDXUTDialog::AddControl(std::unique_ptr<CDXUTControl> control) {
  if (!control) return nullptr;
  control->m_pDialog = this;
  if (FAILED(InitControl(control.get())) || FAILED(AppendControl(control.get()))) return nullptr;
  control->UpdateRects();
  return control.release();
}

CDXUTControl* CDXUTDialog::GetControl(int id) const {
  for (CDXUTControl* control : m_Controls) {
    if (control->GetID() == id) return control;
  }
  return nullptr;
}

CDXUTControl* CDXUTDialog::GetControl(int id, unsigned type) const {
  for (CDXUTControl* control : m_Controls) {
    if (control->GetID() == id && control->GetType() == type) return control;
  }
  return nullptr;
}

CDXUTControl* CDXUTDialog::GetControlByIndex(int index) const {
  if (index < 0 || index >= GetControlCount()) return nullptr;
  return m_Controls[static_cast<std::size_t>(index)];
}

CDXUTControl* CDXUTDialog::GetControlAtPoint(POINT pt) const {
  if (!m_bVisible) return nullptr;
  for (auto it = m_Controls.rbegin(); it != m_Controls.rend(); ++it) {
    if (m_bMinimized) return nullptr;
    CDXUTControl* control = *it;
    if (control->ContainsPoint(pt) && control->GetVisible()) return control;
  }
  return nullptr;
}

CDXUTControl* CDXUTDialog::GetHoveredControlAtPoint(POINT pt) const {
  if (!m_bVisible || m_bMinimized) return nullptr;
  for (auto it = m_Controls.rbegin(); it != m_Controls.rend(); ++it) {
    CDXUTControl* control = *it;
    if (!control->GetVisible()) continue;
    if (control->ContainsPoint(pt)) return control;
    // A control that is not available takes no input, but its hint says why.
    if (!control->GetEnabled() && control->GetHint() != nullptr && InRect(control->GetBoundingBox(), pt)) {
      return control;
    }
  }
  return nullptr;
}

bool CDXUTDialog::GetControlEnabled(int id) const {
  CDXUTControl* control = GetControl(id);
  return control != nullptr && control->GetEnabled();
}

void CDXUTDialog::SetControlEnabled(int id, bool enabled) {
  if (CDXUTControl* control = GetControl(id)) control->SetEnabled(enabled);
}

void CDXUTDialog::RemoveControl(int id) {
  for (auto it = m_Controls.begin(); it != m_Controls.end(); ++it) {
    CDXUTControl* control = *it;
    if (control->GetID() != id) continue;
    ClearFocus();
    if (s_pControlPressed == control) s_pControlPressed = nullptr;
    if (m_pControlMouseOver == control) {
      m_pControlMouseOver = nullptr;
      g_HintText.SetControl(nullptr);
    }
    // The hint may show the control while the mouse is over another dialog.
    ClearHintIfShown(control);
    m_Controls.erase(it);
    delete control;
    return;
  }
}

void CDXUTDialog::RemoveAllControls() {
  const auto own = [this](const CDXUTControl* control) { return control != nullptr && control->m_pDialog == this; };
  // A control of this dialog pressed the mouse and captured it: its release
  // will never come to it (a double click that closes the dialog comes on
  // the press).
  if (own(s_pControlFocus) || own(s_pControlPressed)) plat::GetInputState().SetCapture(false);
  if (own(s_pControlFocus)) s_pControlFocus = nullptr;
  if (own(s_pControlPressed)) s_pControlPressed = nullptr;
  m_pControlMouseOver = nullptr;
  g_HintText.SetControl(nullptr);
  for (CDXUTControl* control : m_Controls) delete control;
  m_Controls.clear();
}


// --- focus ----------------------------------------------------------------

void CDXUTDialog::RequestFocus(CDXUTControl* control) {
  if (control == nullptr || s_pControlFocus == control || !control->CanHaveFocus()) return;
  if (s_pControlFocus != nullptr) s_pControlFocus->OnFocusOut();
  control->OnFocusIn();
  s_pControlFocus = control;
}

void CDXUTDialog::ClearFocus() {
  if (s_pControlFocus != nullptr) {
    s_pControlFocus->OnFocusOut();
    s_pControlFocus = nullptr;
  }
  plat::GetInputState().SetCapture(false);
}

void CDXUTDialog::FocusDefaultControl() {
  for (CDXUTControl* control : m_Controls) {
    if (control->m_bIsDefault) {
      ClearFocus();
      s_pControlFocus = control;
      control->OnFocusIn();
      return;
    }
  }
}

CDXUTControl* CDXUTDialog::GetNextControl(CDXUTControl* control) {
  const std::size_t index = control->m_Index;
  CDXUTDialog* dialog = control->m_pDialog;
  // The stored index may be stale after removals: find the control itself.
  auto& list = dialog->m_Controls;
  auto it = std::find(list.begin(), list.end(), control);
  std::size_t pos = it != list.end() ? static_cast<std::size_t>(it - list.begin()) : index;
  if (pos + 1 < list.size()) return list[pos + 1];
  CDXUTDialog* next = dialog->m_pNextDialog != nullptr ? dialog->m_pNextDialog : dialog;
  while (next->m_Controls.empty() && next != dialog) next = next->m_pNextDialog;
  return next->m_Controls.empty() ? control : next->m_Controls.front();
}

CDXUTControl* CDXUTDialog::GetPrevControl(CDXUTControl* control) {
  CDXUTDialog* dialog = control->m_pDialog;
  auto& list = dialog->m_Controls;
  auto it = std::find(list.begin(), list.end(), control);
  if (it != list.end() && it != list.begin()) return *(it - 1);
  CDXUTDialog* prev = dialog->m_pPrevDialog != nullptr ? dialog->m_pPrevDialog : dialog;
  while (prev->m_Controls.empty() && prev != dialog) prev = prev->m_pPrevDialog;
  return prev->m_Controls.empty() ? control : prev->m_Controls.back();
}

void CDXUTDialog::OnCycleFocus(bool forward) {
  if (s_pControlFocus == nullptr || s_pControlFocus->m_pDialog != this) return;
  CDXUTControl* start = s_pControlFocus;
  CDXUTControl* control = start;
  for (int i = 0; i < 0xFFFF; ++i) {
    control = forward ? GetNextControl(control) : GetPrevControl(control);
    if (control == start) return;
    if (control->m_pDialog->m_bKeyboardInput && control->CanHaveFocus()) {
      s_pControlFocus->OnFocusOut();
      s_pControlFocus = control;
      s_pControlFocus->OnFocusIn();
      return;
    }
  }
}

// --- events ---------------------------------------------------------------

void CDXUTDialog::SendEvent(unsigned event, bool triggeredByUser, CDXUTControl* control, bool playSound) {
  if (m_pCallbackEvent == nullptr) return;
  const int id = control != nullptr ? control->GetID() : 0;
  if (triggeredByUser) {
    if (playSound) PlayGuiEventSound(event, id, control);
    m_pCallbackEvent(event, id, control);
  } else if (m_bNonUserEvents) {
    m_pCallbackEvent(event, id, control);
  }
}

void CDXUTDialog::Refresh() {
  if (s_pControlFocus != nullptr) s_pControlFocus->OnFocusOut();
  if (m_pControlMouseOver != nullptr) m_pControlMouseOver->OnMouseLeave();
  s_pControlFocus = nullptr;
  s_pControlPressed = nullptr;
  m_pControlMouseOver = nullptr;
  g_HintText.SetControl(nullptr);
  for (CDXUTControl* control : m_Controls) control->Refresh();
  if (m_bKeyboardInput) FocusDefaultControl();
}

// --- messages -------------------------------------------------------------

bool CDXUTDialog::MsgProc(const plat::Message& message) {
  const unsigned msg = message.msg;
  // 1. Panel dragging by a draggable control under the mouse.
  if (m_pControlMouseOver != nullptr && m_pControlMouseOver->m_pDialog == this &&
      m_pControlMouseOver->m_bDraggable) {
    const int x = plat::MouseX(message.lParam);
    const int y = plat::MouseY(message.lParam);
    DXUTPanelDrag& drag = g_PanelDrag;
    if (msg == plat::kWmLButtonDown) {
      if (drag.startX == 0) {
        drag.startX = x;
        drag.startY = y;
      }
    } else if (msg == plat::kWmLButtonUp) {
      const bool wasDragging = drag.dragging;
      drag.startX = 0;
      drag.dragging = false;
      if (wasDragging) return true;
    } else if (msg == plat::kWmMouseMove && drag.startX != 0) {
      const int dx = (x - drag.startX) / kDragStep * kDragStep;
      const int dy = (y - drag.startY) / kDragStep * kDragStep;
      if (drag.dragging || dx > kDragStep || dx < -kDragStep || dy > kDragStep || dy < -kDragStep) {
        drag.dragging = true;
        m_pControlMouseOver->MoveBy(dx, dy);
        drag.startX += dx;
        drag.startY += dy;
        return true;
      }
    }
  }

  if (!m_bVisible) return false;

  // 3. Caption bar: minimizes on a click.
  if (m_bCaption) {
    const int x = plat::MouseX(message.lParam);
    const int y = plat::MouseY(message.lParam);
    const bool inside = x >= m_x && x < m_x + m_width && y >= m_y && y < m_y + m_nCaptionHeight;
    if ((msg == plat::kWmLButtonDown || msg == plat::kWmLButtonDblClk) && inside) {
      s_bCaptionDrag = true;
      plat::GetInputState().SetCapture(true);
      return true;
    }
    if (msg == plat::kWmLButtonUp && s_bCaptionDrag && inside) {
      plat::GetInputState().SetCapture(false);
      SetMinimized(!m_bMinimized);
      s_bCaptionDrag = false;
      return true;
    }
  }

  if (m_bMinimized) return false;

  CDXUTControl* focus = s_pControlFocus;
  const bool ownFocus = focus != nullptr && focus->m_pDialog == this && focus->GetEnabled();
  if (ownFocus && focus->MsgProc(message)) return true;

  switch (msg) {
    case plat::kWmActivateApp:
      if (ownFocus) {
        if (message.wParam != 0) focus->OnFocusIn();
        else focus->OnFocusOut();
      }
      return false;

    case plat::kWmKeyDown:
    case plat::kWmKeyUp:
    case plat::kWmSysKeyDown:
    case plat::kWmSysKeyUp: {
      if (!m_bKeyboardInput) return false;
      if (ownFocus && focus->HandleKeyboard(message)) return true;
      if (msg == plat::kWmKeyUp) {
        // Hotkeys fire on release, never while text is being typed.
        if (IsEditType(s_pControlFocus)) return false;
        for (CDXUTControl* control : m_Controls) {
          if (control->GetVisible() && control->GetEnabled() && control->GetHotkey() == message.wParam) {
            control->OnHotkey();
            return true;
          }
        }
        return false;
      }
      if (msg == plat::kWmKeyDown) {
        switch (message.wParam) {
          case plat::kVkTab:
            if (s_pControlFocus != nullptr) {
              OnCycleFocus(!plat::GetInputState().IsKeyDown(plat::kVkShift));
            } else {
              FocusDefaultControl();
            }
            return true;
          case plat::kVkLeft:
          case plat::kVkUp:
            if (s_pControlFocus == nullptr) return false;
            OnCycleFocus(false);
            return true;
          case plat::kVkRight:
          case plat::kVkDown:
            if (s_pControlFocus == nullptr) return false;
            OnCycleFocus(true);
            return true;
          default:
            return false;
        }
      }
      return false;
    }

    default:
      break;
  }

  if (msg >= plat::kWmMouseMove && msg <= 0x020D) {
    if (!m_bMouseInput) return false;
    POINT pt{plat::MouseX(message.lParam) - m_x, plat::MouseY(message.lParam) - m_y};
    if (m_bCaption) pt.y -= m_nCaptionHeight;
    if (ownFocus && focus->HandleMouse(message, pt)) return true;
    CDXUTControl* control = GetControlAtPoint(pt);
    if (control != nullptr && control->GetEnabled()) {
      if (control->HandleMouse(message, pt)) return true;
      if (msg == plat::kWmMouseMove) OnMouseMove(pt);
      return false;
    }
    if (msg == plat::kWmLButtonDown && s_pControlFocus != nullptr && s_pControlFocus->m_pDialog == this) {
      s_pControlFocus->OnFocusOut();
      s_pControlFocus = nullptr;
    }
    if (msg == plat::kWmMouseMove) OnMouseMove(pt);
    return false;
  }
  return false;
}

void CDXUTDialog::ForgetMouseOver() {
  if (m_pControlMouseOver == nullptr) return;
  m_pControlMouseOver->OnMouseLeave();
  ClearHintIfShown(m_pControlMouseOver);
  m_pControlMouseOver = nullptr;
}

bool CDXUTDialog::CoversPoint(int x, int y) const {
  if (!m_bVisible || m_bMinimized) return false;
  const POINT pt{x - m_x, y - m_y - (m_bCaption ? m_nCaptionHeight : 0)};
  return std::any_of(m_Controls.begin(), m_Controls.end(), [&pt](const CDXUTControl* control) {
    return control->GetVisible() && InRect(control->GetBoundingBox(), pt);
  });
}

void CDXUTDialog::OnMouseMove(POINT pt) {
  if (g_PanelDrag.dragging) return;
  CDXUTControl* control = GetHoveredControlAtPoint(pt);
  if (control == m_pControlMouseOver) return;
  if (m_pControlMouseOver != nullptr) {
    m_pControlMouseOver->OnMouseLeave();
    // Only its own hint: the panels see the same move in turn, and the one
    // the mouse has entered may have set its hint already.
    ClearHintIfShown(m_pControlMouseOver);
  }
  m_pControlMouseOver = control;
  if (control != nullptr) {
    control->OnMouseEnter();
    g_HintText.SetControl(control);
  }
}

// --- default elements, fonts, textures ------------------------------------

HRESULT CDXUTDialog::SetDefaultElement(unsigned controlType, unsigned index, const CDXUTElement* element) {
  if (element == nullptr) return E_INVALIDARG;
  for (auto& holder : m_DefaultElements) {
    if (holder->nControlType == controlType && holder->iElement == index) {
      holder->Element = *element;
      return S_OK;
    }
  }
  auto holder = std::unique_ptr<DXUTElementHolder>(new (std::nothrow) DXUTElementHolder);
  if (!holder) return E_OUTOFMEMORY;
  holder->nControlType = controlType;
  holder->iElement = index;
  holder->Element = *element;
  m_DefaultElements.push_back(std::move(holder));
  return S_OK;
}

CDXUTElement* CDXUTDialog::GetDefaultElement(unsigned controlType, unsigned index) {
  for (auto& holder : m_DefaultElements) {
    if (holder->nControlType == controlType && holder->iElement == index) return &holder->Element;
  }
  return nullptr;
}

HRESULT CDXUTDialog::SetFont(unsigned slot, const std::wstring& face, int height, int weight) {
  if (m_Fonts.size() <= slot) m_Fonts.resize(slot + 1, -1);
  m_Fonts[slot] = GetGlobalDialogResourceManager().AddFont(face, height, weight);
  return S_OK;
}

HRESULT CDXUTDialog::SetTexture(unsigned slot, const std::wstring& fileName) {
  if (m_Textures.size() <= slot) m_Textures.resize(slot + 1, -1);
  m_Textures[slot] = GetGlobalDialogResourceManager().AddTexture(fileName);
  return S_OK;
}

int CDXUTDialog::GetFontIndex(unsigned slot) const { return slot < m_Fonts.size() ? m_Fonts[slot] : -1; }
int CDXUTDialog::GetTextureIndex(unsigned slot) const {
  return slot < m_Textures.size() ? m_Textures[slot] : -1;
}

plat::Font* CDXUTDialog::GetFont(unsigned slot) const {
  DXUTFontNode* node = GetGlobalDialogResourceManager().GetFontNode(GetFontIndex(slot));
  return node != nullptr ? node->pFont.get() : nullptr;
}

plat::Texture* CDXUTDialog::GetTexture(unsigned slot) const {
  DXUTTextureNode* node = GetGlobalDialogResourceManager().GetTextureNode(GetTextureIndex(slot));
  return node != nullptr ? node->pTexture.get() : nullptr;
}
