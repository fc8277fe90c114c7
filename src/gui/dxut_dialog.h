// The container of GUI controls that menus, pop-up dialogs and map-screen
// panels embed: it owns its controls, routes window messages to them
// (focus, mouse-over, capture, hotkeys, panel dragging), sends their events
// to one callback and draws itself with them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/dxut_control.h"
#include "gui/dxut_element.h"
#include "platform/messages.h"
#include "platform/render.h"

class CDXUTStatic;
class CDXUTButton;
class CDXUTIcon;
class CDXUTImage;
class CDXUTCheckBox;
class CDXUTRadioButton;
class CDXUTFrame;
class CDXUTTabFrame;
class CDXUTProgressBar;
class CDXUTComboBox;
class CDXUTSlider;
class CDXUTListBox;
class CDXUTEditBox;
class CDXUTMemo;

// Receives the events the controls of a dialog raise (button clicked, ...).
using PCALLBACKDXUTGUIEVENT = void (*)(unsigned event, int controlId, CDXUTControl* control);

struct DXUTElementHolder {
  unsigned nControlType = 0;
  unsigned iElement = 0;
  CDXUTElement Element;
};

// The panel drag shared by all dialogs. A start x of 0 means no drag is
// pending.
struct DXUTPanelDrag {
  int startX = 0;
  int startY = 0;
  bool dragging = false;
};

// The layout entry of a control id as {x, y, width, height}; an id outside
// the table gives an empty rectangle and a log line.
plat::RectI DXUTLayoutRect(int id);

class CDXUTDialog {
 public:
  CDXUTDialog();
  virtual ~CDXUTDialog();
  CDXUTDialog(const CDXUTDialog&) = delete;
  CDXUTDialog& operator=(const CDXUTDialog&) = delete;

  // Messages; true when consumed.
  virtual bool MsgProc(const plat::Message& message);
  void OnMouseMove(POINT pt);
  void OnCycleFocus(bool forward);

  // Control factories (explicit rectangle, or the layout entry of the id).
  HRESULT AddStatic(int id, const wchar_t* text, int x, int y, int width, int height, bool isDefault = false,
                    CDXUTStatic** created = nullptr);
  HRESULT AddStaticFromLayout(int id, const wchar_t* text, CDXUTStatic** created = nullptr);
  HRESULT AddButton(int id, const wchar_t* text, int x, int y, int width, int height, unsigned hotkey = 0,
                    bool isDefault = false, CDXUTButton** created = nullptr);
  HRESULT AddButtonFromLayout(int id, const wchar_t* text, const wchar_t* hint, unsigned hotkey = 0,
                              CDXUTButton** created = nullptr);
  HRESULT AddIcon(int id, int srcLeft, int srcTop, int srcRight, int srcBottom, int x, int y, int width,
                  int height, unsigned hotkey = 0, bool isDefault = false, CDXUTIcon** created = nullptr);
  HRESULT AddImage(int id, const plat::Texture* texture, int srcLeft, int srcTop, int srcRight, int srcBottom,
                   int x, int y, int width, int height, unsigned hotkey = 0, bool isDefault = false,
                   CDXUTImage** created = nullptr);
  HRESULT AddImageFromLayout(int id, const plat::Texture* texture, int srcLeft, int srcTop, int srcRight,
                             int srcBottom, const wchar_t* hint, std::uint32_t color,
                             CDXUTImage** created = nullptr);
  HRESULT AddCheckBox(int id, const wchar_t* text, int x, int y, int width, int height, bool checked = false,
                      unsigned hotkey = 0, bool isDefault = false, CDXUTCheckBox** created = nullptr);
  HRESULT AddCheckBoxFromLayout(int id, const wchar_t* text, const wchar_t* hint, bool checked,
                                CDXUTCheckBox** created = nullptr);
  HRESULT AddRadioButton(int id, unsigned group, const wchar_t* text, int x, int y, int width, int height,
                         bool checked = false, unsigned hotkey = 0, bool isDefault = false,
                         CDXUTRadioButton** created = nullptr);
  HRESULT AddRadioButtonFromLayout(int id, unsigned group, const wchar_t* text, const wchar_t* hint,
                                   bool checked, CDXUTRadioButton** created = nullptr);
  HRESULT AddFrame(int id, int x, int y, int width, int height, int style, CDXUTFrame** created = nullptr);
  HRESULT AddTabFrameFromLayout(int id, CDXUTTabFrame** created = nullptr);
  HRESULT AddProgressBarFromLayout(int id, int minimum, int maximum, int value,
                                   CDXUTProgressBar** created = nullptr);
  // Text fields.
  HRESULT AddEditBox(int id, const wchar_t* text, int x, int y, int width, int height, bool isDefault = false,
                     CDXUTEditBox** created = nullptr);
  HRESULT AddEditBoxFromLayout(int id, const wchar_t* text, const wchar_t* hint, CDXUTEditBox** created = nullptr);
  HRESULT AddMemo(int id, const wchar_t* text, int x, int y, int width, int height, bool isDefault = false,
                  CDXUTMemo** created = nullptr);
  HRESULT AddMemoFromLayout(int id, const wchar_t* text, CDXUTMemo** created = nullptr);
  // Choice controls.
  HRESULT AddComboBox(int id, int x, int y, int width, int height, unsigned hotkey = 0, bool isDefault = false,
                      CDXUTComboBox** created = nullptr);
  HRESULT AddComboBoxFromLayout(int id, const wchar_t* hint, CDXUTComboBox** created = nullptr);
  HRESULT AddSlider(int id, int x, int y, int width, int height, int minimum = 0, int maximum = 100,
                    int value = 50, bool isDefault = false, CDXUTSlider** created = nullptr);
  HRESULT AddSliderFromLayout(int id, int minimum, int maximum, int value, CDXUTSlider** created = nullptr);
  HRESULT AddListBoxFromLayout(int id, std::uint32_t style, CDXUTListBox** created = nullptr);
  // Registers and appends a control made elsewhere; returns it (null on failure).
  CDXUTControl* AddControl(std::unique_ptr<CDXUTControl> control);

