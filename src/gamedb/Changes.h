#pragma once
// What changed in a table since it was loaded, judged on the values as the pages show them, and
// taking changes back to the loaded bytes. Nothing is kept per edit: the changes are found on
// demand by comparing the table with its loaded copy.

#include "gamedb/RecordTable.h"

#include <cstdint>
#include <span>
#include <vector>

namespace gamedb {

// Every record begins with its unique ID.
const Field& idFieldOf(const DbFormat& format);

// True when the field of both records shows the same value (see shownValue in RecordQuery.h).
bool sameShown(const std::uint8_t* a, const std::uint8_t* b, const Field& field);

struct RecordChange {
    enum class Kind : std::uint8_t { Changed, Added, Deleted };
    Kind kind;
    int loaded;                       // its number in the loaded table; 0 for an added record
    int now;                          // its number in the table now; 0 for a deleted record
    std::vector<const Field*> fields; // the fields that show another value, in record order
};

struct ChangeCount {
    int changed = 0;
    int added = 0;
    int deleted = 0;
    bool none() const { return changed == 0 && added == 0 && deleted == 0; }
};

// Records are matched by their unique ID. Records sharing an ID are matched among themselves,
// those that show alike first, then by position; so Delete, which moves the last record into the
// freed place, reads as one deletion, and an ID that Delete freed and New gave again as one
// changed record. A record whose bytes differ only where nothing shows it (zero fill after a
// text, a position of 7 as 2, a septet's other spelling) has no change. The changed and added
// records come in the order of the table now, then the deleted in loaded order.
std::vector<RecordChange> changesBetween(const RecordTable& loaded, const RecordTable& now);
ChangeCount countOf(std::span<const RecordChange> changes);

// One change to take back: a field of a changed record, or a whole added or deleted record.
struct RevertItem {
    RecordChange::Kind kind;
    int loaded;
    int now;
    const Field* field = nullptr; // for Changed
};

struct RevertResult {
    int refused = 0; // deleted records that did not fit a full table
    int follow = 0;  // where the record numbered follow before the revert is now; 0 when removed
};

// Puts back, in table (compared with loaded), the loaded bytes of each changed field, removes each
// added record as Delete removes it, and appends each deleted record's loaded bytes while the
// table has room. follow is a record number to follow through the removals (the record a page
// shows).
RevertResult revertChanges(RecordTable& table, const RecordTable& loaded, std::span<const RevertItem> items,
                           int follow = 0);

} // namespace gamedb
