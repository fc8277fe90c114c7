// The game phases: the values of the world's game state, which the main
// thread and the worker thread hand each other.
//   0 world constructed, 1 scenario loaded, 2 pause menu or save dialog,
//   3 end of a human turn or of an impulse, 4 sea battles generated,
//   5 sea-battle screen, 7 human turn, 8 human move stepped by the main
//   thread, 9 computer players' phase, 10 computer move stepped by the main
//   thread, 12 view glide, 15 world being destroyed. Nothing sets 11 or 13;
//   the status line still treats 11 as a worker phase, and a glide that
//   ends in 13 hands over to 3.
#pragma once

constexpr int kPhaseNothingLoaded = 0;
constexpr int kPhaseScenarioLoaded = 1;
constexpr int kPhasePaused = 2;
constexpr int kPhaseEndOfTurn = 3;
constexpr int kPhaseSeaBattles = 4;
constexpr int kPhaseSeaBattleScreen = 5;
constexpr int kPhaseHumanTurn = 7;
constexpr int kPhaseHumanMove = 8;
constexpr int kPhaseComputerPlayers = 9;
constexpr int kPhaseComputerMove = 10;
constexpr int kPhaseWorkerReserved = 11;
constexpr int kPhaseViewGlide = 12;
constexpr int kPhaseGlideToEndOfTurn = 13;
constexpr int kPhaseWorldDestroyed = 15;
