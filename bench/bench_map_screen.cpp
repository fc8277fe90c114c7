// Our side of one 1024 x 768 frame of the map screen on the large generated
// scenario (400 x 250 map, 3,000 land units, 1,000 cities): the map, the two
// black areas and every panel (information bar, hex panel with a city
// selected, minimap with its view outline), submitted through the sprite
// batch into the recording renderer (counting only). Goal: under 3 ms. With
// TW_BENCH_SDL, BM_MapScreenFrameSoftware draws the same frame with SDL's
// software renderer for reference, and BM_MapScreenIdleFrame... the frame of
// an idle window as the game's loop draws it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "frame/device_events.h"
#include "app/gui_layout.h"
#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "files/world_loader.h"
#include "gui/dxut_resource_manager.h"
#include "platform/recording_renderer.h"
#include "platform/text.h"
#include "screens/hex_panel.h"
#include "screens/info_panel.h"
#include "screens/map_screen.h"
#include "screens/minimap_panel.h"
#include "support/bench_folder.h"
#include "support/fake_framework.h"
#include "support/test_support.h"
#include "world/cities.h"
#include "world/world.h"

#if defined(TW_BENCH_SDL)
#include <SDL.h>

#include "platform/clock.h"
#include "platform/frame_rest.h"
#include "platform/sdl/sdl_framework.h"
#include "platform/sdl/sdl_renderer.h"
#endif

namespace {

namespace fs = std::filesystem;

// Loads the scenario and sets up the map screen as the player sees it; false
// when something is missing.
bool SetUpMapScreen(benchmark::State& state, float zoom) {
  const fs::path root = twtest::FindSourceRoot("data/GUI_1024x768.csv");
  const fs::path layout = root.empty() ? root : root / "data/GUI_1024x768.csv";
  if (layout.empty() || !LoadGuiLayoutFile(plat::WidenBytes(layout.string()))) {
    state.SkipWithError("no layout: set TW_SOURCE_DIR");
    return false;
  }
  g_Settings.ResolutionX = 1024;
  g_Settings.ResolutionY = 768;
  OnCreateDevice({1024, 768});
  OnResetDevice({1024, 768});
  {
    cBenchFolder inside;
    LoadWorld(sGameStartSettings{cBenchFolder::Scenario().folderPattern, 0});
  }
  if (g_pWorld == nullptr || g_pWorld->Cities().empty()) {
    state.SkipWithError("the scenario did not load");
    return false;
  }
  // Interface and skin sheets of the shipped sizes, so that every draw is made,
  // and the layers at their depths (the skins' table is not read here).
  ResetSpriteDepthTable();
  g_Textures[2].Create(2048, 2048);
  for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies, kSlotUnits, kSlotUnitInfo}) {
    g_Textures[slot].Create(2004, 2004);
  }
  cWorld& world = *g_pWorld;
  world.SetView(MakeMapScreen(world));
  cMapScreen& screen = *LoadedMapScreen();
  world.GetMap().MinimapTexture().Create(400, 250);
  world.GetMap().FitMinimapPicture(400, 250);
  cCountry* current = world.GetCountry(1);
  current->human = true;
  world.turnState.currentCountry = current;
  screen.EnterMapState();
  LoadedMapScreen()->InfoPanel()->RefreshCounters();
  LoadedMapScreen()->MinimapPanel()->RefreshDate();
  SetPanelMinimized(screen.HexPanel(), false);
  const cCity& city = *world.Cities()[world.Cities().size() / 2];
  world.turnState.selectedHex = &world.GetMap().GetHex(city.x, city.y);
  LoadedMapScreen()->HexPanel()->Refresh();
  cMap& map = world.GetMap();
  g_MapTargetScale = zoom;
  g_Settings.MapZoom = zoom + 0.25f;  // eased in one update: the view's geometry follows
  map.CenterAtHex(city.x, city.y);
  map.UpdateView(1.0f);
  map.UpdateView(100.0f);
  return true;
}

void TearDownMapScreen() {
  delete g_pWorld;
  g_pWorld = nullptr;
  for (auto& texture : g_Textures) texture.Release();
  GetGlobalDialogResourceManager().OnDestroyDevice();
  OnLostDevice();
  OnDestroyDevice();
}

