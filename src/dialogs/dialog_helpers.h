#pragma once
// What the dialogs' source files share: their texts from the language base,
// their places in the layout, the formats of centred labels, the size of a
// flag, the message line and the read-only values with their labels.

#include <string>

#include "app/gui_layout.h"
#include "app/string_base.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_static.h"

constexpr unsigned kFormatCentred = 5;  // DT_CENTER | DT_VCENTER
constexpr unsigned kVCentred = 4;       // DT_VCENTER
constexpr int kFlagWidth = 128;
constexpr int kFlagHeight = 85;
// The message dialog's layout entry.
constexpr int kMessageLayoutEntry = 684;

inline const wchar_t* Text(const char* key) { return g_StringBase.GetText(key); }
// A layout entry; an empty rectangle for an id outside the table.
inline const sLayoutRect& Layout(int id) {
  static const sLayoutRect kNone{};
  return id >= 0 && id < kLayoutEntries ? g_GuiLayout[id] : kNone;
}

inline void SetValue(CDXUTDialog& dialog, int id, const std::wstring& text) {
  if (auto* edit = dynamic_cast<CDXUTEditBox*>(dialog.GetControl(id))) edit->SetText(text.c_str());
}

// A label and the read-only edit box of its value, with the box's hint.
inline void AddValue(CDXUTDialog& dialog, int labelId, const char* labelKey, int editId, const char* hintKey) {
  CDXUTStatic* label = nullptr;
  if (SUCCEEDED(dialog.AddStaticFromLayout(labelId, Text(labelKey), &label)) && label != nullptr) {
    label->SetTextFormat(kVCentred);
  }
  CDXUTEditBox* edit = nullptr;
  if (SUCCEEDED(dialog.AddEditBoxFromLayout(editId, L"-", Text(hintKey), &edit)) && edit != nullptr) {
    edit->m_dwDisabledTextFormat = kFormatCentred;
    edit->SetEnabled(false);
  }
}
