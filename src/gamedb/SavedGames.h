#pragma once
// Gamess16.idx and Gamess8.idx: the names of the seven save slots, 80 bytes each.

#include "gamedb/FileIo.h"

#include <QString>

#include <array>

namespace gamedb {

inline constexpr int kSavedGameSlots = 7;
inline constexpr std::size_t kSavedGameIndexSize = 80 * kSavedGameSlots;

using SavedGameNames = std::array<QString, kSavedGameSlots>;

// The first kSavedGameIndexSize bytes; a shorter file is refused and later bytes are ignored.
SavedGameNames decodeSavedGames(const Bytes& data);

// Exactly kSavedGameIndexSize bytes. Throws GameError for a name the game cannot store.
Bytes encodeSavedGames(const SavedGameNames& names);

} // namespace gamedb
