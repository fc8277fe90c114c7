// The game date, counted in impulses: each month has as many impulses as the
// scenario gives it, and the day shown to the player follows from the
// impulse within the month.
#pragma once

#include <array>
#include <string>

// Impulses of each month, January first (the scenario's table).
using sTurnsPerMonth = std::array<int, 12>;

struct sGameDate {
  // Impulse within the month, from 1.
  int turn = 1;
  int month = 9;
  int year = 1939;
  // The text Format wrote last.
  std::wstring text;

  // The day shown for the impulse: (turn * 30) / T - 30 / T + 1. A month
  // given fewer than one impulse counts as one.
  int GetDay(const sTurnsPerMonth& turnsPerMonth) const;
  bool IsSameDay(int day, int month, int year, const sTurnsPerMonth& turnsPerMonth) const;
  bool IsBefore(int day, int month, int year, const sTurnsPerMonth& turnsPerMonth) const;
  bool IsAfter(int day, int month, int year, const sTurnsPerMonth& turnsPerMonth) const;
  // "<day>-<month name>-<year>" in the current language; the month name is
  // empty for a month outside 1-12. Returns the date's own text.
  const std::wstring& Format(const sTurnsPerMonth& turnsPerMonth);
  // The end of an impulse: the next impulse, month or year.
  void Advance(const sTurnsPerMonth& turnsPerMonth);
};

// T(month) for a month of 1-12, at least 1; 1 for any other month.
int TurnsInMonth(const sTurnsPerMonth& turnsPerMonth, int month);

// The impulse within the month whose shown day is day: the first impulse
// showing that day, else the last one showing an earlier day (1 when the
// day lies before them all). A saved game stores only the shown day, so this
// brings the date back to its impulse; with more than 30 impulses a month
// several impulses share a day and the first of them is taken.
int TurnFromDay(const sTurnsPerMonth& turnsPerMonth, int month, int day);
