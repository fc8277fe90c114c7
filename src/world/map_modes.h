// What a click on the map does next (the turn state's mode): the order a
// panel or dialog has started and whose target the player picks on the map.
#pragma once

constexpr int kModeNone = 0;
// A unit waiting to be placed from the reserve: land (1), air (2), ship (3).
constexpr int kModeDeployLand = 1;
constexpr int kModeDeployAir = 2;
constexpr int kModeDeployShip = 3;
constexpr int kModeMove = 4;  // a unit of one's own is selected
constexpr int kModeStrategicMove = 5;
constexpr int kModeParadrop = 6;
constexpr int kModeAssault = 7;
// An air unit's bombardment, or a carrier's air strike from the fleets dialog.
constexpr int kModeBombardment = 8;
constexpr int kModeAirFight = 9;
constexpr int kModeNuclear = 10;
constexpr int kModeRecon = 11;
constexpr int kModeRebase = 12;
constexpr int kModeFleetMove = 13;
constexpr int kModeConvoyDeparture = 14;
constexpr int kModeConvoyDestination = 15;
constexpr int kModeUnload = 16;
constexpr int kModeShoreBombardment = 17;
