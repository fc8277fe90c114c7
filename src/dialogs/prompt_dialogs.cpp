#include "dialogs/prompt_dialogs.h"

#include <algorithm>

#include "app/settings.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/dialog_stack.h"
#include "app/string_base.h"
#include "gui/dxut_button.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_static.h"
#include "platform/messages.h"
#include "platform/render.h"

std::wstring PromptTextResult;
std::vector<int> PromptListResult;
bool ConfirmAnswer = false;

namespace {

constexpr unsigned kFormatCentredLine = 37;     // DT_CENTER | DT_VCENTER | DT_SINGLELINE
constexpr unsigned kFormatWordBreak = 16;       // DT_WORDBREAK

// A title static: text element 1, centred.
void AddTitle(CDXUTDialog& dialog, int id, const wchar_t* title) {
  CDXUTStatic* label = nullptr;
  dialog.AddStaticFromLayout(id, title, &label);
  if (label == nullptr) return;
  label->m_TextElement = 1;
  label->SetTextFormat(kFormatCentred);
}

bool IsKeyDown(unsigned key, bool keyDown, unsigned wanted) { return keyDown && key == wanted; }

}  // namespace

// ---- Message -----------------------------------------------------------

cDialogTekstowy::cDialogTekstowy(const wchar_t* message, const wchar_t* title, int layoutIndex)
    : cDialog(kFrameId, Layout(layoutIndex).a, Layout(layoutIndex).b, Layout(layoutIndex).c, Layout(layoutIndex).d),
      layout_index_(layoutIndex) {
  if (message == nullptr) message = L"";
  if (title == nullptr) title = L"";
  const sLayoutRect& lk = Layout(layoutIndex);
  const sLayoutRect& l1 = Layout(layoutIndex + 1);
  const sLayoutRect& l3 = Layout(layoutIndex + 3);
  const sLayoutRect& l4 = Layout(layoutIndex + 4);
  frame_ = lk;

  CDXUTStatic* titleLabel = nullptr;
  dialog_.AddStatic(layoutIndex + 1, title, 0, 0, 0, 0, false, &titleLabel);
  CDXUTStatic* textLabel = nullptr;
  dialog_.AddStatic(layoutIndex + 3, message, 0, 0, 0, 0, false, &textLabel);
  if (titleLabel != nullptr) {
    titleLabel->m_TextElement = 1;
    titleLabel->SetTextFormat(kFormatCentredLine);
  }
  if (textLabel != nullptr) textLabel->SetTextFormat(kFormatWordBreak);

  // A title wider than the frame widens it by the same amount on each side.
  int titleWidth = 0;
  if (titleLabel != nullptr) {
    if (CDXUTElement* element = titleLabel->GetElement(static_cast<unsigned>(titleLabel->m_TextElement))) {
      element->dwTextFormat = kFormatCentredLine | plat::kTextSingleLine;
      plat::RectI r{0, 0, 0, l1.d};
      if (SUCCEEDED(dialog_.CalcTextRect(title, element, r))) titleWidth = r.Width();
      element->dwTextFormat = kFormatCentredLine;
    }
  }
  if (titleWidth + l1.c + l1.a > frame_.c) {
    const int d = (titleWidth - frame_.c + l1.c + l1.a) / 2;
    frame_.a -= d;
    frame_.c += 2 * d;
  }

  // The message wraps within the frame; its height sets the frame's.
  const int textWidth = frame_.c - l3.c - l3.a;
  int textHeight = 0;
  if (textLabel != nullptr) {
    if (CDXUTElement* element = textLabel->GetElement(static_cast<unsigned>(textLabel->m_TextElement))) {
      element->dwTextFormat = kFormatWordBreak;
      plat::RectI r{0, 0, std::max(textWidth, 0), 0};
      if (SUCCEEDED(dialog_.CalcTextRect(message, element, r))) textHeight = std::max(r.Height(), 0);
    }
  }

  title_ = {frame_.a + l1.a, frame_.b + l1.b, frame_.c - l1.c - l1.a, l1.d};
  text_ = {frame_.a + l3.a, title_.b + l3.b + l1.d, textWidth, textHeight};
  frame_.d = l1.b + l1.d + l3.b + textHeight + l3.d + l4.b + l4.d;

  if (titleLabel != nullptr) {
    titleLabel->SetLocation(title_.a, title_.b);
    titleLabel->SetSize(title_.c, title_.d);
  }
  if (textLabel != nullptr) {
    textLabel->SetLocation(text_.a, text_.b);
    textLabel->SetSize(text_.c, text_.d);
  }

  // The frame takes its final size (it stays first, under the texts) and
  // cannot be dragged.
  if (CDXUTControl* frame = dialog_.GetControl(kFrameId)) {
    frame->SetLocation(frame_.a, frame_.b);
    frame->SetSize(frame_.c, frame_.d);
    frame->SetDraggable(false);
  }

  // The button's x is a screen position, not relative to the frame.
  dialog_.AddButton(OkId(), Text("info_dialog_ok"), l4.a, text_.b + textHeight + l3.d, l4.c, l4.d);
  if (CDXUTControl* ok = dialog_.GetControl(OkId())) ok->SetHint(Text("info_dialog_ok_hint"));
}

