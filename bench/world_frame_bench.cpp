// Our side of one 1024 x 768 map frame of a 400 x 250 map: cMap::Render
// submitting the visible cells through the sprite batch, and the batch's
// sort at its end, into the recording renderer (counting only). At zoom 1.0
// and at the smallest zoom (the map's whole width on the screen). The map
// keeps its pictures between frames; the "Changed" runs alter one cell every
// frame, so each frame makes them again (the frame after a change). Each
// frame begins with the screen's clear, and the recorder keeps pictures as
// the window's renderers do: the far layers of an unchanged view are one
// kept picture (the "kept" counter: frames that showed it). With
// TW_BENCH_SDL, BM_WorldFrameSoftware draws the zoom-1.0 frame with SDL's
// software renderer for reference.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/settings.h"
#include "app/skins.h"
#include "app/texture.h"
#include "map_drawing/hex_drawing.h"
#include "platform/recording_renderer.h"
#include "support/fake_framework.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/hex_changes.h"
#include "world/map.h"
#include "world/world.h"

#if defined(TW_BENCH_SDL)
#include <SDL.h>

#include <cstdlib>

#include "platform/sdl/sdl_renderer.h"
#endif

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 250;

// Seas round a continent with lakes, every terrain, rivers, weather, four
// countries with borders between them, fortifications and cities.
void BuildWorld(cWorld& world) {
  cMap& map = world.GetMap();
  map.SetWidth(kWidth);
  map.SetHeight(kHeight);
  map.CreateHexes();
  map.ResetEyeCandies();
  unsigned seed = 4242;
  auto next = [&seed] {
    seed = seed * 214013u + 2531011u;
    return (seed >> 16) & 0x7FFF;
  };
  for (sHex& c : map.Hexes()) {
    const bool border = c.x < 10 || c.y < 8 || c.x >= kWidth - 10 || c.y >= kHeight - 8;
    c.tileVariant = static_cast<std::uint8_t>(next() % 6);
    if (border || next() % 29 == 0) {
      c.terrain = kTerrainWater;
      c.seaZone = static_cast<std::uint16_t>(1 + c.x / 50 + 8 * (c.y / 50));
      continue;
    }
    c.terrain = static_cast<std::uint8_t>(1 + next() % 7);
    const int country = 1 + (c.x / 100) + 2 * (c.y / 125) % 4;
    c.owner = c.controller = c.originalOwner = static_cast<std::uint8_t>(country > 4 ? 4 : country);
    if (next() % 9 == 0) c.riverMask = static_cast<std::uint8_t>(1u << (next() % 6));
    if (next() % 40 == 0) c.fortification = static_cast<std::uint8_t>(1 + next() % 3);
    c.weather = next() % 5 == 0 ? 1 : 0;
  }
  map.AddRiverMouths();
  for (int id = 1; id <= 4; ++id) {
    auto country = std::make_unique<cCountry>();
    country->id = id;
    country->alliance = id;
    country->colour[0] = 0x00402010u * static_cast<std::uint32_t>(id);
    world.AddCountry(std::move(country));
  }
  for (int y = 12; y < kHeight - 12; y += 9) {
    for (int x = 14; x < kWidth - 14; x += 11) {
      if (map.GetHex(x, y).IsWater()) continue;
      auto city = std::make_unique<cCity>();
      city->x = x;
      city->y = y;
      city->type = (x + y) % 5;
      world.AddCity(std::move(city));
    }
  }
  map.RefreshBorderFlags(world);
}

// Puts the display settings and the map's zoom back at the end of a
// benchmark: the benchmarks after it in the program start from the same.
class cKeptView {
 public:
  cKeptView() : settings_(g_Settings), zoom_level_(g_MapZoomLevel), target_scale_(g_MapTargetScale) {}
  ~cKeptView() {
    g_Settings = settings_;
    g_MapZoomLevel = zoom_level_;
    g_MapTargetScale = target_scale_;
  }
  cKeptView(const cKeptView&) = delete;
  cKeptView& operator=(const cKeptView&) = delete;

 private:
  sSettings settings_;
  float zoom_level_, target_scale_;
};

void ShowEverything() {
  g_Settings.ResolutionX = 1024;
  g_Settings.ResolutionY = 768;
  g_Settings.MapMode = 0;
  g_Settings.ShowWeather = true;
  g_Settings.ShowGrid = true;
  g_Settings.ShowSeaZonesBorders = true;
  g_Settings.MapOwnershipMode = 1;
  g_Settings.BorderMode = 2;
  ResetSpriteDepthTable();
}

// Sets the view at the map's centre at the zoom (eased in one update).
void SetView(cMap& map, float zoom) {
  g_MapTargetScale = zoom;
  g_Settings.MapZoom = zoom + 0.25f;
  map.CenterAtHex(kWidth / 2, kHeight / 2);
  map.UpdateView(1.0f);
}