  HRESULT InitControl(CDXUTControl* control);

  CDXUTControl* GetControl(int id) const;
  CDXUTControl* GetControl(int id, unsigned type) const;
  CDXUTControl* GetControlAtPoint(POINT pt) const;
  // The control the mouse is over at pt, whose hint shows: the control at
  // the point, or a disabled one that has a hint (the reason it is not
  // available), whichever was added last.
  CDXUTControl* GetHoveredControlAtPoint(POINT pt) const;
  int GetControlCount() const { return static_cast<int>(m_Controls.size()); }
  CDXUTControl* GetControlByIndex(int index) const;
  bool GetControlEnabled(int id) const;
  void SetControlEnabled(int id, bool enabled);

  void ClearRadioButtonGroup(unsigned group, bool sendEvent);
  void RemoveControl(int id);
  void RemoveAllControls();

  void SetCallback(PCALLBACKDXUTGUIEVENT callback) { m_pCallbackEvent = callback; }
  PCALLBACKDXUTGUIEVENT GetCallback() const { return m_pCallbackEvent; }
  void EnableNonUserEvents(bool enable) { m_bNonUserEvents = enable; }
  void EnableKeyboardInput(bool enable) { m_bKeyboardInput = enable; }
  bool GetKeyboardInput() const { return m_bKeyboardInput; }
  void EnableMouseInput(bool enable);
  bool GetMouseInput() const { return m_bMouseInput; }

  void SetVisible(bool visible);
  bool GetVisible() const { return m_bVisible; }
  void SetMinimized(bool minimized);
  bool GetMinimized() const { return m_bMinimized; }
  void EnableCaption(bool enable) { m_bCaption = enable; }
  void SetCaptionText(const wchar_t* text);
  void SetBackgroundColors(std::uint32_t topLeft, std::uint32_t topRight, std::uint32_t bottomLeft,
                           std::uint32_t bottomRight);
  void SetLocation(int x, int y) { m_x = x; m_y = y; }
  void SetSize(int width, int height) { m_width = width; m_height = height; }
  int GetX() const { return m_x; }
  int GetY() const { return m_y; }
  CDXUTControl* GetMouseOverControl() const { return m_pControlMouseOver; }
  // The mouse has left the dialog: its mouse-over control is told so and
  // its hint goes.
  void ForgetMouseOver();
  // Whether the screen point lies on one of the dialog's visible controls
  // (a dialog on a frame: inside the frame) while the dialog is shown.
  bool CoversPoint(int x, int y) const;

