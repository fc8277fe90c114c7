// Speed of the data-file reader (the goal is above 50 MB/s) and of loading a
// settings-sized INI file.
#include <benchmark/benchmark.h>

#include <string>

#include "app/console_log.h"
#include "app/csv_reader.h"
#include "app/ini_file.h"
#include "platform/text.h"
#include "support/test_support.h"

namespace {

// 100,000 records of 10 short fields (numbers and names), CR LF line ends,
// with a header comment: about 1,000,000 fields.
struct CsvFixture {
  twtest::TempDir dir;
  std::wstring name;
  std::size_t bytes = 0;

  CsvFixture() {
    std::string text = "#id;name;x;y;strength;morale;country;kind;speed;flag\r\n";
    for (int r = 0; r < 100000; ++r) {
      text += std::to_string(r) + ";Fleet " + std::to_string(r % 977) + ";" + std::to_string(r % 250) + ";" +
              std::to_string((r * 7) % 180) + ";" + std::to_string(100 - r % 37) + ";" + std::to_string(r % 10) +
              ";Deutschland;Zerst\xF6rer;" + std::to_string(30 + r % 5) + ";" + (r % 3 ? "1" : "0") + "\r\n";
    }
    bytes = text.size();
    name = plat::FromUtf8(dir.Write("naval_units.csv", text));
  }
};

const CsvFixture& Csv() {
  static const CsvFixture fixture;
  return fixture;
}

std::size_t ReadAllRecords(cCsvReader& reader) {
  std::size_t fields = 0;
  while (!reader.AtEnd()) fields += reader.ReadRecord(false);
  return fields;
}

// What a loader pays: open (one read of the whole file) and every record.
void BM_CsvReaderOpenAndReadAll(benchmark::State& state) {
  const CsvFixture& csv = Csv();
  std::size_t fields = 0;
  for (auto _ : state) {
    cCsvReader reader(csv.name);
    fields = ReadAllRecords(reader);
    benchmark::DoNotOptimize(fields);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csv.bytes));
  state.counters["fields"] = static_cast<double>(fields);
}
BENCHMARK(BM_CsvReaderOpenAndReadAll)->Unit(benchmark::kMillisecond);

// The record parsing alone, the file already in memory.
void BM_CsvReaderParseOnly(benchmark::State& state) {
  const CsvFixture& csv = Csv();
  cCsvReader reader(csv.name);
  for (auto _ : state) {
    state.PauseTiming();
    reader.Open(csv.name);
    state.ResumeTiming();
    benchmark::DoNotOptimize(ReadAllRecords(reader));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * csv.bytes));
}
BENCHMARK(BM_CsvReaderParseOnly)->Unit(benchmark::kMillisecond);

// A file the size of the user settings: a dozen sections, about 80 keys.
void BM_IniFileLoadSettings(benchmark::State& state) {
  twtest::TempDir dir;
  std::string text = "; Tidewrack settings\r\n";
  for (int s = 0; s < 12; ++s) {
    text += "[Section" + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 7; ++k) text += "Key" + std::to_string(k) + " = " + std::to_string(s * 100 + k) + "\r\n";
  }
  const std::wstring name = plat::FromUtf8(dir.Write("Settings.ini", text));
  g_ConsoleLog.SetEnabled(false);
  for (auto _ : state) {
    cIniFile ini;
    ini.Load(name);
    benchmark::DoNotOptimize(ini.GetInt("Section5/Key3", 0));
  }
  g_ConsoleLog.SetEnabled(true);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_IniFileLoadSettings)->Unit(benchmark::kMicrosecond);

}  // namespace
