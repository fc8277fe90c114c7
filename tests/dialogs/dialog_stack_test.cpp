// The stack of game dialogs and the prompts opened on it.
#include <algorithm>
#include <array>
#include <tuple>

#include "app/hoverable.h"
#include "dialogs/dialog.h"
#include "dialogs/dialog_stack.h"
#include "dialogs/prompt_dialogs.h"
#include "dialogs/turn_dialogs.h"
#include "app/settings.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_static.h"
#include "gui/gui_fixture.h"
#include "platform/messages.h"
#include "world/world.h"

namespace {

using Events = std::vector<std::string>;
using Stack = std::vector<cDialog*>;

// An answer heard by a listener with what it could see at that moment: the
// id, whether the prompt was still the active top dialog, the text and the
// confirmation results.
struct sHeard {
  int id;
  bool promptStillActive;
  std::wstring text;
  bool confirm;
};

// Records its closes, reactivations and timer ticks into a shared list, and
// the answers it hears as a listener.
struct sRecordingDialog : cDialog {
  sRecordingDialog(int id, std::string name, Events& events) : cDialog(id), name(std::move(name)), events(events) {}
  void Close() override {
    events.push_back("close " + name);
    cDialog::Close();
  }
  void OnReactivate() override { events.push_back("reactivate " + name); }
  void OnTimerTick(float elapsed) override { events.push_back("tick " + std::to_string(elapsed)); }
  void OnGUIEvent(unsigned, int controlId, CDXUTControl*) override {
    const bool active = g_pActiveDialog == prompt && !g_DialogStack.empty() && g_DialogStack.back() == prompt;
    heard.push_back({controlId, active, PromptTextResult, ConfirmAnswer});
  }
  std::string name;
  Events& events;
  cDialog* prompt = nullptr;
  std::vector<sHeard> heard;
};

struct sHoverProbe : cHoverable {
  void GetTooltipSize(int& width, int& height) override { width = height = 1; }
  void DrawTooltip(float, float) override {}
};

class DialogStack : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    g_DialogStack.clear();
    g_pActiveDialog = nullptr;
  }
  void TearDown() override {
    PopDialogs(-1);
    DeleteRetiredDialogs();
    GuiTest::TearDown();
  }
  cDialog* Push(int id, const std::string& name, int offset = 0) {
    auto* dialog = new sRecordingDialog(id, name, events_);
    PushDialog(dialog, offset);
    return dialog;
  }
  // Sets input state that belongs to the top dialog, runs step, and expects that state reset.
  template <class F>
  void ExpectInputStateReset(F step) {
    g_HintText.SetMouseButtons(3);
    g_HintText.SetControl(&control_);
    CDXUTDialog::PanelDrag() = {40, 50, true};
    step();
    EXPECT_EQ(std::tuple(g_HintText.GetMouseButtons(), g_HintText.GetControl(), CDXUTDialog::PanelDrag().startX,
                         CDXUTDialog::PanelDrag().dragging),
              std::tuple(0u, nullptr, 0, false));
  }

  // A prompt opened over a listening dialog.
  template <class T>
  T* Open(T* prompt) {
    if (listener_ == nullptr) listener_ = static_cast<sRecordingDialog*>(Push(50, "listener"));
    PushDialog(prompt);
    prompt->SetListener(listener_);
    listener_->prompt = prompt;
    return prompt;
  }
  bool Closed(cDialog* prompt) const {
    return IsRetiredDialog(prompt) && g_DialogStack.back() == listener_ && g_pActiveDialog == listener_;
  }

  Events events_;
  CDXUTControl control_;
  sRecordingDialog* listener_ = nullptr;
};
using Prompts = DialogStack;

