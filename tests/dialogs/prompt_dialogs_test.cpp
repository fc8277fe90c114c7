// The prompts: answers reach the listener while the prompt is still the
// active dialog, then the prompt closes; Enter and Escape; the 99-character
// cut; the message dialog's growth.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/dialog_stack.h"
#include "app/gui_layout.h"
#include "dialogs/dialog.h"
#include "dialogs/prompt_dialogs.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_listbox.h"
#include "gui/gui_fixture.h"
#include "platform/messages.h"

namespace {

// Notes each answer with what the listener could see at that moment.
struct sHeard {
  unsigned event;
  int id;
  bool promptStillActive;
  std::wstring text;
  std::vector<int> list;
  bool confirm;
};

class ListeningDialog : public cDialog {
 public:
  ListeningDialog() : cDialog(50) {}
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl*) override {
    heard.push_back({event, controlId, g_pActiveDialog == prompt && !g_DialogStack.empty() &&
                                           g_DialogStack.back() == prompt,
                     PromptTextResult, PromptListResult, ConfirmAnswer});
  }
  void OnReactivate() override { ++reactivated; }
  cDialog* prompt = nullptr;
  std::vector<sHeard> heard;
  int reactivated = 0;
};

class Prompts : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    for (int id = 684; id <= 728; ++id) g_GuiLayout[id] = {100, 100, 200, 30};
    g_GuiLayout[684] = {300, 200, 400, 100};
    g_GuiLayout[685] = {10, 8, 10, 30};
    g_GuiLayout[687] = {20, 6, 20, 12};
    g_GuiLayout[688] = {450, 10, 120, 36};
    listener_ = new ListeningDialog;
    PushDialog(listener_);
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    GuiTest::TearDown();
  }
  template <class T>
  T* Open(T* prompt) {
    PushDialog(prompt);
    prompt->SetListener(listener_);
    listener_->prompt = prompt;
    return prompt;
  }
  void Click(cDialog* dialog, int id) {
    dialog->OnGUIEvent(EVENT_BUTTON_CLICKED, id, dialog->Dialog().GetControl(id));
  }
  bool Closed(cDialog* prompt) const {
    return IsRetiredDialog(prompt) && g_DialogStack.back() == listener_ && g_pActiveDialog == listener_;
  }

  ListeningDialog* listener_ = nullptr;
};

TEST_F(Prompts, TextPromptCutsTo99CharactersAndAnswersBeforeClosing) {
  auto* prompt = Open(new cDialogPobraniaTekstu(L"Name", L"Name your fleet", L"Home Fleet"));
  EXPECT_EQ(PromptTextResult, L"Home Fleet");
  const std::wstring typed(150, L'x');
  prompt->EditBox()->SetText((L"abc" + typed).c_str());
  Click(prompt, cDialogPobraniaTekstu::kOkId);
  ASSERT_EQ(listener_->heard.size(), 1u);
  EXPECT_EQ(listener_->heard[0].id, cDialogPobraniaTekstu::kOkId);
  EXPECT_TRUE(listener_->heard[0].promptStillActive);
  EXPECT_EQ(listener_->heard[0].text, L"abc" + std::wstring(96, L'x'));
  EXPECT_EQ(PromptTextResult.size(), kPromptTextMaxLength);
  EXPECT_TRUE(Closed(prompt));
  EXPECT_EQ(listener_->reactivated, 1);

  // Escape cancels and leaves the initial text.
  auto* second = Open(new cDialogPobraniaTekstu(L"Name", L"Again", L"Initial"));
  second->EditBox()->SetText(L"changed");
  second->OnKeyboard(plat::kVkEscape, true, false);
  EXPECT_EQ(listener_->heard.back().id, cDialogPobraniaTekstu::kCancelId);
  EXPECT_EQ(PromptTextResult, L"Initial");
  EXPECT_TRUE(Closed(second));
}

TEST_F(Prompts, YesNoAnswersEnterYesEscapeNoAndIgnoresKeyUp) {
  auto* yes = Open(new cDialogPotwierdzenia(L"Title", L"Sure?", L"Yes", L"", L"No", L""));
  yes->OnKeyboard(plat::kVkReturn, false, false);  // key up: nothing
  EXPECT_TRUE(listener_->heard.empty());
  yes->OnKeyboard(plat::kVkReturn, true, false);
  ASSERT_EQ(listener_->heard.size(), 1u);
  EXPECT_EQ(listener_->heard[0].id, cDialogPotwierdzenia::kYesId);
  EXPECT_TRUE(listener_->heard[0].confirm);
  EXPECT_TRUE(listener_->heard[0].promptStillActive);
  EXPECT_TRUE(Closed(yes));

  auto* no = Open(new cDialogPotwierdzenia(L"Title", L"Sure?", L"Yes", L"", L"No", L""));
  EXPECT_FALSE(ConfirmAnswer);  // reset by the new prompt
  ConfirmAnswer = true;
  no->OnKeyboard(plat::kVkEscape, true, false);
  ASSERT_EQ(listener_->heard.size(), 2u);
  EXPECT_EQ(listener_->heard[1].id, cDialogPotwierdzenia::kNoId);
  EXPECT_FALSE(listener_->heard[1].confirm);
  EXPECT_TRUE(Closed(no));
}