  // Default elements.
  HRESULT SetDefaultElement(unsigned controlType, unsigned index, const CDXUTElement* element);
  // The dialog's element of the control type at index, or null.
  CDXUTElement* GetDefaultElement(unsigned controlType, unsigned index);

  // Fonts and textures: slots holding resource-manager indices.
  HRESULT SetFont(unsigned slot, const std::wstring& face, int height, int weight);
  HRESULT SetTexture(unsigned slot, const std::wstring& fileName);
  int GetFontIndex(unsigned slot) const;
  int GetTextureIndex(unsigned slot) const;
  plat::Font* GetFont(unsigned slot) const;
  plat::Texture* GetTexture(unsigned slot) const;

  // Drawing, in dialog coordinates.
  HRESULT DrawRect(const plat::RectI& rect, std::uint32_t color);
  HRESULT DrawSprite(CDXUTElement* element, const plat::RectI& rect, float depth);
  HRESULT DrawSpriteTexture(const plat::Texture* texture, const plat::RectI& source, const plat::RectI& rect,
                            float depth, std::uint32_t color);
  HRESULT DrawText(const wchar_t* text, CDXUTElement* element, const plat::RectI& rect, bool shadow = false,
                   int count = -1);
  HRESULT CalcTextRect(const wchar_t* text, CDXUTElement* element, plat::RectI& rect, int count = -1);
  // Limits the draws that follow (sprites and text) to rect, in dialog
  // coordinates; null lifts the limit. Only inside the open sprite batch
  // (OnRender); the batch's End lifts it as well.
  void SetClipRect(const plat::RectI* rect);
  HRESULT OnRender(float elapsed);

  void SendEvent(unsigned event, bool triggeredByUser, CDXUTControl* control, bool playSound = true);
  void Refresh();
  void FocusDefaultControl();

  static void RequestFocus(CDXUTControl* control);
  static void ClearFocus();
  static CDXUTControl* GetFocusControl() { return s_pControlFocus; }
  static CDXUTControl* GetPressedControl() { return s_pControlPressed; }
  static void SetPressedControl(CDXUTControl* control) { s_pControlPressed = control; }
  static CDXUTControl* GetNextControl(CDXUTControl* control);
  static CDXUTControl* GetPrevControl(CDXUTControl* control);
  // Ends any panel drag in progress.
  static void ResetDrag();
  static DXUTPanelDrag& PanelDrag();

 private:
  void InitDefaultElements();
  HRESULT AppendControl(CDXUTControl* control);
  // Screen placement of a dialog rectangle.
  plat::RectI ToScreen(const plat::RectI& rect) const;
  void DrawBackground();
  void ClearHintIfShown(CDXUTControl* control);

  static CDXUTControl* s_pControlFocus;
  static CDXUTControl* s_pControlPressed;
  static bool s_bCaptionDrag;
  static double s_fTimeRefresh;

  bool m_bNonUserEvents = false;
  bool m_bKeyboardInput = true;
  bool m_bMouseInput = true;
  bool m_bVisible = true;
  int m_nDefaultControlID = 0xFFFF;
  double m_fTimeLastRefresh = 0;
  CDXUTControl* m_pControlMouseOver = nullptr;
  bool m_bCaption = false;
  bool m_bMinimized = false;
  std::wstring m_wszCaption;
  int m_x = 0, m_y = 0, m_width = 0, m_height = 0;
  int m_nCaptionHeight = 18;
  std::uint32_t m_colorTopLeft = 0, m_colorTopRight = 0, m_colorBottomLeft = 0, m_colorBottomRight = 0;
  PCALLBACKDXUTGUIEVENT m_pCallbackEvent = nullptr;
  std::vector<int> m_Textures;
  std::vector<int> m_Fonts;
  std::vector<CDXUTControl*> m_Controls;  // owned
  std::vector<std::unique_ptr<DXUTElementHolder>> m_DefaultElements;
  CDXUTElement m_CapElement;
  CDXUTDialog* m_pNextDialog;
  CDXUTDialog* m_pPrevDialog;
};
