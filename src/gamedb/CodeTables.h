#pragma once
// The code tables behind the pages' drop-down lists: entry i of a list stands for code i of its
// table. Records store the code; the list shows the text. Constant data, shared by every window.

#include "gamedb/Schema.h"

#include <QStringList>

#include <cstdint>
#include <span>
#include <string_view>

namespace gamedb {

extern const CodeTable kStyleCodes;     // 4 entries
extern const CodeTable kFormationCodes; // 19 entries
extern const CodeTable kColourCodes;    // 53 entries
extern const CodeTable kDivisionCodes;  // 40 entries
// The division codes again, listed with "Belgian Top Division " (a trailing space) first.
extern const CodeTable kLastDivisionCodes; // 40 entries
// Regions of the world: a record stores the region's own name, so each code is its text.
extern const CodeTable kRegionCodes; // 23 entries

QStringList codeTexts(CodeTable table);

// The index of the last entry whose code the field's bytes begin with (letter case included),
// or -1 when none does.
int matchCode(CodeTable table, const std::uint8_t* record, const Field& field);

// The code of entry index followed by zero bytes, or all zero bytes when index is -1.
void storeCode(CodeTable table, int index, std::uint8_t* record, const Field& field);

} // namespace gamedb
