// Loading a 400 x 250 "map.tdw" (100,000 hexes) with its post-load passes:
// reading the file, converting the records, river mouths, front marks and
// coastal sea zones, and the fit scale.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/lines.h"
#include "support/test_support.h"
#include "world/map.h"

namespace {

// A map with seas round a continent, lakes, rivers and several countries.
void BuildBenchMap(cMap& map) {
  const int w = 400, h = 250;
  map.SetWidth(w);
  map.SetHeight(h);
  map.CreateHexes();
  unsigned seed = 12345;
  auto next = [&seed] {
    seed = seed * 214013u + 2531011u;
    return (seed >> 16) & 0x7FFF;
  };
  for (sHex& c : map.Hexes()) {
    const bool border = c.x < 20 || c.y < 15 || c.x >= w - 20 || c.y >= h - 15;
    const bool lake = next() % 23 == 0;
    if (border || lake) {
      c.terrain = kTerrainWater;
      c.seaZone = static_cast<std::uint16_t>(1 + c.x / 40 + 10 * (c.y / 50));
      continue;
    }
    c.terrain = static_cast<std::uint8_t>(1 + next() % 7);
    c.owner = c.controller = c.originalOwner = static_cast<std::uint8_t>(1 + c.x / 50);
    if (next() % 5 == 0) c.riverMask = static_cast<std::uint8_t>(1 + next() % 63);
    c.tileVariant = static_cast<std::uint8_t>(next() % 6);
    for (int m = 0; m < 12; ++m) c.mudChance[m] = static_cast<std::uint8_t>(next() % 40);
  }
}

void BM_LoadMap400x250(benchmark::State& state) {
  twtest::TempDir dir;
  std::string bytes;
  {
    cMap source;
    BuildBenchMap(source);
    bytes = source.MapFileBytes();
  }
  plat::WriteFileBytes(dir.File("map.tdw"), bytes);
  const std::wstring pattern = dir.Path().wstring() + L"\\%s";
  for (auto _ : state) {
    cMap map(pattern);
    benchmark::DoNotOptimize(map.GetHex(200, 125).seaZone);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadMap400x250)->Unit(benchmark::kMillisecond);

}  // namespace
