// Diplomacy: the actions a country pays diplomacy points for, on another
// country (declare war, exert pressure on a neutral, stage a coup d'etat) or
// on itself (delay or hasten its entry into the alliance it leans to, hold
// elections, change its orientation). Each action has a check beside it: the
// check tells whether the action may be taken now and writes the text the
// player is shown (the reason of a refusal, or the cost and chance); the
// action pays, sets the once-per-turn flags, rolls the dice from the calling
// thread's random sequence and writes the result text. The diplomacy panel
// and the computer players call the same functions; an action assumes its
// check passed. Costs, dice and factors are the scenario constants of data
// lines 91-114 of "consts.csv".
#pragma once

#include <string>

class cCountry;
class cWorld;

// --- costs and chances (whole numbers) ---
int GetDeclareWarCost(const cWorld& world, const cCountry& actor, const cCountry& target);
int GetDeclareWarUnrest(const cWorld& world, const cCountry& actor, const cCountry& target);
int GetDelayAllianceEntryCost(const cWorld& world, const cCountry& country);
int GetHastenAllianceEntryCost(const cWorld& world, const cCountry& country);
int GetPressureCost(const cWorld& world, const cCountry& actor, const cCountry& target);
int GetPressureChance(const cWorld& world, const cCountry& actor, const cCountry& target);
int GetCoupCost(const cWorld& world, const cCountry& target);
int GetCoupChance(const cWorld& world, const cCountry& target);

// base when count < 1, else base plus count draws of RandomRange(1, sides).
int RollDice(int count, int sides, int base);

// --- checks: true when the action may be taken; text is what the player reads ---
bool CanDeclareWar(const cWorld& world, int actorId, int targetId, std::wstring& text);
bool CanDelayAllianceEntry(const cWorld& world, int countryId, std::wstring& text);
bool CanHastenAllianceEntry(const cWorld& world, int countryId, std::wstring& text);
bool CanHoldElections(const cWorld& world, int countryId, std::wstring& text);
// Writes no text when the change is possible.
bool CanChangeOrientation(const cWorld& world, int countryId, std::wstring& text);
bool CanExertPressure(const cWorld& world, int actorId, int targetId, std::wstring& text);
bool CanStageCoup(const cWorld& world, int actorId, int targetId, std::wstring& text);

// --- actions ---
// The country joins the alliance its orientation (0-5) leans to. An
// alliance without a leader in this game has nobody to join: the country
// stays neutral with its entry at 100, the log says why, and the result is
// false.
bool JoinLeanedAlliance(cWorld& world, cCountry& country);
// Pays (when pay is set) and spreads the war; returns which of the six ways
// it spread (1-6), logged as "<a> declares war on <b> (CASE n)". A paid
// declaration is the diplomacy action and runs CanDeclareWar first: refused,
// it is logged and changes nothing (0). An unpaid one is an event's, which
// no check bars.
int DeclareWar(cWorld& world, int actorId, int targetId, bool pay);
bool DelayAllianceEntry(cWorld& world, int countryId, std::wstring& text);
bool HastenAllianceEntry(cWorld& world, int countryId, std::wstring& text);
// Each false when its check refuses (text: the refusal's).
// newOrientation: 0-5.
bool HoldElections(cWorld& world, int countryId, int newOrientation, std::wstring& text);
bool ChangeOrientation(cWorld& world, int countryId, int newOrientation, std::wstring& text);
bool ExertPressure(cWorld& world, int actorId, int targetId, std::wstring& text);
bool StageCoup(cWorld& world, int actorId, int targetId, std::wstring& text);
