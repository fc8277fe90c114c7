// Shared set-up of the toolkit tests: recording renderer, fixed-metrics fonts
// (glyphs half their height wide), GUI sounds and a record of the events sent.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/gui_layout.h"
#include "app/sound.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_resource_manager.h"
#include "gui/hint_text.h"
#include "platform/input_state.h"
#include "platform/recording_renderer.h"
#include "support/fake_audio.h"
#include "support/fake_framework.h"
#include "support/test_support.h"

namespace guitest {

// An event sent by a control: its code and the control's id.
using Event = std::pair<unsigned, int>;

inline std::vector<Event>& Events() {
  static std::vector<Event> events;
  return events;
}
inline void RecordEvent(unsigned code, int id, CDXUTControl*) { Events().push_back({code, id}); }

constexpr int kFontHeight = 16;  // glyphs 8 pixels wide

class GuiTest : public ::testing::Test {
 protected:
  GuiTest() : folder_(dir_.Path()) {}

  void SetUp() override {
    dir_.Write("data/gfx/GUI.png", twtest::PngHeader(2048, 2048));
    for (sGuiFont& font : g_GuiFonts) font = {L"Arial", kFontHeight, 400, 0xFFA0A0A0, 0xFFB0B0B0, font.font};
    LoadSounds({SND_BUTTON_CLICK, SND_CHECKBOX_CHANGED, SND_RADIOBUTTON_CHANGED});
    Events().clear();
    dialog_ = std::make_unique<CDXUTDialog>();
    dialog_->SetCallback(RecordEvent);
  }

  void TearDown() override {
    dialog_.reset();
    for (auto& sound : g_Sounds) sound.reset();
    CDXUTDialog::ClearFocus();
    CDXUTDialog::ResetDrag();
    CDXUTDialog::SetPressedControl(nullptr);
    g_HintText.SetControl(nullptr);
    plat::GetInputState() = plat::KeyAndButtonState{};
    GetGlobalDialogResourceManager().OnDestroyDevice();
  }

  // A fresh fixture for the next case of a table.
  void Fresh() {
    TearDown();
    SetUp();
  }

  void LoadSounds(std::initializer_list<int> slots) {
    for (int slot : slots) {
      const std::string name = std::string("data/sound/") + g_SoundEffects[slot].name + ".wav";
      dir_.Write(name, "RIFF");
      g_Sounds[slot] = audio_.LoadSound(name, 1);
    }
  }
  // Plays of a sound slot.
  std::size_t Plays(int slot) const {
    const auto record = audio_.SoundOf(std::string("data/sound/") + g_SoundEffects[slot].name + ".wav");
    return record ? record->plays.size() : 0;
  }

  bool Send(unsigned msg, int x, int y, std::uintptr_t wParam = 0) {
    return dialog_->MsgProc({msg, wParam, plat::MakeMouseLParam(x, y)});
  }
  bool Down(int x, int y) { return Send(plat::kWmLButtonDown, x, y, plat::kMkLButton); }
  bool Up(int x, int y) { return Send(plat::kWmLButtonUp, x, y); }
  bool Move(int x, int y) { return Send(plat::kWmMouseMove, x, y); }
  bool Click(int x, int y) {
    const bool consumed = Down(x, y);
    Up(x, y);
    return consumed;
  }
  bool KeyDown(unsigned vk) { return dialog_->MsgProc({plat::kWmKeyDown, vk, 0}); }
  bool KeyUp(unsigned vk) { return dialog_->MsgProc({plat::kWmKeyUp, vk, 0}); }

  // Renders the dialog into a fresh recording.
  void Render(float elapsed = 1.0f) {
    renderer_.records.clear();
    dialog_->OnRender(elapsed);
  }

  twtest::TempDir dir_;
  twtest::ScopedWorkingFolder folder_;
  plat::RecordingRenderer renderer_;
  twtest::FakeFramework frame_{&renderer_};
  twtest::FakeAudioDevice audio_;
  std::unique_ptr<CDXUTDialog> dialog_;
};

}  // namespace guitest
