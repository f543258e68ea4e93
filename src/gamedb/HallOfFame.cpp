#include "gamedb/HallOfFame.h"

#include "gamedb/FixedFile.h"

namespace gamedb {

namespace {

constexpr std::size_t kTeamOffset = 80;
constexpr std::size_t kPointsOffset = 160;

} // namespace

HallOfFame decodeHallOfFame(const Bytes& data)
{
    if (data.size() < kHallOfFameSize)
        throw GameError(kReadBeyondEnd);
    HallOfFame entries;
    for (std::size_t r = 0; r < entries.size(); ++r) {
        const std::size_t at = r * kHallOfFameRecordSize;
        entries[r] = {readName(data, at), readName(data, at + kTeamOffset), readInt32(data, at + kPointsOffset)};
    }
    return entries;
}

Bytes encodeHallOfFame(const HallOfFame& entries)
{
    Bytes data(kHallOfFameSize, 0);
    for (std::size_t r = 0; r < entries.size(); ++r) {
        const std::size_t at = r * kHallOfFameRecordSize;
        writeName(data, at, entries[r].manager);
        writeName(data, at + kTeamOffset, entries[r].team);
        writeInt32(data, at + kPointsOffset, entries[r].points);
    }
    return data;
}

} // namespace gamedb