void cDialogTekstowy::OnGUIEvent(unsigned event, int controlId, CDXUTControl*) {
  if (event == EVENT_BUTTON_CLICKED && controlId == OkId()) PopDialogs(1);
}

void cDialogTekstowy::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (IsKeyDown(key, keyDown, plat::kVkReturn) || IsKeyDown(key, keyDown, plat::kVkEscape)) ClickButton(OkId());
}

// ---- Text input --------------------------------------------------------

cDialogPobraniaTekstu::cDialogPobraniaTekstu(const wchar_t* title, const wchar_t* prompt,
                                             const wchar_t* initialText)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d) {
  PromptTextResult = initialText != nullptr ? initialText : L"";
  AddTitle(dialog_, 695, title != nullptr ? title : L"");
  dialog_.AddStaticFromLayout(697, prompt != nullptr ? prompt : L"");
  dialog_.AddEditBoxFromLayout(kEditId, PromptTextResult.c_str(), nullptr, &edit_);
  dialog_.AddButtonFromLayout(kOkId, Text("get_text_dialog_ok"), Text("get_text_dialog_ok_hint"));
  dialog_.AddButtonFromLayout(kCancelId, Text("get_text_dialog_cancel"), Text("get_text_dialog_cancel_hint"));
  if (edit_ != nullptr) CDXUTDialog::RequestFocus(edit_);
}

void cDialogPobraniaTekstu::OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) {
  // The focused edit box takes the Enter key and reports it: Enter accepts,
  // as in the other prompts.
  if (event == EVENT_EDITBOX_STRING && controlId == kEditId) {
    ClickButton(kOkId);
    return;
  }
  if (event != EVENT_BUTTON_CLICKED) return;
  if (controlId == kOkId) {
    std::wstring text = edit_ != nullptr ? std::wstring(edit_->GetText()) : std::wstring();
    if (text.size() > kPromptTextMaxLength) text.resize(kPromptTextMaxLength);
    PromptTextResult = std::move(text);
  } else if (controlId != kCancelId) {
    return;
  }
  // The listener hears the answer while this prompt is still on the stack.
  NotifyListener(event, controlId, control);
  PopDialogs(1);
}

void cDialogPobraniaTekstu::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (IsKeyDown(key, keyDown, plat::kVkReturn)) ClickButton(kOkId);
  else if (IsKeyDown(key, keyDown, plat::kVkEscape)) ClickButton(kCancelId);
}

// ---- List choice -------------------------------------------------------

cDialogPobraniaListy::cDialogPobraniaListy(const wchar_t* title, const wchar_t* prompt)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d) {
  AddTitle(dialog_, 723, title != nullptr ? title : L"");
  dialog_.AddStaticFromLayout(725, prompt != nullptr ? prompt : L"");
  dialog_.AddListBoxFromLayout(kListId, 0, &list_);
  // The OK button's hint is its caption key itself.
  dialog_.AddButtonFromLayout(kOkId, Text("get_list_dialog_ok"), Text("get_list_dialog_ok"));
  dialog_.AddButtonFromLayout(kCancelId, Text("get_list_dialog_cancel"), Text("get_list_dialog_cancel_hint"));
}

