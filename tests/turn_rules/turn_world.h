// A small world for the end of an impulse: the land fixture's map with
// active countries (the Allies' and the Axis' leaders at war, the first
// human), the months of the fixture scenario (2, 2, 4 ... impulses), time
// left to play and the random draws the test lays out.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include <memory>
#include <mutex>
#include <utility>

#include "land_rules/land_rules_fixture.h"
#include "support/recording_view.h"
#include "units/land_fixture.h"
#include "world/cities.h"
#include "world/country.h"
#include "world/world.h"

namespace twtest {

// A view that keeps the messages put up over the map (title, text).
class MessageView : public RecordingView {
 public:
  using RecordingView::RecordingView;
  void ShowMessage(std::wstring_view text, std::wstring_view title) override {
    const std::lock_guard<std::mutex> lock(mutex_);
    messages_.emplace_back(std::wstring(title), std::wstring(text));
  }
  std::vector<std::pair<std::wstring, std::wstring>> Messages() const {
    const std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::pair<std::wstring, std::wstring>> messages_;
};

class TurnWorld : public LandWorld {
 public:
  explicit TurnWorld(std::vector<std::string> rows, std::initializer_list<int> alliances = {kAlliesLeader, kAxisLeader})
      : LandWorld(std::move(rows)) {
    AddCountries(alliances);
    for (auto& country : world->Countries()) {
      country->active = true;
      country->politicalStrength = 10;
      country->warEconomy = 100.0f;
      country->name = std::wstring(1, static_cast<wchar_t>(L'A' + country->id - 1));
    }
    world->Countries().front()->human = true;
    world->constants.turnsPerMonth = {2, 2, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4};
    world->turnsLeft = 100;
    world->Units().convoys.Resize(world->GetCountryCount());
    auto owned = std::make_unique<MessageView>(*world);
    view = owned.get();
    world->SetView(std::move(owned));
  }

  // A city on (x, y) held by the country, worth victory and production
  // points.
  cCity& City(int x, int y, int country, int type = kCitySupply, int victory = 1, float production = 0.0f) {
    Hex(x, y).controller = Hex(x, y).owner = Hex(x, y).originalOwner = static_cast<std::uint8_t>(country);
    cCity& city = *AddCity(x, y, type);
    city.SetName(L"City" + std::to_wstring(x) + L"_" + std::to_wstring(y));
    city.victoryPoints = victory;
    city.productionPoints = production;
    return city;
  }

  MessageView* view = nullptr;

  // The reports of a type, in list order.
  std::vector<sReport> Reports(int type) const {
    std::vector<sReport> out;
    for (const sReport& report : world->reports.Reports()) {
      if (report.type == type) out.push_back(report);
    }
    return out;
  }
};

}  // namespace twtest