TEST_F(DialogStack, PushPlacesByOffsetPopClosesTopFirstAndBothResetInput) {
  cDialog* a = Push(1, "a");
  sHoverProbe anchor;
  g_HintText.SetAnchor(&anchor);
  cDialog* b = nullptr;
  ExpectInputStateReset([&] { b = Push(2, "b"); });
  EXPECT_EQ(g_HintText.GetAnchor(), nullptr);
  cDialog* c = Push(3, "c", -1);
  cDialog* d = Push(4, "d", -10);  // clamped to the bottom
  EXPECT_EQ(std::pair(g_DialogStack, g_pActiveDialog), std::pair(Stack{d, a, c, b}, b));
  ExpectInputStateReset([] { PushDialog(nullptr, 0); });  // only resets input
  cDialog* e = Push(5, "e", 3);  // a positive offset cannot pass the top
  EXPECT_EQ(std::pair(g_DialogStack, g_pActiveDialog), std::pair(Stack{d, a, c, b, e}, e));
  EXPECT_TRUE(events_.empty());
  // Pops of none only reset input; popping all closes the top first and
  // reactivates each new top.
  for (int count : {0, -5}) ExpectInputStateReset([&] { PopDialogs(count); });
  EXPECT_EQ(std::pair(g_DialogStack.size(), g_pActiveDialog), std::pair(std::size_t{5}, e));
  PopDialogs(-1);
  EXPECT_EQ(events_, (Events{"close e", "reactivate b", "close b", "reactivate c", "close c", "reactivate a", "close a",
                             "reactivate d", "close d"}));
  EXPECT_EQ(g_pActiveDialog, nullptr);
  Push(6, "f");
  PopDialogs(5);  // more than there are: stops when the stack is empty
  EXPECT_TRUE(g_DialogStack.empty());
}

TEST_F(DialogStack, FindByIdTakesTheLowestAndCloseDownToTheTopmostMatch) {
  EXPECT_EQ(FindDialogById(1), nullptr);
  cDialog* a = Push(1, "a");
  cDialog* b = Push(2, "b");
  Push(1, "c");
  Push(3, "d");
  EXPECT_EQ(FindDialogById(1), a);
  CloseDialogsDownTo(7);  // no match
  EXPECT_TRUE(events_.empty());
  CloseDialogsDownTo(1);
  EXPECT_EQ(events_, (Events{"close d", "reactivate c", "close c", "reactivate b"}));
  EXPECT_EQ(g_DialogStack, (Stack{a, b}));
  CloseDialogsDownTo(1);  // now the bottom one: closes everything
  EXPECT_EQ(std::pair(events_.back(), g_DialogStack.empty()), std::pair(std::string("close a"), true));
}

TEST_F(DialogStack, NeverDrawnTopIsCoveredByAPlaceholderAndNeverClosed) {
  cDialog* a = Push(1, "a");
  // A negative id marks a dialog its owner keeps: the stack never closes it.
  sRecordingDialog hidden(-4, "hidden", events_);
  PushDialog(&hidden);
  Push(2, "b");
  PopDialogs(1);
  ASSERT_NE(g_pActiveDialog, nullptr);
  EXPECT_EQ(std::pair(g_pActiveDialog->GetId(), g_DialogStack), std::pair(675, Stack{a, &hidden}));
  // A push over the placeholder frees it; closing c shows a new one.
  cDialog* c = Push(3, "c");
  EXPECT_EQ(g_DialogStack, (Stack{a, &hidden, c}));
  PopDialogs(1);
  EXPECT_EQ(g_pActiveDialog->GetId(), 675);
  // Closing the placeholder drops the hidden dialog unclosed.
  PopDialogs(1);
  EXPECT_EQ(events_, (Events{"close b", "close c", "reactivate a"}));
  EXPECT_EQ(std::pair(g_DialogStack, g_pActiveDialog), std::pair(Stack{a}, a));
}

TEST_F(DialogStack, CountdownOfZeroWithCloseActionClosesAtTheFirstFrameAndADeletedListenerIsTakenOff) {
  cDialog* below = Push(1, "below");
  cDialog* dialog = Push(2, "top");
  dialog->StartCountdown(0.0f, cDialog::kExpiryClose);
  dialog->UpdateTimer(0.5f);
  EXPECT_EQ(events_, (Events{"tick 0.500000", "close top", "reactivate below"}));
  EXPECT_EQ(std::pair(g_DialogStack, g_pActiveDialog), std::pair(Stack{below}, below));
  EXPECT_TRUE(IsRetiredDialog(dialog));
  auto* listener = new sRecordingDialog(5, "listener", events_);
  cDialog* prompt = Push(6, "prompt");
  prompt->SetListener(listener);
  delete listener;
  EXPECT_EQ(prompt->GetListener(), nullptr);
}

