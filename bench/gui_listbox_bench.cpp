// Scrolling a list box of 10,000 rows in three columns: each iteration is
// one window message (a wheel step, or a Down key in a multi-selection
// list) followed by a frame of the dialog, against the recording renderer
// (counting only). The interface sheet is a PNG header of the real size so
// every sprite is queued as in the game.
#include <benchmark/benchmark.h>

#include <string>

#include "app/gui_layout.h"
#include "gui/dxut_dialog.h"
#include "gui/dxut_listbox.h"
#include "gui/dxut_resource_manager.h"
#include "platform/recording_renderer.h"
#include "support/fake_audio.h"
#include "support/fake_framework.h"
#include "support/test_support.h"

namespace {

constexpr int kRows = 10000;

std::string PngHeader(int w, int h) {
  std::string s("\x89PNG\r\n\x1a\n", 8);
  s += std::string("\0\0\0\x0d", 4) + "IHDR";
  for (int v : {w, h}) {
    for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((v >> shift) & 0xFF);
  }
  s += std::string(9, '\0');
  return s;
}

void ListScroll(benchmark::State& state, bool keys) {
  twtest::TempDir dir;
  dir.Write("data/gfx/GUI.png", PngHeader(2048, 2048));
  twtest::ScopedWorkingFolder folder(dir.Path());
  plat::RecordingRenderer renderer;
  renderer.SetStoreRecords(false);
  twtest::FakeFramework frame(&renderer);
  for (int k = 0; k < kGuiFonts; ++k) g_GuiFonts[k] = {L"Arial", 15, 400, 0xFFE0E0E0, 0xFFFFFFFF, nullptr};
  {
    CDXUTDialog dialog;
    dialog.SetSize(1024, 768);
    g_GuiLayout[1] = {100, 100, 600, 500};
    CDXUTListBox* list = nullptr;
    dialog.AddListBoxFromLayout(1, keys ? std::uint32_t{MULTISELECTION} : 0u, &list);
    list->SetColumns(3, L"Unit;Strength|Position", 50, 25, 25);
    for (int i = 0; i < kRows; ++i) {
      const std::wstring row = L"Division " + std::to_wstring(i) + L";" + std::to_wstring(i * 7 % 12000) + L"|" +
                               std::to_wstring(i % 97) + L"," + std::to_wstring(i % 53);
      list->AddItem(row.c_str(), nullptr);
    }
    dialog.OnRender(1.0f);
    if (keys) {
      list->SelectItem(0, false);
      CDXUTDialog::RequestFocus(list);
    }
    const std::uintptr_t wheelDown = static_cast<std::uintptr_t>(static_cast<std::uint16_t>(-120)) << 16;
    const plat::Message wheel{plat::kWmMouseWheel, wheelDown, plat::MakeMouseLParam(300, 300)};
    const plat::Message down{plat::kWmKeyDown, plat::kVkDown, 0};
    for (auto _ : state) {
      if (keys) {
        if (list->GetSelectedIndex() + 1 >= kRows) list->SelectItem(0, false);
        dialog.MsgProc(down);
      } else {
        if (list->GetScrollBar().GetTrackPos() + list->GetScrollBar().GetPageSize() >= kRows) {
          list->GetScrollBar().Scroll(-kRows);
        }
        dialog.MsgProc(wheel);
      }
      dialog.OnRender(0.016f);
    }
    state.counters["rows"] = list->GetSize();
    state.counters["quads"] =
        benchmark::Counter(static_cast<double>(renderer.quad_count), benchmark::Counter::kAvgIterations);
    state.counters["texts"] =
        benchmark::Counter(static_cast<double>(renderer.text_count), benchmark::Counter::kAvgIterations);
    state.counters["position"] = list->GetScrollBar().GetTrackPos();
    CDXUTDialog::ClearFocus();
  }
  GetGlobalDialogResourceManager().OnDestroyDevice();
}

void BM_ListBoxWheelScroll10k(benchmark::State& state) { ListScroll(state, false); }
void BM_ListBoxKeyScroll10kMulti(benchmark::State& state) { ListScroll(state, true); }
BENCHMARK(BM_ListBoxWheelScroll10k)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListBoxKeyScroll10kMulti)->Unit(benchmark::kMicrosecond);

}  // namespace
