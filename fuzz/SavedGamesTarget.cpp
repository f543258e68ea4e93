// Any bytes as Gamess16.idx or Gamess8.idx: an index that decodes encodes to bytes that decode to
// the same names, and encoding those names writes the same bytes again.
#include "fuzz/FuzzSupport.h"

#include "gamedb/GameError.h"
#include "gamedb/SavedGames.h"

using namespace gamedb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SavedGameNames names;
    try {
        names = decodeSavedGames(Bytes(data, data + size));
    } catch (const GameError&) {
        fuzz::require(size < kSavedGameIndexSize, "only a short index is refused");
        return 0;
    }
    Bytes saved;
    try {
        saved = encodeSavedGames(names);
    } catch (const GameError& e) {
        fuzz::broken("every name the index holds can be saved", e.what());
    }
    fuzz::require(saved.size() == kSavedGameIndexSize, "a save writes the whole index");
    fuzz::require(decodeSavedGames(saved) == names, "a saved index reads back the same names");
    fuzz::require(encodeSavedGames(decodeSavedGames(saved)) == saved, "a saved index saves to the same bytes");
    return 0;
}