TEST_F(Prompts, TextPromptCutsTo99CharactersYesNoAnswersEnterYesEscapeNoAndBothAnswerBeforeClosing) {
  auto* prompt = Open(new cDialogPobraniaTekstu(L"Name", L"Name your fleet", L"Home Fleet"));
  EXPECT_EQ(PromptTextResult, L"Home Fleet");
  const std::wstring typed(150, L'x');
  prompt->EditBox()->SetText((L"abc" + typed).c_str());
  prompt->OnGUIEvent(EVENT_BUTTON_CLICKED, cDialogPobraniaTekstu::kOkId, nullptr);
  ASSERT_EQ(listener_->heard.size(), 1u);
  const sHeard& ok = listener_->heard[0];
  EXPECT_EQ(std::tuple(ok.id, ok.promptStillActive, ok.text),
            std::tuple(cDialogPobraniaTekstu::kOkId, true, L"abc" + std::wstring(96, L'x')));
  EXPECT_TRUE(Closed(prompt));
  EXPECT_EQ(events_, (Events{"reactivate listener"}));

  // Escape cancels and leaves the initial text.
  auto* second = Open(new cDialogPobraniaTekstu(L"Name", L"Again", L"Initial"));
  second->EditBox()->SetText(L"changed");
  second->OnKeyboard(plat::kVkEscape, true, false);
  EXPECT_EQ(std::tuple(listener_->heard.back().id, PromptTextResult),
            std::tuple(cDialogPobraniaTekstu::kCancelId, std::wstring(L"Initial")));
  EXPECT_TRUE(Closed(second));

  // Yes or no: Enter answers yes, Escape no, and a key-up nothing.
  listener_->heard.clear();
  auto* yes = Open(new cDialogPotwierdzenia(L"Title", L"Sure?", L"Yes", L"", L"No", L""));
  yes->OnKeyboard(plat::kVkReturn, false, false);  // key up: nothing
  EXPECT_TRUE(listener_->heard.empty());
  yes->OnKeyboard(plat::kVkReturn, true, false);
  ASSERT_EQ(listener_->heard.size(), 1u);
  EXPECT_EQ(std::pair(listener_->heard[0].id, listener_->heard[0].confirm),
            std::pair(cDialogPotwierdzenia::kYesId, true));
  EXPECT_TRUE(Closed(yes));

  auto* no = Open(new cDialogPotwierdzenia(L"Title", L"Sure?", L"Yes", L"", L"No", L""));
  EXPECT_FALSE(ConfirmAnswer);  // reset by the new prompt
  ConfirmAnswer = true;
  no->OnKeyboard(plat::kVkEscape, true, false);
  ASSERT_EQ(listener_->heard.size(), 2u);
  EXPECT_EQ(std::pair(listener_->heard[1].id, listener_->heard[1].confirm),
            std::pair(cDialogPotwierdzenia::kNoId, false));
  EXPECT_TRUE(Closed(no));
}

