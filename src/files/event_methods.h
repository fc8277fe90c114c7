// The names of the event scripts' query and effect methods with the number
// of leading parameters each requires: validation checks a script against
// them, in the tables' order.
#pragma once

#include <string_view>
#include <vector>

struct sEventMethod {
  std::wstring_view name;
  int numeric = 0;  // leading param0.. that must be given
  int text = 0;     // leading paramString0.. that must not be empty
};

const std::vector<sEventMethod>& EventQueryMethods();
const std::vector<sEventMethod>& EventEffectMethods();
