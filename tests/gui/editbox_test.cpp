// The edit box and its text buffer: typing and editing keys as tables of
// input sequences, the clipboard, the size limit, caret placement with the
// fixed-metrics font (every glyph 8 pixels wide) and what a render draws.
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
      {"typing in the middle", L"ad", 1, 1, Typed(L"bc"), L"abcd", 3, 3, 2},
      {"backspace at 0 sends nothing", L"abc", 0, 0, {Ch(8)}, L"abc", 0, 0, 0},
      {"backspace removes the one before", L"abc", 2, 2, {Ch(8)}, L"ac", 1, 1, 1},
      {"backspace removes a selection", L"abcdef", 1, 4, {Ch(8)}, L"aef", 1, 1, 1},
      {"delete at the end sends nothing", L"abc", 3, 3, {Key(plat::kVkDelete)}, L"abc", 3, 3, 0},
      {"delete at the start", L"abc", 0, 0, {Key(plat::kVkDelete)}, L"bc", 0, 0, 1},
      {"delete removes a selection", L"abcdef", 5, 2, {Key(plat::kVkDelete)}, L"abf", 2, 2, 1},
      {"typing replaces the selection with one change", L"hello", 5, 0, {Ch('x')}, L"x", 1, 1, 1},
      {"ctrl+A selects all", L"hello", 2, 2, {Ch(1)}, L"hello", 5, 0, 0},
      {"ctrl+A keeps a selection", L"hello", 4, 2, {Ch(1)}, L"hello", 4, 2, 0},
      {"control characters are swallowed", L"ab", 2, 2, {Ch(27), Ch(9), Ch(2), Ch(29)}, L"ab", 2, 2, 0},
      {"insert toggles overwrite", L"abc", 1, 1, {Key(plat::kVkInsert), Ch('X')}, L"aXc", 2, 2, 1},
      {"overwrite at the end appends", L"abc", 3, 3, {Key(plat::kVkInsert), Ch('d')}, L"abcd", 4, 4, 1},
      {"insert twice is insert mode", L"abc", 1, 1, {Key(plat::kVkInsert), Key(plat::kVkInsert), Ch('X')},
       L"aXbc", 2, 2, 1},
      {"home and end", L"hello", 2, 2, {Key(plat::kVkHome)}, L"hello", 0, 0, 0},
      {"shift+end selects", L"hello", 1, 1, {Key(plat::kVkEnd, true)}, L"hello", 5, 1, 0},
      {"left and right by one", L"abc", 1, 1, {Key(plat::kVkRight), Key(plat::kVkRight), Key(plat::kVkRight),
       Key(plat::kVkLeft)}, L"abc", 2, 2, 0},
      {"left at 0 stays", L"abc", 0, 0, {Key(plat::kVkLeft)}, L"abc", 0, 0, 0},
      {"shift+left extends", L"abc", 3, 3, {Key(plat::kVkLeft, true), Key(plat::kVkLeft, true)}, L"abc", 1, 3, 0},
      {"ctrl+right to the next word", L"hello big world", 0, 0, {Key(plat::kVkRight, false, true)},
       L"hello big world", 6, 6, 0},
      {"ctrl+right to the end", L"hello big world", 10, 10, {Key(plat::kVkRight, false, true)},
       L"hello big world", 15, 15, 0},
      {"ctrl+left to the word start", L"hello big world", 13, 13, {Key(plat::kVkLeft, false, true)},
       L"hello big world", 10, 10, 0},
      {"ctrl+left twice", L"hello big world", 10, 10,
       {Key(plat::kVkLeft, false, true), Key(plat::kVkLeft, false, true)}, L"hello big world", 0, 0, 0},
      {"ctrl+right stops at punctuation", L"ab.cd", 0, 0, {Key(plat::kVkRight, false, true),
       Key(plat::kVkRight, false, true)}, L"ab.cd", 3, 3, 0},
      {"accented letters are part of the word", L"caf\u00e9s \u00fcber", 0, 0, {Key(plat::kVkRight, false, true)},
       L"caf\u00e9s \u00fcber", 6, 6, 0},
      {"ctrl+shift+right selects a word", L"one two", 0, 0, {Key(plat::kVkRight, true, true)}, L"one two", 4, 0, 0},
      {"up and down do nothing", L"abc", 1, 1, {Key(plat::kVkUp), Key(plat::kVkDown)}, L"abc", 1, 1, 0},
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

  // Insert is never consumed, Escape is left to the dialog, anything else
  // (Tab included) is.
  EXPECT_FALSE(box_->HandleKeyboard({plat::kWmKeyDown, plat::kVkInsert, 1}));
  EXPECT_FALSE(box_->HandleKeyboard({plat::kWmKeyDown, plat::kVkEscape, 1}));
  EXPECT_TRUE(box_->HandleKeyboard({plat::kWmKeyDown, plat::kVkTab, 1}));
  EXPECT_TRUE(box_->HandleKeyboard({plat::kWmKeyDown, 'Q', 1}));
  EXPECT_FALSE(box_->HandleKeyboard({plat::kWmKeyUp, plat::kVkDelete, 1}));
  // Only character messages are typing.
  EXPECT_FALSE(box_->MsgProc({plat::kWmKeyDown, 'a', 1}));

  box_->SetEnabled(false);
  EXPECT_FALSE(box_->MsgProc({plat::kWmChar, 'z', 1}));
  EXPECT_FALSE(box_->HandleKeyboard({plat::kWmKeyDown, plat::kVkHome, 1}));
  EXPECT_EQ(std::wstring(box_->GetText()), L"c");
}

