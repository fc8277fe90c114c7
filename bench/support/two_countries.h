// The small worlds of the rule benchmarks: two countries at war, and a map
// of one repeated row split between them.
#pragma once

#include <string>

class cWorld;

// Countries 1 (Allies, named first) and 2 (Axis, named second), each at war
// with the other.
void AddTwoCountriesAtWar(cWorld& world, const wchar_t* first = L"Allies", const wchar_t* second = L"Axis");

// A size x size map whose every row is row (terrain letters); the western
// half is held and owned by country 1, the eastern half by country 2.
void BuildSplitMap(cWorld& world, int size, const std::string& row);
