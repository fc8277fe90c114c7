// Arbitrary bytes as "map.tdw": the reader must refuse or accept them
// without reading outside the buffer and without ending the process (a
// fatal result is only reported to the caller here).
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
  return 0;
}
