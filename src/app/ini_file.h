// INI-style text files: "Settings.ini" and the "Info.ini" headers of scenarios
// and saved games.
//
// Every value is addressed by one narrow path, the section and the key joined
// by a slash ("Main/ResolutionX"). Section entries are stored under the bare
// section name, keys under their full path; a key that stands before any
// section line is stored under its bare name. The table is ordered by plain
// byte-wise comparison and is case-sensitive.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

class cIniFile {
 public:
  struct Entry {
    // The comment lines that stood in the file before this entry, each
    // ended by '\n' (empty when there were none).
    std::string comment;
    // None for a section entry; the value text for a key entry.
    std::optional<std::string> value;
  };
  using Table = std::map<std::string, Entry, std::less<>>;

  cIniFile() = default;

  // Empties the table, remembers the file name and reads the file. The name
  // may use backslashes and any letter case ("data\\scenarios\\X\\Info.ini").
  void Load(std::wstring_view fileName);
  // Writes the table back to the remembered file; does nothing unless the
  // last Load opened its file, or createMissing is set and no file of that
  // name exists (a file that exists but could not be read is never
  // overwritten).
  void Save(bool createMissing = false);

  // Makes sure the section of the path has a section entry.
  void FindKey(std::string_view path);

  // The getters never fail: a missing key is added with the default, so the
  // next Save writes it.
  std::wstring GetString(std::string_view path, std::wstring_view defaultValue);
  void SetString(std::string_view path, std::wstring_view text);
  int GetInt(std::string_view path, int defaultValue);
  void SetInt(std::string_view path, int value);
  // True exactly for the values "true" and "yes".
  bool GetBool(std::string_view path, bool defaultValue);
  void SetBool(std::string_view path, bool value);

  bool IsLoaded() const { return loaded_; }
  const Table& Entries() const { return entries_; }

 private:
  // The value text of the key at path, created with defaultText when the
  // key is missing (or only a section of that name exists).
  const std::string& ValueOrDefault(std::string_view path, std::string_view defaultText);
  void StoreValue(std::string_view path, std::string text);

  Table entries_;
  std::wstring fileName_;
  bool loaded_ = false;
};