TEST_F(EditBox, TabInAFocusedBoxKeepsTheFocus) {
  CDXUTEditBox* other = nullptr;
  dialog_->AddEditBox(6, L"", 0, 40, 200, 30, false, &other);
  Apply(Key(plat::kVkTab));
  EXPECT_EQ(CDXUTDialog::GetFocusControl(), box_);
}

TEST_F(EditBox, Clipboard) {
  plat::MemoryClipboard& clip = plat::GetMemoryClipboard();
  Start(L"hello world", 6, 11);
  Apply(Ch(3));  // Ctrl+C
  EXPECT_EQ(clip.GetText().value_or(L"-"), L"world");
  EXPECT_TRUE(Events().empty());

  // Nothing selected: the clipboard keeps what it has.
  Start(L"abc", 1, 1);
  Apply(Ch(3));
  EXPECT_EQ(clip.GetText().value_or(L"-"), L"world");

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

  // Shift+Insert pastes without an event; Ctrl+Insert copies.
  Start(L"ab", 1, 1);
  clip.SetText(std::wstring(L"12\0tail", 7));  // the text ends at its terminator
  Apply(Key(plat::kVkInsert, true));
  EXPECT_EQ(std::wstring(box_->GetText()), L"a12b");
  EXPECT_EQ(box_->GetCaret(), 3);
  EXPECT_TRUE(Events().empty());
  box_->m_nSelStart = 0;
  Apply(Key(plat::kVkInsert, false, true));
  EXPECT_EQ(clip.GetText().value_or(L"-"), L"a12");
  EXPECT_TRUE(box_->GetInsertMode());

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

TEST(UniBuffer, GrowthAndBounds) {
  CUniBuffer buffer;
  EXPECT_EQ(buffer.GetBufferSize(), 1);
  EXPECT_TRUE(buffer.InsertChar(0, L'b'));
  EXPECT_TRUE(buffer.InsertChar(0, L'a'));
  EXPECT_FALSE(buffer.InsertChar(3, L'c'));
  EXPECT_FALSE(buffer.InsertChar(-1, L'c'));
  EXPECT_TRUE(buffer.InsertString(2, L"cdef", 2));
  EXPECT_EQ(std::wstring(buffer.GetBuffer()), L"abcd");
  EXPECT_FALSE(buffer.RemoveChar(4));
  EXPECT_FALSE(buffer.RemoveChar(-1));
  EXPECT_TRUE(buffer.RemoveChar(0));
  EXPECT_EQ(std::wstring(buffer.GetBuffer()), L"bcd");
  EXPECT_GE(buffer.GetBufferSize(), buffer.GetTextSize() + 1);

  CUniBuffer big;
  EXPECT_TRUE(big.SetText(L"x"));
  EXPECT_EQ(big.GetBufferSize(), 2);
  while (big.SetBufferSize(-1)) {
  }
  EXPECT_EQ(big.GetBufferSize(), CUniBuffer::kMaxSize);
  EXPECT_FALSE(big.InsertString(0, std::wstring(65534, L'y').c_str()));
  EXPECT_TRUE(big.InsertString(0, std::wstring(65533, L'y').c_str()));
  EXPECT_FALSE(big.InsertChar(0, L'z'));
  EXPECT_EQ(big.GetTextSize(), 65534);
}

TEST_F(EditBox, CaretPositionsAndScrolling) {
  // Text rectangle 190 pixels wide: 23 whole glyphs.
  Start(L"", 0, 0);
  Apply(Typed(std::wstring(30, L'm')));
  // The caret's x (240) ends the visible part: first visible leading x must
  // be at least 240 - 190 = 50, so character 7 (x 56).
  EXPECT_EQ(box_->GetFirstVisible(), 7);
  Apply(Key(plat::kVkHome));
  EXPECT_EQ(box_->GetFirstVisible(), 0);
  Apply(Key(plat::kVkEnd));
  EXPECT_EQ(box_->GetFirstVisible(), 7);
  // Shortening the text brings the start back into view.
  box_->SetText(L"ab");
  EXPECT_EQ(box_->GetFirstVisible(), 0);

  CUniBuffer& buffer = box_->GetBuffer();
  int x = -1;
  EXPECT_EQ(buffer.CPtoX(1, false, &x), S_OK);
  EXPECT_EQ(x, 8);
  EXPECT_EQ(buffer.CPtoX(1, true, &x), S_OK);
  EXPECT_EQ(x, 16);
  EXPECT_EQ(buffer.CPtoX(2, true, &x), S_OK);
  EXPECT_EQ(x, 16);
  int cp = -1;
  bool trailing = true;
  struct XCase {
    int x, cp;
    bool trailing;
  };
  for (const XCase& c : {XCase{-5, 0, false}, XCase{0, 0, false}, XCase{3, 0, false}, XCase{4, 0, true},
                         XCase{9, 1, false}, XCase{15, 1, true}, XCase{16, 2, true}, XCase{500, 2, true}}) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(buffer.XtoCP(c.x, &cp, &trailing), S_OK);
    EXPECT_EQ(cp, c.cp);
    EXPECT_EQ(trailing, c.trailing);
  }
}

