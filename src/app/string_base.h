// The language string base: every text for the player is named in the code by
// a narrow key ("pref_title") and looked up here in the texts of the current
// language, loaded from "lang_LANGID.db" (LANGID = the language code).
//
// File layout (little-endian, no padding): byte 0 unused, the record count N
// as u64 at offset 1, then from offset 9 N records of
//   key length k (u8), k key bytes, text length m (u16, UTF-16 units),
//   m UTF-16LE units of text.
//
// Both threads look texts up, and a missing key is inserted (showing the key
// itself), so the map is guarded: shared for a found key, exclusive for an
// insertion or a load. Every text ever stored lives in append-only storage
// and is never changed, moved or freed, so a pointer handed out by GetText
// stays valid for the life of the program, also after a later load replaced
// the entry's text.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct sStringBaseEntry {
  // Index of the language file the text came from, -1 for a key inserted by
  // a look-up.
  std::int32_t id = -1;
  // Points into the base's text storage; never null.
  const std::wstring* text = nullptr;
};

class cStringBase {
 public:
  cStringBase();
  cStringBase(const cStringBase&) = delete;
  cStringBase& operator=(const cStringBase&) = delete;

  // Loads one language file ("LANGID" in name becomes the language code).
  // A key not yet known is inserted; a known key gets the new text when
  // replace is set and keeps its text otherwise.
  void Load(std::string_view name, bool replace);

  // The text of key; a missing key is inserted first with the key itself
  // (each byte widened as a signed 8-bit value) and id -1. The pointer stays
  // valid for the life of the program.
  const wchar_t* GetText(std::string_view key);

  // Stores the code narrowed unit by unit (each keeps its low byte).
  void SetLanguageCode(std::wstring_view code);
  std::string GetLanguageCode() const;

  // Observers (they never insert).
  std::optional<sStringBaseEntry> FindEntry(std::string_view key) const;
  std::size_t Count() const;
  std::vector<std::string> LoadedFiles() const;

 private:
  // Transparent, so a look-up by string_view allocates nothing. Deliberately
  // not noexcept: that makes the standard library keep each node's hash, so
  // a bucket walk compares hashes instead of hashing every key it passes.
  struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  using Map = std::unordered_map<std::string, sStringBaseEntry, KeyHash, std::equal_to<>>;

  // Stores a text for good and returns its stable address.
  const std::wstring* Keep(std::wstring&& text);

  mutable std::shared_mutex mutex_;
  Map texts_;
  std::deque<std::wstring> storage_;
  std::string language_code_ = "ENG";
  std::vector<std::string> loaded_files_;
};

// Reads a whole file (binary) into buffer; size receives its length. False
// when the file cannot be opened (or is not a regular file), the buffer
// cannot be allocated or fewer bytes than the size could be read. The name is
// looked up case-insensitively when not found as written.
bool ReadWholeFile(std::string_view name, std::vector<unsigned char>& buffer, std::uint64_t& size);

// The program's language texts.
extern cStringBase g_StringBase;
