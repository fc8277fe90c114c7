// The Add operations of the dialog: make a control, register it, append it,
// then place it (an explicit rectangle or the layout entry of its id).
#include <new>

#include "gui/dxut_checkbox.h"
#include "gui/dxut_combobox.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_scrollbar.h"

namespace {

template <typename T>
HRESULT Make(CDXUTDialog& dialog, T** created, T*& control) {
  control = new (std::nothrow) T(&dialog);
  if (created != nullptr) *created = control;
  return control != nullptr ? S_OK : E_OUTOFMEMORY;
}

void Place(CDXUTControl& control, int id, int x, int y, int width, int height) {
  control.SetID(id);
  control.SetLocation(x, y);
  control.SetSize(width, height);
}

void PlaceFromLayout(CDXUTControl& control, int id) {
  const plat::RectI r = DXUTLayoutRect(id);  // {x, y, width, height}
  Place(control, id, r.left, r.top, r.right, r.bottom);
}

}  // namespace

// Registers and appends; on failure the control is freed and the out-pointer
// cleared, so the caller never holds a control the dialog does not own.
#define DXUT_REGISTER(control, created)                 \
  do {                                                  \
    HRESULT hr_ = InitControl(control);                 \
    if (SUCCEEDED(hr_)) hr_ = AppendControl(control);   \
    if (FAILED(hr_)) {                                  \
      delete control;                                   \
      if ((created) != nullptr) *(created) = nullptr;   \
      return hr_;                                       \
    }                                                   \
  } while (false)

HRESULT CDXUTDialog::AddStatic(int id, const wchar_t* text, int x, int y, int width, int height, bool isDefault,
                               CDXUTStatic** created) {
  CDXUTStatic* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  Place(*c, id, x, y, width, height);
  c->SetText(text);
  c->m_bIsDefault = isDefault;
  c->SetEnabled(false);
  return S_OK;
}

HRESULT CDXUTDialog::AddStaticFromLayout(int id, const wchar_t* text, CDXUTStatic** created) {
  const plat::RectI r = DXUTLayoutRect(id);
  return AddStatic(id, text, r.left, r.top, r.right, r.bottom, false, created);
}

HRESULT CDXUTDialog::AddButton(int id, const wchar_t* text, int x, int y, int width, int height, unsigned hotkey,
                               bool isDefault, CDXUTButton** created) {
  CDXUTButton* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  Place(*c, id, x, y, width, height);
  c->SetText(text);
  c->SetHotkey(hotkey);
  c->m_bIsDefault = isDefault;
  return S_OK;
}

HRESULT CDXUTDialog::AddButtonFromLayout(int id, const wchar_t* text, const wchar_t* hint, unsigned hotkey,
                                         CDXUTButton** created) {
  CDXUTButton* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  c->SetText(text);
  c->SetHint(hint);
  PlaceFromLayout(*c, id);
  c->SetHotkey(hotkey);
  return S_OK;
}

HRESULT CDXUTDialog::AddIcon(int id, int srcLeft, int srcTop, int srcRight, int srcBottom, int x, int y,
                             int width, int height, unsigned hotkey, bool isDefault, CDXUTIcon** created) {
  CDXUTIcon* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  Place(*c, id, x, y, width, height);
  const int h = srcBottom - srcTop;
  for (int i = 0; i < 3; ++i) c->m_rcSource[i] = {srcLeft, srcTop + i * h, srcRight, srcBottom + i * h};
  c->SetHotkey(hotkey);
  c->m_bIsDefault = isDefault;
  return S_OK;
}

HRESULT CDXUTDialog::AddImage(int id, const plat::Texture* texture, int srcLeft, int srcTop, int srcRight,
                              int srcBottom, int x, int y, int width, int height, unsigned hotkey, bool isDefault,
                              CDXUTImage** created) {
  CDXUTImage* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  Place(*c, id, x, y, width, height);
  c->m_pTexture = texture;
  c->m_rcSource = {srcLeft, srcTop, srcRight, srcBottom};
  c->m_Color = 0xFFFFFFFF;
  c->SetHotkey(hotkey);
  c->m_bIsDefault = isDefault;
  c->SetEnabled(false);
  return S_OK;
}

HRESULT CDXUTDialog::AddImageFromLayout(int id, const plat::Texture* texture, int srcLeft, int srcTop,
                                        int srcRight, int srcBottom, const wchar_t* hint, std::uint32_t color,
                                        CDXUTImage** created) {
  const plat::RectI r = DXUTLayoutRect(id);
  CDXUTImage* c = nullptr;
  const HRESULT hr = AddImage(id, texture, srcLeft, srcTop, srcRight, srcBottom, r.left, r.top, r.right, r.bottom,
                              0, false, &c);
  if (created != nullptr) *created = c;
  if (FAILED(hr)) return hr;
  c->SetHint(hint);
  c->m_Color = color;
  return S_OK;
}

HRESULT CDXUTDialog::AddCheckBox(int id, const wchar_t* text, int x, int y, int width, int height, bool checked,
                                 unsigned hotkey, bool isDefault, CDXUTCheckBox** created) {
  CDXUTCheckBox* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  Place(*c, id, x, y, width, height);
  c->SetText(text);
  c->SetHotkey(hotkey);
  c->m_bIsDefault = isDefault;
  c->SetCheckedInternal(checked, false, true);
  return S_OK;
}

HRESULT CDXUTDialog::AddCheckBoxFromLayout(int id, const wchar_t* text, const wchar_t* hint, bool checked,
                                           CDXUTCheckBox** created) {
  CDXUTCheckBox* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  c->SetText(text);
  c->SetHint(hint);
  PlaceFromLayout(*c, id);
  c->SetCheckedInternal(checked, false, true);
  return S_OK;
}

