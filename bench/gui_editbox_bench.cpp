// Typing 10,000 characters into a focused edit box, one character message
// at a time through the dialog, as the window layer delivers them: with the
// fixed-metrics fonts of the recording renderer, and with the real font
// measuring of the SDL back-end. The counter per_message is the average
// cost of one typed character in seconds (the goal: under 1 ms). With
// argument 1 the dialog is also drawn after every character.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "app/gui_layout.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_editbox.h"
#include "gui/dxut_resource_manager.h"
#include "platform/recording_renderer.h"
#include "platform/sdl/sdl_renderer.h"
#include "support/fake_framework.h"

namespace {

constexpr int kCharacters = 10000;

void SetUpEditBoxFonts() {
  for (int k = 0; k < kGuiFonts; ++k) {
    g_GuiFonts[k].face = L"Arial";
    g_GuiFonts[k].height = 15;
    g_GuiFonts[k].weight = 400;
    g_GuiFonts[k].color = 0xFFE0E0E0;
    g_GuiFonts[k].color2 = 0xFFFFFFFF;
  }
}

// mode 0: typing at the end; 1: the same, drawn after every character;
// 2: typing in front of a 10,000-character text (every character moves and
// measures again all that follows it).
void TypeInto(benchmark::State& state, int mode) {
  const bool renderEach = mode == 1;
  {
    CDXUTDialog dialog;
    dialog.SetSize(1024, 768);
    CDXUTEditBox* box = nullptr;
    dialog.AddEditBox(1, L"", 10, 10, 400, 30, false, &box);
    CDXUTDialog::RequestFocus(box);
    dialog.OnRender(1.0f);  // the box takes its element's font
    const wchar_t pattern[] = L"Convoy HX-229 sails at dawn ";
    for (auto _ : state) {
      state.PauseTiming();
      if (mode == 2) {
        box->SetText(std::wstring(kCharacters, L'x').c_str());
        box->PlaceCaret(0);
        box->m_nSelStart = 0;
      } else {
        box->SetText(L"");
      }
      state.ResumeTiming();
      for (int i = 0; i < kCharacters; ++i) {
        const wchar_t c = pattern[i % (sizeof(pattern) / sizeof(wchar_t) - 1)];
        dialog.MsgProc({plat::kWmChar, static_cast<std::uintptr_t>(c), 1});
        if (renderEach) dialog.OnRender(0.016f);
      }
    }
    if (box->GetTextLength() != (mode == 2 ? 2 : 1) * kCharacters) state.SkipWithError("the text did not take every character");
    // Seconds per typed character (shown with its unit prefix, e.g. 2.5u).
    state.counters["per_message"] = benchmark::Counter(static_cast<double>(state.iterations()) * kCharacters,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    CDXUTDialog::ClearFocus();
  }
  GetGlobalDialogResourceManager().OnDestroyDevice();
}

void BM_EditBoxTyping(benchmark::State& state) {
  plat::RecordingRenderer renderer;
  renderer.SetStoreRecords(false);
  twtest::FakeFramework frame(&renderer);
  SetUpEditBoxFonts();
  TypeInto(state, static_cast<int>(state.range(0)));
}
BENCHMARK(BM_EditBoxTyping)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_EditBoxTypingSdlFont(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  SDL_Init(SDL_INIT_VIDEO);
  {
    auto renderer = plat::sdl::CreateSoftwareRenderer(1024, 768);
    twtest::FakeFramework frame(renderer.get());
    SetUpEditBoxFonts();
    TypeInto(state, 0);
  }
  SDL_Quit();
}
BENCHMARK(BM_EditBoxTypingSdlFont)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace
