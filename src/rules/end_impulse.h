// The end of an impulse (EndImpulse, rules/world_turn.h) and the world steps
// it runs at a real end: surrenders, sieges, production, upkeep, research and
// the test for the end of the game. Each changes the world in short steps
// under the framework lock; what it shows the player is a message over the
// map that the worker waits for outside the lock.
#pragma once

#include <string>

#include "rules/worker_messages.h"

class cCity;
class cCountry;
class cWorld;

// Report types of the world's report list written here.
constexpr int kReportSiege = 21;
constexpr int kReportProduction = 22;
constexpr int kReportResearch = 23;
constexpr int kReportUpkeep = 26;
constexpr int kReportSurrender = 27;

// The first impulse of a month: the date's impulse within the month is 1
// (months differ in their number of impulses, so the impulse counter cannot
// tell).
bool IsFirstImpulseOfMonth(const cWorld& world);

// The status line of the information bar shows the language text of key.
void ShowStatusHint(const char* key);

// Every active country that has lost all its own cities surrenders, in the
// countries' order, each with its message; a surrendering leader hands the
// lead to the strongest member left, or its alliance ends.
void CheckSurrenders(cWorld& world);
// The member (code leaderCode - 3) of greatest political strength, at least
// 0, the later one on a tie; null when the alliance has none.
cCountry* ChooseNewAllianceLeader(cWorld& world, int leaderCode);

// Every besieged city's siege is resolved, reported to every country and
// shown.
void CheckSieges(cWorld& world);
// The siege check of a besieged city: its defender may lose a level or
// surrender; text receives the account.
void ResolveSiege(cWorld& world, cCity& city, std::wstring& text);

// Every real end of an impulse, for every active country of political
// strength at least 0: production, then upkeep, each with its report.
void CalculateProduction(cWorld& world);
void PayUpkeep(cWorld& world);
// In the first impulse of a month: monthly diplomatic points, research and
// the land warfare doctrine, with the research report.
void DoResearch(cWorld& world);

// Sets the world's game-over flag when an ending is reached and shows the
// result; once it has been read the main thread is asked to close the
// game. True when the game is over.
bool CheckGameOver(cWorld& world);
