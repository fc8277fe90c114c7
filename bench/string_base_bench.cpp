// Loading a full-size language base and looking texts up.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "app/console_log.h"
#include "app/lang_source.h"
#include "app/string_base.h"
#include "support/test_support.h"

namespace {

constexpr int kKeys = 20000;

std::string BenchKey(int i) { return "bench_text_key_" + std::to_string(i) + "_of_the_language_base"; }

// A 20,000-key base written by the tool's writer, with texts of a typical
// length, some with line breaks and non-Latin characters.
struct BenchFile {
  BenchFile() {
    std::vector<sLangText> texts;
    texts.reserve(kKeys);
    for (int i = 0; i < kKeys; ++i) {
      std::wstring text = L"Text number " + std::to_wstring(i) + L" of the benchmark: %s attacks %s.";
      if (i % 7 == 0) text += L"\n\nZa\x017C\x00F3\x0142\x0107 g\x0119\x015Bl\x0105 ja\x017A\x0144.";
      texts.push_back(sLangText{BenchKey(i), text, static_cast<std::size_t>(i + 1)});
    }
    std::string db;
    if (!BuildLangBase(texts, db)) std::abort();
    path = dir.Write("lang_ENG.db", db);
    bytes = db.size();
  }
  twtest::TempDir dir;
  std::string path;
  std::size_t bytes = 0;
};

const BenchFile& File() {
  static const BenchFile file;
  return file;
}

void BM_StringBaseLoad20k(benchmark::State& state) {
  g_ConsoleLog.SetEnabled(false);
  const BenchFile& file = File();
  for (auto _ : state) {
    state.PauseTiming();
    auto base = std::make_unique<cStringBase>();
    state.ResumeTiming();
    base->Load(file.path, true);
    benchmark::DoNotOptimize(base->Count());
    state.PauseTiming();
    base.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
}
BENCHMARK(BM_StringBaseLoad20k)->Unit(benchmark::kMillisecond);

void BM_StringBaseReloadReplace20k(benchmark::State& state) {
  g_ConsoleLog.SetEnabled(false);
  const BenchFile& file = File();
  cStringBase base;
  base.Load(file.path, true);
  for (auto _ : state) base.Load(file.path, true);
}
BENCHMARK(BM_StringBaseReloadReplace20k)->Unit(benchmark::kMillisecond);

cStringBase& LoadedBase() {
  static cStringBase* base = [] {
    g_ConsoleLog.SetEnabled(false);
    auto* b = new cStringBase;
    b->Load(File().path, true);
    return b;
  }();
  return *base;
}

void BM_StringBaseGetText(benchmark::State& state) {
  cStringBase& base = LoadedBase();
  std::vector<std::string> keys;
  for (int i = 0; i < 1024; ++i) keys.push_back(BenchKey((i * 7919) % kKeys));
  std::size_t n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(base.GetText(keys[n++ & 1023]));
}
BENCHMARK(BM_StringBaseGetText)->Threads(1)->Threads(2);

}  // namespace
