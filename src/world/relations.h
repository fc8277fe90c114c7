// Between every two countries: a war flag per direction and the losses one
// has dealt to the other, with each dealer's share of what a country
// suffered. Embedded in the world; sized by Load for the countries read.
#pragma once

#include <string_view>
#include <vector>

class cRelationsMatrix {
 public:
  struct sCell {
    bool atWar = false;
    float losses = 0.0f;
  };

  int GetCount() const { return count_; }
  // n countries, every flag at peace, every loss and share 0.
  void Reset(int count);

  // Id 0 stands for nobody, who is at war with no one. a = b is peace.
  bool IsAtWar(int a, int b) const;
  // Sets the flag of (a, b) only.
  void SetAtWar(int a, int b, bool atWar);
  void AddLosses(int a, int b, float value);
  float GetLosses(int a, int b) const;
  float GetLossShare(int a, int b) const;
  float GetLossesSufferedBy(int b) const;
  void ComputeLossShares();
  // Ends every war that a has declared (flag (a, b) set), in both directions.
  void ClearWarsOf(int a);

  // Reads "relations.csv" and "losses.csv" through the folder's path pattern
  // (one "%s" for the file name) for count countries. A missing file or a
  // wrong country id ends the process.
  void Load(std::wstring_view folderFormat, int count);

 private:
  bool ValidId(int id) const { return id >= 1 && id <= count_; }
  std::size_t Index(int a, int b) const;
  // Reads one of the two files into the flags or the losses.
  void ReadFile(std::wstring_view folderFormat, const wchar_t* fileName, bool losses);

  int count_ = 0;
  std::vector<sCell> cells_;
  std::vector<float> shares_;
};