// The smallest zoom: the map's full width fills the screen.
float SmallestZoom() { return 1024.0f / (kWidth * 83.0f); }

// timeSort: the batch's sort and hand-over at End count too; otherwise only
// the submission of the cells (cMap::Render) is timed. changeEveryFrame:
// a mark comes and goes on the centre cell between frames.
void RunFrames(benchmark::State& state, float zoom, bool timeSort = true, bool changeEveryFrame = false) {
  const cKeptView kept;
  plat::RecordingRenderer renderer(1024, 768);
  renderer.SetStoreRecords(false);
  renderer.SetKeeping(true);
  twtest::FakeFramework frame(&renderer);
  for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies}) g_Textures[slot].Create(2004, 2004);
  ShowEverything();
  auto world = std::make_unique<cWorld>();
  g_pWorld = world.get();
  BuildWorld(*world);
  SetView(world->GetMap(), zoom);
  plat::SpriteBatch batch(renderer);
  std::size_t quads = 0;
  cMap& map = world->GetMap();
  sHex& centre = map.GetHex(kWidth / 2, kHeight / 2);
  for (auto _ : state) {
    if (changeEveryFrame) {
      if (centre.markBits != 0) {
        ClearHexMark(map, centre, centre.markBits, true);
      } else {
        SetHexMark(map, centre, 1, -1);
      }
    }
    const std::size_t before = renderer.quad_count;
    renderer.Clear(0);
    batch.Begin();
    world->GetMap().Render(batch);
    if (!timeSort) state.PauseTiming();
    batch.End();
    if (!timeSort) state.ResumeTiming();
    quads = renderer.quad_count - before;
  }
  int c0 = 0, c1 = 0, r0 = 0, r1 = 0;
  world->GetMap().VisibleRange(c0, c1, r0, r1);
  state.counters["hexes"] = static_cast<double>((c1 - c0) * (r1 - r0));
  state.counters["quads"] = static_cast<double>(quads);
  state.counters["kept"] = static_cast<double>(renderer.kept_count);
  g_pWorld = nullptr;
  world.reset();
  for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies}) g_Textures[slot].Release();
}

void BM_WorldFrameZoom100(benchmark::State& state) { RunFrames(state, 1.0f); }
BENCHMARK(BM_WorldFrameZoom100)->Unit(benchmark::kMicrosecond);

void BM_WorldFrameSmallestZoom(benchmark::State& state) { RunFrames(state, SmallestZoom()); }
BENCHMARK(BM_WorldFrameSmallestZoom)->Unit(benchmark::kMicrosecond);

void BM_WorldFrameSmallestZoomSubmitOnly(benchmark::State& state) { RunFrames(state, SmallestZoom(), false); }
BENCHMARK(BM_WorldFrameSmallestZoomSubmitOnly)->Unit(benchmark::kMicrosecond);

void BM_WorldFrameZoom100Changed(benchmark::State& state) { RunFrames(state, 1.0f, true, true); }
BENCHMARK(BM_WorldFrameZoom100Changed)->Unit(benchmark::kMicrosecond);

void BM_WorldFrameSmallestZoomChanged(benchmark::State& state) { RunFrames(state, SmallestZoom(), true, true); }
BENCHMARK(BM_WorldFrameSmallestZoomChanged)->Unit(benchmark::kMicrosecond);

#if defined(TW_BENCH_SDL)
void BM_WorldFrameSoftware(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    state.SkipWithError("no SDL video");
    return;
  }
  {
    const cKeptView kept;
    auto renderer = plat::sdl::CreateSoftwareRenderer(1024, 768);
    twtest::FakeFramework frame(renderer.get());
    for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies}) {
      g_Textures[slot].Create(2004, 2004);
      int pitch = 0;
      std::uint32_t* texels = g_Textures[slot].Get()->Lock(pitch);
      for (int i = 0; i < 2004 * pitch; ++i) texels[i] = 0x80A0C0E0u;
      g_Textures[slot].Get()->Unlock();
    }
    ShowEverything();
    auto world = std::make_unique<cWorld>();
    g_pWorld = world.get();
    BuildWorld(*world);
    SetView(world->GetMap(), 1.0f);
    plat::SpriteBatch batch(*renderer);
    for (auto _ : state) {
      renderer->BeginScene();
      renderer->Clear(0xFF000000);
      batch.Begin();
      world->GetMap().Render(batch);
      batch.End();
      renderer->EndScene();
    }
    g_pWorld = nullptr;
    world.reset();
    for (int slot : {kSlotTerrain, kSlotOthers, kSlotEyeCandies}) g_Textures[slot].Release();
  }
  SDL_Quit();
}
BENCHMARK(BM_WorldFrameSoftware)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
