// Any bytes as Hiscores.bin: a file that decodes encodes to bytes that decode to the same
// entries, and encoding those entries writes the same bytes again.
#include "fuzz/FuzzSupport.h"

#include "gamedb/GameError.h"
#include "gamedb/HallOfFame.h"

using namespace gamedb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    HallOfFame entries;
    try {
        entries = decodeHallOfFame(Bytes(data, data + size));
    } catch (const GameError&) {
        fuzz::require(size < kHallOfFameSize, "only a short file is refused");
        return 0;
    }
    Bytes saved;
    try {
        saved = encodeHallOfFame(entries);
    } catch (const GameError& e) {
        fuzz::broken("every name the file holds can be saved", e.what());
    }
    fuzz::require(saved.size() == kHallOfFameSize, "a save writes the whole file");
    fuzz::require(decodeHallOfFame(saved) == entries, "a saved file reads back the same entries");
    fuzz::require(encodeHallOfFame(decodeHallOfFame(saved)) == saved, "a saved file saves to the same bytes");
    return 0;
}
