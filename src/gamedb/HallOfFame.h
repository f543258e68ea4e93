#pragma once
// Hiscores.bin: 30 entries of 164 bytes, each a manager's name, a team's name and points.

#include "gamedb/FileIo.h"

#include <QString>

#include <array>
#include <cstdint>

namespace gamedb {

inline constexpr int kHallOfFameRows = 30;
inline constexpr std::size_t kHallOfFameRecordSize = 164;
inline constexpr std::size_t kHallOfFameSize = kHallOfFameRecordSize * kHallOfFameRows;

struct HallOfFameEntry {
    QString manager;
    QString team;
    std::int32_t points = 0;

    bool operator==(const HallOfFameEntry&) const = default;
};

using HallOfFame = std::array<HallOfFameEntry, kHallOfFameRows>;

// The first kHallOfFameSize bytes; a shorter file is refused and later bytes are ignored.
HallOfFame decodeHallOfFame(const Bytes& data);

// Exactly kHallOfFameSize bytes. Throws GameError for a name the game cannot store.
Bytes encodeHallOfFame(const HallOfFame& entries);

} // namespace gamedb
