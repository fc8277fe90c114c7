// The world's report list: what happened to whom and when, as the reports
// dialog shows it. Its file is "reports.dat" (files/reports_file.h).
#pragma once

#include <cstdint>
#include <list>
#include <string>

#include "world/calendar.h"

class cWorld;

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

class cReportStore {
 public:
  // Stamps the report with the date (the day of the month derived from the
  // impulse within the month) and the impulse, then appends a copy.
  void AddReport(const sReport& report, const sGameDate& date, const sTurnsPerMonth& turnsPerMonth, int impulse);

  // result becomes the reports of that country and type, in list order.
  std::list<sReport>& Filter(std::list<sReport>& result, int countryId, int type) const;



  std::list<sReport>& Reports() { return reports_; }
  const std::list<sReport>& Reports() const { return reports_; }

 private:
  std::list<sReport> reports_;
};

// Files a report of the type for the country in the world's list, stamped
// with the world's date and impulse counter.
void FileReport(cWorld& world, int type, int countryId, std::wstring text);
