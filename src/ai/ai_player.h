// The computer opponent of one country. The world keeps one per country
// (index = country id - 1); the worker thread asks the current country's
// player to play its turn.
#pragma once

class cAiPlayer {
 public:
  explicit cAiPlayer(int countryId) : country_id_(countryId) {}
  virtual ~cAiPlayer() = default;
  cAiPlayer(const cAiPlayer&) = delete;
  cAiPlayer& operator=(const cAiPlayer&) = delete;

  int CountryId() const { return country_id_; }

  // Plays the country's turn on the worker thread; a move it orders is
  // stepped by the main thread (phase 10) before the worker goes on. The
  // computer opponent's decisions are not built yet: the country passes,
  // changing nothing.
  virtual void PlayTurn();

 private:
  int country_id_;
};
