#include "world/calendar.h"

#include "app/string_base.h"
#include "platform/format.h"

namespace {

constexpr const char* kMonthKeys[12] = {"january", "february", "march",     "april",   "may",      "june",
                                        "july",    "august",   "september", "october", "november", "december"};

}  // namespace

int TurnsInMonth(const sTurnsPerMonth& turnsPerMonth, int month) {
  if (month < 1 || month > 12) return 1;
  const int turns = turnsPerMonth[static_cast<std::size_t>(month - 1)];
  return turns < 1 ? 1 : turns;
}

int TurnFromDay(const sTurnsPerMonth& turnsPerMonth, int month, int day) {
  const long long t = TurnsInMonth(turnsPerMonth, month);
  if (day <= 1) return 1;
  // The shown day grows with the impulse: (turn * 30) / t reaches
  // day - 1 + 30 / t first at turn = ceil((day - 1 + 30 / t) * t / 30).
  const long long k = static_cast<long long>(day) - 1 + 30 / t;
  long long turn = (k * t + 29) / 30;
  if (turn < 1) turn = 1;
  if (turn > t) return static_cast<int>(t);
  const long long shown = (turn * 30) / t - 30 / t + 1;
  if (shown != day && turn > 1) --turn;
  return static_cast<int>(turn);
}

int sGameDate::GetDay(const sTurnsPerMonth& turnsPerMonth) const {
  const int t = TurnsInMonth(turnsPerMonth, month);
  return (turn * 30) / t - 30 / t + 1;
}

bool sGameDate::IsSameDay(int day, int month_, int year_, const sTurnsPerMonth& turnsPerMonth) const {
  return year == year_ && month == month_ && GetDay(turnsPerMonth) == day;
}

bool sGameDate::IsBefore(int day, int month_, int year_, const sTurnsPerMonth& turnsPerMonth) const {
  if (year != year_) return year < year_;
  if (month != month_) return month < month_;
  return GetDay(turnsPerMonth) < day;
}

bool sGameDate::IsAfter(int day, int month_, int year_, const sTurnsPerMonth& turnsPerMonth) const {
  return !IsSameDay(day, month_, year_, turnsPerMonth) && !IsBefore(day, month_, year_, turnsPerMonth);
}

const std::wstring& sGameDate::Format(const sTurnsPerMonth& turnsPerMonth) {
  const std::wstring day = plat::Format(L"%i", GetDay(turnsPerMonth));
  const std::wstring monthName =
      month >= 1 && month <= 12 ? std::wstring(g_StringBase.GetText(kMonthKeys[month - 1])) : std::wstring();
  const std::wstring yearText = plat::Format(L"%i", year);
  text = plat::Format(L"%lS-%lS-%lS", day, monthName, yearText);
  return text;
}

void sGameDate::Advance(const sTurnsPerMonth& turnsPerMonth) {
  ++turn;
  if (turn > TurnsInMonth(turnsPerMonth, month)) {
    turn = 1;
    ++month;
    if (month > 12) {
      month = 1;
      ++year;
    }
  }
}
