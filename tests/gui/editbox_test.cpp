#include "gui/dxut_editbox.h"
#include "gui_fixture.h"
#include "platform/clipboard.h"

namespace {

using guitest::Event;
using guitest::Events;

constexpr Event kChange{EVENT_EDITBOX_CHANGE, 5};
constexpr Event kString{EVENT_EDITBOX_STRING, 5};

// One input: a typed character, or a key pressed with modifiers held.
struct Input {
  enum Kind { kChar, kKey } kind;
  unsigned code;
  bool shift = false, ctrl = false;
};
Input Ch(unsigned c) { return {Input::kChar, c}; }
Input Key(unsigned vk, bool shift = false, bool ctrl = false) { return {Input::kKey, vk, shift, ctrl}; }

class EditBox : public guitest::GuiTest {
 protected:
  void SetUp() override {
    GuiTest::SetUp();
    plat::GetMemoryClipboard() = plat::MemoryClipboard{};
    ASSERT_EQ(dialog_->AddEditBox(5, L"", 0, 0, 200, 30, false, &box_), S_OK);
    CDXUTDialog::RequestFocus(box_);
  }

  void Apply(const Input& in) {
    plat::KeyAndButtonState& keys = plat::GetInputState();
    keys.SetKeyDown(plat::kVkShift, in.shift);
    keys.SetKeyDown(plat::kVkControl, in.ctrl);
    dialog_->MsgProc({in.kind == Input::kChar ? plat::kWmChar : plat::kWmKeyDown, in.code, 1});
    keys.SetKeyDown(plat::kVkShift, false);
    keys.SetKeyDown(plat::kVkControl, false);
  }
  std::wstring Text() const { return box_->GetText(); }
  // Text, caret and selection start in one go.
  void Start(const wchar_t* text, int caret, int selStart) {
    box_->SetText(text);
    box_->PlaceCaret(caret);
    box_->m_nSelStart = selStart;
    Events().clear();
  }

  CDXUTEditBox* box_ = nullptr;
};

TEST_F(EditBox, TypingAndEditingKeys) {
  const struct { const char* name; const wchar_t* text; int caret, selStart; std::vector<Input> inputs;
                 const wchar_t* expected; int expectedCaret, expectedSel; std::size_t changes; } cases[] = {
      {"typing appends", L"", 0, 0, {Ch('a'), Ch('b'), Ch('c')}, L"abc", 3, 3, 3},
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
      // The clipboard (Ctrl+C 3, Ctrl+X 24, Ctrl+V 22), empty at first, keeps its text from row to row.
      {"pasting nothing still deletes the selection", L"abc", 0, 2, {Ch(22)}, L"c", 0, 0, 1},
      {"cut, then paste at the end", L"hello world", 0, 6, {Ch(24), Key(plat::kVkEnd), Ch(22)}, L"worldhello ", 11,
       11, 2},
      {"copy, then paste over a selection", L"hello world", 6, 11, {Ch(3), Key(plat::kVkHome, true), Ch(22)},
       L"world", 5, 5, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Start(c.text, c.caret, c.selStart);
    for (const Input& in : c.inputs) Apply(in);
    EXPECT_EQ(Text(), c.expected);
    EXPECT_EQ(std::pair(box_->GetCaret(), box_->GetSelStart()), std::pair(c.expectedCaret, c.expectedSel));
    EXPECT_EQ(Events(), std::vector<Event>(c.changes, kChange));
    box_->m_bInsertMode = true;
  }
}

TEST_F(EditBox, RefusedCharactersEnterAndReturnValues) {
  box_->m_pRefusedChars = std::make_unique<std::wstring>(L"\\/:*?<>;#&|");
  Start(L"ab", 2, 2);
  EXPECT_TRUE(dialog_->MsgProc({plat::kWmChar, '/', 1}));
  EXPECT_TRUE(dialog_->MsgProc({plat::kWmChar, '#', 1}));
  EXPECT_EQ(Text(), L"ab");
  EXPECT_TRUE(Events().empty());
  // A refused character does not even replace a selection.
  box_->m_nSelStart = 0;
  Apply(Ch('|'));
  EXPECT_EQ(Text(), L"ab");
  Apply(Ch('c'));
  EXPECT_EQ(Text(), L"c");

  Events().clear();
  EXPECT_TRUE(dialog_->MsgProc({plat::kWmChar, 13, 1}));
  EXPECT_EQ(std::tuple(Events(), Text()), std::tuple(std::vector<Event>{kString}, std::wstring(L"c")));

  box_->SetEnabled(false);
  EXPECT_FALSE(box_->MsgProc({plat::kWmChar, 'z', 1}));
  EXPECT_FALSE(box_->HandleKeyboard({plat::kWmKeyDown, plat::kVkHome, 1}));
  EXPECT_EQ(Text(), L"c");
}

TEST_F(EditBox, ClipboardWithCaretAndSelectionPastTheText) {
  // Caret and selection written past the text by an owner are kept inside
  // it before they are used.
  Start(L"abc", 1, 1);
  box_->m_nSelStart = 100;
  Apply(Ch(3));  // Ctrl+C
  EXPECT_EQ(plat::GetMemoryClipboard().GetText().value_or(L"-"), L"bc");
  box_->m_nCaret = 50;
  box_->m_nSelStart = -7;
  Render(0.0f);
  Apply(Ch(8));
  EXPECT_EQ(Text(), L"");
}

TEST_F(EditBox, SizeLimit) {
  const std::wstring longest(65533, L'a');
  const std::wstring tooLong(65534, L'b');
  box_->SetText(L"old");
  box_->SetText(tooLong.c_str());
  EXPECT_EQ(Text(), L"old");
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