void cDialogPobraniaListy::OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) {
  if (event != EVENT_BUTTON_CLICKED || (controlId != kOkId && controlId != kCancelId)) return;
  PromptListResult.clear();
  if (controlId == kOkId && list_ != nullptr) {
    if ((list_->GetStyle() & MULTISELECTION) == 0) {
      if (DXUTListBoxItem* item = list_->GetSelectedItem()) {
        PromptListResult.push_back(static_cast<int>(reinterpret_cast<std::intptr_t>(item->pData)));
      }
    } else {
      for (int row = 0; row < list_->GetSize(); ++row) {
        DXUTListBoxItem* item = list_->GetItem(row);
        if (item != nullptr && item->bSelected) {
          PromptListResult.push_back(static_cast<int>(reinterpret_cast<std::intptr_t>(item->pData)));
        }
      }
    }
  }
  NotifyListener(event, controlId, control);
  PopDialogs(1);
}

void cDialogPobraniaListy::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (IsKeyDown(key, keyDown, plat::kVkReturn)) ClickButton(kOkId);
  else if (IsKeyDown(key, keyDown, plat::kVkEscape)) ClickButton(kCancelId);
}

// ---- Yes / no ----------------------------------------------------------

cDialogPotwierdzenia::cDialogPotwierdzenia(const wchar_t* title, const wchar_t* question,
                                           const wchar_t* yesText, const wchar_t* yesHint,
                                           const wchar_t* noText, const wchar_t* noHint)
    : cDialog(kId, Layout(kId).a, Layout(kId).b, Layout(kId).c, Layout(kId).d) {
  ConfirmAnswer = false;
  AddTitle(dialog_, 702, title != nullptr ? title : L"");
  CDXUTStatic* text = nullptr;
  dialog_.AddStaticFromLayout(kQuestionId, question != nullptr ? question : L"", &text);
  dialog_.AddButtonFromLayout(kYesId, yesText != nullptr ? yesText : L"", yesHint);
  dialog_.AddButtonFromLayout(kNoId, noText != nullptr ? noText : L"", noHint);
  if (text != nullptr) FitQuestion(*text);
}

void cDialogPotwierdzenia::FitQuestion(CDXUTStatic& text) {
  text.SetTextFormat(kFormatWordBreak);
  CDXUTElement* element = text.GetElement(static_cast<unsigned>(text.m_TextElement));
  if (element == nullptr) return;
  element->dwTextFormat = kFormatWordBreak;
  const auto measure = [&](int width) {
    plat::RectI r{0, 0, width, 0};
    if (FAILED(dialog_.CalcTextRect(text.GetText(), element, r))) r = {};
    return r;
  };
  // A word wider than the box (a long name) widens the frame by as much on
  // each side, within the screen; the lines then wrap at the new width.
  constexpr int kScreenMargin = 16;
  const sLayoutRect box = Layout(kQuestionId);
  const sLayoutRect& frame = Layout(kId);
  const int room = std::min(frame.a, g_Settings.ResolutionX - frame.a - frame.c) - kScreenMargin;
  const int side = std::clamp((measure(box.c).Width() - box.c + 1) / 2, 0, std::max(room, 0));
  // More lines than the box holds make the frame taller; the buttons stay
  // under the text.
  const int deeper = std::max(measure(box.c + 2 * side).Height() - box.d, 0);
  if (side == 0 && deeper == 0) return;
  const auto move = [this](int id, int dx, int dy, int dw, int dh) {
    if (CDXUTControl* control = dialog_.GetControl(id)) {
      control->SetLocation(control->GetX() + dx, control->GetY() + dy);
      control->SetSize(control->GetWidth() + dw, control->GetHeight() + dh);
    }
  };
  move(kId, -side, 0, 2 * side, deeper);
  move(702, -side, 0, 2 * side, 0);
  move(kQuestionId, -side, 0, 2 * side, deeper);
  move(kYesId, 0, deeper, 0, 0);
  move(kNoId, 0, deeper, 0, 0);
}

void cDialogPotwierdzenia::OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) {
  if (event != EVENT_BUTTON_CLICKED || (controlId != kYesId && controlId != kNoId)) return;
  ConfirmAnswer = controlId == kYesId;
  NotifyListener(event, controlId, control);
  PopDialogs(1);
}

void cDialogPotwierdzenia::OnKeyboard(unsigned key, bool keyDown, bool) {
  if (IsKeyDown(key, keyDown, plat::kVkReturn)) ClickButton(kYesId);
  else if (IsKeyDown(key, keyDown, plat::kVkEscape)) ClickButton(kNoId);
}