TEST_F(Prompts, ListPromptReturnsSelectedRowDataOrNothing) {
  auto* none = Open(new cDialogPobraniaListy(L"Pick", L"One"));
  none->List()->AddItem(L"a", reinterpret_cast<void*>(std::intptr_t{7}));
  PromptListResult = {1, 2};
  none->OnKeyboard(plat::kVkReturn, true, false);
  ASSERT_EQ(listener_->heard.size(), 1u);
  EXPECT_EQ(listener_->heard[0].id, cDialogPobraniaListy::kOkId);
  EXPECT_TRUE(listener_->heard[0].list.empty());
  EXPECT_TRUE(Closed(none));

  auto* many = Open(new cDialogPobraniaListy(L"Pick", L"Some"));
  many->List()->SetStyle(MULTISELECTION);
  for (std::intptr_t k = 0; k < 4; ++k) many->List()->AddItem(L"row", reinterpret_cast<void*>(k * 10));
  many->List()->GetItem(3)->bSelected = true;
  many->List()->GetItem(1)->bSelected = true;
  Click(many, cDialogPobraniaListy::kOkId);
  EXPECT_EQ(listener_->heard.back().list, (std::vector<int>{10, 30}));

  auto* single = Open(new cDialogPobraniaListy(L"Pick", L"One"));
  single->List()->AddItem(L"a", reinterpret_cast<void*>(std::intptr_t{5}));
  single->List()->AddItem(L"b", reinterpret_cast<void*>(std::intptr_t{6}));
  single->List()->SelectItem(1, false);
  Click(single, cDialogPobraniaListy::kOkId);
  EXPECT_EQ(listener_->heard.back().list, std::vector<int>{6});
  auto* cancelled = Open(new cDialogPobraniaListy(L"Pick", L"One"));
  cancelled->OnKeyboard(plat::kVkEscape, true, false);
  EXPECT_EQ(listener_->heard.back().id, cDialogPobraniaListy::kCancelId);
  EXPECT_TRUE(PromptListResult.empty());
}

TEST_F(Prompts, PromptWithoutListenerStoresItsAnswerAndCloses) {
  auto* prompt = new cDialogPotwierdzenia(L"T", L"Q", L"Y", L"", L"N", L"");
  PushDialog(prompt);
  prompt->OnKeyboard(plat::kVkReturn, true, false);
  EXPECT_TRUE(ConfirmAnswer);
  EXPECT_TRUE(IsRetiredDialog(prompt));
  EXPECT_TRUE(listener_->heard.empty());
}

TEST_F(Prompts, MessageWidensForALongTitleAndGrowsForALongMessage) {
  // Glyphs are 8 pixels wide: 60 characters are 480 pixels, 100 more than
  // the 380 the frame leaves for the title.
  auto* message = new cDialogTekstowy(L"Short message.", std::wstring(60, L'T').c_str(), 684, 0, 0, 0, 0, 0);
  PushDialog(message);
  EXPECT_EQ(message->FrameRect().a, 300 - 50);
  EXPECT_EQ(message->FrameRect().c, 400 + 100);
  EXPECT_EQ(message->TitleRect().c, 500 - 20);
  auto* frame = message->Dialog().GetControl(cDialogTekstowy::kFrameId);
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->GetDraggable());
  EXPECT_EQ(frame->GetX(), 250);
  const int oneLine = message->TextRect().d;
  EXPECT_GT(oneLine, 0);
  EXPECT_EQ(message->FrameRect().d, 8 + 30 + 6 + oneLine + 12 + 10 + 36);
  auto* ok = message->Dialog().GetControl(message->OkId());
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->GetX(), 450);
  EXPECT_EQ(ok->GetY(), message->TextRect().b + oneLine + 12);
  message->OnKeyboard(plat::kVkEscape, true, false);
  EXPECT_TRUE(IsRetiredDialog(message));

  std::wstring longText;
  for (int k = 0; k < 40; ++k) longText += L"word word ";
  auto* tall = new cDialogTekstowy(longText.c_str(), L"T", 684, 0, 0, 0, 0, 0);
  PushDialog(tall);
  EXPECT_EQ(tall->FrameRect().a, 300);  // a short title keeps the width
  EXPECT_GT(tall->TextRect().d, 2 * oneLine);
  EXPECT_EQ(tall->FrameRect().d, 8 + 30 + 6 + tall->TextRect().d + 12 + 10 + 36);
  tall->OnKeyboard(plat::kVkReturn, true, false);
  EXPECT_TRUE(IsRetiredDialog(tall));
}

}  // namespace
