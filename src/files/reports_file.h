// The world's report list and its binary file "reports.dat".
//
// reports.dat, little-endian, no padding: the five bytes "Tdwv1", the number
// of reports (int32), then per report type, year, month, day, impulse, the
// further int, country id (int32 each: the further int comes before the
// country id in the file), the text length L in UTF-16 code units (int32)
// and L UTF-16LE code units.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <string_view>

#include "world/calendar.h"

struct sReport {
  std::int32_t type = 0;
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t impulse = 0;
  std::int32_t countryId = 0;
  // Carried through the file unchanged.
  std::int32_t extra = 1;
  std::wstring text;

  bool operator==(const sReport&) const = default;
};

// How reading a reports file went.
enum class eReportsRead {
  kOk,
  kWrongMagic,  // not a reports file: the list stays empty
  kTruncated,   // ends inside its count or a record: the list stays empty
};

class cReportStore {
 public:
  // Stamps the report with the date (the day of the month derived from the
  // impulse within the month) and the impulse, then appends a copy.
  void AddReport(const sReport& report, const sGameDate& date, const sTurnsPerMonth& turnsPerMonth, int impulse);
  // The same with the loaded world's date and impulse counter.
  void AddReport(const sReport& report);

  // result becomes the reports of that country and type, in list order.
  std::list<sReport>& Filter(std::list<sReport>& result, int countryId, int type) const;

  // Writes "<folder>\reports.dat". A file that cannot be written logs
  // "ERROR: Opening reports file for writing" and ends the process (exit 1).
  void Save(std::wstring_view folder) const;
  // Reads "reports.dat" through the folder pattern (one "%s"). A missing
  // file logs "ERROR: Opening reports file for reading" and ends the
  // process; so does a truncated one, after its own log line. A wrong magic
  // leaves the list empty.
  void Load(std::wstring_view folderFormat);

  // The file's bytes for the list, and the list from bytes (replacing it;
  // empty unless kOk). No log lines.
  std::string ToBytes() const;
  eReportsRead FromBytes(std::string_view bytes);

  std::list<sReport>& Reports() { return reports_; }
  const std::list<sReport>& Reports() const { return reports_; }

 private:
  std::list<sReport> reports_;
};