TEST_F(EditBox, MouseSetsCaretAndDragSelects) {
  dialog_->SetLocation(10, 20);
  Start(L"abcdefgh", 0, 0);
  // Text starts at x 5: the right half of 'b' (13..21) puts the caret after it.
  EXPECT_TRUE(Down(10 + 5 + 8 + 5, 20 + 10));
  EXPECT_EQ(box_->GetCaret(), 2);
  EXPECT_EQ(box_->GetSelStart(), 2);
  EXPECT_TRUE(plat::GetInputState().HasCapture());
  Move(10 + 5 + 8 * 5 + 1, 20 + 10);
  EXPECT_EQ(box_->GetCaret(), 5);
  EXPECT_EQ(box_->GetSelStart(), 2);
  Up(10 + 5 + 8 * 5 + 1, 20 + 10);
  EXPECT_FALSE(plat::GetInputState().HasCapture());
  Move(10 + 5, 20 + 10);
  EXPECT_EQ(box_->GetCaret(), 5);
  // Far right of the text: the end.
  Down(10 + 190, 20 + 10);
  EXPECT_EQ(box_->GetCaret(), 8);
  Up(10 + 190, 20 + 10);
  // A press elsewhere asks nothing of the box.
  EXPECT_FALSE(box_->HandleMouse({plat::kWmLButtonDown, 0, 0}, POINT{300, 300}));
}

TEST_F(EditBox, RenderDrawsSelectionTextAndCaret) {
  Start(L"abcdef", 4, 1);
  box_->OnFocusIn();
  Render(0.0f);
  const auto texts = renderer_.Texts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->text, L"abcdef");
  EXPECT_FLOAT_EQ(texts[0]->corners[0].x, 5.0f);
  // The selected run is drawn again in the selected text colour, from the
  // selection's left edge.
  EXPECT_EQ(texts[1]->text, L"bcd");
  EXPECT_EQ(texts[1]->argb, 0xFFFFFFFFu);
  EXPECT_FLOAT_EQ(texts[1]->corners[0].x, 13.0f);
  bool selection = false, caret = false, clipped = false;
  for (const plat::DrawRecord& r : renderer_.records) {
    if (r.kind == plat::DrawRecord::kQuad && r.argb == 0xFF28325C) {
      selection = r.corners[0].x == 13.0f && r.corners[1].x == 37.0f;
    }
    if (r.kind == plat::DrawRecord::kQuad && r.argb == 0xFFFFFFFF && r.corners[1].x - r.corners[0].x == 2.0f) {
      caret = r.corners[0].x == 5.0f + 32.0f - 1.0f;
    }
    if (r.kind == plat::DrawRecord::kClip && r.clip_set) {
      clipped = clipped || (r.source.left == 5 && r.source.right == 195);
    }
  }
  EXPECT_TRUE(selection);
  EXPECT_TRUE(caret);
  EXPECT_TRUE(clipped);

  // The caret blinks off after the blink period and on again.
  frame_.time += 1.0;
  Render(0.0f);
  EXPECT_FALSE(box_->IsCaretOn());
  frame_.time += 1.0;
  Render(0.0f);
  EXPECT_TRUE(box_->IsCaretOn());
}

TEST_F(EditBox, DisabledBoxShowsItsTextCentred) {
  Start(L"abc", 3, 3);
  box_->SetEnabled(false);
  Render(0.0f);
  const auto texts = renderer_.Texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_FLOAT_EQ(texts[0]->corners[0].x, static_cast<float>(5 + (190 - 24) / 2));
  // A disabled box keeps caret and selection when its text is set.
  box_->SetText(L"longer text", true);
  EXPECT_EQ(box_->GetCaret(), 3);
}

}  // namespace
