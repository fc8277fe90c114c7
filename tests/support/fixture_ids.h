#pragma once
// The ids of the fixture scenario's countries, sea zones and ports
// (tests/data/fixture_scenario/Fixture).

constexpr int kWestland = 1;
constexpr int kEastmark = 2;
constexpr int kSouthia = 3;
constexpr int kNeutralia = 4;

constexpr int kNorthSea = 1;
constexpr int kStrait = 2;

constexpr int kWestport = 3;
constexpr int kEastport = 4;
constexpr int kStraitport = 5;
