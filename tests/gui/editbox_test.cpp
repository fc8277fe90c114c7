#include <string>
#include <vector>

#include "gui/dxut_editbox.h"
#include "gui_fixture.h"
#include "platform/clipboard.h"

namespace {

using guitest::Event;
using guitest::Events;
using guitest::GuiTest;

constexpr Event kChange{EVENT_EDITBOX_CHANGE, 5};
constexpr Event kString{EVENT_EDITBOX_STRING, 5};

// One input: a typed character, or a key pressed with modifiers held.
struct Input {
  enum Kind { kChar, kKey } kind;
  unsigned code;
  bool shift = false;
  bool ctrl = false;
};
Input Ch(unsigned c) { return {Input::kChar, c}; }
Input Key(unsigned vk, bool shift = false, bool ctrl = false) { return {Input::kKey, vk, shift, ctrl}; }
std::vector<Input> Typed(const std::wstring& text) {
  std::vector<Input> out;
  for (wchar_t c : text) out.push_back(Ch(static_cast<unsigned>(c)));
  return out;
}

class EditBox : public GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    plat::GetMemoryClipboard().Clear();
    ASSERT_EQ(dialog_->AddEditBox(5, L"", 0, 0, 200, 30, false, &box_), S_OK);
    CDXUTDialog::RequestFocus(box_);
  }

  void Apply(const Input& in) {
    if (in.kind == Input::kChar) {
      dialog_->MsgProc({plat::kWmChar, in.code, 1});
      return;
    }
    plat::GetInputState().SetKeyDown(plat::kVkShift, in.shift);
    plat::GetInputState().SetKeyDown(plat::kVkControl, in.ctrl);
    dialog_->MsgProc({plat::kWmKeyDown, in.code, 1});
    plat::GetInputState().SetKeyDown(plat::kVkShift, false);
    plat::GetInputState().SetKeyDown(plat::kVkControl, false);
  }
  void Apply(const std::vector<Input>& inputs) {
    for (const Input& in : inputs) Apply(in);
  }
  // Text, caret and selection start in one go.
  void Start(const wchar_t* text, int caret, int selStart) {
    box_->SetText(text);
    box_->PlaceCaret(caret);
    box_->m_nSelStart = selStart;
    Events().clear();
  }

  CDXUTEditBox* box_ = nullptr;
};

struct TypingCase {
  const char* name;
  const wchar_t* text;
  int caret, selStart;
  std::vector<Input> inputs;
  const wchar_t* expected;
  int expectedCaret, expectedSel;
  std::size_t changes;
};

TEST_F(EditBox, TypingAndEditingKeys) {
  const TypingCase cases[] = {
      {"typing appends", L"", 0, 0, Typed(L"abc"), L"abc", 3, 3, 3},
      {"backspace at 0 sends nothing", L"abc", 0, 0, {Ch(8)}, L"abc", 0, 0, 0},
      {"backspace removes a selection", L"abcdef", 1, 4, {Ch(8)}, L"aef", 1, 1, 1},
      {"delete at the start", L"abc", 0, 0, {Key(plat::kVkDelete)}, L"bc", 0, 0, 1},
      {"delete removes a selection", L"abcdef", 5, 2, {Key(plat::kVkDelete)}, L"abf", 2, 2, 1},
      {"typing replaces the selection with one change", L"hello", 5, 0, {Ch('x')}, L"x", 1, 1, 1},
      {"ctrl+A selects all", L"hello", 2, 2, {Ch(1)}, L"hello", 5, 0, 0},
      {"control characters are swallowed", L"ab", 2, 2, {Ch(27), Ch(9), Ch(2), Ch(29)}, L"ab", 2, 2, 0},
      {"insert toggles overwrite", L"abc", 1, 1, {Key(plat::kVkInsert), Ch('X')}, L"aXc", 2, 2, 1},
      {"shift+end selects", L"hello", 1, 1, {Key(plat::kVkEnd, true)}, L"hello", 5, 1, 0},
      {"ctrl+right to the next word", L"hello big world", 0, 0, {Key(plat::kVkRight, false, true)},
       L"hello big world", 6, 6, 0},
      {"ctrl+right stops at punctuation", L"ab.cd", 0, 0, {Key(plat::kVkRight, false, true),
       Key(plat::kVkRight, false, true)}, L"ab.cd", 3, 3, 0},
      {"ctrl+shift+right selects a word", L"one two", 0, 0, {Key(plat::kVkRight, true, true)}, L"one two", 4, 0, 0},
      {"astral characters are one character", L"", 0, 0, {Ch(0x1F600), Ch('a')}, L"\U0001F600a", 2, 2, 2},
  };
  for (const TypingCase& c : cases) {
    SCOPED_TRACE(c.name);
    Start(c.text, c.caret, c.selStart);
    Apply(c.inputs);
    EXPECT_EQ(std::wstring(box_->GetText()), c.expected);
    EXPECT_EQ(box_->GetCaret(), c.expectedCaret);
    EXPECT_EQ(box_->GetSelStart(), c.expectedSel);
    EXPECT_EQ(Events(), std::vector<Event>(c.changes, kChange));
    box_->m_bInsertMode = true;
  }
}

