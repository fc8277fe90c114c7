// "data\pbem\repo.dat": for each play-by-e-mail game, the id of the player
// whose turn the game has reached on this computer. Fixed records of 504
// bytes: the game name as UTF-16LE text ended by a 0 character (at most 249
// characters) in 500 bytes, then the player id (unsigned 32-bit, little
// endian).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

constexpr std::size_t kPbemRecordSize = 504;
constexpr std::size_t kPbemRecordNameUnits = 249;

// Records the player id for the game: the first record of that name is
// overwritten in place, else a record is appended. A missing file is made;
// a file that cannot be opened or written logs
// "error_while_opening_repo.dat_file._exiting." and ends the process (1).
void UpdatePbemRepository(std::uint32_t playerId, std::wstring_view gameName);

// The player id stored for the game. A game without a record (or a missing
// file) gets one: the value that nextPlayerId gives (the player id of the
// next human country after the current one), stored and returned.
std::uint32_t GetPbemRepositoryValue(std::wstring_view gameName,
                                     const std::function<std::uint32_t()>& nextPlayerId);

// The repository's file; tests point it elsewhere ("data\pbem\repo.dat"
// by default, relative to the working folder).
void SetPbemRepositoryPath(std::wstring path);
