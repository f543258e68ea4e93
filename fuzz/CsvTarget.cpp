// Any bytes as a sheet imported into a small table of our sample. A refused import leaves the
// table as it was; an accepted one exports to a sheet that imports back to the same table.
#include "fuzz/FuzzSupport.h"

#include "gamedb/Csv.h"
#include "gamedb/Database.h"
#include "gamedb/GameError.h"

#include <string_view>

using namespace gamedb;

namespace {

const RecordTable& fixture()
{
    static const RecordTable table = [] {
        const DbFormat& f = fuzz::formatNamed(KORVEX_FUZZ_DB);
        fuzz::writeFixture(fuzz::scratchFolder(), f);
        RecordTable t(f);
        NoProgress progress;
        NoPage page;
        loadDatabase(t, fuzz::scratchFolder(), progress, page);
        return t;
    }();
    return table;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const RecordTable& before = fixture();
    RecordTable table = before;
    try {
        importCsv(table, std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const GameError&) {
        fuzz::require(fuzz::sameRecords(table, before), "a refused import leaves the table as it was");
        return 0;
    }
    const std::string sheet = exportCsv(table);
    RecordTable again = table;
    try {
        importCsv(again, sheet);
    } catch (const GameError& e) {
        fuzz::broken("an imported table's own sheet imports", e.what());
    }
    fuzz::require(fuzz::sameRecords(again, table), "an imported table's own sheet imports to the same table");
    return 0;
}