TEST_F(EditBox, RefusedCharactersEnterAndReturnValues) {
  box_->m_pRefusedChars = std::make_unique<std::wstring>(L"\\/:*?<>;#&|");
  Start(L"ab", 2, 2);
  EXPECT_TRUE(dialog_->MsgProc({plat::kWmChar, '/', 1}));
  EXPECT_TRUE(dialog_->MsgProc({plat::kWmChar, '#', 1}));
  EXPECT_EQ(std::wstring(box_->GetText()), L"ab");
  EXPECT_TRUE(Events().empty());
  // A refused character does not even replace a selection.
  box_->m_nSelStart = 0;
  Apply(Ch('|'));
  EXPECT_EQ(std::wstring(box_->GetText()), L"ab");
  Apply(Ch('c'));
  EXPECT_EQ(std::wstring(box_->GetText()), L"c");

  Events().clear();
  EXPECT_TRUE(dialog_->MsgProc({plat::kWmChar, 13, 1}));
  EXPECT_EQ(Events(), std::vector<Event>{kString});
  EXPECT_EQ(std::wstring(box_->GetText()), L"c");

  box_->SetEnabled(false);
  EXPECT_FALSE(box_->MsgProc({plat::kWmChar, 'z', 1}));
  EXPECT_FALSE(box_->HandleKeyboard({plat::kWmKeyDown, plat::kVkHome, 1}));
  EXPECT_EQ(std::wstring(box_->GetText()), L"c");
}

TEST_F(EditBox, Clipboard) {
  plat::MemoryClipboard& clip = plat::GetMemoryClipboard();
  Start(L"hello world", 6, 11);
  Apply(Ch(3));  // Ctrl+C
  EXPECT_EQ(clip.GetText().value_or(L"-"), L"world");
  EXPECT_TRUE(Events().empty());

  Start(L"hello world", 0, 6);
  Apply(Ch(24));  // Ctrl+X
  EXPECT_EQ(clip.GetText().value_or(L"-"), L"hello ");
  EXPECT_EQ(std::wstring(box_->GetText()), L"world");
  EXPECT_EQ(Events(), std::vector<Event>{kChange});

  // Paste replaces the selection and puts the caret after the text.
  Start(L"abcdef", 1, 3);
  clip.SetText(L"XYZ");
  Apply(Ch(22));  // Ctrl+V
  EXPECT_EQ(std::wstring(box_->GetText()), L"aXYZdef");
  EXPECT_EQ(box_->GetCaret(), 4);
  EXPECT_EQ(box_->GetSelStart(), 4);
  EXPECT_EQ(Events(), std::vector<Event>{kChange});

  // Caret and selection written past the text by an owner are kept inside
  // it before they are used.
  Start(L"abc", 1, 1);
  box_->m_nSelStart = 100;
  Apply(Ch(3));
  EXPECT_EQ(clip.GetText().value_or(L"-"), L"bc");
  box_->m_nCaret = 50;
  box_->m_nSelStart = -7;
  Render(0.0f);
  Apply(Ch(8));
  EXPECT_EQ(std::wstring(box_->GetText()), L"");

  // An empty clipboard still deletes the selection and sends the change.
  clip.Clear();
  Start(L"abc", 0, 2);
  Apply(Ch(22));
  EXPECT_EQ(std::wstring(box_->GetText()), L"c");
  EXPECT_EQ(Events(), std::vector<Event>{kChange});
}

TEST_F(EditBox, SizeLimit) {
  const std::wstring longest(65533, L'a');
  const std::wstring tooLong(65534, L'b');
  box_->SetText(L"old");
  box_->SetText(tooLong.c_str());
  EXPECT_EQ(std::wstring(box_->GetText()), L"old");
  box_->SetText(longest.c_str());
  EXPECT_EQ(box_->GetTextLength(), 65533);

  // One more fits (65534 plus the terminator), then the buffer is full:
  // the typing still reports a change, the text does not.
  Events().clear();
  Apply(Ch('x'));
  EXPECT_EQ(box_->GetTextLength(), 65534);
  Apply(Ch('y'));
  EXPECT_EQ(box_->GetTextLength(), 65534);
  EXPECT_EQ(box_->GetText()[65533], L'x');
  EXPECT_EQ(Events(), std::vector<Event>(2, kChange));
  // A paste that does not fit leaves the text as it is.
  plat::GetMemoryClipboard().SetText(L"zz");
  box_->m_nSelStart = box_->GetCaret();
  Apply(Ch(22));
  EXPECT_EQ(box_->GetTextLength(), 65534);
}

}  // namespace