HRESULT CDXUTDialog::AddRadioButton(int id, unsigned group, const wchar_t* text, int x, int y, int width,
                                    int height, bool checked, unsigned hotkey, bool isDefault,
                                    CDXUTRadioButton** created) {
  CDXUTRadioButton* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  c->SetButtonGroup(group);
  Place(*c, id, x, y, width, height);
  c->SetText(text);
  c->SetHotkey(hotkey);
  c->m_bIsDefault = isDefault;
  c->SetCheckedInternal(checked, true, false, true);
  return S_OK;
}

HRESULT CDXUTDialog::AddRadioButtonFromLayout(int id, unsigned group, const wchar_t* text, const wchar_t* hint,
                                              bool checked, CDXUTRadioButton** created) {
  CDXUTRadioButton* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  c->SetButtonGroup(group);
  c->SetText(text);
  PlaceFromLayout(*c, id);
  c->SetHint(hint);
  c->SetCheckedInternal(checked, true, false, true);
  return S_OK;
}

HRESULT CDXUTDialog::AddFrame(int id, int x, int y, int width, int height, int style, CDXUTFrame** created) {
  CDXUTFrame* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  c->m_Style = style;
  Place(*c, id, x, y, width, height);
  return S_OK;
}

HRESULT CDXUTDialog::AddTabFrameFromLayout(int id, CDXUTTabFrame** created) {
  CDXUTTabFrame* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  PlaceFromLayout(*c, id);
  return S_OK;
}

HRESULT CDXUTDialog::AddProgressBarFromLayout(int id, int minimum, int maximum, int value,
                                              CDXUTProgressBar** created) {
  CDXUTProgressBar* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  PlaceFromLayout(*c, id);
  c->SetRange(minimum, maximum);
  c->SetValue(value);
  return S_OK;
}

// --- text fields ------------------------------------------------------------

HRESULT CDXUTDialog::AddEditBox(int id, const wchar_t* text, int x, int y, int width, int height, bool isDefault,
                                CDXUTEditBox** created) {
  CDXUTEditBox* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  Place(*c, id, x, y, width, height);
  c->m_bIsDefault = isDefault;
  if (text != nullptr) c->SetText(text);
  return S_OK;
}

HRESULT CDXUTDialog::AddEditBoxFromLayout(int id, const wchar_t* text, const wchar_t* hint,
                                          CDXUTEditBox** created) {
  const plat::RectI r = DXUTLayoutRect(id);
  CDXUTEditBox* c = nullptr;
  const HRESULT hr = AddEditBox(id, text, r.left, r.top, r.right, r.bottom, false, &c);
  if (created != nullptr) *created = c;
  if (FAILED(hr)) return hr;
  c->SetHint(hint);
  return S_OK;
}

HRESULT CDXUTDialog::AddMemo(int id, const wchar_t* text, int x, int y, int width, int height, bool isDefault,
                             CDXUTMemo** created) {
  CDXUTMemo* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  Place(*c, id, x, y, width, height);
  c->m_bIsDefault = isDefault;
  if (text != nullptr) c->SetText(text);
  return S_OK;
}

HRESULT CDXUTDialog::AddMemoFromLayout(int id, const wchar_t* text, CDXUTMemo** created) {
  const plat::RectI r = DXUTLayoutRect(id);
  return AddMemo(id, text, r.left, r.top, r.right, r.bottom, false, created);
}

// --- choice controls --------------------------------------------------------

HRESULT CDXUTDialog::AddComboBox(int id, int x, int y, int width, int height, unsigned hotkey, bool isDefault,
                                 CDXUTComboBox** created) {
  CDXUTComboBox* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  Place(*c, id, x, y, width, height);
  c->SetHotkey(hotkey);
  c->m_bIsDefault = isDefault;
  return S_OK;
}

HRESULT CDXUTDialog::AddComboBoxFromLayout(int id, const wchar_t* hint, CDXUTComboBox** created) {
  const plat::RectI r = DXUTLayoutRect(id);
  CDXUTComboBox* c = nullptr;
  const HRESULT hr = AddComboBox(id, r.left, r.top, r.right, r.bottom, 0, false, &c);
  if (created != nullptr) *created = c;
  if (FAILED(hr)) return hr;
  c->SetHint(hint);
  return S_OK;
}

HRESULT CDXUTDialog::AddSlider(int id, int x, int y, int width, int height, int minimum, int maximum, int value,
                               bool isDefault, CDXUTSlider** created) {
  CDXUTSlider* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  Place(*c, id, x, y, width, height);
  c->m_bIsDefault = isDefault;
  c->SetRange(minimum, maximum);
  c->SetValueInternal(value, false, true);
  return S_OK;
}

HRESULT CDXUTDialog::AddSliderFromLayout(int id, int minimum, int maximum, int value, CDXUTSlider** created) {
  const plat::RectI r = DXUTLayoutRect(id);
  return AddSlider(id, r.left, r.top, r.right, r.bottom, minimum, maximum, value, false, created);
}

HRESULT CDXUTDialog::AddListBoxFromLayout(int id, std::uint32_t style, CDXUTListBox** created) {
  CDXUTListBox* c = nullptr;
  if (HRESULT hr = Make(*this, created, c); FAILED(hr)) return hr;
  DXUT_REGISTER(c, created);
  PlaceFromLayout(*c, id);
  c->SetStyle(style);
  return S_OK;
}
