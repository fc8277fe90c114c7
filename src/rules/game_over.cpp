// The end of the game: when no or one major alliance is left, no human
// country is left or the time has run out, the result by victory points and
// the countries' scores are shown, and once read the game closes.
#include <algorithm>
#include <vector>

#include "app/console_log.h"
#include "app/string_base.h"
#include "platform/format.h"
#include "rules/end_impulse.h"
#include "rules/rule_helpers.h"
#include "world/country.h"
#include "world/world.h"
#include "world/worker_steps.h"

namespace {

constexpr std::size_t kRankedCountries = 20;


// A game the computer plays alone (every country computer-controlled from
// the start) has no human countries to lose.
bool HadHumanCountries(const cWorld& world) {
  for (const auto& country : world.Countries()) {
    if (country->human) return true;
  }
  return false;
}

// The first ending reached, or null while the game goes on.
const char* EndingKey(const cWorld& world) {
  int leaders = 0;
  for (int code = kAlliesLeader; code <= kCominternLeader; ++code) {
    if (world.GetAllianceLeader(code) != nullptr) ++leaders;
  }
  if (leaders == 0) return "game_over:_all_alliances_eliminated_(uncommon_ending)";
  if (leaders == 1) return "game_over:_only_one_major_alliance_left";
  if (HadHumanCountries(world) && !world.HasActiveHumanCountry()) {
    return "game_over:_all_human-controlled_countries_annexed";
  }
  if (world.turnsLeft < 1) return "game_over:_time_has_run_out";
  return nullptr;
}

const char* ResultKey(int allies, int axis, int comintern) {
  if (axis > allies && axis > comintern) return "result:_axis_victory";
  if (allies > axis && allies > comintern) return "result:_allied_victory";
  if (comintern > allies && comintern > axis) return "result:_comintern_victory";
  if (axis == comintern && axis > allies) return "result:_axis-comintern_draw_allied_defeat";
  if (allies == comintern && allies > axis) return "result:_allied-comintern_draw_axis_defeat";
  if (allies == axis && allies > comintern) return "result:_axis-allied_draw_comintern_defeat";
  if (allies > 0) return "result:_draw";
  return "result:_all_major_alliances_eliminated,_no_result!";
}

// The ending, the result by victory points, the alliances' and the
// countries' scores.
std::wstring GameOverText(const cWorld& world, const char* ending) {
  const int allies = world.CountAllianceVictoryPoints(kAllies);
  const int axis = world.CountAllianceVictoryPoints(kAxis);
  const int comintern = world.CountAllianceVictoryPoints(kComintern);
  std::wstring text = Text(ending);
  text += L"\n\n" + Text(ResultKey(allies, axis, comintern));
  text += L"\n\n" + Text("alliance_score:");
  text += L"\n" + plat::Format(Text("axis:_%i_vp"), axis);
  text += L"\n" + plat::Format(Text("allies:_%i_vp"), allies);
  text += L"\n" + plat::Format(Text("comintern:_%i_vp"), comintern);
  text += L"\n\n" + Text("individual_score:");
  struct sScore {
    const cCountry* country;
    int score;
  };
  std::vector<sScore> scores;
  for (const auto& country : world.Countries()) {
    if (country->active && country->politicalStrength >= 0) {
      scores.push_back({country.get(), world.GetCountryScore(country->id)});
    }
  }
  std::stable_sort(scores.begin(), scores.end(), [](const sScore& a, const sScore& b) { return a.score > b.score; });
  for (std::size_t rank = 0; rank < scores.size() && rank < kRankedCountries; ++rank) {
    text += L"\n" + plat::Format(Text("%i._%s:_%i"), static_cast<int>(rank + 1), scores[rank].country->name,
                                 scores[rank].score);
  }
  text += L"\n\n" + Text("___press_esc_to_finish");
  return text;
}

}  // namespace

bool CheckGameOver(cWorld& world) {
  LogLine(L"CHECKING FOR GAME OVER...");
  std::wstring text;
  LockedStep([&world, &text] {
    const char* ending = EndingKey(world);
    if (ending == nullptr) return;
    world.gameOver = true;
    text = GameOverText(world, ending);
  });
  LogLine(L"CHECKING FOR GAME OVER FINISHED");
  if (!world.gameOver) return false;
  LogLine(L"%s", text);
  // The game stays open behind the text: the player leaves it through the
  // pause menu.
  ShowTextAndWait(world, text, Text("game_over"));
  return true;
}
