#include "gamedb/SavedGames.h"

#include "gamedb/FixedFile.h"

namespace gamedb {

static_assert(kSavedGameIndexSize == kNameWidth * kSavedGameSlots);

SavedGameNames decodeSavedGames(const Bytes& data)
{
    if (data.size() < kSavedGameIndexSize)
        throw GameError(kReadBeyondEnd);
    SavedGameNames names;
    for (std::size_t i = 0; i < names.size(); ++i)
        names[i] = readName(data, i * kNameWidth);
    return names;
}

Bytes encodeSavedGames(const SavedGameNames& names)
{
    Bytes data(kSavedGameIndexSize, 0);
    for (std::size_t i = 0; i < names.size(); ++i)
        writeName(data, i * kNameWidth, names[i]);
    return data;
}

} // namespace gamedb