// Zoom 1.0, and the smallest zoom (the map's whole width on the screen).
void RunFrames(benchmark::State& state, float zoom) {
  const sSettings saved = g_Settings;
  plat::RecordingRenderer renderer(1024, 768);
  renderer.SetStoreRecords(false);
  renderer.SetKeeping(true);  // as the window's renderers: the map's far layers kept
  twtest::FakeFramework frame(&renderer);
  if (SetUpMapScreen(state, zoom)) {
    std::size_t quads = 0, texts = 0;
    for (auto _ : state) {
      const std::size_t before = renderer.quad_count;
      const std::size_t textsBefore = renderer.text_count;
      renderer.BeginScene();
      renderer.Clear(0);
      LoadedMapScreen()->Render(0.016f);
      renderer.EndScene();
      quads = renderer.quad_count - before;
      texts = renderer.text_count - textsBefore;
    }
    state.counters["quads"] = static_cast<double>(quads);
    state.counters["texts"] = static_cast<double>(texts);
    state.counters["kept"] = static_cast<double>(renderer.kept_count);
  }
  TearDownMapScreen();
  g_Settings = saved;
}

void BM_MapScreenFrame(benchmark::State& state) { RunFrames(state, 1.0f); }
BENCHMARK(BM_MapScreenFrame)->Unit(benchmark::kMicrosecond);

void BM_MapScreenFrameSmallestZoom(benchmark::State& state) { RunFrames(state, 1024.0f / (400 * 83.0f)); }
BENCHMARK(BM_MapScreenFrameSmallestZoom)->Unit(benchmark::kMicrosecond);

#if defined(TW_BENCH_SDL)
// The frame with SDL's software renderer. With idle set, the frame of the
// window's loop (plat::sdl::DrawLoopFrame) while the player only reads the
// map, on a clock the loop's waits move on: frames without input at the
// shipped 25 frames a second keep the map's far layers and begin the
// window's rest, and a resting window's frames, 100 ms (the rest's wait)
// apart, are each probed and drawn when the picture changed (the markers
// blink). A map of more draw calls than the renderer notes (the smallest
// zoom) never rests: its frames are drawn whole at the frame rate. The
// counters: the share of the frames drawn, and the share made while the
// window rested.
void SoftwareFrames(benchmark::State& state, float zoom, bool idle) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    state.SkipWithError("no SDL video");
    return;
  }
  const sSettings saved = g_Settings;
  {
    auto renderer = plat::sdl::CreateSoftwareRenderer(1024, 768);
    twtest::FakeFramework frame(renderer.get());
    if (SetUpMapScreen(state, zoom)) {
      plat::sdl::SdlRenderer& sdl = *renderer;
      const plat::FrameRenderCallback render = [&sdl](double, float elapsed) {
        sdl.BeginScene();
        sdl.Clear(0xFF000000u);
        LoadedMapScreen()->Render(elapsed);
        sdl.EndScene();
      };
      if (!idle) {
        for (auto _ : state) {
          sdl.Notes().Reset();
          render(0.0, 0.016f);
        }
      } else {
        plat::FrameRest rest;
        plat::ManualClock clock;
        plat::SetClock(&clock);
        double time = 0.0;
        const auto idleFrame = [&](int ms) {
          clock.Advance(ms);
          time += ms / 1000.0;
          return plat::sdl::DrawLoopFrame(sdl, rest, render, time, static_cast<float>(ms) / 1000.0f, false, true);
        };
        constexpr int kFrameMs = 40;
        const auto loopFrame = [&] { return idleFrame(rest.Resting() ? plat::FrameRest::kRestMs : kFrameMs); };
        for (int i = 0; i < 4 * plat::FrameRest::kQuietFramesBeforeRest; ++i) loopFrame();
        std::int64_t drawn = 0, resting = 0;
        for (auto _ : state) {
          resting += rest.Resting() ? 1 : 0;
          drawn += loopFrame() ? 1 : 0;
        }
        state.counters["drawn"] = benchmark::Counter(static_cast<double>(drawn), benchmark::Counter::kAvgIterations);
        state.counters["resting"] =
            benchmark::Counter(static_cast<double>(resting), benchmark::Counter::kAvgIterations);
        plat::SetClock(nullptr);
      }
    }
    TearDownMapScreen();
  }
  g_Settings = saved;
  SDL_Quit();
}

void BM_MapScreenFrameSoftware(benchmark::State& state) { SoftwareFrames(state, 1.0f, false); }
BENCHMARK(BM_MapScreenFrameSoftware)->Unit(benchmark::kMicrosecond);

void BM_MapScreenIdleFrameSoftware(benchmark::State& state) { SoftwareFrames(state, 1.0f, true); }
BENCHMARK(BM_MapScreenIdleFrameSoftware)->Unit(benchmark::kMicrosecond);

void BM_MapScreenIdleFrameSmallestZoom(benchmark::State& state) {
  SoftwareFrames(state, 1024.0f / (400 * 83.0f), true);
}
BENCHMARK(BM_MapScreenIdleFrameSmallestZoom)->Unit(benchmark::kMicrosecond);
#endif

}  // namespace
