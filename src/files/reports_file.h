// The binary file of the world's report list, "reports.dat".
//
// reports.dat, little-endian, no padding: the five bytes "Tdwv1", the number
// of reports (int32), then per report type, year, month, day, impulse, the
// further int, country id (int32 each: the further int comes before the
// country id in the file), the text length L in UTF-16 code units (int32)
// and L UTF-16LE code units.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "world/report_store.h"

// How reading a reports file went.
enum class eReportsRead {
  kOk,
  kWrongMagic,  // not a reports file: the list stays empty
  kTruncated,   // ends inside its count or a record: the list stays empty
};

// The file's bytes for the list, and the list from bytes (replacing it;
// empty unless kOk). No log lines.
std::string ReportsToBytes(const cReportStore& store);
eReportsRead ReportsFromBytes(cReportStore& store, std::string_view bytes);
// The reports of the bytes that are there whole, up to the count the file
// gives (0 for bytes that are no reports file).
std::uint32_t CountWholeReports(std::string_view bytes);

// Writes "<folder>\reports.dat". A file that cannot be written logs
// "ERROR: Opening reports file for writing" and ends the process (exit 1).
void SaveReports(const cReportStore& store, std::wstring_view folder);
// Reads "reports.dat" through the folder pattern (one "%s"). A missing
// file logs "ERROR: Opening reports file for reading" and ends the
// process; so does a truncated one, after its own log line. A wrong magic
// leaves the list empty.
void LoadReports(cReportStore& store, std::wstring_view folderFormat);
