// Every control of the toolkit's first part in each of its states, drawn
// with the software renderer from the real interface sheet and compared
// with tests/data/golden/gui_kitchen_sink_1024x768.png.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/gui_layout.h"
#include "gui/hint_text.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_combobox.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_memo.h"
#include "gui/dxut_scrollbar.h"
#include "platform/input_state.h"
#include "sdl_fixture.h"

namespace {

namespace fs = std::filesystem;

class GuiKitchenSink : public twtest::SdlTest {
 protected:
  void SetUp() override {
    SdlTest::SetUp();
    if (HasFatalFailure()) return;
    fs::create_directories(dir_.Path() / "data/gfx");
    fs::copy_file(root_ / "data/gfx/GUI.png", dir_.Path() / "data/gfx/GUI.png");
    const wchar_t* faces[kGuiFonts] = {L"Arial", L"Arial", L"Arial", L"Tahoma", L"Arial", L"Arial", L"Arial", L"Arial"};
    for (int k = 0; k < kGuiFonts; ++k) {
      g_GuiFonts[k] = {faces[k], k == 3 ? 20 : 15, k == 3 ? 700 : 400, 0xFFE8E0C8, 0xFFFFD040, nullptr};
    }
  }
  void TearDown() override {
    CDXUTDialog::ClearFocus();
    CDXUTDialog::ResetDrag();
    g_HintText.SetControl(nullptr);
    plat::GetInputState() = plat::KeyAndButtonState{};
    SdlTest::TearDown();
  }

