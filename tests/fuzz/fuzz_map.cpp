// Arbitrary bytes as "map.tdw", as the old "map.hmf" and as the conversion's
// weather files: the readers must refuse or accept them without reading
// outside the buffer and without ending the process (a fatal result is only
// reported to the caller here).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/console_log.h"
#include "world/map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_ConsoleLog.SetEnabled(false);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  cMap map;
  if (map.ReadMapBytes(bytes, L"fuzz.tdw") == eMapReadResult::kOk) {
    // What was read must write back to a file the reader accepts again.
    cMap again;
    if (again.ReadMapBytes(map.MapFileBytes(), L"again.tdw") != eMapReadResult::kOk) __builtin_trap();
  }

  // The same bytes as an old map; the weather files then act on its cells,
  // or on a small map of their own when it is refused.
  cMap old;
  const eMapReadResult hmf = old.ReadHmfBytes(bytes, L"fuzz.hmf");
  if (hmf != eMapReadResult::kOk) {
    old.SetWidth(7);
    old.SetHeight(5);
    old.CreateHexes();
  }
  old.ApplyWeatherText(bytes, L"weather.csv");
  old.ApplyAreaText(bytes, true, L"winter_area.csv");
  old.ApplyAreaText(bytes, false, L"mud_area.csv");
  // The converted map writes a file the reader takes back whole: the
  // readers of the old files refuse every code it would not take.
  cMap converted;
  if (converted.ReadMapBytes(old.MapFileBytes(), L"output_map.tdw") != eMapReadResult::kOk ||
      converted.GetWidth() != old.GetWidth() || converted.GetHeight() != old.GetHeight()) {
    __builtin_trap();
  }
  for (std::size_t i = 0; i < old.Hexes().size(); ++i) {
    if (converted.Hexes()[i].weather != old.Hexes()[i].weather) __builtin_trap();
  }
  return 0;
}
