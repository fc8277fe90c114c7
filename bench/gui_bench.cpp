// One frame of a dialog with 200 controls (frames, buttons, labels, check
// boxes and radio buttons): BM_GuiDialogFrame measures the
// toolkit's own work against the recording renderer (counting only); with
// TW_BENCH_SDL, BM_GuiDialogFrameSoftware adds the software renderer's
// drawing for reference.
#include <benchmark/benchmark.h>

#include <string>

#include "app/gui_layout.h"
#include "gui/dxut_checkbox.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_frames.h"
#include "gui/dxut_resource_manager.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"

#if defined(TW_BENCH_SDL)
#include <SDL.h>

#include <cstdlib>

#include "platform/sdl/sdl_renderer.h"
#endif

namespace {

void SetUpFonts() {
  for (int k = 0; k < kGuiFonts; ++k) {
    g_GuiFonts[k].face = L"Arial";
    g_GuiFonts[k].height = 15;
    g_GuiFonts[k].weight = 400;
    g_GuiFonts[k].color = 0xFFE0E0E0;
    g_GuiFonts[k].color2 = 0xFFFFFFFF;
  }
}

// 200 controls on a 1024 x 768 screen: 40 each of frame, button, label,
// check box and radio button.
void Fill(CDXUTDialog& dialog) {
  dialog.SetSize(1024, 768);
  for (int i = 0; i < 40; ++i) {
    const int x = (i % 10) * 100, y = (i / 10) * 180;
    const std::wstring text = L"Item " + std::to_wstring(i);
    dialog.AddFrame(1000 + i, x, y, 98, 178, 2);
    dialog.AddButton(1100 + i, text.c_str(), x + 4, y + 10, 90, 28);
    dialog.AddStatic(1200 + i, text.c_str(), x + 4, y + 45, 90, 20);
    dialog.AddCheckBox(1300 + i, text.c_str(), x + 4, y + 75, 90, 20, i % 2 == 0);
    dialog.AddRadioButton(1400 + i, static_cast<unsigned>(i), text.c_str(), x + 4, y + 105, 90, 20, i % 3 == 0);
  }
}

void BM_GuiDialogFrame(benchmark::State& state) {
  plat::RecordingRenderer renderer;
  renderer.SetStoreRecords(false);
  twtest::FakeFramework frame(&renderer);
  SetUpFonts();
  {
    CDXUTDialog dialog;
    Fill(dialog);
    dialog.OnRender(1.0f);
    for (auto _ : state) dialog.OnRender(0.016f);
    state.counters["controls"] = dialog.GetControlCount();
    state.counters["quads"] = benchmark::Counter(static_cast<double>(renderer.quad_count),
                                                 benchmark::Counter::kAvgIterations);
  }
  GetGlobalDialogResourceManager().OnDestroyDevice();
}
BENCHMARK(BM_GuiDialogFrame)->Unit(benchmark::kMicrosecond);

#if defined(TW_BENCH_SDL)
void BM_GuiDialogFrameSoftware(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  SDL_Init(SDL_INIT_VIDEO);
  {
    auto renderer = plat::sdl::CreateSoftwareRenderer(1024, 768);
    twtest::FakeFramework frame(renderer.get());
    SetUpFonts();
    {
      CDXUTDialog dialog;
      Fill(dialog);
      dialog.OnRender(1.0f);
      for (auto _ : state) {
        renderer->BeginScene();
        dialog.OnRender(0.016f);
        renderer->EndScene();
      }
    }
    GetGlobalDialogResourceManager().OnDestroyDevice();
  }
  SDL_Quit();
}
BENCHMARK(BM_GuiDialogFrameSoftware)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
