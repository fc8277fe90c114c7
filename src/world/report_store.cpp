#include "world/report_store.h"

#include <utility>

#include "world/world.h"

void cReportStore::AddReport(const sReport& report, const sGameDate& date, const sTurnsPerMonth& turnsPerMonth,
                             int impulse) {
  sReport copy = report;
  copy.year = date.year;
  copy.month = date.month;
  copy.day = date.GetDay(turnsPerMonth);
  copy.impulse = impulse;
  reports_.push_back(std::move(copy));
}

void FileReport(cWorld& world, int type, int countryId, std::wstring text) {
  sReport report;
  report.type = type;
  report.countryId = countryId;
  report.text = std::move(text);
  world.reports.AddReport(report, world.GetDate(), world.TurnsPerMonth(), world.impulseCounters[0]);
}

std::list<sReport>& cReportStore::Filter(std::list<sReport>& result, int countryId, int type) const {
  result.clear();
  for (const sReport& report : reports_) {
    if (report.countryId == countryId && report.type == type) result.push_back(report);
  }
  return result;
}
