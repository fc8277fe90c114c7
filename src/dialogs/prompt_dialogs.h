// The four small dialogs for messages and questions: a message with OK, a
// line of text, a choice from a list and yes/no. Each answers by writing one
// of the process-wide answer variables below and telling its listener the
// id of the button that closed it, while it is still on the stack; then it
// closes itself. Enter clicks the first button, Escape the second (OK for
// the message).
#pragma once

#include <string>
#include <vector>

#include "app/gui_layout.h"
#include "dialogs/dialog.h"

class CDXUTEditBox;
class CDXUTListBox;
class CDXUTStatic;

// The answers; each prompt of a kind overwrites them. Main thread only.
extern std::wstring PromptTextResult;
extern std::vector<int> PromptListResult;
extern bool ConfirmAnswer;

// The longest text the text prompt hands back.
constexpr std::size_t kPromptTextMaxLength = 99;

// A message with an OK button. The frame grows sideways for a long title and
// downwards for a long message. k is the layout index of the frame; k + 1,
// k + 3 and k + 4 hold the title, message and button placed relative to it.
class cDialogTekstowy : public cDialog {
 public:
  static constexpr int kFrameId = 8000;

  cDialogTekstowy(const wchar_t* message, const wchar_t* title, int layoutIndex);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

  int OkId() const { return layout_index_ + 4; }

 private:
  int layout_index_;
  sLayoutRect frame_, title_, text_;
};

// Asks for a line of text; the answer is PromptTextResult (at most 99
// characters; the initial text stays there on Cancel).
class cDialogPobraniaTekstu : public cDialog {
 public:
  static constexpr int kId = 694;
  static constexpr int kOkId = 699;
  static constexpr int kCancelId = 700;
  static constexpr int kEditId = 698;

  cDialogPobraniaTekstu(const wchar_t* title, const wchar_t* prompt, const wchar_t* initialText);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

  CDXUTEditBox* EditBox() const { return edit_; }

 private:
  CDXUTEditBox* edit_ = nullptr;
};

// Asks for a choice from list box 726, which the caller fills (row data =
// the int returned) before pushing; the answer is PromptListResult.
class cDialogPobraniaListy : public cDialog {
 public:
  static constexpr int kId = 722;
  static constexpr int kListId = 726;
  static constexpr int kOkId = 727;
  static constexpr int kCancelId = 728;

  cDialogPobraniaListy(const wchar_t* title, const wchar_t* prompt);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

  CDXUTListBox* List() const { return list_; }

 private:
  CDXUTListBox* list_ = nullptr;
};

// Asks yes or no; the answer is ConfirmAnswer.
class cDialogPotwierdzenia : public cDialog {
 public:
  static constexpr int kId = 701;
  static constexpr int kQuestionId = 704;
  static constexpr int kYesId = 705;
  static constexpr int kNoId = 706;

  // The question wraps within its box; the frame grows for a longer one.
  cDialogPotwierdzenia(const wchar_t* title, const wchar_t* question, const wchar_t* yesText,
                       const wchar_t* yesHint, const wchar_t* noText, const wchar_t* noHint);

  void OnGUIEvent(unsigned event, int controlId, CDXUTControl* control) override;
  void OnKeyboard(unsigned key, bool keyDown, bool altDown) override;

 private:
  void FitQuestion(CDXUTStatic& text);
};