// The yes/no question wraps within its box at 1024 x 768, and a longer one
// (the overwrite question with the longest save name, a word wider than the
// box) grows the frame: every line stays inside it, above the buttons.
// Dragged, the grown question moves its block and keeps the layout's sizes:
// the next short question and the end-turn question, with its "don't ask
// again" box, open where the drag left it at their own size.
TEST_F(Prompts, TheYesNoQuestionFitsItsFrame) {
  const int screenWidth = g_Settings.ResolutionX;
  g_Settings.ResolutionX = 1024;
  sLayoutRect kept[7];
  std::copy(&g_GuiLayout[701], &g_GuiLayout[708], kept);
  g_GuiLayout[707] = {332, 378, 360, 22};
  g_GuiLayout[701] = {312, 290, 400, 170};
  g_GuiLayout[702] = {322, 298, 380, 28};
  g_GuiLayout[704] = {328, 332, 368, 60};
  g_GuiLayout[705] = {332, 406, 160, 36};
  g_GuiLayout[706] = {532, 406, 160, 36};
  const auto rect = [](CDXUTControl* c) {
    return plat::RectI{c->GetX(), c->GetY(), c->GetX() + c->GetWidth(), c->GetY() + c->GetHeight()};
  };
  const auto inside = [](const plat::RectI& in, const plat::RectI& out) {
    return in.left >= out.left && in.top >= out.top && in.right <= out.right && in.bottom <= out.bottom;
  };
  for (const std::wstring& name : {std::wstring(L"Poland"), std::wstring(54, L'W')}) {
    const std::wstring question = L"A saved game named \"" + name + L"\" already exists. Replace it with this game?";
    auto* prompt = Open(new cDialogPotwierdzenia(L"Replace the saved game?", question.c_str(), L"Replace", L"",
                                                 L"Keep", L""));
    CDXUTDialog& d = prompt->Dialog();
    auto* text = static_cast<CDXUTStatic*>(d.GetControl(cDialogPotwierdzenia::kQuestionId));
    ASSERT_NE(text, nullptr);
    const plat::RectI frame = rect(d.GetControl(cDialogPotwierdzenia::kId));
    const plat::RectI box = rect(text);
    // The text as the label draws it.
    CDXUTElement element = *text->GetElement(0);
    text->Render(0.0f);
    element.dwTextFormat = text->GetElement(0)->dwTextFormat;
    plat::RectI drawn{0, 0, box.Width(), 0};
    ASSERT_EQ(d.CalcTextRect(question.c_str(), &element, drawn), S_OK);
    EXPECT_LE(drawn.Width(), box.Width()) << name.size();
    EXPECT_LE(drawn.Height(), box.Height()) << name.size();
    EXPECT_TRUE(inside(box, frame)) << name.size();
    EXPECT_TRUE(frame.left >= 0 && frame.right <= 1024) << name.size();
    for (int id : {cDialogPotwierdzenia::kYesId, cDialogPotwierdzenia::kNoId}) {
      EXPECT_TRUE(inside(rect(d.GetControl(id)), frame)) << name.size();
      EXPECT_GE(rect(d.GetControl(id)).top, box.bottom) << name.size();
    }
    if (name.size() < 10) {
      EXPECT_EQ(frame.Width(), 400) << "a short question keeps the frame";
    }
    for (auto [msg, by] : {std::pair(plat::kWmMouseMove, 0), {plat::kWmLButtonDown, 0}, {plat::kWmMouseMove, 50},
                           {plat::kWmLButtonUp, 50}}) {
      if (name.size() > 10) d.MsgProc({msg, 0, plat::MakeMouseLParam(frame.left + 4 + by, frame.top + 4 + by)});
    }
    prompt->OnKeyboard(plat::kVkEscape, true, false);
  }
  cDialog* next = Open(new cDialogPotwierdzenia(L"Sure?", L"Sure?", L"Yes", L"", L"No", L""));
  cWorld world;
  cDialogPotwKoncaTury endTurn(world);
  const auto at = [](CDXUTControl* c) { return std::array{c->GetX(), c->GetY(), c->GetWidth(), c->GetHeight()}; };
  EXPECT_EQ(std::tuple(at(next->Dialog().GetControl(701)), at(endTurn.Dialog().GetControl(701)),
                       at(endTurn.Dialog().GetControl(cDialogPotwKoncaTury::kDontAskId))),
            std::tuple(std::array{362, 340, 400, 170}, std::array{362, 340, 400, 170}, std::array{382, 428, 360, 22}));
  std::copy(kept, kept + 7, &g_GuiLayout[701]);
  g_Settings.ResolutionX = screenWidth;
}

// Enter typed into the text prompt's focused edit box accepts the text, as
// Enter does in the other prompts: the window messages go to the edit box,
// which tells the prompt; the prompt answers once and closes.
TEST_F(Prompts, EnterInTheTextPromptsEditBoxAccepts) {
  auto* prompt = Open(new cDialogPobraniaTekstu(L"Name", L"Name your fleet", L"Home Fleet"));
  prompt->EditBox()->SetText(L"Channel Fleet");
  EXPECT_TRUE(prompt->Dialog().MsgProc({plat::kWmKeyDown, plat::kVkReturn, 0}));
  prompt->Dialog().MsgProc({plat::kWmChar, 13, 0});
  ASSERT_EQ(listener_->heard.size(), 1u);
  EXPECT_EQ(std::tuple(listener_->heard[0].id, listener_->heard[0].promptStillActive, PromptTextResult),
            std::tuple(cDialogPobraniaTekstu::kOkId, true, std::wstring(L"Channel Fleet")));
  EXPECT_TRUE(Closed(prompt));
}

}  // namespace
