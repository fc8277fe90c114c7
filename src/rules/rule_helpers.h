#pragma once
// What the rules' source files share besides the model's helpers: the
// display delays of the settings, texts kept as the language base's own
// pointers, the report kind of a sea battle, the strength below which a
// unit is gone, the country type of an events-only turn and the
// parameters of an event's effect held within their ranges.

#include <algorithm>
#include <cfloat>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "app/settings.h"
#include "app/string_base.h"
#include "world/event_records.h"
#include "world/world_helpers.h"

constexpr int kReportSeaBattle = 20;
// Below this combat strength a unit is gone.
constexpr float kDestroyedBelow = 0.1f;
// Country type flags of a country whose turn is the events check only.
constexpr int kEventsOnlyCountry = 1;

inline int DelayMs(int slot) { return static_cast<int>(g_Delays[slot].load()); }

inline const wchar_t* LangText(const char* key) { return g_StringBase.GetText(key); }

inline double P(const sEventEffect& effect, int index) { return effect.param[static_cast<std::size_t>(index)]; }
inline const std::wstring& Name(const sEventEffect& effect) { return effect.paramString[0]; }

// a + b held within the int range.
inline int SaturatedSum(int a, int b) {
  const std::int64_t sum = static_cast<std::int64_t>(a) + b;
  return static_cast<int>(std::clamp<std::int64_t>(sum, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// A parameter stored as a float: values beyond its range become its
// largest value of that sign.
inline float ToFloat(double value) {
  if (value > FLT_MAX) return FLT_MAX;
  if (value < -FLT_MAX) return -FLT_MAX;
  return static_cast<float>(value);
}
