// Any bytes as one of the three database files. A file that loads holds its records as they
// were; it saves to bytes that load to the same values, and saving those writes them again;
// its own sheet imports back without changing a byte.
#include "fuzz/FuzzSupport.h"

#include "gamedb/Csv.h"
#include "gamedb/Database.h"
#include "gamedb/GameError.h"
#include "gamedb/Septet.h"

#include <algorithm>
#include <cstring>

using namespace gamedb;

namespace {

// A save may write a septet number in its ordinary form; every other byte comes back as it was.
bool sameValues(const RecordTable& a, const RecordTable& b)
{
    if (a.count() != b.count())
        return false;
    for (int i = 1; i <= a.count(); ++i) {
        for (const Field& f : a.format().schema) {
            const bool same = f.encoding == Encoding::Septet
                                  ? readNumber(a.record(i), f) == readNumber(b.record(i), f)
                                  : std::memcmp(a.record(i) + f.offset, b.record(i) + f.offset, f.width) == 0;
            if (!same)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const DbFormat& f = fuzz::formatNamed(KORVEX_FUZZ_DB);
    const std::span<const std::uint8_t> file(data, size);

    RecordTable loaded(f);
    if (!fuzz::loadFromBytes(loaded, file))
        return 0;
    fuzz::require(size >= f.headerSize + 2 && loaded.count() == static_cast<int>(readSeptet(data + f.headerSize, 2)),
                  "the table holds as many records as the file's count says");
    for (int i = 1; i <= loaded.count(); ++i) {
        const std::uint8_t* stored = data + f.recordsStart() + static_cast<std::size_t>(i - 1) * f.recordSize;
        fuzz::require(std::memcmp(loaded.record(i), stored, f.recordSize) == 0, "a loaded record is the file's bytes");
    }

    // A save takes the header block and carried word from the file it replaces; a shorter file
    // is refused there.
    if (size >= f.headerSize + 4) {
        const Bytes saved = encodeDatabase(loaded, file.first(f.headerSize + 4));
        fuzz::require(std::equal(data, data + f.headerSize, saved.begin()), "a save keeps the header block");
        fuzz::require(saved[f.headerSize + 2] == data[f.headerSize + 2] &&
                          saved[f.headerSize + 3] == data[f.headerSize + 3],
                      "a save keeps the carried word");
        RecordTable reloaded(f);
        fuzz::require(fuzz::loadFromBytes(reloaded, saved), "a saved file loads");
        fuzz::require(sameValues(loaded, reloaded), "a saved file loads to the same values");
        fuzz::require(encodeDatabase(reloaded, saved) == saved, "a saved file saves to the same bytes");
    }

    const std::string sheet = exportCsv(loaded);
    RecordTable imported = loaded;
    try {
        importCsv(imported, sheet);
    } catch (const GameError& e) {
        fuzz::broken("a table's own sheet imports", e.what());
    }
    fuzz::require(fuzz::sameRecords(imported, loaded), "a table's own sheet imports without changing a byte");
    return 0;
}
