// Arbitrary bytes as "reports.dat", written to a scratch folder and loaded:
// the reader must accept, refuse (wrong magic) or stop at a fatal exit
// (truncation, here a throwing hook) without reading outside the file or
// allocating for lengths the file does not hold; the reports it counts
// whole are the ones it takes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/console_log.h"
#include "app/fatal_exit.h"
#include "files/reports_file.h"
#include "support/test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_ConsoleLog.SetEnabled(false);
  static twtest::TempDir dir;
  static cScopedThrowingFatalHook hook;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  dir.Write("reports.dat", bytes);
  cReportStore store;
  const std::uint32_t whole = CountWholeReports(bytes);
  try {
    LoadReports(store, dir.Path().wstring() + L"\\%s");
  } catch (const sFatalExitError& error) {
    if (error.exitCode != 1 || !store.Reports().empty()) __builtin_trap();
    return 0;
  }
  // The rows the record of a save's files counts are the reports a load
  // takes (none after a wrong magic).
  if (whole != store.Reports().size()) __builtin_trap();
  // The list read (empty after a wrong magic) writes bytes that read back
  // to the same list.
  cReportStore again;
  if (ReportsFromBytes(again, ReportsToBytes(store)) != eReportsRead::kOk || again.Reports() != store.Reports()) {
    __builtin_trap();
  }
  return 0;
}
