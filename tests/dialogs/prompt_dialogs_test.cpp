#include <gtest/gtest.h>

#include <string>

#include "dialogs/dialog_stack.h"
#include "app/gui_layout.h"
#include "dialogs/dialog.h"
#include "dialogs/prompt_dialogs.h"
#include "gui/dxut_editbox.h"
#include "gui/gui_fixture.h"
#include "platform/messages.h"

namespace {

// Notes each answer with what the listener could see at that moment.
struct sHeard {
  unsigned event;
  int id;
  bool promptStillActive;
  std::wstring text;
  bool confirm;
};

class ListeningDialog : public cDialog {
 public:
  ListeningDialog() : cDialog(50) {}
  void OnGUIEvent(unsigned event, int controlId, CDXUTControl*) override {
    heard.push_back({event, controlId, g_pActiveDialog == prompt && !g_DialogStack.empty() &&
                                           g_DialogStack.back() == prompt,
                     PromptTextResult, ConfirmAnswer});
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

}  // namespace
