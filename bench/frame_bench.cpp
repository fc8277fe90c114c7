// One busy map frame as the game submits it: 5,000 sprites cut from a
// 2048 x 2048 atlas at random depths plus 500 labels, through the sprite
// batch. BM_FrameSubmit measures our side (batching, sorting, text layout
// and the line cache) against a renderer that only counts; with
// TW_BENCH_SDL (the bench linked with tw_platform_sdl) BM_FrameSoftware draws
// the same frame with SDL's software renderer for reference.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "platform/recording_renderer.h"
#include "platform/render.h"

#if defined(TW_BENCH_SDL)
#include <SDL.h>

#include <cstdlib>

#include "platform/sdl/sdl_renderer.h"
#endif

namespace {

struct Sprite {
  plat::RectI source;
  float x, y, depth;
  std::uint32_t argb;
};

struct Label {
  std::wstring text;
  plat::RectI rect;
};

struct FrameData {
  std::vector<Sprite> sprites;
  std::vector<Label> labels;
  FrameData() {
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> pos(0, 2048 - 64), size(8, 64), sx(0, 1000), sy(0, 740);
    std::uniform_real_distribution<float> depth(0.0f, 1.0f);
    for (int i = 0; i < 5000; ++i) {
      int l = pos(rng), t = pos(rng);
      sprites.push_back({{l, t, l + size(rng), t + size(rng)}, float(sx(rng)), float(sy(rng)), depth(rng),
                         0xFF000000u | static_cast<std::uint32_t>(rng() & 0xFFFFFF)});
    }
    for (int i = 0; i < 500; ++i) {
      int x = sx(rng), y = sy(rng);
      labels.push_back({L"City " + std::to_wstring(i), {x, y, x + 120, y + 20}});
    }
  }
};

const FrameData& Data() {
  static const FrameData data;
  return data;
}

void SubmitFrame(plat::Renderer& r, plat::SpriteBatch& batch, const plat::Texture& atlas, plat::Font& font) {
  const FrameData& d = Data();
  r.BeginScene();
  r.Clear(0xFF000000);
  batch.Begin();
  for (const Sprite& s : d.sprites) batch.Draw(atlas, &s.source, s.x, s.y, s.depth, s.argb);
  for (const Label& l : d.labels) {
    plat::RectI rect = l.rect;
    font.DrawText(&batch, l.text, rect, plat::kTextCenter | plat::kTextVCenter | plat::kTextSingleLine, 0xFFFFFFFF);
  }
  batch.End();
  r.EndScene();
}

void BM_FrameSubmit(benchmark::State& state) {
  plat::RecordingRenderer r;
  r.SetStoreRecords(false);
  auto atlas = r.CreateTexture(2048, 2048);
  auto font = r.CreateFont(L"Arial", 15, 700);
  plat::SpriteBatch batch(r);
  SubmitFrame(r, batch, *atlas, *font);  // warm the caches and buffers
  for (auto _ : state) SubmitFrame(r, batch, *atlas, *font);
  state.counters["quads"] = static_cast<double>(r.quad_count + r.text_count) / (state.iterations() + 1);
}
BENCHMARK(BM_FrameSubmit)->Unit(benchmark::kMicrosecond);

#if defined(TW_BENCH_SDL)
void BM_FrameSoftware(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  SDL_Init(SDL_INIT_VIDEO);
  {
    auto r = plat::sdl::CreateSoftwareRenderer(1024, 768);
    auto atlas = r->CreateTexture(2048, 2048);
    int pitch = 0;
    std::uint32_t* px = atlas->Lock(pitch);
    for (int i = 0; i < 2048 * pitch; ++i) px[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    atlas->Unlock();
    auto font = r->CreateFont(L"Arial", 15, 700);
    plat::SpriteBatch batch(*r);
    SubmitFrame(*r, batch, *atlas, *font);
    for (auto _ : state) SubmitFrame(*r, batch, *atlas, *font);
  }
  SDL_Quit();
}
BENCHMARK(BM_FrameSoftware)->Unit(benchmark::kMillisecond);
#endif

}  // namespace
