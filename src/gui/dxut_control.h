// The base of every GUI control: place, flags, display elements, hint text
// and the virtual operations the dialog calls to route input and draw.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/dxut_element.h"
#include "platform/messages.h"
#include "platform/render.h"

class CDXUTDialog;

struct POINT {
  int x = 0, y = 0;
};

class CDXUTControl {
 public:
  explicit CDXUTControl(CDXUTDialog* dialog = nullptr);
  virtual ~CDXUTControl();
  CDXUTControl(const CDXUTControl&) = delete;
  CDXUTControl& operator=(const CDXUTControl&) = delete;

  virtual HRESULT OnInit() { return S_OK; }
  // Clears mouse-over and focus; every element fades in again from hidden.
  virtual void Refresh();
  virtual void Render(float /*elapsed*/) {}

  // Offered first while the control has the focus; true when consumed.
  virtual bool MsgProc(const plat::Message& /*message*/) { return false; }
  virtual bool HandleKeyboard(const plat::Message& /*message*/) { return false; }
  virtual bool HandleMouse(const plat::Message& /*message*/, POINT /*pt*/) { return false; }

  virtual bool CanHaveFocus() { return false; }
  virtual void OnFocusIn() { m_bHasFocus = true; }
  virtual void OnFocusOut() { m_bHasFocus = false; }
  virtual void OnMouseEnter() { m_bMouseOver = true; }
  virtual void OnMouseLeave() { m_bMouseOver = false; }
  virtual void OnHotkey() {}
  virtual bool ContainsPoint(POINT pt);
  virtual void SetEnabled(bool enabled) { m_bEnabled = enabled; }
  virtual bool GetEnabled() const { return m_bEnabled; }
  virtual void SetVisible(bool visible) { m_bVisible = visible; }
  virtual bool GetVisible() const { return m_bVisible; }
  // The normal-state font colour of element 0.
  virtual void SetTextColor(std::uint32_t color);
  virtual void UpdateRects();

  // Moves the control, and through the layout service its group; a refused
  // move is undone. Returns whether it was accepted.
  bool MoveBy(int dx, int dy);

  int GetID() const { return m_ID; }
  void SetID(int id) { m_ID = id; }
  unsigned GetType() const { return m_Type; }
  unsigned GetHotkey() const { return m_nHotkey; }
  void SetHotkey(unsigned hotkey) { m_nHotkey = hotkey; }
  std::int32_t GetUserTag() const { return m_UserTag; }
  void SetUserTag(std::int32_t tag) { m_UserTag = tag; }
  bool GetDraggable() const { return m_bDraggable; }
  void SetDraggable(bool draggable) { m_bDraggable = draggable; }
  bool HasFocus() const { return m_bHasFocus; }

  void SetLocation(int x, int y) { m_x = x; m_y = y; UpdateRects(); }
  void SetSize(int width, int height) { m_width = width; m_height = height; UpdateRects(); }
  int GetX() const { return m_x; }
  int GetY() const { return m_y; }
  int GetWidth() const { return m_width; }
  int GetHeight() const { return m_height; }
  const plat::RectI& GetBoundingBox() const { return m_rcBoundingBox; }

  // Keeps a copy of the text (null: no hint). A hint on show follows it.
  void SetHint(const wchar_t* text);
  const wchar_t* GetHint() const { return m_Hint ? m_Hint->c_str() : nullptr; }

  CDXUTDialog* GetDialog() const { return m_pDialog; }

  HRESULT SetElement(unsigned index, const CDXUTElement* element);
  CDXUTElement* GetElement(unsigned index) {
    return index < m_Elements.size() ? m_Elements[index].get() : nullptr;
  }
  std::size_t GetElementCount() const { return m_Elements.size(); }

  // The visual state: hidden, disabled, pressed, mouse-over, focus, normal.
  unsigned VisualState(bool pressed) const;

  // Public like the fields of the original toolkit: factories and owners
  // set them and call UpdateRects.
  bool m_bVisible = true;
  bool m_bMouseOver = false;
  bool m_bHasFocus = false;
  bool m_bIsDefault = false;
  bool m_bDraggable = false;
  int m_x = 0, m_y = 0, m_width = 0, m_height = 0;
  int m_Style = 0;
  int m_TextElement = 0;
  CDXUTDialog* m_pDialog = nullptr;
  unsigned m_Index = 0;
  plat::RectI m_rcBoundingBox;
  int m_ID = 0;
  unsigned m_Type = DXUT_CONTROL_BUTTON;
  unsigned m_nHotkey = 0;
  void* m_pUserData = nullptr;
  std::int32_t m_UserTag = 0;
  bool m_bEnabled = true;

 protected:
  // Sends a user-input event through the dialog: sound, then callback.
  void SendUserEvent(unsigned event);

 private:
  std::unique_ptr<std::wstring> m_Hint;
  std::vector<std::unique_ptr<CDXUTElement>> m_Elements;
};