  twtest::ScopedWorkingFolder folder_{dir_.Path()};
};

TEST_F(GuiKitchenSink, EveryControlInEveryStateMatchesTheGolden) {
  CDXUTDialog dialog;
  dialog.SetLocation(0, 0);
  dialog.SetSize(1024, 768);
  dialog.SetBackgroundColors(0xFF203040, 0xFF203040, 0xFF101820, 0xFF101820);
  dialog.EnableCaption(true);
  dialog.SetCaptionText(L"Kitchen sink");

  // Frames of the three styles.
  dialog.AddFrame(1, 10, 10, 200, 150, 0);
  dialog.AddFrame(2, 220, 10, 200, 150, 1);
  dialog.AddFrame(3, 430, 10, 200, 150, 2);

  // Buttons: normal, mouse-over, focus, disabled, pressed, narrow.
  CDXUTButton* row[4] = {};
  for (int i = 0; i < 4; ++i) dialog.AddButton(10 + i, L"Button", 10 + 130 * i, 180, 120, 30, 0, false, &row[i]);
  dialog.AddButton(14, L"Pressed", 530, 180, 120, 30);
  dialog.AddButton(15, L"", 660, 180, 8, 30);
  // Pressing the fifth button gives its pressed look; it stays pressed when
  // the focus moves on. The caption bar is 18 pixels high.
  dialog.MsgProc({plat::kWmLButtonDown, plat::kMkLButton, plat::MakeMouseLParam(540, 18 + 190)});
  row[1]->OnMouseEnter();
  CDXUTDialog::RequestFocus(row[2]);
  row[3]->SetEnabled(false);

  // Statics: normal and disabled (the factory's), element 2 with font 3.
  CDXUTStatic* label = nullptr;
  dialog.AddStatic(20, L"Static label (disabled)", 10, 230, 240, 24);
  dialog.AddStatic(21, L"Static label enabled", 260, 230, 240, 24, false, &label);
  label->SetEnabled(true);
  CDXUTStatic* big = nullptr;
  dialog.AddStatic(22, L"Heading font", 510, 230, 240, 24, false, &big);
  big->SetEnabled(true);
  big->m_TextElement = 2;

  // Check boxes and radio buttons: unchecked, checked, mouse-over, disabled.
  // The look of the control of a row at i, where hover and disabled fall.
  const auto look = [](CDXUTControl* c, int i, int hover, int disabled) {
    if (i == hover) c->OnMouseEnter();
    if (i == disabled) c->SetEnabled(false);
  };
  for (int i = 0; i < 4; ++i) {
    CDXUTCheckBox* c = nullptr;
    dialog.AddCheckBox(30 + i, L"Check box", 10 + 200 * i, 270, 190, 25, i % 2 == 1, 0, false, &c);
    look(c, i, 2, 3);
    CDXUTRadioButton* r = nullptr;
    dialog.AddRadioButton(40 + i, static_cast<unsigned>(i), L"Radio button", 10 + 200 * i, 305, 190, 25, i % 2 == 1,
                          0, false, &r);
    look(r, i, 2, 3);
  }

  // Icons from the sheet's check box cells: normal, mouse-over, disabled.
  for (int i = 0; i < 3; ++i) {
    CDXUTIcon* icon = nullptr;
    dialog.AddIcon(50 + i, 290, 1921, 315, 1946, 10 + 40 * i, 345, 30, 30, 0, false, &icon);
    look(icon, i, 1, 2);
  }
  // An image: a piece of the sheet through its own texture pointer, tinted.
  CDXUTImage* image = nullptr;
  dialog.AddImage(55, dialog.GetTexture(0), 0, 1913, 135, 2048, 140, 345, 90, 90, 0, false, &image);
  image->m_Color = 0xFFC0FFC0;

  // Tab frame with three tabs, the middle one selected.
  g_GuiLayout[60] = {250, 345, 400, 200};
  CDXUTTabFrame* tabs = nullptr;
  dialog.AddTabFrameFromLayout(60, &tabs);
  const wchar_t* contents[] = {L"Contents of tab one", L"Contents of tab two", L"Contents of tab three"};
  const wchar_t* titles[] = {L"First", L"Second", L"Third"};
  for (int i = 0; i < 3; ++i) dialog.AddStatic(61 + i, contents[i], 270, 400, 300, 24);
  for (int i = 0; i < 3; ++i) tabs->AddTab(titles[i], i + 1, 61 + i, 61 + i);
  tabs->SelectTab(1, false);

  // Progress bars at the minimum, the middle and the maximum, and a disabled one.
  for (int i = 0; i < 4; ++i) {
    g_GuiLayout[70 + i] = {670, 345 + 40 * i, 300, 25};
    CDXUTProgressBar* bar = nullptr;
    dialog.AddProgressBarFromLayout(70 + i, 0, 100, i == 0 ? 0 : i == 1 ? 50 : 100, &bar);
    if (i == 3) {
      bar->SetValue(30);
      bar->SetEnabled(false);
    }
  }

  // Edit boxes in the left column below (x 10-250): plain, focused with a
  // selection, overwrite caret, scrolled to the end of a long text,
  // disabled (centred). Only one control may hold the dialog's focus (a
  // button above), so the focused looks are set on the boxes themselves.
  CDXUTEditBox* edits[5] = {};
  const wchar_t* editTexts[5] = {L"Edit box", L"Selected words", L"Overwrite",
                                 L"A text far longer than the box can show at once", L"Disabled"};
  for (int i = 0; i < 5; ++i) dialog.AddEditBox(80 + i, editTexts[i], 10, 560 + 40 * i, 240, 34, false, &edits[i]);
  edits[1]->m_nSelStart = 9;
  edits[1]->m_bHasFocus = true;
  edits[2]->PlaceCaret(4);
  edits[2]->m_nSelStart = 4;
  edits[2]->m_bInsertMode = false;
  edits[2]->m_bHasFocus = true;
  edits[3]->m_bHasFocus = true;
  edits[4]->SetEnabled(false);
  // A memo (x 260-510) scrolled to the end of a wrapped text.
  CDXUTMemo* memo = nullptr;
  dialog.AddMemo(85, nullptr, 260, 560, 250, 195, false, &memo);
  std::wstring log;
  for (int i = 1; i <= 14; ++i) log += L"Turn " + std::to_wstring(i) + L": the convoy sails on through heavy seas.\n";
  memo->SetText(log.c_str());
  memo->ScrollToEnd();

  // Part two: choice controls. Sliders (x 10-240, y 445-535): a value of
  // 30, disabled at 70, and an empty range (thumb at the left end).
  CDXUTSlider* sliders[3] = {};
  const int sliderRange[3][3] = {{0, 100, 30}, {0, 100, 70}, {0, 0, 0}};
  for (int i = 0; i < 3; ++i) {
    dialog.AddSlider(90 + i, 10, 445 + 32 * i, 230, 25, sliderRange[i][0], sliderRange[i][1], sliderRange[i][2], false,
                     &sliders[i]);
  }
  sliders[1]->SetEnabled(false);
  // Combo boxes (x 520-700): closed, disabled, and open with a scrolled list.
  CDXUTComboBox* combos[3] = {};
  for (int i = 0; i < 3; ++i) {
    dialog.AddComboBox(95 + i, 520, 560 + 40 * i, 180, 30, 0, false, &combos[i]);
    for (const wchar_t* text : {L"Infantry", L"Armour", L"Artillery", L"Engineers", L"Cavalry", L"Marines"}) {
      combos[i]->AddItem(text, nullptr);
    }
  }
  combos[0]->SetSelectedByIndex(1);
  combos[1]->SetEnabled(false);
  combos[2]->SetDropHeight(30);
  combos[2]->SetSelectedByIndex(2);
  combos[2]->HandleKeyboard({plat::kWmKeyDown, plat::kVkF4, 0});  // F4 opens it
  // A list box with three columns (x 710-1014, y 560-760): multi-selection
  // with two rows picked, a row and a column under the mouse, a row too long
  // for its cell and more rows than fit, so its scroll bar has a thumb.
  g_GuiLayout[99] = {710, 560, 304, 200};
  CDXUTListBox* list = nullptr;
  dialog.AddListBoxFromLayout(99, MULTISELECTION, &list);
  list->SetColumns(3, L"Unit;Men|Guns", 50, 25, 25);
  list->AddItem(L"1st Infantry Division, the longest name of all;12000;48", nullptr);
  for (int i = 2; i <= 20; ++i) {
    list->AddItem((L"Brigade " + std::to_wstring(i) + L";;" + std::to_wstring(i * 100) + L"|" + std::to_wstring(i)).c_str(),
                  nullptr);
  }
  list->SelectItem(1, false);
  list->GetItem(2)->bSelected = true;
  dialog.OnRender(0.0f);  // the list learns its row height
  dialog.MsgProc({plat::kWmMouseMove, 0, plat::MakeMouseLParam(900, 18 + 560 + 6 + 15 + 16 * 4 + 4)});

  // Two frames so that fading colours settle, then the picture.
  for (int pass = 0; pass < 2; ++pass) {
    renderer_->BeginScene();
    renderer_->Clear(0xFF000000);
    dialog.OnRender(1.0f);
    renderer_->EndScene();
  }
  ExpectGolden("gui_kitchen_sink_1024x768.png");
}

}  // namespace
